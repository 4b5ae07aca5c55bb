// The page side of the browser backend (web_backend.cpp): the canvas that is the program's client
// area, the keys and resizes it reports, and message boxes and dialogs as HTML <dialog> elements.
// Input is queued here and taken by the program whenever it waits.
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
    elements: {},     // open boxes and dialogs by id

    post: function(kind, a, b, c) {
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

    wake: function() {
        var wakeUp = Velmora.wakeUp;
        if (!wakeUp) return;
        Velmora.wakeUp = null;
        clearTimeout(Velmora.wakeTimer);
        wakeUp();
    },

    // The client size: the size=WxH parameter (each side 1 to 4096), else the browser's window.
    clientSize: function() {
        return Velmora.fixedSize || [window.innerWidth, window.innerHeight];
    },

    readSizeParameter: function() {
        var text = new URLSearchParams(location.search).get("size");
        if (text === null) return;
        var match = /^(\d{1,4})x(\d{1,4})$/.exec(text);
        var width = match ? Number(match[1]) : 0;
        var height = match ? Number(match[2]) : 0;
        if (width < 1 || width > 4096 || height < 1 || height > 4096) {
            console.warn("size=" + text + " ignored: give WxH, each side 1 to 4096; the picture " +
                         "fills the window instead");
            return;
        }
        Velmora.fixedSize = [width, height];
        // A client larger than the browser's window can be scrolled.
        document.body.classList.remove("fill");
    },

    showWindow: function(title, size) {
        document.title = title;
        if (!Velmora.canvas) {
            Velmora.canvas = document.getElementById("client");
            Velmora.context = Velmora.canvas.getContext("2d");
            Velmora.readSizeParameter();
            document.addEventListener("keydown", Velmora.keyDown);
            window.addEventListener("resize", Velmora.resized);
            Velmora.reportPointer();
            document.body.classList.add("running");
        }
        var client = Velmora.clientSize();
        HEAP32[size >> 2] = client[0];
        HEAP32[(size >> 2) + 1] = client[1];
    },

    keyDown: function(event) {
        // Keys typed into a box or dialog are theirs; the page is inert behind them. One that
        // reaches the page while a box is open (the focus left it) is the topmost box's.
        var open = document.querySelectorAll("dialog[open]");
        if (open.length) return Velmora.dialogKey(open[open.length - 1], event);
        if (!event.keyCode) return;
        // F1 is the program's, not the browser's help.
        if (event.keyCode === Velmora.VK_F1) event.preventDefault();
        // keyCode numbers the keys as Windows' virtual-key codes do.
        Velmora.post(Velmora.KEY_DOWN, event.keyCode, 0);
    },

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
    },

    resized: function() {
        if (Velmora.fixedSize) return;
        // Only the latest size matters.
        Velmora.events = Velmora.events.filter(function(e) { return e[0] !== Velmora.RESIZED; });
        var client = Velmora.clientSize();
        Velmora.post(Velmora.RESIZED, client[0], client[1]);
    },

    // Sends the changed area of the program's opaque RGBA pixels to the canvas. The image lies
    // over the program's memory, so nothing is copied or allocated here, except when the size
    // or the memory changes.
    present: function(pixels, width, height, left, top, right, bottom) {
        var canvas = Velmora.canvas;
        if (canvas.width !== width || canvas.height !== height) {
            canvas.width = width;
            canvas.height = height;
            canvas.style.width = width + "px";
            canvas.style.height = height + "px";
        }
        var image = Velmora.image;
        if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== pixels ||
            image.width !== width || image.height !== height) {
            image = Velmora.image =
                new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
                              width, height);
        }
        Velmora.context.putImageData(image, 0, 0, left, top, right - left, bottom - top);
    },

    // Enter, Esc and TAB in a box or dialog are dialog keys, which the program decides
    // (platform/dialog_keys.h): TAB never takes the focus out of it.
    dialogKey: function(dialog, event) {
        var key = event.keyCode;
        // F1 is the program's, not the browser's help.
        if (key === Velmora.VK_F1) event.preventDefault();
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
        title.textContent = caption;
        dialog.appendChild(title);
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
            iconElement.textContent = icon;
            body.appendChild(iconElement);
        }
        var textElement = document.createElement("div");
        textElement.className = "text";
        textElement.textContent = text;
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
        if (kind === Velmora.EDIT) {
            element = document.createElement("input");
            element.type = "text";
            element.value = text;
            element.spellcheck = false;
            element.autocomplete = "off";
        } else if (kind === Velmora.LABEL) {
            element = document.createElement("div");
            element.className = "label";
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
        Velmora.elements[id].querySelector(".client").appendChild(element);
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

    // Typed at the field's caret, as keys typed there would be.
    typeText: function(id, control, text) {
        var element = Velmora.controlElement(id, control);
        if (element && element.tagName === "INPUT") {
            element.setRangeText(text, element.selectionStart, element.selectionEnd, "end");
        }
    },

    close: function(id) {
        var dialog = Velmora.elements[id];
        if (!dialog) return;
        delete Velmora.elements[id];
        dialog.close();
        dialog.remove();
    },
};
