#pragma once
// The fuzz target's reading of its bytes: small numbers, a 32-bit integer, a
// double and a text, each taking what the input still holds (zeros past its end).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/testing/dispatch_sweep.h"

namespace scanvelt::sweep {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
    int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(u16()) | static_cast<uint32_t>(u16()) << 16); }
    double real() {
        uint64_t bits = static_cast<uint32_t>(i32());
        bits |= static_cast<uint64_t>(static_cast<uint32_t>(i32())) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A text of the classes (a selector below their count) or up to 32
    // characters of the input, with no folder separator in it.
    std::u16string text(const std::vector<com::testing::ArgumentClass>& classes) {
        const uint8_t selector = byte();
        if (selector < classes.size()) return classes[selector].text;
        std::u16string text;
        for (size_t n = selector % 33; n > 0 && !empty(); --n) {
            char16_t c = u16();
            if (c == u'/' || c == u'\\') c = u'_';
            text.push_back(c);
        }
        return text;
    }
    com::testing::ArgumentClass argument(const std::vector<com::testing::ArgumentClass>& classes) {
        com::testing::ArgumentClass a;
        a.name = "fuzz";
        a.integer = i32();
        a.real = real();
        a.boolean = (byte() & 1) != 0;
        a.text = text(classes);
        a.arrayLength = static_cast<int32_t>(byte() % 17) - 1;
        return a;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace scanvelt::sweep
