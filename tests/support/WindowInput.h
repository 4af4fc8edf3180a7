#pragma once

// Drives a window as the user would, with sent messages: mouse presses,
// releases and wheel turns at client points, typed characters, keys held in
// the thread's keyboard state; and a message pump.

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>

namespace testsupport {

inline LPARAM Pack(int x, int y) { return MAKELPARAM(static_cast<short>(x), static_cast<short>(y)); }

inline LRESULT Move(HWND hwnd, int x, int y, UINT keys = 0)
{
    return ::SendMessageW(hwnd, WM_MOUSEMOVE, keys, Pack(x, y));
}

inline LRESULT Down(HWND hwnd, int x, int y) { return ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Pack(x, y)); }

inline LRESULT Up(HWND hwnd, int x, int y) { return ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Pack(x, y)); }

// The mouse arrives at the point and presses there.
inline LRESULT Press(HWND hwnd, int x, int y)
{
    Move(hwnd, x, y);
    return Down(hwnd, x, y);
}

inline LRESULT Click(HWND hwnd, int x, int y)
{
    Press(hwnd, x, y);
    return Up(hwnd, x, y);
}

inline LRESULT Wheel(HWND hwnd, int delta, int x, int y)
{
    POINT screen = {x, y};
    ::ClientToScreen(hwnd, &screen);
    return ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(delta)), Pack(screen.x, screen.y));
}

// Puts the cursor over the client point, so that hover tracking holds.
inline void CursorTo(HWND hwnd, int x, int y)
{
    POINT screen = {x, y};
    ::ClientToScreen(hwnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
}

// Types the characters into a native edit window as the keyboard would.
inline void Type(HWND edit, const wchar_t* text)
{
    for (const wchar_t* ch = text; *ch; ++ch)
        ::SendMessageW(edit, WM_CHAR, *ch, 1);
}

// Holds (or releases) keys in this thread's keyboard state, which
// GetKeyState reads.
inline void HoldKeys(std::initializer_list<int> keys)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    for (int key = 0; key < 256; ++key)
        state[key] &= static_cast<BYTE>(~0x80);
    for (int key : keys)
        state[key] |= 0x80;
    ::SetKeyboardState(state);
}

inline std::wstring WindowText(HWND hwnd)
{
    wchar_t buffer[256] = L"";
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// Dispatches what is queued for this thread, repeatedly for about `ms`
// milliseconds; without a time, once and without waiting.
inline void Pump(int ms = 0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

} // namespace testsupport
