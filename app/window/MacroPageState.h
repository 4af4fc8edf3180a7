#pragma once

// What the macro page keeps between its handlers (UI thread only).

#include <memory>

#include "app/window/MacroEditing.h"
#include "app/window/RawInput.h"
#include "ui/framework/CString.h"

namespace tarnwell {

enum CaptureMode : int
{
    CAPTURE_NONE = 0,
    CAPTURE_RECORDING = 1,    // key events go into the event list
    CAPTURE_VALUE_EDIT = 12,  // the value edit of a key event takes the next key
};

struct MacroPageState
{
    bool recording = false;
    // Exists while raw input is wanted: recording or a key capture.
    std::unique_ptr<RawInputRecorder> recorder;
    int captureMode = CAPTURE_NONE;
    RecordingClock clock;
    int eventLimit = kRecordEventLimit;
    int timestampCounter = 0;
    int capturedCode = 0;
    CString capturedName;

    // The hook-key message acts only in a hook mode other than 0 and only
    // on this record, never on a pointer that a message brings.
    int hookMode = 0;
    int hookCapturedCode = 0;
    HookKeyRecord hookRecord;
    SystemKeySource hookKeys;
    HookKeyDecoder hookDecoder{hookKeys};
};

} // namespace tarnwell
