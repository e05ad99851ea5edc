"""What the module's tests share: the checkout, the twinfind tool to compare with, and runs of
the tool in a test's own temporary folder (its home and settings file there too). The session
itself runs with a home of its own, which must stay empty: nothing the module or ezdxf does may
write the user's settings or caches."""

import json
import os
import shutil
import subprocess
import tempfile
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("TWINFIND_SOURCE", Path(__file__).resolve().parents[2]))
REAL = SOURCE / "samples" / "real"
TOOL = os.environ.get("TWINFIND_TOOL", str(SOURCE / "build" / "default" / "bin" / "twinfind"))

SETTINGS_HEAD = (
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n\"mIsArrange\"=\"0\"\n"
)


def settings_text(rotate=False, mirror=False, same_layer=False, same_line=False, tolerance=None):
    """A settings file giving the tool the twin rules that find and survey take as arguments."""
    flags = {"mIsRotate": rotate, "mIsSymmetry": mirror, "mIsLayer": same_layer,
             "mIsColor": same_line}
    text = SETTINGS_HEAD + "".join(f'"{k}"="{int(v)}"\n' for k, v in flags.items())
    if tolerance is not None:
        text += f'"mTolerance"="{tolerance}"\n'
    return text


class Tool:
    """The twinfind tool, run in one temporary folder, which is also its home."""

    def __init__(self, folder: Path):
        self.folder = folder

    def run(self, *args, script="", check=True):
        env = dict(os.environ, HOME=str(self.folder))
        env.pop("TWINFIND_SETTINGS", None)
        done = subprocess.run([TOOL, *map(str, args)], input=script, capture_output=True,
                              text=True, cwd=self.folder, env=env, timeout=600)
        if check:
            assert done.returncode == 0, done.stderr
        return done

    def report(self, command, drawing, options, *args, script=""):
        """The JSON report of `twinfind COMMAND DRAWING ... --report` with these twin rules."""
        settings = self.folder / "s.reg"
        settings.write_text(settings_text(**options))
        report = self.folder / "report.json"
        self.run(command, drawing, "--settings", settings, "--report", report, *args,
                 script=script)
        return json.loads(report.read_text())


@pytest.fixture
def tool(tmp_path):
    return Tool(tmp_path)


HOME = Path(tempfile.mkdtemp(prefix="twinfind-pytest-home-"))
os.environ["HOME"] = str(HOME)
for variable in ("TWINFIND_SETTINGS", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"):
    os.environ.pop(variable, None)


@pytest.fixture(scope="session", autouse=True)
def home_left_empty():
    yield
    left = sorted(p.name for p in HOME.iterdir())
    shutil.rmtree(HOME)
    assert not left, f"the tests wrote into their home: {left}"


def pytest_configure(config):
    # What the import leaves out of the real drawings is told on every open; the tests that
    # look at warnings catch them themselves.
    config.addinivalue_line("filterwarnings", "ignore::twinfind.TwinfindWarning")
