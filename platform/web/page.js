// The page side of the browser backend (web_backend.cpp): the canvas that is the program's client
// area, the keys and resizes it reports, and message boxes and dialogs as HTML <dialog> elements.
// Input is queued here and taken by the program whenever it waits.
var Velmora = {
    // Event kinds, as web_backend.cpp numbers them.
    KEY_DOWN: 1,
    RESIZED: 2,
    BOX_ANSWERED: 3,
    DIALOG_COMMAND: 4,
    MOUSE_MOVED: 5,
    // Control kinds, in the order of DialogControl::Kind.
    PUSH_BUTTON: 0,
    DEFAULT_PUSH_BUTTON: 1,
    LABEL: 2,
    EDIT: 3,
    IDOK: 1,
    IDCANCEL: 2,
    IDRETRY: 4,
    VK_F1: 0x70,

    events: [],
    wakeUp: null,
    wakeTimer: 0,
    canvas: null,
    context: null,
    image: null,      // the program's pixels as the canvas takes them
    fixedSize: null,  // [width, height] from the page's size=WxH parameter
    elements: {},     // open boxes and dialogs by id

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
        // Keys typed into a box or dialog are theirs; the page is inert behind them.
        if (document.querySelector("dialog[open]") || !event.keyCode) return;
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

    // A <dialog> with a title bar; `cancel` is what Esc means for it.
    newDialog: function(id, caption, cancel) {
        var dialog = document.createElement("dialog");
        dialog.id = "velmora-" + id;
        var title = document.createElement("div");
        title.className = "title";
        title.textContent = caption;
        dialog.appendChild(title);
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

    close: function(id) {
        var dialog = Velmora.elements[id];
        if (!dialog) return;
        delete Velmora.elements[id];
        dialog.close();
        dialog.remove();
    },
};
