// SPDX-License-Identifier: MIT
#include "ui/WindowCaption.h"

namespace {
constexpr const char* kCaptionSeparator = " \xE2\x80\x94 ";  // an em dash between spaces
}  // namespace

std::string WindowCaption(const std::string& title, const std::string& mapName, const std::string& where,
                          bool targetRunning) {
    std::string caption = title;
    if (!where.empty()) caption = where + (targetRunning ? " (target running)" : "") + kCaptionSeparator + caption;
    if (!mapName.empty()) caption = mapName + kCaptionSeparator + caption;
    return caption;
}
