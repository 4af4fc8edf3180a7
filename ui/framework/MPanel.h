#pragma once

// The library's container control. A panel holds child controls and areas of
// its own, owns a vertical and a horizontal scroll bar (its children 1 and
// 2, always the first two of its control list), works out how large its
// content is from its children, maps mouse points into scrolled content
// coordinates, turns the wheel into scrolling and passes its children's
// notifications on to its own owner unchanged.
//
// The content size is derived only when the panel is laid out
// (SetControlRect); adding or moving children changes nothing until then.
// Children must be created after the panel is bound to a paint manager:
// those made before are never bound by the panel.

#include <windows.h>

#include <cstdint>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class CScrollVertical;
class CScrollHorizontal;
class PaintManager;

class VREL_API MPanel : public MControlFont
{
public:
    // Panels start enabled; controls built on a panel may pass their own flag.
    MPanel(MObject* owner, UINT id, CRect rect, int visible, int enabled = 1);
    ~MPanel() override;

    // ---- overrides --------------------------------------------------------------------------
    // A child's notification goes to this panel's OnMessage.
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // A child's repaint request: the child and every later visible child it
    // overlaps are marked stale and the panel is invalidated.
    LRESULT OnControlUpdate(CRect rect, int redraw, MControl* sender) override;
    // Marks the panel bound and binds the two bars.
    void InitControl(PaintManager* manager) override;
    // The answer of the child last hit by the mouse.
    int IsDragDrop() override;
    void DrawControl(HDC& dc, CRect paint) override;
    // With scrolling on and content that overflows, the children are left
    // to the subclass's own drawing.
    int DrawSubControls(HDC& dc, CRect paint) override;
    // Adds the scroll offset while scrolling is on and the content overflows.
    int OnMousePointChange(CPoint& pt) override;
    int OnCheckMouseResponse(UINT flags, CPoint pt) override;
    // Offered to the children in order; 1 when one of them took it.
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Passes the notification on to the panel's owner unchanged; subclasses
    // consume here what they handle.
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    // Places the bars and works the content size out from the children.
    void SetControlRect(CRect rect) override;
    void SetControlVisible(int visible) override;
    // Hook for subclasses that own a real window.
    void SetControlWndVisible(int visible) override;
    // The children, the bars among them, follow.
    void SetControlEnabled(int enabled) override;
    // One row of the vertical bar per wheel notch (direction 1 forward).
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    // A panel answers no shortcut of its own: keys are its children's.
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;

    // ---- virtual operations added after those of MControlFont, in slot order ----
    // The factory with kind 0 and the panel as owner.
    virtual MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                 int enabled);
    // The panel's factory: kind 0 area list, kind 1 control list, any other
    // kind in no list (the caller owns the control). Null for a name the
    // panel's factory does not know or whose class is not built.
    virtual MControl* CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                    const wchar_t* title, int visible, int enabled);
    // The factory with kind 1 and the panel as owner.
    virtual MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                    int enabled);
    virtual int OnControlKeyUp(UINT key, UINT repeat, UINT modifiers);

    // ---- content and scrolling ------------------------------------------------------------
    MControl* GetScrollVertical() const;
    MControl* GetScrollHorizontal() const;
    // Stored only; the next SetControlRect works both out again.
    void SetVirtualHeight(int height) { m_virtualHeight = height; }
    void SetVirtualWidth(int width) { m_virtualWidth = width; }
    int GetVirtualHeight() const { return m_virtualHeight; }
    int GetVirtualWidth() const { return m_virtualWidth; }
    // Gates point mapping, wheel scrolling and the drawing rule, not the
    // bars' visibility.
    void SetEnableScroll(int enable) { m_bScrollEnabled = enable; }
    int GetEnableScroll() const { return m_bScrollEnabled; }
    // How far the content is scrolled, from the bars' positions (a bar with
    // a range of 0 or less gives 0).
    CPoint GetScrollOffset() const;

protected:
    // Content larger than the view, per direction.
    bool OverflowsVertically() const;
    bool OverflowsHorizontally() const;

    int m_bInitialised;
    int m_virtualHeight;
    int m_virtualWidth;
    CScrollVertical* m_pScrollVertical;
    CScrollHorizontal* m_pScrollHorizontal;
    int m_barThickness;
    // Kept by subclasses that draw their own scrolled content.
    int64_t m_scrollOffsetY;
    int m_bScrollEnabled;
};

} // namespace VREL
