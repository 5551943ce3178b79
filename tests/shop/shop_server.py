#!/usr/bin/env python3
"""The demo shop: a few product pages of the marketplace and their pictures,
all made here, served on 127.0.0.1 for the README's main job and the
end-to-end tests.

    shop_server.py [--port N] [--port-file FILE] [--log FILE] [--image-delay S]
                   [--daemon] [--bench N] [--realistic]

--port 0 (the default) takes a free port; --port-file receives it once the
server listens. --log appends one line per request ("GET /path").
--image-delay holds every picture back for S seconds, so a test can watch
the window during an export. --daemon returns once the server listens and
leaves it running (for a test fixture). --bench N adds /item/bench.htm with
N main pictures of 100 KB each (for the export benchmark); --realistic makes
every answer wait 30 ms and go out at about 2 MB/s, like a distant server.
Pages
are UTF-8, as the marketplace sends them, and name their pictures with the
server's own address. GET /stop ends the server.

Products:
  /item/K-1024.htm   item number K-1024: 4 description pictures, 5 main ones
  /item/coat.htm     no item number: the folder is named after the title
                     (Chinese, with a "|" the name must lose)
  /item/empty.htm    a page with no product markers at all
  /item/odd.htm      item number ODD-1, whose main pictures are the awkward
                     ones: a picture, a missing one (404), one whose
                     connection closes without an answer, the first picture
                     again, one without any dot in its address (through the
                     name localhost) and one whose extension holds a slash
"""
import argparse
import http.server
import os
import socket
import socketserver
import struct
import sys
import threading
import time
import zlib

SUFFIX = "-秀衣坊"


def png(width, height, seed):
    """A striped gradient picture, different for every seed."""
    rows = []
    for y in range(height):
        row = bytearray([0])  # filter: none
        for x in range(width):
            band = ((x + y * (seed % 3 + 1)) // 24 + seed) % 6
            base = [(230, 90, 60), (250, 200, 80), (90, 180, 120),
                    (70, 140, 220), (160, 100, 200), (240, 240, 235)][band]
            shade = (x * 255 // max(width - 1, 1) + y * 128 // max(height - 1, 1)) // 6
            row += bytes(min(255, c * 3 // 4 + shade) for c in base)
        rows.append(bytes(row))
    raw = zlib.compress(b"".join(rows), 9)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw)
            + chunk(b"IEND", b""))


def escaped(html):
    """The description as the marketplace embeds it: escaped markup."""
    return (html.replace("&", "&amp;").replace('"', "&quot;")
            .replace("<", "&lt;").replace(">", "&gt;"))


def page(title, item_number, descriptions, mains):
    desc = "<p>" + "面料：棉麻混纺，柔软透气" + "</p>\n"
    for i, name in enumerate(descriptions):
        desc += '<p><img src="{base}/img/%s" style="max-width:750px;"></p>\n' % name
        if i % 2:
            desc += "<p>模特身高168cm，体重50kg，穿M码</p>\n"
    strip = '<ul id="J_UlThumb" class="tb-thumb tb-clearfix">\n'
    for j, name in enumerate(mains):
        strip += '  <li class="tb-selected">' if j == 0 else "  <li>"
        strip += ('<div class="tb-pic tb-s50"><a href="{base}/img/%s" target="blank">'
                  '<img src="{base}/img/%s_50x50.jpg" /></a></div></li>\n' % (name, name))
    strip += "</ul>\n"
    number = ('<div class="item-mb">货号：<span>%s</span></div>\n' % item_number
              if item_number else "")
    return ("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>%s%s</title>\n</head>\n<body>\n"
            "<div class=\"tb-detail-hd\"><h1>%s</h1></div>\n%s"
            "<div class=\"tb-gallery\">\n%s</div>\n"
            "<div id=\"description\" class=\"J_DetailSection\">\n"
            "<textarea class=\"ks-datalazyload invisible\" id=\"J_DivItemDesc2\">%s</textarea>\n"
            "</div>\n</body>\n</html>\n" % (title, SUFFIX, title, number, strip,
                                           escaped(desc)))


def noise(size, seed):
    """Bytes that do not compress, the same for the same seed."""
    out = bytearray()
    state = seed * 2654435761 % 2**32 or 1
    while len(out) < size:
        state = (state * 1103515245 + 12345) % 2**31
        out += state.to_bytes(4, "little")
    return bytes(out[:size])


def build_shop(bench=0):
    files = {}
    seed = 0
    for name in ["k1024-d%d.png" % i for i in range(1, 5)] + \
                ["k1024-m%d.png" % i for i in range(1, 6)] + \
                ["coat-d%d.png" % i for i in range(1, 3)] + \
                ["coat-m%d.png" % i for i in range(1, 3)]:
        seed += 1
        files["/img/" + name] = ("image/png", png(160, 160, seed))
    files["/item/K-1024.htm"] = ("text/html; charset=utf-8", page(
        "女士羊毛大衣 秋冬新款", "K-1024",
        ["k1024-d%d.png" % i for i in range(1, 5)],
        ["k1024-m%d.png" % i for i in range(1, 6)]))
    files["/item/coat.htm"] = ("text/html; charset=utf-8", page(
        "加厚外套|女 2026冬季", "",
        ["coat-d1.png", "coat-d2.png"], ["coat-m1.png", "coat-m2.png"]))
    files["/img/noext"] = ("image/png", png(40, 40, 99))
    files["/img/a.b/c"] = ("image/png", png(40, 40, 98))
    odd_mains = ["{base}/img/k1024-m1.png", "{base}/img/missing.png",
                 "{base}/img/closed.png", "{base}/img/k1024-m1.png",
                 "{local}/img/noext", "{base}/img/a.b/c"]
    files["/item/odd.htm"] = ("text/html; charset=utf-8", page(
        "odd", "ODD-1", ["k1024-d2.png"], odd_mains).replace("{base}/img/{", "{"))
    files["/item/empty.htm"] = ("text/html; charset=utf-8",
                                "<html><body>nothing for sale</body></html>\n")
    if bench:
        names = ["bench-%d.jpg" % i for i in range(1, bench + 1)]
        for i, name in enumerate(names, 1):
            files["/img/" + name] = ("image/jpeg", noise(100 * 1024, i))
        files["/item/bench.htm"] = ("text/html; charset=utf-8",
                                    page("bench", "BENCH-%d" % bench, [], names))
    index = "".join('<li><a href="{base}%s">%s</a></li>\n' % (p, p)
                    for p in sorted(files) if p.startswith("/item/"))
    files["/"] = ("text/html; charset=utf-8",
                  "<html><body><h1>Demo shop</h1><ul>\n%s</ul></body></html>\n" % index)
    return files


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log")
    parser.add_argument("--image-delay", type=float, default=0.0)
    parser.add_argument("--daemon", action="store_true")
    parser.add_argument("--bench", type=int, default=0)
    parser.add_argument("--realistic", action="store_true")
    args = parser.parse_args()
    files = build_shop(args.bench)
    log_lock = threading.Lock()

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *unused):
            pass

        def do_GET(self):
            if args.log:
                with log_lock, open(args.log, "a", encoding="utf-8") as log:
                    log.write("GET %s\n" % self.path)
            if self.path == "/img/closed.png":
                # The connection ends without a byte of answer.
                self.close_connection = True
                self.connection.shutdown(socket.SHUT_RDWR)
                return
            if self.path == "/stop":
                self.reply(200, "text/plain", b"stopping\n")
                threading.Thread(target=server.shutdown, daemon=True).start()
                return
            entry = files.get(self.path)
            if entry is None:
                self.reply(404, "text/html", b"<html><body>404 Not Found</body></html>\n")
                return
            kind, body = entry
            if self.path.startswith("/img/") and args.image_delay > 0:
                time.sleep(args.image_delay)
            if isinstance(body, str):
                base = "http://127.0.0.1:%d" % server.server_address[1]
                local = "http://localhost:%d" % server.server_address[1]
                body = body.replace("{base}", base).replace("{local}", local)
                body = body.encode("utf-8")
            self.reply(200, kind, body)

        def reply(self, status, kind, body):
            if args.realistic:
                time.sleep(0.030)
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not args.realistic:
                self.wfile.write(body)
                return
            # About 2 MB/s: 20 KB every 10 ms.
            for at in range(0, len(body), 20480):
                self.wfile.write(body[at:at + 20480])
                time.sleep(0.010)

    class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
        daemon_threads = True
        allow_reuse_address = True

    if args.daemon:
        # The parent returns once the child listens and has written its port.
        if args.port_file and os.path.exists(args.port_file):
            os.remove(args.port_file)
        if os.fork() > 0:
            for _ in range(600):
                if args.port_file and os.path.exists(args.port_file):
                    return
                time.sleep(0.05)
            sys.exit("the shop did not start")
        os.setsid()
        devnull = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(devnull, fd)
    server = Server(("127.0.0.1", args.port), Handler)
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write("%d\n" % server.server_address[1])
        os.replace(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
