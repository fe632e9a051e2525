#pragma once
// For tests: an object with a face, as a control of another library offers
// it. It keeps a journal of every call it gets, fills its back buffer with one
// colour on each resize (and invalidates it all), and paints a square where a
// mouse button goes down (invalidating just that square), so that a test can
// follow both the input and what the host shows again.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/control_site.h"
#include "platform/win/text_encoding.h"

namespace forms::testing {

class FakeFace final : public com::IControlSurface, public com::IDispatch {
public:
    static constexpr uint32_t kBackground = 0xFF2040C0;
    static constexpr uint32_t kMark = 0xFFE02020;
    static constexpr int kMarkSize = 8;

    // Made with one reference, the caller's; `freed` becomes true when the last goes.
    explicit FakeFace(bool* freed = nullptr) : freed_(freed) {
        if (freed_) *freed_ = false;
    }

    std::vector<std::string> journal;
    com::IUnknown* unknown() { return static_cast<com::IControlSurface*>(this); }
    com::IControlSite* site() const { return site_; }
    uint32_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Fills part of the back buffer and invalidates it.
    void paint(com::ControlRect r, uint32_t colour) {
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x)
                pixels_[static_cast<size_t>(y) * width_ + x] = colour;
        if (site_) site_->InvalidateRect(&r);
    }
    // The journal since the last call.
    std::vector<std::string> take() { return std::exchange(journal, {}); }

    com::HRESULT QueryInterface(com::REFIID iid, void** object) override {
        if (!object) return com::E_POINTER;
        if (iid == com::IID_IUnknown || iid == com::IID_IControlSurface) *object = static_cast<com::IControlSurface*>(this);
        else if (iid == com::IID_IDispatch) *object = static_cast<com::IDispatch*>(this);
        else {
            *object = nullptr;
            return com::E_NOINTERFACE;
        }
        AddRef();
        return com::S_OK;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        const uint32_t left = --references_;
        if (left == 0) {
            if (freed_) *freed_ = true;
            delete this;
        }
        return left;
    }

    com::HRESULT SetSite(com::IControlSite* site) override {
        if (site) site->AddRef();
        if (site_) site_->Release();
        site_ = site;
        journal.push_back(site ? "SetSite" : "SetSite null");
        return com::S_OK;
    }
    com::HRESULT Show(int32_t visible) override { return log("Show " + std::to_string(visible)); }
    com::HRESULT Resize(int32_t width, int32_t height) override {
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<size_t>(width) * height, kBackground);
        journal.push_back("Resize " + std::to_string(width) + "x" + std::to_string(height));
        if (site_) site_->InvalidateRect(nullptr);
        return com::S_OK;
    }
    com::HRESULT GetBackBuffer(com::ControlBackBuffer* buffer) override {
        if (!buffer) return com::E_POINTER;
        *buffer = {pixels_.empty() ? nullptr : pixels_.data(), width_, height_, width_ * 4};
        return com::S_OK;
    }
    com::HRESULT MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override {
        paint({x, y, x + kMarkSize, y + kMarkSize}, kMark);
        return log("MouseDown " + mouse(button, shift, x, y));
    }
    com::HRESULT MouseMove(int32_t button, int32_t shift, int32_t x, int32_t y) override {
        return log("MouseMove " + mouse(button, shift, x, y));
    }
    com::HRESULT MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y) override {
        return log("MouseUp " + mouse(button, shift, x, y));
    }
    com::HRESULT DoubleClick(int32_t button, int32_t shift, int32_t x, int32_t y) override {
        return log("DoubleClick " + mouse(button, shift, x, y));
    }
    com::HRESULT MouseWheel(int32_t delta, int32_t shift, int32_t x, int32_t y) override {
        return log("MouseWheel " + mouse(delta, shift, x, y));
    }
    com::HRESULT KeyDown(int32_t keyCode, int32_t shift) override {
        return log("KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
    }
    com::HRESULT KeyUp(int32_t keyCode, int32_t shift) override {
        return log("KeyUp " + std::to_string(keyCode) + " " + std::to_string(shift));
    }
    com::HRESULT KeyPress(int32_t character) override { return log("KeyPress " + std::to_string(character)); }
    com::HRESULT FocusIn() override { return log("FocusIn"); }
    com::HRESULT FocusOut() override { return log("FocusOut"); }
    com::HRESULT TimerFired(uint32_t id) override { return log("TimerFired " + std::to_string(id)); }
    com::HRESULT FilesDropped(const com::OLECHAR* const* paths, uint32_t count, int32_t x, int32_t y) override {
        std::string entry = "FilesDropped";
        for (uint32_t i = 0; i < count; ++i) entry += " " + win::Utf16ToUtf8(paths[i]);
        return log(entry + " @" + std::to_string(x) + "," + std::to_string(y));
    }

    // IDispatch: every call is journalled by its dispatch ID.
    com::HRESULT GetTypeInfoCount(uint32_t* count) override {
        if (count) *count = 0;
        return com::S_OK;
    }
    com::HRESULT GetTypeInfo(uint32_t, com::LCID, com::ITypeInfo** info) override {
        if (info) *info = nullptr;
        return com::E_NOTIMPL;
    }
    com::HRESULT GetIDsOfNames(com::REFIID, com::OLECHAR**, uint32_t, com::LCID, com::DISPID*) override {
        return com::E_NOTIMPL;
    }
    com::HRESULT Invoke(com::DISPID id, com::REFIID, com::LCID, uint16_t, com::DISPPARAMS*, com::VARIANT*,
                        com::EXCEPINFO*, uint32_t*) override {
        return log("Invoke " + std::to_string(id));
    }

private:
    ~FakeFace() {
        if (site_) site_->Release();
    }
    com::HRESULT log(std::string entry) {
        journal.push_back(std::move(entry));
        return com::S_OK;
    }
    static std::string mouse(int32_t button, int32_t shift, int32_t x, int32_t y) {
        return std::to_string(button) + " " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y);
    }

    std::atomic<uint32_t> references_{1};
    bool* freed_;
    com::IControlSite* site_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace forms::testing
