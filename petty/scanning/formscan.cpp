// The scan window's frame: its controls, their captions and places, and the
// wiring of its buttons. The steps are in formscan_steps.cpp, the
// demonstration buttons in formscan_demos.cpp.
#include "petty/scanning/formscan.h"

#include "petty/scanning/scan_control_ids.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

constexpr const char* kStepCaptions[] = {
    "Step 1: Select Twain Scanner",        "Step 2: Scan document to picture file",
    "Step 2: Scan document to PDF",        "Scan all documents to multipage TIF",
    "Scan all documents to jpeg files",    "Scan all documents to multipage PDF",
    "Step 3: Close",                       "Save document",
};

constexpr const char* kDemoCaptions[] = {
    "Demo 3: Scan all document feeder (ADF) into multipage TIFF image multipage.tif",
    "Demo 4: Scan all document feeder (ADF) into jpeg files",
    "Demo 2: Scan one document to pdf file (acquire.pdf)",
    "Demo 1: Scan one document to jpeg file (acquire.jpg)",
    "Select source",
    "Source SETUP...",
    "Show TWAIN State",
    "Open selected source",
    "Close source",
    "Close source manager",
    "Unload source manager",
    "Demo 5: Scan all document feeder (ADF) into multiplepage PDF",
};

}  // namespace

Formscan::Formscan(ScanControls controls) : Form("Formscan"), controls_(std::move(controls)) {
    setCaption("Kelvra twain scanner");
    for (int i = 0; i < 8; ++i) {
        forms::CommandButton& button = MyButton1.add(i);
        button.setCaption(kStepCaptions[i]);
        button.onClick = [this, i] { MyButton1_Click(i); };
    }
    for (int i = 1; i <= 12; ++i) {
        forms::CommandButton& button = Command.add(i);
        button.setCaption(kDemoCaptions[i - 1]);
        button.onClick = [this, i] { Command_Click(i); };
    }
    chkHideUI.setCaption("Hide UI");
    chkIndicator.setCaption("Show Progress Indicator");
    chkAutoBrightness.setCaption("Auto-Brightness");
    Label1.setCaption("Brightness");
    Label2.setCaption("Contrast");
    for (forms::ScrollBar* bar : {&HBrightness, &HContrast}) {
        bar->setRange(-1000, 1000);
        bar->setSteps(10, 100);
    }
    chkDuplex.setCaption("Enable Duplex");
    chkPreview.setCaption("Preview");
    Frame1.setCaption("");
    Label9.setCaption("Some image filters / effects");
    ChkNeg.setCaption("Negative ");
    chkContrast.setCaption("Stretch ContrastEffect");
    chkSepia.setCaption("Sepia");
    chkRotate90.setCaption("Rotate 90°");
    chkRotate180.setCaption("Rotate 180°");
    chkAutoDesk.setCaption("Auto Deskew");
    ChkAutoCrop.setCaption("Auto Border Removal");
    // The scanner's own dialog stays hidden unless the user asks for it; each
    // page is shown as it comes.
    chkHideUI.setValue(forms::vbChecked);
    chkPreview.setValue(forms::vbChecked);
    Twain1.attach(controls_.twain.object());
    MvViewer1.attach(controls_.viewer.object());
    // The preview fits each page into its place and has a flat border.
    skipOnFailure([this] {
        controls_.viewer.put(scan_ids::viewer::ZoomMode, scan_ids::viewer::ZoomFitToControl);
    });
    skipOnFailure([this] {
        controls_.viewer.put(scan_ids::viewer::Appearance, scan_ids::viewer::AppearanceFlat);
    });
    onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    onUnload = [this](int& cancel) { Form_Unload(cancel); };
    layOut();
}

Formscan::~Formscan() {
    skipOnFailure([this] { controls_.twain.call(scan_ids::twain::TwainUnloadSourceManager); });
}

void Formscan::layOut() {
    move(0, 0, 16200, 8400);
    constexpr int left = 120, width = 4200, height = 375, gap = 60;
    int top = 120;
    for (int i = 0; i < 8; ++i, top += height + gap) MyButton1[i].move(left, top, width, height);
    top += gap;
    for (forms::CheckBox* box : {&chkHideUI, &chkIndicator, &chkAutoBrightness}) {
        box->move(left, top, width, 255);
        top += 300;
    }
    Label1.move(left, top, 1000, 255);
    HBrightness.move(left + 1080, top, width - 1080, 255);
    top += 300;
    Label2.move(left, top, 1000, 255);
    HContrast.move(left + 1080, top, width - 1080, 255);
    top += 300;
    chkDuplex.move(left, top, 2000, 255);
    chkPreview.move(left + 2100, top, 2000, 255);
    top += 360;
    Frame1.move(left, top, width, 2400);
    Label9.setContainer(Frame1);
    Label9.move(120, 60, width - 240, 255);
    int inFrame = 360;
    for (forms::CheckBox* box : {&ChkNeg, &chkContrast, &chkSepia, &chkRotate90, &chkRotate180, &chkAutoDesk, &ChkAutoCrop}) {
        box->setContainer(Frame1);
        box->move(120, inFrame, width - 240, 255);
        inFrame += 285;
    }
    MvViewer1.move(4500, 120, 11580, 5460);
    // The demonstrations lie below the preview, outside the scan flow.
    for (int i = 1; i <= 12; ++i)
        Command[i].move(4500 + ((i - 1) % 2) * 5820, 5700 + ((i - 1) / 2) * 420, 5760, 375);
}

}  // namespace petty
