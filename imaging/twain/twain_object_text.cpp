// The text, font, clipboard and display members of _Twain bound to their
// dispatch IDs.
#include "imaging/twain/text_members.h"
#include "imaging/twain/twain_control.h"
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

// sText, nDstLeft, nDstTop from argument `first` on.
TextDrawing TextAt(const BoundArguments& a, size_t first) {
    TextDrawing d;
    d.Text = utf8(a, first);
    d.Left = a.i4(first + 1);
    d.Top = a.i4(first + 2);
    return d;
}

}  // namespace

void TwainObject::bindTextMembers() {
    auto draw = [this](const char* name, TextDrawing (*read)(const BoundArguments&)) {
        Bind(idOf(name), [this, read](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(DrawTextWith(control_, read(a)));
            return S_OK;
        });
    };
    // sText, nDstLeft, nDstTop, nFontSize, nFontStyle, nTextARGBColor, sFontName, [nBackColor,] bAntiAlias.
    draw("DrawText", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 0);
        d.FontSize = a.i4(3), d.FontStyle = a.i4(4), d.TextColor = a.i4(5), d.FontName = utf8(a, 6);
        d.AntiAlias = a.boolean(7);
        return d;
    });
    draw("DrawTextBackColor", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 0);
        d.FontSize = a.i4(3), d.FontStyle = a.i4(4), d.TextColor = a.i4(5), d.FontName = utf8(a, 6);
        d.BackColor = a.i4(7);
        d.AntiAlias = a.boolean(8);
        return d;
    });
    // nAngle first, then as above.
    draw("DrawRotatedText", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 1);
        d.Angle = a.r4(0);
        d.FontSize = a.i4(4), d.FontStyle = a.i4(5), d.TextColor = a.i4(6), d.FontName = utf8(a, 7);
        d.AntiAlias = a.boolean(8);
        return d;
    });
    draw("DrawRotatedTextBackColor", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 1);
        d.Angle = a.r4(0);
        d.FontSize = a.i4(4), d.FontStyle = a.i4(5), d.TextColor = a.i4(6), d.FontName = utf8(a, 7);
        d.BackColor = a.i4(8);
        d.AntiAlias = a.boolean(9);
        return d;
    });
    // sText, nDstLeft, nDstTop, nStartColor, nEndColor, nFontSize, nFontStyle, sFontName, bAntiAlias.
    draw("DrawTextGradient", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 0);
        d.Gradient = std::make_pair(a.i4(3), a.i4(4));
        d.FontSize = a.i4(5), d.FontStyle = a.i4(6), d.FontName = utf8(a, 7);
        d.AntiAlias = a.boolean(8);
        return d;
    });
    // sText, nDstLeft, nDstTop, texture, nFontSize, nFontStyle, sFontName, bAntiAlias.
    draw("DrawTextTexture", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 0);
        d.TextureFile = utf8(a, 3);
        d.FontSize = a.i4(4), d.FontStyle = a.i4(5), d.FontName = utf8(a, 6);
        d.AntiAlias = a.boolean(7);
        return d;
    });
    draw("DrawTextTextureFromMorvalenImage", [](const BoundArguments& a) {
        TextDrawing d = TextAt(a, 0);
        d.TextureImage = a.i4(3);
        d.FontSize = a.i4(4), d.FontStyle = a.i4(5), d.FontName = utf8(a, 6);
        d.AntiAlias = a.boolean(7);
        return d;
    });
    Bind(idOf("DrawTextBox"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(DrawTextBox(control_, utf8(a, 0), a.i4(1), a.i4(2), a.i4(3), a.i4(4), a.i4(5), a.i4(6),
                                    a.i4(7), a.i4(8), utf8(a, 9), a.boolean(10), a.boolean(11)));
        return S_OK;
    });
    Bind(idOf("GetTextWidth"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeR4(GetTextWidth(control_, utf8(a, 0), utf8(a, 1), a.i4(2), a.i4(3)));
        return S_OK;
    });
    Bind(idOf("GetTextHeight"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeR4(GetTextHeight(control_, utf8(a, 0), utf8(a, 1), a.i4(2), a.i4(3)));
        return S_OK;
    });
    Bind(idOf("FontSetUnit"), [this](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        control_.setFontUnit(a.i4(0));
        return S_OK;
    });
    Bind(idOf("FontGetUnit"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(control_.fontUnit());
        return S_OK;
    });
    Bind(idOf("FontGetCount"), [](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI2(FontGetCount());
        return S_OK;
    });
    Bind(idOf("FontGetName"), [](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(FontGetName(a.i4(0)));
        return S_OK;
    });
    Bind(idOf("FontIsStyleAvailable"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(FontIsStyleAvailable(control_, utf8(a, 0), a.i4(1)));
        return S_OK;
    });
    Bind(idOf("CopyToClipboard"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(CopyToClipboard(control_));
        return S_OK;
    });
    Bind(idOf("CopyRegionToClipboard"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(CopyRegionToClipboard(control_, a.i4(0), a.i4(1), a.i4(2), a.i4(3)));
        return S_OK;
    });
    Bind(idOf("DeleteClipboardData"), [](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        DeleteClipboardData();
        return S_OK;
    });
    Bind(idOf("DisplayImageOnHDC"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(DisplayImageOnHDC(control_, static_cast<uint32_t>(a.i4(0)), a.i4(1), a.i4(2), a.i4(3),
                                          a.i4(4), a.i4(5)));
        return S_OK;
    });
    Bind(idOf("DisplayImageOnHwnd"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(DisplayImageOnHwnd(control_, static_cast<uint32_t>(a.i4(0)), a.i4(1), a.i4(2), a.i4(3),
                                           a.i4(4), a.i4(5)));
        return S_OK;
    });
    Bind(idOf("DisplayImageRectOnHDC"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(DisplayImageRectOnHDC(control_, static_cast<uint32_t>(a.i4(0)), a.i4(1), a.i4(2), a.i4(3),
                                              a.i4(4), a.i4(5), a.i4(6), a.i4(7), a.i4(8), a.i4(9)));
        return S_OK;
    });
    Bind(idOf("DisplayImageRectOnHwnd"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(DisplayImageRectOnHwnd(control_, static_cast<uint32_t>(a.i4(0)), a.i4(1), a.i4(2), a.i4(3),
                                               a.i4(4), a.i4(5), a.i4(6), a.i4(7), a.i4(8), a.i4(9)));
        return S_OK;
    });
}

}  // namespace scanvelt
