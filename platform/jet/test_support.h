#pragma once
// Test helpers of the database layer, also used by the tests of the book.
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/files/testing/scratch_folder.h"
#include "platform/jet/error.h"

namespace jet::testing {

// The engine's number of the error that f raises; 0 when it raises none.
inline int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

// A fresh private folder, removed with everything in it when the test ends.
using TestFolder = files::testing::ScratchFolder;

}  // namespace jet::testing
