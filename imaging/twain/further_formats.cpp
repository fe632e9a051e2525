#include "imaging/twain/further_formats.h"

#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/writers/plugin_savers.h"
#include "imaging/engine/writers/pnm_writer.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

// The common shape of every saver: 1 without a current image, else the
// engine's status; stored either way.
template <class Save>
MorvalenStatus Saved(TwainControl& control, Save save) {
    const MorvalenStatus status = control.currentImage() == 0 ? GenericError : save(control.currentImage());
    control.setLastStatus(status);
    return status;
}

}  // namespace

MorvalenStatus SaveAsBmp(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsBmp(id, path); });
}
MorvalenStatus SaveAsWBMP(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsWbmp(id, path); });
}
MorvalenStatus SaveAsXPM(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsXpm(id, path); });
}
MorvalenStatus SaveAsPNM(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsPnm(id, path); });
}
MorvalenStatus SaveAsTGA(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsTga(id, path); });
}
MorvalenStatus SaveAsPBM(TwainControl& control, const std::string& path) {
    return Saved(control, [&](int32_t id) { return SaveImageAsPbm(id, path); });
}
MorvalenStatus SaveAsEXR(TwainControl& control, const std::string& path, int32_t compression) {
    return Saved(control, [&](int32_t id) { return SaveImageAsExr(id, path, compression); });
}
MorvalenStatus SaveAsJ2K(TwainControl& control, const std::string& path, int32_t rate) {
    return Saved(control, [&](int32_t id) { return SaveImageAsJ2k(id, path, rate); });
}
MorvalenStatus SaveAsJP2(TwainControl& control, const std::string& path, int32_t rate) {
    return Saved(control, [&](int32_t id) { return SaveImageAsJp2(id, path, rate); });
}
MorvalenStatus SaveAsTIFF(TwainControl& control, const std::string& path, int32_t compression) {
    return Saved(control, [&](int32_t id) { return SaveImageAsTiff(id, path, compression, 0); });
}
MorvalenStatus SaveAsTIFFjpg(TwainControl& control, const std::string& path) {
    return SaveAsTIFFjpgEx(control, path, 75);
}
MorvalenStatus SaveAsTIFFjpgEx(TwainControl& control, const std::string& path, int32_t quality) {
    return Saved(control, [&](int32_t id) { return SaveImageAsTiffJpeg(id, path, quality); });
}

}  // namespace scanvelt
