// SPDX-License-Identifier: MIT
#pragma once
// What a pack's .pdsc tells of its devices: plain values.
#include <string>
#include <vector>

// One processor of a device: a single-core device has one, without a name.
struct PackProcessor {
    std::string name;  // Pname ("CM7"); empty for a single-core device
    std::string core;  // Dcore ("Cortex-M7"), inherited from the levels above
    std::string svd;   // the SVD file, relative to the pack's top with '/'; empty when none is named

    bool operator==(const PackProcessor&) const = default;
};

// One name a user may type: every <device> and every <variant> of the pdsc.
struct PackDevice {
    std::string name;       // Dname or Dvariant
    std::string vendor;     // Dvendor without its ":NN"
    std::string family;     // Dfamily
    std::string subFamily;  // DsubFamily; empty when the device is not in one
    std::vector<PackProcessor> processors;  // at least one

    bool operator==(const PackDevice&) const = default;
};

struct PackDescription {
    std::string vendor;   // <package><vendor>
    std::string name;     // <package><name>
    std::string version;  // the newest <release version>; empty when none is listed
    std::vector<PackDevice> devices;

    // "VENDOR.NAME", as packs are named.
    std::string PackName() const { return vendor + "." + name; }
    bool operator==(const PackDescription&) const = default;
};
