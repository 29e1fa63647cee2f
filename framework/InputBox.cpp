// SPDX-License-Identifier: MIT
#include "framework/InputBox.h"

#include <utility>

namespace {
InputBoxAsker& InstalledAsker() {
    static InputBoxAsker asker;
    return asker;
}
}  // namespace

std::optional<std::string> AfxInputBox(const std::string& prompt, const std::string& text) {
    if (const InputBoxAsker& asker = InstalledAsker()) return asker(prompt, text);
    return std::nullopt;
}

InputBoxAsker AfxSetInputBoxAsker(InputBoxAsker asker) { return std::exchange(InstalledAsker(), std::move(asker)); }
