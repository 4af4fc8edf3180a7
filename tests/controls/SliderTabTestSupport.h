#pragma once

// Fixtures of the slider, spin box, tab strip, picture, progress and level
// tests: an owner that records what its controls report and, like a paint
// manager, marks a sender's cached picture stale on a redraw request; a
// plain control that paints itself in one colour (a page of a tab strip);
// and the host dialog whose paint manager binds the controls.

#include <windows.h>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/MControl.h"

namespace slidertest {

using testsupport::HostDialog;
using testsupport::Report;
using RecordingOwner = testsupport::ManagerLikeOwner;

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

} // namespace slidertest
