// The members of _Twain that describe the current image and hand it out,
// bound to their dispatch IDs.
#include <optional>

#include "imaging/twain/image_info_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/picture_object.h"
#include "platform/com/safearray.h"
#include "platform/com/stream_object.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

// Members by name, arguments as UTF-8: the binder's look-ups.
const auto idOf = &MemberBinder::IdOf;

const auto utf8 = &Utf8Argument;

// Handles travel as Long: the same 32 bits, read as signed.
VARIANT HandleValue(uint32_t handle) { return MakeI4(static_cast<int32_t>(handle)); }

// A picture object for the host (a null object when there is no picture).
VARIANT PictureValue(uint32_t picture) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = MakePictureObject(win::HPICTURE{picture});
    return v;
}

// The default property (DISPID 0) of a host's picture object: its handle.
std::optional<uint32_t> PictureHandleOf(IDispatch* picture) {
    if (!picture) return std::nullopt;
    VARIANT handle;
    VariantInit(&handle);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (picture->Invoke(DISPID_PICT_HANDLE, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &handle, nullptr,
                        nullptr) != S_OK)
        return std::nullopt;
    VARIANT number;
    VariantInit(&number);
    const HRESULT hr = VariantChangeType(&number, &handle, 0, VT_I4);
    VariantClear(&handle);
    if (FAILED(hr)) return std::nullopt;
    return static_cast<uint32_t>(number.lVal);
}

}  // namespace

void TwainObject::bindImageInfoMembers() {
    auto number = [this](const char* name, auto member) {
        Bind(idOf(name), [this, member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeI4(member(control_));
            return S_OK;
        });
    };
    auto single = [this](const char* name, auto member) {
        Bind(idOf(name), [this, member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeR4(member(control_));
            return S_OK;
        });
    };
    auto flag = [this](const char* name, auto member) {
        Bind(idOf(name), [this, member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeBool(member(control_));
            return S_OK;
        });
    };
    auto handle = [this](const char* name, auto member) {
        Bind(idOf(name), [this, member](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = HandleValue(member(control_));
            return S_OK;
        });
    };
    auto giveBack = [this](const char* name, void (*member)(uint32_t)) {
        Bind(idOf(name), [member](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
            member(static_cast<uint32_t>(a.i4(0)));
            return S_OK;
        });
    };

    number("GetWidth", GetWidth);
    number("GetHeight", GetHeight);
    single("GetWidthMM", GetWidthMM);
    single("GetHeightMM", GetHeightMM);
    number("GetPixelFormat", GetPixelFormat);
    number("GetPixelDepth", GetPixelDepth);
    flag("IsPixelFormatIndexed", IsPixelFormatIndexed);
    flag("IsPixelFormatHasAlpha", IsPixelFormatHasAlpha);
    single("GetHorizontalResolution", GetHorizontalResolution);
    single("GetVerticalResolution", GetVerticalResolution);
    handle("GetHBitmap", GetHBitmap);
    handle("GetHICON", GetHICON);
    handle("GetDib", GetDib);
    giveBack("DeleteHBitmap", DeleteHBitmap);
    giveBack("DeleteHICON", DeleteHICON);
    giveBack("RemoveDib", RemoveDib);

    Bind(idOf("GetImageFormat"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(GetImageFormat(control_));
        return S_OK;
    });
    Bind(idOf("GetPixelFormatString"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(GetPixelFormatString(control_));
        return S_OK;
    });
    Bind(idOf("SetHorizontalResolution"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(SetHorizontalResolution(control_, a.r4(0)));
        return S_OK;
    });
    Bind(idOf("SetVerticalResolution"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(SetVerticalResolution(control_, a.r4(0)));
        return S_OK;
    });
    Bind(idOf("GetMorvalenImageDC"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = HandleValue(GetMorvalenImageDC(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("ReleaseMorvalenImageDC"), [](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(ReleaseMorvalenImageDC(static_cast<uint32_t>(a.i4(0))));
        return S_OK;
    });
    Bind(idOf("GetNativeImage"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(control_.currentImage());
        return S_OK;
    });
    Bind(idOf("GetGdiplusImage"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(GetGdiplusImage(control_));
        return S_OK;
    });
    Bind(idOf("GetPicture"), [this](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = PictureValue(GetPictureOf(control_, control_.currentImage()));
        return S_OK;
    });
    Bind(idOf("GetPictureFromMorvalenImage"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = PictureValue(GetPictureOf(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("DeletePictureObject"), [](const BoundArguments& a, VARIANT&, EXCEPINFO*) {
        if (auto handle = PictureHandleOf(a[0].vt == VT_DISPATCH ? a[0].pdispVal : nullptr))
            DeletePictureHandle(*handle);
        return S_OK;
    });
    // The host's object must be a stream; the stream the engine writes
    // replaces it in the host's reference.
    Bind(idOf("SaveAsStream"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO* exception) {
        IUnknown* given = a[0].vt == VT_UNKNOWN || a[0].vt == VT_DISPATCH ? a[0].punkVal : nullptr;
        void* asStream = nullptr;
        if (!given || given->QueryInterface(IID_IStream, &asStream) != S_OK || !asStream)
            return RaiseException(exception, name(), "Type mismatch", DISP_E_TYPEMISMATCH);
        static_cast<IStream*>(asStream)->Release();
        std::shared_ptr<win::Stream> stream = StreamOfObject(given);
        MorvalenStatus status = SaveAsStream(control_, stream, utf8(a, 1), a.i4(2));
        if (stream && a.byRef(0)) {
            VARIANT made;
            VariantInit(&made);
            made.vt = VT_UNKNOWN;
            made.punkVal = MakeStreamObject(stream);
            a.setOut(0, made);
            VariantClear(&made);
        }
        result = MakeI4(status);
        return S_OK;
    });
    Bind(idOf("SaveAsString"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(SaveAsString(control_, utf8(a, 0), a.i4(1)));
        return S_OK;
    });
    // arBytes and nBytesRead are handed back through the caller's references.
    Bind(idOf("SaveAsByteArray"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO* exception) {
        std::vector<uint8_t> bytes;
        int32_t count = a.i4(1);
        MorvalenStatus status = SaveAsByteArray(control_, bytes, count, utf8(a, 2), a.i4(3));
        if (status == OK) {
            VARIANT array;
            VariantInit(&array);
            array.vt = VT_ARRAY | VT_UI1;
            array.parray = ByteArrayFrom(bytes);
            if (!array.parray) return RaiseException(exception, name(), "Out of memory", E_OUTOFMEMORY);
            HRESULT stored = a.setOut(0, array);
            VariantClear(&array);
            if (FAILED(stored)) return RaiseException(exception, name(), "Type mismatch", DISP_E_TYPEMISMATCH);
        }
        a.setOut(1, MakeI4(count));
        result = MakeI4(status);
        return S_OK;
    });
}

}  // namespace scanvelt
