#pragma once
// Numeric rules of the image engine: fractional values go to the nearest integer
// with halves to the even neighbour, and a value that does not fit its target is
// a run-time failure that the operation turns into a status (GenericError, or
// OutOfMemory when memory ran out) instead of wrapping around.
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// A run-time failure inside an engine operation (overflow, division by zero).
class EngineFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Nearest integer, halves to even; EngineFailure for NaN and values outside the target.
int32_t RoundToInt32(double value);
int16_t RoundToInt16(double value);

// a * b, EngineFailure when the product leaves the 32-bit signed range.
int32_t CheckedMultiply(int32_t a, int32_t b);
// a + b, EngineFailure when the sum leaves the 32-bit signed range.
int32_t CheckedAdd(int32_t a, int32_t b);

// Runs an operation that returns a status and maps the failures it raises.
template <class Operation>
MorvalenStatus StatusOfRun(Operation&& operation) {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    } catch (const EngineFailure&) {
        return GenericError;
    }
}

}  // namespace scanvelt
