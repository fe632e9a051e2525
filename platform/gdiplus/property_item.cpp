#include "platform/gdiplus/property_item.h"

#include <algorithm>

namespace gdiplus {

std::vector<PROPID> PropertyStore::IdList() const {
    std::vector<PROPID> ids;
    ids.reserve(items_.size());
    for (const auto& item : items_) ids.push_back(item.id);
    return ids;
}

Status PropertyStore::ItemSize(PROPID id, std::uint32_t& size) const {
    PropertyItem item;
    if (Status s = Get(id, item); s != Ok) return s;
    size = kPropertyItemHeaderSize + item.length;
    return Ok;
}

Status PropertyStore::Get(PROPID id, PropertyItem& item) const {
    auto it = std::find_if(items_.begin(), items_.end(), [id](const PropertyItem& p) { return p.id == id; });
    if (it == items_.end()) return PropertyNotFound;
    item = *it;
    return Ok;
}

void PropertyStore::TotalSize(std::uint32_t& totalBufferSize, std::uint32_t& numProperties) const {
    totalBufferSize = 0;
    for (const auto& item : items_) totalBufferSize += kPropertyItemHeaderSize + item.length;
    numProperties = Count();
}

Status PropertyStore::Set(const PropertyItem& item) {
    if (item.value.size() < item.length) return InvalidParameter;
    PropertyItem stored{item.id, item.length, item.type,
                        std::vector<std::uint8_t>(item.value.begin(), item.value.begin() + item.length)};
    auto it = std::find_if(items_.begin(), items_.end(), [&](const PropertyItem& p) { return p.id == item.id; });
    if (it == items_.end()) {
        items_.push_back(std::move(stored));
    } else {
        *it = std::move(stored);
    }
    return Ok;
}

Status PropertyStore::Remove(PROPID id) {
    auto it = std::find_if(items_.begin(), items_.end(), [id](const PropertyItem& p) { return p.id == id; });
    if (it == items_.end()) return PropertyNotFound;
    items_.erase(it);
    return Ok;
}

}  // namespace gdiplus
