// The page side of the browser backend (web_backend.cpp): the canvas that is the program's client
// area, scaled to fit the page; the keys it reports, from the keyboard or sent by the page; the
// texts the program wrote, mirrored for assistive technology, its readings shown as page text
// where the picture's text is too small to read; and message boxes and dialogs as
// HTML <dialog> elements. Input is queued here and taken by the program whenever it waits. It
// knows no program: what the page adds for one listens to the events it dispatches on the
// document (velmora-window-shown, velmora-first-picture, velmora-waiting, velmora-timers,
// velmora-box-shown, velmora-dialog-shown).
var Velmora = {
    // The numbers shared with C++ (event kinds, control kinds, IDOK..., MB_..., VK_...) are set
    // here by web_backend.cpp (kPageNumbers) when the program starts: this file writes none.

    events: [],
    wakeUp: null,
    wakeTimer: 0,
    canvas: null,
    context: null,
    image: null,      // the program's pixels as the canvas takes them
    fixedSize: null,  // [width, height] from the page's size=WxH parameter
    client: null,     // [width, height] the program was last given
    elements: {},     // open boxes and dialogs by id
    presented: false, // whether the first picture was shown
    followsPage: true,  // whether the client size follows the page's, as the page's owner sets
    used: false,      // whether the user has given the program anything: a key, a button

    post: function(kind, a, b, c) {
        if (kind !== Velmora.RESIZED && kind !== Velmora.MOUSE_MOVED) Velmora.used = true;
        Velmora.events.push([kind, a, b, c || 0]);
        Velmora.wake();
    },

    takeEvent: function(fields) {
        var event = Velmora.events.shift();
        if (!event) return 0;
        HEAP32[fields >> 2] = event[1];
        HEAP32[(fields >> 2) + 1] = event[2];
        HEAP32[(fields >> 2) + 2] = event[3];
        return event[0];
    },

    // Called while the program sleeps: wakes it at the timeout (none when negative) or at the
    // next event, whichever comes first.
    wait: function(timeout, wakeUp) {
        Velmora.wakeUp = wakeUp;
        if (timeout >= 0) Velmora.wakeTimer = setTimeout(Velmora.wake, timeout);
    },

    // The program runs until it waits again, then the page may look at what it did.
    wake: function() {
        var wakeUp = Velmora.wakeUp;
        if (!wakeUp) return;
        Velmora.wakeUp = null;
        clearTimeout(Velmora.wakeTimer);
        wakeUp();
        Velmora.dispatch("velmora-waiting");
    },

    dispatch: function(name, detail) {
        document.dispatchEvent(new CustomEvent(name, {detail: detail}));
    },

    // The smallest client the program wants, as its edition sets it.
    minClient: [1, 1],

    // The zoom: each client pixel is shown as a zoom x zoom block of device pixels.
    zoom: 1,
    // Below this height in CSS pixels the picture's text is too small to read: its readings are
    // then shown as page text beside the picture as well.
    leastTextHeight: 12,
    zoomByHand: 0,  // from the page's zoom=N parameter, 0 when the page chooses

    // The client size and zoom: the size=WxH parameter (each side 1 to 4096), else the space the
    // page has for the picture, counted in device pixels and divided by the zoom, enlarged to the
    // program's smallest client (then reduced to fit). The zoom is zoom=N, else the largest
    // (at most 8) that still leaves the program that client. The client follows the page only
    // while followsPage: otherwise a resize (rotation, browser zoom, the address bar, the
    // on-screen keyboard, full screen) only rescales it, as a new client size would repaint the
    // window and lose what it shows.
    clientSize: function() {
        // The stage's exact size: its clientWidth is rounded, and may be more than it has.
        var stage = document.getElementById("stage").getBoundingClientRect();
        var ratio = window.devicePixelRatio || 1;
        var width = Math.max(Math.floor(stage.width * ratio), 1);
        var height = Math.max(Math.floor(stage.height * ratio), 1);
        var needed = Velmora.fixedSize || Velmora.minClient;
        var zoom = Velmora.zoomByHand || 8;
        while (!Velmora.zoomByHand && zoom > 1 &&
               (width / zoom < needed[0] || height / zoom < needed[1])) {
            --zoom;
        }
        Velmora.zoom = zoom;
        if (Velmora.fixedSize) return Velmora.fixedSize;
        width = Math.floor(width / zoom);
        height = Math.floor(height / zoom);
        var scale = Math.max(1, needed[0] / width, needed[1] / height);
        return [Math.round(width * scale), Math.round(height * scale)];
    },

    // The client's size on the page in CSS pixels, at the zoom, and the scale that fits it to
    // the stage (below 1 where it must be reduced).
    shownSize: function(client) {
        var stage = document.getElementById("stage").getBoundingClientRect();
        var ratio = window.devicePixelRatio || 1;
        var width = client[0] * Velmora.zoom / ratio;
        var height = client[1] * Velmora.zoom / ratio;
        return [width, height, Math.min(1, stage.width / width, stage.height / height)];
    },

    // Whether the picture's text is readable on the page at that client size.
    readable: function(client) {
        var ratio = window.devicePixelRatio || 1;
        var textHeight = Velmora.FONT_HEIGHT * Velmora.zoom / ratio;
        return textHeight * Velmora.shownSize(client)[2] >= Velmora.leastTextHeight;
    },

    // Shows the readings as page text, or only to assistive technology.
    showReadings: function(shown) {
        document.body.classList.toggle("readings-shown", shown);
    },

    // The client size for the page as it is now, the readings shown beside the picture where its
    // text would be too small to read. The readings take room from the picture, which only makes
    // its text smaller: once shown, they stay.
    clientForPage: function() {
        Velmora.showReadings(false);
        var client = Velmora.clientSize();
        if (Velmora.readable(client)) return client;
        Velmora.showReadings(true);
        return Velmora.clientSize();
    },

    // Shows each client pixel as a zoom x zoom block of device pixels, crisp, reduced (and
    // smoothed, as dropping rows would lose whole lines) only where the page is too small. The
    // browser's zoom keeps the picture's device pixels until the client follows the page again.
    fit: function() {
        var canvas = Velmora.canvas;
        if (!canvas || !canvas.width) return;
        var shown = Velmora.shownSize([canvas.width, canvas.height]);
        canvas.style.width = shown[0] * shown[2] + "px";
        canvas.style.height = shown[1] * shown[2] + "px";
        canvas.classList.toggle("reduced", shown[2] < 1);
    },

    readZoomParameter: function() {
        var text = new URLSearchParams(location.search).get("zoom");
        if (text === null) return;
        if (!/^[1-8]$/.test(text)) {
            var warning = "zoom=" + text + " was ignored: give a whole number 1 to 8, as in " +
                          "zoom=2; the page chooses the zoom instead.";
            console.warn(warning);
            document.getElementById("note").textContent = warning;
            return;
        }
        Velmora.zoomByHand = Number(text);
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
            // Desynchronized: the browser shows the canvas's new pixels without making a frame
            // of the whole page on its main thread each tick, which costs more than the tick.
            Velmora.context = Velmora.canvas.getContext("2d", {desynchronized: true});
            Velmora.readSizeParameter();
            Velmora.readZoomParameter();
            document.addEventListener("keydown", Velmora.keyDown);
            // The stage changes with the window, and with the page around it (the readings that
            // come in beside the picture, the control bar).
            new ResizeObserver(Velmora.resized).observe(document.getElementById("stage"));
            Velmora.reportPointer();
            document.body.classList.add("running");
            Velmora.dispatch("velmora-window-shown");
        }
        var client = Velmora.client = Velmora.clientForPage();
        HEAP32[size >> 2] = client[0];
        HEAP32[(size >> 2) + 1] = client[1];
        // The empty window, in the class brush's white, until the program's first paint: the
        // introductory boxes come before it.
        var canvas = Velmora.canvas;
        canvas.width = client[0];
        canvas.height = client[1];
        Velmora.context.fillStyle = "#ffffff";
        Velmora.context.fillRect(0, 0, client[0], client[1]);
        Velmora.fit();
    },

    resized: function() {
        if (Velmora.fixedSize) {
            // The zoom only; the readings' place too, while it follows the page.
            if (Velmora.followsPage) {
                Velmora.clientForPage();
            } else {
                Velmora.clientSize();
            }
        } else if (Velmora.followsPage && Velmora.client) {
            Velmora.applySize();
        }
        // Otherwise the readings stay where they are, as the client does: showing them now
        // would reduce the picture of a run (browser zoom would make it smaller).
        Velmora.fit();
    },

    // Gives the program the client the page has room for now, if it differs from its own.
    applySize: function() {
        var client = Velmora.clientForPage();
        if (client[0] === Velmora.client[0] && client[1] === Velmora.client[1]) return;
        Velmora.client = client;
        // Only the latest size matters.
        Velmora.events = Velmora.events.filter(function(e) { return e[0] !== Velmora.RESIZED; });
        Velmora.post(Velmora.RESIZED, client[0], client[1]);
    },

    keyDown: function(event) {
        // Keys typed into a box or dialog are theirs; the page is inert behind them. One that
        // reaches the page while a box is open (the focus left it) is the topmost box's.
        var open = document.querySelectorAll("dialog[open]");
        if (open.length) return Velmora.dialogKey(open[open.length - 1], event);
        if (!event.keyCode) return;
        // A focused button or link on the page takes Enter and Space as its own click.
        if ((event.key === "Enter" || event.key === " ") && event.target.closest &&
            event.target.closest("button, a") !== null) {
            return;
        }
        // keyCode numbers the keys as Windows' virtual-key codes do.
        Velmora.sendKey(event.keyCode, event.shiftKey);
    },

    // Shift goes with the key for a dialog it may reach, typed ahead (Shift+TAB, Shift+Left).
    sendKey: function(key, shift) { Velmora.post(Velmora.KEY_DOWN, key, shift ? 1 : 0); },

    // The pointer over the canvas, a mouse's or a touch's, in the program's client pixels (the
    // canvas may be scaled by CSS). Only the latest position waiting matters.
    reportPointer: function() {
        function moved(event) {
            var canvas = Velmora.canvas;
            var box = canvas.getBoundingClientRect();
            if (box.width === 0 || box.height === 0) return;
            var x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
            var y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
            Velmora.events = Velmora.events.filter(function(e) {
                return e[0] !== Velmora.MOUSE_MOVED;
            });
            Velmora.post(Velmora.MOUSE_MOVED, x, y);
        }
        Velmora.canvas.addEventListener("pointermove", moved);
        Velmora.canvas.addEventListener("pointerdown", moved);
        // A finger lifted leaves the canvas too, but its value stays to be read.
        Velmora.canvas.addEventListener("pointerleave", function(event) {
            if (event.pointerType !== "touch") Velmora.post(Velmora.MOUSE_LEFT);
        });
    },

    // The window's timers: whether it has any, as they come and go.
    timersChanged: function(anyTimer) {
        Velmora.dispatch("velmora-timers", {anyTimer: anyTimer});
    },

    // What the program has written on its window, one line a text: its readings, named and in
    // its order, then its other texts in reading order.
    showTexts: function(readings, others) {
        function fill(id, lines) {
            var list = document.getElementById(id);
            list.replaceChildren.apply(list, lines.split("\n").filter(Boolean).map(function(line) {
                var item = document.createElement("li");
                item.textContent = line;
                return item;
            }));
        }
        fill("readings", readings);
        fill("texts", others);
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
        if (!Velmora.presented) {
            Velmora.presented = true;
            Velmora.dispatch("velmora-first-picture");
        }
    },

    // Enter, Esc and TAB in a box or dialog are dialog keys, which the program decides
    // (platform/dialog_keys.h): TAB never takes the focus out of it.
    dialogKey: function(dialog, event) {
        var key = event.keyCode;
        if (key !== Velmora.VK_RETURN && key !== Velmora.VK_ESCAPE && key !== Velmora.VK_TAB) return;
        event.preventDefault();
        var focused = document.activeElement;
        var control = focused && dialog.contains(focused) && focused.dataset.control !== undefined
                          ? Number(focused.dataset.control)
                          : Velmora.NO_CONTROL;
        Velmora.post(Velmora.DIALOG_KEY, Number(dialog.dataset.element),
                     key + (event.shiftKey ? Velmora.SHIFT_HELD : 0), control);
    },

    // A <dialog> with a title bar.
    newDialog: function(id, caption) {
        var dialog = document.createElement("dialog");
        dialog.id = "velmora-" + id;
        dialog.dataset.element = id;
        var title = document.createElement("div");
        title.className = "title";
        title.id = dialog.id + "-title";
        title.textContent = caption;
        dialog.appendChild(title);
        dialog.setAttribute("aria-labelledby", title.id);
        dialog.addEventListener("keydown", function(event) {
            Velmora.dialogKey(dialog, event);
            event.stopPropagation();
        });
        // Esc may also reach the browser's own handling as a cancel event: never let it close.
        dialog.addEventListener("cancel", function(event) { event.preventDefault(); });
        document.body.appendChild(dialog);
        Velmora.elements[id] = dialog;
        return dialog;
    },

    openBox: function(id, text, caption, type) {
        var dialog = Velmora.newDialog(id, caption);
        dialog.className = "box";
        var body = document.createElement("div");
        body.className = "body";
        var icons = {};
        icons[Velmora.MB_ICONHAND] = "\u26d4";
        icons[Velmora.MB_ICONQUESTION] = "?";
        icons[Velmora.MB_ICONEXCLAMATION] = "\u26a0";
        icons[Velmora.MB_ICONASTERISK] = "\u2139";
        var icon = icons[type & Velmora.MB_ICONMASK];
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
        dialog.appendChild(buttons);
    },

    // The box's buttons come from the program (platform::ButtonsOf).
    addBoxButton: function(id, text, control, isDefault) {
        var button = document.createElement("button");
        button.textContent = text;
        button.dataset.control = control;
        if (isDefault) button.className = "default";
        button.addEventListener("click", function() {
            Velmora.post(Velmora.BOX_ANSWERED, id, control);
        });
        Velmora.elements[id].querySelector(".buttons").appendChild(button);
    },

    showBox: function(id) {
        var dialog = Velmora.elements[id];
        dialog.showModal();
        (dialog.querySelector("button.default") || dialog.querySelector("button")).focus();
        Velmora.dispatch("velmora-box-shown", dialog);
    },

    openDialog: function(id, caption, font, points, width, height) {
        var dialog = Velmora.newDialog(id, caption);
        dialog.className = "template";
        var client = document.createElement("div");
        client.className = "client";
        client.style.width = width + "px";
        client.style.height = height + "px";
        client.style.font = points + "pt \"" + font + "\", sans-serif";
        dialog.appendChild(client);
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

    showDialog: function(id) {
        var dialog = Velmora.elements[id];
        dialog.showModal();
        Velmora.dispatch("velmora-dialog-shown", dialog);
    },

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

    // Typed at the field's caret, as keys typed there would be.
    typeText: function(id, control, text) {
        var element = Velmora.controlElement(id, control);
        if (element && element.tagName === "INPUT") {
            element.setRangeText(text, element.selectionStart, element.selectionEnd, "end");
        }
    },

    // The field's selection as byte offsets into its UTF-8 text: the anchor, then the caret.
    fieldSelection: function(id, control, ends) {
        var element = Velmora.controlElement(id, control);
        var backward = element.selectionDirection === "backward";
        var anchor = backward ? element.selectionEnd : element.selectionStart;
        var caret = backward ? element.selectionStart : element.selectionEnd;
        HEAP32[ends >> 2] = lengthBytesUTF8(element.value.slice(0, anchor));
        HEAP32[(ends >> 2) + 1] = lengthBytesUTF8(element.value.slice(0, caret));
    },

    // Gives the field its text and its selection, from byte offsets into the UTF-8 text.
    setField: function(id, control, text, anchor, caret) {
        var element = Velmora.controlElement(id, control);
        function index(bytes) {
            var at = 0;
            while (at < text.length && lengthBytesUTF8(text.slice(0, at)) < bytes) ++at;
            return at;
        }
        var from = index(anchor), to = index(caret);
        element.value = text;
        element.setSelectionRange(Math.min(from, to), Math.max(from, to),
                                  to < from ? "backward" : "forward");
    },

    close: function(id) {
        var dialog = Velmora.elements[id];
        if (!dialog) return;
        delete Velmora.elements[id];
        dialog.close();
        dialog.remove();
    },
};

