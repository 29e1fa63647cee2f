# SPDX-License-Identifier: MIT
"""What `tavlin load` chooses from its words, a map or an installed device,
and the arguments the later commands pass the program for it."""

import unittest

from tests.remote_client import support


class LoadChoiceTest(unittest.TestCase):
    def test_the_choice(self):
        cases = [
            # words, (map, device, core)
            (["chip.svd"], ("chip.svd", None, None)),
            (["chip.svd", "--core", "CM4"], ("chip.svd", None, "CM4")),
            (["--core", "CM4", "chip.svd"], ("chip.svd", None, "CM4")),
            (["--device", "STM32H743ZI"], (None, "STM32H743ZI", None)),
            (["--device", "STM32H745ZITx:CM4", "--core", "CM4"], (None, "STM32H745ZITx:CM4", "CM4")),
            (["--core", "CM7", "--device", "stm32h745zit6:cm7"], (None, "stm32h745zit6:cm7", "CM7")),
        ]
        for words, chosen in cases:
            with self.subTest(words=words):
                self.assertEqual(support.load_choice(words), chosen)

    def test_mistakes_are_told(self):
        cases = [
            ([], support.LOAD_USAGE),
            (["a.svd", "b.svd"], support.LOAD_USAGE),
            (["--device"], "tavlin: --device needs NAME[:PROCESSOR]"),
            (["--device", "--core", "CM4"], "tavlin: --device needs NAME[:PROCESSOR]"),
            (["chip.svd", "--core"], "tavlin: --core needs NAME"),
            (["chip.svd", "--device", "STM32H743ZI"], "tavlin: a MAP and --device go one at a time"),
            (["--frobnicate", "chip.svd"], support.LOAD_USAGE),
        ]
        for words, told in cases:
            with self.subTest(words=words), self.assertRaises(support.Problem) as raised:
                support.load_choice(words)
            self.assertEqual(str(raised.exception), told)

    def test_the_later_commands_name_the_map_or_the_device(self):
        cases = [
            # map, device, core, arguments
            ("/maps/chip.svd", None, None, ["/maps/chip.svd"]),
            ("/maps/chip.svd", None, "CM4", ["--core", "CM4", "/maps/chip.svd"]),
            (None, "STM32H743ZI", None, ["--device", "STM32H743ZI"]),
            (None, "STM32H745ZITx:CM4", "CM4", ["--core", "CM4", "--device", "STM32H745ZITx:CM4"]),
        ]
        for map_path, device, core, arguments in cases:
            with self.subTest(map=map_path, device=device, core=core):
                self.assertEqual(support.map_arguments(map_path, device, core), arguments)


if __name__ == "__main__":
    unittest.main()
