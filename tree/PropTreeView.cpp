// SPDX-License-Identifier: MIT
#include "tree/PropTreeView.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "tree/PropTree.h"
#include "tree/PropTreeDelegate.h"
#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeModel.h"

CPropTreeView::CPropTreeView(QWidget* parent) : QTreeView(parent) {
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CPropTreeDelegate(this));
    // A right click here is not the dialog's menu of window commands: rows
    // have a menu of their own (see CPropTreeWindow::AddRowCommand).
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void CPropTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (m_bFollowingTree) return;
    auto* model = qobject_cast<CPropTreeModel*>(this->model());
    if (!model || !model->Tree()) return;
    if (current.row() == previous.row() && current.parent() == previous.parent() && previous.isValid()) return;
    model->Tree()->UserSelectItem(model->ItemFromIndex(current));
}

void CPropTreeView::keyPressEvent(QKeyEvent* event) {
    // Enter and F2 edit the focused row's value, whichever cell of the row is
    // current; where there is nothing to edit Enter goes on to the dialog.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool f2 = event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier;
    if ((enter || f2) && state() != QAbstractItemView::EditingState) {
        const QModelIndex value = currentIndex().siblingAtColumn(CPropTreeModel::ValueColumn);
        if (value.isValid() && (value.flags() & Qt::ItemIsEditable)) {
            setCurrentIndex(value);
            edit(value);
            event->accept();
            return;
        }
        if (f2) {
            event->accept();
            return;
        }
        event->ignore();
        return;
    }
    QTreeView::keyPressEvent(event);
}

CPropTreeWindow::CPropTreeWindow(CPropTree& tree, QWidget* parent)
    : QWidget(parent),
      m_model(new CPropTreeModel(tree, this)),
      m_view(new CPropTreeView(this)),
      m_info(new QLabel(this)),
      m_find(new CPropTreeFind(*m_view, *m_model, *this)) {
    tree.m_hWnd = this;
    m_view->setModel(m_model);
    m_view->setColumnHidden(CPropTreeModel::AddressColumn, true);
    m_view->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->header()->setStretchLastSection(true);
    m_info->setWordWrap(true);
    m_info->setTextFormat(Qt::PlainText);
    m_info->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_info->setMinimumHeight(m_info->fontMetrics().height() * 2 + 6);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_find->Bar());
    layout->addWidget(m_view, 1);
    layout->addWidget(m_info);

    connect(m_view, &QWidget::customContextMenuRequested, this, &CPropTreeWindow::ShowRowMenu);
    connect(m_model, &CPropTreeModel::refreshRequested, m_view->viewport(), QOverload<>::of(&QWidget::update));
    // A refresh may change where the row's value came from, which its description tells.
    connect(m_model, &CPropTreeModel::refreshRequested, this, [this] { ShowInfo(m_view->currentIndex()); });
    connect(m_model, &CPropTreeModel::focusChanged, this, [this](const QModelIndex& index) {
        // The program moved the focus: follow it without telling anyone.
        m_view->m_bFollowingTree = true;
        m_view->setCurrentIndex(index);
        m_view->m_bFollowingTree = false;
        ShowInfo(index);
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowInfo(current); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this]() {
        // The bits column as wide as its widest text; the value column keeps
        // the rest. Each column gets its width once: every change of a width
        // is told to whoever follows them (the window keeps them in its
        // settings file), and a find resets the rows at every keystroke.
        const int bits = m_view->fontMetrics().horizontalAdvance(QStringLiteral("63:32 WO")) + 12;
        const auto widthOf = [this](int column, int otherwise) {
            return column < m_columnWidths.size() ? m_columnWidths[column] : otherwise;
        };
        m_view->setColumnWidth(CPropTreeModel::LabelColumn,
                               widthOf(CPropTreeModel::LabelColumn, std::max(80, (width() - bits) / 2)));
        m_view->setColumnWidth(CPropTreeModel::BitsColumn, widthOf(CPropTreeModel::BitsColumn, bits));
        if (CPropTreeModel::AddressColumn < m_columnWidths.size())
            m_view->setColumnWidth(CPropTreeModel::AddressColumn, m_columnWidths[CPropTreeModel::AddressColumn]);
        // The address column only for files that give addresses.
        const CPropTree* tree = m_model->Tree();
        const CPropTreeDescriber* describer = tree ? tree->GetDescriber() : nullptr;
        const bool addresses = describer && describer->HasAddresses();
        m_view->setColumnHidden(CPropTreeModel::AddressColumn, !addresses);
        if (addresses && m_columnWidths.size() <= CPropTreeModel::AddressColumn) {
            // Measured bold, as a changed register's row is drawn.
            QFont bold = m_view->font();
            bold.setBold(true);
            m_view->setColumnWidth(CPropTreeModel::AddressColumn,
                                   QFontMetrics(bold).horizontalAdvance(QStringLiteral("0x00000000")) + 12);
        }
    });
}

CPropTreeWindow::~CPropTreeWindow() {
    // A tree that went first has told the model so; one still there forgets this window.
    if (CPropTree* tree = m_model->Tree(); tree && tree->m_hWnd == this) tree->m_hWnd = nullptr;
}

QAction* CPropTreeWindow::AddRowCommand(const QString& text, const QKeySequence& keys, bool inTree,
                                        std::function<void()> run) {
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    action->setShortcutContext(inTree ? Qt::WidgetShortcut : Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)]() { run(); });
    if (inTree)
        m_view->addAction(action);
    else
        addAction(action);
    m_rowCommands.append(action);
    return action;
}

void CPropTreeWindow::SetDetailWidget(QWidget* widget) {
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->indexOf(m_info), widget);
    m_detail = widget;
}

void CPropTreeWindow::ShowPlaceholder(QWidget* placeholder, bool show) {
    auto* box = static_cast<QVBoxLayout*>(layout());
    if (placeholder->parentWidget() != this || box->indexOf(placeholder) < 0)
        box->insertWidget(box->indexOf(m_view) + 1, placeholder, 1);
    if (show) m_find->Close(false);
    for (QWidget* part : {static_cast<QWidget*>(m_view), m_detail, static_cast<QWidget*>(m_info)})
        if (part) part->setVisible(!show);
    placeholder->setVisible(show);
}

void CPropTreeWindow::SetColumnWidths(const QList<int>& widths) {
    m_columnWidths = widths;
    for (int column = 0; column < widths.size() && column < CPropTreeModel::ValueColumn; ++column)
        m_view->setColumnWidth(column, widths[column]);
}

void CPropTreeWindow::SelectRow(CPropTreeItem* row) { m_find->Focus(row); }

std::vector<CPropTreeItem*> CPropTreeWindow::VisibleRows() const {
    std::vector<CPropTreeItem*> rows;
    const int height = m_view->viewport()->height();
    for (QModelIndex index = m_view->indexAt(QPoint(0, 0)); index.isValid(); index = m_view->indexBelow(index)) {
        if (m_view->visualRect(index).top() >= height) break;
        if (CPropTreeItem* row = m_model->ItemFromIndex(index)) rows.push_back(row);
    }
    return rows;
}

void CPropTreeWindow::ShowRowMenu(const QPoint& position) {
    const QModelIndex index = m_view->indexAt(position);
    const CPropTreeItem* item = m_model->ItemFromIndex(index);
    // Register sets have no register to work on.
    if (!item || !item->GetParent() || !item->GetParent()->GetParent() || m_rowCommands.isEmpty()) return;
    m_view->setCurrentIndex(index);  // as a click: the row is in hand first
    QMenu menu(this);
    menu.addActions(m_rowCommands);
    menu.exec(m_view->viewport()->mapToGlobal(position));
}

void CPropTreeWindow::ShowInfo(const QModelIndex& index) {
    // The row's description as its tooltip has it: where its value came from, then its info text.
    m_info->setText(m_model->ItemFromIndex(index) ? index.siblingAtColumn(0).data(Qt::ToolTipRole).toString() : QString());
}
