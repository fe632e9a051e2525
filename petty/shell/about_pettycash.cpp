#include "petty/shell/about_pettycash.h"

#include <string>

#include "petty/shell/program_info.h"
#include "petty/shell/program_look.h"

namespace petty {

frmaboutpettycash::frmaboutpettycash() : Form("frmaboutpettycash") {
    setCaption("About " + std::string(kProgramName));
    move(0, 0, 6000, 3120);
    Image1.move(4680, 360, 960, 960);
    Image2.move(4680, 1440, 960, 960);
    lblProgram.setCaption(std::string(kProgramName));
    lblProgram.setFont(look::kBannerFont);
    lblProgram.setForeColor(look::kTitleColour);
    lblProgram.move(480, 300, 3960, 600);
    lblVersion.setCaption(std::string(kVersionLabel));
    lblVersion.setForeColor(look::kNoteColour);
    lblVersion.move(480, 900, 3960, 300);
    lblMaker.setCaption(std::string(kMakerName));
    lblMaker.setFontBold(true);
    lblMaker.move(480, 1560, 3960, 300);
    lblContact.setCaption(std::string(kProgramSubtitle) + " for small businesses");
    lblContact.move(480, 1920, 3960, 600);
    cmdOK.setCaption("OK");
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    cmdOK.move(4560, 2580, 1080, 375);

    const auto close = [this] { unload(); };
    cmdOK.onClick = close;
    Image1.onClick = close;
    Image2.onClick = close;
    lblProgram.onClick = close;
    lblMaker.onClick = close;
}

}  // namespace petty
