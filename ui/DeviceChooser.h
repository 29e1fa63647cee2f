// SPDX-License-Identifier: MIT
#pragma once
// The device chooser File > Open device... and an opened .pack show: a find
// field over the devices, narrowed as one types, above their list (name,
// processor, vendor, pack, version). Up and Down move in the list from the
// find field, Enter (or a double click) chooses the device in hand, Escape
// closes. Shown without blocking: the choice comes as deviceChosen.
#include <QDialog>
#include <vector>

#include "packs/DeviceCatalog.h"

class CDeviceListModel;
class QLabel;
class QLineEdit;
class QTreeView;

class CDeviceChooser : public QDialog {
    Q_OBJECT
public:
    // `where` says whose devices are listed ("the installed packs", a .pack's name).
    CDeviceChooser(std::vector<DeviceChoice> choices, const QString& where, QWidget* parent = nullptr);

    QLineEdit* Find() const { return m_find; }
    QTreeView* List() const { return m_list; }
    CDeviceListModel* Model() const { return m_model; }
    QLabel* Count() const { return m_count; }
    // The device in hand; null when the list is empty.
    const DeviceChoice* Current() const;

signals:
    // The user chose `choice`; the chooser has closed.
    void deviceChosen(const DeviceChoice& choice);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Narrow(const QString& text);
    void MoveBy(int rows);
    void Choose();

    QLineEdit* m_find;
    QTreeView* m_list;
    QLabel* m_count;
    CDeviceListModel* m_model;
};
