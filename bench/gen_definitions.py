#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes a register definitions file or an SVD file of a given number of fields, for the benchmarks.

The output is deterministic for a given --format, --fields and --seed. A definitions file is
also well-formed XML, so an XML parser can read the same bytes for comparison ('#' comment lines
sit between elements, where an XML parser sees them as text). With --format svd the file is a
CMSIS-SVD device description instead, shaped as gen_svd.py describes; --fields then counts the
fields after expansion, reached approximately, and the real counts are printed. --profile vendor
is an SVD file the size of a large vendor file: about 4 MB, 150 peripherals, 5 500 registers
and 35 000 fields after expansion.

Shape of the file:
  - register sets of 4 to 40 registers each;
  - registers 8, 16, 32 or 64 bits wide, holding 1 to 32 fields (fewer when the register is
    too narrow); fields are packed low to high without overlap, except now and then (1 in 50)
    where a field reuses bits of the one before it, as real register maps sometimes do;
  - a third of the fields are drop-downs ("combo") with 2 to 16 choices, the counts skewed
    towards small lists (about half have 2 to 4) the way real enumerations are;
  - descriptions of 30 to 120 characters of English-like words;
  - a '#' comment line before about one register in eight.

Usage: gen_definitions.py [--format definitions|svd] --fields N [--seed S] [-o FILE]
       gen_definitions.py --profile vendor [--seed S] [-o FILE]
"""

import argparse
import os
import random
import sys

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__ when importing the modules below
from gen_svd import generate_svd  # noqa: E402
from gen_words import CHOICE_COUNTS, CHOICE_WEIGHTS, CHOICE_WORDS, NAME_PARTS, field_name, sentence  # noqa: E402

# Fields after expansion of the vendor-sized SVD file.
VENDOR_FIELDS = 35000

WIDTHS = (8, 16, 32, 32, 32, 64)


def write_register(out, rng, reg_index, fields_left):
    width = rng.choice(WIDTHS)
    count = min(rng.randint(1, 32), width, fields_left)
    value = "0x%0*X" % (width // 4, rng.getrandbits(width))
    out.append('  <register name="R%d_%s" bits="%d" value="%s" info="%s">\n'
               % (reg_index, rng.choice(NAME_PARTS), width, value, sentence(rng, 30, 120)))
    # Split the width into `count` adjacent spans.
    cuts = sorted(rng.sample(range(1, width), count - 1)) if count > 1 else []
    bounds = [0] + cuts + [width]
    for i in range(count):
        low, high = bounds[i], bounds[i + 1] - 1
        if i > 0 and rng.random() < 0.02:
            low = max(0, low - 1)  # an occasional overlap with the field before
        combo = rng.random() < 1.0 / 3.0
        kind = "combo" if combo else "edit"
        out.append('    <field name="%s" kind="%s" info="%s" low="%d" high="%d">\n'
                   % (field_name(rng), kind, sentence(rng, 30, 120), low, high))
        if combo:
            n = rng.choices(CHOICE_COUNTS, CHOICE_WEIGHTS)[0]
            limit = (1 << min(high - low + 1, 31)) - 1
            for label in rng.sample(CHOICE_WORDS, n):
                out.append('      <select name="%s" value="%d"/>\n' % (label, rng.randint(0, limit)))
        out.append("    </field>\n")
    out.append("  </register>\n")
    return count


def generate(fields, seed, stream):
    rng = random.Random(seed)
    stream.write("<tavlin>\n")
    written = 0
    reg_index = 0
    set_index = 0
    while written < fields:
        out = ['<regset name="SET%d" info="%s">\n' % (set_index, sentence(rng, 30, 120))]
        for _ in range(rng.randint(4, 40)):
            if written >= fields:
                break
            if rng.random() < 0.125:
                out.append("  # %s\n" % sentence(rng, 20, 80))
            written += write_register(out, rng, reg_index, fields - written)
            reg_index += 1
        out.append("</regset>\n")
        stream.write("".join(out))
        set_index += 1
    stream.write("</tavlin>\n")


def write(args, stream):
    if args.format == "definitions":
        generate(args.fields, args.seed, stream)
        return
    counts = generate_svd(args.fields, random.Random(args.seed), stream)
    print("%s: %d peripherals, %d registers, %d fields after expansion"
          % (args.output, counts.peripherals, counts.registers, counts.fields), file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--format", choices=("definitions", "svd"), default="definitions")
    parser.add_argument("--fields", type=int)
    parser.add_argument("--profile", choices=("vendor",))
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("-o", "--output", default="-")
    args = parser.parse_args()
    if args.profile == "vendor":
        args.format = "svd"
        args.fields = args.fields or VENDOR_FIELDS
    if args.fields is None:
        parser.error("--fields or --profile is needed")
    if args.output == "-":
        write(args, sys.stdout)
    else:
        # Written under a temporary name so an interrupted run leaves no partial file behind.
        temporary = args.output + ".part"
        with open(temporary, "w", encoding="ascii", newline="\n") as stream:
            write(args, stream)
        os.replace(temporary, args.output)


if __name__ == "__main__":
    main()
