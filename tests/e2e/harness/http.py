"""A loopback HTTP server with scripted answers, for the update tests.

    server = ScriptedServer()
    server.route("/info.dat", Answer(body=b"R 00000 99999 http://..."))
    server.route("/pkg.upd", Answer(body=data, content_length=False, delay=0.05))
    ...
    server.url("/info.dat"); server.requests  # what clients asked for
    server.close()
"""
import threading
import time
from dataclasses import dataclass, field
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


@dataclass
class Answer:
    status: int = 200
    body: bytes = b""
    headers: dict = field(default_factory=dict)
    content_length: bool = True   # send a Content-Length header
    chunk: int = 4096             # bytes written between pauses
    delay: float = 0.0            # pause after each chunk (slow servers)
    cut_after: int | None = None  # close the connection after this many body bytes


class ScriptedServer:
    def __init__(self, host="127.0.0.1", port=0):
        self.routes = {}
        self.requests = []
        self._stop = threading.Event()
        server = self

        class Handler(BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server.requests.append((self.path, dict(self.headers)))
                answer = server.routes.get(self.path.split("?")[0], Answer(status=404, body=b"not found"))
                self.send_response(answer.status)
                for k, v in answer.headers.items():
                    self.send_header(k, v)
                if answer.content_length:
                    self.send_header("Content-Length", str(len(answer.body)))
                self.end_headers()
                body = answer.body if answer.cut_after is None else answer.body[: answer.cut_after]
                try:
                    for i in range(0, len(body), answer.chunk):
                        if server._stop.is_set():
                            return
                        self.wfile.write(body[i : i + answer.chunk])
                        self.wfile.flush()
                        if answer.delay:
                            time.sleep(answer.delay)
                except (BrokenPipeError, ConnectionResetError):
                    pass

        self.httpd = ThreadingHTTPServer((host, port), Handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def route(self, path, answer: Answer):
        self.routes[path] = answer

    def url(self, path):
        return f"http://127.0.0.1:{self.port}{path}"

    def close(self):
        self._stop.set()
        self.httpd.shutdown()
        self.httpd.server_close()
