#!/usr/bin/python3
"""The web build's figures in headless Chromium: time from navigation to the
first frame, download size with gzip, frames a second and the share of frames
at frameStep 8, and the browser's CPU (all its processes) at the menu and in
each mission. Figures only; they depend on the machine's load, printed with
them. Usage: web.py WEB_FOLDER [RUNS]"""
import gzip
import os
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import browser  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(root):
    """CPU time of a process and all its descendants."""
    parents, times = {}, {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        parents[int(pid)] = int(fields[1])
        times[int(pid)] = (int(fields[11]) + int(fields[12])) / TICKS
    family, grew = {root}, True
    while grew:
        more = {pid for pid, parent in parents.items() if parent in family} - family
        family |= more
        grew = bool(more)
    return sum(times.get(pid, 0) for pid in family)


def measure(page, where, seconds=5):
    cpu, shown = cpu_seconds(page.browser.pid), page.evaluate("[Module.framesShown, performance.now()]")
    time.sleep(seconds)
    cpu, end = cpu_seconds(page.browser.pid) - cpu, page.evaluate("[Module.framesShown, performance.now()]")
    lengths = page.evaluate("Module.frameEndTicks.slice(-300).map((t, i, a) => t - a[i - 1]).slice(1)")
    print(f"{where:20} {1000 * (end[0] - shown[0]) / (end[1] - shown[1]):6.1f} fps  "
          f"frameStep 8 in {100 * sum(1 for n in lengths if n // 2 == 8) / len(lengths):5.1f} %  "
          f"browser CPU {100 * cpu / seconds:5.1f} % of a core")


folder = sys.argv[1]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
files = sorted(os.listdir(folder))
sizes = {name: len(gzip.compress(open(os.path.join(folder, name), "rb").read(), 9)) for name in files}
print(f"load average {open('/proc/loadavg').read().split()[:3]}")
print("download with gzip: " + ", ".join(f"{name} {size // 1024} kB" for name, size in sizes.items()) +
      f"; {sum(sizes.values()) // 1024} kB in all")
firsts = []
for run in range(runs):
    page = browser.Page(folder)
    try:
        firsts.append(page.open()[0])
        if run == runs - 1:
            page.wait_for("menu", 10, "Module.framesShown > 30")
            measure(page, "menu")
            page.press("Digit1")
            time.sleep(1)
            measure(page, "shoot-down mission")
            page.press("Escape")
            time.sleep(4)
            page.press("KeyM", "KeyK", "KeyR")
            time.sleep(1)
            measure(page, "rescue mission")
    finally:
        page.close()
firsts.sort()
print(f"navigation to first frame: median {firsts[len(firsts) // 2]:.2f} s of {runs} runs "
      f"(best {firsts[0]:.2f}, worst {firsts[-1]:.2f})")
