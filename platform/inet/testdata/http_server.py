"""Local HTTP(S) server for the transfer tests.

Binds 127.0.0.1 on a free port, prints the port on the first line of stdout,
then serves until it is killed. Paths:
  /bytes/N        N bytes of a fixed pattern (byte i is (i * 7 + i // 251) % 256), with Content-Length
  /short/N        announces N bytes, sends half of them and closes the connection
  /nolength/N     N pattern bytes without Content-Length, ended by closing
  /loop           redirects to itself
  /redirect/N     redirects to /bytes/N
  /dated          a small body with a fixed Last-Modified date
  /announce/N     announces N bytes, sends 10 of them and closes the connection
  /files/NAME     the file NAME of the --root folder, with Content-Length
  anything else   404
With --cert FILE --key FILE the server speaks TLS; --port N binds that port
instead of a free one (the script ends without printing when it cannot).
"""
import argparse
import http.server
import os
import socketserver
import ssl
import sys


def pattern(n):
    return bytes((i * 7 + i // 251) % 256 for i in range(n))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def number(self, prefix):
        try:
            return int(self.path[len(prefix):])
        except ValueError:
            return -1

    def send_body(self, body, length=None, extra=()):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path.startswith("/bytes/"):
            body = pattern(self.number("/bytes/"))
            self.send_body(body, len(body))
        elif self.path.startswith("/short/"):
            n = self.number("/short/")
            self.send_body(pattern(n)[: n // 2], n)
            self.wfile.flush()
            self.close_connection = True
        elif self.path.startswith("/announce/"):
            self.send_body(pattern(10), self.number("/announce/"))
            self.wfile.flush()
            self.close_connection = True
        elif self.path.startswith("/nolength/"):
            self.send_body(pattern(self.number("/nolength/")))
            self.close_connection = True
        elif self.path == "/loop":
            self.send_response(302)
            self.send_header("Location", "/loop")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", "/bytes/" + self.path[len("/redirect/"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path.startswith("/files/") and ROOT and "/" not in self.path[len("/files/"):]:
            try:
                with open(os.path.join(ROOT, self.path[len("/files/"):]), "rb") as f:
                    body = f.read()
            except OSError:
                self.send_error(404, "Not Found")
                return
            self.send_body(body, len(body))
        elif self.path == "/dated":
            self.send_body(b"dated", 5, [("Last-Modified", "Wed, 13 May 2009 10:30:00 GMT")])
        else:
            self.send_error(404, "Not Found")


ROOT = None


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--root")
    args = parser.parse_args()
    global ROOT
    ROOT = args.root
    try:
        server = Server(("127.0.0.1", args.port), Handler)
    except OSError:
        return 1
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
