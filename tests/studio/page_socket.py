"""A WebSocket client of the studio's /socket, from the standard library
alone (RFC 6455: the opening handshake, masked frames from the client),
for tests that speak to the studio as its page does."""

import base64
import json
import os
import socket
import struct


class PageSocket:
    def __init__(self, port, host="127.0.0.1", timeout=60):
        self.sock = socket.create_connection((host, port), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((
            "GET /socket HTTP/1.1\r\n"
            f"Host: {host}:{port}\r\n"
            "Upgrade: websocket\r\nConnection: Upgrade\r\n"
            f"Sec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise ConnectionError("the studio closed the connection during the handshake")
            reply += chunk
        head, rest = reply.split(b"\r\n\r\n", 1)
        self.pending = bytearray(rest)
        self.at = 0
        if not head.startswith(b"HTTP/1.1 101"):
            raise ConnectionError("the studio refused the socket: " + head.decode(errors="replace"))

    def _read(self, n):
        while len(self.pending) - self.at < n:
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise ConnectionError("the studio closed the connection")
            if self.at:
                del self.pending[:self.at]
                self.at = 0
            self.pending += chunk
        data = bytes(self.pending[self.at:self.at + n])
        self.at += n
        return data

    def send_frame(self, payload, opcode=1):
        header = bytes([0x80 | opcode])
        n = len(payload)
        if n < 126:
            header += bytes([0x80 | n])
        elif n < 1 << 16:
            header += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", n)
        mask = os.urandom(4)
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def send(self, message):
        """Sends a message: a dict as JSON text, a str as text as it is."""
        text = message if isinstance(message, str) else json.dumps(message)
        self.send_frame(text.encode())

    def receive(self):
        """The next message: a dict for JSON text, bytes for binary, None once closed."""
        parts = []
        kind = 1
        while True:
            b0, b1 = self._read(2)
            opcode, n = b0 & 0x0F, b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._read(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._read(8))[0]
            payload = self._read(n)
            if opcode == 8:
                return None
            if opcode in (9, 10):
                if opcode == 9:
                    self.send_frame(payload, 10)
                continue
            parts.append(payload)
            kind = opcode or kind
            if b0 & 0x80:
                data = b"".join(parts)
                return json.loads(data) if kind == 1 else data

    def until(self, wanted):
        """Messages up to the first of a type (a JSON message's "type"); all of them, in order."""
        seen = []
        while True:
            m = self.receive()
            if m is None:
                raise ConnectionError(f"closed before a {wanted} message: {seen!r}")
            seen.append(m)
            if isinstance(m, dict) and m.get("type") == wanted:
                return seen

    def command(self, text, ident=1):
        """Runs host command text; the result message."""
        self.send({"type": "command", "id": ident, "text": text})
        return self.until("result")[-1]

    def close(self):
        self.sock.close()
