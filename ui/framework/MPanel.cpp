#include "ui/framework/MPanel.h"

#include <algorithm>

#include "ui/framework/ControlFactory.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr int kBarThickness = 3;
// A wheel notch turned toward the user.
constexpr UINT kWheelTowardUser = 1;

bool Meets(const RECT& a, const RECT& b)
{
    CRect common;
    return common.IntersectRect(a, b);
}

// (virtual - view) * position / range, the product taken wide so that large
// content cannot overflow it.
int OffsetFor(int virtualSize, int viewSize, const MScroll* bar)
{
    const int range = bar->GetScrollMaxRange();
    if (range <= 0)
        return 0;
    return static_cast<int>(static_cast<int64_t>(virtualSize - viewSize) * bar->GetScrollCurrentPos() / range);
}

// Shows or hides a bar to match its content, with a repaint request.
void ShowBar(MScroll* bar, bool show)
{
    const int visible = show ? 1 : 0;
    if (bar->IsVisible() == visible)
        return;
    bar->SetControlVisible(visible);
    if (MObject* owner = bar->GetParantObject())
        owner->OnControlUpdate(bar->GetRect(), 1, bar);
}

} // namespace

MPanel::MPanel(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_bInitialised(0),
      m_virtualHeight(0),
      m_virtualWidth(0),
      m_pScrollVertical(nullptr),
      m_pScrollHorizontal(nullptr),
      m_barThickness(kBarThickness),
      m_scrollOffsetY(0),
      m_bScrollEnabled(1)
{
    m_bDblClk = 1;
    // The bars are the first two children; the control list owns them.
    m_pScrollVertical = new CScrollVertical(this, kVerticalBarId, CRect(-m_barThickness, 0, 0, 0), 1);
    AddSubControl(CONTROL_KIND_CONTROL, m_pScrollVertical);
    m_pScrollHorizontal = new CScrollHorizontal(this, kHorizontalBarId, CRect(0, -m_barThickness, 0, 0), 1);
    AddSubControl(CONTROL_KIND_CONTROL, m_pScrollHorizontal);
    SetControlRect(rect);
}

MPanel::~MPanel() = default;

MControl* MPanel::GetScrollVertical() const { return m_pScrollVertical; }

MControl* MPanel::GetScrollHorizontal() const { return m_pScrollHorizontal; }

bool MPanel::OverflowsVertically() const { return m_virtualHeight > m_rect.Height(); }

bool MPanel::OverflowsHorizontally() const { return m_virtualWidth > m_rect.Width(); }

CPoint MPanel::GetScrollOffset() const
{
    return CPoint(OffsetFor(m_virtualWidth, m_rect.Width(), m_pScrollHorizontal),
                  OffsetFor(m_virtualHeight, m_rect.Height(), m_pScrollVertical));
}

// ---- notifications and repaint requests ---------------------------------------------

LRESULT MPanel::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MPanel::OnControlUpdate(CRect rect, int redraw, MControl* sender)
{
    if (!sender)
        return 0;
    if (redraw)
        sender->SetUpdate(0, 0);
    const CPoint offset = GetScrollOffset();
    const int offsetX = OverflowsHorizontally() ? offset.x : 0;
    const int offsetY = OverflowsVertically() ? offset.y : 0;

    CRect dirty = rect;
    if (m_bInitialised)
    {
        // Without the lock: requests also come from the multimedia tick while
        // the UI thread may hold it for drawing.
        bool senderMet = false;
        for (size_t i = 0; i < m_controls.size(); ++i)
        {
            MControl* child = m_controls[i];
            if (!senderMet)
            {
                senderMet = child == sender;
                continue;
            }
            if (child->IsVisible() && Meets(child->GetRect(), rect))
            {
                dirty |= child->GetRect();
                child->SetUpdate(0, 0);
            }
        }
    }
    dirty.OffsetRect(-offsetX, -offsetY);
    dirty |= m_rect;
    InvalidateRect(&dirty, TRUE);
    return 0;
}

// ---- binding, drawing, input -----------------------------------------------------------------

void MPanel::InitControl(PaintManager* manager)
{
    m_bInitialised = 1;
    m_pScrollVertical->SetManager(manager);
    m_pScrollHorizontal->SetManager(manager);
}

int MPanel::IsDragDrop() { return m_pTarget ? m_pTarget->IsDragDrop() : 0; }

void MPanel::DrawControl(HDC&, CRect) {}

int MPanel::DrawSubControls(HDC& dc, CRect paint)
{
    if (m_bScrollEnabled && (OverflowsVertically() || OverflowsHorizontally()))
        return 1;
    return MControlFont::DrawSubControls(dc, paint);
}

int MPanel::OnMousePointChange(CPoint& pt)
{
    if (!m_bScrollEnabled || (!OverflowsVertically() && !OverflowsHorizontally()))
        return 0;
    pt += GetScrollOffset();
    return 1;
}

int MPanel::OnCheckMouseResponse(UINT, CPoint) { return 1; }

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    ScopedLock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        if (m_controls[i]->OnWindowMessage(msg, wParam, lParam))
            return 1;
    }
    return 0;
}

int MPanel::OnControlScroll(int, UINT direction, CPoint)
{
    if (!m_bScrollEnabled || m_virtualHeight < m_rect.Height())
        return 0;
    if (m_pScrollVertical->ScrollRow(direction == kWheelTowardUser ? 1 : -1))
    {
        if (m_bVisible && m_pOwner)
            m_pOwner->OnControlUpdate(m_rect, 1, this);
        if (m_pScrollVertical->IsVisible())
            OnControlUpdate(m_pScrollVertical->GetRect(), 1, m_pScrollVertical);
    }
    // The notch belongs to the panel even at the end of its content.
    return 1;
}

int MPanel::OnControlKeyDown(UINT, UINT, UINT) { return 0; }

int MPanel::OnControlKeyUp(UINT, UINT, UINT) { return 0; }

// ---- layout and state -------------------------------------------------------------------------

void MPanel::SetControlRect(CRect rect)
{
    m_rect = rect;
    m_virtualHeight = 0;
    m_virtualWidth = 0;
    {
        ScopedLock lock(m_controlLock);
        const size_t count = m_controls.size();
        for (size_t i = 0; i < count; ++i)
        {
            MControl* child = m_controls[i];
            const UINT id = child->GetControlID();
            if (id == kVerticalBarId || id == kHorizontalBarId)
            {
                const CRect target = id == kVerticalBarId
                                         ? CRect(rect.right - m_barThickness, rect.top, rect.right, rect.bottom)
                                         : CRect(rect.left, rect.bottom - m_barThickness, rect.right, rect.bottom);
                CRect dirty;
                dirty.UnionRect(child->GetRect(), target);
                child->SetControlRect(target);
                if (child->IsVisible())
                    child->GetParantObject()->OnControlUpdate(dirty, 1, child);
                continue;
            }
            const CRect box = child->GetRect();
            m_virtualHeight = std::max(m_virtualHeight, static_cast<int>(box.bottom - rect.top));
            m_virtualWidth = std::max(m_virtualWidth, static_cast<int>(box.right - rect.left));
        }
    }
    // Areas do not count towards the content size.
    ShowBar(m_pScrollVertical, OverflowsVertically());
    m_pScrollVertical->SetScrollMaxRange(m_virtualHeight);
    ShowBar(m_pScrollHorizontal, OverflowsHorizontally());
    m_pScrollHorizontal->SetScrollMaxRange(m_virtualWidth);
}

void MPanel::SetControlVisible(int visible)
{
    m_bVisible = visible;
    SetControlWndVisible(visible);
}

void MPanel::SetControlWndVisible(int) {}

void MPanel::SetControlEnabled(int enabled)
{
    m_bEnabled = enabled;
    ScopedLock lock(m_controlLock);
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        MControl* child = m_controls[i];
        if (child->IsEnabled() == enabled)
            continue;
        child->SetControlEnabled(enabled);
        if (child->IsVisible() && child->GetParantObject())
            child->GetParantObject()->OnControlUpdate(child->GetRect(), 1, child);
    }
}

// ---- the panel's factory -----------------------------------------------------------------------

MControl* MPanel::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                             int enabled)
{
    return CreateControl(CONTROL_KIND_AREA, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title, int visible,
                                int enabled)
{
    return CreateControl(CONTROL_KIND_CONTROL, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                const wchar_t* title, int visible, int enabled)
{
    const ControlArgs args{owner, id, rect, title, visible, enabled};
    MControl* control = ControlFactory::Construct(FACTORY_PANEL, className, args);
    if (!control)
        return nullptr;
    // A panel not bound yet leaves its new children unbound.
    if (m_pManager)
        control->SetManager(m_pManager);
    AddSubControl(kind, control);
    return control;
}

} // namespace VREL
