#pragma once

// Fixtures of the slider, spin box, tab strip, picture, progress and level
// tests: an owner that records what its controls report and, like a paint
// manager, marks a sender's cached picture stale on a redraw request; a
// plain control that paints itself in one colour (a page of a tab strip);
// and a popup window whose paint manager binds the controls.

#include <windows.h>

#include <functional>
#include <vector>

#include "tests/framework/DibCanvas.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/PaintManager.h"

namespace slidertest {

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

struct Repaint
{
    CRect rect;
    int redraw;
    VREL::MControl* sender;
};

class RecordingOwner : public VREL::MObject
{
public:
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        if (onReport)
            onReport(reports.back());
        return 0;
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        repaints.push_back({rect, redraw, sender});
        if (redraw && sender)
            sender->SetUpdate(0, 0);
        return 0;
    }
    int CountCode(UINT code) const
    {
        int n = 0;
        for (const Report& r : reports)
            n += r.code == code ? 1 : 0;
        return n;
    }
    void Clear()
    {
        reports.clear();
        repaints.clear();
    }

    std::vector<Report> reports;
    std::vector<Repaint> repaints;
    std::function<void(const Report&)> onReport;
};

// Fills its rectangle with one colour (0x00RRGGBB).
class ColourControl : public VREL::MControl
{
public:
    ColourControl(VREL::MObject* owner, UINT id, CRect rect, COLORREF rgb, int visible = 1)
        : MControl(owner, id, rect, visible, 1, 1), colour(rgb)
    {
    }
    void DrawControl(HDC& dc, CRect) override
    {
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &m_rect, brush);
        ::DeleteObject(brush);
    }
    COLORREF colour;
};

// 0x00RRGGBB of a COLORREF, as DibCanvas::Rgb reports pixels.
inline uint32_t Rgb(COLORREF colour)
{
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

inline uint32_t Rgb(const Gdiplus::Color& colour) { return colour.GetValue() & 0xFFFFFF; }

// A popup window hosting controls through its paint manager; timers,
// the image cache and the factories work as in the program.
class HostDialog : public VREL::MDialog
{
public:
    HWND Open(int width, int height)
    {
        HWND hwnd = Create(nullptr, L"slider tab test", WS_POPUP, 0, CRect(50, 50, 50 + width, 50 + height));
        return hwnd;
    }
    VREL::PaintManager& Manager() { return m_pm; }
    template <class T> T* Add(T* control)
    {
        m_pm.AddControl(VREL::CONTROL_KIND_CONTROL, control);
        return control;
    }
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        return 0;
    }
    std::vector<Report> reports;
};

} // namespace slidertest
