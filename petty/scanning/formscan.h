#pragma once
// The scan window: drives the scanning control to scan a voucher's bill into
// the documents folder as a JPEG, a PDF, a multi-page TIFF or a multi-page
// PDF, optionally cleans up and previews each page, and reports the saved
// file in appState().scannedFilePath when it closes. Every member of the two
// controls is called late-bound by its dispatch ID.
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
    // closed after it. Whether this scan wrote the file.
    bool scanPageInto(OnePage page);
    struct Feeder {
        bool tiff = false;  // a CCITT G4 multi-page TIFF, else a multi-page PDF
        std::string target;
        std::string* nameToExtend = nullptr;
    };
    // Every page of the open source's feeder into one file; the source is
    // closed after it. Whether this run wrote the file.
    bool scanFeederInto(Feeder run);
    void setPointer(int pointer);
    // The path the controls are given for a file of the documents folder.
    std::string documentsPath(const std::string& name) const;
    // Demonstrations outside the scan flow.
    void demoJpegsFromFeeder();
    void showSourceSetup();
    void showTwainState();

    ScanControls controls_;
    std::string scanFileName_;
};

}  // namespace petty
