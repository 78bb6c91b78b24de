#include "editor/core/Observer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> calls;
    void first() { calls.push_back("first"); }
    void second() { calls.push_back("second"); }
    void keyed(int key) { calls.push_back("key" + std::to_string(key)); }
};

using Proxy = Utils::ProxyObserver<Recorder>;
using MapProxy = Utils::ProxyMapObserver<Recorder, int>;

TEST(Observer, DeliversInAttachOrderAndAgainOnEveryNotify)
{
    Recorder r;
    Utils::Subject subject;
    Proxy second(&r, &Recorder::second);
    Proxy first(&r, &Recorder::first);
    subject.attach(&second);
    subject.attach(&first);
    subject.notify();
    subject.notify();
    EXPECT_EQ(r.calls, (std::vector<std::string>{"second", "first", "second", "first"}));
}

TEST(Observer, MapObserverPassesItsKey)
{
    Recorder r;
    Utils::Subject a, b;
    MapProxy onA(&r, &Recorder::keyed, 3);
    MapProxy onB(&r, &Recorder::keyed, 7);
    a.attach(&onA);
    b.attach(&onB);
    b.notify();
    a.notify();
    EXPECT_EQ(r.calls, (std::vector<std::string>{"key7", "key3"}));
}

TEST(Observer, DestroyedObserverIsDetachedFromEverySubject)
{
    Recorder r;
    Utils::Subject a, b;
    Proxy stays(&r, &Recorder::first);
    auto goes = std::make_unique<Proxy>(&r, &Recorder::second);
    a.attach(goes.get());
    b.attach(goes.get());
    a.attach(&stays);
    goes.reset();
    a.notify();
    b.notify();
    EXPECT_EQ(r.calls, (std::vector<std::string>{"first"}));
    EXPECT_EQ(Utils::SubjectRegistry::instance().observerCount(&b), 0);
}

TEST(Observer, DestroyedSubjectDropsItsListAndObserverOutlivesIt)
{
    Recorder r;
    Proxy observer(&r, &Recorder::first);
    Utils::Subject other;
    other.attach(&observer);
    auto subject = std::make_unique<Utils::Subject>();
    subject->attach(&observer);
    subject.reset();
    // A new subject may reuse the address: it starts with no observers.
    Utils::Subject reused;
    reused.notify();
    // The observer's own list no longer names the dead subject: destroying
    // the observer later must not touch it (ASan would see it).
    other.notify();
    EXPECT_EQ(r.calls, (std::vector<std::string>{"first"}));
}

TEST(Observer, DetachRemovesOneAttachment)
{
    Recorder r;
    Utils::Subject subject;
    Proxy observer(&r, &Recorder::first);
    subject.attach(&observer);
    subject.attach(&observer);
    subject.detach(&observer);
    subject.notify();
    EXPECT_EQ(r.calls.size(), 1u);
}

// An observer that breaks the rule and attaches another during notification
// must not crash the walk.
struct Attacher : Utils::Observer {
    Utils::Subject *subject = nullptr;
    Utils::Observer *extra = nullptr;
    void update() override
    {
        if (extra)
            subject->attach(std::exchange(extra, nullptr));
    }
};

TEST(Observer, AttachDuringNotifyIsSafe)
{
    Recorder r;
    Utils::Subject subject;
    Proxy late(&r, &Recorder::first);
    Attacher attacher;
    attacher.subject = &subject;
    attacher.extra = &late;
    subject.attach(&attacher);
    subject.notify();
    subject.notify();
    EXPECT_EQ(r.calls.size(), 2u);
}

} // namespace
