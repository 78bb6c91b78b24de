#pragma once

#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "editor/core/Requests.h"

#include <QMutex>
#include <QWaitCondition>

#include <functional>
#include <memory>

namespace Brisel {

// How the sending thread waits for the answer that the input thread brings.
class WaitForReplyMethod
{
public:
    virtual ~WaitForReplyMethod() = default;
    // Forgets any earlier arrival; called before each attempt.
    virtual void prepare() = 0;
    // True when an answer arrived since prepare (even before wait was
    // called), false when the wait timed out.
    virtual bool wait() = 0;
    // Input thread: runs store under the method's lock, unless an answer
    // already arrived since prepare (the first one wins); when store took the
    // message, marks the arrival and wakes the waiter.
    virtual void wake(const std::function<bool()> &store) = 0;
    // Runs an action under the same lock, for the state shared with wake.
    virtual void guarded(const std::function<void()> &action) = 0;
};

class SyncWaitMethod : public WaitForReplyMethod
{
public:
    static constexpr int TimeoutMs = 1000;

    void prepare() override;
    bool wait() override;
    void wake(const std::function<bool()> &store) override;
    void guarded(const std::function<void()> &action) override;

private:
    QMutex m_mutex;
    QWaitCondition m_condition;
    bool m_arrived = false;
};

// Sends requests on the output port of a link and listens on its input port
// for the whole of its life.
class SendAlgorithm : public Midi::MidiInObserver
{
public:
    ~SendAlgorithm() override;
    // Takes the request, runs the exchange and destroys the request.
    virtual void send(std::unique_ptr<SysexMessage> request, int retries) = 0;

protected:
    SendAlgorithm(Midi::MidiOutPort &output, Midi::MidiInPort &input);
    // Called by the concrete algorithm once it is fully built and before it is
    // torn down, so the input thread never reaches a half-built object.
    void startListening();
    void stopListening();

    Midi::MidiOutPort &m_output;
    Midi::MidiInPort &m_input;

private:
    bool m_listening = false;
};

class SynchronousSendAlgorithm : public SendAlgorithm
{
public:
    // Reads the "retries" and "interval" settings.
    SynchronousSendAlgorithm(Midi::MidiOutPort &output, Midi::MidiInPort &input);
    ~SynchronousSendAlgorithm() override;

    void received(const Midi::LongMessage &message) override;
    void send(std::unique_ptr<SysexMessage> request, int retries) override;

    int defaultRetries() const;
    unsigned interval() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The exchange tuning values of the machine-wide settings; a value that does
// not convert counts as 0, and so does a negative number of retries.
struct ExchangeSettings {
    int retries = 0;
    unsigned interval = 0;
    static ExchangeSettings read();
};

} // namespace Brisel
