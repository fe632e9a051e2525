#pragma once
// The library hands OpenEXR a stream that reports a short read as success,
// so a truncated or garbled EXR header makes OpenEXR read the same bytes for
// ever. Before an EXR file reaches it, its header is walked here: every
// attribute must end inside the file, the header must end, and the data
// window must fit the pixel budget.
#include <cstdio>

namespace mvimgplug {

bool ExrHeaderHoldsTogether(std::FILE* stream);

}  // namespace mvimgplug
