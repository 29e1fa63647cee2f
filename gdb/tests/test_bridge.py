# SPDX-License-Identifier: MIT
"""The window's bridge: a window connects, shakes hands and is told of the
stop; its memory requests are answered on GDB's thread (played here by a
thread that runs what is posted); stops and resumes reach it as
notifications; close() ends it all."""

import queue
import socket
import threading
import unittest

from tests.remote_client import RemoteClient, support

DEADLINE = 5.0


class GdbThread:
    """Runs what the bridge posts, in order, on one thread, as gdb.post_event does."""

    def __init__(self):
        self.posted = queue.Queue()
        self.stopped = True
        self.answering = True
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def post(self, function):
        self.posted.put(function)

    def run(self):
        while True:
            function = self.posted.get()
            if function is None:
                return
            function()

    def memory(self, payload):
        assert threading.current_thread() is self.thread
        if not self.answering:
            threading.Event().wait(1.5)  # past the bridge's deadline of 1 s
        return b"E.the target is running" if not self.stopped else b"%08x" % len(payload)

    def end(self):
        self.posted.put(None)
        self.thread.join(DEADLINE)


class BridgeTest(unittest.TestCase):
    def setUp(self):
        self.gdb = GdbThread()
        self.bridge = support.Bridge(self.gdb.post, self.gdb.memory, lambda: self.gdb.stopped, answer_deadline=1.0)
        self.addCleanup(self.gdb.end)
        self.addCleanup(self.bridge.close)

    def connect(self):
        window = RemoteClient(self.bridge.endpoint(), DEADLINE)
        self.addCleanup(window.close)
        return window

    def test_a_window_is_told_of_the_stop_it_connects_at(self):
        cases = [(True, [(b"%", b"Stop:T05")]), (False, [])]
        for stopped, told in cases:
            with self.subTest(stopped=stopped):
                self.gdb.stopped = stopped
                window = self.connect()
                self.assertEqual(window.handshake(), [b"PacketSize=4000;QStartNoAckMode+", b"OK", b"S05"])
                received = self.told_before_a_reply(window)
                self.assertEqual(received, told)
                window.close()
                self.wait_until(lambda: not self.bridge.is_connected())

    def test_memory_requests_are_answered_on_gdbs_thread(self):
        window = self.connect()
        window.handshake()
        cases = [(True, b"m20000100,4", b"0000000b"), (False, b"m20000100,4", b"E.the target is running"),
                 (True, b"M0,1:ff", b"00000007")]
        for stopped, request, reply in cases:
            with self.subTest(stopped=stopped, request=request):
                self.gdb.stopped = stopped
                self.assertEqual(window.request(request), reply)

    def test_gdb_that_does_not_answer_gives_an_error(self):
        window = self.connect()
        window.handshake()
        self.gdb.answering = False
        self.assertEqual(window.request(b"m0,4"), b"E.GDB gave no answer")

    def test_notifications(self):
        window = self.connect()
        window.handshake()
        self.told_before_a_reply(window)
        for payload in (b"Running:1", b"Stop:T05", b"Stop:T02"):
            with self.subTest(payload=payload):
                self.bridge.notify(payload)
                self.assertEqual(window.receive(), (b"%", payload))

    def test_a_second_window_after_the_first_closed(self):
        first = self.connect()
        first.handshake()
        first.close()
        self.wait_until(lambda: not self.bridge.is_connected())
        second = self.connect()
        self.assertEqual(second.request(b"m0,4"), b"00000004")

    def test_close_ends_the_window_connection_and_the_worker(self):
        window = self.connect()
        window.handshake()
        self.wait_until(self.bridge.is_connected)
        self.bridge.close()
        self.assertFalse(self.bridge.worker.is_alive())
        with self.assertRaises((EOFError, OSError)):
            while True:
                window.receive()
        with self.assertRaises(OSError):
            socket.create_connection(("127.0.0.1", self.bridge.port), timeout=DEADLINE).close()
        self.bridge.close()  # a second close does nothing
        self.bridge.notify(b"Stop:T05")  # nor does a stop after it

    def told_before_a_reply(self, window):
        """The notifications received before the reply to a memory request:
        the request is answered on GDB's thread after what was posted there
        before it, so whatever the handshake made that thread tell has come."""
        window.send(b"m0,4")
        received = []
        while True:
            mark, payload = window.receive()
            if mark == b"$":
                return received
            received.append((mark, payload))

    def wait_until(self, condition):
        done = threading.Event()
        for _ in range(int(DEADLINE / 0.02)):
            if condition():
                return
            done.wait(0.02)
        self.fail("not within %s s" % DEADLINE)


if __name__ == "__main__":
    unittest.main()
