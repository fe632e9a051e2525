#pragma once
// A TWAIN engine for the acquisition members' tests: a shared object with
// the engine's exports whose answers the test sets through ScriptedEngine_Set
// (found with dlsym in the same loaded file), for what no real source does on
// demand: a file transfer that claims success over a stale file, RAW buffers
// of any depth and resolution, a handle with a file transfer.
#include <cstdint>

struct ScriptedEngineScript {
    int32_t state = 4;
    int32_t transferMode = 0;  // what MVTWAIN_LastTransferMode answers
    // Native transfers: 0 no handle, 1 a packed DIB (4 x 2, 24 bits), 2 a RAW buffer.
    int32_t handleKind = 0;
    int32_t rawBitsPerPixel = 24;
    double rawResolution = 0;
    // File transfers: write a 4 x 2 BMP at the path followed by "_", dated this many seconds ago.
    bool writeFile = false;
    int32_t fileAgeSeconds = 0;
    bool cancelled = false;
    bool failed = false;
    int32_t resultCode = 6;  // TWRC_XFERDONE
    int32_t conditionCode = 0;
    // Capability value lists: every capability lists this many values, value
    // i (from 0) being 100 * (i + 1) + 0.25 or the text "value i+1"; indexes
    // past the list answer 0 and "". With a list, a capability's current
    // value is 300.25 (text "current text"), its range 10.5 to 20.25 in steps
    // of 0.5, and the image layout 1.25, 2.5, 3.75, 5 (left, top, right, bottom).
    int32_t listCount = 0;
    // Barcodes of the last transfer: code i (from 0) reads "code i+1", of
    // type 2 + i, at x 100 + 10 i and y 40 + 7 i, with confidence 90 - 5 i
    // and rotation i (mod 5); indexes past the list answer 0 and "".
    int32_t barcodeCount = 0;
};

struct ScriptedEngineRecord {
    int32_t transferModeSet = -1;
    int32_t freedHandles = 0;
    char transferPath[1024] = {0};
    double layoutSet[4] = {0, 0, 0, 0};  // the last MVTWAIN_SetImageLayout's arguments
    // The flag the last call of each switch sent; -1 before any call.
    int32_t autoSourceClose = -1, showError = -1, multiTransfer = -1, duplex = -1;
};

using ScriptedEngineSetFunction = void (*)(const ScriptedEngineScript*, ScriptedEngineRecord**);
