#pragma once

// Two value displays. MProgress is a rounded bar filled from 0 up to a
// maximum, with a marquee mode that advances the value on timer ticks.
// MLevelCtrl is a row of equal cells for a level between a minimum and a
// maximum; a click on a cell chooses that level and reports it with
// NC_CLICKED (wParam = the level).

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/KeptCells.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MProgress : public MControlFont
{
public:
    MProgress(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MProgress() override;

    // Clamped above to the maximum; negative values and calls while
    // disabled change nothing. Returns the progress afterwards.
    int SetProgress(int value);
    int GetProgress() const { return m_progress; }
    // Neither clamps nor repaints.
    void SetMaxProgress(int maximum) { m_maximum = maximum; }
    int GetMaxProgress() const { return m_maximum; }
    void EnableShowText(int show) { m_showText = show; }
    // The images are kept for the window's image cache but not drawn; false
    // without a paint manager or when the image does not load.
    bool SetBackGroundImage(CString file);
    bool SetBackGroundImage(UINT id);
    bool SetForeGroundImage(CString file);
    bool SetForeGroundImage(UINT id);
    // Starts (run 1) or stops the marquee; a progress within 0..maximum is
    // taken as the new value. Returns the running flag.
    int SetRun(int run, int progress);
    int IsRunning() const { return m_bRunning; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlTimer() override;

private:
    struct StripImage
    {
        Gdiplus::Image* image = nullptr;
        int width = 0;
        int height = 0;
    };
    bool TakeImage(StripImage& target, ImgResInfo* info);

    int m_tickCount;
    int m_ticksPerStep;
    int m_showText;
    int m_progress;
    int m_maximum;
    StripImage m_background;
    StripImage m_foreground;
};

class VREL_API MLevelCtrl : public MControlFont
{
public:
    MLevelCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~MLevelCtrl() override;

    // Clamped into the range; repaints when the level changed.
    void SetLevelValue(int value);
    // Stores the range; the level is neither clamped nor repainted.
    void SetRangeValue(int minimum, int maximum);
    int GetLevelValue() const { return m_level; }

    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;

private:
    // Number of cells; 0 when the maximum lies below the minimum.
    int CellCount() const;

    int m_level;
    int m_minimum;
    int m_maximum;
    int m_cellHeight;
    KeptCells m_kept;
};

} // namespace VREL
