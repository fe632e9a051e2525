// The OCR members of _Twain bound to their dispatch IDs.
#include "imaging/twain/ocr_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

const auto utf8 = &Utf8Argument;

}  // namespace

void TwainObject::bindOcrMembers() {
    Bind(idOf("OCRTesseractDoOCR"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(OCRTesseractDoOCR(control_, a.i4(0), utf8(a, 1), utf8(a, 2)));
        return S_OK;
    });
    Bind(idOf("OCRTesseractGetCharCount"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(OCRTesseractGetCharCount(control_));
        return S_OK;
    });
    using Getter = int32_t (*)(const TwainControl&, int32_t);
    const std::pair<const char*, Getter> getters[] = {
        {"OCRTesseractGetCharCode", OCRTesseractGetCharCode},     {"OCRTesseractGetCharLine", OCRTesseractGetCharLine},
        {"OCRTesseractGetCharLeft", OCRTesseractGetCharLeft},     {"OCRTesseractGetCharRight", OCRTesseractGetCharRight},
        {"OCRTesseractGetCharTop", OCRTesseractGetCharTop},       {"OCRTesseractGetCharBottom", OCRTesseractGetCharBottom},
        {"OCRTesseractGetCharSpaces", OCRTesseractGetCharSpaces},
    };
    for (const auto& [name, getter] : getters) {
        Bind(idOf(name), [this, getter = getter](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(getter(control_, a.i4(0)));
            return S_OK;
        });
    }
    Bind(idOf("OCRTesseractGetCharConfidence"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeR4(OCRTesseractGetCharConfidence(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("OCRTesseractClear"), [this](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        OCRTesseractClear(control_);
        return S_OK;
    });
    Bind(idOf("OCRTesseractGetOrientation"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(OCRTesseractGetOrientation(control_, a.i4(0), utf8(a, 1)));
        return S_OK;
    });
    Bind(idOf("OCRTesseractGetOrientationEx"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(OCRTesseractGetOrientationEx(control_, a.i4(0), utf8(a, 1), a.r4(2)));
        return S_OK;
    });
}

}  // namespace scanvelt
