# SPDX-License-Identifier: MIT
"""The remote protocol as the extension speaks it: packets split from what a
client sends, the answers that need no target, and the bytes sent back."""

import unittest

from tests.remote_client import support


class SplitterTest(unittest.TestCase):
    def test_packets_and_acknowledgements(self):
        cases = [
            # (what arrives, in pieces), the payloads, the acknowledgements
            ((b"$m0,4#fd",), [b"m0,4"], b"+"),
            ((b"$m0,4#FD",), [b"m0,4"], b"+"),
            ((b"$m0,4#00",), [], b"-"),
            ((b"$m0,", b"4#f", b"d"), [b"m0,4"], b"+"),
            ((b"+\x03$?#3f$g#67",), [b"?", b"g"], b"++"),
            ((b"noise$?#3f",), [b"?"], b"+"),
            # '}' escapes the next byte (xor 0x20): M writes a '#' byte as }\x03.
            ((b"$M0,1:}\x03#" + b"%02x" % support.checksum(b"M0,1:}\x03"),), [b"M0,1:#"], b"+"),
        ]
        for pieces, payloads, acks in cases:
            with self.subTest(pieces=pieces):
                splitter = support.PacketSplitter()
                got, sent = [], b""
                for piece in pieces:
                    packets, more = splitter.feed(piece)
                    got += packets
                    sent += more
                self.assertEqual(got, payloads)
                self.assertEqual(sent, acks)

    def test_no_acknowledgements_once_off(self):
        splitter = support.PacketSplitter()
        splitter.acknowledging = False
        self.assertEqual(splitter.feed(b"$?#3f$x#00"), ([b"?"], b""))

    def test_the_state_question_is_noticed(self):
        for data, asked in ((b"$qSupported#37", False), (b"$?#3f", True), (b"$?#00", False)):
            with self.subTest(data=data):
                splitter = support.PacketSplitter()
                splitter.feed(data)
                self.assertEqual(splitter.asked_state, asked)


class AnswerTest(unittest.TestCase):
    def test_answers_without_the_target(self):
        cases = [
            (b"qSupported:multiprocess+;swbreak+", b"PacketSize=4000;QStartNoAckMode+"),
            (b"QStartNoAckMode", b"OK"),
            (b"?", b"S05"),
            (b"D", b"OK"),
            (b"D;1", b"OK"),
            (b"m20000000,4", None),
            (b"M20000000,1:ff", None),
            # Nothing resumes, steps, halts or sets breakpoints.
            (b"c", b""), (b"s", b""), (b"vCont;c", b""), (b"Z0,18,2", b""), (b"R00", b""), (b"g", b""),
        ]
        for payload, answer in cases:
            with self.subTest(payload=payload):
                self.assertEqual(support.answer_without_target(payload), answer)

    def test_memory_requests(self):
        cases = [
            (b"m20000000,4", ("read", 0x20000000, 4, None)),
            (b"mE000ED00,40", ("read", 0xE000ED00, 0x40, None)),
            (b"M20000100,4:01020304", ("write", 0x20000100, 4, b"\x01\x02\x03\x04")),
            (b"M0,2:ab", ("write", 0, 2, b"\xab")),  # the length is checked by who writes
        ]
        for payload, parts in cases:
            with self.subTest(payload=payload):
                self.assertEqual(support.memory_request(payload), parts)
        for payload in (b"m20000000", b"mxyz,4", b"M0,1", b"M0,1:zz"):
            with self.subTest(payload=payload):
                with self.assertRaises(ValueError):
                    support.memory_request(payload)

    def test_error_replies_carry_safe_text(self):
        cases = [
            ("Cannot access memory at address 0x0", b"E.Cannot access memory at address 0x0"),
            ("a#b$c}d*e", b"E.a b c d e"),
            ("\u00e9t\u00e9", b"E.?t?"),
            ("x" * 100, b"E." + b"x" * 60),
        ]
        for text, reply in cases:
            with self.subTest(text=text):
                self.assertEqual(support.error_reply(text), reply)
                self.assertNotRegex(reply[2:], rb"[#$}*]")


class RepliesTest(unittest.TestCase):
    def memory(self, payload):
        self.asked.append(payload)
        return b"78563412"

    def setUp(self):
        self.asked = []

    def test_a_handshake_and_a_read(self):
        splitter = support.PacketSplitter()
        out = support.replies_to(support.frame(b"qSupported") + support.frame(b"QStartNoAckMode"), splitter,
                                 self.memory)
        self.assertEqual(out, b"++" + support.frame(b"PacketSize=4000;QStartNoAckMode+") + support.frame(b"OK"))
        self.assertFalse(splitter.acknowledging)
        out = support.replies_to(support.frame(b"m20000100,4"), splitter, self.memory)
        self.assertEqual(out, support.frame(b"78563412"))
        self.assertEqual(self.asked, [b"m20000100,4"])

    def test_a_closing_memory_ends_the_replies(self):
        out = support.replies_to(support.frame(b"m0,4"), support.PacketSplitter(), lambda payload: None)
        self.assertIsNone(out)

    def test_frames(self):
        cases = [(b"OK", b"$", b"$OK#9a"), (b"", b"$", b"$#00"), (b"Stop:T05", b"%", b"%Stop:T05#" +
                 b"%02x" % support.checksum(b"Stop:T05"))]
        for payload, mark, sent in cases:
            with self.subTest(payload=payload):
                self.assertEqual(support.frame(payload, mark), sent)


if __name__ == "__main__":
    unittest.main()
