#pragma once

// The static text of the library: a title with an optional icon (frame 0 of
// the strip) at its left, alignment, wrapping, a drop shadow, an optional
// background, and one highlighted substring (the mark) drawn in a colour of
// its own, two pixels clear of the text on either side.
//
// A new text is disabled, so the wheel passes through it to the controls
// below; enabled, it swallows the wheel.

#include <windows.h>
#include <gdiplus.h>

#include "ui/framework/KeptCells.h"
#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API MText : public MControlFont
{
public:
    MText(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible);
    ~MText() override;

    // Each stores what differs and then asks for a content repaint. A null
    // title or (in the forms without title) a null mark changes nothing; in
    // the forms with a title a null mark is the empty mark. The mark is
    // looked for in the title from index start on.
    void SetMarkText(const wchar_t* mark);
    void SetMarkText(const wchar_t* mark, Gdiplus::Color colour, int start);
    void SetTitleMarkText(const wchar_t* title, const wchar_t* mark, int);
    void SetMarkText(const wchar_t* title, const wchar_t* mark, Gdiplus::Color colour, int start);

    // The colour is taken only when the flag changes; always repaints.
    void EnableTextBack(int on, Gdiplus::Color colour);
    // These store the flag only: the change shows at the next repaint.
    void EnableMultiLine(int on) { m_bMultiLine = on; }
    void EnableShadow(int on) { m_bShadow = on; }
    void EnableVCenter(int on) { m_bVCenter = on; }
    int GetVirtualHeight() const { return 0; }

    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void DrawControl(HDC& dc, CRect paint) override;
    // An enabled text takes the wheel.
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;

protected:
    // Index of the mark in the title, or -1 when it is not drawn.
    int FindMark() const;
    void StoreTitle(const wchar_t* title);

    int m_bShadow;
    int m_bTextBack;
    Gdiplus::Color m_backColor;
    Gdiplus::Color m_shadowColor;
    Gdiplus::Color m_markColor;
    CString m_mark;
    int m_markStart;
    int m_bMultiLine;
    int m_bVCenter;
    KeptCells m_kept;
};

} // namespace VREL
