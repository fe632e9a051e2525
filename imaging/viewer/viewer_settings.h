#pragma once
// The viewer's persisted properties with their defaults: what the container's
// property bag keeps (viewer_property_bag.h) and what a new instance starts
// with. The image geometry and page counts are persisted too, although a
// document overwrites them.
#include <cstdint>

namespace scanvelt {

struct ViewerSettings {
    bool ScrollBars = true;
    bool EnableMenu = true;
    double Zoom = 1.0;
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    int32_t MouseMode = 2;  // pan
    int32_t ZoomStep = 10;
    int16_t ScrollSmallChange = 1;
    int16_t ScrollLargeChange = 50;
    float VerticalResolution = 0;
    float HorizontalResolution = 0;
    int32_t PageCount = 0;
    int32_t CurrentPage = 0;
    bool SilentMode = false;
    int32_t PdfDpiRendering = 200;
    bool PdfForceTemporaryMode = false;
    bool ImageForceTemporaryMode = false;
    bool SkipImageResolution = false;
    bool LockControl = false;
    int32_t ZoomMode = 1;  // 100 %
    int32_t PdfRenderingMode = 2;
    int32_t RectBorderStyle = 1;
    int32_t RectDrawMode = 13;
    bool Enabled = true;
    bool EnableMouseWheel = true;
    int32_t ImageAlignment = 2;  // middle centre
    int32_t ImagePosition = 2;   // middle centre
    bool AnimateGIF = false;
    int16_t RectBorderSize = 1;
    bool ClipControls = true;
    int32_t RectBorderColor = 0;
    int16_t BorderStyle = 1;  // fixed single
    int16_t Appearance = 1;   // 3D
    int16_t BackStyle = 1;    // opaque
    int32_t BackColor = 0;
    bool ScrollOptimization = false;
    int32_t ViewerQuality = 4;  // high-quality bicubic
    bool ViewerQualityAuto = false;
    bool ForcePictureMode = false;
    bool KeepImagePosition = false;
    int32_t MouseWheelMode = 0;
    bool ViewerDrop = false;
    bool DisableAutoFocus = false;
    int32_t MousePointer = 0;
    bool PdfDisplayFormField = true;
    bool ForceScrollBars = false;
    bool PdfEnablePageCash = false;
    int32_t ImageMaskColor = 0x10000;  // RGB(0,0,1): no colour masked
    float Gamma = 1.0f;
    bool RectIsEditable = true;
    bool ContinuousViewMode = true;
    int32_t MouseButtonForMouseMode = 1;
    bool OptimizeDrawingSpeed = false;
    bool PDFShowDialogForPassword = true;
};

}  // namespace scanvelt
