// The page side of the browser backend (web_backend.cpp): the canvas that is the program's client
// area, scaled to fit the page; the keys it reports, from the keyboard or the control bar; the
// texts the program wrote, mirrored for assistive technology; and message boxes and dialogs as
// HTML <dialog> elements. Input is queued here and taken by the program whenever it waits.
var Velmora = {
    // Event kinds, as web_backend.cpp numbers them.
    KEY_DOWN: 1,
    RESIZED: 2,
    BOX_ANSWERED: 3,
    DIALOG_COMMAND: 4,
    // Control kinds, in the order of DialogControl::Kind.
    PUSH_BUTTON: 0,
    DEFAULT_PUSH_BUTTON: 1,
    LABEL: 2,
    EDIT: 3,
    IDOK: 1,
    IDCANCEL: 2,
    IDRETRY: 4,
    VK_F1: 0x70,
    VK_RETURN: 0x0d,
    VK_RIGHT: 0x27,
    VK_OEM_PLUS: 0xbb,
    VK_OEM_MINUS: 0xbd,

    events: [],
    wakeUp: null,
    wakeTimer: 0,
    canvas: null,
    context: null,
    image: null,      // the program's pixels as the canvas takes them
    fixedSize: null,  // [width, height] from the page's size=WxH parameter
    client: null,     // [width, height] the program was last given
    elements: {},     // open boxes and dialogs by id
    kept: false,      // whether keepForOffline was called, after the first picture
    run: "idle",      // idle, running, paused or finished, as the keys sent so far leave it
    // The served edition (velmora.js from a web server) keeps its files for offline use; the
    // standalone file, one inline script, has them in itself.
    served: /^https?:$/.test(location.protocol) &&
            Boolean(document.currentScript && document.currentScript.src),

    post: function(kind, a, b) {
        Velmora.events.push([kind, a, b]);
        Velmora.wake();
    },

    takeEvent: function(fields) {
        var event = Velmora.events.shift();
        if (!event) return 0;
        HEAP32[fields >> 2] = event[1];
        HEAP32[(fields >> 2) + 1] = event[2];
        return event[0];
    },

    // Called while the program sleeps: wakes it at the timeout (none when negative) or at the
    // next event, whichever comes first.
    wait: function(timeout, wakeUp) {
        Velmora.wakeUp = wakeUp;
        if (timeout >= 0) Velmora.wakeTimer = setTimeout(Velmora.wake, timeout);
    },

    wake: function() {
        var wakeUp = Velmora.wakeUp;
        if (!wakeUp) return;
        Velmora.wakeUp = null;
        clearTimeout(Velmora.wakeTimer);
        wakeUp();
    },

    // Narrower or lower than this, the captions and readouts would overlap or run off the edge.
    MIN_CLIENT: [800, 400],

    // The client size: the size=WxH parameter (each side 1 to 4096), else the space the page has
    // for the picture, enlarged to the smallest size the picture is readable at (then reduced to
    // fit). It follows the page only before a run starts: once a run is under way or finished, a
    // resize (rotation, the address bar, the on-screen keyboard, full screen) only rescales it,
    // as a new client size would repaint the circuit and start the run over.
    clientSize: function() {
        if (Velmora.fixedSize) return Velmora.fixedSize;
        var stage = document.getElementById("stage");
        var width = Math.max(stage.clientWidth, 1), height = Math.max(stage.clientHeight, 1);
        var scale = Math.max(1, Velmora.MIN_CLIENT[0] / width, Velmora.MIN_CLIENT[1] / height);
        return [Math.round(width * scale), Math.round(height * scale)];
    },

    // Reduces the canvas to fit the page where it must, never enlarges it: one of the program's
    // pixels stays one CSS pixel, a sharp block on dense screens, and the browser need not scale
    // every frame. Reduced on the screen, the browser smooths, as dropping every other row would
    // lose whole lines.
    fit: function() {
        var canvas = Velmora.canvas;
        if (!canvas || !canvas.width) return;
        var stage = document.getElementById("stage");
        var scale = Math.min(1, stage.clientWidth / canvas.width,
                             stage.clientHeight / canvas.height);
        canvas.style.width = canvas.width * scale + "px";
        canvas.style.height = canvas.height * scale + "px";
        canvas.classList.toggle("reduced", scale * window.devicePixelRatio < 1);
    },

    readSizeParameter: function() {
        var text = new URLSearchParams(location.search).get("size");
        if (text === null) return;
        var match = /^(\d{1,4})x(\d{1,4})$/.exec(text);
        var width = match ? Number(match[1]) : 0;
        var height = match ? Number(match[2]) : 0;
        if (width < 1 || width > 4096 || height < 1 || height > 4096) {
            var warning = "size=" + text + " was ignored: give the width and height in pixels, " +
                          "each 1 to 4096, as in size=992x666; the picture fits the page instead.";
            console.warn(warning);
            document.getElementById("note").textContent = warning;
            return;
        }
        Velmora.fixedSize = [width, height];
    },

    showWindow: function(title, size) {
        document.title = title;
        if (!Velmora.canvas) {
            Velmora.canvas = document.getElementById("client");
            Velmora.context = Velmora.canvas.getContext("2d");
            Velmora.readSizeParameter();
            document.addEventListener("keydown", Velmora.keyDown);
            window.addEventListener("resize", Velmora.resized);
            document.body.classList.add("running");
            Velmora.setUpControls();
        }
        var client = Velmora.client = Velmora.clientSize();
        HEAP32[size >> 2] = client[0];
        HEAP32[(size >> 2) + 1] = client[1];
    },

    resized: function() {
        Velmora.fit();
        if (Velmora.fixedSize || Velmora.run !== "idle") return;
        var client = Velmora.clientSize();
        if (client[0] === Velmora.client[0] && client[1] === Velmora.client[1]) return;
        Velmora.client = client;
        // Only the latest size matters.
        Velmora.events = Velmora.events.filter(function(e) { return e[0] !== Velmora.RESIZED; });
        Velmora.post(Velmora.RESIZED, client[0], client[1]);
    },

    keyDown: function(event) {
        // Keys typed into a box or dialog are theirs; the page is inert behind them.
        if (document.querySelector("dialog[open]") || !event.keyCode) return;
        // A focused control bar button takes Enter and Space as its own click.
        if (Velmora.pressesBarButton(event)) return;
        // F1 is the program's, not the browser's help.
        if (event.keyCode === Velmora.VK_F1) event.preventDefault();
        // keyCode numbers the keys as Windows' virtual-key codes do.
        Velmora.sendKey(event.keyCode);
    },

    // Makes the served edition installable and keeps its files for offline use; only after the
    // first picture, as fetching them again for keeping would slow the start.
    keepForOffline: function() {
        if (!Velmora.served || !("serviceWorker" in navigator)) return;
        var manifest = document.createElement("link");
        manifest.rel = "manifest";
        manifest.href = "velmora.webmanifest";
        document.head.appendChild(manifest);
        navigator.serviceWorker.register("velmora-sw.js").catch(function(error) {
            console.warn("Velmora will not work offline: " + error);
        });
    },

    // The control bar: the program's keys as buttons for touch and pointer, and in the lab the
    // lab's keys and a link back; the plain page links to the lab.
    setUpControls: function() {
        var bar = document.getElementById("controls");
        var notes = document.getElementById("note");
        var lab = new URLSearchParams(location.search).has("lab");
        var buttons = [["toggle", "Start", Velmora.VK_RETURN],
                       ["new-load", "New load", Velmora.VK_F1]];
        if (lab) {
            buttons.push(["slower", "Slower", Velmora.VK_OEM_MINUS],
                         ["faster", "Faster", Velmora.VK_OEM_PLUS],
                         ["step", "Step", Velmora.VK_RIGHT]);
        }
        buttons.forEach(function(made) {
            var button = document.createElement("button");
            button.type = "button";
            button.id = made[0];
            button.textContent = made[1];
            button.addEventListener("click", function() {
                if (button.getAttribute("aria-disabled") === "true") return;
                // The dialog gives the focus back to the button that had it: let that be Start,
                // so that ENTER then starts the run, as the program's own text says.
                if (made[2] === Velmora.VK_F1) document.getElementById("toggle").focus();
                Velmora.sendKey(made[2]);
            });
            bar.insertBefore(button, notes);
        });
        var other = new URL(location.href);
        if (lab) {
            other.searchParams.delete("lab");
        } else {
            other.searchParams.set("lab", "");
        }
        var link = document.createElement("a");
        link.href = other.href.replace(/([?&])lab=(?=&|$)/, "$1lab");
        link.textContent = lab ? "Plain mode" : "Lab mode";
        bar.insertBefore(link, notes);
        Velmora.setRun(Velmora.run);
    },

    pressesBarButton: function(event) {
        return (event.key === "Enter" || event.key === " ") && event.target.closest &&
               event.target.closest("#controls") !== null;
    },

    // Sends a key to the program and follows what Enter and F1 do to the run.
    sendKey: function(key) {
        Velmora.post(Velmora.KEY_DOWN, key, 0);
        if (key === Velmora.VK_F1) {
            Velmora.setRun("idle");
        } else if (key === Velmora.VK_RETURN && Velmora.run !== "finished") {
            Velmora.setRun(Velmora.run === "running" ? "paused" : "running");
        }
    },

    // The window's timer ends with the run, and F1 sets it again for the next.
    timersChanged: function(anyTimer) {
        if (!anyTimer) Velmora.setRun("finished");
        else if (Velmora.run === "finished") Velmora.setRun("idle");
    },

    // The toggle's name, and a polite announcement when the run changes.
    setRun: function(run) {
        var changed = run !== Velmora.run;
        Velmora.run = run;
        document.body.dataset.run = run;
        var toggle = document.getElementById("toggle");
        if (!toggle) return;
        toggle.textContent = {running: "Pause", paused: "Resume"}[run] || "Start";
        toggle.setAttribute("aria-disabled", String(run === "finished"));
        if (changed) {
            document.getElementById("announce").textContent = {
                idle: "Ready to start.",
                running: "Running.",
                paused: "Paused.",
                finished: "Finished. New load starts another run.",
            }[run];
        }
    },

    // What the program has written on its window, one line a text, in reading order.
    showTexts: function(lines) {
        var list = document.getElementById("texts");
        list.replaceChildren.apply(list, lines.split("\n").filter(Boolean).map(function(line) {
            var item = document.createElement("li");
            item.textContent = line;
            return item;
        }));
    },

    // Sends the changed area of the program's opaque RGBA pixels to the canvas. The image lies
    // over the program's memory, so nothing is copied or allocated here, except when the size
    // or the memory changes.
    present: function(pixels, width, height, left, top, right, bottom) {
        var canvas = Velmora.canvas;
        if (canvas.width !== width || canvas.height !== height) {
            canvas.width = width;
            canvas.height = height;
            Velmora.fit();
        }
        var image = Velmora.image;
        if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== pixels ||
            image.width !== width || image.height !== height) {
            image = Velmora.image =
                new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                              width, height);
        }
        Velmora.context.putImageData(image, 0, 0, left, top, right - left, bottom - top);
        if (!Velmora.kept) {
            Velmora.kept = true;
            setTimeout(Velmora.keepForOffline);
        }
    },

    // A <dialog> with a title bar; `cancel` is what Esc means for it.
    newDialog: function(id, caption, cancel) {
        var dialog = document.createElement("dialog");
        dialog.id = "velmora-" + id;
        var title = document.createElement("div");
        title.className = "title";
        title.id = dialog.id + "-title";
        title.textContent = caption;
        dialog.appendChild(title);
        dialog.setAttribute("aria-labelledby", title.id);
        dialog.addEventListener("keydown", function(event) {
            if (event.key === "Escape") {
                event.preventDefault();
                cancel();
            }
            if (event.keyCode === Velmora.VK_F1) event.preventDefault();
            event.stopPropagation();
        });
        // Esc may also reach the browser's own handling as a cancel event: never let it close.
        dialog.addEventListener("cancel", function(event) { event.preventDefault(); });
        document.body.appendChild(dialog);
        Velmora.elements[id] = dialog;
        return dialog;
    },

    openBox: function(id, text, caption, type) {
        var answer = function(button) { Velmora.post(Velmora.BOX_ANSWERED, id, button); };
        var retryCancel = (type & 0xf) === 5;  // MB_RETRYCANCEL
        // Esc chooses Cancel, or OK when that is the only button, as on Windows.
        var dialog = Velmora.newDialog(id, caption, function() {
            answer(retryCancel ? Velmora.IDCANCEL : Velmora.IDOK);
        });
        dialog.className = "box";
        var body = document.createElement("div");
        body.className = "body";
        var icon = {0x10: "\u26d4", 0x20: "?", 0x30: "\u26a0", 0x40: "\u2139"}[type & 0xf0];
        if (icon) {
            var iconElement = document.createElement("div");
            iconElement.className = "icon";
            iconElement.setAttribute("aria-hidden", "true");
            iconElement.textContent = icon;
            body.appendChild(iconElement);
        }
        var textElement = document.createElement("div");
        textElement.className = "text";
        textElement.id = dialog.id + "-text";
        textElement.textContent = text;
        dialog.setAttribute("aria-describedby", textElement.id);
        body.appendChild(textElement);
        dialog.appendChild(body);
        var buttons = document.createElement("div");
        buttons.className = "buttons";
        var choices = retryCancel ? [["Retry", Velmora.IDRETRY], ["Cancel", Velmora.IDCANCEL]]
                                  : [["OK", Velmora.IDOK]];
        choices.forEach(function(choice) {
            var button = document.createElement("button");
            button.textContent = choice[0];
            button.addEventListener("click", function() { answer(choice[1]); });
            buttons.appendChild(button);
        });
        dialog.appendChild(buttons);
        dialog.showModal();
        buttons.firstChild.focus();
    },

    openDialog: function(id, caption, font, points, width, height) {
        var command = function(control) { Velmora.post(Velmora.DIALOG_COMMAND, id, control); };
        var dialog = Velmora.newDialog(id, caption, function() { command(Velmora.IDCANCEL); });
        dialog.className = "template";
        var client = document.createElement("div");
        client.className = "client";
        client.style.width = width + "px";
        client.style.height = height + "px";
        client.style.font = points + "pt \"" + font + "\", sans-serif";
        dialog.appendChild(client);
        // Enter presses the focused button, or else the default one (OK).
        dialog.addEventListener("keydown", function(event) {
            if (event.key !== "Enter") return;
            event.preventDefault();
            var focused = document.activeElement;
            command(focused && focused.tagName === "BUTTON" && client.contains(focused)
                        ? Number(focused.dataset.control)
                        : Velmora.IDOK);
        });
    },

    addControl: function(id, kind, control, text, x, y, width, height) {
        var element;
        var client = Velmora.elements[id].querySelector(".client");
        if (kind === Velmora.EDIT) {
            element = document.createElement("input");
            element.type = "text";
            element.value = text;
            element.spellcheck = false;
            element.autocomplete = "off";
            // The program's one field takes a number: phones show their keyboard for numbers.
            element.inputMode = "decimal";
            // As on Windows, a field is named by the label just before it.
            var labels = client.querySelectorAll(".label");
            var label = labels[labels.length - 1];
            if (label) element.setAttribute("aria-labelledby", label.id);
        } else if (kind === Velmora.LABEL) {
            element = document.createElement("div");
            element.className = "label";
            element.id = Velmora.elements[id].id + "-label-" + client.children.length;
            element.textContent = text;
        } else {
            element = document.createElement("button");
            element.textContent = text;
            element.type = "button";
            if (kind === Velmora.DEFAULT_PUSH_BUTTON) element.className = "default";
            element.addEventListener("click", function() {
                Velmora.post(Velmora.DIALOG_COMMAND, id, control);
            });
        }
        element.dataset.control = control;
        element.style.left = x + "px";
        element.style.top = y + "px";
        element.style.width = width + "px";
        element.style.height = height + "px";
        client.appendChild(element);
    },

    showDialog: function(id) { Velmora.elements[id].showModal(); },

    controlElement: function(id, control) {
        var dialog = Velmora.elements[id];
        return dialog ? dialog.querySelector("[data-control=\"" + control + "\"]") : null;
    },

    focus: function(id, control) {
        var element = Velmora.controlElement(id, control);
        if (element) element.focus();
    },

    controlText: function(id, control) {
        var element = Velmora.controlElement(id, control);
        if (!element) return "";
        return element.tagName === "INPUT" ? element.value : element.textContent;
    },

    close: function(id) {
        var dialog = Velmora.elements[id];
        if (!dialog) return;
        delete Velmora.elements[id];
        dialog.close();
        dialog.remove();
    },
};

// Opened from disk, velmora.js is refused its velmora.wasm, and the browser tells only its console.
if (location.protocol === "file:" && document.currentScript && document.currentScript.src) {
    velmoraFailed("load");
}
