#!/usr/bin/python3
"""The web page in headless Chromium against the native game: the menu's pixels
and a mission's texts equal the native game's on a depth-24 screen, and the
screenshot tool's arranged frames taken in the browser equal the native
tool's (web-frames: the web build's SDL, text and random numbers); 1 opens the
shoot-down mission, the arrow keys fly, Escape ends it through "Verloren" back
to the menu; m, k and r held together open the rescue mission; 2 ends the game
and the page says so; a hidden tab stops the game's clock. Prints the frame
rate and the share of frames at frameStep 8 at the menu and in a mission.
Usage: page_test.py WEB_FOLDER ARTIFACTS NATIVE_MENU_PNG NATIVE_MISSION_PNG WEB_FRAMES NATIVE_FRAMES"""
import base64
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser  # noqa: E402

web, artifacts, native_menu, native_mission, web_frames, native_frames = sys.argv[1:7]
os.makedirs(artifacts, exist_ok=True)

# How many pixels of exactly the colour a rectangle of the canvas has.
COUNT = """(function(x, y, w, h, r, g, b) {
    const d = Module.canvas.getContext('2d').getImageData(x, y, w, h).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) n += d[i] === r && d[i + 1] === g && d[i + 2] === b;
    return n; })"""
YELLOW, BLUE, RED = (248, 252, 0), (0, 0, 248), (248, 0, 0)  # as a depth-24 screen shows them


def count(colour, x=0, y=0, w=1024, h=768):
    return f"{COUNT}({x}, {y}, {w}, {h}, {colour[0]}, {colour[1]}, {colour[2]})"


MENU = f"{count(YELLOW)} > 700000 && {count(BLUE, 400, 300, 300, 90)} > 0"
SHOOT_DOWN = f"{count(YELLOW)} == 0 && {count(RED, 0, 0, 400, 100)} > 50"
RESCUE = f"{count(YELLOW)} == 0 && {count(RED, 850, 30, 150, 40)} > 50"  # "Gerettete:"
LOST = f"{count(RED, 445, 345, 120, 40)} > 100"  # "Verloren"


def differing(a, b):
    """Pixels that differ between two pictures, by ImageMagick."""
    out = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return out.stderr.strip()


def red_only(picture, name):
    """The shoot-down mission's labels "Zeit:" and "Abgeschossene Gegner:", not the counters
    beside them, which may have counted on: its pure red, white on black."""
    path = os.path.join(artifacts, name)
    subprocess.run(["convert", picture, "(", "-clone", "0", "-crop", "95x100+0+0", ")",
                    "(", "-clone", "0", "-crop", "230x100+690+0", ")", "-delete", "0", "+repage", "+append",
                    "-fill", "white", "-opaque", "rgb(248,0,0)", "-fill", "black", "+opaque", "white", path],
                   check=True)
    return path


def pace(page, what, seconds):
    """Frames a second, and the share of frames the game measured at frameStep 8."""
    start = page.evaluate("[Module.framesShown, performance.now()]")
    time.sleep(seconds)
    end = page.evaluate("[Module.framesShown, performance.now()]")
    lengths = page.evaluate(
        "Module.frameEndTicks.slice(-300).map((t, i, a) => t - a[i - 1]).slice(1)")
    steps8 = sum(1 for length in lengths if length // 2 == 8)
    print(f"{what}: {1000 * (end[0] - start[0]) / (end[1] - start[1]):.1f} frames a second, "
          f"frameStep 8 in {100 * steps8 / len(lengths):.1f} % of the last {len(lengths)} frames")


def heli_moved_down(page):
    """Where the helicopter's start picture now shows best in its column: below its start."""
    return page.evaluate("""(function() {
        const before = window.heliAtStart.data;
        const now = Module.canvas.getContext('2d').getImageData(100, 0, 140, 768).data;
        let best = 0, bestSame = 0;
        for (let y = 0; y + 70 <= 768; ++y) {
            let same = 0;
            for (let i = 0; i < before.length; i += 4) {
                const j = y * 140 * 4 + i;
                same += before[i] === now[j] && before[i + 1] === now[j + 1] && before[i + 2] === now[j + 2];
            }
            if (same > bestSame) { best = y; bestSame = same; }
        }
        return best; })()""")


# A file of the page's own file system, as base64 (in slices: a call takes only so many arguments).
READ_FILE = """(function(path) {
    const d = FS.readFile(path);
    let s = '';
    for (let i = 0; i < d.length; i += 32768) s += String.fromCharCode.apply(null, d.subarray(i, i + 32768));
    return btoa(s); })"""

page = browser.Page(web_frames)
try:
    page.open("frames.html", "window.picturesTaken !== undefined", 60)
    assert page.evaluate("window.picturesTaken") == 0, "the screenshot tool failed in the browser"
    for picture in ("menu", "shoot-down", "shoot-down-won", "rescue"):
        web_picture = os.path.join(artifacts, f"web-frame-{picture}.bmp")
        with open(web_picture, "wb") as bmp:
            bmp.write(base64.b64decode(page.evaluate(f"{READ_FILE}('/tmp/{picture}.bmp')")))
        frame_differs = differing(os.path.join(native_frames, f"{picture}.bmp"), web_picture)
        assert frame_differs == "0", f"{frame_differs} pixels of the {picture} frame differ from the native tool's"
        print(f"{picture} frame: 0 pixels differ from the native one")
finally:
    page.close()

page = browser.Page(web)
try:
    to_first_frame, _ = page.open()
    print(f"first frame {to_first_frame:.2f} s after navigation")
    page.wait_for("menu", 10, MENU)
    time.sleep(0.5)
    page.canvas_png(os.path.join(artifacts, "menu.png"))
    menu_differs = differing(native_menu, os.path.join(artifacts, "menu.png"))
    assert menu_differs == "0", f"{menu_differs} pixels of the menu differ from the native game's"
    pace(page, "menu", 5)
    for full_screen in (True, False):  # Alt+Enter, into the browser's full screen and back
        page.key("Enter", True, modifiers=1)
        page.key("Enter", False, modifiers=1)
        page.wait_for("full screen" if full_screen else "the page again", 5,
                      f"(document.fullscreenElement === Module.canvas) === {str(full_screen).lower()}")

    page.press("Digit1")
    page.wait_for("shoot-down mission", 10, SHOOT_DOWN)
    page.canvas_png(os.path.join(artifacts, "shoot-down.png"))
    texts_differ = differing(red_only(native_mission, "native-texts.png"),
                             red_only(os.path.join(artifacts, "shoot-down.png"), "web-texts.png"))
    assert texts_differ == "0", f"{texts_differ} pixels of the mission's texts differ from the native game's"
    page.evaluate("window.heliAtStart = Module.canvas.getContext('2d').getImageData(100, 300, 140, 70), 0")
    page.press("ArrowDown", held=0.5)
    moved_to = heli_moved_down(page)
    assert moved_to > 300 + 100, f"the helicopter is at y {moved_to} after ArrowDown, started at 300"
    page.screenshot(os.path.join(artifacts, "page.png"))  # the README's docs/web.png
    # A hidden tab gets no frames: the game stands still, and its clock too, so that the first
    # frame after it is not one 3 s long, which would move everything by its frameStep at once.
    shown = page.evaluate("Module.framesShown")
    page.send("Page.setWebLifecycleState", state="frozen")
    time.sleep(3)
    page.send("Page.setWebLifecycleState", state="active")
    page.send("Emulation.setFocusEmulationEnabled", enabled=True)
    page.wait_for("frames after the hidden tab", 5, f"Module.framesShown > {shown} + 10")
    longest = page.evaluate("Math.max(...Module.frameEndTicks.slice(-12).map((t, i, a) => i ? t - a[i - 1] : 0))")
    assert longest < 1000, f"a frame of {longest:.0f} ms after the tab was hidden for 3 s"
    page.wait_for("shoot-down mission after the hidden tab", 1, SHOOT_DOWN)
    page.press("Escape")
    page.wait_for("Verloren", 5, LOST)
    page.wait_for("menu after the mission", 8, MENU)

    page.press("KeyM", "KeyK", "KeyR")
    page.wait_for("rescue mission", 10, RESCUE)
    page.canvas_png(os.path.join(artifacts, "rescue.png"))
    # Within the helicopter's 5 s of start protection: the mission must not be lost meanwhile.
    pace(page, "rescue mission", 3)
    page.press("Escape")
    page.wait_for("menu after the rescue mission", 8, MENU)

    page.press("Digit2")
    page.wait_for("the end of the game", 5, "!document.getElementById('ended').hidden")
    assert page.evaluate("document.getElementById('ending').textContent") == "Das Spiel ist beendet."
    page.screenshot(os.path.join(artifacts, "ended.png"))
finally:
    page.close()
