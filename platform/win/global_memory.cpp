#include "platform/win/global_memory.h"

#include "platform/win/handle_table.h"
#include "platform/win/host_services.h"
#include "platform/win/large_buffer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

namespace win {
namespace {

struct GlobalBlock {
    bool moveable = false;
    size_t size = 0;
    size_t capacity = 0;
    uint32_t locks = 0;
    LargeBuffer bytes;
    std::mutex mutex;
};

// One table for the whole process: a block a plug-in allocates (a scanned
// page) is freed or read by the library that receives it, each with its own
// copy of this layer.
struct GlobalBlockTable {
    HandleTable<HGLOBAL, GlobalBlock> table{HandleKind::GlobalMemory};
};

HandleTable<HGLOBAL, GlobalBlock>& blocks() { return HostService<GlobalBlockTable>("win.global_memory").table; }

// At least one byte is held, so that even an empty block has an address.
LargeBuffer zeroedBytes(size_t count) { return AllocateZeroed(count); }

}  // namespace

HGLOBAL GlobalAlloc(uint32_t flags, size_t bytes) {
    if (bytes > kMaxGlobalBlockSize) return HGLOBAL{};
    auto block = std::make_shared<GlobalBlock>();
    block->bytes = zeroedBytes(bytes);
    if (!block->bytes) return HGLOBAL{};
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    block->size = bytes;
    block->capacity = std::max<size_t>(bytes, 1);
    return blocks().add(std::move(block));
}

void* GlobalLock(HGLOBAL handle) {
    auto block = blocks().find(handle);
    if (!block) return nullptr;
    std::lock_guard lock(block->mutex);
    if (block->moveable) {
        if (block->locks == UINT32_MAX) return nullptr;
        ++block->locks;
    }
    return block->bytes.get();
}

bool GlobalUnlock(HGLOBAL handle) {
    auto block = blocks().find(handle);
    if (!block) return false;
    std::lock_guard lock(block->mutex);
    if (block->locks > 0) --block->locks;
    return block->locks > 0;
}

size_t GlobalSize(HGLOBAL handle) {
    auto block = blocks().find(handle);
    if (!block) return 0;
    std::lock_guard lock(block->mutex);
    return block->size;
}

uint32_t GlobalLockCount(HGLOBAL handle) {
    auto block = blocks().find(handle);
    if (!block) return 0;
    std::lock_guard lock(block->mutex);
    return block->locks;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, size_t bytes, uint32_t /*flags*/) {
    auto block = blocks().find(handle);
    if (!block || bytes > kMaxGlobalBlockSize) return HGLOBAL{};
    std::lock_guard lock(block->mutex);
    if (bytes > block->capacity) {
        if (!block->moveable || block->locks > 0) return HGLOBAL{};
        // Room grows by half again, so a stream written in small pieces is
        // not copied at every write; the size stays exactly what was asked.
        size_t room = std::max(bytes, std::min(kMaxGlobalBlockSize, block->capacity + block->capacity / 2));
        auto grown = zeroedBytes(room);
        if (!grown) return HGLOBAL{};
        std::memcpy(grown.get(), block->bytes.get(), block->size);
        block->bytes = std::move(grown);
        block->capacity = room;
    } else if (bytes > block->size) {
        std::memset(block->bytes.get() + block->size, 0, bytes - block->size);
    }
    block->size = bytes;
    return handle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    return blocks().remove(handle) ? HGLOBAL{} : handle;
}

bool CopyGlobalBytes(HGLOBAL handle, size_t count, std::vector<uint8_t>& out) {
    auto block = blocks().find(handle);
    if (!block) return false;
    std::lock_guard lock(block->mutex);
    if (count > block->size) return false;
    const uint8_t* bytes = block->bytes.get();
    out.assign(bytes, bytes + count);
    return true;
}

size_t LiveGlobalBlockCount() { return blocks().size(); }

}  // namespace win
