// SPDX-License-Identifier: MIT
#include "ui/DeviceChooser.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/DeviceListModel.h"

CDeviceChooser::CDeviceChooser(std::vector<DeviceChoice> choices, const QString& where, QWidget* parent)
    : QDialog(parent), m_find(new QLineEdit(this)), m_list(new QTreeView(this)), m_count(new QLabel(this)),
      m_model(new CDeviceListModel(this)) {
    setWindowTitle(tr("Open device"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_model->SetChoices(std::move(choices));

    auto* findLabel = new QLabel(tr("&Find a device of %1 (name, vendor, family or core):").arg(where), this);
    findLabel->setBuddy(m_find);
    m_find->setClearButtonEnabled(true);
    m_find->setAccessibleName(tr("Find a device"));
    m_find->installEventFilter(this);

    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);  // tens of thousands of rows are laid out without measuring each
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAccessibleName(tr("Devices"));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(CDeviceListModel::kName, QHeaderView::Stretch);
    m_list->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(findLabel);
    layout->addWidget(m_find);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);
    resize(720, 480);

    connect(m_find, &QLineEdit::textChanged, this, &CDeviceChooser::Narrow);
    connect(m_list, &QTreeView::activated, this, [this] { Choose(); });
    Narrow(QString());
    m_find->setFocus(Qt::OtherFocusReason);
}

const DeviceChoice* CDeviceChooser::Current() const { return m_model->ChoiceAt(m_list->currentIndex().row()); }

void CDeviceChooser::Narrow(const QString& text) {
    m_model->SetFilter(text.trimmed());
    if (m_model->rowCount() > 0) m_list->setCurrentIndex(m_model->index(0, 0));
    m_count->setText(tr("%1 of %2 devices").arg(m_model->rowCount()).arg(m_model->DeviceCount()));
}

void CDeviceChooser::MoveBy(int rows) {
    const int count = m_model->rowCount();
    if (count == 0) return;
    const int row = std::clamp(m_list->currentIndex().row() + rows, 0, count - 1);
    m_list->setCurrentIndex(m_model->index(row, 0));
}

void CDeviceChooser::Choose() {
    const DeviceChoice* current = Current();
    if (!current) return;
    const DeviceChoice chosen = *current;  // the chooser is deleted once closed
    accept();
    emit deviceChosen(chosen);
}

bool CDeviceChooser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int page = std::max(1, m_list->viewport()->height() / std::max(1, m_list->sizeHintForRow(0)));
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Choose(); return true;
    case Qt::Key_Down:
        if (watched != m_find) break;
        MoveBy(1);
        return true;
    case Qt::Key_Up:
        if (watched != m_find) break;
        MoveBy(-1);
        return true;
    case Qt::Key_PageDown:
        if (watched != m_find) break;
        MoveBy(page);
        return true;
    case Qt::Key_PageUp:
        if (watched != m_find) break;
        MoveBy(-page);
        return true;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}
