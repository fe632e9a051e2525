#pragma once
// Pettycashmain: the program's main window, an MDI frame with a banner, a
// column of command buttons and a menu bar. Every button and menu item runs
// DispatchCommand with its fixed index; the window cannot be closed from its
// title bar, only by the exit command.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/forms.h"

namespace petty {

// The command indexes of the buttons and menu items.
namespace command {
inline constexpr int16_t kStrip = 0;   // the plain strip behind the button column
inline constexpr int16_t kBanner = 1;  // the banner across the top
inline constexpr int16_t kQuickHelp = 2;
inline constexpr int16_t kRegister = 3;
inline constexpr int16_t kReports = 4;
inline constexpr int16_t kEmployeeMaster = 5;
inline constexpr int16_t kExpenseHeads = 6;
inline constexpr int16_t kConfiguration = 7;
inline constexpr int16_t kCostCentres = 9;
inline constexpr int16_t kChangeLog = 10;
inline constexpr int16_t kExit = 11;
inline constexpr int16_t kAbout = 12;
inline constexpr int16_t kPeriods = 13;
inline constexpr int16_t kPendingSettlements = 14;
}  // namespace command

class Pettycashmain : public forms::MdiForm {
public:
    Pettycashmain();

    forms::PictureBox Picture1{*this, "Picture1"};  // carries the banner
    forms::PictureBox Picture2{*this, "Picture2"};  // carries the button column
    forms::Image Image1{*this, "Image1"};
    forms::ControlArray<forms::CommandButton> MyButton1{*this, "MyButton1"};

    // A menu title or item by its name ("mnuExit").
    forms::MenuItem& menu(std::string_view name) const;
    // The command index a menu item runs; -1 for titles and separators.
    int commandOf(const forms::MenuItem& item) const;

    void DispatchCommand(int16_t index);
    // Opens a document of the program folder with the program the desktop associates with it.
    void OpenDocument(const std::string& fileName);

private:
    struct MenuCommand {
        std::unique_ptr<forms::MenuItem> item;
        int command;
    };

    void buildButtons();
    void buildMenus();
    // A command is offered when it does something now: its window exists, or
    // (cost centres, pending settlements) it explains why it is refused.
    void offerAvailableCommands();
    void Form_Load();
    void Form_Activate();
    void exitProgram();

    std::vector<MenuCommand> menus_;
};

}  // namespace petty
