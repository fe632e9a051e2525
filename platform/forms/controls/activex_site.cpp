#include "platform/forms/controls/activex_site.h"

#include <vector>

#include "platform/forms/controls/activex_control.h"
#include "platform/forms/form.h"
#include "platform/win/text_encoding.h"

namespace forms {

namespace {

// The menu as the front end shows it; false when an entry names a parent
// that is not an earlier entry of the list.
bool readMenu(const com::ControlMenuItem* items, uint32_t count, std::vector<PopupMenuEntry>& entries) {
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const com::ControlMenuItem& item = items[i];
        if (item.parent < -1 || item.parent >= static_cast<int32_t>(i)) return false;
        PopupMenuEntry entry;
        if (item.caption) entry.caption = win::Utf16ToUtf8(item.caption);
        entry.command = item.command;
        entry.parent = item.parent;
        entry.checked = item.flags & com::kControlMenuChecked;
        entry.disabled = item.flags & com::kControlMenuDisabled;
        entry.separator = item.flags & com::kControlMenuSeparator;
        entry.hidden = item.flags & com::kControlMenuHidden;
        entries.push_back(std::move(entry));
    }
    return true;
}

// Whether `command` is one the user could have chosen: a shown, enabled entry that opens no sub-menu.
bool choosable(const std::vector<PopupMenuEntry>& entries, int command) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const PopupMenuEntry& e = entries[i];
        if (e.command != command || e.disabled || e.separator || e.hidden) continue;
        bool opensSubMenu = false;
        for (const PopupMenuEntry& other : entries) opensSubMenu = opensSubMenu || other.parent == static_cast<int>(i);
        if (!opensSubMenu) return true;
    }
    return false;
}

}  // namespace

com::HRESULT ActiveXSite::QueryInterface(com::REFIID iid, void** object) {
    if (!object) return com::E_POINTER;
    if (iid == com::IID_IUnknown || iid == com::IID_IControlSite) {
        *object = static_cast<com::IControlSite*>(this);
        AddRef();
        return com::S_OK;
    }
    *object = nullptr;
    return com::E_NOINTERFACE;
}

uint32_t ActiveXSite::Release() {
    const uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

com::HRESULT ActiveXSite::InvalidateRect(const com::ControlRect* rect) {
    if (!owner_) return com::E_UNEXPECTED;
    owner_->invalidate(rect);
    return com::S_OK;
}

com::HRESULT ActiveXSite::SetTimer(uint32_t id, uint32_t milliseconds) {
    return owner_ ? owner_->startTimer(id, milliseconds) : com::E_UNEXPECTED;
}

com::HRESULT ActiveXSite::KillTimer(uint32_t id) { return owner_ ? owner_->stopTimer(id) : com::E_UNEXPECTED; }

com::HRESULT ActiveXSite::SetCapture(int32_t capture) {
    if (!owner_) return com::E_UNEXPECTED;
    owner_->setCaptured(capture != 0);
    return com::S_OK;
}

com::HRESULT ActiveXSite::SetCursor(int32_t pointer, const com::ControlCursorImage* image) {
    return owner_ ? owner_->setPointer(pointer, image) : com::E_UNEXPECTED;
}

com::HRESULT ActiveXSite::SetFocus() {
    if (!owner_) return com::E_UNEXPECTED;
    if (!owner_->focusableNow()) return com::S_FALSE;
    if (!owner_->hasFocus()) owner_->form().moveFocus(owner_);
    return owner_ && owner_->hasFocus() ? com::S_OK : com::S_FALSE;
}

com::HRESULT ActiveXSite::AcceptFiles(int32_t accept) {
    if (!owner_) return com::E_UNEXPECTED;
    owner_->setAcceptsFiles(accept != 0);
    return com::S_OK;
}

com::HRESULT ActiveXSite::ShowPopupMenu(const com::ControlMenuItem* items, uint32_t count, int32_t x, int32_t y,
                                        int32_t* chosen) {
    if (!chosen) return com::E_POINTER;
    *chosen = 0;
    if (!owner_) return com::E_UNEXPECTED;
    if (count > 0 && !items) return com::E_POINTER;
    std::vector<PopupMenuEntry> entries;
    if (!readMenu(items, count, entries)) return com::E_INVALIDARG;
    if (entries.empty() || !owner_->showPopupMenu) return com::S_OK;
    // Copied: the menu's handlers may replace it while it is open.
    const auto show = owner_->showPopupMenu;
    const int command = show(entries, x, y);
    // Only what the user could choose goes back to the object.
    if (command != 0 && choosable(entries, command)) *chosen = command;
    return com::S_OK;
}

// The forms keep no property bags of their controls: nothing to save later.
com::HRESULT ActiveXSite::PropertyChanged(com::DISPID) { return owner_ ? com::S_OK : com::E_UNEXPECTED; }

com::HRESULT ActiveXSite::GetBackdrop(const com::ControlBackBuffer* buffer) {
    if (!buffer || !buffer->pixels) return com::E_POINTER;
    if (buffer->width < 1 || buffer->height < 1 || buffer->stride < buffer->width * 4) return com::E_INVALIDARG;
    if (!owner_) return com::E_UNEXPECTED;
    if (!owner_->grabBackdrop) return com::E_NOTIMPL;
    // Copied: what it runs may replace it.
    const auto grab = owner_->grabBackdrop;
    return grab(*buffer) ? com::S_OK : com::E_FAIL;
}

}  // namespace forms
