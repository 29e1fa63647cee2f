# SPDX-License-Identifier: MIT
"""A remote-protocol client as small as the tests need: it sends packets,
passes over acknowledgements and returns the packets and notifications it
receives. Every read has a deadline."""

import os
import socket
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import tavlin_support as support  # noqa: E402

DEADLINE = 5.0


class RemoteClient:
    def __init__(self, endpoint, deadline=DEADLINE):
        host, port = endpoint.rsplit(":", 1)
        self.socket = socket.create_connection((host, int(port)), timeout=deadline)
        self.buffer = b""

    def close(self):
        self.socket.close()

    def send(self, payload):
        self.socket.sendall(support.frame(payload))

    def receive(self):
        """The next packet or notification: (b"$" or b"%", payload). Raises
        socket.timeout past the deadline, EOFError when the server closed."""
        while True:
            self.buffer = self.buffer.lstrip(b"+-")
            end = self.buffer.find(b"#")
            if self.buffer[:1] in (b"$", b"%") and end >= 0 and len(self.buffer) >= end + 3:
                mark, payload = self.buffer[:1], self.buffer[1:end]
                self.buffer = self.buffer[end + 3:]
                return mark, payload
            data = self.socket.recv(65536)
            if not data:
                raise EOFError("the server closed the connection")
            self.buffer += data

    def request(self, payload):
        """Sends a request and returns its reply, passing over notifications."""
        self.send(payload)
        while True:
            mark, reply = self.receive()
            if mark == b"$":
                return reply

    def handshake(self):
        """tavlin's own: qSupported, QStartNoAckMode, then '?'."""
        return [self.request(b"qSupported:multiprocess+"), self.request(b"QStartNoAckMode"), self.request(b"?")]
