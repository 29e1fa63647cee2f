// SPDX-License-Identifier: MIT
#pragma once
// The tree's rows as a Qt item model: the label, the bits a row spans and
// the value. The model holds no copy of the rows; it follows the tree through
// its listener, so a tree of a million rows costs nothing more. Only while a
// find is open are the rows also laid out flat for it (CPropTreeFindIndex).
#include <QAbstractItemModel>
#include <QList>
#include <QMetaType>
#include <QString>
#include <cstddef>
#include <memory>
#include <string_view>

#include "tree/PropTreeListener.h"

class CPropTree;
class CPropTreeFilter;
class CPropTreeFindIndex;
class CPropTreeItem;

// One named value of a drop-down row, as the model hands it to editors.
struct PropTreeChoice {
    QString label;
    qint64 value = 0;
    QString info;  // the value's description, empty when it has none
};

class CPropTreeModel : public QAbstractItemModel, public CPropTreeListener {
    Q_OBJECT
public:
    enum Column { LabelColumn = 0, BitsColumn = 1, AddressColumn = 2, ValueColumn = 3, ColumnCount = 4 };
    enum Role {
        // The named values of a drop-down row, in list order, as a
        // QList<PropTreeChoice>; nothing for other rows.
        ChoicesRole = Qt::UserRole + 1,
        // What a file says a field's bits allow, as an int of RowAccess.
        AccessRole,
        // Whether a register's value, or a field's share of it, differs from
        // its baseline, as a bool; the delegate draws such rows bold.
        ChangedRole,
    };

    explicit CPropTreeModel(CPropTree& tree, QObject* parent = nullptr);
    ~CPropTreeModel() override;
    CPropTreeModel(const CPropTreeModel&) = delete;
    CPropTreeModel& operator=(const CPropTreeModel&) = delete;

    CPropTree* Tree() const { return m_pTree; }
    CPropTreeItem* ItemFromIndex(const QModelIndex& index) const;
    QModelIndex IndexFromItem(CPropTreeItem* item, int column = LabelColumn) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A user's edit: commits the value through the tree, which notifies.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Shows only the rows a find for `text` shows (see CPropTreeFilter), or
    // every row again for an empty text; either is one model reset. Rows
    // the find hides have no index. With `changedOnly`, only the changed
    // registers and fields among them, also for an empty text.
    void SetFilter(std::string_view text, bool changedOnly = false);
    const CPropTreeFilter* Filter() const { return m_filter.get(); }
    // The index of the filter's Ancestors()[i], as IndexFromItem makes it,
    // without looking the row up (a find expands every ancestor).
    QModelIndex AncestorIndex(std::size_t i) const;
    // Lays the rows out for the finds to come (CPropTreeFindIndex), which
    // SetFilter would otherwise do at its first text; kept until EndFinds,
    // or until the rows change.
    void PrepareFinds();
    // Gives back the memory of the rows laid out for finds; a filter set stays.
    void EndFinds();
    const CPropTreeFindIndex* FindIndex() const { return m_findIndex.get(); }

signals:
    void refreshRequested();
    // The tree's rows changed under a find (a file was opened): the find is over.
    void filterDropped();
    void focusChanged(const QModelIndex& index);

private:
    void OnItemInserting(CPropTreeItem* parent, int row) override;
    void OnItemInserted(CPropTreeItem* item) override;
    void OnItemChanged(CPropTreeItem* item) override;
    void OnItemsRefreshed() override;
    void OnFocusChanged(CPropTreeItem* item) override;
    void OnResetBegin() override;
    void OnResetEnd() override;
    void OnTreeDestroyed() override;

    // Ends a find because the rows it was made of change.
    void DropFilter();
    // The index of `item` at `row`, `column`; `leaf`: it has no children.
    QModelIndex MakeIndex(int row, int column, CPropTreeItem* item, bool leaf) const;

    CPropTree* m_pTree;
    std::unique_ptr<CPropTreeFindIndex> m_findIndex;
    std::unique_ptr<CPropTreeFilter> m_filter;  // reads m_findIndex
};

Q_DECLARE_METATYPE(PropTreeChoice)
