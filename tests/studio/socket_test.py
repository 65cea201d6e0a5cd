"""The studio's server spoken to as its page speaks to it, over HTTP and its
WebSocket: the page's files and nothing else; the welcome, the source's
geometry and the first frame; malformed messages refused with their reason;
a second page refused while the first goes on; a page dropped in the middle
of a drag leaving the tool able to go on; an oversized message closing only
its own connection.

    socket_test.py TESSARK WORKDIR
"""

import os
import socket
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_socket import PageSocket  # noqa: E402
from studio_process import Studio, scratch  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, file=sys.stderr)


def http(port, request):
    """The status line and headers of a raw request's answer, and its body (read to the end)."""
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(request.encode())
        data = b""
        while True:
            chunk = s.recv(1 << 16)
            if not chunk:
                break
            data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    return head.decode(errors="replace"), body


def get(port, target, method="GET"):
    return http(port, f"{method} {target} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")


def stroke(page, x):
    page.send({"type": "pointer", "event": "press", "button": "left", "x": x, "y": 200})
    for i in range(1, 21):
        page.send({"type": "pointer", "event": "drag", "button": "left", "x": x, "y": 200 + 16 * i})
    page.send({"type": "pointer", "event": "release", "button": "left", "x": x, "y": 520})


def hello(page):
    page.send({"type": "hello", "width": 960, "height": 720})
    return page.until("frame")


def result_text(reply):
    return [m["text"] for m in reply["messages"] if m["kind"] in ("result", "error")]


def main():
    tessark, work = sys.argv[1], scratch(sys.argv[2])
    subprocess.run([tessark, "--prefs", os.path.join(work, "prefs"), "-q", "-c",
                    "polySphere -n ball -r 5 -sx 80 -sy 80; select ball; "
                    "file -exportSelected ball.obj -type OBJexport"], cwd=work, check=True)
    studio = Studio(tessark, os.path.join(work, "serve"), os.path.join(work, "ball.obj"))
    port = studio.port
    try:
        # ---- the page's files, and nothing else
        head, body = get(port, "/")
        check(head.startswith("HTTP/1.1 200") and "text/html" in head, f"GET /: {head}")
        check(b'"three": "/three/build/three.module.js"' in body, "the page maps three to its own copy")
        head, _ = get(port, "/src/studio.js")
        check(head.startswith("HTTP/1.1 200") and "text/javascript" in head, f"GET /src/studio.js: {head}")
        head, body = get(port, "/three/build/three.module.js")
        check(head.startswith("HTTP/1.1 200") and len(body) > 1000, f"GET three.module.js: {head}")
        for target in ["/package.json", "/../CMakeLists.txt", "/src/../package.json",
                       "/three/../../README.md", "/node_modules/three/package.json", "/socket"]:
            head, _ = get(port, target)
            check(head.startswith("HTTP/1.1 404"), f"GET {target} is not served: {head}")
        head, _ = get(port, "/", "POST")
        check(head.startswith("HTTP/1.1 405"), f"POST /: {head}")

        # ---- a page: the welcome, the source once, the first frame
        page = PageSocket(port)
        first = hello(page)
        welcome, meshes, frame = first[0], [m for m in first if isinstance(m, bytes)], first[-1]
        check(welcome.get("type") == "welcome" and welcome.get("source") == "ball"
              and welcome.get("rail") == "rail", f"welcome: {welcome}")
        check(len(meshes) == 1, f"the source's geometry once: {len(meshes)} meshes")
        if meshes:
            length = struct.unpack("<I", meshes[0][:4])[0]
            header = meshes[0][4:4 + length].decode()
            check('"path":"|ball|ballShape"' in header and '"polygons":6400' in header
                  and '"triangles":12640' in header, f"the source's header: {header}")
        check(frame["camera"]["width"] == 960 and frame["meshes"][0]["path"] == "|ball|ballShape",
              "the first frame shows the source in the page's port")

        # ---- malformed messages: refused with their reason, the scene as it was
        page.send("hostInput -k enter")
        m = page.until("error")[-1]
        check(m["text"] == "refused a message: the message is not JSON", f"not JSON: {m}")
        page.send({"type": "pointer", "event": "drag", "button": "left", "x": 10, "y": 10})
        m = page.until("error")[-1]
        check(m["text"] == "refused a drag: the left button is not down", f"drag alone: {m}")
        page.send_frame(b"\x00\x01", opcode=2)
        m = page.until("error")[-1]
        check(m["text"] == "refused a message: messages are JSON text", f"binary: {m}")
        reply = page.command("ls -type mesh", 5)
        check(result_text(reply) == ["ballShape"], f"the scene after bad messages: {reply}")

        # ---- a second page while the first drives the session
        second = PageSocket(port)
        m = second.receive()
        check(isinstance(m, dict) and m.get("type") == "refused"
              and "another page is driving this session" in m.get("text", ""), f"second page: {m}")
        check(second.receive() is None, "the second page is closed")
        second.close()
        reply = page.command("polyEvaluate -f ball", 6)
        check(result_text(reply) == ["6400"], f"the first page goes on: {reply}")

        # ---- the page dropped in the middle of a drag
        page.send({"type": "pointer", "event": "press", "button": "left", "x": 330, "y": 200})
        for i in range(1, 21):
            page.send({"type": "pointer", "event": "drag", "button": "left", "x": 330, "y": 200 + 16 * i})
        page.send("not JSON")  # its refusal comes once the drags before it have been read
        page.until("error")
        page.sock.shutdown(socket.SHUT_RDWR)
        page.close()
        page = PageSocket(port)
        hello(page)
        stroke(page, 630)
        page.send({"type": "key", "key": "enter"})
        reply = page.command("polyEvaluate -f kvMeshShape", 8)
        check(result_text(reply) == ["144"], f"two strokes, one of a dropped page, and ENTER: {reply}")
        page.send({"type": "undo"})
        reply = page.command("polyEvaluate -f kvMeshShape", 9)
        check(result_text(reply) == ['polyEvaluate: No object matches name: kvMeshShape'],
              f"undone: {reply}")

        # ---- an oversized message closes its own connection only
        try:
            page.send("x" * (2 << 20))
            while page.receive() is not None:
                pass
        except (ConnectionError, OSError):
            pass  # closed by the studio, maybe before the whole message went
        page.close()
        page = PageSocket(port)
        hello(page)
        reply = page.command("polyEvaluate -f ball", 10)
        check(result_text(reply) == ["6400"], f"after an oversized message: {reply}")
        page.close()
        check(studio.alive(), "the studio survives its pages")
    finally:
        status = studio.stop()
    check(status == 0, f"the studio stops cleanly on SIGINT (status {status})")
    check(any("stopped" in line for line in studio.lines), "the studio says it stopped")
    if failures:
        print(f"{len(failures)} check(s) failed; the studio's log: {studio.log_path}", file=sys.stderr)
        return 1
    print("studio socket test: every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
