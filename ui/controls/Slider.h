#pragma once

// Horizontal sliders that pick an integer between a minimum and a maximum.
// MSlider has a round thumb and its value written underneath; MSlider2 is a
// filled bar without text. Both report NC_SCROLL (wParam = value) while the
// value follows the mouse and NC_CLICKED when a drag ends or the wheel moved
// the value. Value setters called by the program do not notify.

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// What the two sliders share: the value, its range, the thumb and the
// mouse and wheel handling. They differ in track length and look.
class VREL_API MSliderBase : public MControlFont
{
public:
    ~MSliderBase() override;

    // Clamped above to the maximum; a negative value or the current one
    // changes nothing. Lays the thumb out and repaints; no notification.
    int SetProgress(int value);
    int GetProgress() const { return m_progress; }
    // The range setters neither clamp the value nor move the thumb.
    void SetMaxProgress(int maximum) { m_maximum = maximum; }
    int GetMaxProgress() const { return m_maximum; }
    void SetMinProgress(int minimum) { m_minimum = minimum; }
    int GetMinProgress() const { return m_minimum; }
    void SetShowText(int show) { m_showText = show; }
    void SetScale(int scale) { m_scale = scale; }
    void SetSelectColor(Gdiplus::Color colour);
    // Sets the value from a point on the track (each value owns an equal
    // slice, the right end gives the maximum) and reports NC_SCROLL when it
    // changed. Returns the value.
    int MoveThumbPos(CPoint pt);

    // 0 normal, 1 pointer over the thumb, 2 dragging.
    int GetState() const { return m_state; }
    CRect GetThumbRect() const { return m_thumb; }

    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    // direction 1 (a notch towards the user) lowers the value by one.
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

protected:
    MSliderBase(MObject* owner, UINT id, CRect rect, int visible, int enabled);

    // Pixels the thumb's left edge can travel across.
    virtual int TrackLength() const = 0;
    // The thumb's offset from the control's left edge for the current value;
    // 0 when the range or the track is empty.
    int ThumbOffset() const;
    void RequestRepaint(int redraw);

    static constexpr int kThumbWidth = 16;
    static constexpr int kThumbHeight = 16;

    int m_state;
    int m_progress;
    int m_minimum;
    int m_maximum;
    int m_thumbWidth;
    int m_thumbHeight;
    int m_scale;
    CRect m_thumb;
    int m_showText;
    Gdiplus::Color m_selectColor;
};

// Round thumb over a thin track, value text underneath.
class VREL_API MSlider : public MSliderBase
{
public:
    MSlider(MObject* owner, UINT id, CRect rect, int visible, int enabled);

    // The text under the track: title, value, and "%" when the maximum is 100.
    CString GetValueText();

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int TrackLength() const override;
};

// Rounded bar filled up to the value; no thumb and no text are drawn, but
// the thumb still decides where a press starts a drag.
class VREL_API MSlider2 : public MSliderBase
{
public:
    MSlider2(MObject* owner, UINT id, CRect rect, int visible, int enabled);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int TrackLength() const override;
};

} // namespace VREL
