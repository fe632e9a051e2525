// Multi-page files, page by page.
#include <FreeImage.h>

#include "plugins/mvimgplug/format_allow_list.h"
#include "plugins/mvimgplug/input_file.h"
#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/object_table.h"
#include "plugins/mvimgplug/row_order.h"
#include "plugins/mvimgplug/tiff_page_reader.h"

using namespace mvimgplug;

namespace {

FIMULTIBITMAP* FindMultiBitmap(MvimgplugHandle handle) {
    PluginObject* object = Objects().Find(handle, {ObjectKind::MultiBitmap});
    return object == nullptr ? nullptr : object->multiBitmap;
}

}  // namespace

extern "C" {

MvimgplugHandle MVIMGPLUG_OpenMultiBitmapU(int32_t format, int32_t flags, MvimgplugHandle file) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        PluginObject* fileObject = Objects().Find(file, {ObjectKind::File});
        if (fileObject == nullptr || !IsAllowedFormat(format) || !IsMultiPageFormat(format)) return 0;
        PluginObject object;
        object.kind = ObjectKind::MultiBitmap;
        // The multi-bitmap reads its pages from the file as they are locked, so
        // it keeps the file open even after the file handle is closed.
        object.file = fileObject->file;
        object.format = format;
        object.multiBitmap = FreeImage_OpenMultiBitmapFromHandle(static_cast<FREE_IMAGE_FORMAT>(format), StreamIo(),
                                                                 object.file->Rewound(),
                                                                 WithIconTransparency(format, flags));
        if (object.multiBitmap == nullptr) return 0;
        FIMULTIBITMAP* opened = object.multiBitmap;
        return AddOrDispose(std::move(object), [opened] { FreeImage_CloseMultiBitmap(opened, 0); });
    });
}

int32_t MVIMGPLUG_GetPageCount(MvimgplugHandle multiBitmap) {
    return RunExport<int32_t>(0, [&]() -> int32_t {
        FIMULTIBITMAP* multi = FindMultiBitmap(multiBitmap);
        return multi == nullptr ? 0 : FreeImage_GetPageCount(multi);
    });
}

MvimgplugHandle MVIMGPLUG_LockPage(MvimgplugHandle multiBitmap, int32_t index) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        PluginObject* owner = Objects().Find(multiBitmap, {ObjectKind::MultiBitmap});
        if (owner == nullptr || index < 0 || index >= FreeImage_GetPageCount(owner->multiBitmap)) return 0;
        if (owner->format == FIF_TIFF) {
            // TIFF pages never go through the library's own TIFF loader.
            PluginObject object;
            object.kind = ObjectKind::Page;
            object.bitmap = ReadTiffPage(*owner->file, index);
            object.owner = multiBitmap;
            object.ownPage = true;
            if (object.bitmap == nullptr) return 0;
            FIBITMAP* page = object.bitmap;
            return AddOrDispose(std::move(object), [page] { FreeImage_Unload(page); });
        }
        FIMULTIBITMAP* multi = owner->multiBitmap;
        FIBITMAP* page = FreeImage_LockPage(multi, index);
        if (page == nullptr) return 0;
        if (!FreeImage_HasPixels(page) || !FreeImage_FlipVertical(page)) {
            FreeImage_UnlockPage(multi, page, FALSE);
            return 0;
        }
        PluginObject object;
        object.kind = ObjectKind::Page;
        object.bitmap = page;
        object.owner = multiBitmap;
        return AddOrDispose(std::move(object), [multi, page] { FreeImage_UnlockPage(multi, page, FALSE); });
    });
}

void MVIMGPLUG_UnlockPage(MvimgplugHandle multiBitmap, MvimgplugHandle page, int32_t changed) {
    RunExport([&] {
        FIMULTIBITMAP* multi = FindMultiBitmap(multiBitmap);
        PluginObject* object = Objects().Find(page, {ObjectKind::Page});
        if (multi == nullptr || object == nullptr || object->owner != multiBitmap) return;
        ReleaseDependants(page);
        if (object->ownPage) {
            // The file is only read: a changed page has nowhere to go back to.
            FreeImage_Unload(object->bitmap);
            Objects().Erase(page);
            return;
        }
        // A changed page goes back to the library, which keeps its rows the other way up.
        if (changed != 0 && !FreeImage_FlipVertical(object->bitmap)) changed = 0;
        FreeImage_UnlockPage(multi, object->bitmap, changed != 0 ? TRUE : FALSE);
        Objects().Erase(page);
    });
}

void MVIMGPLUG_CloseMultiBitmap(MvimgplugHandle multiBitmap, int32_t flags) {
    RunExport([&] {
        FIMULTIBITMAP* multi = FindMultiBitmap(multiBitmap);
        if (multi == nullptr) return;
        ReleaseDependants(multiBitmap);
        FreeImage_CloseMultiBitmap(multi, flags);
        Objects().Erase(multiBitmap);
    });
}

}  // extern "C"
