// SPDX-License-Identifier: MIT
#pragma once
// The devices the chooser lists, one row a device and processor: its name,
// processor, vendor, pack and version. A find text narrows the rows to those
// whose name, vendor, family or core holds it, ignoring case; the rows are
// held once and narrowed by index, so tens of thousands stay quick to filter.
#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "packs/DeviceCatalog.h"

class CDeviceListModel : public QAbstractTableModel {
public:
    enum Column { kName, kProcessor, kVendor, kPack, kVersion, kColumns };

    explicit CDeviceListModel(QObject* parent = nullptr);

    // The devices, in the order shown; every one is shown until a filter narrows them.
    void SetChoices(std::vector<DeviceChoice> choices);
    // Shows the devices whose name, vendor, family or core holds `text`, ignoring case (all for an empty text).
    void SetFilter(const QString& text);

    // The device of a shown row; null outside the rows.
    const DeviceChoice* ChoiceAt(int row) const;
    int DeviceCount() const { return static_cast<int>(m_choices.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<DeviceChoice> m_choices;
    std::vector<std::string> m_keys;  // each device's name, vendor, family and core, lowered, one text
    std::vector<int> m_shown;         // the rows shown, as indexes of m_choices
    std::string m_filter;             // lowered
};
