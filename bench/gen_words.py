# SPDX-License-Identifier: MIT
"""Words, names and sentences shared by the benchmark file generators."""

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

# Choice counts 2..16, about half of them 2..4, the way real enumerations are.
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
