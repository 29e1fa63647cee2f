# SPDX-License-Identifier: MIT
"""How a command's words are split: quotes group them on every system, a
backslash escapes only where it is no path separator."""

import unittest

from tests.remote_client import support


class SplitWordsTest(unittest.TestCase):
    def test_the_words(self):
        cases = [
            # system, typed, words
            ("posix", "load chip.svd", ["load", "chip.svd"]),
            ("posix", "load '/maps/my chip.svd' --core CM4", ["load", "/maps/my chip.svd", "--core", "CM4"]),
            ("posix", 'load "/maps/my chip.svd"', ["load", "/maps/my chip.svd"]),
            ("posix", r"load /maps/my\ chip.svd", ["load", "/maps/my chip.svd"]),
            ("nt", r"load C:\maps\chip.svd", ["load", r"C:\maps\chip.svd"]),
            ("nt", r'load "C:\Users\Jörg\Документы\my chip.svd"', ["load", r"C:\Users\Jörg\Документы\my chip.svd"]),
            ("nt", r"load 'C:\maps\chip.svd' --core CM7", ["load", r"C:\maps\chip.svd", "--core", "CM7"]),
            ("nt", "", []),
        ]
        for system, typed, words in cases:
            with self.subTest(system=system, typed=typed):
                self.assertEqual(support.split_words(typed, system), words)

    def test_an_open_quote_is_refused(self):
        for system in ("posix", "nt"):
            with self.subTest(system=system), self.assertRaises(ValueError):
                support.split_words("load 'chip.svd", system)


if __name__ == "__main__":
    unittest.main()
