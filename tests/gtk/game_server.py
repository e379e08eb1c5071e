#!/usr/bin/env python3
"""The game site of the game window tests: a page that runs the test's script-bridge calls and
reports what the client does to it, served on 127.0.0.1.

usage: game_server.py DIR
Binds a free port, writes it to DIR/port, appends every request's path (with its query) to
DIR/requests, one line each, before answering. The test drives the page through DIR/calls:
each line is a script expression giving the argument list of one JsCallClient call (for
example ["6","title","x"]); the page fetches them in order from /call?n=N and reports
/done?n=N after each call, or /failed?n=N when the call threw. A page starts with the first
call written after it was served, unless its address says from=N.

Routes:
  /game.html[?clientcalljs=missing|throw][&from=N]  the test page; ClientCallJs absent or
                 throwing; the page starts with call N
  /call?n=N      line N of DIR/calls (204 while there is none)
  /cached.png    a small PNG the browser may cache for an hour
  /pay...        a page standing for an external address (recharge link)
  anything else  logged and answered 204 (the page's reports)
Ends with its parent process.
"""
import http.server
import os
import sys
import threading
import time
import urllib.parse
import zlib
import struct

DIR = sys.argv[1]

PAGE = r"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>game</title>
<style>html,body{margin:0;height:100%;background:#205080;overflow:hidden}</style></head>
<body><img id="img" src="/cached.png" onload="report('img')">
<script>
var params = new URLSearchParams(location.search);
function report(what, text) {
  var url = '/report?' + what + (text === undefined ? '' : '=' + encodeURIComponent(text));
  fetch(url, {cache: 'no-store'}).catch(function () {});
}
// ClientCallJs reports carry their order, as the reports themselves may overtake each other.
var clientCalls = 0;
if (params.get('clientcalljs') === 'throw') {
  window.ClientCallJs = function (code, x, y) {
    report('ccj', ++clientCalls + ':' + code + ',' + x + ',' + y);
    throw new Error('page error');
  };
} else if (params.get('clientcalljs') !== 'missing') {
  window.ClientCallJs = function (code, x, y) {
    report('ccj', ++clientCalls + ':' + code + ',' + x + ',' + y + ',' + arguments.length);
    if (code === '3') {
      var probe = new Image();
      probe.onload = function () { report('reloaded'); };
      probe.src = '/cached.png';
    }
  };
}
document.addEventListener('keydown', function (e) { report('key', e.key); });
document.addEventListener('contextmenu', function () { report('contextmenu'); });
var next = parseInt(params.get('from') || '@CALLS@', 10);
function poll() {
  fetch('/call?n=' + next, {cache: 'no-store'}).then(function (r) {
    return r.status === 200 ? r.text() : null;
  }).then(function (text) {
    if (text !== null) {
      var n = next++;
      try {
        var args = eval(text);
        window.external.JsCallClient.apply(window.external, args);
        report('done', n);
      } catch (e) {
        report('failed', n + ' ' + e);
      }
    }
    setTimeout(poll, text !== null ? 0 : 50);
  }).catch(function () { setTimeout(poll, 200); });
}
report('external', typeof window.external + ',' + typeof window.external.JsCallClient);
poll();
</script></body></html>
"""


def png(width, height, rgb):
    raw = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


CACHED = png(8, 8, (200, 60, 40))


def read_calls():
    try:
        with open(os.path.join(DIR, "calls"), encoding="utf-8") as f:
            return f.read().split("\n")
    except FileNotFoundError:
        return [""]
LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", kind="text/plain", extra=()):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_GET(self):
        with LOCK, open(os.path.join(DIR, "requests"), "a", encoding="utf-8") as log:
            log.write(urllib.parse.unquote(self.path) + "\n")
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        no_store = [("Cache-Control", "no-store")]
        if url.path == "/game.html":
            page = PAGE.replace("@CALLS@", str(len(read_calls()) - 1))
            self.answer(200, page.encode(), "text/html; charset=utf-8", no_store)
        elif url.path == "/call":
            n = int(query.get("n", ["0"])[0])
            lines = read_calls()
            if n < len(lines) - 1:  # only lines ended by a newline are complete
                self.answer(200, lines[n].encode(), "text/plain; charset=utf-8", no_store)
            else:
                self.answer(204, b"", extra=no_store)
        elif url.path == "/cached.png":
            self.answer(200, CACHED, "image/png", [("Cache-Control", "max-age=3600")])
        elif url.path.startswith("/pay"):
            self.answer(200, b"<html><body>pay</body></html>", "text/html", no_store)
        else:
            self.answer(204, b"", extra=no_store)

    do_HEAD = do_GET


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a page that navigates away drops its pending requests


def exit_with_parent():
    parent = os.getppid()
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)


def main():
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=exit_with_parent, daemon=True).start()
    with open(os.path.join(DIR, "port.part"), "w") as out:
        out.write(str(server.server_address[1]))
    os.replace(os.path.join(DIR, "port.part"), os.path.join(DIR, "port"))
    server.serve_forever(poll_interval=0.2)


if __name__ == "__main__":
    main()
