#include "updater/wizard/DevicesModel.h"

#include "updater/core/Log.h"
#include "updater/core/UpdaterServices.h"

namespace Oxa {

DevicesModel::DevicesModel(UpdaterServices &services, QObject *parent)
    : QAbstractTableModel(parent), m_services(services)
{
    m_services.rescan();
}

void DevicesModel::rescan()
{
    beginResetModel();
    m_services.rescan();
    endResetModel();
}

int DevicesModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_services.deviceCount(); }

int DevicesModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DevicesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) {
        log("DevicesModel::headerData - Unexpected orientation");
        return QVariant();
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NameColumn:
        return tr("Device");
    case SerialColumn:
        return tr("Serial Number");
    case CurrentColumn:
        return tr("Current Version");
    case NewColumn:
        return tr("New Version");
    default:
        return QVariant();
    }
}

QVariant DevicesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_services.deviceCount())
        return QVariant();
    const Device &device = m_services.device(index.row());
    if (role == Qt::CheckStateRole && index.column() == NameColumn)
        return device.selected() ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case NameColumn:
        return QString::fromStdString(device.name());
    case SerialColumn:
        return QString::fromStdString(device.serialNumber());
    case CurrentColumn:
        return QString::fromStdString(device.currentVersion());
    case NewColumn:
        return QString::fromStdString(device.newVersion());
    default:
        return QVariant();
    }
}

bool DevicesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= m_services.deviceCount())
        return false;
    m_services.setSelected(index.row(), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags DevicesModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_services.deviceCount() || !m_services.selectable(index.row()))
        return Qt::NoItemFlags;
    if (index.column() == NameColumn)
        return Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled;
}

} // namespace Oxa
