// Metadata: searching a bitmap's tags by model, and making tags to store.
#include <FreeImage.h>

#include <cstring>

#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/object_table.h"

using namespace mvimgplug;

namespace {

FITAG* FindTag(MvimgplugHandle handle) {
    PluginObject* object = Objects().Find(handle, {ObjectKind::Tag});
    return object == nullptr ? nullptr : object->tag;
}

// A handle for a tag a search found; the tag stays the bitmap's.
MvimgplugHandle AddFoundTag(FITAG* tag, MvimgplugHandle search) {
    if (tag == nullptr) return 0;
    PluginObject object;
    object.kind = ObjectKind::Tag;
    object.tag = tag;
    object.owner = search;
    return Objects().Add(std::move(object));
}

// Setting a tag in a bitmap may free a tag a search found there, so the found
// tags of every search over the bitmap are given up first.
void ForgetFoundTags(MvimgplugHandle bitmap) {
    for (MvimgplugHandle dependant : Objects().DependantsOf(bitmap)) {
        if (Objects().Find(dependant, {ObjectKind::Search}) != nullptr) ReleaseDependants(dependant);
    }
}

// Only tags made by CreateTag are changed: a found tag is part of its
// bitmap's metadata, which SetMetadata alone changes.
template <class Set>
int32_t SetOnTag(MvimgplugHandle handle, Set&& set) {
    return RunExport<int32_t>(0, [&]() -> int32_t {
        PluginObject* object = Objects().Find(handle, {ObjectKind::Tag});
        return object != nullptr && object->ownsTag && set(object->tag) ? 1 : 0;
    });
}

// The value of a tag is sized by its length when it is set; a tag that holds
// a value keeps the length, count and type that value was checked against.
bool KeepsValueShape(FITAG* tag, bool unchanged) { return unchanged || FreeImage_GetTagValue(tag) == nullptr; }

}  // namespace

extern "C" {

uint32_t MVIMGPLUG_GetMetadataCount(int32_t model, MvimgplugHandle bitmap) {
    return RunExport<uint32_t>(0, [&]() -> uint32_t {
        FIBITMAP* dib = FindBitmap(bitmap);
        return dib == nullptr ? 0 : FreeImage_GetMetadataCount(static_cast<FREE_IMAGE_MDMODEL>(model), dib);
    });
}

MvimgplugHandle MVIMGPLUG_FindFirstMetadata(int32_t model, MvimgplugHandle bitmap, MvimgplugHandle* tag) {
    if (tag != nullptr) *tag = 0;
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        FIBITMAP* dib = FindBitmap(bitmap);
        if (dib == nullptr || tag == nullptr) return 0;
        FITAG* first = nullptr;
        FIMETADATA* found = FreeImage_FindFirstMetadata(static_cast<FREE_IMAGE_MDMODEL>(model), dib, &first);
        if (found == nullptr) return 0;
        PluginObject object;
        object.kind = ObjectKind::Search;
        object.search = found;
        object.owner = bitmap;
        const MvimgplugHandle search =
            AddOrDispose(std::move(object), [found] { FreeImage_FindCloseMetadata(found); });
        if (search == 0) return 0;
        *tag = AddFoundTag(first, search);
        return search;
    });
}

int32_t MVIMGPLUG_FindNextMetadata(MvimgplugHandle search, MvimgplugHandle* tag) {
    if (tag != nullptr) *tag = 0;
    return RunExport<int32_t>(0, [&]() -> int32_t {
        PluginObject* object = Objects().Find(search, {ObjectKind::Search});
        if (object == nullptr || tag == nullptr) return 0;
        FITAG* next = nullptr;
        if (!FreeImage_FindNextMetadata(object->search, &next)) return 0;
        *tag = AddFoundTag(next, search);
        return *tag != 0 ? 1 : 0;
    });
}

void MVIMGPLUG_FindCloseMetadata(MvimgplugHandle search) {
    RunExport([&] {
        if (Objects().Find(search, {ObjectKind::Search}) != nullptr) ReleaseObject(search);
    });
}

int32_t MVIMGPLUG_GetTagRecord(MvimgplugHandle tag, MvimgplugTagRecord* record) {
    if (record == nullptr) return 0;
    std::memset(record, 0, sizeof *record);
    return RunExport<int32_t>(0, [&]() -> int32_t {
        FITAG* found = FindTag(tag);
        if (found == nullptr) return 0;
        record->key = FreeImage_GetTagKey(found);
        record->description = FreeImage_GetTagDescription(found);
        record->id = FreeImage_GetTagID(found);
        record->type = static_cast<uint16_t>(FreeImage_GetTagType(found));
        record->count = FreeImage_GetTagCount(found);
        record->length = FreeImage_GetTagLength(found);
        record->value = FreeImage_GetTagValue(found);
        return 1;
    });
}

MvimgplugHandle MVIMGPLUG_CreateTag(void) {
    return RunExport<MvimgplugHandle>(0, []() -> MvimgplugHandle {
        FITAG* tag = FreeImage_CreateTag();
        if (tag == nullptr) return 0;
        PluginObject object;
        object.kind = ObjectKind::Tag;
        object.tag = tag;
        object.ownsTag = true;
        return AddOrDispose(std::move(object), [tag] { FreeImage_DeleteTag(tag); });
    });
}

int32_t MVIMGPLUG_SetTagKey(MvimgplugHandle tag, const char* key) {
    return SetOnTag(tag, [key](FITAG* t) { return key != nullptr && FreeImage_SetTagKey(t, key); });
}

int32_t MVIMGPLUG_SetTagID(MvimgplugHandle tag, uint16_t id) {
    return SetOnTag(tag, [id](FITAG* t) { return FreeImage_SetTagID(t, id) != FALSE; });
}

int32_t MVIMGPLUG_SetTagType(MvimgplugHandle tag, uint16_t type) {
    return SetOnTag(tag, [type](FITAG* t) {
        return KeepsValueShape(t, FreeImage_GetTagType(t) == type) &&
               FreeImage_SetTagType(t, static_cast<FREE_IMAGE_MDTYPE>(type));
    });
}

int32_t MVIMGPLUG_SetTagCount(MvimgplugHandle tag, uint32_t count) {
    return SetOnTag(tag, [count](FITAG* t) {
        return KeepsValueShape(t, FreeImage_GetTagCount(t) == count) && FreeImage_SetTagCount(t, count);
    });
}

int32_t MVIMGPLUG_SetTagLength(MvimgplugHandle tag, uint32_t length) {
    return SetOnTag(tag, [length](FITAG* t) {
        return KeepsValueShape(t, FreeImage_GetTagLength(t) == length) && FreeImage_SetTagLength(t, length);
    });
}

int32_t MVIMGPLUG_SetTagValue(MvimgplugHandle tag, const void* value) {
    return SetOnTag(tag, [value](FITAG* t) { return value != nullptr && FreeImage_SetTagValue(t, value); });
}

const char* MVIMGPLUG_GetTagKey(MvimgplugHandle tag) {
    return RunExport<const char*>(nullptr, [&]() -> const char* {
        FITAG* found = FindTag(tag);
        return found == nullptr ? nullptr : FreeImage_GetTagKey(found);
    });
}

int32_t MVIMGPLUG_SetMetadata(int32_t model, MvimgplugHandle bitmap, const char* key, MvimgplugHandle tag) {
    return RunExport<int32_t>(0, [&]() -> int32_t {
        FIBITMAP* dib = FindBitmap(bitmap);
        FITAG* given = FindTag(tag);
        if (dib == nullptr || given == nullptr || key == nullptr) return 0;
        // The library frees the tag a key held before; the one given may be
        // that very tag, so a copy is stored.
        FITAG* copy = FreeImage_CloneTag(given);
        if (copy == nullptr) return 0;
        ForgetFoundTags(bitmap);
        const BOOL stored = FreeImage_SetMetadata(static_cast<FREE_IMAGE_MDMODEL>(model), dib, key, copy);
        FreeImage_DeleteTag(copy);
        return stored ? 1 : 0;
    });
}

void MVIMGPLUG_DeleteTag(MvimgplugHandle tag) {
    RunExport([&] {
        PluginObject* object = Objects().Find(tag, {ObjectKind::Tag});
        if (object != nullptr && object->ownsTag) ReleaseObject(tag);
    });
}

}  // extern "C"
