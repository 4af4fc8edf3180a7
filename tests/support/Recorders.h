#pragma once

// What the control tests record: the reports (notifications) and repaint
// requests that reach an owner, an owner that records them, and a visible
// host dialog whose paint manager binds the controls under test.

#include <windows.h>

#include <functional>
#include <mutex>
#include <ostream>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/MObject.h"
#include "ui/framework/PaintManager.h"

// Readable failure messages for the library's strings.
inline void PrintTo(const CString& text, std::ostream* os)
{
    for (wchar_t ch : text.GetStdString())
        *os << (ch < 128 ? static_cast<char>(ch) : '?');
}

namespace testsupport {

struct Report
{
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Report& other) const
    {
        return id == other.id && code == other.code && wParam == other.wParam && lParam == other.lParam;
    }
};

inline void PrintTo(const Report& r, std::ostream* os)
{
    *os << "(" << r.id << ", " << r.code << ", " << r.wParam << ", 0x" << std::hex << r.lParam << std::dec << ")";
}

struct Repaint
{
    CRect rect;
    int redraw;
    VREL::MControl* sender;
};

// Reports with the given code, in order.
inline std::vector<Report> WithCode(const std::vector<Report>& reports, UINT code)
{
    std::vector<Report> found;
    for (const Report& r : reports)
        if (r.code == code)
            found.push_back(r);
    return found;
}

// An owner that is neither a window nor a control: it keeps every report and
// repaint request in order and does nothing else. A control may ask for a
// repaint from another thread (live colours do), so the records are kept
// under a lock, as a paint manager keeps its own lists.
class RecordingOwner : public VREL::MObject
{
public:
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        Report report{id, code, wParam, lParam};
        {
            std::lock_guard<std::mutex> hold(recordLock);
            reports.push_back(report);
        }
        if (onReport)
            onReport(report);
        return 0;
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        std::lock_guard<std::mutex> hold(recordLock);
        repaints.push_back({rect, redraw, sender});
        return 0;
    }
    int CountCode(UINT code) const { return static_cast<int>(WithCode(reports, code).size()); }
    void Clear()
    {
        reports.clear();
        repaints.clear();
    }

    std::vector<Report> reports;
    std::vector<Repaint> repaints;
    std::function<void(const Report&)> onReport;
    std::mutex recordLock;
};

// Like a paint manager, it also marks a sender's cached picture stale on a
// redraw request, so that the next draw renders it anew.
class ManagerLikeOwner : public RecordingOwner
{
public:
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        RecordingOwner::OnControlUpdate(rect, redraw, sender);
        if (redraw && sender)
            sender->SetUpdate(0, 0);
        return 0;
    }
};

// A popup window hosting controls through its paint manager; timers, the
// image cache and the factories work as in the program. Open shows it
// active, as a window the user clicks is, and a press on empty space does
// not start a window move.
class HostDialog : public VREL::MDialog
{
public:
    ~HostDialog() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }

    HWND Open(int width = 320, int height = 200)
    {
        HWND hwnd = Create(nullptr, L"control test", WS_POPUP, 0, CRect(50, 50, 50 + width, 50 + height));
        ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd);
        ::SetActiveWindow(hwnd);
        ::SetFocus(hwnd);
        EnableWndDrag(0);
        return hwnd;
    }

    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        return 0;
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        updateSenders.push_back(sender);
        return MDialog::OnControlUpdate(rect, redraw, sender);
    }

    VREL::PaintManager& Manager() { return m_pm; }
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

} // namespace testsupport
