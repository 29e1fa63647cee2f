# SPDX-License-Identifier: MIT
"""The exception frame `tavlin fault` prints: the stack EXC_RETURN names, the
eight stacked words, and what is said when there is no frame to read."""

import struct
import unittest

from tests.remote_client import support

# R0 R1 R2 R3 R12 LR PC xPSR as the core stacks them.
WORDS = (0x10, 0x11, 0x12, 0x13, 0x1C, 0x0800_0123, 0x0800_0456, 0x2100_0003)
STACKED = struct.pack("<8I", *WORDS)
MSP, PSP = 0x2000_0FE0, 0x2000_07C0


class Target:
    """Registers and memory as GDB would give them."""

    def __init__(self, registers, memory=None, symbols=None):
        self.registers = registers
        self.memory = memory or {}
        self.symbols = symbols or {}

    def register(self, name):
        return self.registers.get(name)

    def read(self, address, length):
        if address not in self.memory:
            raise support.Problem("Cannot access memory at address 0x%x" % address)
        return self.memory[address][:length]

    def text(self):
        return support.exception_frame_text(self.register, self.read, self.symbols.get)


class ExceptionFrameTest(unittest.TestCase):
    def test_the_stack_exc_return_names(self):
        cases = [
            # LR, the stack read, its name in the heading
            (0xFFFFFFF9, MSP, "MSP"),
            (0xFFFFFFF1, MSP, "MSP"),
            (0xFFFFFFFD, PSP, "PSP"),
            (0xFFFFFFE9, MSP, "MSP"),  # with a floating-point frame
            (0xFFFFFFED, PSP, "PSP"),
            (0xFFFFFFE1, MSP, "MSP"),
        ]
        for lr, sp, name in cases:
            with self.subTest(lr=hex(lr)):
                target = Target({"lr": lr, "msp": MSP, "psp": PSP}, {sp: STACKED})
                self.assertTrue(target.text().startswith(
                    "Exception frame on %s at 0x%08x (EXC_RETURN 0x%08x):\n" % (name, sp, lr)))

    def test_the_words(self):
        target = Target({"lr": 0xFFFFFFF9, "msp": MSP}, {MSP: STACKED}, {0x0800_0456: "HardFault_Handler at main.c:12"})
        self.assertEqual(target.text(), (
            "Exception frame on MSP at 0x20000fe0 (EXC_RETURN 0xfffffff9):\n"
            "  R0 0x00000010  R1 0x00000011  R2 0x00000012  R3 0x00000013  R12 0x0000001c\n"
            "  faulting PC 0x08000456 in HardFault_Handler at main.c:12\n"
            "  LR 0x08000123\n"
            "  xPSR 0x21000003 (exception 3)\n"))

    def test_no_frame(self):
        cases = [
            ({"lr": 0x08000123}, "LR 0x08000123 is no EXC_RETURN"),
            ({"lr": 0xFFFFFFF8}, "LR 0xfffffff8 is no EXC_RETURN"),
            ({"lr": 0xFFFFFFFF}, "LR 0xffffffff is no EXC_RETURN"),
            ({}, "LR unknown is no EXC_RETURN"),
            ({"lr": 0xFFFFFFFD, "msp": MSP}, "GDB knows no $psp register"),
            ({"lr": 0xFFFFFFF9}, "GDB knows no $msp register"),
            ({"lr": 0xFFFFFFF9, "msp": 0x4}, "cannot read the stack at 0x00000004 (Cannot access memory"),
        ]
        for registers, said in cases:
            with self.subTest(registers=registers):
                text = Target(registers).text()
                self.assertTrue(text.startswith("No exception frame: "), text)
                self.assertIn(said, text)

    def test_sp_stands_for_a_missing_msp(self):
        target = Target({"lr": 0xFFFFFFF9, "sp": MSP}, {MSP: STACKED})
        self.assertIn("on MSP at 0x20000fe0", target.text())
        self.assertIn("faulting PC 0x08000456\n", target.text())


if __name__ == "__main__":
    unittest.main()
