#include "tree/PropTreeDelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeModel.h"

namespace {
// The entry a drop-down editor offers for a value none of the row's
// entries carries: it shows the number and commits nothing.
constexpr int kNoEntry = -1;

const CPropTreeItemCombo* ComboOf(const QModelIndex& index) {
    const auto* model = qobject_cast<const CPropTreeModel*>(index.model());
    return model ? dynamic_cast<const CPropTreeItemCombo*>(model->ItemFromIndex(index)) : nullptr;
}
}  // namespace

QWidget* CPropTreeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    const CPropTreeItemCombo* combo = ComboOf(index);
    if (!combo) {
        auto* edit = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (!edit) edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    auto* box = new QComboBox(parent);
    const auto& entries = combo->GetEntries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        box->addItem(QString::fromLocal8Bit(entries[static_cast<size_t>(i)].label.c_str()), i);
        // A named value's description, where the file gives one, shows as the entry's tooltip.
        if (const char* info = combo->GetEntryInfo(static_cast<size_t>(i)); *info)
            box->setItemData(i, QString::fromLocal8Bit(info), Qt::ToolTipRole);
    }
    // Choosing an entry commits it at once, as a drop-down list does.
    connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, box]() {
        auto* self = const_cast<CPropTreeDelegate*>(this);
        emit self->commitData(box);
        emit self->closeEditor(box);
    });
    QTimer::singleShot(0, box, [box]() {
        if (box->isVisible()) box->showPopup();
    });
    return box;
}

void CPropTreeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = qobject_cast<QComboBox*>(editor);
    const CPropTreeItemCombo* combo = ComboOf(index);
    if (!box || !combo) {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->setText(index.data(Qt::EditRole).toString());
        return;
    }
    int current = combo->GetCurSel();
    if (current < 0) {
        box->insertItem(0, QString::number(combo->GetItemValue()), kNoEntry);
        current = 0;
    }
    box->setCurrentIndex(current);
}

void CPropTreeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* box = qobject_cast<QComboBox*>(editor);
    const CPropTreeItemCombo* combo = ComboOf(index);
    if (!box || !combo) {
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) model->setData(index, edit->text(), Qt::EditRole);
        return;
    }
    const int entry = box->currentData().toInt();
    if (entry == kNoEntry || entry >= static_cast<int>(combo->GetEntries().size())) return;
    model->setData(index, QVariant::fromValue<qint64>(combo->GetEntries()[static_cast<size_t>(entry)].data),
                   Qt::EditRole);
}
