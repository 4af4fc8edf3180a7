#pragma once

// The windowless scroll bar and its two kinds. A bar keeps an abstract range
// and position, computes a thumb whose length reflects the visible share of
// the range, lets the user drag the thumb or page by clicking the track, and
// reports each new position to its owner with NC_SCROLL (wParam = position).
// Setters never notify. Every panel owns one bar of each kind as its children
// 1 (vertical) and 2 (horizontal).
//
// A bar whose page is not smaller than its range (which includes every range
// of 0 or less) is not scrollable: it draws no thumb and ignores the mouse.

#include <windows.h>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class PaintManager;

class VREL_API MScroll : public MControlFont
{
public:
    // Pointer state of the thumb.
    enum ThumbState
    {
        THUMB_NORMAL = 0,
        THUMB_HOVER = 1,
        THUMB_DRAGGING = 2,
    };

    MScroll(MObject* owner, UINT id, CRect rect, int visible);
    ~MScroll() override;

    // ---- overrides of MControl ----------------------------------------------------------
    // The base bar draws nothing.
    void DrawControl(HDC& dc, CRect paint) override;
    // Children 1 and 3 step back one row, 2 and 4 forward, when lParam is 2.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Lays the thumb out again; children 6, 7, 4 and 5 sit at the top,
    // bottom, left and right end, shown only while the bar is scrollable.
    void SetControlRect(CRect rect) override;

    // ---- virtual operations added after those of MControlFont, in slot order ----
    // Moves the thumb by delta pixels, kept inside the track, and reports the
    // new position; returns the distance moved.
    virtual int MoveRange(int delta);
    // Works the page and the thumb out from range and position; returns the
    // position (a vertical bar pulls a thumb past its end back and
    // recomputes the position from it).
    virtual int SetRange();
    // As SetRange, with the position read as an offset into content that is
    // range long and of which the bar's own length is visible.
    virtual int SetRangeEx();

    // ---- state ------------------------------------------------------------------------------
    // 1 only while the bar is sending NC_SCROLL.
    int IsChangeing() const { return m_bChanging; }
    int GetScrollMaxRange() const { return m_range; }
    int GetScrollCurrentPos() const { return m_position; }
    int GetScrollPageSize() const { return m_page; }
    int GetScrollRowStep() const { return m_rowStep; }
    int IsScrollable() const { return m_bScrollable; }
    // Window coordinates; empty while the range is 0 or less.
    CRect GetThumbRect() const { return m_thumb; }
    int GetThumbState() const { return m_state; }

    // ---- setters (return 1, send nothing) ------------------------------------------------
    // The position is taken as given (not clamped).
    int SetScrollCurrentPos(int position);
    int SetScrollCurrentPosEx(int position);
    int SetScrollBeginPos();
    // The position that puts the thumb at the end of the track (the range
    // with the library's bars); the thumb follows at the next SetRange.
    int SetScrollFinalPos();
    int SetScrollMaxRange(int range);
    // A nonzero page is kept as given; 0 lets SetRange work it out again. A
    // step of 0 keeps the row step.
    int SetScrollSize(int page, int step);
    // Page and step as in SetScrollSize, each only when nonzero.
    int SetScrollInfo(int range, int position, int page, int step);
    // position + n rows, clamped to 0 .. range; 1 when the position changed.
    int ScrollRow(int n);

protected:
    enum Axis
    {
        AXIS_VERTICAL,
        AXIS_HORIZONTAL,
    };

    // How the position maps onto the track: as a share of the range, or as
    // an offset into content of which the bar's length is visible.
    enum PositionMode
    {
        POSITION_OF_RANGE,
        POSITION_OF_CONTENT,
    };

    // The shared geometry of both kinds, along one axis.
    int LayOutThumb(Axis axis, PositionMode mode);
    int MoveThumb(Axis axis, int delta);
    int ThumbLength(int track) const;
    int PressTrack(Axis axis, CPoint pt);
    int MoveOverBar(Axis axis, CPoint pt);
    int ReleaseThumb(CPoint pt);
    // Loads the strip through the paint manager's image cache: from the
    // library's resources, or from the skin folder.
    const ImgResInfo* LoadStrip(UINT id, const CString& type, int count);
    const ImgResInfo* LoadStrip(const wchar_t* file, int count);
    // Keeps the strip's image with frames of image width / columns by image
    // height / rows; 0 (the previous image kept) without one.
    int TakeStrip(const ImgResInfo* info, int count, int columns, int rows);
    // The strip at binding: the library's resource when the paint manager
    // names one, else the skin file.
    void LoadDefaultStrip(UINT resourceId, const wchar_t* file);
    // Draws the frame that starts at source (across the axis) into r as
    // three slices along the axis, with 6-pixel ends.
    void DrawStrip(HDC& dc, CRect r, int source, Axis axis);
    // The cached picture: PrepareCache gives the memory DC to render into,
    // holding what lies under the bar, when the cache is stale (null when it
    // is valid); PresentCache copies the picture to dc.
    HDC PrepareCache(HDC& dc);
    void PresentCache(HDC& dc);

    int m_state;
    int m_bHover;
    int m_bScrollable;
    // Room kept free at each end of the track for arrow buttons.
    int m_arrowSize;
    int m_range;
    int m_position;
    // The visible share of the range; 0 lets SetRange work it out.
    int m_page;
    int m_rowStep;
    CRect m_thumb;
    // The page was worked out by SetRange and is worked out again after a
    // range change.
    int m_bAutoPage;
    int m_bChanging;
    // Window coordinate along the bar of the last drag point; -1 without a drag.
    int m_dragAnchor;
};

// Paints with two solid colours: the thumb's column and the thumb.
class VREL_API CScrollVertical : public MScroll
{
public:
    CScrollVertical(MObject* owner, UINT id, CRect rect, int visible);
    ~CScrollVertical() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;
    int MoveRange(int delta) override;
    int SetRange() override;
    int SetRangeEx() override;

    // Draws the image column that starts at x = source into r, with
    // 6-pixel ends.
    void DrawRange(HDC& dc, CRect r, int source);
};

// Paints a track line and the thumb from a strip of three state rows.
class VREL_API CScrollHorizontal : public MScroll
{
public:
    CScrollHorizontal(MObject* owner, UINT id, CRect rect, int visible);
    ~CScrollHorizontal() override;

    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int SetImage(UINT id, CString type, int count) override;
    int SetImage(const wchar_t* file, int count) override;
    int MoveRange(int delta) override;
    int SetRange() override;

    // Draws the image row that starts at y = source into r, with 6-pixel ends.
    void DrawRange(HDC& dc, CRect r, int source);
};

} // namespace VREL
