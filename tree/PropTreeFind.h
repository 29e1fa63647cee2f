// SPDX-License-Identifier: MIT
#pragma once
// Find in the tree: Ctrl+F opens a filter field above the rows; as the user
// types, the tree shows only the matching rows (see CPropTreeFilter) with
// their parents expanded, and the first match becomes the focused row, as if
// clicked. Enter and Down step to the next match, Up to the one before.
// Escape shows the whole tree again as it was before Ctrl+F, with the focused
// row's parents expanded and the row in view, and gives the keyboard focus
// back to the tree. A "Changed only" switch beside the field (Ctrl+Shift+D
// anywhere in the window) shows only the registers and fields that differ
// from their baseline, with the find text or without. When a find text
// shows no row, the rows' area says so while the user goes on typing.
#include <QObject>
#include <vector>

class CPropTreeItem;
class CPropTreeModel;
class CPropTreeView;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

class CPropTreeFind : public QObject {
    Q_OBJECT
public:
    CPropTreeFind(CPropTreeView& view, CPropTreeModel& model, QWidget& window);

    QLineEdit* Field() const { return m_field; }
    QCheckBox* ChangedOnly() const { return m_changedOnly; }
    // "No row matches '...'", over the rows' area while a find text shows none.
    QLabel* NoMatchNote() const { return m_noMatch; }
    // The field and the switch, above the rows.
    QWidget* Bar() const { return m_bar; }
    // The command that opens the find (Ctrl+F anywhere in the window), for menus.
    QAction* FindAction() const { return m_findAction; }
    bool IsOpen() const;

    void Open();
    // Ends the find; `restore` shows the tree as it was before it.
    void Close(bool restore);
    // Applies `text` as the user typing it would.
    void Apply(const QString& text);
    // Turns "Changed only" on or off, opening the find when it is closed.
    void SetChangedOnly(bool on);
    // Focuses the match `step` places after the current one (negative: before).
    void Step(int step);
    // Makes `row` the focused row as a click does, so every notification
    // follows: its parents expanded and it in view. A row the find hides now
    // is focused in the tree alone.
    void Focus(CPropTreeItem* row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ExpandParentsOf(CPropTreeItem* row);
    void ShowNoMatchNote(const QString& text, bool show);

    CPropTreeView& m_view;
    CPropTreeModel& m_model;
    QWidget* m_bar;
    QLineEdit* m_field;
    QCheckBox* m_changedOnly;
    QLabel* m_noMatch;
    // The rows' area, as watched: kept here, since it is asked of the view
    // no more once the view is being destroyed and still sends events.
    QObject* m_viewport = nullptr;
    QAction* m_findAction = nullptr;
    int m_match = -1;                          // the focused match
    std::vector<CPropTreeItem*> m_expanded;   // expanded before the find
};
