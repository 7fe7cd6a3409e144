"""A loopback HTTP server with scripted answers, for the update tests.

    server = ScriptedServer()
    server.route("/info.dat", Answer(body=b"R 00000 99999 http://..."))
    server.route("/pkg.upd", Answer(body=data, content_length=False, delay=0.05))
    ...
    server.url("/info.dat"); server.requests  # what clients asked for
    server.close()

Faults, per answer: a status other than 200 (404, 500), stall_headers (the
request is read, nothing is answered), stall_at=N (headers and N body bytes,
then silence), cut_after=N (N body bytes, then a clean close), reset_at=N (N
body bytes, then a TCP reset), drip (chunk=1..few bytes with a delay). A
route given a list of answers uses them one per request, the last one for
every request after it. A stall lasts until release() or close(); the server
notes in events when each fault began.
"""
import socket
import struct
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
    stall_headers: bool = False   # read the request, answer nothing
    stall_at: int | None = None   # fall silent after this many body bytes
    reset_at: int | None = None   # reset the connection after this many body bytes


class ScriptedServer:
    def __init__(self, host="127.0.0.1", port=0):
        self.routes = {}
        self.requests = []
        self.events = []  # (time.monotonic(), path, fault) when a fault began
        self._stop = threading.Event()
        self._release = threading.Event()
        server = self

        class Handler(BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server.requests.append((self.path, dict(self.headers)))
                answer = server._answer_for(self.path.split("?")[0])
                if answer.stall_headers:
                    server._stall(self.path, "stall_headers")
                    return
                self.send_response(answer.status)
                for k, v in answer.headers.items():
                    self.send_header(k, v)
                if answer.content_length:
                    self.send_header("Content-Length", str(len(answer.body)))
                self.end_headers()
                stop_at = min((n for n in (answer.cut_after, answer.stall_at, answer.reset_at) if n is not None),
                              default=None)
                body = answer.body if stop_at is None else answer.body[:stop_at]
                try:
                    for i in range(0, len(body), answer.chunk):
                        if server._stop.is_set():
                            return
                        self.wfile.write(body[i : i + answer.chunk])
                        self.wfile.flush()
                        if answer.delay:
                            time.sleep(answer.delay)
                    if answer.reset_at is not None and stop_at == answer.reset_at:
                        server.events.append((time.monotonic(), self.path, "reset"))
                        # Linger 0: close() sends a reset instead of a FIN.
                        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                        self.connection.close()
                    elif answer.stall_at is not None and stop_at == answer.stall_at:
                        server._stall(self.path, "stall_body")
                except OSError:  # the client went away (broken pipe, reset)
                    pass

        self.httpd = ThreadingHTTPServer((host, port), Handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def route(self, path, answer):
        """answer: an Answer, or a list of them, one per request in turn."""
        self.routes[path] = list(answer) if isinstance(answer, (list, tuple)) else [answer]

    def _answer_for(self, path):
        answers = self.routes.get(path)
        if not answers:
            return Answer(status=404, body=b"not found")
        return answers.pop(0) if len(answers) > 1 else answers[0]

    def _stall(self, path, fault):
        self.events.append((time.monotonic(), path, fault))
        while not (self._stop.is_set() or self._release.is_set()):
            self._stop.wait(0.2)

    def fault_time(self, fault):
        """When the first fault of that kind began (time.monotonic()), or None."""
        return next((t for t, _, f in self.events if f == fault), None)

    def release(self):
        """Ends every stall: the stalled requests are then closed."""
        self._release.set()

    def url(self, path):
        return f"http://127.0.0.1:{self.port}{path}"

    def close(self):
        self._stop.set()
        self.httpd.shutdown()
        self.httpd.server_close()
