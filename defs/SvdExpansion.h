// SPDX-License-Identifier: MIT
#pragma once
// The SVD expansion: one walk over the parsed device that resolves
// derivedFrom, passes register properties (size, access, resetValue) down,
// expands dim arrays and lists and clusters, and reads bit ranges and named
// values, handing each peripheral, register and field instance on as a
// record. It builds no rows: a sink does (defs/SvdRowWriter.h), or a test.
#include <cstddef>
#include <cstdint>

#include <pugixml.hpp>

#include "defs/SvdElement.h"
#include "defs/SvdRecords.h"

struct SvdExpansionLimits {
    // Instances (peripherals, clusters, registers, fields, a register's own
    // field when it has none) beyond this many stop the walk with a problem.
    std::uint64_t maxRows = 0;
    // Clusters nested deeper than this are refused with a problem.
    int maxClusterDepth = 0;
    // Problems beyond this many stop the walk with one problem more.
    std::size_t maxProblems = 0;
};

// Expands `device`, the document's <device> element, into `sink`, in file order.
void ExpandSvdDevice(pugi::xml_node device, const SvdLines& lines, SvdRecordSink& sink,
                     const SvdExpansionLimits& limits);
