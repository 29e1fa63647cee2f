// SPDX-License-Identifier: MIT
#pragma once
// The tree on screen: a tree view over the rows and, under it, an info pane
// with the focused row's description. Selection and committed edits are
// passed to the tree as the user's actions; what the program changes is
// only shown.
#include <QKeySequence>
#include <QList>
#include <QTreeView>
#include <QWidget>
#include <functional>
#include <vector>

class CPropTree;
class CPropTreeFind;
class CPropTreeItem;
class CPropTreeModel;
class QAction;
class QLabel;

class CPropTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit CPropTreeView(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class CPropTreeWindow;
    bool m_bFollowingTree = false;
};

class CPropTreeWindow : public QWidget {
    Q_OBJECT
public:
    // Becomes the window of `tree` (tree.m_hWnd) for as long as both exist.
    CPropTreeWindow(CPropTree& tree, QWidget* parent);
    ~CPropTreeWindow() override;

    CPropTreeView* View() const { return m_view; }
    CPropTreeModel* Model() const { return m_model; }
    QLabel* InfoPane() const { return m_info; }
    CPropTreeFind* Find() const { return m_find; }

    // A command on the rows below the top level (registers and fields): in
    // the context menu of such a row, with its shortcut shown beside it. The
    // shortcut works in the whole window, or only in the tree with `inTree`.
    QAction* AddRowCommand(const QString& text, const QKeySequence& keys, bool inTree, std::function<void()> run);
    // Makes `row` the focused row as a click does, so every notification
    // follows, with its parents expanded and the row scrolled into view. A
    // row a find hides is focused all the same, and shown when the find ends.
    void SelectRow(CPropTreeItem* row);
    // The rows the view shows now, top to bottom (those scrolled out of
    // view or under a collapsed parent are not shown).
    std::vector<CPropTreeItem*> VisibleRows() const;
    // Puts `widget` between the rows and the description pane.
    void SetDetailWidget(QWidget* widget);
    // Shows `placeholder` in place of the rows, the detail widget and the
    // description pane (for a window with no rows to show), or the rows again.
    void ShowPlaceholder(QWidget* placeholder, bool show);
    // The widths the columns take at each reset of the rows (a load, a find),
    // in place of widths made from the window's; empty for those.
    void SetColumnWidths(const QList<int>& widths);

private:
    void ShowInfo(const QModelIndex& index);
    void ShowRowMenu(const QPoint& position);

    CPropTreeModel* m_model;
    CPropTreeView* m_view;
    QLabel* m_info;
    QWidget* m_detail = nullptr;
    CPropTreeFind* m_find;
    QList<int> m_columnWidths;
    QList<QAction*> m_rowCommands;
};
