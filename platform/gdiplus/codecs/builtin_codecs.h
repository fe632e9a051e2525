#pragma once
// The decoders and encoders this layer comes with, registered into the
// process-wide codec registry: encoders for BMP, JPEG, GIF, TIFF and PNG (in
// that order, as GDI+ lists them), decoders for those and for ICO.
#include "platform/gdiplus/status.h"

namespace gdiplus {

// Registers every built-in codec that is not registered yet (by class ID),
// so a second call changes nothing. Ok, or the registry's status.
Status RegisterBuiltinCodecs();

}  // namespace gdiplus
