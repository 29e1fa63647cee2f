// SPDX-License-Identifier: MIT
#pragma once
// A minimised window's face: its background erased and its icon drawn in the middle.
#include "framework/AfxTypes.h"

class CWidgetWnd;

void PaintMinimisedIcon(CWidgetWnd& wnd, IconHandle icon);
