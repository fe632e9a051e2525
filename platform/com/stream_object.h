#pragma once
// OLE's IStream as a COM object over one of our streams (platform/win), so a
// host can be handed a stream and can hand one in. The slots follow OLE's
// order; CopyTo, Commit, Revert and the region locks answer as a memory
// stream does (E_NOTIMPL for the locks, S_OK for Commit and Revert).
#include <memory>

#include "platform/com/interfaces.h"
#include "platform/win/stream.h"

namespace com {

inline constexpr IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
inline constexpr IID IID_IStream = makeOleGuid(0x0000000C);

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

struct STATSTG {
    OLECHAR* pwcsName;
    uint32_t type;
    uint64_t cbSize;
    FILETIME mtime, ctime, atime;
    uint32_t grfMode;
    uint32_t grfLocksSupported;
    CLSID clsid;
    uint32_t grfStateBits;
    uint32_t reserved;
};

class IStream : public IUnknown {
public:
    virtual HRESULT Read(void* buffer, uint32_t count, uint32_t* read) = 0;
    virtual HRESULT Write(const void* buffer, uint32_t count, uint32_t* written) = 0;
    virtual HRESULT Seek(int64_t move, uint32_t origin, uint64_t* position) = 0;
    virtual HRESULT SetSize(uint64_t size) = 0;
    virtual HRESULT CopyTo(IStream* target, uint64_t count, uint64_t* read, uint64_t* written) = 0;
    virtual HRESULT Commit(uint32_t flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(uint64_t offset, uint64_t count, uint32_t type) = 0;
    virtual HRESULT UnlockRegion(uint64_t offset, uint64_t count, uint32_t type) = 0;
    virtual HRESULT Stat(STATSTG* stat, uint32_t flags) = 0;
    virtual HRESULT Clone(IStream** clone) = 0;
};

// A new COM stream with one reference over `stream`; null for no stream.
IStream* MakeStreamObject(std::shared_ptr<win::Stream> stream);
// The stream behind a COM stream made by MakeStreamObject, null for any other
// object (asked through QueryInterface only, so a host's own object is safe).
std::shared_ptr<win::Stream> StreamOfObject(IUnknown* object);
// The stream of any object that answers IStream: ours as it is, a host's read
// from its position to its end into memory. Null when the object answers no
// IStream, a read fails, or it holds more than `limit` bytes (checked as the
// bytes arrive, before they are kept).
std::shared_ptr<win::Stream> ReadStreamObject(IUnknown* object, uint64_t limit);

}  // namespace com
