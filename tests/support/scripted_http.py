"""Loopback HTTP server that misbehaves on request, for tests of downloads.

Usage: /usr/bin/python3 scripted_http.py FOLDER

Listens on 127.0.0.1 at a free port and prints the port on the first line of stdout. The path
says what to do (NAME is a file in FOLDER):
  /file/NAME              200 with the file's bytes
  /status/CODE/NAME       status CODE with the file's bytes as the body
  /redirect/N/NAME        a chain of N redirects (302), then /file/NAME
  /loop                   redirects to itself forever
  /away?to=URL            one redirect to URL, whatever its scheme
  /drop                   reads the request and closes the connection without a word
  /cut/NAME               announces the whole file, sends half of it and closes
  /endless                a chunked body that never ends
The server stops on SIGTERM or when stdin closes.
"""
import http.server
import os
import signal
import sys
import threading
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def body_of(self, name):
        with open(os.path.join(self.server.folder, os.path.basename(name)), "rb") as f:
            return f.read()

    def reply(self, code, body, headers=()):
        self.send_response(code)
        for key, value in headers:
            self.send_header(key, value)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def redirect(self, location):
        self.reply(302, b"", [("Location", location)])

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.strip("/").split("/")
        kind = parts[0]
        if kind == "file":
            self.reply(200, self.body_of(parts[1]))
        elif kind == "status":
            self.reply(int(parts[1]), self.body_of(parts[2]))
        elif kind == "redirect":
            left = int(parts[1])
            self.redirect("/redirect/%d/%s" % (left - 1, parts[2]) if left > 1 else "/file/" + parts[2])
        elif kind == "loop":
            self.redirect("/loop")
        elif kind == "away":
            self.redirect(urllib.parse.parse_qs(url.query)["to"][0])
        elif kind == "drop":
            self.close_connection = True
            self.connection.shutdown(2)
        elif kind == "cut":
            body = self.body_of(parts[1])
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(2)
        elif kind == "endless":
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            chunk = b"[Tarnwick]\r\nVersion=9.9\r\n" * 2000
            try:
                while True:
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
            except OSError:
                self.close_connection = True
        else:
            self.reply(404, b"unknown route")


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.folder = sys.argv[1]
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(server.server_address[1], flush=True)
    while os.read(sys.stdin.fileno(), 4096):
        pass
    os._exit(0)


if __name__ == "__main__":
    main()
