// SPDX-License-Identifier: MIT
#pragma once
// The core register maps the program carries (cores/*.svd, built in): each
// file's name without its ending ("armv7m") and its bytes.
#include <span>
#include <string_view>

struct CoreMapText {
    std::string_view name;
    std::string_view text;
};

std::span<const CoreMapText> CoreMapTexts();
