#pragma once
// The table of GDI+ encoders, one per thread, built at the engine's first
// start: each encoder's class ID, found by any of the file-name patterns GDI+
// lists for it ("*.jpg" in any case of its letters), so that a save finds its
// encoder without asking GDI+ for the list.
#include <cstdint>
#include <string_view>

#include "platform/gdiplus/guid.h"

namespace scanvelt {

// Builds the table from the encoders GDI+ lists, replacing any earlier one.
void BuildEncoderTable();
// Adds the keys of one encoder: every part of `text` ending at `separator`,
// unchanged, and the trimmed part after the last separator when it is not
// empty. A key already in the table keeps the encoder it has, so the first
// encoder that lists a pattern is the one found by it.
void AddEncoderKeys(std::string_view text, std::string_view separator, int32_t index);
// The encoder index of a pattern, compared without regard to case; -1 when
// there is no such key or no table yet.
int32_t EncoderIndexOf(std::string_view pattern);
// The encoder's class ID; the null GUID for an index outside the table.
gdiplus::Guid EncoderClsid(int32_t index);

}  // namespace scanvelt
