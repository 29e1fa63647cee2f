// SPDX-License-Identifier: MIT
#include "ui/BitGrid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include <QAccessible>

#include "bits/BitArithmetic.h"
#include "ui/BitGridAccessible.h"

namespace {

constexpr int kMargin = 2;
constexpr int kGroupGap = 3;
// Cells grow with the grid's width up to this, so names under wide spans fit.
constexpr int kMaxCellWidth = 64;
constexpr int kBitsPerLine = 32;

QFont SmallFont(const QFont& font) {
    QFont small = font;
    small.setPointSizeF(std::max(5.0, font.pointSizeF() * 0.75));
    return small;
}

QString SpanText(const BitGridField& field) {
    return field.msb == field.lsb ? QString::number(field.msb) : QStringLiteral("%1:%2").arg(field.msb).arg(field.lsb);
}

}  // namespace

CBitGrid::CBitGrid(QWidget* parent) : QWidget(parent) {
    CBitGridAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Register bits"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CBitGrid::SetRegister(int bits, std::vector<BitGridField> fields) {
    m_bits = std::clamp(bits, 0, 64);
    m_fields = std::move(fields);
    m_current = std::clamp(m_current, 0, std::max(0, m_bits - 1));
    setFocusPolicy(m_bits > 0 ? Qt::StrongFocus : Qt::NoFocus);
    updateGeometry();
    update();
    UpdateAccessibleText();
}

void CBitGrid::SetValue(std::uint64_t value) {
    m_value = m_bits >= 64 ? value : value & ((std::uint64_t{1} << m_bits) - 1);
    update();
    UpdateAccessibleText();
}

int CBitGrid::BitsOnLine(int line) const {
    if (Lines() == 1) return m_bits;
    return line == 0 ? m_bits - kBitsPerLine : kBitsPerLine;
}

QSize CBitGrid::sizeHint() const {
    const QFontMetrics small(SmallFont(font()));
    const int lineHeight = small.height() * 2 + fontMetrics().height() + 6;
    // One line is kept also when empty, so the rows above do not jump as
    // registers and sets are picked; a register of more than 32 bits takes two.
    return {300, std::max(1, Lines()) * lineHeight + kMargin * 2};
}

QRect CBitGrid::CellRect(int bit) const {
    if (bit < 0 || bit >= m_bits) return {};
    const QFontMetrics small(SmallFont(font()));
    const int lineHeight = small.height() * 2 + fontMetrics().height() + 6;
    const int line = Lines() == 2 && bit < kBitsPerLine ? 1 : 0;
    // The bits of the widest line share the whole width.
    const int slotCount = std::max(1, std::min(m_bits, kBitsPerLine));
    const int groups = (slotCount + 3) / 4;
    const int cell = std::clamp((width() - 2 * kMargin - (groups - 1) * kGroupGap) / slotCount, 0, kMaxCellWidth);
    // Bit 0 of each line at the right, as the hex box reads.
    const int fromRight = bit - (line == 0 && Lines() == 2 ? kBitsPerLine : 0);
    const int gapsToRight = fromRight / 4;
    const int right = width() - kMargin - fromRight * cell - gapsToRight * kGroupGap;
    const int y = kMargin + line * lineHeight + small.height() + 1;
    return {right - cell, y, cell, fontMetrics().height() + 2};
}

int CBitGrid::BitAt(const QPoint& point) const {
    for (int bit = 0; bit < m_bits; ++bit)
        if (CellRect(bit).adjusted(0, -4, 0, 4).contains(point)) return bit;
    return -1;
}

const BitGridField* CBitGrid::FieldOf(int bit) const {
    for (const BitGridField& field : m_fields)
        if (bit >= field.lsb && bit <= field.msb) return &field;
    return nullptr;
}

std::string CBitGrid::FieldNameOf(int bit) const {
    const BitGridField* field = FieldOf(bit);
    return field ? field->name : std::string();
}

void CBitGrid::SetHighlight(std::optional<std::pair<int, int>> span) {
    if (span == m_highlight) return;
    m_highlight = span;
    update();
}

void CBitGrid::SetBaseline(std::optional<std::uint64_t> baseline) {
    if (baseline == m_baseline) return;
    m_baseline = baseline;
    UpdateAccessibleText();
    update();
}

void CBitGrid::paintEvent(QPaintEvent*) {
    if (m_bits == 0) return;
    QPainter painter(this);
    const QFont small = SmallFont(font());
    const QFontMetrics smallMetrics(small);
    const QPalette& pal = palette();
    for (int bit = 0; bit < m_bits; ++bit) {
        const QRect cell = CellRect(bit);
        const bool covered = FieldOf(bit) != nullptr;
        const bool one = (m_value >> bit) & 1;
        const bool inHand = m_highlight && bit >= m_highlight->first && bit <= m_highlight->second;
        painter.fillRect(cell.adjusted(0, 0, -1, 0), covered ? pal.base() : pal.window());
        if (inHand) {
            QColor tint = pal.color(QPalette::Highlight);
            tint.setAlpha(60);
            painter.fillRect(cell.adjusted(0, 0, -1, 0), tint);
        }
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        QFont digit = font();
        if ((ChangedBits() >> bit) & 1) {
            digit.setBold(true);
            digit.setUnderline(true);
        }
        painter.setFont(digit);
        painter.setPen(pal.color(covered ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        painter.drawText(cell, Qt::AlignCenter, one ? QStringLiteral("1") : QStringLiteral("0"));
        // Numbers at the low end of each group of four, and at the top bit.
        if (bit % 4 == 0 || bit == m_bits - 1) {
            painter.setFont(small);
            painter.setPen(pal.color(QPalette::Text));
            const QRect number(cell.left() - 6, cell.top() - smallMetrics.height() - 1, cell.width() + 12,
                               smallMetrics.height());
            painter.drawText(number, Qt::AlignHCenter | Qt::AlignBottom, QString::number(bit));
        }
        if (hasFocus() && bit == m_current) {
            painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
            painter.drawRect(cell.adjusted(1, 1, -2, -2));
        }
    }
    // Each field's name under its span, on every line the span reaches.
    painter.setFont(small);
    for (const BitGridField& field : m_fields) {
        const int msb = std::min(field.msb, m_bits - 1);
        for (int high = msb; high >= field.lsb;) {
            const int lineLow = Lines() == 2 && high >= kBitsPerLine ? kBitsPerLine : 0;
            const int low = std::max(field.lsb, lineLow);
            const QRect left = CellRect(high);
            const QRect right = CellRect(low);
            const QRect under(left.left() + 1, left.bottom() + 2, right.right() - left.left() - 1, smallMetrics.height());
            painter.setPen(pal.color(QPalette::Mid));
            painter.drawLine(under.left(), under.top(), under.right(), under.top());
            painter.setPen(pal.color(QPalette::Text));
            const QString name = smallMetrics.elidedText(QString::fromStdString(field.name), Qt::ElideRight, under.width());
            painter.drawText(under, Qt::AlignHCenter | Qt::AlignBottom, name);
            high = low - 1;
        }
    }
}

void CBitGrid::mousePressEvent(QMouseEvent* event) {
    const int bit = BitAt(event->position().toPoint());
    if (bit < 0 || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    MoveCurrent(bit);
    Toggle(bit);
}

void CBitGrid::keyPressEvent(QKeyEvent* event) {
    if (m_bits == 0) return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left: MoveCurrent(std::min(m_bits - 1, m_current + 1)); break;
    case Qt::Key_Right: MoveCurrent(std::max(0, m_current - 1)); break;
    case Qt::Key_Home: MoveCurrent(m_bits - 1); break;
    case Qt::Key_End: MoveCurrent(0); break;
    case Qt::Key_Space: Toggle(m_current); break;
    default: return QWidget::keyPressEvent(event);
    }
    event->accept();
}

QString CBitGrid::ToolTipOf(int bit) const {
    const BitGridField* field = FieldOf(bit);
    QString text = tr("Bit %1 = %2").arg(bit).arg((m_value >> bit) & 1);
    if (!field) return text;
    const std::uint64_t share = ShiftRight64(m_value, field->lsb) & FieldMask(field->lsb, field->msb);
    QString named = tr("%1 (%2) = 0x%3").arg(QString::fromStdString(field->name), SpanText(*field)).arg(share, 0, 16);
    if (!field->valueName.empty()) named += " " + QString::fromStdString(field->valueName);
    return named + "\n" + text;
}

bool CBitGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int bit = BitAt(help->pos());
        if (bit < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const QString text = ToolTipOf(bit);
        QToolTip::showText(help->globalPos(), text, this, CellRect(bit));
        return true;
    }
    return QWidget::event(event);
}

void CBitGrid::MoveCurrent(int bit) {
    m_current = bit;
    update();
    UpdateAccessibleText();
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(m_bits - 1 - bit);
        QAccessible::updateAccessibility(&focus);
    }
}

void CBitGrid::Toggle(int bit) {
    if (bit < 0 || bit >= m_bits) return;
    emit toggleRequested(m_value ^ (std::uint64_t{1} << bit));
}

// What assistive technology reads for the grid: the current bit's number,
// its value and its field.
void CBitGrid::UpdateAccessibleText() {
    if (m_bits == 0) {
        setAccessibleDescription(QString());
        return;
    }
    const BitGridField* field = FieldOf(m_current);
    QString text = tr("Bit %1 is %2").arg(m_current).arg((m_value >> m_current) & 1);
    if (field) text += tr(", in %1").arg(QString::fromStdString(field->name));
    setAccessibleDescription(text);
}
