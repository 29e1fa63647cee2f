// SPDX-License-Identifier: MIT
#include "tree/PropTreeFindIndex.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "tree/PropTreeItemCombo.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CPropTreeFindIndex::CPropTreeFindIndex(const CPropTreeItem& root) : m_root(&root) {
    // Texts are told apart by their bytes while the index is made; most
    // repeat (field names, the labels of named values), so few are kept.
    // Repeated texts are mostly one text of the tree's pool, shared by many
    // rows: the texts met lately are known by their address first, which
    // spares hashing their bytes.
    std::unordered_map<std::string_view, std::uint32_t> ids;
    struct Recent {
        const char* text = nullptr;
        std::uint32_t id = 0;
    };
    constexpr unsigned kRecentBits = 14;
    std::vector<Recent> recent(std::size_t{1} << kRecentBits);
    const auto textId = [&](const char* text) {
        Recent& slot =
            recent[((reinterpret_cast<std::uintptr_t>(text) >> 3) * 0x9E3779B97F4A7C15ull) >> (64 - kRecentBits)];
        if (slot.text == text) return slot.id;
        const auto [at, added] = ids.try_emplace(std::string_view(text), static_cast<std::uint32_t>(ids.size()));
        if (added) {
            m_textStarts.push_back(static_cast<std::uint32_t>(m_texts.size()));
            for (const char* c = text; *c; ++c) m_texts += Lower(*c);
            m_texts += '\0';
        }
        slot = {text, at->second};
        return at->second;
    };
    // The rows in the tree's order, a row's End set once the rows below it are in.
    std::vector<const CPropTreeItem*> pending;  // the next row last
    for (int i = root.GetChildCount() - 1; i >= 0; --i) pending.push_back(root.GetChildAt(i));
    std::vector<std::uint32_t> open;  // places of the rows whose rows below are being added
    while (!pending.empty()) {
        const CPropTreeItem& row = *pending.back();
        pending.pop_back();
        const auto at = static_cast<std::uint32_t>(m_rows.size());
        // The rows still open that `row` is not below are complete.
        while (!open.empty() && m_rows[open.back()] != row.GetParent()) {
            m_end[open.back()] = at;
            open.pop_back();
        }
        m_rows.push_back(const_cast<CPropTreeItem*>(&row));
        m_end.push_back(at + 1);
        const PropRowKind kind = row.GetKind();
        m_kinds.push_back(static_cast<std::uint8_t>(kind));
        m_textIds.push_back(textId(row.GetLabelText()));
        if (kind == PropRowKind::Combo)
            for (const auto& entry : static_cast<const CPropTreeItemCombo&>(row).GetAllEntries())
                m_textIds.push_back(textId(entry.label.c_str()));
        m_textsEnd.push_back(static_cast<std::uint32_t>(m_textIds.size()));
        if (row.GetChildCount() > 0) {
            open.push_back(at);
            for (int i = row.GetChildCount() - 1; i >= 0; --i) pending.push_back(row.GetChildAt(i));
        }
    }
    for (const std::uint32_t at : open) m_end[at] = Size();
}

void CPropTreeFindIndex::MatchTexts(std::string_view needle, std::vector<std::uint8_t>& matched) const {
    if (needle.empty() || needle.find('\0') != std::string_view::npos) {
        // A row's texts end at their NUL: one in the needle is matched by none.
        matched.assign(m_rows.size(), needle.empty() ? 1 : 0);
        return;
    }
    // The texts holding the needle, found in one search through all of them.
    const auto textCount = static_cast<std::uint32_t>(m_textStarts.size());
    std::vector<std::uint8_t> hit(textCount, 0);
    const char* texts = m_texts.data();
    std::size_t from = 0;
    std::uint32_t id = 0;
    bool anyHit = false;
    while (from < m_texts.size()) {
        // memmem (glibc) compares several bytes at a time.
        const void* found = memmem(texts + from, m_texts.size() - from, needle.data(), needle.size());
        if (!found) break;
        const auto offset = static_cast<std::uint32_t>(static_cast<const char*>(found) - texts);
        // The text holding `offset`: found texts come in order, so look near
        // the last one first, in steps doubling, then halve the last step.
        std::uint32_t step = 1;
        while (id + step < textCount && m_textStarts[id + step] <= offset) {
            id += step;
            step *= 2;
        }
        const auto first = m_textStarts.begin();
        const auto after = std::upper_bound(first + id, first + std::min<std::uint32_t>(id + step, textCount), offset);
        id = static_cast<std::uint32_t>(after - first) - 1;
        hit[id] = 1;
        anyHit = true;
        // One find in a text is enough: go on with the next.
        if (id + 1 >= textCount) break;
        from = m_textStarts[id + 1];
    }
    if (!anyHit) {
        matched.assign(m_rows.size(), 0);
        return;
    }
    matched.resize(m_rows.size());
    std::uint32_t k = 0;
    for (std::size_t at = 0; at < m_rows.size(); ++at) {
        std::uint8_t any = 0;
        for (const std::uint32_t end = m_textsEnd[at]; k < end; ++k) any |= hit[m_textIds[k]];
        matched[at] = any;
    }
}

std::size_t CPropTreeFindIndex::Bytes() const {
    return m_rows.capacity() * sizeof(CPropTreeItem*) + m_end.capacity() * sizeof(std::uint32_t) +
           m_kinds.capacity() + m_textsEnd.capacity() * sizeof(std::uint32_t) +
           m_textIds.capacity() * sizeof(std::uint32_t) + m_texts.capacity() +
           m_textStarts.capacity() * sizeof(std::uint32_t);
}
