// SPDX-License-Identifier: MIT
#pragma once
// The Netduino Plus 2's map, loaded from the examples, with its registers found by path.
#include <string>

#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ExampleFiles.h"

struct BoardMap {
    CRegisterMap map;
    BoardMap() { LoadSvdText(map, ReadExampleFile("netduinoplus2.svd"), "netduinoplus2.svd"); }
    CRegisterItem* Register(const std::string& path) const {
        for (CRegisterItem* reg : map.Registers())
            if (RegisterPath(*reg) == path) return reg;
        return nullptr;
    }
};
