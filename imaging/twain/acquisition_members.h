#pragma once
// Source handling and acquisition of the scanning control: the source
// manager and the source, transfer options, and acquiring one page into a
// packed DIB, an image ID or a file, all through the TWAIN engine. Guarded
// members run the engine check first and answer their fallback without an
// engine; the others call the engine directly, which raises
// TwainEngineUnavailable when its file is missing.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

namespace twain_source {

// TWAIN state 1-7; -1 without an engine.
int32_t GetState();
bool IsAvailable();
bool SelectSource(int32_t hwnd);
bool OpenDefaultSource();
bool OpenSource(std::string_view name);
// Closes the source, then unloads the source manager; the close's answer.
bool CloseSource();
bool CloseSourceManager(int32_t hwnd);
bool UnloadSourceManager();
bool DisableSource();
// Below state 4: status 32 and false.
bool ShowSetupDialogSource(TwainControl& control, int32_t hwnd);
// Only while the state is below 5.
void SetApplicationInfo(int32_t majorVersion, int32_t minorVersion, int32_t language, int32_t country,
                        std::string_view versionInfo, std::string_view companyName, std::string_view productFamily,
                        std::string_view productName);
int32_t GetSourceCount();
std::string GetSourceName(int32_t number);

void SetHideUI(bool hide);
bool SetIndicators(bool show);
void SetErrorMessage(bool show);
void SetMultiTransfer(bool multi);
bool SetXferCount(int32_t transfers);
bool EnableDuplex(bool duplex);
void DisableAutoSourceClose(bool disable);
bool UserClosedSource();
bool LastXferFail();
bool EndXfer();
bool EndAllXfers();
bool ResetImageLayout();
// TWCC_BUMMER (1) and TWRC_SUCCESS (0) without an engine.
int32_t GetLastConditionCode();
int32_t GetLastResultCode();
bool LogStart(std::string_view path);
void LogStop();

}  // namespace twain_source

namespace twain_acquisition {

// One page as the engine hands it over: the memory handle (0 when none),
// with the status stored in the control.
uint32_t AcquireToDib(TwainControl& control, int32_t hwnd);
// One page as a new image ID that becomes the current image; 0 with the
// status when no image was made (the current image then stays).
int32_t AcquireToMorvalenImage(TwainControl& control, int32_t hwnd);
// One page written to `path` by a file transfer; the status.
MorvalenStatus AcquireToFile(TwainControl& control, std::string_view path, int32_t hwnd);

}  // namespace twain_acquisition
}  // namespace scanvelt
