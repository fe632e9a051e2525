#pragma once
// The codes a Data control hands to its Validate and Error events.
namespace forms {

// Validate's Action: what the Data control is about to do. A handler sets it
// to vbDataActionCancel to keep the current row.
constexpr int vbDataActionCancel = 0;
constexpr int vbDataActionMoveFirst = 1;
constexpr int vbDataActionMovePrevious = 2;
constexpr int vbDataActionMoveNext = 3;
constexpr int vbDataActionMoveLast = 4;
constexpr int vbDataActionAddNew = 5;
constexpr int vbDataActionUpdate = 6;
constexpr int vbDataActionDelete = 7;
constexpr int vbDataActionFind = 8;
constexpr int vbDataActionBookmark = 9;
constexpr int vbDataActionClose = 10;
constexpr int vbDataActionUnload = 11;

// Error's Response: vbDataErrDisplay shows the error in a message box,
// vbDataErrContinue goes on without a message.
constexpr int vbDataErrContinue = 0;
constexpr int vbDataErrDisplay = 1;

// What the Data control does when the user's arrows move past the last or first row.
constexpr int vbEOFActionMoveLast = 0;
constexpr int vbEOFActionEOF = 1;
constexpr int vbEOFActionAddNew = 2;
constexpr int vbBOFActionMoveFirst = 0;
constexpr int vbBOFActionBOF = 1;

}  // namespace forms
