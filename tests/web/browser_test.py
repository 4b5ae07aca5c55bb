#!/usr/bin/python3
"""The web edition in headless Chromium, driven through the page as a person uses it.

The pages are served from 127.0.0.1 (the standalone file is opened from file://). Whenever a
picture is checked, the canvas's pixels, read back in the page, must equal what velmora-render
draws for the same size and load. The browser's console must stay free of errors.

Usage: browser_test.py WEB_BUILD_DIR VELMORA_RENDER WORK_DIR
"""
import base64
import functools
import http.server
import pathlib
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

PLAYED = 60  # seconds a run of the animation (360 ticks of 50 ms) may take on a slow machine
SHOWN = 10   # seconds for a box, a dialog or a picture to appear

# What the page tells about itself; each returns something the test compares.
OPEN_BOX = """
    var box = document.querySelector('dialog.box[open]');
    return box && [box.querySelector('.title').textContent, box.querySelector('.text').textContent,
                   document.activeElement.textContent];"""
OPEN_DIALOG = """
    var dialog = document.querySelector('dialog.template[open]');
    return dialog && [dialog.querySelector('.title').textContent, document.activeElement.tagName];"""
# The focused element, as "TAG:control id", if it lies in the topmost open box or dialog.
FOCUS_IN_TOPMOST = """
    var open = document.querySelectorAll('dialog[open]');
    var active = document.activeElement;
    if (!open.length || !open[open.length - 1].contains(active)) {
        return 'outside, on ' + active.tagName;
    }
    return active.tagName + ':' + (active.dataset.control || '');"""
CANVAS_SIZE = "var c = document.getElementById('client'); return [c.width, c.height];"
WINDOW_SIZE = "return [window.innerWidth, window.innerHeight];"
# Counts the canvas pixels that differ from the PNG given as base64 (-1: other sizes).
DIFFERING = """
    var done = arguments[arguments.length - 1];
    var expected = new Image();
    expected.onload = function() {
        var client = document.getElementById('client');
        if (client.width !== expected.width || client.height !== expected.height) return done(-1);
        var scratch = document.createElement('canvas');
        scratch.width = expected.width;
        scratch.height = expected.height;
        var context = scratch.getContext('2d');
        context.drawImage(expected, 0, 0);
        var want = context.getImageData(0, 0, scratch.width, scratch.height).data;
        var have = client.getContext('2d').getImageData(0, 0, client.width, client.height).data;
        var differing = 0;
        for (var i = 0; i < want.length; i += 4) {
            if (want[i] !== have[i] || want[i + 1] !== have[i + 1] || want[i + 2] !== have[i + 2]) {
                ++differing;
            }
        }
        done(differing);
    };
    expected.src = 'data:image/png;base64,' + arguments[0];"""


class Failure(Exception):
    pass


class Page:
    def __init__(self, driver, render, work):
        self.driver = driver
        self.render = render
        self.work = work

    def run(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, what, check, seconds=SHOWN):
        limit = time.monotonic() + seconds
        while True:
            result = check()
            if result:
                return result
            if time.monotonic() > limit:
                self.driver.save_screenshot(str(self.work / "failed.png"))
                raise Failure(f"{what} (screenshot: {self.work / 'failed.png'})")
            time.sleep(0.1)

    def press(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def press_shifted(self, key):
        ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(key).key_up(Keys.SHIFT).perform()

    def focus_moves(self, press, focus):
        """Presses, then waits until the focus is on `focus` (see FOCUS_IN_TOPMOST)."""
        press()
        self.wait(f"the focus did not move to {focus}: it is {self.run(FOCUS_IN_TOPMOST)}",
                  lambda: self.run(FOCUS_IN_TOPMOST) == focus)

    def expected(self, size, load, clock):
        png = self.work / f"expected-{size}-{load}-{clock}.png"
        command = [self.render, "--size", size, "--clock", str(clock), "--png", str(png)]
        if load is not None:
            command += ["--load", load]
        if not png.exists():
            subprocess.run(command, check=True)
        return base64.b64encode(png.read_bytes()).decode()

    def shows(self, size, load, clock, seconds=SHOWN):
        """Waits until the canvas equals velmora-render's picture."""
        expected = self.expected(size, load, clock)
        self.wait(f"the canvas never equalled velmora-render --size {size} --load {load} "
                  f"--clock {clock}",
                  lambda: self.driver.execute_async_script(DIFFERING, expected) == 0, seconds)

    def confirm_intro(self):
        """Both introductory boxes, each with its OK button focused, confirmed with Enter."""
        for opening in ("This program illustrates", "Press 'ENTER' to activate"):
            title, text, focused = self.wait(f"no box starting '{opening}'",
                                             lambda: self.box_starting(opening))
            if (title, focused) != ("Velmora", "OK"):
                raise Failure(f"box '{opening}...': title {title!r}, focus on {focused!r}")
            self.press(Keys.ENTER)

    def box_starting(self, opening):
        box = self.run(OPEN_BOX)
        return box if box and box[1].startswith(opening) else None

    def answer_dialog(self, *keys):
        """The load dialog, with its edit field focused, answered with the keys."""
        shown = self.wait("no load dialog", lambda: self.run(OPEN_DIALOG))
        if shown != ["Load value", "INPUT"]:
            raise Failure(f"load dialog: title and focused element {shown}")
        self.press(*keys)
        self.wait("the load dialog stayed open", lambda: not self.run(OPEN_DIALOG))

    def console_errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] == "SEVERE"]


def served_runs(page, address):
    page.driver.get(f"{address}/velmora.html?size=992x666")
    page.confirm_intro()
    page.answer_dialog("100", Keys.ENTER)
    if page.driver.title != "Velmora":
        raise Failure(f"page title {page.driver.title!r}")
    page.press(Keys.ENTER)
    page.shows("992x666", "100", 1080, PLAYED)
    # F1 opens the dialog again; Esc keeps the load and the next run plays it to the same end.
    page.press(Keys.F1)
    page.answer_dialog(Keys.ESCAPE)
    page.press(Keys.ENTER)
    page.shows("992x666", "100", 1080, PLAYED)
    # A load beyond the greatest is clamped, and its caption says so.
    page.press(Keys.F1)
    page.answer_dialog("1e9", Keys.ENTER)
    page.shows("992x666", "1e9", 0)


def focus_stays_inside(page, address):
    """TAB and Shift+TAB go round a box's or dialog's controls and never leave it; then the
    load typed with full-width digits, as an input method gives them, is read as on Windows."""
    page.driver.get(f"{address}/velmora.html?size=992x666")
    page.wait("no first box", lambda: page.box_starting("This program illustrates"))
    for press in (lambda: page.press(Keys.TAB), lambda: page.press_shifted(Keys.TAB)):
        page.focus_moves(press, "BUTTON:1")
    page.confirm_intro()
    page.wait("no load dialog", lambda: page.run(OPEN_DIALOG))
    for press, focus in ((lambda: page.press(Keys.TAB), "BUTTON:1"),
                         (lambda: page.press(Keys.TAB), "INPUT:1000"),
                         (lambda: page.press_shifted(Keys.TAB), "BUTTON:1"),
                         (lambda: page.press_shifted(Keys.TAB), "INPUT:1000")):
        page.focus_moves(press, focus)
    page.answer_dialog("\uff15\uff10", Keys.ENTER)
    page.shows("992x666", "50", 0)


def browser_resize(page, address):
    page.driver.get(f"{address}/velmora.html")
    page.confirm_intro()
    page.answer_dialog(Keys.ESCAPE)
    for outer in ((900, 640), (1180, 820)):
        page.driver.set_window_size(*outer)
        width, height = page.wait("the canvas does not fill the window",
                                  lambda: page.run(CANVAS_SIZE) == page.run(WINDOW_SIZE) and
                                  page.run(WINDOW_SIZE))
        page.shows(f"{width}x{height}", None, 0)


def standalone_file(page, build):
    page.driver.get((build / "velmora-standalone.html").resolve().as_uri() + "?size=992x666")
    page.confirm_intro()
    page.answer_dialog(Keys.ESCAPE)
    page.shows("992x666", None, 0)


def main():
    build, render, work = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
    work.mkdir(parents=True, exist_ok=True)
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,),
                 {"log_message": lambda *args: None})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(quiet, directory=str(build)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    address = f"http://127.0.0.1:{server.server_address[1]}"

    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--window-size=1100,800"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})

    scenarios = [
        ("both boxes, load 100, runs, F1 and Esc, 1e9 clamped", lambda p: served_runs(p, address)),
        ("TAB keeps the focus in boxes and the dialog; full-width digits",
         lambda p: focus_stays_inside(p, address)),
        ("a resized browser repaints at the new size", lambda p: browser_resize(p, address)),
        ("the standalone file from file://", lambda p: standalone_file(p, build)),
    ]
    failed = 0
    for number, (name, scenario) in enumerate(scenarios, 1):
        driver = webdriver.Chrome(options=options)
        page = Page(driver, render, work)
        try:
            scenario(page)
            driver.save_screenshot(str(work / f"scenario-{number}.png"))
            errors = page.console_errors()
            if errors:
                raise Failure("console errors: " + "; ".join(errors))
            print(f"passed: {name}")
        except Exception as error:  # a failed scenario must not stop the others
            failed += 1
            print(f"FAILED: {name}: {error}")
        finally:
            driver.quit()
    server.shutdown()
    print(f"browser tests: {len(scenarios) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
