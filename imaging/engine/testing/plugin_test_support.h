#pragma once
// What the tests of the codec plug-in routes share: an engine that finds the
// build tree's plug-in the way a program finds it (through the library search
// path), an engine whose plug-in is named but missing, and pixels that tell
// an upright picture from a turned one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_loader.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt::testing_support {

// Each test's engine binds the shared object built beside the tests.
class WithBuildTreePlugin : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_TRUE(PluginAvailable()) << "libmvimgplug.so not found in " << MVIMGPLUG_BUILD_DIR;
    }
    // Set before the fixture starts the engine.
    win::testing::ScopedEnvironment path_{"LD_LIBRARY_PATH", MVIMGPLUG_BUILD_DIR};
    win::testing::ScratchFolder scratch_;
};

// Runs `body` in a started engine of a thread of its own whose plug-in has a
// version but whose shared object cannot be found: the plug-in is missing.
inline void WithMissingPlugin(const std::function<void()>& body) {
    OnFreshThread([&body] {
        SetModuleVersionReader([](std::string_view) { return std::string("1.0.0.0"); });
        SetCodecPluginLoader([] { return LoadCodecPlugin("no-such-plugin.dll"); });
        ASSERT_TRUE(StartImaging());
        ASSERT_FALSE(PluginAvailable());
        body();
        StopImaging();
    });
}

// Pixels that differ from their mirror images, top row first.
inline std::vector<uint32_t> AsymmetricPixels(int32_t width, int32_t height, bool opaque = true) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const auto channel = [](int32_t value) { return static_cast<uint32_t>(value) & 0xFFu; };
            pixels.push_back((opaque ? 0xFF000000u : 0u) | channel(x * 20 + 5) << 16 | channel(y * 30 + 7) << 8 |
                             channel(x + y));
        }
    }
    return pixels;
}

}  // namespace scanvelt::testing_support
