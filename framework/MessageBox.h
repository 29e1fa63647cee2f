// SPDX-License-Identifier: MIT
#pragma once
// Modal message boxes. The box itself is drawn by the windowing layer, which
// installs a presenter; tests and the command-line check install their own so
// that nothing ever blocks on a box nobody can click.
#include <functional>
#include <string>

#include "framework/AfxTypes.h"

using MessageBoxPresenter = std::function<int(const std::string& text, UINT type)>;

// Shows `text` with style `type` and returns the button pressed (IDOK when no
// presenter is installed).
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Installs `presenter` and returns the one it replaces.
MessageBoxPresenter AfxSetMessageBoxPresenter(MessageBoxPresenter presenter);
