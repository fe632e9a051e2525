#pragma once

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>

namespace gdiplus::codecs {

// libjpeg reports errors by a long jump back to the caller's setjmp; what
// lives across the jump is kept in members, so no destructor is skipped.
// A premature end of data is only a warning to libjpeg (it pads the image
// with grey): `truncated` remembers it so the reader can refuse the file.
struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
    bool truncated = false;
};

[[noreturn]] inline void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

inline void OnJpegMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

// Errors jump back, warnings are noted, nothing is printed.
inline void InstallErrors(JpegErrors& errors) {
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.emit_message = OnJpegMessage;
    errors.manager.output_message = [](j_common_ptr) {};
}

}  // namespace gdiplus::codecs
