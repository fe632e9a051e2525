#pragma once
// Text drawn into the current image (plain, on a back colour, rotated, in a
// box, filled with a gradient or a texture), text measured on it, the font
// list, the image to the clipboard, and the image drawn on a host's device
// context or window. Texts are UTF-8; colours pass through ColorToArgb
// unless said otherwise; every status is stored as the last status.
#include <cstdint>
#include <optional>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// What one text member draws. Sizes count in the control's font unit.
struct TextDrawing {
    std::string Text;
    int32_t Left = 0, Top = 0;
    int32_t FontSize = 0;
    int32_t FontStyle = 0;
    std::string FontName = "Arial";
    bool AntiAlias = false;
    int32_t TextColor = -16777216;
    // The text's measured rectangle is filled first.
    std::optional<int32_t> BackColor;
    // The text runs at this angle (degrees, clockwise on the screen) from (Left, Top).
    std::optional<float> Angle;
    // A horizontal gradient over the measured rectangle instead of the text
    // colour; both colours are taken as ARGB values, unchanged.
    std::optional<std::pair<int32_t, int32_t>> Gradient;
    // A tiled picture instead of the text colour: an image file, or an image
    // ID that stays the caller's.
    std::optional<std::string> TextureFile;
    std::optional<int32_t> TextureImage;
};

MorvalenStatus DrawTextWith(TwainControl& control, const TextDrawing& drawing);

MorvalenStatus DrawText(TwainControl& control, const std::string& text, int32_t left, int32_t top, int32_t fontSize,
                        int32_t fontStyle = 0, int32_t textColor = -16777216, const std::string& fontName = "Arial",
                        bool antiAlias = false);
// The text laid out in the rectangle, aligned (0 near, 1 centre, 2 far) both
// ways, with the rectangle's black outline when drawBox is set.
MorvalenStatus DrawTextBox(TwainControl& control, const std::string& text, int32_t left, int32_t top, int32_t width,
                           int32_t height, int32_t fontSize, int32_t alignment = 1, int32_t fontStyle = 0,
                           int32_t textColor = -16777216, const std::string& fontName = "Arial", bool drawBox = false,
                           bool antiAlias = false);

// Width and height of the text's rectangle as measured on the current image;
// 0 (last status GenericError) without one.
float GetTextWidth(TwainControl& control, const std::string& text, const std::string& fontName, int32_t fontSize,
                   int32_t fontStyle = 0);
float GetTextHeight(TwainControl& control, const std::string& text, const std::string& fontName, int32_t fontSize,
                    int32_t fontStyle = 0);

// The installed font families; names counted from 1, "" outside the list.
// The last status is untouched.
int16_t FontGetCount();
std::string FontGetName(int32_t fontNo);
bool FontIsStyleAvailable(TwainControl& control, const std::string& fontName, int32_t fontStyle);

// The clipboard is the host's service (platform/win/clipboard.h).
MorvalenStatus CopyToClipboard(TwainControl& control);
// A copy of the rectangle, in the image's own pixel format, goes to the
// clipboard; the copy is released whatever happens.
MorvalenStatus CopyRegionToClipboard(TwainControl& control, int32_t left, int32_t top, int32_t width, int32_t height);
void DeleteClipboardData();

// The current image drawn on a host's device context or window (no check of
// a current image here: the engine answers InvalidParameter for none).
MorvalenStatus DisplayImageOnHDC(TwainControl& control, uint32_t dc, int32_t left, int32_t top, int32_t width,
                                 int32_t height, int32_t interpolation = 3);
MorvalenStatus DisplayImageOnHwnd(TwainControl& control, uint32_t window, int32_t left, int32_t top, int32_t width,
                                  int32_t height, int32_t interpolation = 3);
MorvalenStatus DisplayImageRectOnHDC(TwainControl& control, uint32_t dc, int32_t left, int32_t top, int32_t width,
                                     int32_t height, int32_t srcLeft, int32_t srcTop, int32_t srcWidth,
                                     int32_t srcHeight, int32_t interpolation = 3);
MorvalenStatus DisplayImageRectOnHwnd(TwainControl& control, uint32_t window, int32_t left, int32_t top, int32_t width,
                                      int32_t height, int32_t srcLeft, int32_t srcTop, int32_t srcWidth,
                                      int32_t srcHeight, int32_t interpolation = 3);

}  // namespace scanvelt
