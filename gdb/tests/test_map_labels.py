# SPDX-License-Identifier: MIT
"""The label paths completion offers, taken from what `tavlin --dump` prints."""

import unittest

from tests.remote_client import support

DUMP = """chip.svd: 2 register sets, 3 registers, 2 fields
set GPIOA @0x40020000 General-purpose I/O
  register MODER @0x40020000 = 0xa8000000
    field MODER0 [1:0]
  register ODR @0x40020014
set SCB
  set FP
    register FPCCR @0xe000ef34
  register CPUID @0xe000ed00 read-only
"""


class LabelPathsTest(unittest.TestCase):
    def test_paths(self):
        cases = [
            (DUMP, ["GPIOA", "GPIOA.MODER", "GPIOA.ODR", "SCB", "SCB.FP", "SCB.FP.FPCCR", "SCB.CPUID"]),
            ("", []),
            ("set\nregister\nfield X [0]\n", []),
            ("set A\n  register B\nset C\n      register D\n", ["A", "A.B", "C", "C.D"]),
            ("set A\r\n  register B\r\n", ["A", "A.B"]),
        ]
        for text, paths in cases:
            with self.subTest(text=text):
                self.assertEqual(support.label_paths_of_dump(text), paths)


if __name__ == "__main__":
    unittest.main()
