#include "updater/wizard/RunResults.h"

#include "updater/core/UpdaterServices.h"

#include <QHeaderView>

namespace Oxa {

namespace {

QString tr(const char *text) { return RunResultsView::tr(text); }

QString text(const std::string &s) { return QString::fromStdString(s); }

QString resultText(const UpdateRecord &record)
{
    return record.succeeded ? tr("updated") : tr("failed (%1)").arg(record.failedStep);
}

} // namespace

RunResults::RunResults(const UpdaterServices &services)
{
    for (int i = 0; i < services.deviceCount(); ++i) {
        const Device &device = services.device(i);
        DeviceResult line{text(device.name()), text(device.serialNumber()), text(device.currentVersion()), {}, {}};
        m_before.push_back({device.path(), line, device.selected()});
    }
}

std::vector<DeviceResult> RunResults::lines(const UpdateOutcome &outcome, const UpdaterServices &after) const
{
    std::vector<DeviceResult> out;
    for (std::size_t i = 0; i < m_before.size(); ++i) {
        DeviceResult line = m_before[i].line;
        line.result = m_before[i].selected ? tr("not started") : tr("not selected");
        for (const auto &[index, record] : outcome.records) {
            if (std::size_t(index) == i)
                line.result = resultText(record);
        }
        for (int d = 0; d < after.deviceCount(); ++d) {
            if (after.device(d).path() == m_before[i].path)
                line.after = text(after.device(d).currentVersion());
        }
        out.push_back(line);
    }
    return out;
}

RunResultsView::RunResultsView(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("Results View"));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHeaderLabels({tr("Device"), tr("Serial Number"), tr("Before"), tr("After"), tr("Result")});
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
}

void RunResultsView::showResults(const std::vector<DeviceResult> &lines)
{
    clear();
    for (const DeviceResult &line : lines)
        addTopLevelItem(new QTreeWidgetItem({line.name, line.serialNumber, line.before, line.after, line.result}));
    show();
}

} // namespace Oxa
