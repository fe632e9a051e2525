#pragma once
// cGDIPPropertyItem: a copy of one GDI+ property item, as the controls and the
// metadata operations hand items around. A snapshot: later changes of the image
// do not reach it.
#include <cstdint>
#include <string>
#include <vector>

namespace scanvelt {

class cGDIPPropertyItem {
public:
    int32_t ID() const { return id_; }
    // Address of the first value byte, valid while the object lives; null when
    // Length is below 1.
    const uint8_t* DataPtr() const;
    int32_t ItemType() const { return itemType_; }
    int32_t Length() const { return length_; }
    // The tag's readable name (see PropertyTagName).
    std::string name() const;
    // Number of values by type; a division is rounded half to even, so a 3-byte
    // SHORT item counts 2.
    int32_t ValueCount() const;
    // Copies the value bytes; leaves `bytes` alone when Length is below 1.
    void GetDataB(std::vector<uint8_t>& bytes) const;

    // Fills the object from an item read as one buffer of `totalSize` bytes: a
    // 16-byte header and the value that `value` points to.
    void Init(int32_t id, int32_t length, int32_t type, const uint8_t* value, int32_t totalSize);

private:
    int32_t id_ = 0;
    int32_t length_ = 0;
    int32_t itemType_ = 0;
    std::vector<uint8_t> data_;
};

}  // namespace scanvelt
