#pragma once
// Sample windows for the screenshot test: an MDI main window with a banner, a
// column of command buttons and menus; a child window with one control of
// every kind and a grid over a small book; and a modal dialog.
#include <filesystem>

#include "platform/forms/forms.h"

namespace forms_qt::sample {

class MainWindow : public forms::MdiForm {
public:
    MainWindow();
    forms::PictureBox banner{*this, "Picture1"};
    forms::Label bannerText{*this, "Label1"};
    forms::PictureBox column{*this, "Picture2"};
    forms::ControlArray<forms::CommandButton> commands{*this, "MyButton1"};
    forms::MenuItem file{*this, "mnuFile"};
    forms::MenuItem changeLog{*this, "mnuChangeLog"};
    forms::MenuItem fileLine{*this, "mnuLine"};
    forms::MenuItem exit{*this, "mnuExit"};
    forms::MenuItem masters{*this, "mnuMasters"};
    forms::MenuItem employees{*this, "mnuEmployees"};
    forms::MenuItem about{*this, "mnuAboutMenu"};
    forms::MenuItem aboutItem{*this, "mnuAbout"};
};

class RegisterWindow : public forms::Form {
public:
    RegisterWindow(MainWindow& frame, const std::filesystem::path& book);
    forms::DataControl data{*this, "datPrimaryRS"};
    forms::Label status{*this, "Label2"};
    forms::TabControl tabs{*this, "SSTab2", -1, 2};
    forms::Frame entry{*this, "Frame1"};
    forms::Label dateLabel{*this, "Label3"};
    forms::TextBox date{*this, "Textpcash", 1};
    forms::Label typeLabel{*this, "Label4"};
    forms::ComboBox type{*this, "Combopcashtype"};
    forms::Label amountLabel{*this, "Label5"};
    forms::TextBox amount{*this, "Textpcash", 8};
    forms::CheckBox allStaff{*this, "Check1"};
    forms::OptionButton cash{*this, "Option1", 0};
    forms::OptionButton bank{*this, "Option1", 1};
    forms::Image settled{*this, "Image1", 0};
    forms::Image unsettled{*this, "Image1", 1};
    forms::CommandButton save{*this, "cmdupdate"};
    forms::CommandButton add{*this, "cmdadd"};
    forms::Grid grid{*this, "TDBGrid1"};
};

class DateDialog : public forms::Form {
public:
    DateDialog();
    forms::Calendar calendar{*this, "Calendar1"};
    forms::CommandButton cancel{*this, "CANCEL"};
};

// Creates the small book the register's grid shows.
void createBook(const std::filesystem::path& book);

}  // namespace forms_qt::sample
