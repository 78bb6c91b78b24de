#include "editor/core/DeviceLink.h"

#include <atomic>

namespace Brisel {

namespace {
std::atomic<int> liveLinks{0};
} // namespace

DeviceLink::DeviceLink(const DeviceRecord &record)
    : m_record(record), m_output(unsigned(record.outputIndex)), m_input(unsigned(record.inputIndex))
{
    ++liveLinks;
    if (!m_output.open() || !m_input.open()) {
        m_output.close();
        m_input.close();
    }
    m_algorithm = std::make_unique<SynchronousSendAlgorithm>(m_output, m_input);
}

DeviceLink::~DeviceLink()
{
    m_algorithm.reset();
    m_input.close();
    m_output.close();
    --liveLinks;
}

void DeviceLink::submit(std::unique_ptr<SysexMessage> request) { m_algorithm->send(std::move(request), 0); }

int DeviceLink::liveCount() { return liveLinks.load(); }

} // namespace Brisel
