#pragma once
// What the engine's drawing tests share: colours, and running a body inside
// an engine whose GDI+ reads as a given version.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt::testing_support {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

// On a thread of its own, whose engine is started with GDI+ reading as
// `version` and stopped after the body.
inline void OnEngineWithGdiplusVersion(const std::string& version, const std::function<void()>& body) {
    OnFreshThread([&] {
        SetModuleVersionReader([version](std::string_view) { return version; });
        ASSERT_TRUE(StartImaging());
        body();
        StopImaging();
    });
}

}  // namespace scanvelt::testing_support
