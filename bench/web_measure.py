#!/usr/bin/python3
"""Figures of the web edition, printed: what a browser downloads (raw and gzip-compressed), the time
from navigation to the first box and to the first picture in headless Chromium on 127.0.0.1, one
tick in the browser beside the same tick native, and the renderer's processor use while the
animation runs. The start-up and the processor use are measured side by side with
bench/reference_applet.html, the same kind of picture drawn as a plain Canvas 2D applet would.

Usage: web_measure.py [WEB_BUILD_DIR [NATIVE_BUILD_DIR]]   (defaults: build-web/bin, build/bin)
"""
import gzip
import pathlib
import re
import statistics
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from serve import serve  # noqa: E402 (found through the path set just above)

LOADS = 5  # fresh browsers for the start-up times
ANIMATIONS = 3  # 10-second runs of the program and of the reference, taken in turns

# Runs before the page's own scripts: notes when the first box opens and the first pixels reach
# the canvas.
FIRST_MOMENTS = """
    window.velmoraMoments = {};
    const note = (name) => { if (!(name in velmoraMoments)) velmoraMoments[name] = performance.now(); };
    const showModal = HTMLDialogElement.prototype.showModal;
    HTMLDialogElement.prototype.showModal = function() { note('box'); return showModal.call(this); };
    const putImageData = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function(...args) {
        note('picture');
        return putImageData.apply(this, args);
    };"""
# Times each wake of the program (a timer tick: the two frames and sending them to the canvas)
# into a preallocated array.
TIME_WAKES = """
    window.wakeTimes = new Float64Array(4096);
    window.wakeCount = 0;
    const wake = Velmora.wake;
    Velmora.wake = function() {
        const start = performance.now();
        wake();
        if (wakeCount < wakeTimes.length) wakeTimes[wakeCount++] = performance.now() - start;
    };"""


def kilobytes(size):
    return f"{size / 1024:.1f} KB"


def download_sizes(build):
    print("Download (gzip -9):")
    total_raw = total_gzip = 0
    for name in ("velmora.html", "velmora.js", "velmora.wasm", "velmora-standalone.html"):
        data = (build / name).read_bytes()
        compressed = len(gzip.compress(data, 9))
        print(f"  {name:26} {kilobytes(len(data)):>10} raw {kilobytes(compressed):>10} gzip")
        if name != "velmora-standalone.html":
            total_raw += len(data)
            total_gzip += compressed
    print(f"  {'the three served files':26} {kilobytes(total_raw):>10} raw "
          f"{kilobytes(total_gzip):>10} gzip (goal: under 250 KB gzip)")


def browser():
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                     "--window-size=1100,800"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(options=options)


def wait_for(check, seconds=20):
    limit = time.monotonic() + seconds
    while not (result := check()):
        if time.monotonic() > limit:
            raise RuntimeError("the page did not get there in time")
        time.sleep(0.01)
    return result


def press_when(driver, script, key):
    wait_for(lambda: driver.execute_script(script))
    ActionChains(driver).send_keys(key).perform()


def first_moments(driver, address):
    driver.get(f"{address}/velmora.html?size=992x666")
    # The first picture shows once both boxes are confirmed, each as soon as it is open.
    for _ in range(2):
        press_when(driver, "return document.querySelector('dialog.box[open]')", Keys.ENTER)
    return wait_for(lambda: driver.execute_script("return velmoraMoments.picture && velmoraMoments"))


def reference_moment(driver, reference):
    driver.get(f"{reference}/reference_applet.html")
    return wait_for(lambda: driver.execute_script("return window.referenceFirstPicture"))


def start_up_times(address, reference):
    """From navigation to the first box and the first picture: in fresh browsers, and reloaded
    in a running browser with its cache off; the reference's first picture reloaded the same
    way. Returns the medians reloaded without cache."""
    fresh, reloaded, references = [], [], []
    for _ in range(LOADS):
        driver = browser()
        try:
            driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_MOMENTS})
            fresh.append(first_moments(driver, address))
            driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
            reloaded.append(first_moments(driver, address))
            reference_moment(driver, reference)
            references.append(reference_moment(driver, reference))
        finally:
            driver.quit()
    print(f"From navigation, headless Chromium on 127.0.0.1, {LOADS} times each (median, range);")
    print("the driver answers both boxes the moment they open (goal: first picture under 300 ms):")
    for how, moments in (("a fresh browser", fresh), ("reloaded, no cache", reloaded)):
        for moment in ("box", "picture"):
            times = [m[moment] for m in moments]
            print(f"  {how:20} to the first {moment:8} {statistics.median(times):6.0f} ms "
                  f"({min(times):.0f} to {max(times):.0f})")
    print(f"  {'the reference':20} to the first picture  {statistics.median(references):6.0f} ms "
          f"({min(references):.0f} to {max(references):.0f}), reloaded, no cache")
    return {"box": statistics.median(m["box"] for m in reloaded),
            "picture": statistics.median(m["picture"] for m in reloaded),
            "reference": statistics.median(references)}


def busy(driver):
    metrics = driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return {m["name"]: m["value"] for m in metrics}


def reference_busy(reference):
    """The reference's main thread while it animates, as ticks_in_page measures the program's."""
    driver = browser()
    try:
        reference_moment(driver, reference)
        driver.execute_cdp_cmd("Performance.enable", {})
        before, started = busy(driver), time.monotonic()
        time.sleep(10)
        after, elapsed = busy(driver), time.monotonic() - started
    finally:
        driver.quit()
    return 100 * (after["TaskDuration"] - before["TaskDuration"]) / elapsed


def ticks_in_page(address):
    """The animation played in the page: each wake's time (ms) and the renderer's main thread
    busy and running scripts (percent of the time)."""
    driver = browser()
    try:
        driver.get(f"{address}/velmora.html?size=992x666")
        for _ in range(2):
            press_when(driver, "return document.querySelector('dialog.box[open]')", Keys.ENTER)
        press_when(driver, "return document.querySelector('dialog.template[open]')", "100")
        ActionChains(driver).send_keys(Keys.ENTER).perform()
        wait_for(lambda: not driver.execute_script("return document.querySelector('dialog[open]')"))
        driver.execute_script(TIME_WAKES)
        driver.execute_cdp_cmd("Performance.enable", {})
        before, started = busy(driver), time.monotonic()
        ActionChains(driver).send_keys(Keys.ENTER).perform()
        time.sleep(10)  # 200 of the run's 360 ticks
        after, elapsed = busy(driver), time.monotonic() - started
        times = driver.execute_script("return Array.from(wakeTimes.subarray(0, wakeCount))")
    finally:
        driver.quit()
    task = after["TaskDuration"] - before["TaskDuration"]
    script = after["ScriptDuration"] - before["ScriptDuration"]
    return times, 100 * task / elapsed, 100 * script / elapsed


def animations(address, reference):
    """The program's and the reference's main thread while animating, in turns, so that what
    else the machine does weighs on both alike. Returns the medians of both."""
    times, program, scripts, applet = [], [], [], []
    for _ in range(ANIMATIONS):
        wakes, busy_share, script_share = ticks_in_page(address)
        times += wakes
        program.append(busy_share)
        scripts.append(script_share)
        applet.append(reference_busy(reference))
    print(f"In the page, 992 x 666, load 100, {ANIMATIONS} runs of 10 s, {len(times)} wakes:")
    print(f"  a wake (the tick's two frames, the changed area sent to the canvas): median "
          f"{statistics.median(times) * 1000:.0f} us, 90th percentile "
          f"{statistics.quantiles(times, n=10)[-1] * 1000:.0f} us (timer resolution 0.1 ms)")
    print(f"  renderer main thread busy, median {statistics.median(program):.1f} % "
          f"({', '.join(f'{b:.1f}' for b in program)}; scripts {statistics.median(scripts):.1f} %)")
    print(f"  the reference's, median {statistics.median(applet):.1f} % "
          f"({', '.join(f'{b:.1f}' for b in applet)})")
    return statistics.median(program), statistics.median(applet)


def one_tick(address, native):
    driver = browser()
    messages = []
    try:
        driver.get(f"{address}/velmora_bench_tick_web.html")
        limit = time.monotonic() + 120
        while not any("tick 1077" in m for m in messages) and time.monotonic() < limit:
            messages += [e["message"] for e in driver.get_log("browser")]
            time.sleep(0.2)
    finally:
        driver.quit()
    in_browser = {int(d): float(us) for d, us in re.findall(r"tick (\d+): ([\d.]+) us", " ".join(messages))}
    output = subprocess.run([str(native / "velmora_bench_frame"), "--benchmark_filter=BM_Tick/",
                             "--benchmark_format=csv"], capture_output=True, text=True,
                            check=True).stdout
    natively = {int(m[0]): float(m[1]) / 1000 for m in re.findall(r'"BM_Tick/(\d+)",\d+,([\d.]+)', output)}
    print("One tick at 992 x 666 (BM_Tick; WebAssembly in Chromium beside native):")
    for d in sorted(set(in_browser) ^ set(natively)):
        where = "in the browser" if d in in_browser else "natively"
        print(f"  {d} -> {d + 3}: measured only {where}")
    for d in sorted(set(in_browser) & set(natively)):
        print(f"  {d} -> {d + 3}: browser {in_browser[d]:6.1f} us, native {natively[d]:6.1f} us, "
              f"ratio {in_browser[d] / natively[d]:.2f} (goal: within 2x)")


DIGIT_HEIGHT = 9  # client pixels: the program's 16-pixel font's digits, as its PNGs show them


def projector_digits(address):
    """The readouts' digit height on a 1920 x 1080 projector: the page's zoom enlarges them."""
    driver = browser()
    try:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 1920, "height": 1080, "deviceScaleFactor": 1, "mobile": False})
        driver.get(f"{address}/velmora.html")
        for _ in range(2):
            press_when(driver, "return document.querySelector('dialog.box[open]')", Keys.ENTER)
        press_when(driver, "return document.querySelector('dialog.template[open]')", Keys.ESCAPE)
        zoom, width, height, shown = driver.execute_script(
            "var c = document.getElementById('client');"
            "return [Velmora.zoom, c.width, c.height,"
            "        c.getBoundingClientRect().height * devicePixelRatio];")
    finally:
        driver.quit()
    print(f"A 1920 x 1080 projector: zoom {zoom}, client {width} x {height}, readout digits "
          f"{DIGIT_HEIGHT * shown / height:.0f} px high (goal: at least 18)")


def phone_texts(address):
    """On a phone held upright the picture's text is too small: the readings' page text, and the
    picture's own digits, in CSS pixels. Held sideways, the lab's zoom and client."""
    driver = browser()
    try:
        for width, height, query in ((412, 915, ""), (915, 412, "?lab")):
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": width, "height": height, "deviceScaleFactor": 2.625, "mobile": True})
            driver.get(f"{address}/velmora.html{query}")
            for _ in range(2):
                press_when(driver, "return document.querySelector('dialog.box[open]')", Keys.ENTER)
            press_when(driver, "return document.querySelector('dialog.template[open]')",
                       "75+j50" if query else "100")
            ActionChains(driver).send_keys(Keys.ENTER).perform()
            wait_for(lambda: driver.execute_script("return document.querySelector('#readings li')"))
            zoom, client, picture, shown, font, digits = driver.execute_script("""
                var c = document.getElementById('client'), item = document.querySelector('#readings li');
                var style = getComputedStyle(item), scratch = document.createElement('canvas');
                var context = scratch.getContext('2d');
                context.font = style.fontSize + ' ' + style.fontFamily;
                return [Velmora.zoom, c.width + ' x ' + c.height,
                        c.getBoundingClientRect().height / c.height,
                        document.body.classList.contains('readings-shown'), style.fontSize,
                        context.measureText('0123456789').actualBoundingBoxAscent];""")
            print(f"A phone {width} x {height} CSS px{' (lab)' if query else ''}: zoom {zoom}, client "
                  f"{client}, the picture's digits {DIGIT_HEIGHT * picture:.1f} CSS px; readings as "
                  + (f"page text of {font}, digits {digits:.1f} CSS px (goal: at least 14)"
                     if shown else "the picture's text only"))
    finally:
        driver.quit()


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build-web/bin")
    native = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else "build/bin")
    server, address = serve(build)
    reference_server, reference = serve(pathlib.Path(__file__).parent)
    download_sizes(build)
    projector_digits(address)
    phone_texts(address)
    starts = start_up_times(address, reference)
    one_tick(address, native)
    program_busy, applet_busy = animations(address, reference)
    print("Side by side with the reference applet (reloaded without cache; 10 s animating):")
    print(f"  first box {starts['box']:.0f} ms, first picture {starts['picture']:.0f} ms; the "
          f"reference's first picture {starts['reference']:.0f} ms (goal: first box no later)")
    print(f"  main thread busy {program_busy:.1f} %, the reference {applet_busy:.1f} % "
          f"({program_busy / applet_busy:.2f}x; goal: at most 1x)")
    server.shutdown()
    reference_server.shutdown()


if __name__ == "__main__":
    main()
