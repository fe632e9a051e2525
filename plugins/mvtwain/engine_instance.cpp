#include "plugins/mvtwain/engine_instance.h"

#include "platform/win/text_encoding.h"
#include "plugins/mvtwain/scripted_source.h"

namespace mvtwain {

std::recursive_mutex& EngineLock() {
    static std::recursive_mutex lock;
    return lock;
}

Engine& TheEngine() {
    static Engine engine(MakeEngineProvider());
    return engine;
}

const char* HandOut(std::string& slot, std::string text) {
    slot = win::Utf8ToAnsi(text);
    return slot.c_str();
}

std::string FromCaller(const char* text) { return text ? win::AnsiToUtf8(text) : std::string(); }

HandedTexts& Texts() {
    static HandedTexts texts;
    return texts;
}

}  // namespace mvtwain
