// The caret the paint manager draws for the rich edit that owns it: the
// system caret gives its place, the manager draws it and blinks it on its
// own timer, since a layered window shows no system caret.

#include "ui/framework/PaintManager.h"

#include "ui/framework/CaretOwner.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/MControl.h"

namespace VREL {

namespace {

constexpr BYTE kCaretAlpha = 0xFE;

struct CaretOwnerSlot
{
    CriticalSection lock;
    CaretOwnerAccess access{nullptr, nullptr};
};

CaretOwnerSlot& TheCaretOwnerSlot()
{
    static CaretOwnerSlot slot;
    return slot;
}

} // namespace

CaretOwnerAccess SetCaretOwnerAccess(const CaretOwnerAccess& access)
{
    CaretOwnerSlot& slot = TheCaretOwnerSlot();
    ScopedLock lock(slot.lock);
    const CaretOwnerAccess previous = slot.access;
    slot.access = access;
    return previous;
}

CaretOwnerAccess GetCaretOwnerAccess()
{
    CaretOwnerSlot& slot = TheCaretOwnerSlot();
    ScopedLock lock(slot.lock);
    return slot.access;
}

int PaintManager::CreateCaret(HBITMAP bitmap, int width, int height)
{
    if (HasWindow())
        ::CreateCaret(m_hWnd, bitmap, width, height);
    m_caretRect.right = m_caretRect.left + width;
    m_caretRect.bottom = m_caretRect.top + height;
    return 1;
}

int PaintManager::SetCaretPos(MRichEdit* object, int x, int y)
{
    // Fails while the thread has no system caret (no CreateCaret before).
    if (!::SetCaretPos(x, y))
        return 0;
    m_pCaretObject = object;
    const CRect previous = m_caretRect;
    m_caretRect.MoveToXY(x, y);
    InvalidateRect(previous, FALSE);
    InvalidateRect(m_caretRect, FALSE);
    return 1;
}

int PaintManager::ShowCaret(int show)
{
    if (show == m_caretShown)
        return 1;
    m_caretShown = show;
    if (show)
    {
        StartOwnTimer(TIMER_CARET_BLINK, ::GetCaretBlinkTime());
        if (m_caretPhase == 0)
        {
            InvalidateCaret();
            m_caretPhase = 1;
        }
    }
    else
    {
        StopOwnTimer(TIMER_CARET_BLINK);
        if (m_caretPhase == 1)
            InvalidateCaret();
        m_caretPhase = 0;
    }
    return 1;
}

MRichEdit* PaintManager::GetCurrentCaretObject() { return m_pCaretObject; }

void PaintManager::InvalidateCaret() { InvalidateRect(m_caretRect, FALSE); }

void PaintManager::OnCaretBlink()
{
    InvalidateCaret();
    m_caretPhase = m_caretPhase ? 0 : 1;
}

void PaintManager::DrawCaret(HDC dc, const CRect& clip)
{
    if (!m_pCaretObject)
        return;
    const CaretOwnerAccess access = GetCaretOwnerAccess();
    MControl* owner = access.control ? access.control(m_pCaretObject) : nullptr;
    // The caret stops by itself once its owner or the window lost the focus.
    // It then counts as hidden, so that showing it again restarts the blink.
    if (!owner || !owner->IsFocused() || ::GetFocus() != m_hWnd)
    {
        StopOwnTimer(TIMER_CARET_BLINK);
        if (m_caretPhase == 1)
            InvalidateCaret();
        m_caretPhase = 0;
        m_caretShown = 0;
        return;
    }
    if (m_caretPhase != 1 || !m_caretShown)
        return;
    CRect area;
    if (!area.IntersectRect(m_caretRect, clip))
        return;
    const COLORREF colour = access.textColor ? access.textColor(m_pCaretObject) : 0;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush(Gdiplus::Color(kCaretAlpha, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    graphics.FillRectangle(&brush, area.left, area.top, area.Width(), area.Height());
}

void PaintManager::ForgetCaretOwner(MControl* control)
{
    if (!m_pCaretObject)
        return;
    const CaretOwnerAccess access = GetCaretOwnerAccess();
    if (!access.control || access.control(m_pCaretObject) == control)
        m_pCaretObject = nullptr;
}

} // namespace VREL
