#pragma once
// Shared by the runtime's own tests: a scripted Ui and host for each test,
// checked when the test ends.
#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/forms/test_host.h"
#include "platform/forms/test_ui.h"

namespace forms::testing {

class FormsTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_NO_THROW(ui.verifyDone());
        EXPECT_NO_THROW(host.verifyDone());
    }

    TestUi ui;
    ScopedUi useUi{ui};
    TestHost host;
};

// Appends "<name>.<event>" to a log: the order events ran in.
class EventLog {
public:
    std::function<void()> record(std::string entry) {
        return [this, entry = std::move(entry)] { entries.push_back(entry); };
    }
    std::vector<std::string> entries;
};

}  // namespace forms::testing
