#pragma once

// What the button tests share: an owner that records every notification and
// repaint request in order (and, like a paint manager, marks the sender's
// cells stale on redraw 1), probes that read a control's protected state,
// and pixel helpers.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MObject.h"

namespace ButtonTest {

struct Event
{
    enum Kind
    {
        NOTIFY,
        UPDATE,
    } kind;
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
    int redraw;
    CRect rect;
};

class RecordingOwner : public VREL::MObject
{
public:
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        events.push_back(Event{Event::NOTIFY, id, code, wParam, lParam, 0, CRect()});
        if (onNotify)
            onNotify(id, code, wParam, lParam);
        return 0;
    }
    LRESULT OnControlUpdate(CRect rect, int redraw, VREL::MControl* sender) override
    {
        if (redraw && sender)
            sender->SetUpdate(0, 0);
        events.push_back(Event{Event::UPDATE, sender ? sender->GetControlID() : 0, 0, 0, 0, redraw, rect});
        return 0;
    }

    // "N1" for a notification with code 1, "U0" for a repaint request with
    // redraw 0, separated by spaces.
    std::string Trace() const
    {
        std::string trace;
        for (const Event& e : events)
        {
            if (!trace.empty())
                trace += ' ';
            trace += e.kind == Event::NOTIFY ? "N" + std::to_string(e.code) : "U" + std::to_string(e.redraw);
        }
        return trace;
    }
    std::vector<Event> Notifications() const
    {
        std::vector<Event> found;
        for (const Event& e : events)
            if (e.kind == Event::NOTIFY)
                found.push_back(e);
        return found;
    }
    void Clear() { events.clear(); }

    std::vector<Event> events;
    std::function<void(UINT id, UINT code, WPARAM wParam, LPARAM lParam)> onNotify;
};

// Reads what the controls keep protected: the state (the cell shown) and
// the memory bitmap that holds the rendered cells.
template <class T>
class Probe : public T
{
public:
    using T::T;
    int State() const { return this->m_state; }
    HDC CellDC() const { return this->m_hMemDC; }
    // Shows each of count cells once (the state names the cell shown),
    // which renders them all, and comes back to the state it had.
    void DrawEveryCell(HDC& dc, const CRect& rect, int count)
    {
        const auto state = this->m_state;
        for (int cell = 0; cell < count; ++cell)
        {
            this->m_state = static_cast<decltype(this->m_state)>(cell);
            this->Draw(dc, rect);
        }
        this->m_state = state;
        this->Draw(dc, rect);
    }
};

// Copies the control's rendered cells (count of them, side by side) into a
// canvas.
inline void CopyCells(HDC cells, int count, const CRect& rect, DibCanvas& canvas)
{
    BitBlt(canvas.Dc(), 0, 0, count * rect.Width(), rect.Height(), cells, 0, 0, SRCCOPY);
}

// Bounding box of the pixels of one colour (0x00RRGGBB) inside box; empty
// when there is none.
inline CRect BoundsOf(DibCanvas& canvas, uint32_t rgb, const CRect& box, int tolerance = 0)
{
    CRect found;
    bool any = false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
        {
            if (!NearColor(canvas.Rgb(x, y), rgb, tolerance))
                continue;
            if (!any)
                found = CRect(x, y, x + 1, y + 1);
            found.left = std::min<LONG>(found.left, x);
            found.top = std::min<LONG>(found.top, y);
            found.right = std::max<LONG>(found.right, x + 1);
            found.bottom = std::max<LONG>(found.bottom, y + 1);
            any = true;
        }
    return found;
}

} // namespace ButtonTest
