#include "ui/controls/PushButtons.h"

#include <algorithm>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCTimerButton(
    MakeControlClass<CTimerButton, ControlForm::TitleVisibleEnabled>(L"CTimerButton"));

constexpr int kPushCells = 4;
constexpr int kCorner = 4;
constexpr UINT kAlignCentre = 1;
// The countdown: ten seconds, and a repaint of the seconds left at most
// every 800 ms of ticks.
constexpr DWORD kRunMs = 10000;
constexpr DWORD kRepaintMs = 800;
constexpr int kRunSeconds = 10;
constexpr DWORD kMsPerSecond = 1000;
// The dotted focus frame inside each cell.
constexpr int kFocusInsetX = 6;
constexpr int kFocusInsetY = 2;
constexpr Gdiplus::ARGB kFocusArgb = 0xFE4CFF29;

} // namespace

CTimerButton::CTimerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, title, visible, enabled, REPAINT_THEN_NOTIFY, false),
      m_frameSize(kCorner),
      m_startTick(0),
      m_lastRepaintTick(0),
      m_running(0)
{
    m_hAlign = kAlignCentre;
    SetRunTimer(1);
}

DWORD CTimerButton::CurrentTick() const { return ::GetTickCount(); }

int CTimerButton::SetRun(int run)
{
    {
        ScopedLock lock(m_runLock);
        if (!m_bEnabled)
            return m_running;
        m_running = run;
        m_lastRepaintTick = 0;
        m_startTick = CurrentTick();
    }
    UpdateControl(1, 0);
    return run;
}

CString CTimerButton::CountdownText()
{
    int running = 0;
    DWORD elapsed = 0;
    {
        ScopedLock lock(m_runLock);
        running = m_running;
        elapsed = CurrentTick() - m_startTick;
    }
    if (!running)
        return m_title;
    // A tick can come late: the time left never shows below zero.
    const int secondsLeft = std::max(0, kRunSeconds - static_cast<int>(elapsed / kMsPerSecond));
    CString text;
    text.Format(L"%ls(%ds)", m_title.GetString(), secondsLeft);
    return text;
}

int CTimerButton::OnControlTimer()
{
    bool expired = false;
    {
        ScopedLock lock(m_runLock);
        if (!m_running || !m_bVisible)
            return 0;
        const DWORD now = CurrentTick();
        if (now - m_lastRepaintTick <= kRepaintMs)
            return 1;
        m_lastRepaintTick = now;
        // Cleared before the owner hears of it, so that a run the owner
        // starts again from its handler stays running.
        expired = now - m_startTick > kRunMs;
        if (expired)
            m_running = 0;
    }
    UpdateControl(1, 0);
    if (expired)
        SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

int CTimerButton::SetControlFocus(int focus)
{
    if (!m_bEnabled)
        return 0;
    if (focus == m_bKeyFocus)
        return 1;
    m_bKeyFocus = focus;
    UpdateControl(1, 0);
    return 1;
}

void CTimerButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    CString text;
    DrawStateCells(*this, dc, m_hMemDC, kPushCells, m_state, [&](const StateCell& cell) {
        if (m_pImage)
            MRender::DrawImageFrame(cell.graphics, m_pImage, CRect(cell.left, 0, cell.left + cell.width, cell.height),
                                    m_frameWidth * cell.index, 0, m_frameWidth, m_frameHeight, m_frameSize);
        if (m_bKeyFocus)
        {
            Gdiplus::Pen dotted{Gdiplus::Color(kFocusArgb), 1.0f};
            dotted.SetDashStyle(Gdiplus::DashStyleDot);
            cell.graphics.DrawRectangle(&dotted, cell.left + kFocusInsetX, kFocusInsetY,
                                        cell.width - 2 * kFocusInsetX, cell.height - 2 * kFocusInsetY);
        }
        if (m_title.IsEmpty())
            return;
        // Read once, for the first cell: every cell shows the same seconds.
        if (text.IsEmpty())
            text = CountdownText();
        DrawCellTitle(cell, text, font.Get(cell), m_textHint, m_textColor);
    }, [&](int index) { return CellTitleLook(index, !m_title.IsEmpty(), m_textColor, m_pImage != nullptr); });
}

void CTimerButton::BeforeClick()
{
    ScopedLock lock(m_runLock);
    m_running = 0;
}

} // namespace VREL
