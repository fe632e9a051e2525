#pragma once
// The one engine of the process behind the C entry points, and the texts the
// entry points hand out (valid until the next call, as the interface says).
#include <mutex>
#include <string>

#include "plugins/mvtwain/twain_engine.h"

#define MVTWAIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace mvtwain {

// Every entry point holds this lock. It is recursive: a host's handler that
// runs between the chunks of a scan may call the engine again.
std::recursive_mutex& EngineLock();
Engine& TheEngine();

// The text handed out by an entry point, kept until the next call that
// hands out text of the same kind. The engine works in UTF-8 (SANE's names,
// Linux paths); its callers speak the system code page (Windows-1252), so
// texts are converted at the entry points both ways.
const char* HandOut(std::string& slot, std::string text);
// A text a caller passed, as UTF-8 ("" for a null pointer).
std::string FromCaller(const char* text);

struct HandedTexts {
    std::string sourceName;
    std::string transferPath;
    std::string capabilityText;
    std::string currentName;
    std::string defaultName;
    std::string barcode;
};
HandedTexts& Texts();

}  // namespace mvtwain
