#!/usr/bin/env python3
"""Writes a register definitions file of a given number of fields, for the benchmarks.

The output is deterministic for a given --fields and --seed. It is also well-formed XML, so
an XML parser can read the same bytes for comparison ('#' comment lines sit between elements,
where an XML parser sees them as text).

Shape of the file:
  - register sets of 4 to 40 registers each;
  - registers 8, 16, 32 or 64 bits wide, holding 1 to 32 fields (fewer when the register is
    too narrow); fields are packed low to high without overlap, except now and then (1 in 50)
    where a field reuses bits of the one before it, as real register maps sometimes do;
  - a third of the fields are drop-downs ("combo") with 2 to 16 choices, the counts skewed
    towards small lists (about half have 2 to 4) the way real enumerations are;
  - descriptions of 30 to 120 characters of English-like words;
  - a '#' comment line before about one register in eight.

Usage: gen_definitions.py --fields N [--seed S] [-o FILE]
"""

import argparse
import os
import random
import sys

WORDS = (
    "the a of to and in is for on that by this with from be at as or are when it set clear "
    "enable disable mode control status interrupt register value counter timer channel data "
    "buffer transfer receive transmit clock divider prescaler select source reset flag mask "
    "pending level edge trigger polarity output input pin port bus master slave address "
    "offset length width priority request acknowledge error overflow underflow ready busy "
    "idle active power low high fast slow internal external bit field write read only "
    "cleared hardware software after before each cycle period frequency sample threshold"
).split()

NAME_PARTS = (
    "EN MODE SEL CLK DIV PRE IRQ IE IF ST CTRL CFG DATA ADDR CNT TOP CMP OVF UDF RDY BSY "
    "ERR ACK REQ DMA TX RX PIN PORT LVL EDGE POL OUT IN SRC DST LEN WID PRI RST FLG MSK"
).split()

CHOICE_WORDS = (
    "Off On Slow Fast Low High None Auto Manual Rising Falling Both Disabled Enabled Normal "
    "Inverted Idle Run Stop Pause Single Continuous Div1 Div2 Div4 Div8 Div16 Div32 Div64 "
    "Internal External Master Slave Read Write Byte Half Word Double Even Odd Mark Space"
).split()

WIDTHS = (8, 16, 32, 32, 32, 64)
# Choice counts 2..16, about half of them 2..4.
CHOICE_COUNTS = list(range(2, 17))
CHOICE_WEIGHTS = [12, 10, 8, 4, 4, 3, 3, 2, 2, 1, 1, 1, 1, 1, 3]


def sentence(rng, low, high):
    """English-like words making up about low..high characters, first letter capitalised."""
    target = rng.randint(low, high)
    words = [rng.choice(WORDS)]
    length = len(words[0])
    while True:
        word = rng.choice(WORDS)
        if length + 1 + len(word) > target:
            break
        words.append(word)
        length += 1 + len(word)
    text = " ".join(words)
    return text[0].upper() + text[1:]


def field_name(rng):
    parts = rng.sample(NAME_PARTS, rng.randint(1, 2))
    name = "_".join(parts)
    if rng.random() < 0.3:
        name += str(rng.randint(0, 15))
    return name


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fields", type=int, required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("-o", "--output", default="-")
    args = parser.parse_args()
    if args.output == "-":
        generate(args.fields, args.seed, sys.stdout)
    else:
        # Written under a temporary name so an interrupted run leaves no partial file behind.
        temporary = args.output + ".part"
        with open(temporary, "w", encoding="ascii", newline="\n") as stream:
            generate(args.fields, args.seed, stream)
        os.replace(temporary, args.output)


if __name__ == "__main__":
    main()
