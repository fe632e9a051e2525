#pragma once
// The TWAIN engine's C entry points, as the scanning control binds them by
// name (libmvtwain.so, "mvtwain.dll" to the control). The engine drives SANE
// devices through the TWAIN life cycle.
//
// Conventions:
// - Arguments and results are 32-bit integers unless typed double.
// - Yes/success answers 1, no/failure 0 (the generic capability setters and
//   MVTWAIN_Reset answer non-zero on success).
// - Texts cross as NUL-terminated 8-bit text. A returned pointer stays valid
//   only until the next call into the engine: the caller copies it at once.
//   A returned text is never a null pointer.
// - Window handles are 32-bit numbers; 0 means "no owner window".
// - Memory handles (native transfers) are the platform's 32-bit global memory
//   handles (HGLOBAL values); a packed DIB, or a RAW pixel buffer when
//   MVTWAIN_LastDibIsRAW answers 1. The caller owns them and frees them with
//   MVTWAIN_FreeNative or the platform's GlobalFree.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- TWAIN states (MVTWAIN_State) ----
enum {
    MVTWAIN_STATE_PRESESSION = 1,       // nothing loaded
    MVTWAIN_STATE_SM_LOADED = 2,        // source manager loaded
    MVTWAIN_STATE_SM_OPEN = 3,          // source manager open (SANE initialised)
    MVTWAIN_STATE_SOURCE_OPEN = 4,      // a source (SANE device) is open
    MVTWAIN_STATE_SOURCE_ENABLED = 5,   // the source is enabled for an acquisition
    MVTWAIN_STATE_TRANSFER_READY = 6,   // a page is ready to transfer
    MVTWAIN_STATE_TRANSFERRING = 7      // a page is being transferred
};

// ---- TWAIN result codes (MVTWAIN_GetLastResultCode) ----
enum {
    MVTWAIN_TWRC_SUCCESS = 0,
    MVTWAIN_TWRC_FAILURE = 1,
    MVTWAIN_TWRC_CHECKSTATUS = 2,
    MVTWAIN_TWRC_CANCEL = 3,
    MVTWAIN_TWRC_DSEVENT = 4,
    MVTWAIN_TWRC_NOTDSEVENT = 5,
    MVTWAIN_TWRC_XFERDONE = 6,
    MVTWAIN_TWRC_ENDOFLIST = 7,
    MVTWAIN_TWRC_INFONOTSUPPORTED = 8,
    MVTWAIN_TWRC_DATANOTAVAILABLE = 9
};

// ---- TWAIN condition codes (MVTWAIN_GetLastConditionCode) ----
enum {
    MVTWAIN_TWCC_SUCCESS = 0,
    MVTWAIN_TWCC_BUMMER = 1,            // failure without a more precise reason
    MVTWAIN_TWCC_LOWMEMORY = 2,
    MVTWAIN_TWCC_NODS = 3,              // no such source / no device
    MVTWAIN_TWCC_MAXCONNECTIONS = 4,    // the device is busy
    MVTWAIN_TWCC_OPERATIONERROR = 5,    // the device failed (transfer failure, I/O error)
    MVTWAIN_TWCC_BADCAP = 6,
    MVTWAIN_TWCC_BADPROTOCOL = 9,
    MVTWAIN_TWCC_BADVALUE = 10,         // a value out of the capability's range
    MVTWAIN_TWCC_SEQERROR = 11,         // a call in the wrong state
    MVTWAIN_TWCC_BADDEST = 12,
    MVTWAIN_TWCC_CAPUNSUPPORTED = 13,   // the source has no such capability
    MVTWAIN_TWCC_CAPBADOPERATION = 14,  // the capability cannot be set (read-only)
    MVTWAIN_TWCC_CAPSEQERROR = 15,
    MVTWAIN_TWCC_DENIED = 16,
    MVTWAIN_TWCC_FILEEXISTS = 17,
    MVTWAIN_TWCC_FILENOTFOUND = 18,
    MVTWAIN_TWCC_NOTEMPTY = 19,
    MVTWAIN_TWCC_PAPERJAM = 20,
    MVTWAIN_TWCC_PAPERDOUBLEFEED = 21,
    MVTWAIN_TWCC_FILEWRITEERROR = 22,
    MVTWAIN_TWCC_CHECKDEVICEONLINE = 23,
    MVTWAIN_TWCC_INTERLOCK = 24,        // cover open
    MVTWAIN_TWCC_DAMAGEDCORNER = 25,
    MVTWAIN_TWCC_FOCUSERROR = 26,
    MVTWAIN_TWCC_DOCTOOLIGHT = 27,
    MVTWAIN_TWCC_DOCTOODARK = 28,
    MVTWAIN_TWCC_NOMEDIA = 29           // no more pages in the feeder
};

// ---- Transfer modes (MVTWAIN_SetTransferMode, MVTWAIN_LastTransferMode) ----
enum {
    MVTWAIN_XFER_NATIVE = 0,  // a memory handle: packed DIB or RAW buffer
    MVTWAIN_XFER_FILE = 1     // a file at the transfer path followed by "_"
};

// ---- TWAIN item types (MVTWAIN_GetCapItemType, MVTWAIN_SetCapOneValue) ----
enum {
    MVTWAIN_TWTY_INVALID = -1,
    MVTWAIN_TWTY_INT8 = 0,
    MVTWAIN_TWTY_INT16 = 1,
    MVTWAIN_TWTY_INT32 = 2,
    MVTWAIN_TWTY_UINT8 = 3,
    MVTWAIN_TWTY_UINT16 = 4,
    MVTWAIN_TWTY_UINT32 = 5,
    MVTWAIN_TWTY_BOOL = 6,
    MVTWAIN_TWTY_FIX32 = 7,
    MVTWAIN_TWTY_FRAME = 8,
    MVTWAIN_TWTY_STR32 = 9,
    MVTWAIN_TWTY_STR64 = 10,
    MVTWAIN_TWTY_STR128 = 11,
    MVTWAIN_TWTY_STR255 = 12
};

// ---- TWAIN pixel types (MVTWAIN_GetPixelType, MVTWAIN_SetCurrentPixelType) ----
enum {
    MVTWAIN_TWPT_BW = 0,
    MVTWAIN_TWPT_GRAY = 1,
    MVTWAIN_TWPT_RGB = 2
};

// ===================== Engine =====================

// The engine's version number; the control accepts 630 and later.
int32_t MVTWAIN_GetVersion(void);

// ===================== Source manager and source =====================

// The TWAIN state 1-7.
int32_t MVTWAIN_State(void);
// 1 when a source manager (SANE) is installed.
int32_t MVTWAIN_IsAvailable(void);
// Loads and opens the source manager (state 3); 1 on success.
int32_t MVTWAIN_OpenSourceManager(int32_t hwnd);
// Closes the source manager (closing an open source first); 1 on success.
int32_t MVTWAIN_CloseSourceManager(int32_t hwnd);
// Closes and unloads the source manager (state 1); 1 on success.
int32_t MVTWAIN_UnloadSourceManager(void);
// Shows the source-selection dialog; the chosen source becomes the default (kept per
// user); 1 on success. With the UI hidden or no dialog installed, the default stays; 1.
int32_t MVTWAIN_SelectImageSource(int32_t hwnd);
// Opens the default source (state 4); 1 on success, also when it is already open.
int32_t MVTWAIN_OpenDefaultSource(void);
// Opens the source of that name (state 4); 1 on success.
int32_t MVTWAIN_OpenSource(const char* sourceName);
// Closes the open source (state 3); 1 on success.
int32_t MVTWAIN_CloseSource(void);
// Disables the enabled source (state 4); 1 on success.
int32_t MVTWAIN_DisableSource(void);
// Shows the open source's setup dialog; 1 when the user accepted it.
int32_t MVTWAIN_SourceSetup(int32_t hwnd);
// The first source name (opens the source manager when needed); "" when there is none.
const char* MVTWAIN_GetFirstSourceName(void);
// The next source name after MVTWAIN_GetFirstSourceName; "" after the last one.
const char* MVTWAIN_GetNextSourceName(void);
// The application identity for the next connection to the source manager; 1.
int32_t MVTWAIN_RegisterApp(int32_t majorVersion, int32_t minorVersion, int32_t language, int32_t country,
                            const char* versionInfo, const char* companyName, const char* productFamily,
                            const char* productName);
// 1: acquire without the source's own dialog. Answers 1.
int32_t MVTWAIN_SetHideUI(int32_t hide);
// 1: the engine shows its own error messages (through the host's message box). Answers 1.
int32_t MVTWAIN_SetShowError(int32_t show);
// 1: several transfers per enabling of the source. Answers 1.
int32_t MVTWAIN_SetMultiTransfer(int32_t multi);
// 1: the source is closed automatically after the last transfer. Answers 1.
int32_t MVTWAIN_AutoSourceClose(int32_t autoClose);
// 1/0: show the progress indicator during transfers; 1 when accepted.
int32_t MVTWAIN_SetIndicators(int32_t show);
// 1/0: duplex scanning; 1 when the source accepted it (0 without a duplex source).
int32_t MVTWAIN_EnableDuplex(int32_t duplex);
// The number of transfers wanted (-1 any number); 1 when accepted.
int32_t MVTWAIN_NegotiateXferCount(int32_t transfers);
// Drops every pending page (back to state 4 or less); 1 on success.
int32_t MVTWAIN_AbortAllPendingXfers(void);
// Ends the current transfer (state 6 with more pages, else 5/4); 1 on success.
int32_t MVTWAIN_EndXfer(void);
// Resets the scan area to the whole of the source's area; 1 on success.
int32_t MVTWAIN_ResetImageLayout(void);
// 1 when the last acquisition was cancelled (user or host).
int32_t MVTWAIN_UserClosedSource(void);
// 1 when the last transfer failed.
int32_t MVTWAIN_XferFail(void);
// The TWAIN condition code of the last operation (MVTWAIN_TWCC_*).
int32_t MVTWAIN_GetLastConditionCode(void);
// The TWAIN result code of the last operation (MVTWAIN_TWRC_*).
int32_t MVTWAIN_GetLastResultCode(void);
// Starts logging the engine's calls to that file; 1 when logging started.
int32_t MVTWAIN_StartLog(const char* logPath);
// Stops logging; 1.
int32_t MVTWAIN_StopLog(void);

// ===================== Transfers =====================

// The mode of the next transfer: 0 native, 1 file. Answers 1 for a known mode.
int32_t MVTWAIN_SetTransferMode(int32_t mode);
// The path a file transfer writes (the page lands at this path followed by "_"); 1.
int32_t MVTWAIN_SetFilePathTransfer(const char* filePath);
// The transfer path as set ("" when none); the transferred file is this path followed by "_".
const char* MVTWAIN_GetFilePathTransfer(void);
// Enables the source and runs one transfer (with the source's dialog unless
// hidden): a native transfer returns the memory handle, a file transfer
// writes the file and returns 0; 0 also when nothing came back.
int32_t MVTWAIN_AcquireNative(int32_t hwnd);
// 1 when the last transfer was a file transfer, else 0.
int32_t MVTWAIN_LastTransferMode(void);
// 1 when the handle of the last native transfer is a RAW buffer (not a packed DIB).
int32_t MVTWAIN_LastDibIsRAW(void);
// Width in pixels of the last RAW buffer.
int32_t MVTWAIN_LastRAWWidth(void);
// Height in pixels of the last RAW buffer.
int32_t MVTWAIN_LastRAWHeight(void);
// Bytes per row of the last RAW buffer.
int32_t MVTWAIN_LastRAWStride(void);
// Bits per pixel of the last RAW buffer (48 or 64 for 16-bit colour, 16 for 16-bit grey).
int32_t MVTWAIN_LastRAWBPP(void);
// Horizontal resolution of the last RAW buffer in dots per inch (0 when unknown).
double MVTWAIN_LastRAWResX(void);
// Vertical resolution of the last RAW buffer in dots per inch (0 when unknown).
double MVTWAIN_LastRAWResY(void);
// Frees a handle returned by MVTWAIN_AcquireNative; 1 when it named a block.
int32_t MVTWAIN_FreeNative(int32_t handle);

// ===================== Capabilities =====================

// Loads the numeric values of a capability: mode 1 all values, mode 2 the
// current value. The count loaded; 0 or less when unsupported.
int32_t MVTWAIN_LoadCapValuesN(int32_t cap, int32_t mode);
// As MVTWAIN_LoadCapValuesN, for text values.
int32_t MVTWAIN_LoadCapValuesS(int32_t cap, int32_t mode);
// Loads the range (min, max, step) of a numeric capability; above 0 on success.
int32_t MVTWAIN_LoadCapValuesRangeN(int32_t cap);
// The numeric current value of the last load (0 when none).
double MVTWAIN_GetLastCapValueCurrent(void);
// The text current value of the last load ("" when none).
const char* MVTWAIN_GetLastCapValueCurrentS(void);
// The step of the last range load.
double MVTWAIN_GetLastStepCapValueRange(void);
// The minimum of the last range load.
double MVTWAIN_GetLastMinCapValueRange(void);
// The maximum of the last range load.
double MVTWAIN_GetLastMaxCapValueRange(void);
// Numeric value number `index` (0-based) of the last load; 0 outside the list.
double MVTWAIN_GetCapValueFromIdx(int32_t index);
// Text value number `index` (0-based) of the last load; "" outside the list.
const char* MVTWAIN_GetCapValueFromIdxS(int32_t index);
// The 32-bit TWAIN FIX32 form of a value (whole part high 16 bits, fraction low 16 bits).
int32_t MVTWAIN_ToFix32(double value);
// Sets the current value of a capability; `value` is in FIX32 form for item
// type 7, else the plain value. Non-zero on success.
int32_t MVTWAIN_SetCapOneValue(int32_t cap, int32_t itemType, int32_t value);
// Sets the text current value of a capability; non-zero on success.
int32_t MVTWAIN_SetCapOneValueS(int32_t cap, int32_t itemType, const char* value);
// Resets a capability to its default value; non-zero on success.
int32_t MVTWAIN_Reset(int32_t cap);
// The TWAIN item type of a capability (MVTWAIN_TWTY_*); -1 when unsupported.
int32_t MVTWAIN_GetCapItemType(int32_t cap);
// The current bit depth per channel (0 without an open source).
int32_t MVTWAIN_GetBitDepth(void);
// Sets the bit depth per channel; 1 on success.
int32_t MVTWAIN_SetBitDepth(int32_t bitDepth);
// The current brightness, in the source's own scale (its range from MVTWAIN_LoadCapValuesRangeN).
double MVTWAIN_GetBrightness(void);
// Sets the brightness in the source's own scale; 1 on success (0 when the source has none).
int32_t MVTWAIN_SetBrightness(double brightness);
// The current contrast, in the source's own scale.
double MVTWAIN_GetContrast(void);
// Sets the contrast in the source's own scale; 1 on success (0 when the source has none).
int32_t MVTWAIN_SetContrast(double contrast);
// The current pixel type (MVTWAIN_TWPT_*); -1 without an open source.
int32_t MVTWAIN_GetPixelType(void);
// Sets the pixel type (MVTWAIN_TWPT_*); 1 on success.
int32_t MVTWAIN_SetCurrentPixelType(int32_t pixelType);
// The current resolution in dots per inch (0 when unknown).
double MVTWAIN_GetCurrentResolution(void);
// Sets the resolution in dots per inch (both directions); 1 on success.
int32_t MVTWAIN_SetCurrentResolution(double resolution);
// The height of the source's scan area in inches.
double MVTWAIN_GetPhysicalHeight(void);
// The width of the source's scan area in inches.
double MVTWAIN_GetPhysicalWidth(void);
// The current paper size (TWAIN TWSS_* number; 0 when none fits).
int32_t MVTWAIN_GetPaperSize(void);
// Sets the scan area to a TWAIN paper size (TWSS_* number); 1 on success.
int32_t MVTWAIN_SetPaperSize(int32_t paperSize);
// Sets the scan area in inches from the top-left corner; 1 on success.
int32_t MVTWAIN_SetImageLayout(double left, double top, double right, double bottom);
// Reads the scan area in inches into the four references; 1 on success.
int32_t MVTWAIN_GetImageLayout(double* left, double* top, double* right, double* bottom);
// The duplex kind of the source: 0 none, 1 one-pass duplex, 2 two-pass duplex.
int32_t MVTWAIN_GetDuplexMode(void);
// 1 when acquisitions run without the source's dialog.
int32_t MVTWAIN_GetHideUI(void);
// The name of the open source ("" when none is open).
const char* MVTWAIN_GetCurrentSourceName(void);
// The name of the default source: the last one selected, else the first ("" when none).
const char* MVTWAIN_GetDefaultSourceName(void);
// 1/0: debug mode (the engine logs to standard error). Answers 1.
int32_t MVTWAIN_SetDebugMode(int32_t debug);
// Where the source manager lies (a SANE configuration folder on this system); 1.
int32_t MVTWAIN_SetDSMPath(const char* path);

// ===================== Automatic features =====================

// Automatic brightness: -1 (or any non-zero) on, 0 off; 1 when the source accepted it.
int32_t MVTWAIN_SetAutoBright(int32_t on);
// Automatic feeding from the document feeder (1/0); 1 when accepted.
int32_t MVTWAIN_SetAutoFeed(int32_t on);
// Automatic scanning of page after page from the feeder (1/0); 1 when accepted.
int32_t MVTWAIN_SetAutoScan(int32_t on);
// Automatic border detection (1/0); 1 when accepted.
int32_t MVTWAIN_AutomaticBorderDetection(int32_t on);
// Automatic deskew (1/0); 1 when accepted.
int32_t MVTWAIN_AutomaticDeskew(int32_t on);
// Automatic rotation (1/0); 1 when accepted.
int32_t MVTWAIN_AutomaticRotate(int32_t on);

// ===================== Barcodes the source detected in the last transfer =====================

// The number of barcodes of the last transfer.
int32_t MVTWAIN_BarCodeCount(void);
// The text of barcode `index` (0-based); "" out of range.
const char* MVTWAIN_BarCodeValue(int32_t index);
// The type (TWBT_*) of barcode `index`; 0 out of range.
int32_t MVTWAIN_BarCodeType(int32_t index);
// The X position of barcode `index`; 0 out of range.
int32_t MVTWAIN_BarCodeX(int32_t index);
// The Y position of barcode `index`; 0 out of range.
int32_t MVTWAIN_BarCodeY(int32_t index);
// The confidence of barcode `index`; 0 out of range.
int32_t MVTWAIN_BarCodeConfidence(int32_t index);
// The rotation (TWBCOR_*) of barcode `index`; 0 out of range.
int32_t MVTWAIN_BarCodeRotation(int32_t index);

#ifdef __cplusplus
}
#endif
