#include "imaging/engine/writers/gif_lzw_encoder.h"

#include <array>

namespace scanvelt {

namespace {

constexpr int32_t kHashSize = 5003;
constexpr int32_t kMaxCodes = 4096;
constexpr size_t kBlockBytes = 254;

class LzwCoder {
public:
    LzwCoder(int32_t initBits, std::vector<uint8_t>& out)
        : initBits_(initBits), codeBits_(initBits), maxCode_((1 << initBits) - 1), clearCode_(1 << (initBits - 1)),
          endCode_(clearCode_ + 1), freeCode_(clearCode_ + 2), out_(out) {}

    void Run(const GifIndexes& pixels) {
        ClearHash();
        OutputCode(clearCode_);
        bool first = true;
        int32_t prefix = 0;
        for (const int32_t y : GifRowOrder(pixels.height, pixels.interlaced)) {
            const uint8_t* row = pixels.bytes.data() + static_cast<size_t>(y) * pixels.stride;
            for (int32_t x = 0; x < pixels.width; ++x) {
                const int32_t p = PixelOf(row, x, pixels.depth);
                if (first) {
                    prefix = p;
                    first = false;
                    continue;
                }
                prefix = Next(prefix, p);
            }
        }
        OutputCode(prefix);
        OutputCode(endCode_);
    }

private:
    static int32_t PixelOf(const uint8_t* row, int32_t x, int32_t depth) {
        switch (depth) {
            case 8: return row[x];
            case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
            default: return 0;
        }
    }

    // One more pixel after the string `prefix`: the code of the longer
    // string when the table has it, else `prefix` goes out and p starts anew.
    int32_t Next(int32_t prefix, int32_t p) {
        const int32_t key = p * kMaxCodes + prefix;
        int32_t i = (p << 4) ^ prefix;
        if (keys_[static_cast<size_t>(i)] == key) return codes_[static_cast<size_t>(i)];
        if (keys_[static_cast<size_t>(i)] >= 0) {
            const int32_t step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0) i += kHashSize;
                if (keys_[static_cast<size_t>(i)] == key) return codes_[static_cast<size_t>(i)];
            } while (keys_[static_cast<size_t>(i)] > 0);
        }
        OutputCode(prefix);
        if (freeCode_ < kMaxCodes) {
            codes_[static_cast<size_t>(i)] = static_cast<uint16_t>(freeCode_++);
            keys_[static_cast<size_t>(i)] = key;
        } else {
            ClearBlock();
        }
        return p;
    }

    void ClearHash() { keys_.fill(-1); }

    void ClearBlock() {
        ClearHash();
        freeCode_ = clearCode_ + 2;
        clearPending_ = true;
        OutputCode(clearCode_);
    }

    void OutputCode(int32_t code) {
        bitBuffer_ &= (1u << bitCount_) - 1;
        bitBuffer_ = bitCount_ == 0 ? static_cast<uint32_t>(code) : bitBuffer_ | static_cast<uint32_t>(code) << bitCount_;
        bitCount_ += codeBits_;
        while (bitCount_ >= 8) {
            CharOut(static_cast<uint8_t>(bitBuffer_));
            bitBuffer_ >>= 8;
            bitCount_ -= 8;
        }
        if (clearPending_) {
            codeBits_ = initBits_;
            maxCode_ = (1 << initBits_) - 1;
            clearPending_ = false;
        } else if (freeCode_ > maxCode_) {
            ++codeBits_;
            maxCode_ = codeBits_ == 12 ? kMaxCodes : (1 << codeBits_) - 1;
        }
        if (code == endCode_) {
            while (bitCount_ > 0) {
                CharOut(static_cast<uint8_t>(bitBuffer_));
                bitBuffer_ >>= 8;
                bitCount_ -= 8;
            }
            FlushChars();
        }
    }

    void CharOut(uint8_t byte) {
        block_[blockCount_++] = byte;
        if (blockCount_ == kBlockBytes) FlushChars();
    }

    void FlushChars() {
        if (blockCount_ == 0) return;
        out_.push_back(static_cast<uint8_t>(blockCount_));
        out_.insert(out_.end(), block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(blockCount_));
        blockCount_ = 0;
    }

    const int32_t initBits_;
    int32_t codeBits_;
    int32_t maxCode_;
    const int32_t clearCode_;
    const int32_t endCode_;
    int32_t freeCode_;
    bool clearPending_ = false;
    std::array<int32_t, kHashSize> keys_{};
    std::array<uint16_t, kHashSize> codes_{};
    uint32_t bitBuffer_ = 0;
    int32_t bitCount_ = 0;
    std::array<uint8_t, kBlockBytes> block_{};
    size_t blockCount_ = 0;
    std::vector<uint8_t>& out_;
};

}  // namespace

std::vector<int32_t> GifRowOrder(int32_t height, bool interlaced) {
    std::vector<int32_t> rows;
    rows.reserve(static_cast<size_t>(height > 0 ? height : 0));
    if (!interlaced) {
        for (int32_t y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int32_t kStart[4] = {0, 4, 2, 1};
    constexpr int32_t kStep[4] = {8, 8, 4, 2};
    for (int32_t pass = 0; pass < 4; ++pass) {
        for (int32_t y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    }
    return rows;
}

void GifCompress(int32_t initBits, const GifIndexes& pixels, std::vector<uint8_t>& out) {
    LzwCoder(initBits, out).Run(pixels);
}

}  // namespace scanvelt
