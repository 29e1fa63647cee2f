// SPDX-License-Identifier: MIT
#include "tree/PropTreeModel.h"

#include "tree/PropTree.h"
#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeFilter.h"
#include "tree/PropTreeFindIndex.h"
#include "tree/PropTreeItemCombo.h"

CPropTreeModel::CPropTreeModel(CPropTree& tree, QObject* parent) : QAbstractItemModel(parent), m_pTree(&tree) {
    tree.SetListener(this);
}

CPropTreeModel::~CPropTreeModel() {
    if (m_pTree && m_pTree->GetListener() == this) m_pTree->SetListener(nullptr);
}

namespace {

// Under a find, an index's id is its row's address with one of the two
// lowest bits set (rows are at least 8-byte aligned): kLeaf for a row with no
// children in the tree, kParent for one with some. The view asks whether
// every row it lays out may have children, and the filter mostly knows
// without reading the row, where reading it is a cache miss. Either bit is
// set by what the row is, so equal indexes stay equal however they are made.
constexpr quintptr kLeaf = 1;
constexpr quintptr kParent = 2;
constexpr quintptr kTagBits = kLeaf | kParent;

}  // namespace

CPropTreeItem* CPropTreeModel::ItemFromIndex(const QModelIndex& index) const {
    if (!m_pTree || !index.isValid()) return nullptr;
    return reinterpret_cast<CPropTreeItem*>(index.internalId() & ~kTagBits);
}

QModelIndex CPropTreeModel::MakeIndex(int row, int column, CPropTreeItem* item, bool leaf) const {
    const quintptr tag = m_filter ? (leaf ? kLeaf : kParent) : 0;
    return createIndex(row, column, reinterpret_cast<quintptr>(item) | tag);
}

QModelIndex CPropTreeModel::IndexFromItem(CPropTreeItem* item, int column) const {
    if (!m_pTree || !item || item == m_pTree->GetRootItem()) return {};
    bool leaf = false;
    const int row = m_filter ? m_filter->RowOf(*item, &leaf) : item->GetIndexInParent();
    return row < 0 ? QModelIndex() : MakeIndex(row, column, item, leaf);
}

QModelIndex CPropTreeModel::AncestorIndex(std::size_t i) const {
    if (!m_filter || i >= m_filter->Ancestors().size()) return {};
    // An ancestor has a shown child, so children.
    return MakeIndex(m_filter->AncestorPlaces()[i], LabelColumn, m_filter->Ancestors()[i], false);
}

QModelIndex CPropTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!m_pTree || row < 0 || column < 0 || column > ValueColumn) return {};
    // Only the first column has children, as rowCount says.
    if (parent.isValid() && parent.column() != LabelColumn) return {};
    CPropTreeItem* parentItem = parent.isValid() ? ItemFromIndex(parent) : m_pTree->GetRootItem();
    if (m_filter) {
        bool leaf = false;
        CPropTreeItem* child = m_filter->ChildAt(*parentItem, row, &leaf);
        return child ? MakeIndex(row, column, child, leaf) : QModelIndex();
    }
    if (row >= parentItem->GetChildCount()) return {};
    return createIndex(row, column, parentItem->GetChildAt(row));
}

QModelIndex CPropTreeModel::parent(const QModelIndex& index) const {
    CPropTreeItem* item = ItemFromIndex(index);
    return item ? IndexFromItem(item->GetParent()) : QModelIndex();
}

int CPropTreeModel::rowCount(const QModelIndex& parent) const {
    if (!m_pTree) return 0;
    if (parent.isValid() && parent.column() != LabelColumn) return 0;
    const CPropTreeItem* item = parent.isValid() ? ItemFromIndex(parent) : m_pTree->GetRootItem();
    return m_filter ? m_filter->ChildCount(*item) : item->GetChildCount();
}

int CPropTreeModel::columnCount(const QModelIndex&) const { return ColumnCount; }

namespace {

RowDetails DetailsOf(const CPropTree& tree, const CPropTreeItem& item) {
    const CPropTreeDescriber* describer = tree.GetDescriber();
    return describer ? describer->Describe(item) : RowDetails{};
}

// The bits column: the span, and "RO" or "WO" where the file marks the bits so.
QString BitsText(const RowDetails& details) {
    QString text = QString::fromStdString(details.bits);
    if (details.access == RowAccess::ReadOnly) text += QStringLiteral(" RO");
    if (details.access == RowAccess::WriteOnly) text += QStringLiteral(" WO");
    return text;
}

}  // namespace

QVariant CPropTreeModel::data(const QModelIndex& index, int role) const {
    const CPropTreeItem* item = ItemFromIndex(index);
    if (!item) return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case LabelColumn: return QString::fromUtf8(item->GetLabelText());
        case BitsColumn: return BitsText(DetailsOf(*m_pTree, *item));
        case AddressColumn: return QString::fromStdString(DetailsOf(*m_pTree, *item).address);
        default: return QString::fromUtf8(item->GetAttributeText().c_str());
        }
    case AccessRole:
        return static_cast<int>(DetailsOf(*m_pTree, *item).access);
    case Qt::EditRole:
        if (index.column() != ValueColumn) return {};
        if (item->GetKind() == PropRowKind::Combo) return QVariant::fromValue<qint64>(item->GetItemValue());
        return QString::fromUtf8(item->GetAttributeText().c_str());
    case Qt::ToolTipRole: {
        QString tip = QString::fromUtf8(item->GetInfoText());
        const std::string origin = DetailsOf(*m_pTree, *item).origin;
        if (!origin.empty()) tip.prepend(QString::fromStdString(origin) + (tip.isEmpty() ? "" : "\n"));
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case ChangedRole:
        return DetailsOf(*m_pTree, *item).changed;
    case Qt::AccessibleDescriptionRole: {
        QString description = QString::fromUtf8(item->GetInfoText());
        const RowDetails details = DetailsOf(*m_pTree, *item);
        if (!details.origin.empty())
            description.prepend(QString::fromStdString(details.origin) + (description.isEmpty() ? "" : "; "));
        if (details.changed) description.prepend(description.isEmpty() ? "changed" : "changed; ");
        return description.isEmpty() ? QVariant() : QVariant(description);
    }
    case ChoicesRole: {
        const auto* combo = dynamic_cast<const CPropTreeItemCombo*>(item);
        if (!combo) return {};
        QList<PropTreeChoice> choices;
        const auto& entries = combo->GetEntries();
        choices.reserve(static_cast<qsizetype>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i)
            choices.append({QString::fromUtf8(entries[i].label.c_str()), static_cast<qint64>(entries[i].data),
                            QString::fromUtf8(combo->GetEntryInfo(i))});
        return QVariant::fromValue(choices);
    }
    default:
        return {};
    }
}

QVariant CPropTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case LabelColumn: return tr("Name");
    case BitsColumn: return tr("Bits");
    case AddressColumn: return tr("Address");
    default: return tr("Value");
    }
}

Qt::ItemFlags CPropTreeModel::flags(const QModelIndex& index) const {
    const CPropTreeItem* item = ItemFromIndex(index);
    if (!item) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // The view asks this of every row it lays out: under a find the index
    // tells without reading the row, and the kind is read only for the
    // value column.
    const quintptr tag = index.internalId() & kTagBits;
    if (tag ? tag == kLeaf : item->GetChildCount() == 0) flags |= Qt::ItemNeverHasChildren;
    if (index.column() != ValueColumn) return flags;
    const PropRowKind kind = item->GetKind();
    if (kind == PropRowKind::Edit || kind == PropRowKind::Combo) flags |= Qt::ItemIsEditable;
    return flags;
}

bool CPropTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    CPropTreeItem* item = ItemFromIndex(index);
    if (!item || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    if (item->GetKind() == PropRowKind::Combo) {
        m_pTree->UserCommitValue(item, static_cast<LPARAM>(value.toLongLong()));
    } else {
        const QByteArray text = value.toString().toUtf8();
        m_pTree->UserCommitValue(item, reinterpret_cast<LPARAM>(text.constData()));
    }
    return true;
}

void CPropTreeModel::SetFilter(std::string_view text, bool changedOnly) {
    beginResetModel();
    m_filter.reset();
    if ((!text.empty() || changedOnly) && m_pTree) {
        PrepareFinds();
        m_filter = std::make_unique<CPropTreeFilter>(*m_findIndex, text, m_pTree->GetDescriber(), changedOnly);
    }
    endResetModel();
}

void CPropTreeModel::PrepareFinds() {
    if (!m_findIndex && m_pTree) m_findIndex = std::make_unique<CPropTreeFindIndex>(*m_pTree->GetRootItem());
}

void CPropTreeModel::EndFinds() {
    // A filter still set keeps the rows as the index laid them out.
    if (m_filter) return;
    m_findIndex.reset();
}

void CPropTreeModel::DropFilter() {
    const bool filtered = m_filter != nullptr;
    m_filter.reset();
    // The rows change: what the index holds of them would no longer be true.
    m_findIndex.reset();
    if (filtered) emit filterDropped();
}

void CPropTreeModel::OnItemInserting(CPropTreeItem* parent, int row) {
    if (m_filter) {
        beginResetModel();
        DropFilter();
        endResetModel();
    }
    m_findIndex.reset();
    beginInsertRows(IndexFromItem(parent), row, row);
}

void CPropTreeModel::OnItemInserted(CPropTreeItem*) { endInsertRows(); }

void CPropTreeModel::OnItemChanged(CPropTreeItem* item) {
    const QModelIndex first = IndexFromItem(item, LabelColumn);
    if (first.isValid()) emit dataChanged(first, IndexFromItem(item, ValueColumn));
}

void CPropTreeModel::OnItemsRefreshed() { emit refreshRequested(); }

void CPropTreeModel::OnFocusChanged(CPropTreeItem* item) { emit focusChanged(IndexFromItem(item)); }

void CPropTreeModel::OnResetBegin() {
    beginResetModel();
    DropFilter();
}

void CPropTreeModel::OnResetEnd() { endResetModel(); }

void CPropTreeModel::OnTreeDestroyed() {
    beginResetModel();
    m_pTree = nullptr;
    DropFilter();
    endResetModel();
}
