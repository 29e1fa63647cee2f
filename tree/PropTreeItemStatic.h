// SPDX-License-Identifier: MIT
#pragma once
// A read-only row whose item value is a text it shows.
#include "tree/PropTreeItemText.h"

class CPropTreeItemStatic : public CPropTreeItemText<CPropTreeItemStatic, PropRowKind::Static> {};
