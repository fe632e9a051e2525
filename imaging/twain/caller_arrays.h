#pragma once
// The array members' way of handing a value list to the host: the host's
// array (passed by reference) is grown to the list when it is shorter, kept
// with its bounds otherwise, and every element from its lower to its upper
// bound gets the engine's value at that index.
#include <cstddef>
#include <cstdint>

#include "imaging/twain/capability_members.h"
#include "platform/com/dispatch_arguments.h"

namespace scanvelt {

enum class ListElement { Double, Long, Text };

// The list's count; the host's array (argument `index`) is left unchanged
// when the list is empty. Long elements are rounded, halves to even.
int32_t FillCallerArray(const com::BoundArguments& arguments, size_t index, const twain_capability::LoadedList& list,
                        ListElement kind);

}  // namespace scanvelt
