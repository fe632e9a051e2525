#include "imaging/twain/ocr_members.h"

#include <cmath>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/ocr_plugin.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

constexpr int32_t kRotateNone = 0;
constexpr int32_t kRotate90 = 1;
constexpr int32_t kRotate180 = 2;
constexpr int32_t kRotate270 = 3;
constexpr const char* kOrientationWhiteList = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Record n (1-based) of the last recognition, or null outside 1..count.
const OcrChar* charAt(const TwainControl& control, int32_t n) {
    const OcrResult& r = const_cast<TwainControl&>(control).ocrResult();
    if (n < 1 || n > r.Count || static_cast<size_t>(n) > r.Chars.size()) return nullptr;
    return &r.Chars[static_cast<size_t>(n) - 1];
}

template <class Field>
int32_t field(const TwainControl& control, int32_t n, Field read) {
    const OcrChar* c = charAt(control, n);
    return c != nullptr ? static_cast<int32_t>(read(*c)) : 0;
}

// The mean confidence of the last recognition's characters; 0 when none.
float meanConfidence(const TwainControl& control, bool& found) {
    const int32_t count = OCRTesseractGetCharCount(control);
    found = count > 0;
    if (!found) return 0;
    double sum = 0;
    for (int32_t n = 1; n <= count; ++n) sum += OCRTesseractGetCharConfidence(control, n);
    return static_cast<float>(sum / count);
}

}  // namespace

std::string OCRTesseractDoOCR(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath,
                              const std::string& whiteList) {
    const int32_t image = control.currentImage();
    if (image == 0) {
        control.setLastStatus(GenericError);
        return {};
    }
    control.ResetRoiToImage();
    const RoiRect& roi = control.roi();
    OcrResult& result = control.ocrResult();
    std::vector<OcrChar> chars;
    const MorvalenStatus status =
        OcrImage(image, roi.Left, roi.Top, roi.Width, roi.Height, dictionary, dictionaryPath, whiteList, chars);
    control.setLastStatus(status);
    result.Count = status == OK ? static_cast<int32_t>(chars.size()) : 0;
    if (status == OK && result.Count > 0) result.Chars = std::move(chars);
    if (result.Count == 1 && result.Chars[0].code == '~') return {};

    std::string text;
    int32_t line = 1;
    for (int32_t i = 0; i < result.Count; ++i) {
        const OcrChar& c = result.Chars[static_cast<size_t>(i)];
        if (c.line > line) {
            text += "\r\n";
            line = c.line;
        }
        if (c.code >= 0) {
            if (c.spaces > 0) text.append(static_cast<size_t>(c.spaces), ' ');
            text += OcrCharText(c.code);
        }
    }
    return text;
}

int32_t OCRTesseractGetCharCount(const TwainControl& control) {
    return const_cast<TwainControl&>(control).ocrResult().Count;
}
int32_t OCRTesseractGetCharCode(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.code; });
}
int32_t OCRTesseractGetCharLine(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.line; });
}
int32_t OCRTesseractGetCharLeft(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.left; });
}
int32_t OCRTesseractGetCharRight(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.right; });
}
int32_t OCRTesseractGetCharTop(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.top; });
}
int32_t OCRTesseractGetCharBottom(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.bottom; });
}
int32_t OCRTesseractGetCharSpaces(const TwainControl& control, int32_t n) {
    return field(control, n, [](const OcrChar& c) { return c.spaces; });
}

float OCRTesseractGetCharConfidence(const TwainControl& control, int32_t n) {
    const OcrChar* c = charAt(control, n);
    if (c == nullptr) return 100.0f;
    return static_cast<float>(c->confidence / 255.0 * 100);
}

void OCRTesseractClear(TwainControl& control) {
    OcrResult& result = control.ocrResult();
    result.Chars.clear();
    result.Count = 0;
}

int32_t ChooseOrientation(const float means[4], const bool found[4]) {
    // Lower means are surer readings.
    int32_t answer = kRotateNone;
    float best = means[0];
    if (found[1] && means[1] < best) {
        best = means[1];
        answer = kRotate270;
    }
    if (found[2] && means[2] < best) {
        best = means[2];
        answer = kRotate180;
    }
    if (found[3] && means[3] < best) {
        best = means[3];
        answer = kRotate90;
    }
    // A turn wins only when it reads clearly better than upright.
    if (answer != kRotateNone && means[0] < 1.5f * best) answer = kRotateNone;
    return answer;
}

int32_t OCRTesseractGetOrientationEx(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath,
                                     float accuracyLevel) {
    float level = accuracyLevel;
    if (!(level >= 1)) level = 1;
    if (level > 5) level = 5;
    const double divisor = 6 - level;
    const int32_t original = control.currentImage();

    int32_t copy = 0;
    if (original == 0) {
        control.setLastStatus(GenericError);
    } else {
        int32_t width = 0, height = 0, format = 0;
        GetImageWidth(original, width);
        GetImageHeight(original, height);
        MorvalenStatus status = GetImagePixelFormat(original, format);
        if (status == OK) {
            status = CloneImageArea(0, 0, static_cast<int32_t>(std::nearbyint(width / divisor)),
                                    static_cast<int32_t>(std::nearbyint(height / divisor)), format, original, copy);
        }
        control.setLastStatus(status);
        if (status != OK) copy = 0;
    }

    float means[4] = {0, 0, 0, 0};
    bool found[4] = {false, false, false, false};
    if (copy != 0) {
        control.setCurrentImage(copy);
        for (int pass = 0; pass < 4; ++pass) {
            OCRTesseractDoOCR(control, dictionary, dictionaryPath, kOrientationWhiteList);
            means[pass] = meanConfidence(control, found[pass]);
            OcrReinit();
            OcrClear();
            OCRTesseractClear(control);
            if (pass < 3) RotateFlipImage(copy, kRotate90, false);
        }
        ReleaseImage(copy);
        control.setCurrentImage(original);
    }
    OCRTesseractClear(control);
    return ChooseOrientation(means, found);
}

int32_t OCRTesseractGetOrientation(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath) {
    return OCRTesseractGetOrientationEx(control, dictionary, dictionaryPath, 3);
}

}  // namespace scanvelt
