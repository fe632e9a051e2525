#pragma once
// The standard binary type-library format (header "MSFT"): written from a
// model at build time and carried inside the server library, and read back
// into a model. The reader checks every offset and count against the image
// before it uses it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/com/typelib_model.h"

namespace com {

std::vector<uint8_t> WriteTypeLibImage(const TypeLibModel& model);

// nullopt, with a reason in `error`, for an image that is not a well-formed
// type library of this shape.
std::optional<TypeLibModel> ReadTypeLibImage(std::span<const uint8_t> image, std::string* error = nullptr);

}  // namespace com
