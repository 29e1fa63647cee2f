#pragma once
// The bit span of every field row. Each field row has its own entry, so
// fields that share a label (EN, MODE, ...) in different registers, or even
// in one register, each keep the span of their own definition.
#include <string>
#include <unordered_map>

class CPropTreeItem;

struct FieldSpan {
    int nLowBit = 0;
    int nHighBit = 0;
    bool bCombo = false;
};

class CFieldTable {
public:
    // Enters or overwrites the span of `row`.
    void Set(const CPropTreeItem* row, const FieldSpan& span) { m_spans[row] = span; }
    // The span of `row`, or null for a row that is not a field row.
    const FieldSpan* Find(const CPropTreeItem* row) const {
        const auto it = m_spans.find(row);
        return it == m_spans.end() ? nullptr : &it->second;
    }
    size_t Size() const { return m_spans.size(); }
    void Clear() { m_spans.clear(); }

private:
    std::unordered_map<const CPropTreeItem*, FieldSpan> m_spans;
};

// The process-wide table the application fills and reads.
CFieldTable& g_FieldTable();
