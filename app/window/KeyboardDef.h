#pragma once

// The main window's own window messages, timers and the ids its code refers
// to by name. KeyboardDlg derives from it for the names only.

#include <windows.h>

#include <cstdint>

// A control notification as another process sends it in WM_COPYDATA: fixed
// widths, so that the sender's pointer size does not matter.
struct ControlNotifyPacket
{
    uint32_t id;
    uint32_t code;
    int64_t wParam;
    int64_t lParam;
};

struct KeyboardDef
{
    // ---- window messages -------------------------------------------------------
    static constexpr UINT WM_HOOK_KEY = 0x676;
    static constexpr UINT WM_TRAY_NOTIFY = 0x69A;
    static constexpr UINT WM_APP_EXIT = 0x69B;
    static constexpr UINT WM_UPDATE_RESULT = 0x69C;
    static constexpr UINT WM_PROFILE_MENU = 0x72A;
    static constexpr UINT WM_MACRO_MENU = 0x73F;
    static constexpr UINT WM_RECORD_EDIT = 0x740;
    static constexpr UINT WM_RECORD_MENU = 0x741;
    static constexpr UINT WM_PROGRESS_VALUE = 0x785;
    static constexpr UINT WM_APPLY_LANGUAGE = 0x7E8;
    static constexpr UINT WM_KEY_DRAG_OVER = 0x7E9;
    static constexpr UINT WM_KEY_DROP = 0x7EA;
    // What the worker asks of the UI thread (wParam: a WorkerRequest). The
    // worker never sets timers or closes windows itself.
    static constexpr UINT WM_WORKER_REQUEST = 0x7F0;
    // WM_COPYDATA tag of a control notification delivered from outside the
    // process by the end-to-end tests; the data is one ControlNotifyPacket.
    // Answered only in a program the test harness started
    // (tarnwell::StartedByTestHarness), like the state query below.
    static constexpr ULONG_PTR COPYDATA_CONTROL_NOTIFY = 0x4E544354;  // "TCTN"
    // Sent by the end-to-end tests: wParam a StateQuery, the answer the result.
    static constexpr UINT WM_STATE_QUERY = 0x7F1;
    // Posted to itself after the first paint: the pages not built yet, a few
    // rows a message, then the tray icon.
    static constexpr UINT WM_BUILD_PAGES = 0x7FA;
    static constexpr UINT WM_ADD_TRAY_ICON = 0x7FB;
    enum StateQuery : WPARAM {
        QUERY_CONNECTED = 1,
        QUERY_READY = 2,
        QUERY_HOME_SHOWN = 3,      // -1 without a home page
        QUERY_ENTER_TEXT = 4,      // the text number of the enter button
        QUERY_KEYS_PICTURE = 5,    // keys of the keys page picture, -1 without one
        QUERY_LIGHT_PICTURE = 6,   // keys of the lighting page picture, -1 without one
        QUERY_LAYOUT_KEYS = 7,     // entries of the key position map
        QUERY_DEVICE_TYPE = 8,
        QUERY_MODE_COUNT = 9,      // modes of the catalogue
        QUERY_MACRO_RECORDING = 10,     // 1 while the macro page records
        QUERY_MACRO_ROWS = 11,          // rows of the event list, -1 without one
        QUERY_MACRO_CAPTURED_KEY = 12,  // key code the event value edit has taken, 0 for none
        QUERY_MACRO_SELECTED_ROW = 13,  // selected row of the event list, -1 for none
        QUERY_MACRO_EDITOR_KIND = 14,   // kind the shown event editor edits, -1 while it is hidden
        QUERY_TASKS_DONE = 15,          // 1 when the worker has no task queued or running
        // lParam a tarnwell::StartupMark: microseconds from the process's
        // creation to that moment of the start, -1 before it.
        QUERY_STARTUP_MARK = 40,
    };

    enum WorkerRequest : WPARAM {
        REQUEST_START_STAGE_TIMER = 1,    // timer 300
        REQUEST_STOP_STAGE_TIMER = 2,
        REQUEST_STOP_RESET_TIMER = 3,     // timer 301
        REQUEST_CLOSE_PROGRESS = 4,
        REQUEST_ENABLE_WINDOW = 5,
        REQUEST_RESET_NO_DEVICE = 6,      // the reset found no keyboard: say so
        REQUEST_REPORT_UPDATE = 7,        // an update failed: say so
        REQUEST_CLOSE_APP_WINDOWS = 8,
        REQUEST_REPORT_STORE_FAULT = 9,   // the settings cannot be saved: say so
    };

    // lParam of WM_APP_EXIT that ends the program.
    static constexpr LPARAM APP_EXIT_CODE = 610;
    // The tray menu's one item.
    static constexpr UINT TRAY_MENU_EXIT = 100;
    static constexpr UINT TRAY_ICON_ID = 109;
    static constexpr UINT APP_ICON_RESOURCE = 107;

    // ---- timers ------------------------------------------------------------------
    static constexpr UINT TIMER_STAGE_PROGRESS = 300;
    static constexpr UINT TIMER_RESET_PROGRESS = 301;
    static constexpr UINT STAGE_TIMER_PERIOD_MS = 200;
    // Starts building the other pages should the first paint not come.
    static constexpr UINT TIMER_FIRST_PAINT_WAIT = 302;
    static constexpr UINT FIRST_PAINT_WAIT_MS = 1000;
    // Goes on building the pages once the input that waited is handled.
    static constexpr UINT TIMER_BUILD_PAGES = 303;
    // How long one posted page-building step may keep the UI thread.
    static constexpr DWORD PAGE_BUILD_SLICE_MS = 15;

    // ---- window ------------------------------------------------------------------
    static constexpr int WINDOW_WIDTH = 1380;
    static constexpr int WINDOW_HEIGHT = 800;
    // The client area's back colour and its one-pixel border.
    static constexpr COLORREF WINDOW_BACK_COLOUR = RGB(0x1B, 0x1B, 0x1B);
    static constexpr COLORREF WINDOW_BORDER_COLOUR = RGB(0x3A, 0x3A, 0x3A);
    static constexpr DWORD WINDOW_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    static constexpr UINT WORKER_PERIOD_MS = 16;
    static constexpr DWORD WORKER_STOP_WAIT_MS = 1000;

    // ---- page ids ----------------------------------------------------------------
    static constexpr int PAGE_HOME = 0;
    static constexpr int PAGE_KEYS = 1;
    static constexpr int PAGE_MACRO = 2;
    static constexpr int PAGE_LIGHTING = 3;
    static constexpr int PAGE_SETTINGS = 5;

    // Views the system settings panel returns to.
    static constexpr int VIEW_DEVICE_PAGES = 1;
    static constexpr int VIEW_HOME = 2;

    // ---- control ids the dialog's own code refers to ------------------------------
    static constexpr UINT ID_CAPTION_BAR = 31;
    static constexpr UINT ID_CAPTION_TEXT = 32;
    static constexpr UINT ID_CLOSE = 35;
    static constexpr UINT ID_MAXIMISE = 36;
    static constexpr UINT ID_MINIMISE = 37;
    static constexpr UINT ID_SETTINGS = 39;
    static constexpr UINT ID_PROFILE_FIRST = 44;
    static constexpr UINT ID_PROFILE_LAST = 50;
    static constexpr UINT ID_RETURN_HOME = 51;
    static constexpr UINT ID_TAB_STRIP = 52;
    static constexpr UINT ID_SYSTEM_PANEL = 58;
    static constexpr UINT ID_HOME_PAGE = 59;
    static constexpr UINT ID_VERSION_TEXT = 40;
    static constexpr UINT ID_DEVICE_COMBO = 41;
    static constexpr UINT ID_ENTER_DEVICE = 62;
    static constexpr UINT ID_KEYS_PICTURE = 63;
    static constexpr UINT ID_LIGHT_PICTURE = 118;
    static constexpr UINT ID_BRIGHTNESS_SLIDER = 126;
    static constexpr UINT ID_SPEED_SLIDER = 128;
    static constexpr UINT ID_LANGUAGE_POLISH = 199;
    static constexpr UINT ID_LANGUAGE_ENGLISH = 200;
    static constexpr UINT ID_RED_FIELD = 141;
    static constexpr UINT ID_GREEN_FIELD = 142;
    static constexpr UINT ID_BLUE_FIELD = 143;
};
