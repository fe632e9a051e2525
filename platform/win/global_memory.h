#pragma once
// Global memory blocks: the blocks in which packed DIBs and memory streams
// travel between the library and its hosts, named by HGLOBAL handles.
#include "platform/win/handles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace win {

constexpr uint32_t GMEM_FIXED = 0x0000;
constexpr uint32_t GMEM_MOVEABLE = 0x0002;
constexpr uint32_t GMEM_ZEROINIT = 0x0040;
constexpr uint32_t GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr uint32_t GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Blocks are limited to what a 32-bit size can say.
constexpr size_t kMaxGlobalBlockSize = 0xFFFFFFFFu;

// A new block of `bytes` bytes; the null handle when it cannot be had. Every
// block starts zero-filled, GMEM_ZEROINIT or not, so no stale memory leaks out.
HGLOBAL GlobalAlloc(uint32_t flags, size_t bytes);

// The address of the block's first byte, nullptr for an invalid handle. A
// moveable block counts its locks; while locked it does not move. A fixed
// block never moves.
void* GlobalLock(HGLOBAL block);

// Counts one lock less; true while the block is still locked.
bool GlobalUnlock(HGLOBAL block);

// The size asked for at allocation (or the last resize); 0 for an invalid handle.
size_t GlobalSize(HGLOBAL block);

// Locks currently held on a moveable block; 0 for fixed blocks and invalid handles.
uint32_t GlobalLockCount(HGLOBAL block);

// Resizes the block, keeping its bytes; new bytes are zero. A fixed block, or a
// moveable block while locked, can only be resized where it stands (within the
// room it already has), since addresses handed out must stay valid. Returns the
// same handle, or the null handle when the block is invalid or cannot be resized.
HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, uint32_t flags);

// Frees the block: the null handle on success, the handle itself when it names
// no block (already freed, another kind, never allocated).
HGLOBAL GlobalFree(HGLOBAL block);

// A copy of the first `count` bytes of the block, for a host that names its
// bytes by a handle: false, with `out` untouched, when the handle names no
// block or the block holds fewer bytes. The block cannot go while it is read.
bool CopyGlobalBytes(HGLOBAL block, size_t count, std::vector<uint8_t>& out);

// Blocks alive now, for the tests' leak checks.
size_t LiveGlobalBlockCount();

}  // namespace win
