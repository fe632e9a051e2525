#include "plugins/mvtwain/engine_instance.h"

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
    slot = std::move(text);
    return slot.c_str();
}

HandedTexts& Texts() {
    static HandedTexts texts;
    return texts;
}

}  // namespace mvtwain
