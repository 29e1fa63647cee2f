// SPDX-License-Identifier: MIT
#pragma once
// Reads a pack description (.pdsc, the CMSIS-Pack XML) from memory: the
// package's vendor, name and newest release, and its devices with each
// processor's core and SVD file, inherited from family, subFamily, device
// and variant, the nearest level first.
#include <string_view>

#include "packs/PackDescription.h"
#include "problem/Result.h"

// kBadPackDescription when the text is not well-formed XML or holds no <package>.
Result<PackDescription> ReadPdscText(std::string_view text);
