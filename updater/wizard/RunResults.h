#pragma once

#include "updater/engine/UpdateRun.h"

#include <QString>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace Oxa {

class UpdaterServices;

// One line of the final page: a device, its versions before and after the
// run, and what the run did to it.
struct DeviceResult {
    QString name;
    QString serialNumber;
    QString before;
    QString after; // as the device reports it after the run; empty when it is gone
    QString result;
};

// The device list as it stood when the run started.
class RunResults
{
public:
    explicit RunResults(const UpdaterServices &services);

    // Each device of the list before the run, with the versions the rescanned
    // list `after` reports now.
    std::vector<DeviceResult> lines(const UpdateOutcome &outcome, const UpdaterServices &after) const;

private:
    struct Before {
        std::wstring path;
        DeviceResult line;
        bool selected;
    };
    std::vector<Before> m_before;
};

// The results as a table.
class RunResultsView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit RunResultsView(QWidget *parent = nullptr);
    void showResults(const std::vector<DeviceResult> &lines);
};

} // namespace Oxa
