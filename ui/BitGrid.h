// SPDX-License-Identifier: MIT
#pragma once
// The bits of the register in hand, highest first: numbered, grouped by four,
// each showing 0 or 1 of the value, each field's span marked with its name
// (cut to fit; the whole name, span and value as a tooltip; the cells share
// the grid's width, so names fit where they can), the span of the field in
// hand highlighted, and bits that no
// field covers dimmed; bits that differ from the register's baseline (its
// reset value, or a compared values file) are drawn bold and underlined. A
// register of more than 32 bits takes two lines.
//
// Clicking a bit, or Space on the current bit (Left, Right, Home and End move
// it), asks for the value with that bit toggled: the grid never changes a
// value itself, its owner writes the new value where typing would go.
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct BitGridField {
    int lsb = 0;
    int msb = 0;
    std::string name;
    std::string valueName;  // the name of the field's value (a read name where it has them); empty when none
};

class CBitGrid : public QWidget {
    Q_OBJECT
public:
    explicit CBitGrid(QWidget* parent = nullptr);

    // Shows a register of `bits` bits (1..64) with its fields; 0 bits empties the grid.
    void SetRegister(int bits, std::vector<BitGridField> fields);
    void SetValue(std::uint64_t value);
    // The value the bits are compared with: bits that differ from it are
    // marked; none without a baseline.
    void SetBaseline(std::optional<std::uint64_t> baseline);
    // The bits that differ from the baseline.
    std::uint64_t ChangedBits() const { return m_baseline ? (m_value ^ *m_baseline) & Mask() : 0; }
    void Clear() { SetRegister(0, {}); }
    // The span (low bit, high bit) of the field in hand, drawn highlighted; none for a register.
    void SetHighlight(std::optional<std::pair<int, int>> span);
    std::optional<std::pair<int, int>> Highlight() const { return m_highlight; }

    int Bits() const { return m_bits; }
    std::uint64_t Value() const { return m_value; }
    int CurrentBit() const { return m_current; }
    // The place of bit `bit` on screen, for tests and tooltips.
    QRect CellRect(int bit) const;
    // The name of the field bit `bit` belongs to, "" for none.
    std::string FieldNameOf(int bit) const;
    // The tooltip of bit `bit`: its field with the field's share and its value's name, and the bit.
    QString ToolTipOf(int bit) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasHeightForWidth() const override { return false; }

signals:
    // The user toggled a bit: the register's value with that bit flipped.
    void toggleRequested(std::uint64_t value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::uint64_t Mask() const { return m_bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << m_bits) - 1; }
    int Lines() const { return m_bits > 32 ? 2 : (m_bits > 0 ? 1 : 0); }
    int BitsOnLine(int line) const;
    int BitAt(const QPoint& point) const;
    const BitGridField* FieldOf(int bit) const;
    void MoveCurrent(int bit);
    void Toggle(int bit);
    void UpdateAccessibleText();

    int m_bits = 0;
    std::uint64_t m_value = 0;
    std::optional<std::uint64_t> m_baseline;
    std::optional<std::pair<int, int>> m_highlight;
    std::vector<BitGridField> m_fields;
    int m_current = 0;
};
