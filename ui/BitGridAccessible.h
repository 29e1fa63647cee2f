// SPDX-License-Identifier: MIT
#pragma once
// The bit grid for assistive technology: the grid is a table whose children
// are its bits, each a check box named by its number ("Bit 7") with its
// value (0 or 1) and, as description, the field it belongs to.
#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

class CBitGrid;

class CBitGridAccessible : public QAccessibleWidget {
public:
    explicit CBitGridAccessible(CBitGrid* grid);
    ~CBitGridAccessible() override;
    CBitGridAccessible(const CBitGridAccessible&) = delete;
    CBitGridAccessible& operator=(const CBitGridAccessible&) = delete;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

    // Makes the grid's interfaces come from this class.
    static void Install();

private:
    CBitGrid* Grid() const;
    mutable std::vector<QAccessible::Id> m_bits;  // made on first use
};
