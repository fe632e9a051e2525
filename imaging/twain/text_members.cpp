#include "imaging/twain/text_members.h"

#include <functional>
#include <vector>

#include "imaging/engine/drawing_on_devices.h"
#include "imaging/engine/fonts_and_text.h"
#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "imaging/twain/color_to_argb.h"
#include "imaging/twain/twain_control.h"
#include "platform/win/clipboard.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace gdiplus;

constexpr int32_t kHintAntiAlias = TextRenderingHintAntiAlias;
constexpr int32_t kHintSingleBit = TextRenderingHintSingleBitPerPixel;
constexpr int32_t kSmoothingAntiAlias = 4;
constexpr int32_t kSmoothingNone = 3;
constexpr int32_t kMeasureTrailingSpaces = 2048;
constexpr int32_t kMatrixOrderAppend = 1;
constexpr int32_t kWrapTile = 0;
constexpr int32_t kGradientHorizontal = 0;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr int32_t kDisplaySmoothing = 3;
constexpr int32_t kUnitPixel = 2;

uint32_t Argb(int32_t color) { return static_cast<uint32_t>(ColorToArgb(color)); }

// One drawing's objects: each is given back when the drawing ends, however
// it ends, the last made first.
class DrawingObjects {
public:
    ~DrawingObjects() {
        for (auto it = releases_.rbegin(); it != releases_.rend(); ++it) (*it)();
    }
    void add(std::function<void()> release) { releases_.push_back(std::move(release)); }

private:
    std::vector<std::function<void()>> releases_;
};

// Stores each status as the last status and remembers the first failure.
class StatusChain {
public:
    explicit StatusChain(TwainControl& control) : control_(control) {}
    bool ok(MorvalenStatus status) {
        control_.setLastStatus(status);
        status_ = status;
        return status == OK;
    }
    MorvalenStatus result() const { return status_; }

private:
    TwainControl& control_;
    MorvalenStatus status_ = OK;
};

// The steps every text member begins with: the family, a graphics on the
// current image, and (after the caller's own steps) the font.
struct TextContext {
    GpFontFamily family{};
    GpGraphics graphics{};
    GpFont font{};
};

bool OpenFamilyAndGraphics(StatusChain& chain, DrawingObjects& objects, TwainControl& control,
                           const std::string& fontName, TextContext& context) {
    if (!chain.ok(CreateGpFontFamily(win::Utf8ToUtf16(fontName), 0, context.family))) return false;
    objects.add([family = context.family] { DeleteGpFontFamily(family); });
    if (!chain.ok(GetImageGraphics(control.currentImage(), context.graphics, 0))) return false;
    objects.add([graphics = context.graphics] { DeleteGpGraphics(graphics); });
    return true;
}

bool MakeFont(StatusChain& chain, DrawingObjects& objects, const TwainControl& control, int32_t size, int32_t style,
              TextContext& context) {
    if (!chain.ok(CreateGpFont(context.family, static_cast<float>(size), style, control.fontUnit(), context.font)))
        return false;
    objects.add([font = context.font] { DeleteGpFont(font); });
    return true;
}

bool MakeSolidBrush(StatusChain& chain, DrawingObjects& objects, uint32_t color, GpBrush& brush) {
    if (!chain.ok(CreateGpSolidBrush(color, brush))) return false;
    objects.add([brush] { DeleteGpBrush(brush); });
    return true;
}

// The text's rectangle at the layout point, with a format that counts trailing spaces.
bool Measure(StatusChain& chain, DrawingObjects& objects, const TextContext& context, const std::u16string& text,
             const RectF& layout, GpStringFormat& format, RectF& box) {
    if (!chain.ok(CreateGpStringFormat(kMeasureTrailingSpaces, 0, format))) return false;
    objects.add([format] { DeleteGpStringFormat(format); });
    int32_t fitted = 0, lines = 0;
    return chain.ok(MeasureGpString(context.graphics, text, static_cast<int32_t>(text.size()), context.font, layout,
                                    format, box, fitted, lines));
}

MorvalenStatus NoImage(TwainControl& control) {
    control.setLastStatus(GenericError);
    return GenericError;
}

// The measured rectangle of a text on the current image; nullopt on failure.
std::optional<RectF> MeasuredBox(TwainControl& control, const std::string& text, const std::string& fontName,
                                 int32_t fontSize, int32_t fontStyle) {
    if (control.currentImage() == 0) {
        NoImage(control);
        return std::nullopt;
    }
    StatusChain chain(control);
    DrawingObjects objects;
    TextContext context;
    if (!OpenFamilyAndGraphics(chain, objects, control, fontName, context)) return std::nullopt;
    if (!MakeFont(chain, objects, control, fontSize, fontStyle, context)) return std::nullopt;
    GpStringFormat format{};
    RectF box;
    if (!Measure(chain, objects, context, win::Utf8ToUtf16(text), RectF{0, 0, 0, 0}, format, box)) return std::nullopt;
    return box;
}

}  // namespace

MorvalenStatus DrawTextWith(TwainControl& control, const TextDrawing& d) {
    if (control.currentImage() == 0) return NoImage(control);
    const uint32_t textColor = Argb(d.TextColor);
    const std::optional<uint32_t> backColor = d.BackColor ? std::optional<uint32_t>(Argb(*d.BackColor)) : std::nullopt;
    const bool solidText = !d.Gradient && !d.TextureFile && !d.TextureImage;

    StatusChain chain(control);
    DrawingObjects objects;
    TextContext context;
    if (!OpenFamilyAndGraphics(chain, objects, control, d.FontName, context)) return chain.result();
    if (!chain.ok(SetGpTextRenderingHint(context.graphics, d.AntiAlias ? kHintAntiAlias : kHintSingleBit)))
        return chain.result();
    if (d.Angle && backColor &&
        !chain.ok(SetGpSmoothingMode(context.graphics, d.AntiAlias ? kSmoothingAntiAlias : kSmoothingNone)))
        return chain.result();

    GpBrush brush{}, backBrush{};
    if (solidText && !MakeSolidBrush(chain, objects, textColor, brush)) return chain.result();
    if (backColor && !MakeSolidBrush(chain, objects, *backColor, backBrush)) return chain.result();
    if (!MakeFont(chain, objects, control, d.FontSize, d.FontStyle, context)) return chain.result();

    PointF origin{static_cast<float>(d.Left), static_cast<float>(d.Top)};
    if (d.Angle) {
        if (!chain.ok(RotateGpWorldTransform(context.graphics, *d.Angle, kMatrixOrderAppend))) return chain.result();
        if (!chain.ok(TransformGpPoints(context.graphics, CoordinateSpaceWorld, CoordinateSpaceDevice, &origin, 1)))
            return chain.result();
    }
    const RectF layout{origin.X, origin.Y, 0, 0};
    const std::u16string text = win::Utf8ToUtf16(d.Text);
    GpStringFormat format{};
    RectF box;
    if (!Measure(chain, objects, context, text, layout, format, box)) return chain.result();

    if (backColor && !chain.ok(FillGpRectangles(context.graphics, backBrush, &box, 1))) return chain.result();
    if (d.Gradient) {
        if (!chain.ok(CreateGpLineBrushFromRect(box, static_cast<uint32_t>(d.Gradient->first),
                                                static_cast<uint32_t>(d.Gradient->second), kGradientHorizontal,
                                                kWrapTile, brush)))
            return chain.result();
        objects.add([brush] { DeleteGpBrush(brush); });
    } else if (d.TextureFile) {
        int32_t texture = 0;
        if (!chain.ok(LoadImageFromFile(texture, *d.TextureFile, false, false, true, 0, true, true)))
            return chain.result();
        objects.add([texture] { ReleaseImage(texture); });
        if (!chain.ok(CreateGpTextureBrush(texture, kWrapTile, brush))) return chain.result();
        objects.add([brush] { DeleteGpBrush(brush); });
    } else if (d.TextureImage) {
        if (!chain.ok(CreateGpTextureBrush(*d.TextureImage, kWrapTile, brush))) return chain.result();
        objects.add([brush] { DeleteGpBrush(brush); });
    }
    chain.ok(DrawGpString(context.graphics, text, -1, context.font, layout, format, brush));
    return chain.result();
}

MorvalenStatus DrawText(TwainControl& control, const std::string& text, int32_t left, int32_t top, int32_t fontSize,
                        int32_t fontStyle, int32_t textColor, const std::string& fontName, bool antiAlias) {
    TextDrawing d;
    d.Text = text;
    d.Left = left;
    d.Top = top;
    d.FontSize = fontSize;
    d.FontStyle = fontStyle;
    d.TextColor = textColor;
    d.FontName = fontName;
    d.AntiAlias = antiAlias;
    return DrawTextWith(control, d);
}

MorvalenStatus DrawTextBox(TwainControl& control, const std::string& text, int32_t left, int32_t top, int32_t width,
                           int32_t height, int32_t fontSize, int32_t alignment, int32_t fontStyle, int32_t textColor,
                           const std::string& fontName, bool drawBox, bool antiAlias) {
    if (control.currentImage() == 0) return NoImage(control);
    const uint32_t color = Argb(textColor);
    StatusChain chain(control);
    DrawingObjects objects;
    TextContext context;
    if (!OpenFamilyAndGraphics(chain, objects, control, fontName, context)) return chain.result();
    if (!chain.ok(SetGpTextRenderingHint(context.graphics, antiAlias ? kHintAntiAlias : kHintSingleBit)))
        return chain.result();
    GpBrush brush{};
    if (!MakeSolidBrush(chain, objects, color, brush)) return chain.result();
    if (!MakeFont(chain, objects, control, fontSize, fontStyle, context)) return chain.result();
    GpStringFormat format{};
    if (!chain.ok(CreateGpStringFormat(0, 0, format))) return chain.result();
    objects.add([format] { DeleteGpStringFormat(format); });
    if (!chain.ok(SetGpStringFormatAlign(format, alignment))) return chain.result();
    if (!chain.ok(SetGpStringFormatLineAlign(format, alignment))) return chain.result();
    const RectF layout{static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                       static_cast<float>(height)};
    if (!chain.ok(DrawGpString(context.graphics, win::Utf8ToUtf16(text), -1, context.font, layout, format, brush)))
        return chain.result();
    if (drawBox) {
        GpPen pen{};
        if (!chain.ok(CreateGpPen(kOpaqueBlack, 1.0f, kUnitPixel, pen))) return chain.result();
        objects.add([pen] { DeleteGpPen(pen); });
        chain.ok(DrawGpRectangle(context.graphics, pen, layout.X, layout.Y, layout.Width, layout.Height));
    }
    return chain.result();
}

float GetTextWidth(TwainControl& control, const std::string& text, const std::string& fontName, int32_t fontSize,
                   int32_t fontStyle) {
    auto box = MeasuredBox(control, text, fontName, fontSize, fontStyle);
    return box ? box->Width : 0.0f;
}

float GetTextHeight(TwainControl& control, const std::string& text, const std::string& fontName, int32_t fontSize,
                    int32_t fontStyle) {
    auto box = MeasuredBox(control, text, fontName, fontSize, fontStyle);
    return box ? box->Height : 0.0f;
}

int16_t FontGetCount() { return static_cast<int16_t>(InstalledFontNames().size()); }

std::string FontGetName(int32_t fontNo) {
    const std::vector<std::string> names = InstalledFontNames();
    if (fontNo < 1 || static_cast<size_t>(fontNo) > names.size()) return "";
    return names[static_cast<size_t>(fontNo) - 1];
}

bool FontIsStyleAvailable(TwainControl& control, const std::string& fontName, int32_t fontStyle) {
    bool available = false;
    control.setLastStatus(IsFontStyleAvailable(win::Utf8ToUtf16(fontName), fontStyle, available));
    return available;
}

MorvalenStatus CopyToClipboard(TwainControl& control) {
    MorvalenStatus status = CopyImageToClipboard(control.currentImage());
    control.setLastStatus(status);
    return status;
}

MorvalenStatus CopyRegionToClipboard(TwainControl& control, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (control.currentImage() == 0) return NoImage(control);
    StatusChain chain(control);
    int32_t format = 0;
    if (!chain.ok(GetImagePixelFormat(control.currentImage(), format))) return chain.result();
    int32_t region = 0;
    if (!chain.ok(CloneImageArea(left, top, width, height, format, control.currentImage(), region)))
        return chain.result();
    chain.ok(CopyImageToClipboard(region));
    ReleaseImage(region);
    return chain.result();
}

void DeleteClipboardData() { win::EmptyClipboard(); }

MorvalenStatus DisplayImageOnHDC(TwainControl& control, uint32_t dc, int32_t left, int32_t top, int32_t width,
                                 int32_t height, int32_t interpolation) {
    MorvalenStatus status = DrawImageOnHdc(control.currentImage(), win::HDC{dc}, left, top, width, height,
                                           kDisplaySmoothing, interpolation, kUnitPixel);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus DisplayImageOnHwnd(TwainControl& control, uint32_t window, int32_t left, int32_t top, int32_t width,
                                  int32_t height, int32_t interpolation) {
    MorvalenStatus status = DrawImageOnHwnd(control.currentImage(), window, left, top, width, height,
                                            kDisplaySmoothing, interpolation, kUnitPixel);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus DisplayImageRectOnHDC(TwainControl& control, uint32_t dc, int32_t left, int32_t top, int32_t width,
                                     int32_t height, int32_t srcLeft, int32_t srcTop, int32_t srcWidth,
                                     int32_t srcHeight, int32_t interpolation) {
    MorvalenStatus status = DrawImageRectOnHdc(control.currentImage(), win::HDC{dc}, left, top, width, height, srcLeft,
                                               srcTop, srcWidth, srcHeight, kDisplaySmoothing, interpolation,
                                               kUnitPixel);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus DisplayImageRectOnHwnd(TwainControl& control, uint32_t window, int32_t left, int32_t top, int32_t width,
                                      int32_t height, int32_t srcLeft, int32_t srcTop, int32_t srcWidth,
                                      int32_t srcHeight, int32_t interpolation) {
    MorvalenStatus status = DrawImageRectOnHwnd(control.currentImage(), window, left, top, width, height, srcLeft,
                                                srcTop, srcWidth, srcHeight, kDisplaySmoothing, interpolation,
                                                kUnitPixel);
    control.setLastStatus(status);
    return status;
}

}  // namespace scanvelt
