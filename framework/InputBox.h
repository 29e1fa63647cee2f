// SPDX-License-Identifier: MIT
#pragma once
// Asks the user for one line of text in a modal box. The box is drawn by the
// windowing layer, which installs the asker; tests install their own so
// that nothing waits for a person.
#include <functional>
#include <optional>
#include <string>

using InputBoxAsker = std::function<std::optional<std::string>(const std::string& prompt, const std::string& text)>;

// The text the user gave, starting from `text`; nothing for Cancel (and when no asker is installed).
std::optional<std::string> AfxInputBox(const std::string& prompt, const std::string& text = {});

// Installs `asker` and returns the one it replaces.
InputBoxAsker AfxSetInputBoxAsker(InputBoxAsker asker);
