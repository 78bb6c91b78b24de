#pragma once

#include <QDateTime>
#include <QString>

namespace Oxa {

// One device's update as the log keeps it.
struct UpdateRecord {
    QDateTime time;
    QString device;
    QString serialNumber;
    QString oldVersion;
    QString newVersion;
    bool succeeded = false;
    QString failedStep; // empty on success
};

// The log of every update, one line each, appended (never rewritten: an
// interrupted append loses at most its own line).
class UpdateLog
{
public:
    explicit UpdateLog(QString path = defaultPath()) : m_path(std::move(path)) {}

    // $XDG_DATA_HOME/vorpad/updates.log (~/.local/share/... by default).
    static QString defaultPath();
    const QString &path() const { return m_path; }
    bool append(const UpdateRecord &record) const;
    static QString format(const UpdateRecord &record);

private:
    QString m_path;
};

} // namespace Oxa
