// SPDX-License-Identifier: MIT
#pragma once
// A row the user edits as text; its item value is its current text.
#include <string>

#include "tree/PropTreeItemText.h"

class CPropTreeItemEdit : public CPropTreeItemText<CPropTreeItemEdit, PropRowKind::Edit> {
public:
    std::string GetText() const { return GetValue(); }
};
