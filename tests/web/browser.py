"""The web build in headless Chromium, driven through its DevTools protocol:
shared by the page's end-to-end test and the bench."""
import base64
import itertools
import json
import os
import re
import signal
import subprocess
import tempfile
import time
import urllib.request

import websocket

BROWSER = "/usr/bin/chromium-headless-shell"


def _line_matching(stream, pattern, what):
    for line in stream:
        found = re.search(pattern, line)
        if found:
            return found.group(1)
    raise RuntimeError(f"{what} did not start")


class Page:
    """One browser with one tab, and a static server for the page's folder."""

    def __init__(self, folder):
        self.profile = tempfile.TemporaryDirectory()
        self.server = subprocess.Popen(
            ["/usr/bin/python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        port = _line_matching(self.server.stdout, r"port (\d+)", "the server")
        self.url = f"http://127.0.0.1:{port}/"
        self.browser = subprocess.Popen(
            [BROWSER, "--remote-debugging-port=0", "--remote-allow-origins=*", "--no-sandbox",
             "--window-size=1024,768", "--no-first-run", "--user-data-dir=" + self.profile.name, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, start_new_session=True)
        devtools = _line_matching(self.browser.stderr, r"DevTools listening on (ws://\S+)", "the browser")
        port = re.search(r":(\d+)/", devtools).group(1)
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
        tab = next(t for t in targets if t["type"] == "page")
        self.socket = websocket.create_connection(tab["webSocketDebuggerUrl"], suppress_origin=True)
        self.ids = itertools.count(1)

    def close(self):
        self.socket.close()
        # The browser's command is a script that starts the browser, which starts
        # more processes: all of them are in the session started for the script.
        os.killpg(self.browser.pid, signal.SIGTERM)
        self.browser.wait(10)
        self.server.terminate()
        self.server.wait(10)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and self._session_alive():
            time.sleep(0.1)
        if self._session_alive():
            os.killpg(self.browser.pid, signal.SIGKILL)
        self.profile.cleanup()

    def _session_alive(self):
        try:
            os.killpg(self.browser.pid, 0)
            return True
        except ProcessLookupError:
            return False

    def send(self, method, **params):
        """A DevTools command's result; its events in between are dropped."""
        sent = next(self.ids)
        self.socket.send(json.dumps({"id": sent, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == sent:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer["result"]

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def open(self, page="", ready="(window.Module && Module.framesShown) > 0", seconds=10):
        """Navigates to a page of the folder; the seconds until it is ready (the game: its first frame)."""
        self.evaluate("performance.mark('x')")
        start = time.monotonic()
        self.send("Page.navigate", url=self.url + page)
        self.wait_for("the page ready", seconds, ready)
        return self.evaluate("performance.now()") / 1000, time.monotonic() - start

    def wait_for(self, what, seconds, condition):
        deadline = time.monotonic() + seconds
        while not self.evaluate(f"!!({condition})"):
            if time.monotonic() > deadline:
                raise AssertionError(f"no {what} within {seconds} s")
            time.sleep(0.05)

    def key(self, code, down, modifiers=0):
        """A key of the page's keyboard, by its KeyboardEvent code, pressed or let go (modifiers: 1 Alt)."""
        self.send("Input.dispatchKeyEvent", type="rawKeyDown" if down else "keyUp", code=code, key=code,
                  modifiers=modifiers)

    def press(self, *codes, held=0.25):
        """Keys held together as a finger would: the game reads the keyboard once a frame."""
        for code in codes:
            self.key(code, True)
        time.sleep(held)
        for code in reversed(codes):
            self.key(code, False)

    def canvas_png(self, path):
        """The canvas's pixels as they are, as a PNG file."""
        data = self.evaluate("Module.canvas.toDataURL('image/png')")
        with open(path, "wb") as png:
            png.write(base64.b64decode(data.split(",", 1)[1]))

    def screenshot(self, path):
        """The page as the browser shows it."""
        with open(path, "wb") as png:
            png.write(base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"]))
