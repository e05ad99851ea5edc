#!/usr/bin/python3
"""The shop sheets (shop_sheets.py) counted by the tool as a user would count them, turns and
mirror images on: one part indicated by a window around it and by a click on its outline, the
whole sheet the search range. Each way the count is the one the sheet was drawn with, and the
indicated part is among the twins, at its own place with its own segments.

    /usr/bin/python3 tests/tools/shop_sheets_test.py TOOL
"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import shop_sheets  # noqa: E402


def settings_text(tolerance):
    text = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            '"mIsRotate"="1"\n"mIsSymmetry"="1"\n"mIsArrange"="0"\n')
    return text + (f'"mTolerance"="{tolerance}"\n' if tolerance else "")


def search(tool, drawing, indicate, tolerance, folder):
    """The first search's twins when the part is indicated by `indicate` (a script line)."""
    settings = os.path.join(folder, "s.reg")
    with open(settings, "w", encoding="utf-8") as f:
        f.write(settings_text(tolerance))
    report = os.path.join(folder, "report.json")
    if os.path.exists(report):
        os.remove(report)
    script = f"range -1e6 -1e6 1e6 1e6\n{indicate}\nend\nend\n"
    done = subprocess.run([tool, "run", drawing, "--settings", settings, "--report", report],
                          input=script, capture_output=True, text=True, cwd=folder,
                          env=dict(os.environ, HOME=folder), timeout=300)
    if done.returncode != 0 or not os.path.exists(report):
        raise AssertionError(f"{indicate}: the run failed: {done.stdout[-400:]} {done.stderr}")
    with open(report, encoding="utf-8") as f:
        searches = json.load(f)["searches"]
    return (searches[0]["part"]["segments"], searches[0]["twins"]) if searches else ([], [])


def main(tool):
    failures = []
    with tempfile.TemporaryDirectory(prefix="twinfind-shop-") as folder:
        for sheet, write in shop_sheets.SHEETS.items():
            drawing = os.path.join(folder, sheet + ".dxf")
            for kind in write(drawing):
                x1, y1, x2, y2 = kind.window
                ways = [("window", f"range {x1} {y1} {x2} {y2}", kind.count)]
                if kind.pick:
                    ways.append(("click", f"pick {kind.pick[0]} {kind.pick[1]}", kind.picked))
                for way, line, expected in ways:
                    part, twins = search(tool, drawing, line, kind.tolerance, folder)
                    told = f"{sheet}, {kind.name} by a {way}: {len(twins)} found, {expected} drawn"
                    print(told)
                    if len(twins) != expected:
                        failures.append(told)
                    own = [t for t in twins if t["isPart"]]
                    if len(own) != 1 or not set(own[0]["segments"]) <= set(part):
                        failures.append(f"{sheet}, {kind.name} by a {way}: the indicated part "
                                        f"is not among the twins at its own place")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(os.path.abspath(sys.argv[1])))
