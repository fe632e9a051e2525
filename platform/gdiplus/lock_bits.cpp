// Locking a rectangle of a bitmap's pixels: straight into the bitmap's memory
// where the format and position allow, else through a buffer that is filled
// at the lock and written back at the unlock.
#include <atomic>
#include <climits>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/lock_state.h"

namespace gdiplus {
namespace {

constexpr std::uint32_t kAllLockModes = ImageLockModeRead | ImageLockModeWrite | ImageLockModeUserInputBuf;

std::uintptr_t NextLockToken() {
    static std::atomic<std::uintptr_t> counter{0};
    return ++counter;
}

}  // namespace

Status Bitmap::LockBits(const Rect& rect, std::uint32_t flags, PixelFormat format, BitmapData& data) {
    if (lock_) return WrongState;
    const bool read = (flags & ImageLockModeRead) != 0;
    const bool write = (flags & ImageLockModeWrite) != 0;
    const bool userBuffer = (flags & ImageLockModeUserInputBuf) != 0;
    if ((flags & ~kAllLockModes) != 0 || (!read && !write)) return InvalidParameter;
    if (!Contains(rect) || !IsSupportedPixelFormat(format)) return InvalidParameter;

    auto state = std::make_unique<LockState>();
    state->rect = rect;
    state->flags = flags;
    state->format = format;
    const std::int64_t firstBit = std::int64_t{rect.X} * GetPixelFormatSize(format);
    if (userBuffer) {
        if (Status s = CheckTransfer(rect, format, data.Stride, data.Scan0); s != Ok) return s;
        state->scan0 = data.Scan0;
        state->stride = data.Stride;
    } else if (format == format_ && firstBit % 8 == 0) {
        state->direct = true;
        state->scan0 = Row(rect.Y) + firstBit / 8;
        state->stride = stride_;
    } else {
        const std::int64_t stride = DefaultStride(rect.Width, format);
        if (stride > INT32_MAX / rect.Height) return OutOfMemory;
        // A read lock's buffer is filled at once but for the padding of its
        // rows (and the unused bits of a partial last byte, cleared with it):
        // it is not cleared as a whole first.
        const auto bytes = static_cast<std::size_t>(stride * rect.Height);
        state->buffer = read ? AllocUninitializedBuffer(bytes) : AllocBuffer(bytes);
        if (!state->buffer) return OutOfMemory;
        if (read)
            ClearRowPadding(state->buffer.get(), static_cast<std::size_t>(stride),
                            static_cast<std::size_t>(std::int64_t{rect.Width} * GetPixelFormatSize(format) / 8),
                            static_cast<std::size_t>(rect.Height));
        state->scan0 = state->buffer.get();
        state->stride = static_cast<std::int32_t>(stride);
    }
    if (read && !state->direct) {
        const Status converted = AnswerOutOfMemory([&] {
            ConvertOut(rect, format, state->stride, state->scan0);
            return Ok;
        });
        if (converted != Ok) return converted;
    }

    state->token = NextLockToken();
    data.Width = static_cast<std::uint32_t>(rect.Width);
    data.Height = static_cast<std::uint32_t>(rect.Height);
    data.Stride = state->stride;
    data.PixelFormat = format;
    data.Scan0 = state->scan0;
    data.Reserved = state->token;
    lock_ = std::move(state);
    return Ok;
}

Status Bitmap::UnlockBits(BitmapData& data) {
    if (!lock_) return WrongState;
    if (data.Reserved != lock_->token || data.Scan0 != lock_->scan0) return InvalidParameter;
    // The lock ends whatever happens to the write-back.
    std::unique_ptr<LockState> state = std::move(lock_);
    if (!(state->flags & ImageLockModeWrite) || state->direct) return Ok;
    return AnswerOutOfMemory([&] {
        ConvertIn(state->rect, state->format, state->stride, state->scan0);
        return Ok;
    });
}

}  // namespace gdiplus
