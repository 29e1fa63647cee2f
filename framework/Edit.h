#pragma once
// A single-line edit box. Every change of its text, typed or set by the
// program, raises EN_CHANGE to the dialog at once, inside the change.
#include "framework/Wnd.h"

class CEdit : public CWnd {};
