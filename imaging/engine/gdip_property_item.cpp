#include "imaging/engine/gdip_property_item.h"

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/property_tag_names.h"

namespace scanvelt {

namespace {

// Size of the header GDI+ puts before a property item's value.
constexpr int32_t kItemHeaderSize = 16;

}  // namespace

const uint8_t* cGDIPPropertyItem::DataPtr() const {
    if (length_ < 1 || data_.empty()) return nullptr;
    return data_.data();
}

std::string cGDIPPropertyItem::name() const { return PropertyTagName(id_); }

int32_t cGDIPPropertyItem::ValueCount() const {
    const auto perElement = [this](int32_t size) { return RoundToInt32(static_cast<double>(length_) / size); };
    switch (itemType_) {
        case 2: return 1;
        case 1: case 6: case 7: return length_;
        case 3: case 8: return perElement(2);
        case 4: case 9: case 11: return perElement(4);
        case 5: case 10: case 12: return perElement(8);
        default: return 0;
    }
}

void cGDIPPropertyItem::GetDataB(std::vector<uint8_t>& bytes) const {
    if (length_ < 1) return;
    bytes = data_;
}

void cGDIPPropertyItem::Init(int32_t id, int32_t length, int32_t type, const uint8_t* value, int32_t totalSize) {
    id_ = id;
    length_ = length;
    itemType_ = type;
    data_.clear();
    if (value != nullptr && length > 0 && totalSize - kItemHeaderSize > 0) {
        data_.assign(value, value + (totalSize - kItemHeaderSize));
    }
}

}  // namespace scanvelt
