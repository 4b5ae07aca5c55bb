// The page's program half, beside the browser backend's page.js: the control bar (the program's
// keys as buttons for touch and pointer, the links to the other modes), the run's state shown on
// it and announced, the hints, and keeping the served edition for offline use. main.cpp fills in
// the modes and the buttons from the table of modes before the program starts.
var VelmoraControls = {
    modes: [],    // {name, query, current} for every mode
    buttons: [],  // {id, label, key}: Start (the toggle), New load (new-load), then the mode's own
    ownKeys: [],  // keys the browser must not act on
    loadIsNumber: true,  // whether the mode's load is a plain number, as main.cpp sets it
    toldOfButtons: false,  // whether the touch screen's note was shown
    run: "idle",  // idle, running, paused or finished, as the program leaves it
    anyTimer: true,
    // The served edition (velmora.js from a web server) keeps its files for offline use; the
    // standalone file, one inline script, has them in itself.
    served: /^https?:$/.test(location.protocol) &&
            Boolean(document.currentScript && document.currentScript.src),

    setUp: function() {
        var bar = document.getElementById("controls");
        var notes = document.getElementById("note");
        VelmoraControls.buttons.forEach(function(made) {
            var button = document.createElement("button");
            button.type = "button";
            button.id = made.id;
            button.textContent = made.label;
            button.addEventListener("click", function() {
                if (button.getAttribute("aria-disabled") === "true") return;
                // The dialog gives the focus back to the button that had it: let that be Start,
                // so that ENTER then starts the run, as the program's own text says.
                if (made.id === "new-load") document.getElementById("toggle").focus();
                Velmora.sendKey(made.key);
            });
            bar.insertBefore(button, notes);
        });
        VelmoraControls.modes.forEach(function(mode) {
            if (mode.current) return;
            var other = new URL(location.href);
            VelmoraControls.modes.forEach(function(each) {
                if (each.query) other.searchParams.delete(each.query);
            });
            if (mode.query) other.searchParams.set(mode.query, "");
            var link = document.createElement("a");
            // ?lab rather than ?lab=
            link.href = other.href.replace(new RegExp("([?&])" + mode.query + "=(?=&|$)"),
                                           "$1" + mode.query);
            link.textContent = mode.name + " mode";
            bar.insertBefore(link, notes);
        });
        VelmoraControls.show(VelmoraControls.run);
    },

    // The run as the program leaves it each time it waits: a window without a timer has
    // finished, and otherwise the program's own running flag and clock tell.
    follow: function() {
        var run = !VelmoraControls.anyTimer ? "finished"
                  : Module._velmora_running() ? "running"
                  : Module._velmora_clock() === 0 ? "idle" : "paused";
        if (run === VelmoraControls.run) return;
        VelmoraControls.show(run);
        // A polite announcement when the run changes; at the end, with the run's readings.
        var readings = Array.prototype.map.call(
            document.querySelectorAll("#readings li"), function(item) {
                return item.textContent + ". ";
            });
        document.getElementById("announce").textContent = {
            idle: "Ready to start.",
            running: "Running.",
            paused: "Paused.",
            finished: "Finished. " + readings.join("") +
                      document.getElementById("new-load").textContent + " starts another run.",
        }[run];
    },

    // The toggle's name and state.
    show: function(run) {
        VelmoraControls.run = run;
        document.body.dataset.run = run;
        // The client follows the page only before a run starts (after the state is on the page,
        // as the hint it shows or hides changes the picture's room).
        VelmoraControls.followPage(run === "idle");
        var toggle = document.getElementById("toggle");
        if (!toggle) return;
        toggle.textContent = {running: "Pause", paused: "Resume"}[run] || "Start";
        toggle.setAttribute("aria-disabled", String(run === "finished"));
        // Step does nothing while the run goes on.
        var step = document.getElementById("step");
        if (step) step.setAttribute("aria-disabled", String(run === "running"));
    },

    // Nothing can be lost before a run (New load resets the run, so also when its dialog opens):
    // the latest size is applied then, so that no picture is left in a strip after a rotation.
    followPage: function(follows) {
        Velmora.followsPage = follows;
        if (follows) Velmora.resized();
    },

    // Makes the served edition installable and keeps its files for offline use; only after the
    // first picture, as fetching them again for keeping would slow the start.
    keepForOffline: function() {
        if (!VelmoraControls.served || !("serviceWorker" in navigator)) return;
        var manifest = document.createElement("link");
        manifest.rel = "manifest";
        manifest.href = "velmora.webmanifest";
        document.head.appendChild(manifest);
        navigator.serviceWorker.register("velmora-sw.js").catch(function(error) {
            console.warn("Velmora will not work offline: " + error);
        });
    },
};

document.addEventListener("velmora-window-shown", VelmoraControls.setUp);
document.addEventListener("velmora-waiting", VelmoraControls.follow);
// Told while the program runs; what it means is shown once the program waits.
document.addEventListener("velmora-timers", function(event) {
    VelmoraControls.anyTimer = event.detail.anyTimer;
});
document.addEventListener("velmora-first-picture", function() {
    setTimeout(VelmoraControls.keepForOffline);
});
// The load field: a phone's keypad for numbers where the mode's load is one; otherwise its text
// keyboard, which must not capitalise or correct "75+j50", "short" or "open".
document.addEventListener("velmora-dialog-shown", function(event) {
    event.detail.querySelectorAll("input").forEach(function(field) {
        if (VelmoraControls.loadIsNumber) field.inputMode = "decimal";
        field.setAttribute("autocapitalize", "off");
        field.setAttribute("autocorrect", "off");
        field.spellcheck = false;
    });
});
// On a touch screen, the first box tells what stands for the keys its text names.
document.addEventListener("velmora-box-shown", function(event) {
    if (VelmoraControls.toldOfButtons || !matchMedia("(pointer: coarse)").matches) return;
    VelmoraControls.toldOfButtons = true;
    var note = document.createElement("p");
    note.className = "touch-note";
    note.textContent = "On a touch screen, the buttons below the picture do what ENTER and F1 " +
                       "do: Start (then Pause and Resume) and New load.";
    event.detail.querySelector(".body").after(note);
});
// Before the page's own handlers, which would otherwise let the browser act on them.
document.addEventListener("keydown", function(event) {
    if (VelmoraControls.ownKeys.indexOf(event.keyCode) >= 0) event.preventDefault();
}, true);

// Opened from disk, velmora.js is refused its velmora.wasm, and the browser tells only its console.
if (location.protocol === "file:" && document.currentScript && document.currentScript.src) {
    velmoraFailed("load");
}

// A new build that takes over from the one that served this page has every file on the server
// (velmora-sw.js.in): the page loads it at once, unless the user has begun, which a reload would
// lose; then the next visit has it.
if (VelmoraControls.served && "serviceWorker" in navigator && navigator.serviceWorker.controller) {
    navigator.serviceWorker.addEventListener("controllerchange", function() {
        if (!Velmora.used) location.reload();
    });
}
