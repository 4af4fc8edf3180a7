#pragma once

// A visible dialog that hosts edit fields and records, in order, every
// notification its controls send and every repaint request that reaches it;
// helpers that click its client area and type into a native edit window.

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/MDialog.h"

// Readable failure messages for the library's strings.
inline void PrintTo(const CString& text, std::ostream* os)
{
    for (wchar_t ch : text.GetStdString())
        *os << (ch < 128 ? static_cast<char>(ch) : '?');
}

namespace edittest {

struct Report
{
    UINT id;
    UINT code;
};

class HostDialog : public VREL::MDialog
{
public:
    ~HostDialog() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }

    LRESULT OnMessage(UINT id, UINT code, WPARAM, LPARAM) override
    {
        reports.push_back({id, code});
        return 0;
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        updateSenders.push_back(sender);
        return MDialog::OnControlUpdate(rect, redraw, sender);
    }

    HWND Open(int width = 320, int height = 200)
    {
        HWND hwnd = Create(nullptr, L"edit test", WS_POPUP, 0, CRect(60, 60, 60 + width, 60 + height));
        ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd);
        // Active before the first press, as a window the user clicks is.
        ::SetActiveWindow(hwnd);
        ::SetFocus(hwnd);
        return hwnd;
    }

    template <class T> T* Add(T* control)
    {
        m_pm.AddControl(VREL::CONTROL_KIND_CONTROL, control);
        return control;
    }

    // The codes reported by one control, in order.
    std::vector<UINT> Codes(UINT id) const
    {
        std::vector<UINT> codes;
        for (const Report& r : reports)
            if (r.id == id)
                codes.push_back(r.code);
        return codes;
    }

    std::vector<Report> reports;
    std::vector<VREL::MControl*> updateSenders;
};

inline LPARAM Pack(int x, int y) { return MAKELPARAM(static_cast<short>(x), static_cast<short>(y)); }

// Dispatches what is queued for this thread without waiting.
inline void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

inline void Press(HWND hwnd, int x, int y)
{
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, Pack(x, y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Pack(x, y));
}

inline void Release(HWND hwnd, int x, int y) { ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Pack(x, y)); }

inline void Click(HWND hwnd, int x, int y)
{
    Press(hwnd, x, y);
    Release(hwnd, x, y);
}

// Types the characters into a native edit window as the keyboard would.
inline void Type(HWND edit, const wchar_t* text)
{
    for (const wchar_t* ch = text; *ch; ++ch)
        ::SendMessageW(edit, WM_CHAR, *ch, 1);
}

inline std::wstring WindowText(HWND hwnd)
{
    wchar_t buffer[256] = L"";
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

} // namespace edittest
