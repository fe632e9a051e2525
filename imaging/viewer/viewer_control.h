#pragma once
// The viewer control without its COM face: the document it shows, the
// layout and zoom, the drawing into its back buffer, and its scroll bars.
// ViewerObject binds the members to their dispatch IDs and hands in the
// host's site; events and "property changed" notices go out through the two
// functions the object gives.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/viewer/back_buffer.h"
#include "imaging/viewer/image_drawing_shift.h"
#include "imaging/viewer/scroll_bar.h"
#include "imaging/viewer/selection_outline.h"
#include "imaging/viewer/viewer_settings.h"
#include "platform/com/control_site.h"

namespace scanvelt {

class cInet;
class cPrinter;

// Event numbers of the viewer's event interface.
enum ViewerEvent : com::DISPID {
    kEventDataReceived = 1,
    kEventZoomChange = 2,
    kEventScrollControl = 3,
    kEventPageChange = 5,
    kEventFileDrop = 6,
    kEventFilesDrop = 7,
    kEventPictureChange = 8,
    kEventPictureChanged = 9,
    kEventRotation = 4,
    kEventDisplay = 10,
    kEventKeyPressControl = 11,
    kEventKeyUpControl = 12,
    kEventKeyDownControl = 13,
    kEventMouseMoveControl = 14,
    kEventClickControl = 15,
    kEventDblClickControl = 16,
    kEventMouseDownControl = 17,
    kEventMouseUpControl = 18,
    kEventResizeControl = 19,
    kEventPaintControl = 20,
    kEventClickMenu = 21,
    kEventBeforeZoomChange = 22,
    kEventMouseWheelControl = 24,
    kEventPrintPage = 23,
};


// The timer of the high-quality second pass.
constexpr uint32_t kQualityTimerId = 1;
// The one-shot timer of a playing GIF animation.
constexpr uint32_t kAnimationTimerId = 2;
// A PDF page larger than this many pixels is refused before its raster is made.
constexpr int64_t kMaxPdfPagePixels = 150'000'000;

class ViewerControl {
public:
    // `raise` raises an event with its arguments (in declaration order; the
    // callee clears them); `changed` tells the container a persisted property
    // changed (the property bag key).
    using RaiseEvent = std::function<void(com::DISPID id, std::vector<com::VARIANT>& args)>;
    using PropertyChanged = std::function<void(const std::string& key)>;

    ViewerControl(RaiseEvent raise, PropertyChanged changed);
    ~ViewerControl();
    ViewerControl(const ViewerControl&) = delete;
    ViewerControl& operator=(const ViewerControl&) = delete;

    // --- frame ---
    ViewerSettings& settings() { return s_; }
    const ViewerSettings& settings() const { return s_; }
    void setSite(com::IControlSite* site);  // not owned; the object keeps the reference
    void InitProperties();
    // After the property bag was read into settings(): applies the values
    // the constituent parts hold (no layout, no drawing).
    void ApplyReadProperties();
    void Show();
    void Resize(int32_t width, int32_t height);
    void Terminate();
    double GetVersion() const { return 5.9901306; }
    int32_t GetStat() const { return LastStatus_; }
    int32_t hwnd() const { return windowNumber_; }
    int32_t hdc() const { return static_cast<int32_t>(buffer_.dc()); }
    const BackBuffer& backBuffer() const { return buffer_; }
    // Whether a drawing at a zoom other than 1 keeps the drawing copy scaled
    // to the zoom for the scroll steps after it (on by default; off, every
    // drawing scales the visible part anew). For measuring and testing.
    void setKeepsScaledCopy(bool keep);
    // Property lets whose effects go beyond storing (the others store and notify).
    void setMousePointer(int32_t value);
    void setBorderStyle(int16_t value);
    void setBackColor(int32_t value);
    void setPdfDpiRendering(int32_t value);
    void setViewerDrop(bool value);
    void setEnabled(bool value);
    void notify(const std::string& key) { changed_(key); }

    // --- documents ---
    int32_t DisplayFromFile(const std::string& path, bool useIcm = false);
    int32_t DisplayFromByteArray(const std::vector<uint8_t>& bytes, bool useIcm);
    // `block` is a global memory handle (platform/win) holding at least `length` bytes.
    int32_t DisplayFromMemory(uint32_t block, int32_t length);
    int32_t DisplayFromString(std::u16string_view text);
    // The image-source family: `load` makes the new image ID.
    int32_t DisplayFromSource(const std::function<int32_t(int32_t& id)>& load);
    // The shown image as a new GDI bitmap the caller owns (0 on failure, the
    // status kept), and the deletion of such a bitmap.
    uint32_t GetHBitmap();
    static void DeleteHBitmap(uint32_t bitmap);
    int32_t SetNativeImage(int32_t imageId);
    void ImageClosed();
    void CloseImage();
    void CloseImageEx();
    // The shown image's ID; once the host has it, the host owns an image the
    // viewer loaded.
    int32_t GetNativeImage();
    int32_t GetDocumentType() const { return CurrentDocumentType_; }
    std::string GetImageFormat() const;
    void FilesDropped(const std::vector<std::string>& paths);

    // --- PDF documents (viewer_pdf.cpp) ---
    int32_t DisplayFromPdfFile(const std::string& path, const std::string& password = {});
    // Description item 0..8 (version, author, title, subject, keywords,
    // creator, producer, creation date, modification date); "" with no PDF.
    std::string PdfDescription(int32_t item) const;
    std::string PdfMetadata() const;
    int32_t pdfHandle() const { return PdfHandle_; }
    const std::string& tempPdfFile() const { return TempPdfFile_; }

    // --- frames, animation and metadata (viewer_frames.cpp) ---
    int32_t DisplayFrame(int32_t frame);
    int32_t DisplayNextFrame();
    int32_t DisplayPreviousFrame();
    int32_t DisplayFirstFrame();
    int32_t DisplayLastFrame();
    int32_t PlayGif();
    void StopGif();
    void setAnimateGIF(bool value);
    bool animating() const { return Animating_; }
    int32_t ExifTagCount();
    std::string ExifTagGetName(int32_t n);
    std::string ExifTagGetValue(int32_t n);
    int32_t ExifTagGetID(int32_t n);
    int32_t IPTCTagCount();
    int32_t IPTCTagGetID(int32_t n);
    std::string IPTCTagGetValueString(int32_t n);

    // --- rendering ---
    void Refresh();
    int32_t Redraw();
    void setViewerQuality(int32_t value);
    void setViewerQualityAuto(bool value);
    void setScrollOptimization(bool value);
    void TimerFired(uint32_t id);

    // --- layout and zoom ---
    void setZoom(double value);
    int32_t ZoomIN();
    int32_t ZoomOUT();
    int32_t SetZoom(float percent);
    int32_t SetZoomMode(int32_t mode);  // SetZoom100 ... SetZoomControl
    void setZoomMode(int32_t mode);     // the ZoomMode property
    void setZoomStep(int32_t value);
    double GetMaxZoom() const { return MaxZoom_; }
    int32_t ZoomArea(int32_t left, int32_t top, int32_t width, int32_t height);
    // Zooms to the selection rectangle and centres the view on it.
    int32_t ZoomRect();
    void setImageAlignment(int32_t value);
    void setImagePosition(int32_t value);
    int32_t GetImageLeft() const { return ImageLeft_; }
    int32_t GetImageTop() const { return ImageTop_; }
    void CoordObjectToImage(int32_t objectX, int32_t objectY, int32_t& imageX, int32_t& imageY) const;
    void CoordImageToObject(int32_t imageX, int32_t imageY, int32_t& objectX, int32_t& objectY) const;

    // --- scroll bars ---
    void setScrollBars(bool value);
    void setForceScrollBars(bool value);
    void setScrollSmallChange(int16_t value);
    void setScrollLargeChange(int16_t value);
    const ScrollBar& hScroll() const { return hScroll_; }
    const ScrollBar& vScroll() const { return vScroll_; }
    void SetHScrollBarPosition(int32_t position);
    void SetVScrollBarPosition(int32_t position);
    void SetHVScrollBarPosition(int32_t h, int32_t v);
    // Input on the face (face pixels, border included).
    void MouseDown(int32_t button, int32_t x, int32_t y, int32_t shift = 0);
    void MouseMove(int32_t button, int32_t x, int32_t y, int32_t shift = 0);
    void MouseUp(int32_t button, int32_t x, int32_t y, int32_t shift = 0);
    void FocusIn();
    void FocusOut();

    // --- mouse modes (viewer_mouse.cpp) ---
    void setMouseMode(int32_t mode);
    int32_t GetMouseX() const { return MouseImageX_; }
    int32_t GetMouseY() const { return MouseImageY_; }
    void DoubleClick() { raise(kEventDblClickControl); }
    int32_t activeHandle() const { return ActiveHandle_; }

    // --- context menu, keys and wheel (viewer_menu.cpp, viewer_keys.cpp) ---
    void SetItemMenuCaption(int32_t index, const std::string& caption);
    void SetItemMenuEnabled(int32_t index, bool enabled);
    // Runs the action of the menu item with that index and raises ClickMenu.
    void MenuChosen(int32_t index);
    struct MenuEntry {
        std::string caption;  // UTF-8
        int32_t parent;       // index of the sub-menu holding it, 0 at the top
        bool enabled = true, checked = false;
    };
    const MenuEntry& menuItem(int32_t index) const { return Menu_[index]; }
    void setEnableMouseWheel(bool value);
    void KeyDown(int32_t keyCode, int32_t shift);
    void KeyUp(int32_t keyCode, int32_t shift);
    void KeyPress(int32_t character);
    // A wheel notch (delta > 0 away from the user) turned into a keypad
    // plus or minus press and release.
    void MouseWheel(int32_t delta);

    // --- rotation, clipboard, clearing and view options (viewer_view.cpp) ---
    int32_t ApplyRotateFlip(int32_t type);
    void Copy2Clipboard();
    void CopyRegion2Clipboard(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetBackGroundColor(int32_t rgb) { s_.BackColor = rgb; }
    void Clear();
    int32_t GetTotalFrame() const { return s_.PageCount; }
    float GetHeightMM() const;
    float GetWidthMM() const;
    // The icon or cursor file as the pointer (99); the loader's status.
    int32_t SetMouseIcon(const std::string& path);
    int32_t GetnativePDF() const { return PdfHandle_; }
    int32_t mouseButtonForMouseMode();
    void setMouseButtonForMouseMode(int32_t button);

    // --- selection rectangle (viewer_selection.cpp); control pixels or image pixels ---
    const SelectionOutline& selectionOutline() const { return Outline_; }
    bool selectionDrawn() const { return SelectionDrawn_; }
    const int32_t* savedSelectionRect() const { return SavedSelectionRect_; }
    bool isRectDrawed() const { return Outline_.width > 1 && Outline_.height > 1; }
    void ClearRect();
    // ClearRect, and the view drawn again without the outline.
    void ClearRectShown();
    void GetRectValues(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const;
    void GetRectValuesMM(float& left, float& top, float& width, float& height) const;
    void GetRectValuesObject(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const;
    // False when a coordinate leaves the 32-bit range (nothing moved then).
    bool SetRectValues(int32_t left, int32_t top, int32_t width, int32_t height);
    bool SetRectValuesMM(float left, float top, float width, float height);
    void SetRectValuesObject(int32_t left, int32_t top, int32_t width, int32_t height);
    void GetDisplayedArea(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const;
    void GetDisplayedAreaMM(float& left, float& top, float& width, float& height) const;
    void CenterOnRect();
    // The appearance lets: the value is kept even when the outline refuses
    // it (false then, and no change notice).
    bool setRectBorderStyle(int32_t style);
    bool setRectDrawMode(int32_t mode);
    bool setRectBorderSize(int16_t size);
    void setRectBorderColor(int32_t color);
    // --- internet sources ---
    int32_t DisplayFromURL(const std::string& host, const std::string& path, int32_t port);
    void DisplayFromURLStop();
    void SetHttpTransfertBufferSize(int32_t size) { HttpBufferSize_ = size; }
    int32_t DisplayFromFTP(const std::string& host, const std::string& path, const std::string& login,
                           const std::string& password, int32_t port);
    void SetFtpPassiveMode(bool passive) { FtpPassive_ = passive; }
    bool downloading() const { return Downloading_; }
    int32_t httpBufferSize() const { return HttpBufferSize_; }
    bool ftpPassive() const { return FtpPassive_; }

    // --- printing ---
    // The viewer's printer: settings made through it last as long as the control.
    cPrinter& printer() { return *m_oPrinter; }
    void PrintSetImageAlignment(int32_t alignment);
    void PrintSetOrientation(int16_t orientation);
    void PrintSetStdPaperSize(int32_t paperSize);
    bool PrintImageDialog(bool fit, float x, float y, float width, float height);
    void PrintImage(bool fit);
    void PrintImageBySize(float x, float y, float width, float height);
    bool PrintImage2Printer(const std::string& printerName);
    bool PrintImageBySize2Printer(const std::string& printerName, float x, float y, float width, float height);

    // The state as the last operation left it, for tests and the benchmark.
    int32_t nativeImageId() const { return NativeImageID_; }
    const std::string& tempImageFile() const { return TempImageFile_; }
    int32_t displayWidth() const { return DisplayWidth_; }
    int32_t displayHeight() const { return DisplayHeight_; }
    double pixelAspect() const { return PixelAspect_; }
    int32_t innerWidth() const;
    int32_t innerHeight() const;
    int32_t border() const;

private:
    // frame
    void raise(ViewerEvent id);
    void message(const std::string& text);
    // A message box with the OK button alone and no icon.
    void plainMessage(const std::string& text);
    void invalidate(const com::ControlRect* rect = nullptr);
    void setQualityTimer(bool on);
    void relayPrintPage(int32_t page, int32_t pagesLeft);
    int32_t choosePrintDocument(bool dialogRule);
    void deleteTempFile();
    // documents
    void prelude();
    int32_t epilogue();
    void ResetDocument(bool keepPageCount, bool keepGeometry);
    int32_t ReleaseNativeImage();
    void ReleaseFastCopy();
    // Size and resolution of the image (0: the native image); the page count
    // always comes from the native image.
    void AnalyzeLoadedImage(int32_t imageId = 0);
    int32_t displayFromFileOnce(std::string path, bool useIcm);
    // A temporary file the shown PDF was opened from becomes the viewer's own.
    void adoptTempFileOfPdf(const std::string& name);
    // selection rectangle
    bool PlaceSelectionRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void SaveSelectionRect();
    void drawSelectionOutline();
    void showSelectionChange();
    // A copy of the file under a fresh temporary name; "" when none was made.
    static std::string copyToFreshTempFile(const std::string& path);
    // rendering
    void RenderImage(int32_t imageId, bool qualityPass);
    int32_t BuildFastDisplayCopy();
    int32_t ChooseInterpolationMode();
    int32_t CurrentDocumentKey() const;
    int32_t drawThroughPicture(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH, int32_t srcX,
                               int32_t srcY, int32_t srcW, int32_t srcH);
    // Fills the back buffer with the host's window behind the face.
    void paintBackdrop();
    int32_t drawWithGdiplus(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH, int32_t srcX,
                            int32_t srcY, int32_t srcW, int32_t srcH);
    // The image drawn whole on the back colour into `target`; `plain` (may be
    // null) tells whether every setting was in force (no fall-back).
    int32_t drawImageOn(BackBuffer& target, int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH,
                        int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH, bool* plain);
    int32_t drawExposedPart(const ImageDrawing& now, Shift shift);
    // The drawing copy at a zoom other than 1 drawn from the copy of it
    // scaled to the zoom, built anew unless the drawing keeps the picture (a
    // scroll step, a pan, a new selection outline) and nothing it was built
    // from changed. Nothing when no scaled copy applies or it cannot be made.
    std::optional<int32_t> drawFromScaledCopy(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH,
                                              bool pictureKept);
    void releaseScaledCopy();
    void paintChrome();
    void clearSurface();
    // PDF documents
    int32_t OpenPdfDocument(std::string path, std::string password);
    int32_t GetPdfPageCount();
    void RasterizePdfPage(int32_t page);
    bool ClosePdfDocument();
    // frames and animation
    void analyzeAnimation();
    // Enables the frame and GIF items of the menu by the page shown, the
    // number of pages and the animation.
    void updateFrameMenu();
    // Shows the previous page with its bottom or the next with its top, as
    // continuous view mode turns pages.
    void turnPageContinuously(bool back);
    void ShowNextAnimationFrame();
    void StartAnimationTimer(int32_t delay);
    void KillAnimationTimer();
    void AnimationTimerFired();
    // layout
    void ComputeClientArea();
    void UpdateLayout(int32_t imageId);
    // scrolling
    void UpdateScrollBarVisibility();
    void UpdateScrollRanges();
    void placeScrollBars();
    void scrollChanged(ScrollBar& bar);
    void setBarValue(ScrollBar& bar, int32_t value);
    int32_t clientWidth() const;
    int32_t clientHeight() const;
    bool scrollBarPress(int32_t button, int32_t x, int32_t y);
    bool scrollBarMove(int32_t button, int32_t x, int32_t y);
    bool scrollBarRelease(int32_t button, int32_t x, int32_t y);
    // mouse modes
    bool imageShown() const { return NativeImageID_ != 0; }
    void MapMouseToImage(int32_t x, int32_t y);
    bool HitTestSelection(int32_t x, int32_t y) const;
    void showHandleUnderPointer(int32_t x, int32_t y);
    void editStep(int32_t x, int32_t y);
    void drawStep(int32_t x, int32_t y);
    bool panStep(int32_t x, int32_t y);
    // Turns the page once per drag when a pan in continuous view mode pulls
    // on past the top (dy < 0) or bottom (dy > 0) end of the page.
    void panPageTurn(int32_t dy, int32_t x, int32_t y);
    void ApplyModePointer();
    void raiseMouse(ViewerEvent id, int32_t& button, int32_t shift, int32_t& x, int32_t& y);
    // menu and keys
    void initMenu();
    void popUpMenu(int32_t x, int32_t y);
    void UpdateMouseModeMenuChecks();
    void UpdateZoomMenuChecks();
    void wheelStep(bool up);

    RaiseEvent raise_;
    PropertyChanged changed_;
    com::IControlSite* site_ = nullptr;
    ViewerSettings s_;
    BackBuffer buffer_;
    // The drawing copy as last drawn on the back colour, for scroll steps
    // (see drawWithGdiplus); valid only right after a drawing into it.
    BackBuffer imageLayer_;
    ImageDrawing layerDrawing_;
    bool imageLayerValid_ = false;
    bool scrollStepDrawing_ = false;
    // What the scaled copy was built from: the drawing copy and its
    // generation, the interpolation, the gamma and the scaled size.
    struct ScaledCopySource {
        int32_t imageId = 0;
        uint64_t copyGeneration = 0;
        int32_t interpolation = 0;
        float gamma = 1.0f;
        int32_t width = 0, height = 0;
        friend bool operator==(const ScaledCopySource&, const ScaledCopySource&) = default;
    };
    int32_t scaledCopyId_ = 0;
    ScaledCopySource scaledCopySource_;
    bool keepsScaledCopy_ = true;
    // Set while drawing for a change that keeps the picture as it was.
    bool pictureKept_ = false;
    int32_t windowNumber_ = 0;
    int32_t faceWidth_ = 0, faceHeight_ = 0;
    bool imagingStarted_ = false;

    // document state
    int32_t NativeImageID_ = 0;
    int32_t FastCopyID_ = 0;
    int32_t FastCopyPage_ = 0;
    uint64_t FastCopyGeneration_ = 0;
    int32_t CurrentDocumentType_ = 0;
    int32_t LastStatus_ = 0;
    double PixelAspect_ = 1.0;
    int32_t LastDrawnDocument_ = 0;
    int32_t LastDrawnDocumentType_ = 0;
    std::string TempImageFile_;
    bool TempImageOwned_ = false;
    bool imageOwned_ = false;  // the viewer loaded the shown image and the host never took it
    bool Terminated_ = false;
    bool CustomPointer_ = false;

    // internet sources: the transfer exists only while one runs
    std::shared_ptr<cInet> m_inet;
    bool Downloading_ = false;
    int32_t HttpBufferSize_ = 4096;
    bool FtpPassive_ = true;

    std::unique_ptr<cPrinter> m_oPrinter;

    // PDF state
    std::string TempPdfFile_;
    bool TempPdfOwned_ = false;

    // animation state
    bool GifAnimatable_ = false;
    std::vector<int32_t> FrameDelays_;  // milliseconds after each frame
    bool Animating_ = false;
    int32_t AnimationFrame_ = 1;
    uint32_t AnimationTimerID_ = 0;

    // view state
    int32_t ImageLeft_ = 0, ImageTop_ = 0;
    int32_t DisplayWidth_ = 0, DisplayHeight_ = 0;
    int32_t SourceLeft_ = 0, SourceTop_ = 0, SourceWidth_ = 0, SourceHeight_ = 0;
    bool LastDrawFailed_ = false;
    bool QualityPassDone_ = false;
    bool qualityTimerOn_ = false;
    int32_t FocusOwner_ = 0;
    bool ScrollEventsEnabled_ = true;
    double MaxZoom_ = 1.0;
    double LastZoom_ = 0;
    int32_t ZoomTarget_[4] = {0, 0, 0, 0};
    bool RealignH_ = true, RealignV_ = true;
    bool ForceAlign_ = true;
    bool LayoutSettled_ = true;
    // A page is being turned in continuous view mode: the turn keeps the
    // horizontal position.
    bool ContinuousPageTurn_ = false;
    ScrollBar hScroll_;
    ScrollBar vScroll_;
    bool cornerVisible_ = false;
    ScrollBar* dragBar_ = nullptr;  // the bar whose thumb the mouse drags
    int32_t dragGrip_ = 0;          // where on the thumb it was grabbed
    bool barPressed_ = false;       // a press stepped a bar: its release belongs to the bar
    int32_t PdfHandle_ = 0;         // the open PDF document, 0 when none
    std::vector<uint32_t> CursorPixels_;  // the custom pointer's image

    // selection rectangle and the mouse state its removal resets
    SelectionOutline Outline_;
    bool SelectionDrawn_ = false;
    int32_t SavedSelectionRect_[4] = {0, 0, 0, 0};
    int32_t MouseDownX_ = 0, MouseDownY_ = 0;
    bool StartOutsideX_ = true, StartOutsideY_ = true;

    // mouse mode state
    int32_t MouseImageX_ = 0, MouseImageY_ = 0;
    bool Panning_ = false, EditingRect_ = false, DrawingRect_ = false;
    bool PageTurnDone_ = false;  // a page was turned during the current pan drag
    int32_t ActiveHandle_ = 0;

    // context menu and wheel
    std::vector<MenuEntry> Menu_;  // [0] unused; 1..38 as SetItemMenuCaption counts them
    bool WheelHookInstalled_ = false;
};

}  // namespace scanvelt
