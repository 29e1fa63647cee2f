// SPDX-License-Identifier: MIT
#include "ui/StartPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/RecentEntry.h"

CStartPanel::CStartPanel(QWidget* parent)
    : QWidget(parent), m_hint(new QLabel(this)), m_recentTitle(new QLabel(this)), m_recent(new QListWidget(this)) {
    m_hint->setText(tr("No register map is open.\n\n"
                       "Open a CMSIS-SVD file or a tavlin definitions file with Open... in the File menu "
                       "(Ctrl+O), or drop one here."));
    m_hint->setWordWrap(true);
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setAccessibleName(m_hint->text());
    m_recentTitle->setText(tr("&Recent maps:"));
    m_recentTitle->setBuddy(m_recent);
    m_recent->setAccessibleName(tr("Recent maps"));
    m_recent->setAccessibleDescription(tr("Enter or a click opens the map"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_hint);
    layout->addSpacing(8);
    layout->addWidget(m_recentTitle);
    layout->addWidget(m_recent, 1);
    setFocusProxy(m_recent);
    // A click and the activation a double click or Enter brings open the map once.
    const auto open = [this](QListWidgetItem* item) {
        if (!item || m_bOpening) return;
        m_bOpening = true;
        const QString path = item->data(Qt::UserRole).toString();
        QTimer::singleShot(0, this, [this, path] {
            m_bOpening = false;
            emit openRequested(path);
        });
    };
    connect(m_recent, &QListWidget::itemActivated, this, open);
    connect(m_recent, &QListWidget::itemClicked, this, open);
    SetRecentMaps({});
}

void CStartPanel::SetRecentMaps(const std::vector<std::string>& paths) {
    m_recent->clear();
    for (const std::string& path : paths) {
        const QString full = QString::fromStdString(path);
        // The file's name first, then where it is, as file choosers show them; a device by its name.
        auto* item = DeviceOfRecentEntry(path)
                         ? new QListWidgetItem(QString::fromStdString(RecentEntryText(path)))
                         : new QListWidgetItem(QFileInfo(full).fileName() + QStringLiteral(" \u2014 ") +
                                               QDir::toNativeSeparators(QFileInfo(full).absolutePath()));
        item->setData(Qt::UserRole, full);
        item->setToolTip(full);
        m_recent->addItem(item);
    }
    if (m_recent->count() > 0) m_recent->setCurrentRow(0);
    m_recentTitle->setVisible(!paths.empty());
    m_recent->setVisible(!paths.empty());
}
