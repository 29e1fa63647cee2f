# SPDX-License-Identifier: MIT
"""Which tavlin program the extension runs, on POSIX and on Windows, and how
it starts the window and its own threads."""

import os
import signal
import threading
import unittest

from tests.remote_client import support

EXTENSION_DIR = os.path.join("prefix", "share", "tavlin", "gdb")
BIN = os.path.normpath(os.path.join("prefix", "bin"))


def lookup(system, window=False, environ=None, installed=(), on_path=()):
    """program_path with the files `installed` in prefix/bin and the names `on_path` found on PATH."""
    beside = {os.path.join(BIN, name) for name in installed}
    return support.program_path(EXTENSION_DIR, window, environ or {}, system, is_program=lambda path: path in beside,
                                which=lambda name: "/path/" + name if name in on_path else None)


class ProgramLookupTest(unittest.TestCase):
    def test_the_program_chosen(self):
        cases = [
            # system, for the window, TAVLIN_PROGRAM, installed in bin/, on PATH, chosen
            ("posix", False, None, ["tavlin"], ["tavlin"], os.path.join(BIN, "tavlin")),
            ("posix", True, None, ["tavlin"], [], os.path.join(BIN, "tavlin")),
            ("posix", False, None, [], ["tavlin"], "/path/tavlin"),
            ("posix", False, None, ["tavlin.exe", "tavlin.com"], ["tavlin"], "/path/tavlin"),
            ("posix", False, "/opt/tavlin", ["tavlin"], ["tavlin"], "/opt/tavlin"),
            ("nt", False, None, ["tavlin.com", "tavlin.exe"], [], os.path.join(BIN, "tavlin.com")),
            ("nt", True, None, ["tavlin.com", "tavlin.exe"], [], os.path.join(BIN, "tavlin.exe")),
            ("nt", False, None, ["tavlin.exe"], [], os.path.join(BIN, "tavlin.exe")),
            ("nt", False, None, ["tavlin"], ["tavlin.com", "tavlin.exe"], "/path/tavlin.com"),
            ("nt", True, None, [], ["tavlin.com", "tavlin.exe"], "/path/tavlin.exe"),
            ("nt", False, None, [], ["tavlin.exe"], "/path/tavlin.exe"),
            ("nt", True, "C:\\tools\\tavlin.exe", ["tavlin.exe"], [], "C:\\tools\\tavlin.exe"),
        ]
        for system, window, given, installed, on_path, chosen in cases:
            with self.subTest(system=system, window=window, given=given, installed=installed, on_path=on_path):
                environ = {"TAVLIN_PROGRAM": given} if given else {}
                self.assertEqual(lookup(system, window, environ, installed, on_path), chosen)

    def test_no_program_is_a_problem(self):
        cases = [("posix", False, ["tavlin.exe"]), ("nt", False, ["tavlin"]), ("nt", True, ["tavlin.com"])]
        for system, window, installed in cases:
            with self.subTest(system=system, window=window):
                with self.assertRaisesRegex(support.Problem, "cannot find the tavlin program"):
                    lookup(system, window, {}, installed, installed)


class DetachedWindowTest(unittest.TestCase):
    def test_start_options(self):
        cases = [
            ("posix", {"start_new_session": True}),
            # CREATE_NEW_PROCESS_GROUP | DETACHED_PROCESS, as Windows numbers them.
            ("nt", {"creationflags": 0x208}),
        ]
        for system, options in cases:
            with self.subTest(system=system):
                self.assertEqual(support.detached_options(system), options)


class WorkerTest(unittest.TestCase):
    @unittest.skipUnless(hasattr(signal, "pthread_sigmask"), "no signal masks on this system")
    def test_a_worker_is_born_with_gdbs_signals_blocked(self):
        seen = []
        worker = support.start_worker(lambda: seen.append(signal.pthread_sigmask(signal.SIG_BLOCK, [])), "probe")
        worker.join(5)
        self.assertTrue(worker.daemon)
        self.assertTrue(set(support.WORKER_BLOCKED_SIGNALS) <= seen[0], seen)
        # The starting thread's own mask is as it was.
        self.assertNotIn(signal.SIGINT, signal.pthread_sigmask(signal.SIG_BLOCK, []))

    def test_a_worker_runs(self):
        ran = threading.Event()
        support.start_worker(ran.set, "probe").join(5)
        self.assertTrue(ran.is_set())


if __name__ == "__main__":
    unittest.main()
