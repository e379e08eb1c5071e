#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 for the browser tests of both ports.

Usage: browser_server.py ROOT PORT_FILE LOG_FILE
Binds a free port, writes it to PORT_FILE, and appends the path of every request to LOG_FILE
(one line each, written before the answer), so a test can tell which addresses a browser
really asked for. A path starting with /slow is answered only after 5 seconds, to keep a load
in flight. Ends when its parent test kills it.
"""
import http.server
import os
import sys
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=sys.argv[1], **kwargs)

    def send_head(self):
        with open(sys.argv[3], "a", encoding="utf-8") as log:
            log.write(self.path + "\n")
        if self.path.startswith("/slow"):
            time.sleep(5)
        return super().send_head()

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    port_file = sys.argv[2]
    with open(port_file + ".part", "w", encoding="utf-8") as out:
        out.write(str(server.server_address[1]))
    os.replace(port_file + ".part", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
