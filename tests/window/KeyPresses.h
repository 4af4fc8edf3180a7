#pragma once

// Real key presses for the tests of raw input, and a message pump that lets
// the window under test see them.

#include <windows.h>

// One press and release of a key, with both its virtual-key code and its
// scan code: raw input reports a key sent with only one of them as no key.
inline void PressKey(WORD vkey, WORD scan)
{
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vkey;
        input.ki.wScan = scan;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Dispatches this thread's messages for the given time.
inline void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}
