// SPDX-License-Identifier: MIT
#include "ui/DeviceListModel.h"

#include <algorithm>

namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// A character no name holds between the parts, so a text never matches across two of them.
constexpr char kPartBreak = '\n';

std::string SearchKey(const DeviceChoice& choice) {
    const PackDevice& device = choice.device;
    return Lowered(device.name + kPartBreak + device.vendor + kPartBreak + device.family + kPartBreak +
                   choice.processor.core);
}

}  // namespace

CDeviceListModel::CDeviceListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CDeviceListModel::SetChoices(std::vector<DeviceChoice> choices) {
    beginResetModel();
    m_choices = std::move(choices);
    m_keys.clear();
    m_keys.reserve(m_choices.size());
    for (const DeviceChoice& choice : m_choices) m_keys.push_back(SearchKey(choice));
    m_filter.clear();
    m_shown.resize(m_choices.size());
    for (std::size_t i = 0; i < m_shown.size(); ++i) m_shown[i] = static_cast<int>(i);
    endResetModel();
}

void CDeviceListModel::SetFilter(const QString& text) {
    const std::string filter = Lowered(text.toStdString());
    if (filter == m_filter) return;
    // A text that only grew narrows the rows shown; any other looks at every device again.
    const bool narrows = filter.find(m_filter) != std::string::npos;
    std::vector<int> shown;
    const auto consider = [&](int index) {
        if (m_keys[static_cast<std::size_t>(index)].find(filter) != std::string::npos) shown.push_back(index);
    };
    if (narrows)
        for (int index : m_shown) consider(index);
    else
        for (int index = 0; index < static_cast<int>(m_choices.size()); ++index) consider(index);
    beginResetModel();
    m_shown = std::move(shown);
    m_filter = filter;
    endResetModel();
}

const DeviceChoice* CDeviceListModel::ChoiceAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_shown.size())) return nullptr;
    return &m_choices[static_cast<std::size_t>(m_shown[static_cast<std::size_t>(row)])];
}

int CDeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int CDeviceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant CDeviceListModel::data(const QModelIndex& index, int role) const {
    const DeviceChoice* choice = ChoiceAt(index.row());
    if (!choice || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    if (role == Qt::ToolTipRole) return QString::fromStdString(choice->Caption());
    switch (index.column()) {
    case kName: return QString::fromStdString(choice->device.name);
    case kProcessor: {
        // The processor's name where the device has several, else its core.
        const PackProcessor& processor = choice->processor;
        if (processor.name.empty()) return QString::fromStdString(processor.core);
        return QString::fromStdString(processor.name + (processor.core.empty() ? "" : " (" + processor.core + ")"));
    }
    case kVendor: return QString::fromStdString(choice->device.vendor);
    case kPack: return QString::fromStdString(choice->pack.PackName());
    case kVersion: return QString::fromStdString(choice->packVersion);
    default: return {};
    }
}

QVariant CDeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case kName: return tr("Device");
    case kProcessor: return tr("Processor");
    case kVendor: return tr("Vendor");
    case kPack: return tr("Pack");
    case kVersion: return tr("Version");
    default: return {};
    }
}
