#pragma once

#include "editor/core/Observer.h"
#include "editor/core/model/CBPatch.h"

#include <gtest/gtest.h>

// Puts the process-wide patch model back to the factory state, so tests do
// not see each other's edits.
class ModelFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CBPatch &model = CBPatch::instance();
        model.initPatch();
        model.initZones();
        model.initBankSettings();
    }
};

// Counts notifications of one subject.
struct NotifyCounter : Utils::Observer {
    explicit NotifyCounter(Utils::Subject &subject) { subject.attach(this); }
    void update() override { ++count; }
    int count = 0;
};
