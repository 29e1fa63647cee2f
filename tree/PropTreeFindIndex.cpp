// SPDX-License-Identifier: MIT
#include "tree/PropTreeFindIndex.h"

#include <algorithm>
#include <cstring>
#include <functional>
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

template <class OnText>
void CPropTreeFindIndex::ForEachTextHolding(std::string_view needle, OnText onText) const {
    // The texts holding the needle, found in one search through all of them.
    const auto textCount = static_cast<std::uint32_t>(m_textStarts.size());
    const char* texts = m_texts.data();
    const char* const textsEnd = texts + m_texts.size();
    // Boyer-Moore-Horspool skips ahead by the needle's length where it can.
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    std::size_t from = 0;
    std::uint32_t id = 0;
    while (from < m_texts.size()) {
        const char* found = searcher(texts + from, textsEnd).first;
        if (found == textsEnd) break;
        const auto offset = static_cast<std::uint32_t>(found - texts);
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
        onText(id);
        // One find in a text is enough: go on with the next.
        if (id + 1 >= textCount) break;
        from = m_textStarts[id + 1];
    }
}

std::string_view CPropTreeFindIndex::Text(std::uint32_t id) const {
    const std::size_t start = m_textStarts[id];
    const std::size_t end = id + 1 < m_textStarts.size() ? m_textStarts[id + 1] : m_texts.size();
    return std::string_view(m_texts).substr(start, end - start - 1);  // without its NUL
}

void CPropTreeFindIndex::MatchTexts(std::string_view needle, std::vector<std::uint8_t>& matched) const {
    if (needle.empty() || needle.find('\0') != std::string_view::npos) {
        // A row's texts end at their NUL: one in the needle is matched by none.
        matched.assign(m_rows.size(), needle.empty() ? 1 : 0);
        return;
    }
    std::vector<std::uint8_t> hit(m_textStarts.size(), 0);
    bool anyHit = false;
    ForEachTextHolding(needle, [&](std::uint32_t id) {
        hit[id] = 1;
        anyHit = true;
    });
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

void CPropTreeFindIndex::MatchPath(const std::vector<std::string_view>& words,
                                   std::vector<std::uint8_t>& matched) const {
    if (words.size() <= 1) {
        MatchTexts(words.empty() ? std::string_view() : words.front(), matched);
        return;
    }
    const auto count = static_cast<std::uint32_t>(words.size());
    // Which of the first 64 words each text holds, a bit each, from one
    // search through all the texts a word; the words after those are looked
    // for in a text only where it is read.
    constexpr std::uint32_t kMaskWords = 64;
    const auto textCount = static_cast<std::uint32_t>(m_textStarts.size());
    std::vector<std::uint64_t> holds(textCount, 0);
    for (std::uint32_t word = 0; word < count && word < kMaskWords; ++word) {
        bool anyHit = false;
        if (words[word].find('\0') == std::string_view::npos)
            ForEachTextHolding(words[word], [&](std::uint32_t id) {
                holds[id] |= std::uint64_t{1} << word;
                anyHit = true;
            });
        // A word in no text: no path holds all the words.
        if (!anyHit) {
            matched.assign(m_rows.size(), 0);
            return;
        }
    }
    const auto mayHold = [&](std::uint32_t id, std::uint32_t word) {
        return word >= kMaskWords || ((holds[id] >> word) & 1) != 0;
    };
    // How many of the words from `word` on text `id` holds one after
    // another. Most texts hold none or only the first of them, known from
    // the bits; for the others the last answer per text is kept, since many
    // rows share a text and the rows above them.
    constexpr std::uint32_t kNotAsked = 0xffffffffu;
    std::vector<std::uint32_t> askedFrom(textCount, kNotAsked);
    std::vector<std::uint32_t> answer(textCount, 0);
    const auto heldFrom = [&](std::uint32_t id, std::uint32_t word) -> std::uint32_t {
        if (word >= count || !mayHold(id, word)) return 0;
        // The bits are exact for the first 64 words.
        if (word < kMaskWords && (word + 1 == count || (word + 1 < kMaskWords && !mayHold(id, word + 1)))) return 1;
        if (askedFrom[id] == word) return answer[id];
        const std::string_view text = Text(id);
        std::size_t at = 0;
        std::uint32_t next = word;
        for (; next < count; ++next) {
            const std::size_t found = text.find(words[next], at);
            if (found == std::string_view::npos) break;
            at = found + words[next].size();
        }
        askedFrom[id] = word;
        answer[id] = next - word;
        return next - word;
    };
    // The words held along a row's path once its own texts are read, given
    // those held above it: its label, then the named value holding most.
    const auto heldAfter = [&](std::uint32_t at, std::uint32_t above) {
        const std::uint32_t first = at == 0 ? 0 : m_textsEnd[at - 1];
        const std::uint32_t end = m_textsEnd[at];
        const std::uint32_t afterLabel = above + heldFrom(m_textIds[first], above);
        std::uint32_t most = afterLabel;
        for (std::uint32_t k = first + 1; k < end && most < count; ++k)
            most = std::max(most, afterLabel + heldFrom(m_textIds[k], afterLabel));
        return most;
    };
    // The rows in the tree's order, with the words held along the paths of
    // the rows above each: the most, as the more held above, the fewer left.
    struct Above {
        std::uint32_t end;
        std::uint32_t held;
    };
    std::vector<Above> above;
    matched.resize(m_rows.size());
    for (std::uint32_t at = 0; at < Size(); ++at) {
        while (!above.empty() && above.back().end <= at) above.pop_back();
        const std::uint32_t heldAbove = above.empty() ? 0 : above.back().held;
        // The row's own texts hold at least the last word: with all held
        // above, they must still hold that one.
        const std::uint32_t from = std::min(heldAbove, count - 1);
        const std::uint32_t held = heldAfter(at, from);
        matched[at] = held == count ? 1 : 0;
        if (m_end[at] > at + 1) above.push_back({m_end[at], heldAbove == from ? held : count});
    }
}

std::size_t CPropTreeFindIndex::Bytes() const {
    return m_rows.capacity() * sizeof(CPropTreeItem*) + m_end.capacity() * sizeof(std::uint32_t) +
           m_kinds.capacity() + m_textsEnd.capacity() * sizeof(std::uint32_t) +
           m_textIds.capacity() * sizeof(std::uint32_t) + m_texts.capacity() +
           m_textStarts.capacity() * sizeof(std::uint32_t);
}
