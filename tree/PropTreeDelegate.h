// SPDX-License-Identifier: MIT
#pragma once
// Editors for the value column, alive only while a row is being edited:
// a line edit for edit rows, a list of entries for drop-down rows.
#include <QStyledItemDelegate>

class CPropTreeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Values of bits a file marks read-only or write-only are drawn dimmed.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private slots:
    // Choosing an entry of a drop-down list commits it at once, as a drop-down list does.
    void commitAndCloseEditor();
    // The list closed without a choice: the edit ends and the row keeps its value.
    void cancelEditor();
};
