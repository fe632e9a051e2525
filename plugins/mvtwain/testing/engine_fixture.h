#pragma once
// An engine over SANE's test backend in a private configuration, with the
// host services cleared before and after each test.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/win/global_memory.h"
#include "platform/win/pending_messages.h"
#include "platform/win/scan_dialogs.h"
#include "plugins/mvtwain/scripted_source.h"
#include "plugins/mvtwain/testing/sane_test_config.h"
#include "plugins/mvtwain/twain_engine.h"

namespace mvtwain::testing {

// What a packed DIB handed over says of itself.
struct DibHeader {
    int32_t width = 0;
    int32_t height = 0;
    int bitCount = 0;
    uint32_t pixelsPerMetre = 0;
    size_t bytes = 0;
};

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { clearServices(); }
    ~EngineTest() override { clearServices(); }

    static void clearServices() {
        win::SetScanDialogService({});
        win::SetPendingMessagesHandler({});
    }

    // Sets a device option as a user does: through the setup dialog.
    void setInSetup(Engine& e, const std::string& name, const std::string& text, double value = 0) {
        win::ScanDialogService service;
        bool found = false;
        service.editSetup = [&](win::ScanSetupRequest& request) {
            for (auto& s : request.settings)
                if (s.name == name) {
                    found = true;
                    s.text = text;
                    s.value = value;
                }
            return win::DialogAnswer::Accepted;
        };
        win::SetScanDialogService(service);
        EXPECT_TRUE(e.sourceSetup());
        win::SetScanDialogService({});
        EXPECT_TRUE(found) << name;
    }

    // Reads the header and frees the block. A handle that is no block, or a
    // block too small for a header, is a failure of the test, never a read
    // past the block's end.
    static DibHeader takeDib(uint32_t handle) {
        DibHeader h;
        const win::HGLOBAL block{handle};
        constexpr size_t kHeaderBytes = 40;
        const size_t size = win::GlobalSize(block);
        if (handle != 0 && size < kHeaderBytes) {
            ADD_FAILURE() << "handle " << handle << " holds " << size << " bytes, less than a DIB header";
            win::GlobalFree(block);
            return h;
        }
        auto* p = static_cast<const uint8_t*>(win::GlobalLock(block));
        if (!p) return h;
        auto read32 = [&](size_t at) {
            uint32_t v = 0;
            for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(p[at + i]) << (8 * i);
            return v;
        };
        h.width = static_cast<int32_t>(read32(4));
        h.height = static_cast<int32_t>(read32(8));
        h.bitCount = p[14] | p[15] << 8;
        h.pixelsPerMetre = read32(24);
        h.bytes = win::GlobalSize(block);
        win::GlobalUnlock(block);
        win::GlobalFree(block);
        return h;
    }

    SaneTestConfig sane;
    Engine engine{MakeEngineProvider()};
};

}  // namespace mvtwain::testing
