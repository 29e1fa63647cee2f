# SPDX-License-Identifier: MIT
"""The label paths completion offers, taken from what `tavlin --dump` prints."""

import unittest

from tests.remote_client import support

DUMP = """chip.svd: 2 register sets, 4 registers, 2 fields
set GPIOA "General-purpose I/O; base address 0x40020000"
  register MODER 32 bits value "0xa8000000" "Mode; address 0x40020000, offset 0x0, read-write"
    field MODER0 0..1 edit "0x0" "Pin 0; read-write"
  register ODR 32 bits value "0x00000000" "Output data; address 0x40020014, offset 0x14, read-write"
set SCB "System control block"
  set FP "Floating point"
    register FPCCR 32 bits value "0xc0000000" "FP context control; read-write"
      field ASPEN 31..31 edit "0x1" "Automatic state preservation; read-write"
  register CPUID 32 bits value "0x410fc241" "CPU identification; read-only"
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
