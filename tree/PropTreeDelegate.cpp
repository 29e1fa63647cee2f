// SPDX-License-Identifier: MIT
#include "tree/PropTreeDelegate.h"

#include <QLineEdit>
#include <QTimer>

#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeDropDown.h"
#include "tree/PropTreeModel.h"

namespace {
// The entry a drop-down editor offers for a value none of the row's
// entries carries: it shows the number and commits nothing.
constexpr int kNoEntry = -1;

QList<PropTreeChoice> ChoicesOf(const QModelIndex& index) {
    return index.data(CPropTreeModel::ChoicesRole).value<QList<PropTreeChoice>>();
}

bool IsDropDown(const QModelIndex& index) { return index.data(CPropTreeModel::ChoicesRole).isValid(); }
}  // namespace

QWidget* CPropTreeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    if (!IsDropDown(index)) {
        auto* edit = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (!edit) edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    auto* box = new CPropTreeDropDown(parent);
    const QList<PropTreeChoice> choices = ChoicesOf(index);
    for (int i = 0; i < choices.size(); ++i) {
        box->addItem(choices[i].label, i);
        // A named value's description, where the file gives one, shows as the entry's tooltip.
        if (!choices[i].info.isEmpty()) box->setItemData(i, choices[i].info, Qt::ToolTipRole);
    }
    connect(box, &QComboBox::activated, this, &CPropTreeDelegate::commitAndCloseEditor);
    connect(box, &CPropTreeDropDown::cancelled, this, &CPropTreeDelegate::cancelEditor);
    QTimer::singleShot(0, box, [box]() {
        if (box->isVisible()) box->showPopup();
    });
    return box;
}

void CPropTreeDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // A register or field whose value differs from its baseline stands out.
    if (index.data(CPropTreeModel::ChangedRole).toBool()) option->font.setBold(true);
    if (index.column() != CPropTreeModel::ValueColumn) return;
    const int access = index.data(CPropTreeModel::AccessRole).toInt();
    if (access == static_cast<int>(RowAccess::ReadWrite)) return;
    const QColor dimmed = option->palette.color(QPalette::Disabled, QPalette::Text);
    option->palette.setColor(QPalette::Text, dimmed);
    option->palette.setColor(QPalette::HighlightedText, dimmed);
}

void CPropTreeDelegate::commitAndCloseEditor() {
    auto* editor = qobject_cast<QWidget*>(sender());
    if (auto* box = qobject_cast<CPropTreeDropDown*>(editor)) box->SetChosen();
    emit commitData(editor);
    emit closeEditor(editor);
}

void CPropTreeDelegate::cancelEditor() {
    auto* editor = qobject_cast<QWidget*>(sender());
    emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void CPropTreeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->setText(index.data(Qt::EditRole).toString());
        return;
    }
    // The first entry carrying the row's value; where none does, or the row
    // names its value otherwise (a read name, a default entry), what the row
    // shows stands first, chosen, and composes nothing.
    const qint64 value = index.data(Qt::EditRole).toLongLong();
    const QString shown = index.data(Qt::DisplayRole).toString();
    const QList<PropTreeChoice> choices = ChoicesOf(index);
    int current = -1;
    for (int i = 0; i < choices.size() && current < 0; ++i)
        if (choices[i].value == value) current = i;
    if (current < 0 || choices[current].label != shown) {
        box->insertItem(0, shown, kNoEntry);
        current = 0;
    }
    box->setCurrentIndex(current);
}

void CPropTreeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) model->setData(index, edit->text(), Qt::EditRole);
        return;
    }
    const int entry = box->currentData().toInt();
    const QList<PropTreeChoice> choices = ChoicesOf(index);
    if (entry == kNoEntry || entry >= choices.size()) return;
    model->setData(index, QVariant::fromValue<qint64>(choices[entry].value), Qt::EditRole);
}
