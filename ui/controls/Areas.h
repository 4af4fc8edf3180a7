#pragma once

// Filled shapes that the program places behind groups of controls (usually
// as areas, so that they are painted first) and a filled box with a centred
// title. They take no input of their own and send nothing; every setter that
// changes their look asks the owner for a content repaint while visible.

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/Geometry.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// A rounded rectangle (radius 10) in a colour at alpha 230.
class VREL_API CArea : public MControl
{
public:
    CArea(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CArea() override;

    // The two values are kept and not drawn: the fill is always at alpha
    // 230.
    void SetTransparent(int first, int second, COLORREF colour);
    // Kept and not drawn; the third argument is ignored.
    void SetFrame(int width, Gdiplus::Color colour, int);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int m_transparent1;
    int m_transparent2;
    COLORREF m_color;
    int m_frameWidth;
    Gdiplus::Color m_frameColor;
};

// A filled rectangle, rounded or square, with an optional frame.
class VREL_API CRoundArea : public MControl
{
public:
    CRoundArea(MObject* owner, UINT id, CRect rect, int visible, int enabled);
    ~CRoundArea() override;

    void SetColor(Gdiplus::Color colour);
    void SetRound(int round);
    // on: draw a frame of width pixels, inset by its width from the edge.
    void SetFrame(int on, Gdiplus::Color colour, int width);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    Gdiplus::Color m_color;
    int m_bRound;
    int m_radius;
    int m_bFrame;
    Gdiplus::Color m_frameColor;
    int m_frameWidth;
};

// An opaque box with an optional 1-pixel frame and its title centred.
class VREL_API CTextArea : public MControlFont
{
public:
    CTextArea(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~CTextArea() override;

    // The two values are kept and not drawn: the box is always opaque.
    void SetTransparent(int first, int second, COLORREF colour);
    // on: a 1-pixel frame; the third argument is ignored.
    void SetFrame(int on, Gdiplus::Color colour, int);

    void DrawControl(HDC& dc, CRect paint) override;

protected:
    int m_transparent1;
    int m_transparent2;
    COLORREF m_color;
    int m_bFrame;
    Gdiplus::Color m_frameColor;
};

} // namespace VREL
