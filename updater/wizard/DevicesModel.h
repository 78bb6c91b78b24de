#pragma once

#include <QAbstractTableModel>

namespace Oxa {

class UpdaterServices;

// The devices of the last rescan, one row each: name, serial number,
// current and new version; the first column carries the selection.
class DevicesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, SerialColumn, CurrentColumn, NewColumn, ColumnCount };

    // Rescans the devices.
    explicit DevicesModel(UpdaterServices &services, QObject *parent = nullptr);

    void rescan();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    UpdaterServices &m_services;
};

} // namespace Oxa
