// SPDX-License-Identifier: MIT
#pragma once
// The calculator over a loaded tree, as the fuzz targets drive it: every
// register composes as selecting it shows, and a number typed into the hex
// box (taken from the fuzz input) splits into the fields and composes back to
// exactly the typed bits the fields cover. A failed check aborts.
#include <cstddef>
#include <cstdint>

class CPropTree;
class CRegisterMap;

// Selects every register and its first field row in turn and types into the
// hex box with each focused; then selects each register set, which must
// empty both boxes. `data` and `size` are the fuzz input.
void CheckEveryRegisterComposes(CRegisterMap& map, const std::uint8_t* data, std::size_t size);
