# SPDX-License-Identifier: MIT
"""The CMSIS-SVD output of gen_definitions.py: a made-up device shaped like the register maps
chip vendors publish, for the SVD loader's benchmarks.

Counts are after expansion, as the SVD loader builds rows: an array of four registers is four
registers, a derived peripheral has as many registers and fields as the one it copies, and a
register without fields counts as one field (it gets one edit row).

Shape of the file:
  - a device with a cpu block and register properties (32 bits, read-write, reset value 0,
    reset mask all ones) inherited by every register that does not give its own;
  - peripherals of 2 to 60 registers (about 12 on average, before expansion), each with an
    addressBlock, and an interrupt or two for most; one in ten is a 16-bit and one in thirty
    an 8-bit peripheral (its size given at peripheral level); one in thirty is an array of 2
    to 4 peripherals (NAME[%s]);
  - a fifth of the peripherals are derived (derivedFrom) from an earlier one, with their own
    base address and interrupts;
  - registers hold 1 to 32 fields (fewer when narrower), weighted towards few (about 9 on
    average before the width limits them), laid out low to high with reserved gaps; a quarter
    of the registers have no fields; one in twenty of the rest is one field repeated by dim
    across the register (CH%s flags); one in twenty registers of a 32-bit peripheral is 8 or
    16 bits wide (its size given at register level);
  - one in six registers is a dim array of 2 to 16, named NAME[%s], NAME_%s with a dimIndex
    range (0-3) or NAME_%s with a dimIndex list (A,B,C);
  - one in five peripherals has a cluster array of 2 to 8 channels (CH[%s]) of 2 to 8
    registers, and one in five of those clusters holds a nested cluster;
  - a field's bits as bitOffset/bitWidth, bitRange [msb:lsb] or lsb/msb, by peripheral (the
    way vendors keep to one form), in proportions 13 : 5 : 2;
  - a third of the fields have enumeratedValues of 2 to 16 values (no more than the field's
    width allows, about half 2 to 4), each with a description;
  - reset values: zero for most registers, random bits for a third; access read-only or
    write-only for a few registers and fields;
  - descriptions of English-like words, most on one line, some wrapped over indented lines or
    starting on a line of their own, now and then with an entity (&lt;), as vendor files are.

With seed 1, 35 000 fields come out as about 4.1 MB, 150 peripherals and 5 200 registers.
"""

from gen_words import CHOICE_COUNTS, CHOICE_WEIGHTS, CHOICE_WORDS, NAME_PARTS, field_name, sentence

PERIPHERAL_KINDS = (
    "ADC DAC TIM LPTIM UART USART SPI I2C I2S GPIO DMA RTC WDT CRC USB CAN ETH PWM QSPI SDIO "
    "LCD AES RNG COMP OPAMP EXTI PWR RCC FLASH SYSCFG DBG SAI DCMI FMC"
).split()

FIELD_COUNTS = list(range(1, 33))
FIELD_WEIGHTS = [k ** -0.85 for k in FIELD_COUNTS]
BIT_FORMS = ("offset", "range", "lsbmsb")
BIT_FORM_WEIGHTS = (13, 5, 2)


def description(rng, low, high, indent):
    """A description as vendor files write them: mostly one line, some wrapped or set apart."""
    text = sentence(rng, low, high)
    roll = rng.random()
    if roll < 0.02:
        text += " (a &lt; b)"
    if roll < 0.7:
        return text
    if roll < 0.9:
        return text + "\n" + indent + "  " + sentence(rng, low, high)
    return "\n" + indent + "  " + text + "\n" + indent


class Counts:
    """Rows the SVD loader builds from what has been written, after expansion."""

    def __init__(self, peripherals=0, registers=0, fields=0):
        self.peripherals = peripherals
        self.registers = registers
        self.fields = fields

    def add(self, other, times=1):
        self.peripherals += other.peripherals * times
        self.registers += other.registers * times
        self.fields += other.fields * times


def bit_position(form, low, high):
    if form == "offset":
        return "<bitOffset>%d</bitOffset><bitWidth>%d</bitWidth>" % (low, high - low + 1)
    if form == "range":
        return "<bitRange>[%d:%d]</bitRange>" % (high, low)
    return "<lsb>%d</lsb><msb>%d</msb>" % (low, high)


def write_enumerated_values(out, rng, width, indent):
    n = min(rng.choices(CHOICE_COUNTS, CHOICE_WEIGHTS)[0], 1 << width)
    values = sorted(rng.sample(range(1 << min(width, 20)), n))
    out.append(indent + "<enumeratedValues>\n")
    for name, value in zip(rng.sample(CHOICE_WORDS, n), values):
        out.append("%s  <enumeratedValue>\n%s    <name>%s</name>\n%s    <description>%s</description>\n"
                   "%s    <value>%d</value>\n%s  </enumeratedValue>\n"
                   % (indent, indent, name, indent, sentence(rng, 3, 20), indent, value, indent))
    out.append(indent + "</enumeratedValues>\n")


def write_field(out, rng, name, low, high, form, indent, dim=None):
    out.append(indent + "<field>\n")
    inner = indent + "  "
    if dim:
        out.append("%s<dim>%d</dim>\n%s<dimIncrement>%d</dimIncrement>\n" % (inner, dim, inner, high - low + 1))
    out.append("%s<name>%s</name>\n%s<description>%s</description>\n%s%s\n"
               % (inner, name, inner, description(rng, 10, 50, inner), inner, bit_position(form, low, high)))
    roll = rng.random()
    if roll < 0.03:
        out.append(inner + "<access>read-only</access>\n")
    elif roll < 0.05:
        out.append(inner + "<access>write-only</access>\n")
    if rng.random() < 1.0 / 3.0:
        write_enumerated_values(out, rng, high - low + 1, inner)
    out.append(indent + "</field>\n")


def write_fields(out, rng, width, form, indent):
    """The fields of one register; returns how many rows they expand to (at least 1)."""
    if rng.random() < 0.25:
        return 1
    count = min(rng.choices(FIELD_COUNTS, FIELD_WEIGHTS)[0], width)
    out.append(indent + "<fields>\n")
    inner = indent + "  "
    if count > 1 and width % count == 0 and rng.random() < 0.05:
        # One flag or small field per channel, repeated across the register.
        write_field(out, rng, "CH%s", 0, width // count - 1, form, inner, dim=count)
    else:
        segments = min(width, count + rng.randint(0, count))
        cuts = sorted(rng.sample(range(1, width), segments - 1)) if segments > 1 else []
        bounds = [0] + cuts + [width]
        names = set()
        for segment in sorted(rng.sample(range(segments), count)):
            name = field_name(rng)
            while name in names:
                name += "X"
            names.add(name)
            write_field(out, rng, name, bounds[segment], bounds[segment + 1] - 1, form, inner)
    out.append(indent + "</fields>\n")
    return count


def write_register(out, rng, index, offset, width, form, indent):
    """One register, perhaps a dim array; returns (its counts, the bytes of address it takes)."""
    base = "%s%d" % (rng.choice(NAME_PARTS), index)
    dim = rng.randint(2, 16) if rng.random() < 1.0 / 6.0 else 0
    size = width
    if width == 32 and rng.random() < 0.05:
        size = rng.choice((8, 16))
    step = max(4, size // 8)
    out.append(indent + "<register>\n")
    inner = indent + "  "
    name = base
    if dim:
        out.append("%s<dim>%d</dim>\n%s<dimIncrement>0x%X</dimIncrement>\n" % (inner, dim, inner, step))
        style = rng.random()
        if style < 0.5:
            name = base + "[%s]"
        elif style < 0.8 or dim > 26:
            out.append("%s<dimIndex>0-%d</dimIndex>\n" % (inner, dim - 1))
            name = base + "_%s"
        else:
            out.append("%s<dimIndex>%s</dimIndex>\n" % (inner, ",".join(chr(ord("A") + i) for i in range(dim))))
            name = base + "_%s"
    out.append("%s<name>%s</name>\n%s<description>%s</description>\n%s<addressOffset>0x%X</addressOffset>\n"
               % (inner, name, inner, description(rng, 15, 80, inner), inner, offset))
    if size != width:
        out.append("%s<size>%d</size>\n" % (inner, size))
    roll = rng.random()
    if roll < 0.10:
        out.append(inner + "<access>read-only</access>\n")
    elif roll < 0.15:
        out.append(inner + "<access>write-only</access>\n")
    if rng.random() < 1.0 / 3.0:
        out.append("%s<resetValue>0x%0*X</resetValue>\n" % (inner, size // 4, rng.getrandbits(size)))
    fields = write_fields(out, rng, size, form, inner)
    out.append(indent + "</register>\n")
    times = dim or 1
    return Counts(0, times, fields * times), step * times


def write_cluster(out, rng, index, offset, width, form, indent, nested):
    """A cluster array of channels (or, nested, a single cluster); returns (counts, bytes)."""
    dim = 0 if nested else rng.randint(2, 8)
    out.append(indent + "<cluster>\n")
    inner = indent + "  "
    registers = []
    counts = Counts()
    cursor = 0
    for i in range(rng.randint(2, 4) if nested else rng.randint(2, 8)):
        part = []
        register_counts, taken = write_register(part, rng, i, cursor, width, form, inner)
        registers.append(part)
        counts.add(register_counts)
        cursor += taken
    if not nested and rng.random() < 0.2:
        part = []
        cluster_counts, taken = write_cluster(part, rng, index, cursor, width, form, inner, True)
        registers.append(part)
        counts.add(cluster_counts)
        cursor += taken
    span = (cursor + 15) // 16 * 16
    if dim:
        out.append("%s<dim>%d</dim>\n%s<dimIncrement>0x%X</dimIncrement>\n" % (inner, dim, inner, span))
    name = "SUB%d" % index if nested else "CH%d[%%s]" % index
    out.append("%s<name>%s</name>\n%s<description>%s</description>\n%s<addressOffset>0x%X</addressOffset>\n"
               % (inner, name, inner, description(rng, 20, 80, inner), inner, offset))
    for part in registers:
        out.extend(part)
    out.append(indent + "</cluster>\n")
    times = dim or 1
    result = Counts()
    result.add(counts, times)
    return result, span * times


class Device:
    """Writes peripherals one after another, keeping what later ones may derive from."""

    def __init__(self, rng):
        self.rng = rng
        self.bases = []  # (name, counts) of peripherals a later one may derive from
        self.serial = {}
        self.address = 0x40000000
        self.interrupt = 0
        self.counts = Counts()

    def next_name(self, kind):
        self.serial[kind] = self.serial.get(kind, -1) + 1
        return "%s%d" % (kind, self.serial[kind])

    def interrupts(self, out, name):
        rng = self.rng
        for i in range(rng.choice((0, 1, 1, 1, 2))):
            out.append("      <interrupt>\n        <name>%s_IRQ%d</name>\n        <description>%s</description>\n"
                       "        <value>%d</value>\n      </interrupt>\n"
                       % (name, i, sentence(rng, 10, 40), self.interrupt))
            self.interrupt += 1

    def write_peripheral(self, stream):
        rng = self.rng
        out = []
        self.address += 0x400
        if self.bases and rng.random() < 0.2:
            base_name, base_counts = rng.choice(self.bases)
            name = self.next_name(base_name.rstrip("0123456789"))
            out.append('    <peripheral derivedFrom="%s">\n      <name>%s</name>\n'
                       '      <baseAddress>0x%08X</baseAddress>\n' % (base_name, name, self.address))
            self.interrupts(out, name)
            out.append("    </peripheral>\n")
            stream.write("".join(out))
            self.counts.add(base_counts)
            return
        kind = rng.choice(PERIPHERAL_KINDS)
        roll = rng.random()
        width = 16 if roll < 0.1 else 8 if roll < 0.133 else 32
        form = rng.choices(BIT_FORMS, BIT_FORM_WEIGHTS)[0]
        dim = rng.randint(2, 4) if rng.random() < 1.0 / 30.0 else 0
        name = self.next_name(kind)
        body = []
        counts = Counts(1, 0, 0)
        cursor = 0
        count = min(60, max(2, int(rng.expovariate(1.0 / 12.0))))
        cluster_at = rng.randrange(count) if rng.random() < 1.0 / 5.0 else -1
        for index in range(count):
            if index == cluster_at:
                part_counts, taken = write_cluster(body, rng, index, cursor, width, form, "        ", False)
            else:
                part_counts, taken = write_register(body, rng, index, cursor, width, form, "        ")
            counts.add(part_counts)
            cursor += taken
        out.append("    <peripheral>\n")
        if dim:
            out.append("      <dim>%d</dim>\n      <dimIncrement>0x400</dimIncrement>\n" % dim)
            name = kind + "X%d[%%s]" % self.serial[kind]
        out.append("      <name>%s</name>\n      <description>%s</description>\n"
                   "      <groupName>%s</groupName>\n      <baseAddress>0x%08X</baseAddress>\n"
                   % (name, description(rng, 20, 80, "      "), kind, self.address))
        if width != 32:
            out.append("      <size>%d</size>\n      <resetMask>0x%X</resetMask>\n" % (width, (1 << width) - 1))
        out.append("      <addressBlock>\n        <offset>0x0</offset>\n        <size>0x%X</size>\n"
                   "        <usage>registers</usage>\n      </addressBlock>\n" % max(0x400, (cursor + 0x3FF) // 0x400 * 0x400))
        self.interrupts(out, name.replace("[%s]", ""))
        out.append("      <registers>\n")
        out.extend(body)
        out.append("      </registers>\n    </peripheral>\n")
        stream.write("".join(out))
        if dim:
            self.address += 0x400 * dim
            self.counts.add(counts, dim)
        else:
            self.bases.append((name, counts))
            self.counts.add(counts)


HEADER = """<?xml version="1.0" encoding="utf-8"?>
<!-- A made-up device written by tavlin's bench/gen_definitions.py for the benchmarks. -->
<device schemaVersion="1.3" xmlns:xs="http://www.w3.org/2001/XMLSchema-instance" xs:noNamespaceSchemaLocation="CMSIS-SVD.xsd">
  <vendor>tavlin benchmarks</vendor>
  <name>TAVBENCH</name>
  <version>1.0</version>
  <description>Generated for the SVD loader benchmarks, %d fields after expansion.</description>
  <cpu>
    <name>CM4</name>
    <revision>r0p1</revision>
    <endian>little</endian>
    <mpuPresent>true</mpuPresent>
    <fpuPresent>true</fpuPresent>
    <nvicPrioBits>4</nvicPrioBits>
    <vendorSystickConfig>false</vendorSystickConfig>
  </cpu>
  <addressUnitBits>8</addressUnitBits>
  <width>32</width>
  <size>32</size>
  <access>read-write</access>
  <resetValue>0x00000000</resetValue>
  <resetMask>0xFFFFFFFF</resetMask>
  <peripherals>
"""


def generate_svd(fields, rng, stream):
    """Writes peripherals until they expand to at least `fields` fields; returns the counts."""
    stream.write(HEADER % fields)
    device = Device(rng)
    while device.counts.fields < fields:
        device.write_peripheral(stream)
    stream.write("  </peripherals>\n</device>\n")
    return device.counts
