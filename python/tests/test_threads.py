"""Searches in threads: two drawings searched at once give what each gives alone, Python goes on
meanwhile, and an interrupt stops a long survey."""

import _thread
import threading
import time

import pytest

import twinfind
from conftest import REAL

BOARD = REAL / "crkbd-F.Cu.dxf"  # a survey of the whole board takes seconds
PLAN = REAL / "Ceco.NET-Architecture-Tm-53.dxf"
DETAILS = REAL / "api-cw750-details.dxf"
TURNS = {"rotate": True, "mirror": True}


def twins(found):
    return sorted((tuple(t.handles), tuple(t.segments), t.angle, t.mirrored) for t in found)


def families(found):
    return [(f.count, f.mirrored_count, twins(f.members)) for f in found]


def test_two_threads_search_two_drawings_at_once():
    board, plan, details = twinfind.open(BOARD), twinfind.open(PLAN), twinfind.open(DETAILS)
    jobs = {
        "board": lambda: families(board.survey(tolerance=0.001)),
        "plan and details": lambda: [
            families(plan.survey(**TURNS)),
            twins(details.find((514.986, 334.972, 516.131, 336.117), range=(100, 100, 800, 600),
                               **TURNS)),
            twins(plan.find((17.2, 12.6, 18.1, 13.5), **TURNS)),
        ],
    }
    alone = {name: job() for name, job in jobs.items()}
    assert len(alone["board"]) >= 10 and len(alone["plan and details"][1]) == 19

    together = {name: [] for name in jobs}
    rounds = {"board": 1, "plan and details": 6}

    def work(name):
        for _ in range(rounds[name]):
            together[name].append(jobs[name]())

    workers = [threading.Thread(target=work, args=(name,)) for name in jobs]
    clock = [time.perf_counter()]
    for worker in workers:
        worker.start()
    while any(worker.is_alive() for worker in workers):
        time.sleep(0.005)
        clock.append(time.perf_counter())
    for worker in workers:
        worker.join()

    assert together == {name: [alone[name]] * rounds[name] for name in jobs}
    # This thread ran on while the board's survey took seconds.
    assert clock[-1] - clock[0] > 1.0
    assert max(b - a for a, b in zip(clock, clock[1:])) < 0.5


def test_an_interrupt_stops_a_long_survey_and_keeps_the_drawing():
    board = twinfind.open(BOARD)
    timer = threading.Timer(0.3, _thread.interrupt_main)
    start = time.perf_counter()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        board.survey(tolerance=0.001)
    assert time.perf_counter() - start < 1.5
    timer.join()
    area = (128, -108, 162, -60)
    assert families(board.survey(range=area)) == families(twinfind.open(BOARD).survey(range=area))
