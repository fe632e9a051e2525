#include "platform/forms/keys.h"

namespace forms {

int keyCodeOfChar(char c) {
    if (c >= 'a' && c <= 'z') return vbKeyA + (c - 'a');
    if (c >= 'A' && c <= 'Z') return vbKeyA + (c - 'A');
    if (c >= '0' && c <= '9') return vbKey0 + (c - '0');
    switch (c) {
        case '\b': return vbKeyBack;
        case '\t': return vbKeyTab;
        case '\r':
        case '\n': return vbKeyReturn;
        case 27: return vbKeyEscape;
        case ' ': return vbKeySpace;
        default: return static_cast<unsigned char>(c);
    }
}

}  // namespace forms
