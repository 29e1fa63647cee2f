// SPDX-License-Identifier: MIT
#include "tree/PropTreeFind.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QShortcut>

#include "tree/PropTree.h"
#include "tree/PropTreeFilter.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"

namespace {

// The expanded rows below `parent`, parents before their children.
void CollectExpanded(const CPropTreeView& view, const CPropTreeModel& model, const QModelIndex& parent,
                     std::vector<CPropTreeItem*>& out) {
    const int rows = model.rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (!view.isExpanded(index)) continue;
        out.push_back(model.ItemFromIndex(index));
        CollectExpanded(view, model, index, out);
    }
}

}  // namespace

CPropTreeFind::CPropTreeFind(CPropTreeView& view, CPropTreeModel& model, QWidget& window)
    : QObject(&window),
      m_view(view),
      m_model(model),
      m_bar(new QWidget(&window)),
      m_field(new QLineEdit(m_bar)),
      m_changedOnly(new QCheckBox(tr("C&hanged only"), m_bar)),
      m_noMatch(new QLabel(&m_view)) {
    auto* layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_changedOnly);
    m_field->setPlaceholderText(tr("Find a register or field"));
    m_field->setClearButtonEnabled(true);
    m_changedOnly->setToolTip(tr("Only the registers and fields that differ from their reset or compared values "
                                 "(Ctrl+Shift+D)"));
    m_bar->hide();
    // Over the rows' area, which has no rows while it shows, and a child of
    // the view rather than of that area, which moves its children as it scrolls.
    m_noMatch->setTextFormat(Qt::PlainText);
    m_noMatch->setAlignment(Qt::AlignCenter);
    m_noMatch->setWordWrap(true);
    m_noMatch->setForegroundRole(QPalette::PlaceholderText);
    m_noMatch->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_noMatch->hide();
    m_viewport = m_view.viewport();
    m_viewport->installEventFilter(this);
    m_field->installEventFilter(this);
    m_changedOnly->installEventFilter(this);
    connect(m_field, &QLineEdit::textEdited, this, &CPropTreeFind::Apply);
    connect(m_changedOnly, &QCheckBox::toggled, this, [this]() { Apply(m_field->text()); });
    auto* changed = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), &window);
    changed->setContext(Qt::WindowShortcut);
    connect(changed, &QShortcut::activated, this, [this]() { SetChangedOnly(!m_changedOnly->isChecked()); });
    // Wherever the focus is in the window, as the user expects of Ctrl+F.
    m_findAction = new QAction(tr("&Find..."), &window);
    m_findAction->setShortcut(QKeySequence::Find);
    m_findAction->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_findAction);
    connect(m_findAction, &QAction::triggered, this, &CPropTreeFind::Open);
    connect(&m_model, &CPropTreeModel::filterDropped, this, [this]() { Close(false); });
}

bool CPropTreeFind::IsOpen() const { return m_bar->isVisible(); }

void CPropTreeFind::SetChangedOnly(bool on) {
    if (on) Open();
    m_changedOnly->setChecked(on);
}

void CPropTreeFind::Open() {
    if (!IsOpen()) {
        m_expanded.clear();
        CollectExpanded(m_view, m_model, QModelIndex(), m_expanded);
        // The rows laid out once for all the keystrokes to come.
        m_model.PrepareFinds();
        m_bar->show();
    }
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void CPropTreeFind::Apply(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    m_model.SetFilter(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), m_changedOnly->isChecked());
    m_match = -1;
    const CPropTreeFilter* filter = m_model.Filter();
    ShowNoMatchNote(text, filter && filter->Matches().empty() && !text.isEmpty());
    if (!filter) return;
    for (std::size_t i = 0; i < filter->Ancestors().size(); ++i) m_view.expand(m_model.AncestorIndex(i));
    if (!filter->Matches().empty()) Step(1);
}

void CPropTreeFind::ShowNoMatchNote(const QString& text, bool show) {
    if (show) {
        m_noMatch->setText(tr("No row matches '%1'").arg(text));
        m_noMatch->setGeometry(m_view.viewport()->geometry());
    }
    m_noMatch->setVisible(show);
}

void CPropTreeFind::Step(int step) {
    const CPropTreeFilter* filter = m_model.Filter();
    if (!filter || filter->Matches().empty()) return;
    const int count = static_cast<int>(filter->Matches().size());
    m_match = m_match < 0 ? 0 : ((m_match + step) % count + count) % count;
    Focus(filter->Matches()[static_cast<size_t>(m_match)]);
}

void CPropTreeFind::ExpandParentsOf(CPropTreeItem* row) {
    std::vector<CPropTreeItem*> parents;
    for (CPropTreeItem* parent = row->GetParent(); parent && parent->GetParent(); parent = parent->GetParent())
        parents.push_back(parent);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) m_view.expand(m_model.IndexFromItem(*it));
}

void CPropTreeFind::Focus(CPropTreeItem* row) {
    const QModelIndex index = m_model.IndexFromItem(row);
    if (!index.isValid()) {
        if (m_model.Tree()) m_model.Tree()->UserSelectItem(row);
        return;
    }
    ExpandParentsOf(row);
    m_view.setCurrentIndex(index);
    m_view.scrollTo(index);
}

void CPropTreeFind::Close(bool restore) {
    if (!IsOpen()) return;
    m_bar->hide();
    m_field->clear();
    ShowNoMatchNote({}, false);
    {
        const QSignalBlocker quiet(m_changedOnly);
        m_changedOnly->setChecked(false);
    }
    m_match = -1;
    m_model.EndFinds();
    if (!restore) return;
    CPropTreeItem* focused = m_model.Tree() ? m_model.Tree()->GetFocusedItem() : nullptr;
    m_model.SetFilter({});
    m_model.EndFinds();
    for (CPropTreeItem* row : m_expanded) m_view.expand(m_model.IndexFromItem(row));
    m_expanded.clear();
    if (focused) {
        // The focused row is the tree's own already: this only shows it.
        Focus(focused);
    }
    m_view.setFocus(Qt::OtherFocusReason);
}

bool CPropTreeFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_viewport) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            m_noMatch->setGeometry(static_cast<QWidget*>(watched)->geometry());
        return QObject::eventFilter(watched, event);
    }
    if ((watched != m_field && watched != m_changedOnly) || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // The dialog would take Enter and Escape for itself and close: here they belong to the find.
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Escape: Close(true); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down: Step(1); return true;
    case Qt::Key_Up: Step(-1); return true;
    default: return false;
    }
}
