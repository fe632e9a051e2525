#pragma once
// What the two configuration windows share: the settings row of the book
// (the one row of table config) behind their Data control, the pair of
// advance boxes, and the writing of the row.
#include "platform/forms/forms.h"

namespace petty {

// The indexes both windows give the boxes they share (Check1 and txtFields).
namespace settings_box {
inline constexpr int kNoAdvances = 0;
inline constexpr int kAdvances = 1;
inline constexpr int kCostCentres = 4;
inline constexpr int kBackupFolder = 4;
}  // namespace settings_box

// Captions both windows show.
namespace settings_caption {
inline constexpr const char* kNoAdvances = "We strictly do not give advances from pettycash.";
inline constexpr const char* kAdvances = "Sometimes we give advances to pettycash receivers. ";
inline constexpr const char* kNoAdvancesMeaning =
    "Employees spend money for the expenses themselves and later get the amount reimbursed from pettycash.";
inline constexpr const char* kCostCentres = "Add cost centre column for all expense transactions";
inline constexpr const char* kBackupFrame = "Backup location/drive";
inline constexpr const char* kBackupLabel = "Backup folder:";
inline constexpr const char* kBackupToolTip = "Folder or drive for database back-up";
}  // namespace settings_caption

// The Data control's behaviour in both windows: hidden; an error it reports
// on its own is answered with two beeps and no message; edits not saved are
// dropped when the window closes through its title bar, as by its Close
// button (left to the control, they would be written without the checks).
void setUpSettingsData(forms::DataControl& data);

// Points the Data control at the book and opens the settings row; the bound
// controls show it. jet::Error when the book cannot be read.
void openSettingsRow(forms::DataControl& data);

// A pair of boxes of which exactly one is meant to be ticked, after the value
// of `clicked` changed: the partner is unticked when both are ticked, and
// ticked when both are unticked. Nothing happens while the Data control puts
// the row's values into the boxes (the clicked box's changed flag is clear).
void keepOneOfPairTicked(forms::CheckBox& clicked, forms::CheckBox& partner);

// noAdvanceMode as the advance boxes set it: true when "no advances" is
// ticked, else false when "advances" is ticked, else it keeps `current`.
bool noAdvanceModeFrom(const forms::CheckBox& noAdvances, const forms::CheckBox& advances, bool current);

// Writes the boxes the user changed into the settings row and marks the book's
// options as stored, in one transaction, then makes the written row the
// current one. True when both were stored. Otherwise nothing is written: a
// beep and "The settings could not be saved: Error <number> - <description>",
// and the boxes keep what was typed, ready to be saved again.
bool storeSettingsRow(forms::DataControl& data);

}  // namespace petty
