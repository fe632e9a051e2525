// The members of _MvViewer and the events of __MvViewer.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> MvViewerMembers() {
    return {
        Method(0x6003003e, "ImageClosed", {}, VT_EMPTY),
        StatusMethod(0x60030077, "SetNativeImage", {Long("nImageID")}),
    };
}

std::vector<MemberModel> MvViewerEvents() {
    auto shortRef = [](const char* name) { return ByRef(Param(name, VT_I2)); };
    auto mouse = [&] {
        return std::vector<ParamModel>{shortRef("Button"), shortRef("shift"), ByRef(Param("X", VT_R4)), ByRef(Param("y", VT_R4))};
    };
    ParamModel files = ByRef(Param("sFilesPath", VT_SAFEARRAY));
    return {
        Method(1, "DataReceived", {Long("nPercentProgress"), Long("nLeftToTransfer"), Long("nTotalLength")}, VT_EMPTY),
        Method(2, "ZoomChange", {}, VT_EMPTY),
        Method(3, "ScrollControl", {}, VT_EMPTY),
        Method(4, "Rotation", {EnumParam("nRotation", "RotateFlipType")}, VT_EMPTY),
        Method(5, "PageChange", {}, VT_EMPTY),
        Method(6, "FileDrop", {Text("sFilePath")}, VT_EMPTY),
        Method(7, "FilesDrop", {files, Long("nFilesCount")}, VT_EMPTY),
        Method(8, "PictureChange", {}, VT_EMPTY),
        Method(9, "PictureChanged", {}, VT_EMPTY),
        Method(10, "Display", {}, VT_EMPTY),
        Method(11, "KeyPressControl", {shortRef("KeyAscii")}, VT_EMPTY),
        Method(12, "KeyUpControl", {shortRef("KeyAscii"), shortRef("shift")}, VT_EMPTY),
        Method(13, "KeyDownControl", {shortRef("KeyAscii"), shortRef("shift")}, VT_EMPTY),
        Method(14, "MouseMoveControl", mouse(), VT_EMPTY),
        Method(15, "ClickControl", {}, VT_EMPTY),
        Method(16, "DblClickControl", {}, VT_EMPTY),
        Method(17, "MouseDownControl", mouse(), VT_EMPTY),
        Method(18, "MouseUpControl", mouse(), VT_EMPTY),
        Method(19, "ResizeControl", {}, VT_EMPTY),
        Method(20, "PaintControl", {}, VT_EMPTY),
        Method(21, "ClickMenu", {ByRef(Long("MenuItem"))}, VT_EMPTY),
        Method(22, "BeforeZoomChange", {}, VT_EMPTY),
        Method(23, "PrintPage", {Long("nPage"), Long("nPageLeft")}, VT_EMPTY),
        Method(24, "MouseWheelControl", {Param("UpDown", VT_I2)}, VT_EMPTY),
        Method(25, "PdfPasswordRequest", {ByRef(Text("Password"))}, VT_EMPTY),
    };
}

}  // namespace scanvelt::typelib
