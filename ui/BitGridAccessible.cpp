// SPDX-License-Identifier: MIT
#include "ui/BitGridAccessible.h"

#include <QWindow>

#include "ui/BitGrid.h"

namespace {

// One bit of the grid.
class CBitAccessible : public QAccessibleInterface {
public:
    CBitAccessible(CBitGrid* grid, int bit) : m_grid(grid), m_bit(bit) {}

    bool isValid() const override { return m_grid && m_bit < m_grid->Bits(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text which) const override {
        if (!isValid()) return {};
        switch (which) {
        case QAccessible::Name: return QObject::tr("Bit %1").arg(m_bit);
        case QAccessible::Value: return QString::number((m_grid->Value() >> m_bit) & 1);
        case QAccessible::Description: {
            QString description = QString::fromStdString(m_grid->FieldNameOf(m_bit));
            if ((m_grid->ChangedBits() >> m_bit) & 1) description += description.isEmpty() ? "changed" : ", changed";
            return description;
        }
        default: return {};
        }
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect cell = m_grid->CellRect(m_bit);
        return QRect(m_grid->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.checkable = true;
        state.focusable = true;
        if (!isValid()) return state;
        state.checked = ((m_grid->Value() >> m_bit) & 1) != 0;
        state.focused = m_grid->hasFocus() && m_grid->CurrentBit() == m_bit;
        return state;
    }

private:
    QPointer<CBitGrid> m_grid;
    int m_bit;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("CBitGrid") && object && object->isWidgetType())
        return new CBitGridAccessible(static_cast<CBitGrid*>(object));
    return nullptr;
}

}  // namespace

CBitGridAccessible::CBitGridAccessible(CBitGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

// The bits' interfaces belong to no object Qt would see go, so they go with the grid's.
CBitGridAccessible::~CBitGridAccessible() {
    for (const QAccessible::Id id : m_bits)
        if (id) QAccessible::deleteAccessibleInterface(id);
}

CBitGrid* CBitGridAccessible::Grid() const { return static_cast<CBitGrid*>(widget()); }

int CBitGridAccessible::childCount() const { return Grid()->Bits(); }

QAccessibleInterface* CBitGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    // Children in the order shown, highest bit first; each made once.
    const int bit = childCount() - 1 - index;
    if (m_bits.size() <= static_cast<size_t>(bit)) m_bits.resize(static_cast<size_t>(bit) + 1, 0);
    QAccessible::Id& id = m_bits[static_cast<size_t>(bit)];
    if (!id) id = QAccessible::registerAccessibleInterface(new CBitAccessible(Grid(), bit));
    return QAccessible::accessibleInterface(id);
}

int CBitGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int index = 0; index < childCount(); ++index)
        if (this->child(index) == child) return index;
    return -1;
}

QAccessibleInterface* CBitGridAccessible::focusChild() const {
    return Grid()->hasFocus() ? child(childCount() - 1 - Grid()->CurrentBit()) : nullptr;
}

void CBitGridAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}
