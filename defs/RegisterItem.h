// SPDX-License-Identifier: MIT
#pragma once
// The register row: shows the register's value text from the file and knows
// the register's width, which decides how many hex digits its value takes.
#include "tree/PropTreeItemStatic.h"

class CRegisterItem : public CPropTreeItemStatic {
public:
    int m_nBits = 64;
};
