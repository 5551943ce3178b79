#!/usr/bin/env python3
"""Loopback HTTP and HTTPS server for tests: records what reached it and
answers with the behaviours a test asks for; also a plain file server.

Listens on 127.0.0.1 only, on free ports, and ends by itself after
--lifetime seconds (default 1800). Python standard library plus the openssl
command for the test certificates.

Usage:
  test_server.py --state-dir DIR [--root DIR] [--lifetime S] [--daemon]
  test_server.py --state-dir DIR --stop

  --state-dir DIR  where it keeps its certificates, ports.txt, server.pid
                   and server.log (made when missing)
  --root DIR       serve the files under DIR for any path not named below
                   (GET and HEAD; 404 for a missing file)
  --daemon         start in the background and return once every port
                   listens (for a CTest setup fixture)
  --stop           end the server started with this state directory

When it listens, DIR/ports.txt holds one "NAME PORT" line per listener:
  http             plain HTTP
  https            HTTPS, certificate for the DNS name localhost
  https_expired    HTTPS, certificate for localhost that expired in 2020
  https_wrongname  HTTPS, certificate for wrong.invalid only
  stall            accepts connections and never answers (each is closed
                   after 60 s); records under token _stall "accepted" for
                   each connection and "closed" when the client closes it
  closed           a port that nothing listens on
All certificates are issued by a test CA made at first start:
DIR/ca.pem and DIR/ca.der.

Paths on every HTTP(S) listener:
  /t/TOKEN/ACTION?QUERY   a test request; every request under TOKEN is
                          recorded byte for byte
  /_requests/TOKEN        what reached the server under TOKEN: a line
                          "count N", then per request (up to 100) a line
                          "LISTENER LENGTH" followed by LENGTH raw bytes
                          (request line, header lines, blank line, body)
  /_release/TOKEN         lets TOKEN's stalled requests answer
  CONNECT HOST:PORT       a proxy tunnel to 127.0.0.1:PORT, whatever HOST
                          is; recorded under token _connect
  http://HOST/PATH        a proxy request for PATH: answered as PATH
  anything else           a file under --root, else 404

ACTION (anything else answers like "page"):
  page       status=N (200), body=TEXT ("ok"), type=MIME (text/html),
             header=LINE (repeatable, added verbatim, e.g. a Set-Cookie)
  image      size=N bytes of the test pattern: byte i is (i * 7 + 3) % 256
  redirect   to=URL, code=N (302): Location to URL
  loop       code=N (302): Location to itself; after 1000 hops of one token
             it answers 200 "loop cut" so that no client loops forever
  bigheaders size=N: filler header lines until the header block has at
             least N bytes, then a Set-Cookie line scoped to /t/TOKEN/
  gzip       Content-Encoding gzip of a fixed text, whatever was asked
  chunked    size=N bytes of the test pattern, chunked transfer coding
  reset      size=N announced, the first after=M pattern bytes sent, then
             the connection is reset (RST)
  stall      recorded, then no answer until /_release/TOKEN (or 60 s),
             then 200 "released"
Every action takes delay=MS (wait before answering) and rate=BYTES_PER_S
(send the body at about that speed). HEAD answers carry no body.
"""

import argparse
import functools
import gzip
import os
import signal
import socket
import ssl
import struct
import subprocess
import sys
import threading
import time
import traceback
import urllib.parse
from http import HTTPStatus

LISTEN_HOST = "127.0.0.1"
MAX_RECORDS_PER_TOKEN = 100
LOOP_CUT = 1000
STALL_SECONDS = 60
GZIP_TEXT = b"compressed body " * 64


@functools.lru_cache(maxsize=16)
def pattern(size):
    return bytes((i * 7 + 3) % 256 for i in range(size))


# ---- certificates -------------------------------------------------------

def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_certificates(state):
    if os.path.exists(os.path.join(state, "wrongname.pem")):
        return
    with open(os.path.join(state, "ca.cnf"), "w") as f:
        f.write(
            "[ca]\ndefault_ca = test_ca\n"
            "[test_ca]\ndir = .\ndatabase = index.txt\nnew_certs_dir = issued\n"
            "serial = serial.txt\ncertificate = ca.pem\nprivate_key = ca.key\n"
            "default_md = sha256\npolicy = any\ncopy_extensions = copy\n"
            "unique_subject = no\n"
            "[any]\ncommonName = supplied\n"
            "[leaf]\nbasicConstraints = CA:FALSE\n"
            "keyUsage = digitalSignature, keyEncipherment\n"
            "extendedKeyUsage = serverAuth\n")
    os.makedirs(os.path.join(state, "issued"), exist_ok=True)
    open(os.path.join(state, "index.txt"), "w").close()
    with open(os.path.join(state, "serial.txt"), "w") as f:
        f.write("1000\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key",
            "-out", "ca.pem", "-days", "3650", "-subj", "/CN=Lumigrab Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=state)
    openssl("x509", "-in", "ca.pem", "-outform", "DER", "-out", "ca.der", cwd=state)
    leaves = [
        ("localhost", "localhost", None, None),
        ("expired", "localhost", "20200101000000Z", "20200201000000Z"),
        ("wrongname", "wrong.invalid", None, None),
    ]
    for name, dns, start, end in leaves:
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{name}.key",
                "-out", f"{name}.csr", "-subj", f"/CN={dns}",
                "-addext", f"subjectAltName=DNS:{dns}", cwd=state)
        dates = (["-startdate", start, "-enddate", end] if start
                 else ["-days", "3650"])
        # The last one written is the marker that all exist.
        openssl("ca", "-batch", "-config", "ca.cnf", "-extensions", "leaf",
                "-in", f"{name}.csr", "-out", f"{name}.pem.tmp", "-notext",
                *dates, cwd=state)
        os.replace(os.path.join(state, f"{name}.pem.tmp"),
                   os.path.join(state, f"{name}.pem"))


def tls_context(state, name):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(state, f"{name}.pem"),
                            os.path.join(state, f"{name}.key"))
    return context


# ---- records --------------------------------------------------------------

class Records:
    def __init__(self):
        self.lock = threading.Lock()
        self.by_token = {}
        self.counts = {}
        self.released = {}

    def add(self, token, listener, raw):
        with self.lock:
            self.counts[token] = self.counts.get(token, 0) + 1
            kept = self.by_token.setdefault(token, [])
            if len(kept) < MAX_RECORDS_PER_TOKEN:
                kept.append((listener, raw))
            return self.counts[token]

    def dump(self, token):
        with self.lock:
            out = [b"count %d\n" % self.counts.get(token, 0)]
            for listener, raw in self.by_token.get(token, []):
                out.append(b"%s %d\n" % (listener.encode(), len(raw)))
                out.append(raw)
            return b"".join(out)

    def release_event(self, token):
        with self.lock:
            return self.released.setdefault(token, threading.Event())


# ---- one connection ---------------------------------------------------------

class ConnectionClosed(Exception):
    pass


class Connection:
    def __init__(self, sock, listener, server):
        self.sock = sock
        self.listener = listener
        self.server = server
        self.buffer = b""

    def read_until(self, mark, limit=1 << 20):
        while mark not in self.buffer:
            if len(self.buffer) > limit:
                raise ConnectionClosed()
            data = self.sock.recv(65536)
            if not data:
                raise ConnectionClosed()
            self.buffer += data
        head, self.buffer = self.buffer.split(mark, 1)
        return head

    def read_exactly(self, n):
        while len(self.buffer) < n:
            data = self.sock.recv(65536)
            if not data:
                raise ConnectionClosed()
            self.buffer += data
        data, self.buffer = self.buffer[:n], self.buffer[n:]
        return data

    def serve(self):
        try:
            while self.serve_one():
                pass
        except (ConnectionClosed, OSError, ssl.SSLError):
            pass
        finally:
            try:
                self.sock.close()
            except OSError:
                pass

    def serve_one(self):
        head = self.read_until(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        parts = lines[0].split(b" ")
        if len(parts) != 3:
            raise ConnectionClosed()
        method, target, version = (p.decode("latin-1") for p in parts)
        headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(b":")
            headers[name.strip().lower().decode("latin-1")] = value.strip().decode("latin-1")
        body = self.read_exactly(int(headers.get("content-length", "0") or 0))
        raw = head + b"\r\n\r\n" + body
        keep_alive = (version == "HTTP/1.1" and
                      headers.get("connection", "").lower() != "close")
        request = Request(method, target, headers, raw, self.listener)
        return self.server.answer(self, request) and keep_alive

    def send_response(self, request, status, header_lines, body, rate=0,
                      chunked=False):
        head = ["HTTP/1.1 %d %s" % (status, status_phrase(status))]
        head += header_lines
        if chunked:
            head.append("Transfer-Encoding: chunked")
        else:
            head.append("Content-Length: %d" % len(body))
        data = ("\r\n".join(head) + "\r\n\r\n").encode("latin-1")
        if request.method == "HEAD":
            self.sock.sendall(data)
            return
        if chunked:
            framed = b""
            sizes = [1, 10, 100, 1000, 4000]
            offset = 0
            i = 0
            while offset < len(body):
                piece = body[offset:offset + sizes[i % len(sizes)]]
                framed += b"%x\r\n%s\r\n" % (len(piece), piece)
                offset += len(piece)
                i += 1
            body = framed + b"0\r\n\r\n"
        self.sock.sendall(data)
        send_paced(self.sock, body, rate)

    def reset(self):
        # SO_LINGER with a zero time-out turns the close into a reset.
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                             struct.pack("ii", 1, 0))
        self.sock.close()


def send_paced(sock, data, rate):
    if rate <= 0:
        sock.sendall(data)
        return
    piece = max(1024, rate // 50)
    start = time.monotonic()
    for offset in range(0, len(data), piece):
        sock.sendall(data[offset:offset + piece])
        due = start + (offset + piece) / rate
        pause = due - time.monotonic()
        if pause > 0:
            time.sleep(pause)


def status_phrase(status):
    try:
        return HTTPStatus(status).phrase
    except ValueError:
        return "Status"


class Request:
    def __init__(self, method, target, headers, raw, listener):
        self.method = method
        self.target = target
        self.headers = headers
        self.raw = raw
        self.listener = listener
        parsed = urllib.parse.urlsplit(target)
        self.path = parsed.path
        self.query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)

    def param(self, name, default=""):
        values = self.query.get(name)
        return values[0] if values else default

    def int_param(self, name, default=0):
        try:
            return int(self.param(name, str(default)))
        except ValueError:
            return default


# ---- the server -------------------------------------------------------------

class TestServer:
    def __init__(self, state, root):
        self.state = state
        self.root = os.path.realpath(root) if root else None
        self.records = Records()
        self.ports = {}
        self.schemes = {}

    # -- listeners
    def listen(self, name, context=None, stall=False):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        sock.bind((LISTEN_HOST, 0))
        sock.listen(64)
        self.ports[name] = sock.getsockname()[1]
        self.schemes[name] = "https" if context else "http"
        target = self.accept_stalling if stall else self.accept_loop
        threading.Thread(target=target, args=(sock, name, context),
                         daemon=True).start()

    def accept_loop(self, sock, name, context):
        while True:
            conn, _ = sock.accept()
            threading.Thread(target=self.start_connection,
                             args=(conn, name, context), daemon=True).start()

    def start_connection(self, conn, name, context):
        conn.settimeout(STALL_SECONDS * 2)
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        if context:
            try:
                conn = context.wrap_socket(conn, server_side=True)
            except (ssl.SSLError, OSError):
                # A client that refused the certificate hangs up here.
                conn.close()
                return
        Connection(conn, name, self).serve()

    def accept_stalling(self, sock, name, context):
        while True:
            conn, _ = sock.accept()
            self.records.add("_stall", name, b"accepted")
            threading.Thread(target=self.hold, args=(conn, name), daemon=True).start()

    def hold(self, conn, name):
        # Takes whatever comes and never answers; notes when the client
        # gives up (its time-out closed the connection).
        conn.settimeout(STALL_SECONDS)
        try:
            while conn.recv(65536):
                pass
            self.records.add("_stall", name, b"closed")
        except OSError:
            pass
        conn.close()

    def reserve_closed_port(self):
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.bind((LISTEN_HOST, 0))
        self.ports["closed"] = sock.getsockname()[1]
        sock.close()

    # -- answers; the result says whether the connection may serve more
    def answer(self, conn, request):
        if request.method == "CONNECT":
            return self.tunnel(conn, request)
        path = request.path
        if path.startswith("/_requests/"):
            token = path[len("/_requests/"):]
            conn.send_response(request, 200, ["Content-Type: application/octet-stream"],
                               self.records.dump(token))
            return True
        if path.startswith("/_release/"):
            self.records.release_event(path[len("/_release/"):]).set()
            conn.send_response(request, 200, ["Content-Type: text/plain"], b"released")
            return True
        if path.startswith("/t/"):
            token, _, action = path[3:].partition("/")
            hop = self.records.add(token, request.listener, request.raw)
            delay = request.int_param("delay")
            if delay > 0:
                time.sleep(delay / 1000.0)
            return self.test_action(conn, request, token, action.split("/")[0], hop)
        return self.serve_file(conn, request)

    def test_action(self, conn, request, token, action, hop):
        rate = request.int_param("rate")
        if action == "image":
            conn.send_response(request, 200, ["Content-Type: image/jpeg"],
                               pattern(request.int_param("size", 1024)), rate)
        elif action == "redirect":
            code = request.int_param("code", 302)
            conn.send_response(request, code, ["Location: " + request.param("to"),
                                               "Content-Type: text/html"], b"moved", rate)
        elif action == "loop":
            if hop > LOOP_CUT:
                conn.send_response(request, 200, ["Content-Type: text/plain"], b"loop cut")
            else:
                host = request.headers.get("host", "localhost")
                scheme = self.schemes.get(request.listener, "http")
                location = "%s://%s%s" % (scheme, host, request.target)
                conn.send_response(request, request.int_param("code", 302),
                                   ["Location: " + location, "Content-Type: text/html"],
                                   b"loop", rate)
        elif action == "bigheaders":
            size = request.int_param("size", 6000)
            lines, total, i = [], 0, 0
            while total < size:
                line = "X-Filler-%d: %s" % (i, "f" * 90)
                lines.append(line)
                total += len(line) + 2
                i += 1
            lines.append("Set-Cookie: big=1; Path=/t/%s/" % token)
            conn.send_response(request, 200, lines + ["Content-Type: text/plain"],
                               b"big headers", rate)
        elif action == "gzip":
            conn.send_response(request, 200, ["Content-Type: text/plain",
                                              "Content-Encoding: gzip"],
                               gzip.compress(GZIP_TEXT, mtime=0), rate)
        elif action == "chunked":
            conn.send_response(request, 200, ["Content-Type: image/jpeg"],
                               pattern(request.int_param("size", 10000)), rate,
                               chunked=True)
        elif action == "reset":
            size = request.int_param("size", 100000)
            after = request.int_param("after", 5000)
            head = ("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n"
                    "Content-Length: %d\r\n\r\n" % size).encode()
            conn.sock.sendall(head + pattern(size)[:after])
            # Time for the client to take the bytes before the reset, which
            # would otherwise discard what still waits in its socket.
            time.sleep(0.5)
            conn.reset()
            return False
        elif action == "stall":
            released = self.records.release_event(token).wait(STALL_SECONDS)
            conn.send_response(request, 200, ["Content-Type: text/plain"],
                               b"released" if released else b"stall ended")
        else:
            body = request.param("body", "ok").encode("latin-1", "replace")
            lines = ["Content-Type: " + request.param("type", "text/html")]
            lines += request.query.get("header", [])
            conn.send_response(request, request.int_param("status", 200), lines, body, rate)
        return True

    def tunnel(self, conn, request):
        # A proxy's tunnel, to this machine's own listeners only.
        self.records.add("_connect", request.listener, request.raw)
        # Whatever host is named, the tunnel leads to this machine: tests
        # name hosts that exist only in their certificates.
        _, _, port = request.target.rpartition(":")
        if not port.isdigit():
            conn.send_response(request, 400, ["Content-Type: text/plain"], b"no port")
            return False
        try:
            upstream = socket.create_connection((LISTEN_HOST, int(port)), timeout=10)
        except OSError:
            conn.send_response(request, 502, ["Content-Type: text/plain"], b"no route")
            return False
        upstream.settimeout(STALL_SECONDS * 2)
        conn.sock.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
        if conn.buffer:
            upstream.sendall(conn.buffer)

        def pump(source, sink):
            try:
                while True:
                    data = source.recv(65536)
                    if not data:
                        break
                    sink.sendall(data)
            except OSError:
                pass
            for s in (source, sink):
                try:
                    s.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass

        threading.Thread(target=pump, args=(upstream, conn.sock), daemon=True).start()
        pump(conn.sock, upstream)
        upstream.close()
        return False

    def serve_file(self, conn, request):
        if self.root and request.method in ("GET", "HEAD"):
            relative = urllib.parse.unquote(request.path).lstrip("/")
            full = os.path.realpath(os.path.join(self.root, relative))
            if full.startswith(self.root + os.sep) and os.path.isfile(full):
                with open(full, "rb") as f:
                    data = f.read()
                conn.send_response(request, 200, ["Content-Type: " + guess_type(full)], data)
                return True
        conn.send_response(request, 404, ["Content-Type: text/plain"], b"not found")
        return True


def guess_type(path):
    import mimetypes
    return mimetypes.guess_type(path)[0] or "application/octet-stream"


# ---- start and stop -----------------------------------------------------------

def run(args):
    state = args.state_dir
    make_certificates(state)
    server = TestServer(state, args.root)
    server.listen("http")
    server.listen("https", tls_context(state, "localhost"))
    server.listen("https_expired", tls_context(state, "expired"))
    server.listen("https_wrongname", tls_context(state, "wrongname"))
    server.listen("stall", stall=True)
    server.reserve_closed_port()
    with open(os.path.join(state, "server.pid"), "w") as f:
        f.write("%d\n" % os.getpid())
    temporary = os.path.join(state, "ports.txt.tmp")
    with open(temporary, "w") as f:
        for name, port in server.ports.items():
            f.write("%s %d\n" % (name, port))
    os.replace(temporary, os.path.join(state, "ports.txt"))
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    time.sleep(args.lifetime)
    os._exit(0)


def running(pid):
    # A daemon that ended stays a zombie where nothing reaps orphans.
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def stop(state):
    pid_file = os.path.join(state, "server.pid")
    try:
        with open(pid_file) as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        return
    try:
        os.kill(pid, signal.SIGTERM)
        for _ in range(50):
            if not running(pid):
                break
            time.sleep(0.1)
    except ProcessLookupError:
        pass
    for name in ("server.pid", "ports.txt"):
        try:
            os.remove(os.path.join(state, name))
        except OSError:
            pass


def daemonize(args):
    ports = os.path.join(args.state_dir, "ports.txt")
    if os.fork() > 0:
        # The caller returns once the server listens (or failed).
        for _ in range(600):
            if os.path.exists(ports):
                return 0
            time.sleep(0.05)
        sys.stderr.write("test_server: did not start; see server.log\n")
        return 1
    os.setsid()
    log = os.open(os.path.join(args.state_dir, "server.log"),
                  os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    null = os.open(os.devnull, os.O_RDONLY)
    os.dup2(null, 0)
    os.dup2(log, 1)
    os.dup2(log, 2)
    os.closerange(3, 1024)
    try:
        run(args)
    except BaseException:
        traceback.print_exc()
        sys.stderr.flush()
    os._exit(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--state-dir", required=True)
    parser.add_argument("--root")
    parser.add_argument("--lifetime", type=float, default=1800)
    parser.add_argument("--daemon", action="store_true")
    parser.add_argument("--stop", action="store_true")
    args = parser.parse_args()
    args.state_dir = os.path.abspath(args.state_dir)
    os.makedirs(args.state_dir, exist_ok=True)
    stop(args.state_dir)  # a server left over from an interrupted run
    if args.stop:
        return 0
    if args.daemon:
        return daemonize(args)
    run(args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
