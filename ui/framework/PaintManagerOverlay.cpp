// What the paint manager shows over its window: the tooltip, the balloon,
// and the message or progress overlay drawn over everything.

#include "ui/framework/PaintManager.h"

#include <commctrl.h>

#include "ui/framework/AirBladder.h"

namespace VREL {

namespace {

// ---- tooltip ----
constexpr UINT_PTR kToolId = 1313;
constexpr LPARAM kTooltipMaxWidth = 256;
constexpr COLORREF kTooltipBackColor = 0xF5F5F5;
constexpr UINT kSimplifiedChineseCodePage = 936;
constexpr RECT kChineseTooltipMargin = {2, 3, 0, 0};

// ---- balloon ----
const wchar_t kAirBladderWindowName[] = L"AirBladder Window";
constexpr DWORD kAirBladderStyle = 0x96000080;
const wchar_t kAirBladderBackground[] = L"img_tip_bk.png";
const wchar_t kAirBladderArrowLeft[] = L"img_tip_arrow_left.png";
const wchar_t kAirBladderArrowRight[] = L"img_tip_arrow_right.png";
const wchar_t kAirBladderArrowTop[] = L"img_tip_arrow_top.png";

// ---- overlay ----
constexpr int kOverlayOpaque = 255;
constexpr UINT kMessageHoldMs = 2000;
constexpr UINT kFadeStepMs = 50;
constexpr UINT kProgressStepMs = 10;
constexpr int kFadeStep = 10;
// Below this the overlay is gone; at or below kOverlayVisibleAlpha it is not drawn.
constexpr int kFadeEndAlpha = 20;
constexpr int kOverlayVisibleAlpha = 10;
constexpr int kProgressStep = 2;
// A target this far ahead of what is shown is reached step by step.
constexpr int kProgressJump = 5;
// A new run starts below this, and cancels a fade still running.
constexpr int kProgressRestart = 5;
constexpr int kProgressDone = 100;
// Default place of the progress overlay: a band at the bottom of the client area.
constexpr int kProgressBandTop = 60;
constexpr int kProgressBandBottom = 2;

constexpr Gdiplus::ARGB kOverlayFrameColor = 0x49FFE6;
constexpr Gdiplus::ARGB kOverlayFillColor = 0x515151;
constexpr Gdiplus::ARGB kOverlayTextColor = 0xFFFFFF;
constexpr Gdiplus::ARGB kProgressTrackColor = 0xC8515151;
constexpr Gdiplus::ARGB kProgressBarColor = 0xFF515151;
constexpr float kOverlayFontPixels = 16.0f;

Gdiplus::Color WithAlpha(int alpha, Gdiplus::ARGB rgb)
{
    return Gdiplus::Color((static_cast<Gdiplus::ARGB>(alpha) << 24) | rgb);
}

} // namespace

// ---- tooltip ---------------------------------------------------------------------------------

void PaintManager::SetTooltip(const wchar_t* text, CRect)
{
    const bool exists = m_hTooltipWnd && ::IsWindow(m_hTooltipWnd);
    TOOLINFOW update = {};
    update.cbSize = TTTOOLINFOW_V2_SIZE;
    update.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS;
    update.hwnd = m_hWnd;
    update.uId = kToolId;

    if (!text || !*text)
    {
        if (exists)
        {
            update.lpszText = const_cast<wchar_t*>(L"");
            ::SendMessageW(m_hTooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
            ::SendMessageW(m_hTooltipWnd, TTM_ACTIVATE, FALSE, 0);
        }
        return;
    }
    update.lpszText = const_cast<wchar_t*>(text);
    if (exists)
    {
        ::SendMessageW(m_hTooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
        ::SendMessageW(m_hTooltipWnd, TTM_ACTIVATE, TRUE, 0);
        return;
    }

    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    // A failed creation leaves the window without a tooltip; the next call
    // tries again.
    m_hTooltipWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                      nullptr, nullptr);
    if (!m_hTooltipWnd)
        return;
    ::SendMessageW(m_hTooltipWnd, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    ::SendMessageW(m_hTooltipWnd, TTM_SETTIPBKCOLOR, kTooltipBackColor, 0);
    // The tool always covers the whole client area.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_PARSELINKS;
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    if (HasWindow())
        ::GetClientRect(m_hWnd, &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(m_hTooltipWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_hTooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
    if (::GetACP() == kSimplifiedChineseCodePage)
    {
        RECT margin = kChineseTooltipMargin;
        ::SendMessageW(m_hTooltipWnd, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    }
    ::SendMessageW(m_hTooltipWnd, TTM_ACTIVATE, TRUE, 0);
}

void PaintManager::ClearTooltip()
{
    if (!m_hTooltipWnd || !::IsWindow(m_hTooltipWnd))
        return;
    SetTooltip(L"", CRect());
    m_tooltipOwnerId = 0;
}

// ---- balloon ---------------------------------------------------------------------------------

void PaintManager::AirBladderDeleter::operator()(MAirBladder* balloon) const
{
    balloon->DestroyWindow();
    delete balloon;
}

int PaintManager::SetAirBladderMsg(const wchar_t* text, POINT point, AIRBLADDER_TYPE type, AIRBLADDER_MODE mode)
{
    if (!m_pAirBladder)
    {
        std::unique_ptr<MAirBladder, AirBladderDeleter> balloon(new MAirBladder());
        balloon->Create(m_hWnd, kAirBladderWindowName, kAirBladderStyle, 0, CRect(), nullptr);
        balloon->LoadBKImage(kAirBladderBackground);
        balloon->LoadArrowLImage(kAirBladderArrowLeft);
        balloon->LoadArrowRImage(kAirBladderArrowRight);
        balloon->LoadArrowTImage(kAirBladderArrowTop);
        m_pAirBladder = std::move(balloon);
    }
    return m_pAirBladder->SetAirBladderMsg(text, point, type, mode);
}

int PaintManager::ShowAirBladder(int show, int kind)
{
    if (!m_pAirBladder)
        return 0;
    // A kind claims the balloon: only its owner hides it again.
    if (kind != 0)
    {
        if (show)
            m_airBladderKind = kind;
        else if (kind != m_airBladderKind)
            return 0;
    }
    return m_pAirBladder->ShowWindow(show);
}

// ---- message and progress overlay -------------------------------------------------------

void PaintManager::InvalidateOverlay() { InvalidateRect(m_overlayRect, FALSE); }

void PaintManager::SetMessage(CString text, CRect rect, MsgLevel level)
{
    StopOwnTimer(TIMER_MESSAGE_HOLD);
    StopOwnTimer(TIMER_MESSAGE_FADE);
    m_overlayAlpha = kOverlayOpaque;
    m_overlayText = text;
    m_overlayLevel = level;
    m_shownProgress = 0;
    m_overlayRect = rect;
    InvalidateOverlay();
    StartOwnTimer(TIMER_MESSAGE_HOLD, kMessageHoldMs);
}

void PaintManager::SetProgress(int value, CString text, CRect rect)
{
    // The target outlives the fade: the same value again changes nothing.
    if (value == m_targetProgress)
        return;
    if (value < kProgressRestart)
        StopOwnTimer(TIMER_MESSAGE_FADE);
    m_overlayAlpha = kOverlayOpaque;
    m_overlayText = text;
    m_targetProgress = value;
    if (rect.IsRectEmpty())
    {
        CRect client;
        GetClientRect(client);
        client.top = client.bottom - kProgressBandTop;
        client.bottom -= kProgressBandBottom;
        m_overlayRect = client;
    }
    else
    {
        m_overlayRect = rect;
    }
    if (m_targetProgress - m_shownProgress > kProgressJump)
    {
        StartOwnTimer(TIMER_PROGRESS, kProgressStepMs);
        return;
    }
    m_shownProgress = m_targetProgress;
    InvalidateOverlay();
    if (m_shownProgress >= kProgressDone)
        StartOwnTimer(TIMER_MESSAGE_FADE, kFadeStepMs);
}

void PaintManager::OnMessageHold()
{
    StopOwnTimer(TIMER_MESSAGE_HOLD);
    StartOwnTimer(TIMER_MESSAGE_FADE, kFadeStepMs);
}

void PaintManager::OnMessageFade()
{
    m_overlayAlpha -= kFadeStep;
    if (m_overlayAlpha < kFadeEndAlpha)
    {
        StopOwnTimer(TIMER_MESSAGE_FADE);
        m_overlayAlpha = 0;
        m_shownProgress = 0;
        InvalidateRect(CRect(), FALSE);
    }
    InvalidateOverlay();
}

void PaintManager::OnProgressStep()
{
    m_shownProgress += kProgressStep;
    if (m_shownProgress >= m_targetProgress)
        StopOwnTimer(TIMER_PROGRESS);
    InvalidateOverlay();
    if (m_shownProgress >= kProgressDone)
        StartOwnTimer(TIMER_MESSAGE_FADE, kFadeStepMs);
}

void PaintManager::DrawOverlay(Gdiplus::Graphics& graphics)
{
    if (m_overlayAlpha <= kOverlayVisibleAlpha || m_overlayText.IsEmpty())
        return;
    const int alpha = m_overlayAlpha;
    const CRect box = m_overlayRect;
    const int width = box.Width();

    Gdiplus::SolidBrush frame(WithAlpha(alpha, kOverlayFrameColor));
    graphics.FillRectangle(&frame, box.left, box.top, width, box.Height());
    Gdiplus::SolidBrush fill(WithAlpha(alpha, kOverlayFillColor));
    graphics.FillRectangle(&fill, box.left + 2, box.top + 2, width - 4, box.Height() - 4);

    Gdiplus::FontFamily* family = FindTempFont(m_fontName);
    const Gdiplus::FontFamily* face = family ? family : Gdiplus::FontFamily::GenericSansSerif();
    Gdiplus::Font font(face, kOverlayFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    Gdiplus::SolidBrush text(WithAlpha(alpha, kOverlayTextColor));

    const float left = static_cast<float>(box.left + 5);
    const float top = static_cast<float>(box.top + 5);
    const float textWidth = static_cast<float>(width - 10);
    if (m_shownProgress <= 0)
    {
        graphics.DrawString(m_overlayText, -1, &font, Gdiplus::RectF(left, top, textWidth, 50.0f), &format, &text);
        return;
    }
    graphics.DrawString(m_overlayText, -1, &font, Gdiplus::RectF(left, top, textWidth, 30.0f), &format, &text);
    Gdiplus::Pen track(Gdiplus::Color(kProgressTrackColor), 1.0f);
    const INT lineY = box.bottom - 15;
    graphics.DrawLine(&track, static_cast<INT>(box.left + 10), lineY, static_cast<INT>(box.right - 20), lineY);
    const int filled = m_shownProgress * (width - 20) / 100;
    if (filled > 0)
    {
        Gdiplus::SolidBrush bar{Gdiplus::Color(kProgressBarColor)};
        graphics.FillRectangle(&bar, static_cast<INT>(box.left + 10), static_cast<INT>(box.bottom - 16), filled, 3);
    }
}

} // namespace VREL
