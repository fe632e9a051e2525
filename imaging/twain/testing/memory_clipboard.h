#pragma once
// An in-memory clipboard standing in for the host's: it counts how often it
// was emptied and holds the last picture put on it.
#include <optional>

#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt::testing {

struct MemoryClipboard {
    int emptied = 0;
    std::optional<win::GdiBitmap> held;

    // Becomes the process's clipboard service, empty and not yet emptied.
    void install() {
        emptied = 0;
        held.reset();
        win::SetClipboardService({[this] {
                                      ++emptied;
                                      held.reset();
                                      return win::ClipboardResult::Done;
                                  },
                                  [this](const win::GdiBitmap& bitmap) {
                                      held = bitmap;
                                      return win::ClipboardResult::Done;
                                  }});
    }
    // The process has no clipboard service again.
    static void remove() { win::SetClipboardService({}); }
};

}  // namespace scanvelt::testing
