// SPDX-License-Identifier: MIT
#pragma once
// What the SVD expansion hands on: plain records of the peripheral, register
// and field instances a device stands for once derivedFrom, inherited register
// properties, dim arrays and lists and clusters are resolved, in file order,
// and the problems found on the way. The texts are views into the parsed
// document or the expansion's own buffers, valid while the callback runs.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "problem/Problem.h"
#include "defs/SvdElement.h"

// Where in the file an element stands; the line is counted only when asked for.
struct SvdPlace {
    const SvdLines* lines = nullptr;
    pugi::xml_node element;  // its offset in the text is found only when asked for, as it walks up the document

    int Line() const { return lines && element ? lines->LineOf(element.offset_debug()) : 0; }
};

// One instance of a peripheral: a register set.
struct SvdPeripheralRecord {
    std::string_view name;         // the instance's name, dim applied
    std::string_view description;  // as one line: runs of white space made one space
    std::uint64_t baseAddress = 0;
    // What a CMSIS device header names it by (defs/HeaderNameTable.h): the
    // instance's prefix (the device's headerDefinitionsPrefix), the start of
    // its macros (its headerStructName, else its name, or its base's where it
    // is derived without a layout of its own), and what its registers'
    // member names are given before and after.
    std::string_view cInstancePrefix;
    std::string_view cMacro;
    std::string_view prependToName;
    std::string_view appendToName;
    // Whether the set is one of tavlin's core maps, whose registers the
    // core's CMSIS-Core header names (defs/CoreHeaderNames.h).
    bool core = false;
    SvdPlace place;
};

// One instance of a register, inside the last peripheral handed on.
struct SvdRegisterRecord {
    std::string_view label;  // the enclosing cluster instances' names, each with a '.', then its own: "CH[0].CTRL"
    std::uint64_t address = 0;  // absolute
    std::uint64_t offset = 0;   // from the peripheral instance's base address
    int bits = 32;              // 1..64
    std::string_view access;    // as the file writes it, inherited; empty when no level gives one
    std::uint64_t resetValue = 0;  // inherited, cut to `bits`
    std::string_view description;  // as one line
    std::string_view readAction;           // empty when absent
    std::string_view modifiedWriteValues;  // empty when absent
    // Whether the register has field elements (sound or not); one without
    // any composes as one field of all its bits.
    bool hasFields = false;
    // Registers handed on with the same layout (never 0) are followed by
    // the same field records, and have the same size, access, reset value
    // and description: instances of one register element, read once.
    std::uint64_t layout = 0;
    // The start of its field macros in a CMSIS device header: the peripheral's,
    // the clusters' and its own names joined by '_' ("DMA0_CH_CTRL").
    std::string_view cMacro;
    SvdPlace place;
};

// A named value of a field, from its enumeratedValues.
struct SvdNamedValueRecord {
    std::string_view name;
    std::string_view description;  // as one line; empty when absent
    std::uint64_t value = 0;       // don't-care bits read as 0
};

// One instance of a field, of the last register handed on.
struct SvdFieldRecord {
    std::string_view name;  // the instance's name, dim applied
    int lsb = 0;            // lsb <= msb < the register's bits
    int msb = 0;
    std::string_view access;       // the field's own, else the register's
    std::string_view description;  // as one line
    std::span<const SvdNamedValueRecord> values;  // in file order
    // The names of isDefault entries ("any other value").
    std::span<const std::string_view> otherValues;
    // Where the field names what a read gives apart from what a write does
    // (an enumeratedValues of usage read beside one for writing): the read
    // names and their isDefault names; `values` are then the write names.
    std::span<const SvdNamedValueRecord> readValues;
    std::span<const std::string_view> readOtherValues;
    std::string_view readAction;           // the field's own; empty when absent
    std::string_view modifiedWriteValues;  // the field's own; empty when absent
    SvdPlace place;
};

// An element left out, or a limit that stopped an expansion.
struct SvdProblemRecord {
    SvdPlace place;
    const SvdPath* path = nullptr;  // the element's place by names; Text() makes it one string
    ProblemCode code = ProblemCode::kBadValue;
    std::string_view text;
};

// Takes the records of one expansion.
class SvdRecordSink {
public:
    virtual void Peripheral(const SvdPeripheralRecord& peripheral) = 0;
    virtual void Register(const SvdRegisterRecord& reg) = 0;
    virtual void Field(const SvdFieldRecord& field) = 0;
    virtual void Problem(const SvdProblemRecord& problem) = 0;
    // Called after a register whose layout was handed on before, when its
    // `fields` field records (those of the first register of the layout,
    // which are the same) cannot meet a limit: a sink that makes what they
    // would make at once, from what it made for that first register, returns
    // true and is not handed them. By default it takes them one by one.
    virtual bool FieldsAlike(const SvdRegisterRecord& reg, std::uint64_t fields) {
        (void)reg;
        (void)fields;
        return false;
    }

protected:
    ~SvdRecordSink() = default;
};
