#pragma once
// The scan window: drives the scanning control to scan a voucher's bill into
// the documents folder as a JPEG, a PDF, a multi-page TIFF or a multi-page
// PDF, optionally cleans up and previews each page, and reports the saved
// file in appState().scannedFilePath when it closes. A scan never overwrites
// a file: it takes the next free name. While a scan runs the window stays
// (closing it asks whether to cancel the scan and waits for the engine).
// Every member of the two controls is called late-bound by its dispatch ID.
#include <cstdint>
#include <string>

#include "petty/scanning/scan_controls.h"
#include "platform/forms/forms.h"

namespace petty {

class Formscan : public forms::Form {
public:
    explicit Formscan(ScanControls controls);
    ~Formscan() override;

    // The steps of the button array MyButton1, by index.
    enum Step { SelectSource = 0, ScanToJpeg, ScanToPdf, ScanAllToTiff, ScanAllToJpeg, ScanAllToPdf, Close, SaveDocument };

    forms::ControlArray<forms::CommandButton> MyButton1{*this, "MyButton1"};
    forms::CheckBox chkHideUI{*this, "chkHideUI"};
    forms::CheckBox chkIndicator{*this, "chkIndicator"};
    forms::CheckBox chkAutoBrightness{*this, "chkAutoBrightness"};
    forms::Label Label1{*this, "Label1"};
    forms::ScrollBar HBrightness{*this, "HBrightness"};
    forms::Label Label2{*this, "Label2"};
    forms::ScrollBar HContrast{*this, "HContrast"};
    forms::CheckBox chkDuplex{*this, "chkDuplex"};
    forms::CheckBox chkPreview{*this, "chkPreview"};
    forms::Frame Frame1{*this, "Frame1"};
    forms::Label Label9{*this, "Label9"};
    forms::CheckBox ChkNeg{*this, "ChkNeg"};
    forms::CheckBox chkContrast{*this, "chkContrast"};
    forms::CheckBox chkSepia{*this, "chkSepia"};
    forms::CheckBox chkRotate90{*this, "chkRotate90"};
    forms::CheckBox chkRotate180{*this, "chkRotate180"};
    forms::CheckBox chkAutoDesk{*this, "chkAutoDesk"};
    forms::CheckBox ChkAutoCrop{*this, "ChkAutoCrop"};
    forms::ControlArray<forms::CommandButton> Command{*this, "Command"};
    // The two controls placed on the window: the scanner (no face) and the
    // preview, which shows each page as it comes.
    forms::ActiveXControl Twain1{*this, "Twain1"};
    forms::ActiveXControl MvViewer1{*this, "MvViewer1"};

    void MyButton1_Click(int index);
    void Command_Click(int index);
    // Closing while a scan runs asks whether to cancel it; on Yes the scan is
    // stopped and the window goes once the engine has stopped.
    void Form_QueryUnload(int& cancel, int unloadMode);
    void Form_Unload(int& cancel);

    // Whether a scan is running (its page loop may let the window's events run).
    bool scanning() const { return scanning_; }

    // The file name (no folder) of the current scan; after a step it names the file written.
    const std::string& scanFileName() const { return scanFileName_; }
    // The controls, for the window's own tests.
    const ScanControls& controls() const { return controls_; }

private:
    void layOut();
    // Steps of MyButton1.
    bool settleFileName();
    void selectAndOpenSource();
    void scanOnePage(Step step);
    void scanAllPages(Step step);
    void closeWindow();
    // Routines shared by the steps and the demonstrations.
    bool openSource();
    void showOpenFailure();
    void applyScannerSettings();
    void applyImageFilters();
    void showScannedImage();
    void setPageFormat(int32_t resolution, int32_t pixelType, int32_t bitDepth);
    struct OnePage {
        std::string target;  // the file system path the control writes
        bool pdf = false;
        std::string extension;
        std::string* nameToExtend = nullptr;  // takes the extension once the page came
        int32_t jpegQuality = 75;
    };
    // One page from the open source into a JPEG or PDF file; the source is
    // closed after it. Stored only when this scan wrote the file.
    enum class Outcome { Stored, Cancelled, Failed };
    Outcome scanPageInto(OnePage page);
    struct Feeder {
        bool tiff = false;  // a CCITT G4 multi-page TIFF, else a multi-page PDF
        std::string target;
        std::string* nameToExtend = nullptr;
    };
    // Every page of the open source's feeder into one file; the source is
    // closed after it. A cancelled run leaves no file.
    Outcome scanFeederInto(Feeder run);
    // Whether the last transfer ended because the user or the window cancelled it.
    bool transferCancelled() const;
    // Asks the engine to stop the running scan between two chunks.
    void requestStop();
    // The end of a step that wrote `name` (stored) or did not.
    void tellStored(const std::string& name);
    void tellCancelled();
    // Marks the window as scanning for one step; clicks that come meanwhile
    // (the page loop lets the window's events run) are refused.
    void beginScan();
    void endScan();
    class ScanRun {
    public:
        explicit ScanRun(Formscan& window) : window_(window) { window_.beginScan(); }
        ~ScanRun() { window_.endScan(); }
        ScanRun(const ScanRun&) = delete;
        ScanRun& operator=(const ScanRun&) = delete;

    private:
        Formscan& window_;
    };
    bool refusedWhileScanning();
    void setPointer(int pointer);
    // The path the controls are given for a file of the documents folder.
    std::string documentsPath(const std::string& name) const;
    // Demonstrations outside the scan flow.
    void demoJpegsFromFeeder();
    void showSourceSetup();
    void showTwainState();

    ScanControls controls_;
    std::string scanFileName_;
    std::string storedPath_;       // the bill the last stored step wrote ("" when none)
    // The page format of a one-page scan; the source's setup dialog shows it
    // and what the user sets there is kept for every later scan of the window.
    struct PageFormat {
        int32_t resolution = 300;
        int32_t pixelType = 2;  // RGB
        int32_t bitDepth = 8;
    };
    PageFormat pageFormat_;
    bool formatSetUp_ = false;  // the user chose the format in the setup dialog
    bool scanning_ = false;
    bool stopRequested_ = false;   // the running scan is to stop
    bool closeAfterStop_ = false;  // and the window to close then
};

}  // namespace petty
