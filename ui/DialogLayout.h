// SPDX-License-Identifier: MIT
#pragma once
// The main window's layout: the tree over the whole client area but for a
// strip along the bottom, where the hex box and the decimal box share the
// width half and half.
#include "framework/AfxTypes.h"

class CEdit;
class CWnd;

void LayOutTreeAndBoxes(const RECT& client, CWnd& tree, CEdit& hexBox, CEdit& decimalBox);
