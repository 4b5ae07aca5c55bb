"""Serves a folder on the loopback, quietly, for the browser test and bench/web_measure.py."""

import functools
import http.server
import threading


def serve(folder):
    """Starts a server for the folder (a pathlib.Path) on a free port; returns it and its address."""
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,),
                 {"log_message": lambda *args: None})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(quiet, directory=str(folder.resolve())))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}"
