// The context menu of the right button: its items, the members that rename
// or disable them, and what each item does.
#include "imaging/viewer/viewer_control.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

constexpr int32_t kMenuItemCount = 38;
constexpr int32_t kQualityAutomatic = 33;

struct MenuTemplate {
    const char* caption;
    int32_t parent;
};

// Index order; the parent is the index of the sub-menu holding the item.
constexpr MenuTemplate kMenuTemplate[kMenuItemCount + 1] = {
    {"", 0},
    {"Pages / Frames", 0}, {"Goto First", 1}, {"Goto Previous", 1}, {"Goto Next", 1}, {"Goto Last", 1},
    {"Play Gif", 0}, {"Stop GIF Animation", 0},
    {"Rotations - Flips", 0}, {"Rotate 90\u00b0", 8}, {"Rotate 180\u00b0", 8}, {"Rotate 270\u00b0", 8},
    {"Flip X", 8}, {"RotateFlip 90\u00b0", 8}, {"RotateFlip 180\u00b0", 8}, {"RotateFlip 270\u00b0 ", 8},
    {"ScrollBars", 0}, {"Copy to Clipboard", 0},
    {"Zoom", 0}, {"Zoom in", 18}, {"Zoom out", 18}, {"Zoom 100%", 18}, {"Zoom to selected area", 18},
    {"Fit image to viewer (keep aspect ratio)", 18}, {"Fit image to viewer (don't keep aspect ratio)", 18},
    {"Fit image to viewer width", 18}, {"Fit image to viewer height", 18},
    {"Left Click", 0}, {"Nothing", 27}, {"Hand Pan Tool", 27}, {"Area Selection Tool", 27}, {"Auto Zoom Tool", 27},
    {"Viewer Quality", 0}, {"Automatic", 32}, {"Quality Low", 32}, {"Quality Bilinear", 32},
    {"Quality Bicubic", 32}, {"Quality Bilinear HQ", 32}, {"Quality Bicubic HQ", 32},
};

// The zoom items and the ZoomMode each stands for.
constexpr std::pair<int32_t, int32_t> kZoomItems[] = {{21, 1}, {23, 2}, {24, 6}, {25, 3}, {26, 5}};
// The mouse-mode items and the MouseMode each stands for.
constexpr std::pair<int32_t, int32_t> kModeItems[] = {{28, 0}, {29, 2}, {30, 1}, {31, 3}};

bool validIndex(int32_t index) { return index >= 1 && index <= kMenuItemCount; }

}  // namespace

void ViewerControl::initMenu() {
    Menu_.clear();
    for (const MenuTemplate& t : kMenuTemplate) Menu_.push_back(MenuEntry{t.caption, t.parent});
    UpdateMouseModeMenuChecks();
    UpdateZoomMenuChecks();
    Menu_[16].checked = s_.ScrollBars;
    updateFrameMenu();  // nothing shown: no page to go to, no GIF to play
}

void ViewerControl::SetItemMenuCaption(int32_t index, const std::string& caption) {
    if (validIndex(index)) Menu_[index].caption = caption;
}

void ViewerControl::SetItemMenuEnabled(int32_t index, bool enabled) {
    if (validIndex(index)) Menu_[index].enabled = enabled;
}

void ViewerControl::UpdateMouseModeMenuChecks() {
    if (Menu_.empty()) return;
    for (auto [item, mode] : kModeItems) Menu_[item].checked = s_.MouseMode == mode;
}

void ViewerControl::UpdateZoomMenuChecks() {
    if (Menu_.empty()) return;
    for (auto [item, mode] : kZoomItems) Menu_[item].checked = s_.ZoomMode == mode;
}

void ViewerControl::popUpMenu(int32_t x, int32_t y) {
    if (!site_) return;
    // Zoom, quality and scroll bars change in many places; their checks are
    // brought up to date here.
    UpdateZoomMenuChecks();
    Menu_[16].checked = s_.ScrollBars;
    Menu_[kQualityAutomatic].checked = s_.ViewerQualityAuto;
    for (int32_t q = 0; q <= 4; ++q) Menu_[34 + q].checked = s_.ViewerQuality == q;
    std::vector<std::u16string> captions;
    std::vector<com::ControlMenuItem> items;
    std::vector<int32_t> positionOf(Menu_.size(), -1);
    captions.reserve(Menu_.size() + 1);
    auto add = [&](const std::string& caption, int32_t command, int32_t parentIndex, uint32_t flags) {
        captions.push_back(win::Utf8ToUtf16(caption));
        items.push_back({nullptr, command, parentIndex > 0 ? positionOf[parentIndex] : -1, flags});
    };
    for (int32_t i = 1; i <= kMenuItemCount; ++i) {
        if (i == kQualityAutomatic + 1) add("-", 0, 32, com::kControlMenuSeparator);
        const MenuEntry& e = Menu_[i];
        positionOf[i] = static_cast<int32_t>(items.size());
        add(e.caption, i, e.parent, (e.checked ? com::kControlMenuChecked : 0u) |
                                        (e.enabled ? 0u : com::kControlMenuDisabled));
    }
    for (size_t i = 0; i < items.size(); ++i) items[i].caption = captions[i].c_str();
    int32_t chosen = 0;
    if (site_->ShowPopupMenu(items.data(), static_cast<uint32_t>(items.size()), x, y, &chosen) == com::S_OK &&
        validIndex(chosen))
        MenuChosen(chosen);
}

void ViewerControl::MenuChosen(int32_t index) {
    if (!validIndex(index)) return;
    switch (index) {
    case 9: case 10: case 11: case 12: case 13: case 14: case 15:
        ApplyRotateFlip(index - 8);  // Rotate90 ... FlipX270 in menu order
        break;
    case 2: DisplayFirstFrame(); break;
    case 3: DisplayPreviousFrame(); break;
    case 4: DisplayNextFrame(); break;
    case 5: DisplayLastFrame(); break;
    case 6: PlayGif(); break;
    case 7: StopGif(); break;
    case 16:
        Menu_[16].checked = !Menu_[16].checked;
        setScrollBars(Menu_[16].checked);
        UpdateScrollBarVisibility();
        break;
    case 17:
        if (isRectDrawed()) {
            int32_t left = 0, top = 0, width = 0, height = 0;
            GetRectValues(left, top, width, height);
            CopyRegion2Clipboard(left, top, width, height);
        } else {
            Copy2Clipboard();
        }
        break;
    case 19: ZoomIN(); break;
    case 20: ZoomOUT(); break;
    case 21: case 23: case 24: case 25: case 26:
        UpdateZoomMenuChecks();
        if (!Menu_[index].checked) {
            for (auto [item, mode] : kZoomItems)
                if (item == index) SetZoomMode(mode);
            UpdateZoomMenuChecks();
        }
        break;
    case 22: ZoomRect(); break;
    case 28: case 29: case 30: case 31:
        for (auto [item, mode] : kModeItems)
            if (item == index) setMouseMode(mode);
        break;
    case kQualityAutomatic:
        s_.ViewerQualityAuto = !s_.ViewerQualityAuto;
        UpdateLayout(0);
        break;
    case 34: case 35: case 36: case 37: case 38:
        setViewerQualityAuto(false);
        setViewerQuality(index - 34);
        break;
    default: break;  // sub-menu titles and the clipboard items, which act through their own members
    }
    int32_t item = index;
    std::vector<com::VARIANT> args(1);
    com::VariantInit(&args[0]);
    args[0].vt = com::VT_I4 | com::VT_BYREF;
    args[0].plVal = &item;
    raise_(kEventClickMenu, args);
}

}  // namespace scanvelt
