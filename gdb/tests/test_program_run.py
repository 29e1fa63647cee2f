# SPDX-License-Identifier: MIT
"""One run of the program served to its end: a stand-in program connects,
asks for memory and prints; the run gives back its exit code and output, and
a program that hangs is ended at the deadline."""

import os
import sys
import time
import unittest

from tests.remote_client import support

FAKE = [sys.executable, "-B", os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_tavlin.py")]
DEADLINE = 10.0


class ProgramRunTest(unittest.TestCase):
    def setUp(self):
        self.asked = []

    def memory(self, payload):
        self.asked.append(payload)
        return b"E01" if payload.startswith(b"m0,") else b"78563412"

    def run_fake(self, steps, deadline=DEADLINE):
        return support.serve_program_run(FAKE, steps, self.memory, deadline)

    def test_runs(self):
        cases = [
            # steps, exit code, stdout, stderr, memory requests served
            (["connect", "ask:m20000100,4", "exit:0"], 0, "78563412\n", "", [b"m20000100,4"]),
            (["connect", "ask:m0,4", "ask:c", "warn:E01", "exit:1"], 1, "E01\n\n", "E01\n", [b"m0,4"]),
            (["connect", "ask:M20000100,1:ff", "ask:D"], 0, "78563412\nOK\n", "", [b"M20000100,1:ff"]),
            (["say:no target needed", "exit:2"], 2, "no target needed\n", "", []),
            (["warn:tavlin: cannot open x.svd", "exit:1"], 1, "", "tavlin: cannot open x.svd\n", []),
        ]
        for steps, code, out, err, asked in cases:
            with self.subTest(steps=steps):
                self.asked = []
                result = self.run_fake(steps)
                self.assertEqual(result, (code, out.encode().replace(b"\n", os.linesep.encode()),
                                          err.encode().replace(b"\n", os.linesep.encode())))
                self.assertEqual(self.asked, asked)

    def test_output_larger_than_a_pipe_holds(self):
        code, out, err = self.run_fake(["connect", "spew:300000", "ask:m20000100,4", "exit:0"])
        self.assertEqual(code, 0)
        self.assertEqual(out, b"o" * 300000 + b"78563412" + os.linesep.encode())
        self.assertEqual(err, b"e" * 300000)

    def test_a_hanging_program_is_ended_at_the_deadline(self):
        started = time.monotonic()
        with self.assertRaisesRegex(support.Problem, "gave no answer within 1 s"):
            self.run_fake(["connect", "sleep:30"], deadline=1.0)
        self.assertLess(time.monotonic() - started, 8.0)

    def test_a_missing_program_is_a_problem(self):
        with self.assertRaisesRegex(support.Problem, "cannot run"):
            support.serve_program_run([os.path.join("no", "such", "tavlin")], [], self.memory, DEADLINE)


if __name__ == "__main__":
    unittest.main()
