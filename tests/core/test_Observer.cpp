#include "editor/core/Observer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> log;
    void first() { log.push_back("first"); }
    void keyed(int key) { log.push_back("key " + std::to_string(key)); }
};

TEST(Observer, NotifiesInAttachOrder)
{
    Recorder recorder;
    Utils::Subject subject;
    Utils::ProxyObserver<Recorder> a(&recorder, &Recorder::first);
    Utils::ProxyMapObserver<Recorder, int> b(&recorder, &Recorder::keyed, 7);
    subject.attach(&b);
    subject.attach(&a);
    subject.notify();
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"key 7", "first"}));
    subject.detach(&b);
    subject.notify();
    EXPECT_EQ(recorder.log.back(), "first");
    EXPECT_EQ(subject.observerCount(), 1u);
}

TEST(Observer, DestroyedObserverLeavesEverySubject)
{
    Recorder recorder;
    Utils::Subject one;
    Utils::Subject two;
    {
        auto observer = std::make_unique<Utils::ProxyObserver<Recorder>>(&recorder, &Recorder::first);
        one.attach(observer.get());
        two.attach(observer.get());
    }
    one.notify();
    two.notify();
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(one.observerCount(), 0u);
}

TEST(Observer, DestroyedSubjectDropsItsList)
{
    Recorder recorder;
    Utils::ProxyObserver<Recorder> observer(&recorder, &Recorder::first);
    {
        Utils::Subject subject;
        subject.attach(&observer);
    }
    Utils::Subject other; // may reuse the address
    other.notify();
    EXPECT_TRUE(recorder.log.empty());
}

} // namespace
