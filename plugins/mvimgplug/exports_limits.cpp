// The ceiling of the pixel budget.
#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/pixel_budget.h"

extern "C" {

void MVIMGPLUG_SetMaxDecodedImageBytes(uint64_t bytes) {
    mvimgplug::RunExport([&] { mvimgplug::SetMaxPixelBytes(bytes); });
}

}  // extern "C"
