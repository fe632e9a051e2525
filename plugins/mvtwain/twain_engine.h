#pragma once
// The TWAIN life cycle over scan devices. States: 1 nothing loaded, 2 the
// source manager loaded, 3 open (sane_init), 4 a source open (sane_open),
// 5 enabled, 6 a page ready (sane_start), 7 transferring (sane_read). A
// feeder's next page is started as soon as the last one is read, so that the
// state after a transfer is 6 while pages follow and 4 when the feeder is
// empty (SANE_STATUS_NO_DOCS).
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/win/large_buffer.h"
#include "platform/win/scan_dialogs.h"
#include "plugins/mvtwain/capabilities.h"
#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// What the last transfer handed over, for the control's questions after it.
struct LastTransfer {
    int32_t mode = 0;  // 0 native, 1 file
    bool raw = false;
    int32_t width = 0, height = 0, stride = 0, bitsPerPixel = 0;
    double resolutionX = 0, resolutionY = 0;
    bool cancelled = false;
    bool failed = false;
};

class Engine {
public:
    explicit Engine(std::unique_ptr<DeviceProvider> provider);
    ~Engine();

    int32_t state() const { return state_; }
    bool available();

    bool openManager();
    bool closeManager();
    bool unloadManager();

    std::vector<SourceEntry> sources();
    bool selectSource();
    // The device name of the default source: the last one selected, else the first; "".
    std::string defaultDevice();
    std::string labelOf(const std::string& device);
    std::string currentLabel() const { return device_ ? currentLabel_ : ""; }

    bool openSource(const std::string& nameOrLabel);
    bool closeSource();
    bool disableSource();
    bool sourceSetup();

    // One transfer: the global memory handle of a native transfer, 0 for a
    // file transfer or when nothing came back (see last()).
    uint32_t acquire();
    bool endTransfer();
    bool abortAllTransfers();
    const LastTransfer& last() const { return last_; }

    // nullptr without an open source (the condition is then set to a sequence error).
    Capabilities* capabilities();

    TransferSettings& settings() { return settings_; }
    std::string& transferPath() { return transferPath_; }

    int32_t conditionCode() const { return condition_; }
    int32_t resultCode() const { return result_; }
    // Records the outcome of an operation; answers whether it succeeded.
    bool finish(int32_t condition, int32_t result = -1);

    // False when the log file cannot be written.
    bool startLog(std::string path);
    void stopLog();
    void setDebug(bool on) { debug_ = on; }
    void log(const std::string& line);

private:
    bool startPage();
    uint32_t failPage(DeviceStatus status);
    // Reads a page into pageBytes_; `size` bytes were read.
    bool readPage(struct FrameParameters& parameters, size_t& size);
    // Grows pageBytes_ to `bytes`, keeping its first `keep` bytes.
    bool reservePage(size_t bytes, size_t keep);
    uint32_t deliver(std::span<const uint8_t> data, const FrameParameters& parameters);
    void afterPage();
    void endBatch();
    void closeDevice();
    // Shows the setup dialog of the open source; applies and keeps what the user changed.
    win::DialogAnswer editSetup();

    std::unique_ptr<DeviceProvider> provider_;
    std::unique_ptr<ScanDevice> device_;
    std::unique_ptr<Capabilities> capabilities_;
    std::string currentDevice_;
    std::string currentLabel_;
    std::string selectedDevice_;
    // What the user changed in each device's setup dialog, in order: set again
    // whenever the device opens, since a device forgets its settings when it
    // closes, and a host closes the source and unloads the manager after
    // every scan. Kept for the engine's life, as a source keeps its user's
    // settings from one session to the next.
    std::map<std::string, std::vector<win::ScanSetting>> setupChoices_;
    int32_t state_ = 1;
    TransferSettings settings_;
    std::string transferPath_;
    // The page as read, kept for the next page of a batch (freed with the source).
    win::LargeBuffer pageBytes_;
    size_t pageCapacity_ = 0;
    LastTransfer last_;
    int32_t condition_ = 0;
    int32_t result_ = 0;
    int pagesInBatch_ = 0;
    DeviceStatus pendingFailure_ = DeviceStatus::Good;
    bool transferring_ = false;
    bool cancelRequested_ = false;
    bool closeRequested_ = false;
    std::string logPath_;
    std::string logText_;
    bool debug_ = false;
};

// Maps a device's failure onto TWAIN's condition code.
int32_t ConditionOf(DeviceStatus status);

}  // namespace mvtwain
