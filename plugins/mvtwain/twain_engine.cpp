#include "plugins/mvtwain/twain_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/files/atomic_file_writer.h"
#include "platform/win/global_memory.h"
#include "platform/win/pending_messages.h"
#include "platform/win/scan_dialogs.h"
#include "plugins/mvtwain/default_source_store.h"
#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/page_layout.h"
#include "plugins/mvtwain/setup_settings.h"

namespace mvtwain {
namespace {

// A read asks for this much at a time; between reads the host's messages run.
constexpr int kChunkBytes = 256 * 1024;

}  // namespace

int32_t ConditionOf(DeviceStatus status) {
    switch (status) {
    case DeviceStatus::Good:
    case DeviceStatus::Eof:
    case DeviceStatus::Cancelled: return MVTWAIN_TWCC_SUCCESS;
    case DeviceStatus::Jammed: return MVTWAIN_TWCC_PAPERJAM;
    case DeviceStatus::NoDocs: return MVTWAIN_TWCC_NOMEDIA;
    case DeviceStatus::CoverOpen: return MVTWAIN_TWCC_INTERLOCK;
    case DeviceStatus::NoMemory: return MVTWAIN_TWCC_LOWMEMORY;
    case DeviceStatus::AccessDenied: return MVTWAIN_TWCC_DENIED;
    case DeviceStatus::Busy: return MVTWAIN_TWCC_MAXCONNECTIONS;
    case DeviceStatus::IoError: return MVTWAIN_TWCC_OPERATIONERROR;
    case DeviceStatus::Unsupported:
    case DeviceStatus::Invalid: return MVTWAIN_TWCC_BUMMER;
    }
    return MVTWAIN_TWCC_BUMMER;
}

Engine::Engine(std::unique_ptr<DeviceProvider> provider) : provider_(std::move(provider)) {}

Engine::~Engine() {
    closeDevice();
    if (state_ >= 3) provider_->shutdown();
}

bool Engine::finish(int32_t condition, int32_t result) {
    condition_ = condition;
    result_ = result >= 0 ? result : condition == MVTWAIN_TWCC_SUCCESS ? MVTWAIN_TWRC_SUCCESS : MVTWAIN_TWRC_FAILURE;
    return condition == MVTWAIN_TWCC_SUCCESS;
}

bool Engine::available() {
    // The source manager is there when libsane starts (or the scripted source is enabled).
    if (state_ >= 3) return true;
    const bool ok = provider_->initialise();
    if (ok) provider_->shutdown();
    return ok;
}

bool Engine::openManager() {
    if (state_ >= 3) return finish(MVTWAIN_TWCC_SUCCESS);
    if (!provider_->initialise()) {
        state_ = 2;
        return finish(MVTWAIN_TWCC_BUMMER);
    }
    state_ = 3;
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::closeManager() {
    if (transferring_) {
        cancelRequested_ = closeRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    if (state_ < 3) return finish(MVTWAIN_TWCC_SEQERROR);
    closeDevice();
    provider_->shutdown();
    state_ = 2;
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::unloadManager() {
    if (transferring_) {
        cancelRequested_ = closeRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    if (state_ >= 3) closeManager();
    state_ = 1;
    return finish(MVTWAIN_TWCC_SUCCESS);
}

std::vector<SourceEntry> Engine::sources() {
    if (state_ < 3 && !openManager()) return {};
    return provider_->sources();
}

std::string Engine::defaultDevice() {
    const auto list = sources();
    if (list.empty()) return "";
    for (const std::string& wanted : {selectedDevice_, LoadDefaultSource()})
        for (const auto& entry : list)
            if (!wanted.empty() && entry.device == wanted) return entry.device;
    return list.front().device;
}

std::string Engine::labelOf(const std::string& device) {
    for (const auto& entry : sources())
        if (entry.device == device) return entry.label;
    return "";
}

bool Engine::selectSource() {
    const auto list = sources();
    if (list.empty()) return finish(state_ >= 3 ? MVTWAIN_TWCC_NODS : MVTWAIN_TWCC_BUMMER);
    const std::string current = defaultDevice();
    win::ScanSourceChoiceRequest request;
    for (size_t i = 0; i < list.size(); ++i) {
        request.sources.push_back(list[i].label);
        if (list[i].device == current) request.current = i;
    }
    size_t chosen = request.current;
    // With the user interface hidden, or none installed, the default source stays chosen.
    const auto answer = settings_.hideUi ? win::DialogAnswer::NoUserInterface : win::ChooseScanSource(request, chosen);
    if (answer == win::DialogAnswer::Cancelled) return finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL) && false;
    if (answer == win::DialogAnswer::Accepted && chosen < list.size()) {
        selectedDevice_ = list[chosen].device;
        StoreDefaultSource(selectedDevice_);
    } else {
        selectedDevice_ = current;
    }
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::openSource(const std::string& nameOrLabel) {
    if (transferring_) return finish(MVTWAIN_TWCC_SEQERROR);
    const auto list = sources();
    const SourceEntry* entry = nullptr;
    for (const auto& e : list)
        if (e.device == nameOrLabel || e.label == nameOrLabel) entry = &e;
    if (!entry) return finish(state_ >= 3 ? MVTWAIN_TWCC_NODS : MVTWAIN_TWCC_BUMMER);
    if (device_) {
        // Opening the open source again is no error: hosts open before every scan.
        if (currentDevice_ == entry->device) return finish(MVTWAIN_TWCC_SUCCESS);
        closeSource();
    }
    DeviceStatus status = DeviceStatus::Good;
    device_ = provider_->open(entry->device, status);
    if (!device_) {
        const int32_t condition = ConditionOf(status);
        return finish(condition == MVTWAIN_TWCC_BUMMER ? MVTWAIN_TWCC_NODS : condition);
    }
    // Capabilities start from the source's own values, as a newly opened TWAIN source.
    settings_.transferCount = -1;
    settings_.autoScan = false;
    capabilities_ = std::make_unique<Capabilities>(*device_, settings_);
    // What the user chose in its setup dialog holds again (the capabilities'
    // defaults above stay the device's own).
    if (const auto kept = setupChoices_.find(entry->device); kept != setupChoices_.end())
        ApplySettings(*device_, {}, kept->second);
    currentDevice_ = entry->device;
    currentLabel_ = entry->label;
    pendingFailure_ = DeviceStatus::Good;
    state_ = 4;
    return finish(MVTWAIN_TWCC_SUCCESS);
}

void Engine::closeDevice() {
    if (device_ && state_ >= 5) device_->cancel();
    capabilities_.reset();
    device_.reset();
    pageBytes_.reset();
    pageCapacity_ = 0;
    currentDevice_.clear();
    currentLabel_.clear();
    if (state_ > 3) state_ = 3;
}

bool Engine::closeSource() {
    if (transferring_) {
        cancelRequested_ = closeRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    if (!device_) return finish(MVTWAIN_TWCC_SEQERROR);
    closeDevice();
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::disableSource() {
    if (transferring_) {
        cancelRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    if (state_ < 5) return finish(MVTWAIN_TWCC_SEQERROR);
    endBatch();
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::sourceSetup() {
    if (!device_ || transferring_) return finish(MVTWAIN_TWCC_SEQERROR);
    if (editSetup() != win::DialogAnswer::Accepted) return finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL) && false;
    return finish(MVTWAIN_TWCC_SUCCESS);
}

win::DialogAnswer Engine::editSetup() {
    win::ScanSetupRequest request;
    request.sourceName = currentLabel_;
    request.settings = SettingsOf(*device_);
    const auto before = request.settings;
    const auto answer = win::EditScanSetup(request);
    if (answer == win::DialogAnswer::Accepted) {
        ApplySettings(*device_, before, request.settings);
        KeepChangedSettings(setupChoices_[currentDevice_], before, request.settings);
    }
    return answer;
}

Capabilities* Engine::capabilities() {
    if (!capabilities_) finish(MVTWAIN_TWCC_SEQERROR);
    return capabilities_.get();
}

void Engine::endBatch() {
    if (device_ && state_ >= 5) device_->cancel();
    pendingFailure_ = DeviceStatus::Good;
    pagesInBatch_ = 0;
    if (state_ > 4) state_ = 4;
}

bool Engine::endTransfer() {
    if (transferring_) {
        cancelRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    // Every acquisition ends its own transfer: a page that follows stays ready.
    return finish(state_ >= 4 ? MVTWAIN_TWCC_SUCCESS : MVTWAIN_TWCC_SEQERROR);
}

bool Engine::abortAllTransfers() {
    if (transferring_) {
        cancelRequested_ = true;
        return finish(MVTWAIN_TWCC_SUCCESS);
    }
    if (state_ < 5) return finish(MVTWAIN_TWCC_SEQERROR);
    endBatch();
    return finish(MVTWAIN_TWCC_SUCCESS);
}

bool Engine::startPage() {
    const DeviceStatus status = device_->start();
    if (status == DeviceStatus::Good) {
        state_ = 6;
        return true;
    }
    failPage(status);
    return false;
}

uint32_t Engine::failPage(DeviceStatus status) {
    if (device_) device_->cancel();
    pendingFailure_ = DeviceStatus::Good;
    pagesInBatch_ = 0;
    if (state_ > 4) state_ = 4;
    if (status == DeviceStatus::Cancelled) {
        last_.cancelled = true;
        finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL);
    } else if (status == DeviceStatus::NoDocs) {
        // No page to deliver is no failed transfer.
        finish(MVTWAIN_TWCC_NOMEDIA);
    } else {
        last_.failed = true;
        finish(ConditionOf(status) == MVTWAIN_TWCC_SUCCESS ? MVTWAIN_TWCC_BUMMER : ConditionOf(status));
    }
    log("transfer ended: condition " + std::to_string(condition_) + ", result " + std::to_string(result_));
    return 0;
}

uint32_t Engine::acquire() {
    last_ = {};
    last_.mode = settings_.transferMode;
    if (transferring_ || state_ < 4 || !device_) return finish(MVTWAIN_TWCC_SEQERROR), 0;
    const std::filesystem::path target = transferPath_ + "_";
    if (last_.mode == 1) {
        if (transferPath_.empty()) {
            last_.failed = true;
            return finish(MVTWAIN_TWCC_BADDEST), 0;
        }
        // A file left at the path by an earlier scan must never pass for this page.
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
    }
    if (state_ == 4) {
        if (!settings_.hideUi && editSetup() == win::DialogAnswer::Cancelled) {
            last_.cancelled = true;
            return finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL), 0;
        }
        state_ = 5;
        pagesInBatch_ = 0;
        if (!startPage()) return 0;
    } else if (state_ == 5) {
        if (!startPage()) return 0;
    }
    if (pendingFailure_ != DeviceStatus::Good) return failPage(pendingFailure_);

    transferring_ = true;
    cancelRequested_ = false;
    state_ = 7;
    FrameParameters parameters;
    size_t pageSize = 0;
    const bool read = readPage(parameters, pageSize);
    transferring_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        last_.cancelled = true;
        closeDevice();
        finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_CANCEL);
        return 0;
    }
    if (!read) return 0;
    const uint32_t handle = deliver(std::span<const uint8_t>(pageBytes_.get(), pageSize), parameters);
    if (!last_.failed) afterPage();
    return handle;
}

bool Engine::reservePage(size_t bytes, size_t keep) {
    if (bytes <= pageCapacity_) return true;
    win::LargeBuffer grown = win::AllocateZeroed(bytes);
    if (!grown) return false;
    if (keep > 0) std::memcpy(grown.get(), pageBytes_.get(), keep);
    pageBytes_ = std::move(grown);
    pageCapacity_ = bytes;
    return true;
}

bool Engine::readPage(FrameParameters& parameters, size_t& size) {
    DeviceStatus status = device_->parameters(parameters);
    if (status != DeviceStatus::Good) return failPage(status), false;
    if (!parameters.lastFrame || parameters.bytesPerLine <= 0) return failPage(DeviceStatus::Unsupported), false;
    const uint64_t expected =
        parameters.lines > 0 ? static_cast<uint64_t>(parameters.lines) * static_cast<uint64_t>(parameters.bytesPerLine) : 0;
    if (expected > kPageMemoryCeiling) return failPage(DeviceStatus::NoMemory), false;
    // One spare byte shows a page longer than announced. The buffer is kept
    // for the pages that follow, so that a batch touches fresh memory once.
    size_t room = expected > 0 ? expected + 1 : kChunkBytes;
    if (!reservePage(room, 0)) return failPage(DeviceStatus::NoMemory), false;
    size = 0;
    const bool indicators = settings_.indicators;
    win::ScanProgress progress{currentLabel_, pagesInBatch_ + 1, 0, expected};
    auto closeProgress = [&] {
        if (indicators) win::CloseScanProgress();
    };
    // The window shows from the page's first byte on, and its Cancel is asked
    // after every chunk: a slow device's page may take many seconds.
    if (indicators && !win::ShowScanProgress(progress)) cancelRequested_ = true;
    if (cancelRequested_) return closeProgress(), failPage(DeviceStatus::Cancelled), false;
    while (true) {
        if (size == room) {
            if (room >= kPageMemoryCeiling) return closeProgress(), failPage(DeviceStatus::NoMemory), false;
            room = std::min<uint64_t>(room * 2, kPageMemoryCeiling);
            if (!reservePage(room, size)) return closeProgress(), failPage(DeviceStatus::NoMemory), false;
        }
        int length = 0;
        const int capacity = static_cast<int>(std::min<size_t>(kChunkBytes, room - size));
        status = device_->read(pageBytes_.get() + size, capacity, length);
        if (status == DeviceStatus::Good) size += static_cast<size_t>(std::clamp(length, 0, capacity));
        else if (status == DeviceStatus::Eof) break;
        else return closeProgress(), failPage(status), false;
        // The host's windows stay alive, and its Cancel is honoured here.
        win::RunPendingMessages();
        if (indicators) {
            progress.bytesRead = size;
            if (!win::ShowScanProgress(progress)) cancelRequested_ = true;
        }
        if (cancelRequested_) return closeProgress(), failPage(DeviceStatus::Cancelled), false;
    }
    closeProgress();
    return true;
}

uint32_t Engine::deliver(std::span<const uint8_t> data, const FrameParameters& parameters) {
    const int64_t lines = static_cast<int64_t>(data.size() / static_cast<size_t>(parameters.bytesPerLine));
    auto layout = PlanPage(parameters, lines);
    if (!layout) return failPage(lines == 0 ? DeviceStatus::IoError : DeviceStatus::Unsupported);
    const double dpi = capabilities_ ? capabilities_->resolutionDpi() : 0;
    if (last_.mode == 1) {
        // A file transfer writes a BMP file; 16-bit pages are not a BMP form.
        if (layout->form == PageForm::Raw48) return failPage(DeviceStatus::Unsupported);
        std::vector<uint8_t> file(BmpFileHeaderBytes() + layout->outputBytes);
        std::span<uint8_t> dib(file.data() + BmpFileHeaderBytes(), layout->outputBytes);
        BuildPage(*layout, data, dpi, dib);
        WriteBmpFileHeader(dib, std::span<uint8_t>(file.data(), BmpFileHeaderBytes()));
        std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
        if (files::writeFileAtomically(transferPath_ + "_", bytes)) {
            last_.failed = true;
            finish(MVTWAIN_TWCC_FILEWRITEERROR);
            endBatch();
            return 0;
        }
        finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_XFERDONE);
        return 0;
    }
    const win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, layout->outputBytes);
    void* memory = win::GlobalLock(block);
    if (!memory) {
        win::GlobalFree(block);
        return failPage(DeviceStatus::NoMemory);
    }
    BuildPage(*layout, data, dpi, std::span<uint8_t>(static_cast<uint8_t*>(memory), layout->outputBytes));
    win::GlobalUnlock(block);
    if (layout->form == PageForm::Raw48) {
        last_.raw = true;
        last_.width = layout->width;
        last_.height = layout->height;
        last_.stride = layout->outputStride;
        last_.bitsPerPixel = layout->bitsPerPixel;
        last_.resolutionX = last_.resolutionY = dpi;
    }
    finish(MVTWAIN_TWCC_SUCCESS, MVTWAIN_TWRC_XFERDONE);
    return static_cast<uint32_t>(block);
}

void Engine::afterPage() {
    ++pagesInBatch_;
    const bool more = capabilities_ && capabilities_->feederSelected() && settings_.autoScan &&
                      (settings_.transferCount < 0 || pagesInBatch_ < settings_.transferCount);
    if (!more) {
        endBatch();
        return;
    }
    // The next page starts now, so that the state tells whether one follows.
    const DeviceStatus status = device_->start();
    if (status == DeviceStatus::Good) {
        state_ = 6;
    } else if (status == DeviceStatus::NoDocs) {
        endBatch();
    } else {
        // A jam or failure belongs to the next page: reported by its transfer.
        pendingFailure_ = status;
        state_ = 6;
    }
}

bool Engine::startLog(std::string path) {
    logText_.clear();
    if (path.empty() || files::writeFileAtomically(path, "log started\n")) return false;
    logPath_ = std::move(path);
    logText_ = "log started\n";
    return true;
}

void Engine::stopLog() {
    log("log stopped");
    logPath_.clear();
    logText_.clear();
}

void Engine::log(const std::string& line) {
    if (debug_) std::fprintf(stderr, "mvtwain: %s\n", line.c_str());
    if (logPath_.empty()) return;
    logText_ += line;
    logText_ += '\n';
    // The newest lines are kept when a long session outgrows the limit.
    constexpr size_t kLogLimit = 1 << 20;
    if (logText_.size() > kLogLimit) {
        const size_t cut = logText_.find('\n', logText_.size() - kLogLimit);
        logText_.erase(0, cut == std::string::npos ? logText_.size() : cut + 1);
    }
    // The log is written whole each time, so a crash never leaves half a line.
    files::writeFileAtomically(logPath_, logText_);
}

}  // namespace mvtwain
