// SPDX-License-Identifier: MIT
#pragma once
// Gives registers their values from what a values text or a raw image laid
// into memory, and from values by name, without knowing the map: the caller
// hands in where its registers lie (RegisterLayout) and takes back a value
// for each register id all of whose bytes were given.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "bits/ByteOrder.h"
#include "values/MemoryImage.h"
#include "values/RegisterLayout.h"
#include "values/ValueRecords.h"
#include "values/ValuesProblems.h"

struct GivenValue {
    std::size_t id = 0;
    std::uint64_t value = 0;
};

// Values that fell on no register: a dump runs over the gaps between them.
struct OffMapValues {
    std::uint64_t count = 0;
    std::uint64_t first = 0;  // the lowest address among them, when count > 0
};

struct AppliedValues {
    // Registers all of whose bytes were given, by address; then those given
    // by name alone, in the text's order. One entry a register.
    std::vector<GivenValue> given;
    std::vector<std::size_t> partlyGiven;  // ids of registers only some of whose bytes were given, by address
    OffMapValues offMap;
};

// Finds a register by its label path; its address is not used.
using FindRegister = std::function<std::optional<RegisterSpan>(std::string_view name)>;

class ValuesApplier {
public:
    ValuesApplier(const RegisterLayout& layout, ByteOrder order) : m_layout(layout), m_order(order) {}

    // Lays values read by address into `image`, each by its unit. A value of
    // unit 0 takes the size of the register starting at its address (a problem
    // at its line when it is wider than that register); where no register
    // starts, the smallest unit holding its digits.
    void Lay(MemoryImage& image, const std::vector<AddressedValue>& values, ProblemList& problems) const;

    // The registers' values from `image`, the ones partly given, and the
    // values laid in that touch no register (each byte of a raw image counting as one).
    AppliedValues Apply(const MemoryImage& image) const;

    // Values by name, over what `Apply` gave: a named register takes its value
    // (and is no longer partly given). A name `find` does not know, or a value
    // wider than its register, is a problem at its line and gives nothing.
    void ApplyNamed(const std::vector<NamedValue>& values, const FindRegister& find, AppliedValues& applied,
                    ProblemList& problems) const;

private:
    const RegisterLayout& m_layout;
    ByteOrder m_order;
};
