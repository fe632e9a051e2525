#pragma once
// Key codes (KeyDown) and shift flags, numbered as the handlers compare them.
// KeyPress carries the character code instead (13 for Enter, 8 for Backspace).
namespace forms {

constexpr int vbKeyBack = 8;
constexpr int vbKeyTab = 9;
constexpr int vbKeyReturn = 13;
constexpr int vbKeyEscape = 27;
constexpr int vbKeySpace = 32;
constexpr int vbKeyLeft = 37;
constexpr int vbKeyUp = 38;
constexpr int vbKeyRight = 39;
constexpr int vbKeyDown = 40;
constexpr int vbKeyDelete = 46;
constexpr int vbKey0 = 48;  // to vbKey0 + 9
constexpr int vbKeyA = 65;  // to vbKeyA + 25
constexpr int vbKeyF1 = 112;

constexpr int vbShiftMask = 1;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;

// The key code of the key that types a character (letters by their capital).
int keyCodeOfChar(char c);

}  // namespace forms
