#pragma once
// Streams in the shape of OLE's IStream, and the stream over a global memory
// block that images are encoded into and decoded from.
#include "platform/win/global_memory.h"
#include "platform/win/hresult.h"

#include <cstdint>
#include <memory>

namespace win {

enum class SeekOrigin : uint32_t { Begin = 0, Current = 1, End = 2 };

constexpr uint32_t STGTY_STREAM = 2;

struct StreamStat {
    uint32_t type = STGTY_STREAM;
    uint64_t size = 0;
};

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to `count` bytes; fewer (S_OK all the same) at the end of the stream.
    virtual HRESULT Read(void* buffer, uint32_t count, uint32_t* bytesRead) = 0;
    // Writes at the position, growing the stream as needed.
    virtual HRESULT Write(const void* buffer, uint32_t count, uint32_t* bytesWritten) = 0;
    // A position before the start is refused; one past the end is allowed.
    virtual HRESULT Seek(int64_t move, SeekOrigin origin, uint64_t* newPosition) = 0;
    virtual HRESULT SetSize(uint64_t size) = 0;
    virtual HRESULT Stat(StreamStat* stat) = 0;
};

// A stream over `block` (the stream's size is the block's size), or over a new
// empty block when `block` is null. With `deleteOnRelease` the block is freed
// when the last reference to the stream goes. On failure `stream` is reset.
HRESULT CreateStreamOnHGlobal(HGLOBAL block, bool deleteOnRelease, std::shared_ptr<Stream>& stream);

// The block behind a stream made by CreateStreamOnHGlobal; E_INVALIDARG for
// any other stream.
HRESULT GetHGlobalFromStream(const Stream* stream, HGLOBAL& block);

}  // namespace win
