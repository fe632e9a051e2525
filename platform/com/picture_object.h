#pragma once
// A picture handle (platform/win/ole_picture.h) as the COM object a host
// receives for a picture: IPictureDisp, whose properties are read late-bound
// by dispatch ID (Handle 0, hPal 2, Type 3, Width 4, Height 5). The object
// holds one reference of the picture and gives it back when it goes.
#include "platform/com/interfaces.h"
#include "platform/win/handles.h"

namespace com {

inline constexpr IID IID_IPictureDisp = {0x7BF80981, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

inline constexpr DISPID DISPID_PICT_HANDLE = 0;
inline constexpr DISPID DISPID_PICT_HPAL = 2;
inline constexpr DISPID DISPID_PICT_TYPE = 3;
inline constexpr DISPID DISPID_PICT_WIDTH = 4;
inline constexpr DISPID DISPID_PICT_HEIGHT = 5;

// A new object with one reference that takes over the caller's reference of
// `picture`; null (the reference given back) when it cannot be made.
IDispatch* MakePictureObject(win::HPICTURE picture);

}  // namespace com
