#pragma once
// The plug-in's one table of the objects behind its handles. A handle carries
// its kind in the top four bits and a serial below them that is not reused
// while fresh serials are left, so a handle of another kind, or one that was
// given back, finds nothing. Objects may depend on another object (a locked
// page on its multi-bitmap, a search on its bitmap, a found tag on its
// search); releasing an object releases its dependants first.
//
// Not locked by itself: every export holds LibraryLock (library_lock.h).
#include <FreeImage.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"

namespace mvimgplug {

class InputFile;

enum class ObjectKind : uint32_t {
    File = 1,
    Bitmap = 2,
    MultiBitmap = 3,
    Page = 4,
    Search = 5,
    Tag = 6,
};

struct PluginObject {
    ObjectKind kind = ObjectKind::Bitmap;
    // Bitmap and Page: the library's bitmap, kept with its top row first.
    FIBITMAP* bitmap = nullptr;
    FIMULTIBITMAP* multiBitmap = nullptr;
    // MultiBitmap: the format its file is read as.
    int32_t format = -1;
    FIMETADATA* search = nullptr;
    FITAG* tag = nullptr;
    // Tags made by CreateTag belong to the plug-in; found tags to their bitmap.
    bool ownsTag = false;
    // File, and the multi-bitmap read through it.
    std::shared_ptr<InputFile> file;
    // Page: decoded by the plug-in itself rather than locked in the library,
    // so it is unloaded when given back.
    bool ownPage = false;
    // The object this one depends on; 0 for none.
    MvimgplugHandle owner = 0;
    // The header GetInfo handed out last.
    std::vector<uint8_t> info;
};

class ObjectTable {
public:
    // A fresh handle for the object; 0 when every serial is in use.
    MvimgplugHandle Add(PluginObject object);
    // The object when the handle names one of the kinds; null otherwise. Valid
    // until the table changes.
    PluginObject* Find(MvimgplugHandle handle, std::initializer_list<ObjectKind> kinds);
    // Handles of the objects that depend on `owner`.
    std::vector<MvimgplugHandle> DependantsOf(MvimgplugHandle owner) const;
    // Forgets the handle (the caller has freed what it named).
    void Erase(MvimgplugHandle handle);
    size_t Size() const { return objects_.size(); }

private:
    std::unordered_map<MvimgplugHandle, PluginObject> objects_;
    uint32_t nextSerial_ = 1;
};

// The plug-in's table.
ObjectTable& Objects();

// A bitmap or a locked page; null for any other handle.
FIBITMAP* FindBitmap(MvimgplugHandle handle);

// Frees the object and, first, everything that depends on it: a bitmap is
// unloaded, a page unlocked unchanged, a multi-bitmap closed without saving,
// a search ended, a tag made by CreateTag deleted. Unknown handles are ignored.
void ReleaseObject(MvimgplugHandle handle);
// Frees everything that depends on `owner`, leaving `owner` itself.
void ReleaseDependants(MvimgplugHandle owner);

// Adds the object; when no handle can be had, or memory runs out, `dispose`
// frees what the object names, so nothing the library made is left behind.
template <class Dispose>
MvimgplugHandle AddOrDispose(PluginObject object, Dispose&& dispose) {
    MvimgplugHandle handle = 0;
    try {
        handle = Objects().Add(std::move(object));
    } catch (...) {
        dispose();
        throw;
    }
    if (handle == 0) dispose();
    return handle;
}

// Registers a bitmap the library made (nothing for null); unloads it when no
// handle can be had.
MvimgplugHandle AddBitmap(FIBITMAP* bitmap);

}  // namespace mvimgplug
