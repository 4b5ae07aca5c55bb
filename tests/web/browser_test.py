#!/usr/bin/python3
"""The web edition in headless Chromium, driven through the page as a person uses it: with a
keyboard on a desktop, and with taps only on an emulated phone.

The pages are served from 127.0.0.1 (the standalone file is opened from file://). Whenever a
picture is checked, the canvas's pixels, read back in the page, must equal what velmora-render
draws for the same size and load. The browser's console must stay free of errors, except where a
scenario makes the page fail on purpose.

Usage: browser_test.py WEB_BUILD_DIR VELMORA_RENDER WORK_DIR
"""
import base64
import hashlib
import pathlib
import re
import shutil
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from serve import serve

SOURCE = pathlib.Path(__file__).resolve().parents[2]
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
# The canvas on the screen, in CSS pixels, and the page's viewport.
CANVAS_SHOWN = """
    var shown = document.getElementById('client').getBoundingClientRect();
    return [shown.width, shown.height, window.innerWidth, window.innerHeight];"""
# A fingerprint of the canvas's pixels.
CANVAS_PIXELS = """
    var c = document.getElementById('client');
    var data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    var hash = 0;
    for (var i = 0; i < data.length; i += 4) {
        hash = (Math.imul(hash, 31) + data[i] + 7 * data[i + 1] + 13 * data[i + 2]) | 0;
    }
    return hash;"""
# Visible tap targets smaller than 44 x 44 CSS pixels.
SMALL_TARGETS = """
    return Array.from(document.querySelectorAll('button, input, a')).filter(function(e) {
        var r = e.getBoundingClientRect();
        return r.width > 0 && (r.width < 44 || r.height < 44) && !e.closest('dialog:not([open])');
    }).map(function(e) { return e.outerHTML.slice(0, 60); });"""
STATUS = "return document.getElementById('status').textContent;"
ANNOUNCED = "return document.getElementById('announce').textContent;"
TOGGLE = "return document.getElementById('toggle').textContent;"
READINGS = """
    return Array.from(document.querySelectorAll('#readings li')).map(function(item) {
        return item.textContent;
    });"""
# Whether the readings are shown as page text, each reading's font size and the height of its
# digits in CSS pixels (the smallest of each).
READINGS_SHOWN = """
    var list = document.getElementById('readings'), items = list.querySelectorAll('li');
    var scratch = document.createElement('canvas').getContext('2d');
    var sizes = [], digits = [];
    items.forEach(function(item) {
        var style = getComputedStyle(item);
        scratch.font = style.fontSize + ' ' + style.fontFamily;
        sizes.push(parseFloat(style.fontSize));
        digits.push(scratch.measureText('0123456789').actualBoundingBoxAscent);
    });
    var box = list.getBoundingClientRect();
    return [box.width > 100 && box.height > 100 && getComputedStyle(list).clipPath === 'none',
            Math.min.apply(null, sizes), Math.min.apply(null, digits)];"""
PHONE = {"width": 390, "height": 844, "pixelRatio": 3, "touch": True}
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

    def expected(self, size, load, clock, options=()):
        png = self.work / f"expected-{size}-{load}-{clock}{''.join(options)}.png"
        command = [self.render, *options, "--size", size, "--clock", str(clock), "--png", str(png)]
        if load is not None:
            command += ["--load", load]
        if not png.exists():
            subprocess.run(command, check=True)
        return base64.b64encode(png.read_bytes()).decode()

    def shows(self, size, load, clock, seconds=SHOWN, options=()):
        """Waits until the canvas equals velmora-render's picture (with the options given)."""
        expected = self.expected(size, load, clock, options)
        self.wait(f"the canvas never equalled velmora-render {' '.join(options)} --size {size} "
                  f"--load {load} --clock {clock}",
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

    def tap(self, css):
        """A finger's tap on the element: touch events only, no mouse and no keys."""
        element = self.wait(f"nothing to tap at {css}",
                            lambda: [e for e in self.driver.find_elements(By.CSS_SELECTOR, css)
                                     if e.is_displayed()])[0]
        finger = PointerInput(interaction.POINTER_TOUCH, "finger")
        actions = ActionBuilder(self.driver, mouse=finger)
        actions.pointer_action.move_to(element).pointer_down().pointer_up()
        actions.perform()

    def start_by_touch(self, address, query, load):
        """The page opened, both boxes tapped away and the load typed into the dialog."""
        self.driver.get(f"{address}/velmora.html{query}")
        for _ in range(2):
            self.wait("no box", lambda: self.run(OPEN_BOX))
            self.tap("dialog.box[open] button")
        self.wait("no load dialog", lambda: self.run(OPEN_DIALOG))
        self.driver.find_element(By.CSS_SELECTOR, "dialog[open] input").send_keys(load)
        self.tap("dialog[open] button")
        self.wait("the load dialog stayed open", lambda: not self.run(OPEN_DIALOG))

    def accessible(self):
        """(role, name, description) of each node of the page's accessibility tree."""
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        value = lambda node, key: str(node.get(key, {}).get("value", ""))
        return [(value(n, "role"), value(n, "name"), value(n, "description")) for n in nodes
                if not n.get("ignored")]

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


def pulse_runs(page, address):
    """The pulse mode: its boxes, its dialog's three fields (Rs typed, TAB, RL typed), a whole
    run equal to velmora-render's, and links to the other two modes."""
    page.driver.get(f"{address}/velmora.html?pulse&size=992x666")
    for opening in ("A source of 1 V", "Type the source resistance"):
        page.wait(f"no box starting '{opening}'", lambda: page.box_starting(opening))
        page.press(Keys.ENTER)
    shown = page.wait("no pulse dialog", lambda: page.run(OPEN_DIALOG))
    if shown != ["Pulse values", "INPUT"]:
        raise Failure(f"pulse dialog: title and focused element {shown}")
    page.press("25", Keys.TAB, "100", Keys.ENTER)
    page.wait("the pulse dialog stayed open", lambda: not page.run(OPEN_DIALOG))
    picture = page.run("return document.getElementById('client').getAttribute('aria-label');")
    if not picture.startswith("Velmora pulse: a step or a pulse travelling along"):
        raise Failure(f"the pulse mode's picture is described as {picture!r}")
    mode = ("--pulse", "--source", "25")
    page.shows("992x666", "100", 0, options=mode)
    links = [link.text for link in page.driver.find_elements(By.CSS_SELECTOR, "#controls a")]
    if links != ["Plain mode", "Lab mode"]:
        raise Failure(f"links {links}")
    buttons = [button.text for button in page.driver.find_elements(By.CSS_SELECTOR, "#controls button")]
    if buttons != ["Start", "New values", "Slower", "Faster", "Step"]:
        raise Failure(f"buttons {buttons}")
    page.press(Keys.ENTER)
    page.shows("992x666", "100", 2160, PLAYED, options=mode)
    # The end is announced with the run's readings, as the program names them.
    page.wait("the end of the run was not announced with its readings and New values",
              lambda: page.run(ANNOUNCED) == "Finished. Source: 25.0 ohms. Load: 100.0 ohms. "
              "Gamma at the source = -0.333. Gamma at the load = 0.333. Launched = 0.667 V. "
              "Final = 0.800 V. t = 6.00 T. V at the source = 0.800 V. V at the load = 0.801 V. "
              "New values starts another run.")


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


def rotated(page, width, height):
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 3, "mobile": True,
        "screenOrientation": {"type": "portraitPrimary" if height > width else "landscapePrimary",
                              "angle": 0 if height > width else 90}})
    # The picture is scaled to fit the new viewport, never cut off.
    page.wait("the picture does not fit the rotated screen", lambda: (
        lambda s: s[2] == width and s[0] <= width + 0.5 and s[1] <= height + 0.5)(
            page.run(CANVAS_SHOWN)))


def phone_by_touch(page, address):
    """A student's phone held upright: every control tapped, each target large enough."""
    page.driver.get(f"{address}/velmora.html")
    for opening in ("This program illustrates", "Press 'ENTER' to activate"):
        page.wait(f"no box starting '{opening}'", lambda: page.box_starting(opening))
        box = page.run("var r = document.querySelector('dialog[open]').getBoundingClientRect();"
                       "return [r.left, r.right, window.innerWidth];")
        if box[0] < 0 or box[1] > box[2] or page.run(SMALL_TARGETS):
            raise Failure(f"box from {box[0]} to {box[1]} on a screen {box[2]} px wide, "
                          f"small targets {page.run(SMALL_TARGETS)}")
        note = page.run("var n = document.querySelector('dialog[open] .touch-note');"
                        "return n && n.textContent;")
        if bool(note) != (opening == "This program illustrates"):
            raise Failure(f"box '{opening}...' has the touch screen's note {note!r}")
        page.tap("dialog.box[open] button")
    gestures = page.run("return [getComputedStyle(document.getElementById('client')).touchAction,"
                        "getComputedStyle(document.documentElement).overscrollBehavior];")
    if gestures != ["none", "none"]:
        raise Failure(f"the picture's touch-action and the page's overscroll: {gestures}")
    page.wait("no load dialog", lambda: page.run(OPEN_DIALOG))
    field = page.driver.find_element(By.CSS_SELECTOR, "dialog[open] input")
    if field.get_attribute("inputmode") != "decimal" or page.run(SMALL_TARGETS):
        raise Failure(f"load field inputmode {field.get_attribute('inputmode')!r}, "
                      f"small targets {page.run(SMALL_TARGETS)}")
    page.tap("dialog[open] input")
    field.send_keys("100")  # what the on-screen keyboard types
    page.tap("dialog[open] button")
    page.wait("the load dialog stayed open", lambda: not page.run(OPEN_DIALOG))
    width, height = page.run(CANVAS_SIZE)
    shown = page.run(CANVAS_SHOWN)
    if width < 800 or shown[0] > 390 or shown[1] > 844 or page.run(SMALL_TARGETS):
        raise Failure(f"client {width}x{height} shown as {shown}, "
                      f"small targets {page.run(SMALL_TARGETS)}")
    size = f"{width}x{height}"
    for name, announced in (("Pause", "Running."), ("Resume", "Paused.")):
        page.tap("#toggle")
        page.wait(f"after a tap the button is not {name!r} and '{announced}' is not announced",
                  lambda: page.run(TOGGLE) == name and page.run(ANNOUNCED) == announced)
    paused = page.run(CANVAS_PIXELS)
    time.sleep(0.5)
    if page.run(CANVAS_PIXELS) != paused:
        raise Failure("the picture moved while paused")
    page.tap("#toggle")
    page.wait("the run never finished", lambda: page.run(ANNOUNCED).startswith("Finished"),
              PLAYED)
    page.shows(size, "100", 1080)
    # The picture's text is too small to read here: its readings are page text below it, in
    # order, and a screen reader gets the same list, not broken up by the picture's labels.
    wanted = ["Load: 100.0 ohms", "Standing Wave Ratio = 2.00", "Z1 = 40.0 - j30.0 ohms",
              "Z2 = 25.0 + j0 ohms", "Z3 = 40.0 + j30.0 ohms", "Z4 = 100.0 + j0 ohms",
              "Z5 = 40.0 - j30.0 ohms", "Z6 = 25.0 + j0 ohms", "Z7 = 40.0 + j30.0 ohms"]
    shown, font_size, digit_height = page.run(READINGS_SHOWN)
    print(f"    upright phone: readings {font_size} CSS px, digits {digit_height:.1f} CSS px high")
    if page.run(READINGS) != wanted or not shown or font_size < 14 or digit_height < 14:
        raise Failure(f"readings {page.run(READINGS)} shown {shown}, {font_size} CSS px, "
                      f"digits {digit_height} CSS px high")
    texts = [name for role, name, _ in page.accessible() if role == "StaticText"]
    first = texts.index(wanted[0]) if wanted[0] in texts else -1
    if texts[first:first + len(wanted)] != wanted:
        raise Failure(f"the accessibility tree reads {texts}")
    if not all(reading in page.run(ANNOUNCED) for reading in wanted):
        raise Failure(f"the end announced {page.run(ANNOUNCED)!r}")
    page.tap("#new-load")
    page.wait("New load opened no dialog", lambda: page.run(OPEN_DIALOG))
    page.tap("dialog[open] input")
    page.driver.find_element(By.CSS_SELECTOR, "dialog[open] input").send_keys("25")
    page.tap("dialog[open] button")
    page.wait("after New load the button is not 'Start' again",
              lambda: not page.run(OPEN_DIALOG) and page.run(TOGGLE) == "Start")
    page.shows(size, "25", 0)
    texts = {name for role, name, _ in page.accessible() if role == "StaticText"}
    if "Standing Wave Ratio = 2.00" in texts or "Load: 25.0 ohms" not in texts:
        raise Failure("the repainted picture's texts are not what the accessibility tree holds")


def drag_along_line(page, address):
    """A finger dragged along the lab's line moves the value under it all the way, and the page
    stays where it is."""
    page.start_by_touch(address, "?lab", "75+j50")
    address_before = page.driver.current_url
    # Points along the line, from near its source end to near its load end, in CSS pixels.
    points = page.run("""
        var canvas = document.getElementById('client'), box = canvas.getBoundingClientRect();
        var w = canvas.width, h = canvas.height;
        var x0 = Math.trunc(w / 10) + 20, y0 = Math.trunc(3 * h / 4) - 71;
        var x1 = Math.trunc(3 * w / 4), y1 = Math.trunc(h / 4);
        var points = [];
        for (var t = 0.1; t < 0.95; t += 0.05) {
            points.push({x: box.left + (x0 + t * (x1 - x0)) * box.width / w,
                         y: box.top + (y0 + t * (y1 - y0)) * box.height / h});
        }
        return points;""")
    touch = lambda kind, point: page.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
        "type": kind, "touchPoints": [point] if point else []})
    touch("touchStart", points[0])
    values = []
    for point in points[1:]:
        touch("touchMove", point)
        values.append(page.wait("no value under the finger", lambda: [
            text for text in page.run(READINGS) if text.startswith("|V|/|V+|")]))
    touch("touchEnd", None)
    distinct = {value[0] for value in values}
    if len(distinct) < len(points) // 2 or page.driver.current_url != address_before:
        raise Failure(f"dragged along the line, the value read {sorted(distinct)}; the page is "
                      f"{page.driver.current_url}")


def load_field_keyboards(page, address):
    """A phone's keyboard for the load field: the keypad for the plain mode's number, the text
    keyboard, neither capitalising nor correcting, for the lab's 75+j50, short and open."""
    for query, keypad, load in (("", "decimal", "100"), ("?lab", None, "75+j50")):
        page.driver.get(f"{address}/velmora.html{query}")
        for _ in range(2):
            page.wait("no box", lambda: page.run(OPEN_BOX))
            page.tap("dialog.box[open] button")
        page.wait("no load dialog", lambda: page.run(OPEN_DIALOG))
        field = page.driver.find_element(By.CSS_SELECTOR, "dialog[open] input")
        keyboard = [page.run("return arguments[0].getAttribute(arguments[1])", field, name)
                    for name in ("inputmode", "autocapitalize", "autocorrect", "spellcheck")]
        if keyboard != [keypad, "off", "off", "false"]:
            raise Failure(f"{query or 'plain'}: inputmode, autocapitalize, autocorrect, "
                          f"spellcheck: {keyboard}")
        field.send_keys(load)
        page.tap("dialog[open] button")
        page.wait(f"{load} was refused", lambda: not page.run(OPEN_DIALOG))
    # The lab's Step does nothing while the run goes on, and shows it.
    step = "return document.getElementById('step').getAttribute('aria-disabled');"
    for state in ("true", "false"):
        page.tap("#toggle")
        page.wait(f"Step's aria-disabled is not {state}", lambda: page.run(step) == state)


def rotations(page, address):
    """Rotating the phone changes the page's size: the run goes on, the finished picture stays,
    and New load applies the new size."""
    page.start_by_touch(address, "", "100")
    upright = page.wait("no canvas", lambda: page.run(CANVAS_SIZE))
    # Before a run, the client follows the screen: turned sideways, the picture's text is still
    # too small to read, and its readings go right of it.
    rotated(page, 844, 390)
    width, height = page.wait("the client did not follow the rotation before the run",
                              lambda: page.run(CANVAS_SIZE) != upright and page.run(CANVAS_SIZE))
    beside = page.run("return document.getElementById('readings').getBoundingClientRect().left >="
                      " document.getElementById('client').getBoundingClientRect().right;")
    if width < 800 or height < 400 or not beside:
        raise Failure(f"sideways, the client is {width}x{height}, the readings beside it: {beside}")
    size = f"{width}x{height}"
    page.shows(size, "100", 0)
    page.tap("#toggle")
    time.sleep(3)
    page.tap("#toggle")  # paused mid-run, so the picture can be compared across the rotation
    page.wait("not paused", lambda: page.run(TOGGLE) == "Resume")
    before = page.run(CANVAS_PIXELS)
    rotated(page, 390, 844)
    time.sleep(0.5)
    if page.run(CANVAS_PIXELS) != before or page.run(TOGGLE) != "Resume":
        raise Failure("the rotation lost the run in progress")
    page.tap("#toggle")
    page.wait("the run never finished", lambda: page.run(ANNOUNCED).startswith("Finished"),
              PLAYED)
    page.shows(size, "100", 1080)
    rotated(page, 844, 390)
    time.sleep(0.5)
    page.shows(size, "100", 1080)
    # Turned upright after the run, New load applies the new size: no picture left in a strip.
    rotated(page, 390, 844)
    page.tap("#new-load")
    width, height = page.wait("New load did not apply the upright size", lambda: (
        lambda size: size[1] > size[0] and size)(page.run(CANVAS_SIZE)))
    page.driver.find_element(By.CSS_SELECTOR, "dialog[open] input").send_keys("100")
    page.tap("dialog[open] button")
    page.shows(f"{width}x{height}", "100", 0)
    shown = page.run(CANVAS_SHOWN)
    if shown[0] < 389:
        raise Failure(f"upright after New load, the picture is shown as {shown}")


def screen(page, width, height, ratio, mobile):
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": mobile})


# The zoom the page chose, the canvas's size and its size on the screen in device pixels.
ZOOMED = """
    var c = document.getElementById('client'), box = c.getBoundingClientRect();
    return [Velmora.zoom, c.width, c.height, box.width * devicePixelRatio,
            box.height * devicePixelRatio, Velmora.minClient[0], Velmora.minClient[1]];"""


def zooms(page, address):
    """The page's zoom, counted in device pixels: a projector gets 2 by itself, zoom=N by hand,
    each client pixel a crisp N x N block; the lab on a phone held sideways gets at least its
    smallest client, Z7 included."""
    cases = [  # screen, query, zoom, whether the picture is shown at the zoom, not reduced
        ((1920, 1080, 1, False), "", 2, True),
        ((1920, 1080, 1, False), "?zoom=1", 1, True),
        ((1280, 720, 2, False), "", 3, True),
        # The control bar goes beside the picture, which keeps the height for zoom 2.
        ((915, 412, 2.625, True), "?lab", 2, True),
    ]
    for metrics, query, wanted, crisp in cases:
        screen(page, *metrics)
        page.driver.get(f"{address}/velmora.html{query}")
        for _ in range(2):
            page.wait("no box", lambda: page.run(OPEN_BOX))
            page.press(Keys.ENTER)
        page.answer_dialog(Keys.ESCAPE)
        zoom, width, height, shown_width, shown_height, least_width, least_height = \
            page.run(ZOOMED)
        blocks = abs(shown_width - width * zoom) < 0.5 and abs(shown_height - height * zoom) < 0.5
        if (wanted and zoom != wanted) or blocks != crisp or width < least_width or \
                height < least_height or shown_width > metrics[0] * metrics[2] + 0.5:
            raise Failure(f"{metrics}{query}: zoom {zoom}, client {width}x{height} shown as "
                          f"{shown_width}x{shown_height} device pixels")
        if not query.startswith("?lab"):
            page.shows(f"{width}x{height}", None, 0)


def desktop_size(page, address):
    """Without size=, the client is the page's space below the control bar, one canvas pixel to
    a CSS pixel. Before a run it follows the window, down to 800 x 400 reduced to fit. The
    control bar's New load leaves ENTER to the program."""
    page.driver.get(f"{address}/velmora.html")
    page.confirm_intro()
    page.answer_dialog(Keys.ESCAPE)
    width, height = page.run(CANVAS_SIZE)
    shown = page.run(CANVAS_SHOWN)
    if shown[:2] != [width, height] or width != shown[2]:
        raise Failure(f"canvas {width}x{height} shown as {shown}")
    page.shows(f"{width}x{height}", None, 0)
    page.driver.set_window_size(700, 500)
    width, height = page.wait("the client did not follow the smaller window", lambda: (
        lambda size, shown: size != [width, height] and size[0] >= 800 and size[1] >= 400 and
        shown[0] <= shown[2] and shown[1] <= shown[3] and size)(
            page.run(CANVAS_SIZE), page.run(CANVAS_SHOWN)))
    page.shows(f"{width}x{height}", None, 0)
    # New load clicked, the dialog answered: ENTER starts the run, as the program's text says,
    # rather than pressing New load again.
    page.driver.find_element(By.ID, "new-load").click()
    page.answer_dialog("50", Keys.ENTER)
    page.press(Keys.ENTER)
    page.wait("ENTER after New load did not start the run", lambda: page.run(TOGGLE) == "Pause")


def lab_matching(page, address):
    """In the lab the Match button goes round the matchings as M does, each picture as
    velmora-render --match draws it; New load ends the matching."""
    page.driver.get(f"{address}/velmora.html?lab&size=992x666")
    for opening in ("This program illustrates", "Type the load"):
        page.wait(f"no box starting '{opening}'", lambda: page.box_starting(opening))
        page.press(Keys.ENTER)
    page.answer_dialog("75+j50", Keys.ENTER)
    rounds = [("stub1", "Stub at 0.217 wavelengths from the load, 0.132 wavelengths long"),
              ("stub2", "Stub at 0.399 wavelengths from the load, 0.368 wavelengths long"),
              ("vmax", "Quarter-wave section of 77.8 ohms at 0.058 wavelengths from the load"),
              ("vmin", "Quarter-wave section of 32.1 ohms at 0.308 wavelengths from the load")]
    for which, text in rounds:
        page.driver.find_element(By.ID, "match").click()
        page.shows("992x666", "75+j50", 0, options=("--lab", "--match", which))
        if text not in {name for role, name, _ in page.accessible() if role == "StaticText"}:
            raise Failure(f"after Match, {text!r} is not in the accessibility tree")
    page.driver.find_element(By.ID, "match").click()
    page.shows("992x666", "75+j50", 0, options=("--lab",))
    page.press("m")
    page.shows("992x666", "75+j50", 0, options=("--lab", "--match", "stub1"))
    page.driver.find_element(By.ID, "new-load").click()
    page.answer_dialog(Keys.ESCAPE)
    page.shows("992x666", "75+j50", 0, options=("--lab",))
    picture = page.run("return document.getElementById('client').getAttribute('aria-label');")
    if not picture.startswith("Velmora lab: a wave travelling along a 50-ohm transmission line "
                              "to a complex load"):
        raise Failure(f"the lab's picture is described as {picture!r}")


def accessible_names(page, address):
    """Boxes and the dialog are named by their titles, a box's text describes it, and the field is
    named by the dialog's label; a bad size= is said on the page."""
    page.driver.get(f"{address}/velmora.html?size=12x")
    page.wait("no box", lambda: page.run(OPEN_BOX))
    note = page.run("return document.getElementById('note').textContent")
    if not note.startswith("size=12x was ignored"):
        raise Failure(f"bad size= said as {note!r}")
    dialogs = [node for node in page.accessible() if node[0] == "dialog"]
    if len(dialogs) != 1 or dialogs[0][1] != "Velmora" or \
            not dialogs[0][2].startswith("This program illustrates"):
        raise Failure(f"box as {dialogs}")
    page.press(Keys.ENTER)
    page.wait("no second box", lambda: page.box_starting("Press 'ENTER'"))
    page.press(Keys.ENTER)
    page.wait("no load dialog", lambda: page.run(OPEN_DIALOG))
    nodes = page.accessible()
    page.press(Keys.ESCAPE)
    page.wait("the load dialog stayed open", lambda: not page.run(OPEN_DIALOG))
    nodes += page.accessible()  # the page behind a modal dialog is hidden from the tree
    wanted = [("dialog", "Load value"), ("textbox", "Enter a value for the load"),
              ("image", "Velmora: a wave travelling along a 50-ohm transmission line"),
              ("button", "Start"), ("button", "New load"), ("link", "Lab mode"),
              ("link", "Pulse mode")]
    missing = [w for w in wanted if not any(n[0] == w[0] and n[1].startswith(w[1]) for n in nodes)]
    if missing:
        raise Failure(f"not in the accessibility tree: {missing}; roles seen: "
                      f"{sorted({n[0] for n in nodes})}")


def lab(page, address):
    """?lab=0 and ?lab=false open the plain program, behind its boxes the empty white window of
    the client's size; ?lab opens the lab, whose refusal quotes the text as typed, whose buttons
    send the keys the lab takes, and the pointer on the line puts its readout in the list of
    texts."""
    for value in ("0", "false"):
        page.driver.get(f"{address}/velmora.html?size=992x666&lab={value}")
        page.wait(f"lab={value}: no first box", lambda: page.box_starting("This program"))
        if page.driver.title != "Velmora":
            raise Failure(f"lab={value} opened {page.driver.title!r}")
        window = page.run("""
            var canvas = document.getElementById('client');
            var pixel = canvas.getContext('2d').getImageData(canvas.width / 2,
                                                             canvas.height / 2, 1, 1).data;
            return [canvas.width, canvas.height].concat(Array.from(pixel));""")
        if window != [992, 666, 255, 255, 255, 255]:
            raise Failure(f"behind the first box: canvas and middle pixel {window}")
    page.driver.get(f"{address}/velmora.html?size=992x666&lab")
    for opening in ("This program illustrates", "Type the load"):
        page.wait(f"no box starting {opening!r}", lambda: page.box_starting(opening))
        page.press(Keys.ENTER)
    page.wait("no load dialog", lambda: page.run(OPEN_DIALOG))
    page.press("75\u00b0", Keys.ENTER)
    page.wait("no refusal quoting \"75\u00b0\"", lambda: page.box_starting('"75\u00b0"'))
    page.press(Keys.ENTER)
    page.wait("the refusal stayed", lambda: not page.box_starting('"75'))
    page.answer_dialog(Keys.BACKSPACE * 3, "75+j50", Keys.ENTER)
    if page.driver.title != "Velmora lab":
        raise Failure(f"?lab opened {page.driver.title!r}")
    page.run("""
        window.sentKeys = [];
        var post = Velmora.post;
        Velmora.post = function(kind, a, b, c) {
            if (kind === Velmora.KEY_DOWN) window.sentKeys.push(a);
            post(kind, a, b, c);
        };""")
    for button in ("toggle", "toggle", "slower", "faster", "step"):
        page.driver.find_element(By.ID, button).click()
    sent = page.run("return window.sentKeys;")
    if sent != [13, 13, 189, 187, 39]:
        raise Failure(f"Start, Pause, Slower, Faster and Step sent the keys {sent}")
    # The pointer down the middle of the picture crosses the line.
    for y in range(0, 666, 3):
        page.run("""
            var canvas = document.getElementById('client'), box = canvas.getBoundingClientRect();
            canvas.dispatchEvent(new PointerEvent('pointermove', {
                clientX: box.left + box.width / 2,
                clientY: box.top + arguments[0] * box.height / canvas.height}));""", y)
        time.sleep(0.02)
        texts = page.run(READINGS)
        if any("|V|/|V+|" in text for text in texts):
            return
    raise Failure(f"no pointer readout in the readings: {texts}")


def offline(page, build, work):
    """One visit keeps the files; with the server gone, a reload still shows the program."""
    server, address = serve(build)
    page.driver.get(f"{address}/velmora.html")
    page.confirm_intro()  # the files are kept once the first picture is shown
    page.wait("no service worker kept the files", lambda: page.driver.execute_async_script("""
        var done = arguments[arguments.length - 1];
        navigator.serviceWorker.ready.then(function() {
            return caches.keys();
        }).then(function(names) {
            return names.length === 1 ? caches.open(names[0]) : null;
        }).then(function(cache) { return cache ? cache.keys() : []; }).then(function(keys) {
            done(keys.length >= 3 && navigator.serviceWorker.controller !== null);
        });"""))
    server.shutdown()
    server.server_close()
    page.driver.refresh()
    page.confirm_intro()
    page.answer_dialog(Keys.ESCAPE)
    page.console_errors()  # the manifest's and icons' failed checks with the server gone


def failures(page, build, work):
    """Velmora that cannot start says in one sentence what to do."""
    partial = work / "without-wasm"
    partial.mkdir(exist_ok=True)
    for name in ("velmora.html", "velmora.js"):
        shutil.copy(build / name, partial / name)
    server, address = serve(partial)
    no_wasm = "delete window.WebAssembly;"
    cases = [
        ("opened from disk", (build / "velmora.html").resolve().as_uri(), None,
         "open velmora-standalone.html"),
        ("served without its .wasm", f"{address}/velmora.html", None, "could not load its files"),
        ("a browser without WebAssembly", f"{address}/velmora.html", no_wasm, "lacks WebAssembly"),
    ]
    for name, url, script, said in cases:
        if script:
            page.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": script})
        page.driver.get(url)
        status = page.wait(f"{name}: no sentence with {said!r}",
                           lambda: said in page.run(STATUS) and page.run(STATUS))
        if page.driver.find_element(By.ID, "status").is_displayed() is False:
            raise Failure(f"{name}: the sentence {status!r} is hidden")
    server.shutdown()
    page.console_errors()


# The SHA-256 digest of each file named, as the page is served it (through its service worker).
SERVED_DIGESTS = """
    var done = arguments[arguments.length - 1];
    Promise.all(arguments[0].map(function(file) {
        return fetch(file).then(function(response) { return response.arrayBuffer(); })
            .then(function(body) { return crypto.subtle.digest("SHA-256", body); })
            .then(function(digest) {
                return Array.from(new Uint8Array(digest), function(byte) {
                    return byte.toString(16).padStart(2, "0");
                }).join("");
            });
    })).then(done, function(error) { done(String(error)); });"""

# Has the browser look for a new service worker now, whatever it did by itself.
LOOK_FOR_UPDATE = """
    var done = arguments[arguments.length - 1];
    navigator.serviceWorker.getRegistration().then(function(registration) {
        return registration.update();
    }).then(function() { done(true); }, function() { done(true); });"""

# Whether no new service worker is installing or waiting.
UPDATE_SETTLED = """
    var done = arguments[arguments.length - 1];
    navigator.serviceWorker.getRegistration().then(function(registration) {
        done(registration.installing === null && registration.waiting === null);
    });"""


def half_copied(page, build, work):
    """A new build copied onto the server file by file, as cp does, is never served as a mix:
    caught with its service worker and .wasm copied but the old page and script, a returning
    visitor still gets the old build whole; at the first load after the copy is complete, the new
    build whole."""
    site, newer = work / "site", work / "newer-build"
    for folder in (site, newer):
        shutil.rmtree(folder, ignore_errors=True)
        shutil.copytree(build, folder)
    # The newer build: the same program, each file told apart (the .wasm by a custom section).
    with open(newer / "velmora.js", "a") as script:
        script.write('\nwindow.velmoraBuild = "newer";\n')
    with open(newer / "velmora.html", "a") as html:
        html.write("<!-- the newer build -->\n")
    with open(newer / "velmora.wasm", "ab") as wasm:
        wasm.write(b"\x00\x0c\x05newerbuild!")
    files = re.findall(r'"([^"]+)": "[0-9a-f]{64}"', (build / "velmora-sw.js").read_text())
    subprocess.run(["cmake", f"-DTEMPLATE={SOURCE}/editions/web/velmora-sw.js.in",
                    f"-DOUTPUT_DIR={newer}", f"-DFILES={','.join(files)}", "-P",
                    f"{SOURCE}/editions/web/service_worker.cmake"], check=True)
    mixed = ["velmora.html", "velmora.js", "velmora.wasm"]
    digests = lambda folder: [hashlib.sha256((folder / f).read_bytes()).hexdigest() for f in mixed]

    server, address = serve(site)
    page.driver.get(f"{address}/velmora.html")
    page.confirm_intro()  # the files are kept once the first picture is shown
    page.wait("no service worker took the page",
              lambda: page.run("return navigator.serviceWorker.controller !== null;"))
    for file in ("velmora-sw.js", "velmora.wasm"):
        shutil.copy(newer / file, site / file)
    for load in ("caught half-way", "again"):
        page.driver.refresh()
        page.wait(f"{load}: no first box", lambda: page.box_starting("This program"))
        page.driver.execute_async_script(LOOK_FOR_UPDATE)
        page.wait(f"{load}: the new worker never settled",
                  lambda: page.driver.execute_async_script(UPDATE_SETTLED))
        served = page.driver.execute_async_script(SERVED_DIGESTS, mixed)
        if served != digests(build) or page.run("return window.velmoraBuild;") is not None:
            raise Failure(f"{load}: the page, script and .wasm served are not the old build's: "
                          f"{served} (old {digests(build)}, new {digests(newer)})")
    for file in ("velmora.html", "velmora.js"):
        shutil.copy(newer / file, site / file)
    page.driver.refresh()
    page.wait("the first load after the copy is not the new build",
              lambda: page.run("return window.velmoraBuild;") == "newer")
    served = page.driver.execute_async_script(SERVED_DIGESTS, mixed)
    if served != digests(newer):
        raise Failure(f"after the copy, served {served}, the new build is {digests(newer)}")
    server.shutdown()
    server.server_close()


def standalone_file(page, build):
    page.driver.get((build / "velmora-standalone.html").resolve().as_uri() + "?size=992x666")
    page.confirm_intro()
    page.answer_dialog(Keys.ESCAPE)
    page.shows("992x666", None, 0)


def browser(phone):
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--window-size=1100,800"):
        options.add_argument(argument)
    if phone:
        options.add_experimental_option("mobileEmulation", {"deviceMetrics": PHONE})
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(options=options)


def main():
    build, render, work = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
    work.mkdir(parents=True, exist_ok=True)
    server, address = serve(build)

    desktop, phone = False, True
    scenarios = [
        ("both boxes, load 100, runs, F1 and Esc, 1e9 clamped", desktop,
         lambda p: served_runs(p, address)),
        ("the pulse mode: boxes, its dialog's fields, a whole run, links", desktop,
         lambda p: pulse_runs(p, address)),
        ("TAB keeps the focus in boxes and the dialog; full-width digits", desktop,
         lambda p: focus_stays_inside(p, address)),
        ("a desktop client is 1:1, follows the window before a run; New load, then ENTER", desktop,
         lambda p: desktop_size(p, address)),
        ("the zoom: a projector, by hand, a dense screen, the lab on a phone sideways", desktop,
         lambda p: zooms(p, address)),
        ("the standalone file from file://", desktop, lambda p: standalone_file(p, build)),
        ("the lab's Match button and M go round the matchings; New load ends it", desktop,
         lambda p: lab_matching(p, address)),
        ("names of boxes, dialog, field and picture; bad size= said", desktop,
         lambda p: accessible_names(p, address)),
        ("failures said in a sentence", desktop, lambda p: failures(p, build, work)),
        ("offline after one visit", desktop, lambda p: offline(p, build, work)),
        ("a build caught half-copied is not served as a mix; complete, it is served next",
         desktop, lambda p: half_copied(p, build, work)),
        ("?lab=0 and =false plain, an empty window behind the boxes; the lab's buttons and "
         "pointer readout", desktop, lambda p: lab(p, address)),
        ("a phone by touch: boxes, load, Start, Pause, Resume, New load, texts", phone,
         lambda p: phone_by_touch(p, address)),
        ("a phone rotated mid-run and after it", phone, lambda p: rotations(p, address)),
        ("a finger dragged along the lab's line moves the value under it", phone,
         lambda p: drag_along_line(p, address)),
        ("a phone's keyboard for the load in each mode; the lab's Step in a run", phone,
         lambda p: load_field_keyboards(p, address)),
    ]
    failed = 0
    for number, (name, on_phone, scenario) in enumerate(scenarios, 1):
        driver = browser(on_phone)
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
