// SPDX-License-Identifier: MIT
#include "framework/MessageMap.h"

const MessageMap* CCmdTarget::GetMessageMap() const {
    static const MessageMap map{nullptr, nullptr, 0};
    return &map;
}

namespace {
bool Matches(const MessageMapEntry& entry, UINT message, WPARAM wParam, LPARAM lParam) {
    if (entry.message != message) return false;
    switch (message) {
    case WM_COMMAND:
        return entry.code == HIWORD(wParam) && entry.id == LOWORD(wParam);
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header && entry.code == (header->code & 0xFFFF) && entry.id == header->idFrom;
    }
    default:
        return true;
    }
}
}  // namespace

bool CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (std::size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (!Matches(entry, message, wParam, lParam)) continue;
            const LRESULT r = entry.handler(this, wParam, lParam);
            if (result) *result = r;
            return true;
        }
    }
    return false;
}
