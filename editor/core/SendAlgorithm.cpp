#include "editor/core/SendAlgorithm.h"

#include "editor/core/LockAnnotations.h"
#include "editor/core/SettingsNames.h"

#include <QDeadlineTimer>
#include <QSettings>
#include <QThread>

namespace Brisel {

namespace {
const char *const Group = "Settings";
} // namespace

ExchangeSettings ExchangeSettings::read()
{
    QSettings settings(QSettings::SystemScope, SettingsNames::Organisation, SettingsNames::Application);
    settings.beginGroup(Group);
    ExchangeSettings result;
    bool ok = false;
    const int retries = settings.value("retries", 0).toInt(&ok);
    result.retries = ok && retries > 0 ? retries : 0;
    const unsigned interval = settings.value("interval", 0).toUInt(&ok);
    result.interval = ok ? interval : 0;
    return result;
}

void SyncWaitMethod::prepare()
{
    Utils::MutexLocker lock(m_mutex);
    m_arrived = false;
}

bool SyncWaitMethod::wait()
{
    Utils::MutexLocker lock(m_mutex);
    QDeadlineTimer deadline(TimeoutMs);
    while (!m_arrived) {
        if (!lock.wait(m_condition, deadline))
            break;
    }
    return m_arrived;
}

void SyncWaitMethod::wake(const std::function<bool()> &store)
{
    Utils::MutexLocker lock(m_mutex);
    if (m_arrived || !store())
        return;
    m_arrived = true;
    m_condition.wakeOne();
}

void SyncWaitMethod::guarded(const std::function<void()> &action)
{
    Utils::MutexLocker lock(m_mutex);
    action();
}

SendAlgorithm::SendAlgorithm(Midi::MidiOutPort &output, Midi::MidiInPort &input) : m_output(output), m_input(input) {}

SendAlgorithm::~SendAlgorithm() { stopListening(); }

void SendAlgorithm::startListening()
{
    m_input.attach(this);
    m_listening = true;
}

void SendAlgorithm::stopListening()
{
    if (m_listening)
        m_input.detach(this);
    m_listening = false;
}

struct SynchronousSendAlgorithm::Private {
    SysexMessage *pending = nullptr; // guarded by the wait method
    Midi::LongMessage reply;         // guarded by the wait method
    SyncWaitMethod waitMethod;
    ExchangeSettings settings = ExchangeSettings::read();

    // The settled interval between attempts; nothing cuts it short.
    void pause() { QThread::msleep(settings.interval); }
};

SynchronousSendAlgorithm::SynchronousSendAlgorithm(Midi::MidiOutPort &output, Midi::MidiInPort &input)
    : SendAlgorithm(output, input), d(std::make_unique<Private>())
{
    startListening();
}

SynchronousSendAlgorithm::~SynchronousSendAlgorithm() { stopListening(); }

int SynchronousSendAlgorithm::defaultRetries() const { return d->settings.retries; }

unsigned SynchronousSendAlgorithm::interval() const { return d->settings.interval; }

void SynchronousSendAlgorithm::send(std::unique_ptr<SysexMessage> request, int retries)
{
    SysexMessage *const pending = request.get();
    d->waitMethod.guarded([&] { d->pending = pending; });
    const int repeats = retries > 0 ? retries : d->settings.retries;
    for (int attempt = 0; attempt <= repeats; ++attempt) {
        if (attempt > 0 && d->settings.interval > 0)
            d->pause();
        d->waitMethod.prepare();
        m_output.send(pending->message()); // a failed send simply times out
        if (d->waitMethod.wait()) {
            Midi::LongMessage reply;
            d->waitMethod.guarded([&] { std::swap(reply, d->reply); });
            pending->handleReply(reply);
            break;
        }
    }
    d->waitMethod.guarded([&] {
        d->pending = nullptr;
        d->reply.clear();
    });
}

void SynchronousSendAlgorithm::received(const Midi::LongMessage &message)
{
    d->waitMethod.wake([&] {
        if (!d->pending)
            return false;
        d->reply = message;
        return true;
    });
}

} // namespace Brisel
