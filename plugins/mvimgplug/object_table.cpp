#include "plugins/mvimgplug/object_table.h"

#include <algorithm>

#include "plugins/mvimgplug/input_file.h"

namespace mvimgplug {

namespace {

constexpr int kKindShift = 28;
constexpr uint32_t kSerialMask = (1u << kKindShift) - 1;

ObjectKind KindOf(MvimgplugHandle handle) { return static_cast<ObjectKind>(handle >> kKindShift); }

}  // namespace

MvimgplugHandle ObjectTable::Add(PluginObject object) {
    for (uint32_t tries = 0; tries < kSerialMask; ++tries) {
        const uint32_t serial = nextSerial_;
        nextSerial_ = serial == kSerialMask ? 1 : serial + 1;
        const MvimgplugHandle handle = (static_cast<uint32_t>(object.kind) << kKindShift) | serial;
        if (!objects_.contains(handle)) {
            objects_.emplace(handle, std::move(object));
            return handle;
        }
    }
    return 0;
}

PluginObject* ObjectTable::Find(MvimgplugHandle handle, std::initializer_list<ObjectKind> kinds) {
    if (handle == 0 || std::find(kinds.begin(), kinds.end(), KindOf(handle)) == kinds.end()) return nullptr;
    auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : &it->second;
}

std::vector<MvimgplugHandle> ObjectTable::DependantsOf(MvimgplugHandle owner) const {
    std::vector<MvimgplugHandle> dependants;
    for (const auto& [handle, object] : objects_) {
        if (object.owner == owner) dependants.push_back(handle);
    }
    return dependants;
}

void ObjectTable::Erase(MvimgplugHandle handle) { objects_.erase(handle); }

ObjectTable& Objects() {
    static ObjectTable table;
    return table;
}

FIBITMAP* FindBitmap(MvimgplugHandle handle) {
    PluginObject* object = Objects().Find(handle, {ObjectKind::Bitmap, ObjectKind::Page});
    return object == nullptr ? nullptr : object->bitmap;
}

void ReleaseDependants(MvimgplugHandle owner) {
    for (MvimgplugHandle dependant : Objects().DependantsOf(owner)) ReleaseObject(dependant);
}

void ReleaseObject(MvimgplugHandle handle) {
    PluginObject* object = Objects().Find(handle, {ObjectKind::File, ObjectKind::Bitmap, ObjectKind::MultiBitmap,
                                                   ObjectKind::Page, ObjectKind::Search, ObjectKind::Tag});
    if (object == nullptr) return;
    // Erasing other entries leaves this one where it is.
    ReleaseDependants(handle);
    switch (object->kind) {
        case ObjectKind::Bitmap: FreeImage_Unload(object->bitmap); break;
        case ObjectKind::Page: {
            PluginObject* multi = Objects().Find(object->owner, {ObjectKind::MultiBitmap});
            if (object->ownPage) {
                FreeImage_Unload(object->bitmap);
            } else if (multi != nullptr) {
                FreeImage_UnlockPage(multi->multiBitmap, object->bitmap, FALSE);
            }
            break;
        }
        case ObjectKind::MultiBitmap: FreeImage_CloseMultiBitmap(object->multiBitmap, 0); break;
        case ObjectKind::Search: FreeImage_FindCloseMetadata(object->search); break;
        case ObjectKind::Tag:
            if (object->ownsTag) FreeImage_DeleteTag(object->tag);
            break;
        case ObjectKind::File: break;
    }
    Objects().Erase(handle);
}

MvimgplugHandle AddBitmap(FIBITMAP* bitmap) {
    if (bitmap == nullptr) return 0;
    PluginObject object;
    object.kind = ObjectKind::Bitmap;
    object.bitmap = bitmap;
    return AddOrDispose(std::move(object), [bitmap] { FreeImage_Unload(bitmap); });
}

}  // namespace mvimgplug
