// SPDX-License-Identifier: MIT
#include "ui/PackFoldersDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

CPackFoldersDlg::FolderAsker& Asker() {
    static CPackFoldersDlg::FolderAsker asker;
    return asker;
}

QString AskForFolder(QWidget* parent, const QString& start) {
    if (Asker()) return Asker()(parent, start);
    return QFileDialog::getExistingDirectory(parent, QObject::tr("Add a pack folder"), start);
}

}  // namespace

CPackFoldersDlg::FolderAsker CPackFoldersDlg::SetFolderAsker(FolderAsker asker) {
    FolderAsker previous = std::move(Asker());
    Asker() = std::move(asker);
    return previous;
}

CPackFoldersDlg::CPackFoldersDlg(const QStringList& folders, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_add(new QPushButton(tr("&Add..."), this)),
      m_remove(new QPushButton(tr("&Remove"), this)) {
    setWindowTitle(tr("Pack folders"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label = new QLabel(tr("&Folders of your own packs, searched first, before $CMSIS_PACK_ROOT and the folders "
                                "the pack tools use:"),
                             this);
    label->setWordWrap(true);
    label->setBuddy(m_list);
    m_list->setAccessibleName(tr("Pack folders"));
    for (const QString& folder : folders) m_list->addItem(QDir::toNativeSeparators(folder));
    if (m_list->count() > 0) m_list->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* side = new QVBoxLayout;
    side->addWidget(m_add);
    side->addWidget(m_remove);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);
    resize(520, 300);

    connect(m_add, &QPushButton::clicked, this, [this] { AddFolder(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { RemoveFolder(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { Follow(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Follow();
}

QStringList CPackFoldersDlg::Folders() const {
    QStringList folders;
    for (int row = 0; row < m_list->count(); ++row) folders.push_back(QDir::fromNativeSeparators(m_list->item(row)->text()));
    return folders;
}

void CPackFoldersDlg::AddFolder() {
    const QListWidgetItem* current = m_list->currentItem();
    const QString folder = AskForFolder(this, current ? current->text() : QDir::homePath());
    if (folder.isEmpty()) return;
    const QString shown = QDir::toNativeSeparators(folder);
    // A folder listed already moves nowhere: it is only made the one in hand.
    const QList<QListWidgetItem*> listed = m_list->findItems(shown, Qt::MatchExactly);
    if (!listed.isEmpty()) {
        m_list->setCurrentItem(listed.front());
        return;
    }
    m_list->addItem(shown);
    m_list->setCurrentRow(m_list->count() - 1);
    Follow();
}

void CPackFoldersDlg::RemoveFolder() {
    delete m_list->takeItem(m_list->currentRow());
    Follow();
}

void CPackFoldersDlg::Follow() { m_remove->setEnabled(m_list->currentRow() >= 0); }
