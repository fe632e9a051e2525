#pragma once
// Zero-filled byte blocks for whole pages (tens of megabytes). A large block
// is aligned to the 2 MiB huge-page size and advised as such, so that the
// first touch of a scanned page costs a few page faults instead of thousands;
// under a virtual machine those faults, not the copying, decided the time a
// page took to arrive.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace win {

struct LargeBufferFree {
    void operator()(uint8_t* bytes) const;
};
using LargeBuffer = std::unique_ptr<uint8_t[], LargeBufferFree>;

// `count` zero bytes (at least one); empty when memory runs out.
LargeBuffer AllocateZeroed(size_t count);

}  // namespace win
