#include "petty/shell/about_pettycash.h"

#include <string>

#include "petty/shell/program_info.h"

namespace petty {

frmaboutpettycash::frmaboutpettycash() : Form("frmaboutpettycash") {
    setCaption("About " + std::string(kProgramName));
    move(0, 0, 6000, 3300);
    Image1.move(240, 240, 960, 960);
    Image2.move(4800, 240, 960, 960);
    lblProgram.setCaption(std::string(kProgramName));
    lblProgram.move(1440, 240, 3120, 480);
    lblVersion.setCaption(std::string(kVersionLabel));
    lblVersion.move(1440, 780, 3120, 300);
    lblMaker.setCaption(std::string(kMakerName));
    lblMaker.move(240, 1560, 5520, 300);
    lblContact.setCaption(std::string(kProgramSubtitle) + " for small businesses");
    lblContact.move(240, 1920, 5520, 600);
    cmdOK.setCaption("OK");
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    cmdOK.move(-2000, 2640, 1200, 360);

    const auto close = [this] { unload(); };
    cmdOK.onClick = close;
    Image1.onClick = close;
    Image2.onClick = close;
    lblProgram.onClick = close;
    lblMaker.onClick = close;
}

}  // namespace petty
