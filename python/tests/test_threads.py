"""Searches in threads: two drawings searched at once give what each gives alone, Python's other
threads run while a search runs, and an interrupt stops a survey.

Python hands its interpreter lock from one thread to another every few milliseconds; the tests
that tell who holds it set that interval to far longer than they take, so that the lock changes
hands only where a thread lets it go: a wait, or a call of the module that releases it."""

import _thread
import signal
import sys
import threading

import pytest

import twinfind
from conftest import REAL

BOARD = REAL / "crkbd-F.Cu.dxf"  # the survey of the whole board takes the longest
PLAN = REAL / "Ceco.NET-Architecture-Tm-53.dxf"
DETAILS = REAL / "api-cw750-details.dxf"
TURNS = {"rotate": True, "mirror": True}


def twins(found):
    return sorted((tuple(t.handles), tuple(t.segments), t.angle, t.mirrored) for t in found)


def families(found):
    return [(f.count, f.mirrored_count, twins(f.members)) for f in found]


@pytest.fixture
def lock_held_until_let_go():
    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000.0)
    yield
    sys.setswitchinterval(interval)


def test_two_threads_search_two_drawings_at_once():
    board, plan, details = twinfind.open(BOARD), twinfind.open(PLAN), twinfind.open(DETAILS)
    jobs = {
        "board": lambda: families(board.survey(tolerance=0.001)),
        "plan and details": lambda: [
            families(plan.survey(**TURNS)),
            # The fastener symbols lie on layers that are off in the file.
            twins(details.find((514.986, 334.972, 516.131, 336.117), range=(100, 100, 800, 600),
                               hidden_layers=True, **TURNS)),
            twins(plan.find((17.2, 12.6, 18.1, 13.5), **TURNS)),
        ],
    }
    alone = {name: job() for name, job in jobs.items()}
    assert len(alone["board"]) >= 10 and len(alone["plan and details"][1]) == 19

    rounds = {"board": 2, "plan and details": 6}
    together = {name: [] for name in jobs}

    def work(name):
        for _ in range(rounds[name]):
            together[name].append(jobs[name]())

    workers = [threading.Thread(target=work, args=(name,)) for name in jobs]
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join()
    assert together == {name: [alone[name]] * rounds[name] for name in jobs}


# A thread that waits for the lock is woken when a call lets it go, but on a busy machine it
# may come to run only after a short call has ended and taken the lock back. So a call that lets
# the lock go shows it in one of a few tries; one that keeps it never does.
TRIES = 10


def other_thread_ran_during(call):
    """Whether this thread ran while another thread made the call."""
    started, returned = threading.Event(), []

    def worker():
        started.set()  # that thread holds the lock on until the call lets it go
        call()
        returned.append(True)

    thread = threading.Thread(target=worker)
    thread.start()
    started.wait()
    # This thread has the lock again: had the call kept it, it would have returned first.
    ran = returned == []
    thread.join()
    assert returned == [True]
    return ran


@pytest.mark.parametrize("call", [
    lambda board, folder: twinfind.open(BOARD),
    lambda board, folder: board.survey(tolerance=0.001),
    lambda board, folder: board.find((140.27, -68.6927, 141.29, -67.6573),
                                     range=(128, -108, 162, -60)),
    lambda board, folder: board.save(folder / "board.dxf"),
], ids=["open", "survey", "find", "save"])
def test_a_call_lets_the_other_threads_run(tmp_path, lock_held_until_let_go, call):
    board = twinfind.open(BOARD)
    assert any(other_thread_ran_during(lambda: call(board, tmp_path)) for _ in range(TRIES))


def interrupted(call, name):
    """The call's events (c_call; c_return, or c_exception when it raised itself) and an
    interrupt sent once the call has let the lock go, in the order they came."""
    calling = threading.Event()
    told = []

    def interrupter():
        calling.wait()
        _thread.interrupt_main()

    def on_interrupt(number, frame):
        told.append("interrupt")
        raise KeyboardInterrupt

    def profile(frame, event, function):
        if event.startswith("c_") and getattr(function, "__name__", "") == name:
            told.append(event)

    thread = threading.Thread(target=interrupter)
    thread.start()
    handler = signal.signal(signal.SIGINT, on_interrupt)
    try:
        try:
            calling.set()
            sys.setprofile(profile)
            call()
        finally:
            sys.setprofile(None)
    except KeyboardInterrupt:
        pass
    try:
        thread.join()  # an interrupt that came too late to stop the call is taken here
    except KeyboardInterrupt:
        pass
    signal.signal(signal.SIGINT, handler)
    return told


def write_combs(path):
    """A comb of 1000 teeth and 8000 more lines of a tooth's length: a search for the comb makes
    a trial on every one of them and takes seconds."""
    lines = ["0\nSECTION\n2\nENTITIES\n"]
    teeth = [(i, 0.0) for i in range(1000)]
    others = [((k % 300) * 3.0, 100 + (k // 300) * 20.0) for k in range(8000)]
    for x, y in teeth + others:
        lines.append(f"0\nLINE\n8\n0\n10\n{x}\n20\n{y}\n11\n{x}\n21\n{y + 10}\n")
    path.write_text("".join(lines) + "0\nENDSEC\n0\nEOF\n")
    return path


def test_an_interrupt_stops_a_search_or_a_survey_and_keeps_the_drawing(
        tmp_path, lock_held_until_let_go):
    board = twinfind.open(BOARD)
    combs = twinfind.open(write_combs(tmp_path / "combs.dxf"))
    comb = (-0.5, -0.5, 1000, 10.5)
    calls = {
        "survey": lambda: board.survey(tolerance=0.001),
        "find": lambda: combs.find(comb),
    }
    # Taken inside the call, which then ended: not after it had run to its end.
    for name, call in calls.items():
        assert any(interrupted(call, name) == ["c_call", "interrupt", "c_exception"]
                   for _ in range(TRIES)), name
    area = (128, -108, 162, -60)
    assert families(board.survey(range=area)) == families(twinfind.open(BOARD).survey(range=area))
    assert [t.segments for t in combs.find(comb)] == [list(range(1, 1001))]
