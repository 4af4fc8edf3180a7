#include "ui/framework/LoadingWnd.h"

#include <vector>

#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const wchar_t kGifFile[] = L"loading\\loading.gif";
const wchar_t kLogoFile[] = L"logo\\logo_loading.png";
const wchar_t kCloseFile[] = L"img_sys_close.png";
const wchar_t kWindowName[] = L"Loading Window";
// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
constexpr DWORD kWindowStyle = 0x96000000;
constexpr enumBackMode kDefaultBackMode = BACK_MODE_NINE_GRID;
constexpr int kDefaultBackParameter = 18;
// Without a GIF the frame counter still wraps here.
constexpr int kDefaultWrapCount = 18;
constexpr int kCloseFrames = 4;
constexpr int kCloseRightInset = 39;
constexpr int kCloseTop = 10;
constexpr int kBackgroundCorner = 10;
constexpr int kLogoGap = 20;
constexpr Gdiplus::ARGB kPlainBackground = 0xF0FFFFFF;
constexpr DWORD kHoverTimeMs = 400;

enum CloseState { CLOSE_NORMAL = 0, CLOSE_HOVER = 1, CLOSE_PRESSED = 2 };

} // namespace

LoadingWnd::LoadingWnd()
    : m_backMode(kDefaultBackMode), m_backParameter(kDefaultBackParameter), m_gifFrameCount(0),
      m_frameDimension(Gdiplus::FrameDimensionTime), m_running(0), m_trackingArmed(0), m_closeRect{0, 0, 0, 0},
      m_closeState(CLOSE_NORMAL), m_closeFrameWidth(0), m_currentFrame(0), m_wrapCount(kDefaultWrapCount),
      m_tick(0), m_ticksPerFrame(kTicksPerFrame)
{
}

LoadingWnd::~LoadingWnd() { KillTimer(TIMER_LOADING_FRAME); }

HWND LoadingWnd::CreateDlg(HWND parent, CRect rect)
{
    LoadGifImage(kGifFile);
    m_logo.LoadFile(kLogoFile);
    return Create(parent, kWindowName, kWindowStyle, 0, rect);
}

int LoadingWnd::LoadBKImage(CString file) { return m_background.LoadFile(file); }
int LoadingWnd::LoadBKImage(UINT id, CString type) { return m_background.LoadResource(id, type); }

void LoadingWnd::SetBackMode(enumBackMode mode, int parameter)
{
    m_backMode = mode;
    m_backParameter = parameter;
}

int LoadingWnd::LoadGifImage(CString file)
{
    m_pGif.reset(MRender::LoadImageFromFile(GetSkinFolder() + file));
    m_gifFrameCount = 0;
    const UINT dimensions = m_pGif ? m_pGif->GetFrameDimensionsCount() : 0;
    if (dimensions == 0)
    {
        m_pGif.reset();
        return 0;
    }
    std::vector<GUID> list(dimensions);
    if (m_pGif->GetFrameDimensionsList(list.data(), dimensions) != Gdiplus::Ok)
    {
        m_pGif.reset();
        return 0;
    }
    m_gifFrameCount = static_cast<int>(m_pGif->GetFrameCount(&list[0]));
    m_wrapCount = m_gifFrameCount;
    return 0;
}

int LoadingWnd::LoadAnimateImage(CString file, int slot)
{
    if (slot < 0 || slot >= kFrameSlots)
        return 0;
    return m_frames[static_cast<size_t>(slot)].LoadFile(file);
}

// ---- life ---------------------------------------------------------------------------------------

int LoadingWnd::OnInitDialog()
{
    SetTimer(TIMER_LOADING_FRAME, kTimerPeriodMs, nullptr);
    m_running = 1;
    if (m_close.LoadFile(kCloseFile))
        m_closeFrameWidth = m_close.width / kCloseFrames;
    RECT client = {};
    GetClientRect(&client);
    m_closeRect.left = client.right - kCloseRightInset;
    m_closeRect.top = kCloseTop;
    m_closeRect.right = m_closeRect.left + m_closeFrameWidth;
    m_closeRect.bottom = kCloseTop + m_close.height;
    return 1;
}

// Only the owner ends the loading window.
LRESULT LoadingWnd::OnUserCloseWindow(WPARAM, LPARAM) { return 1; }

void LoadingWnd::CloseWindow() {}

LRESULT LoadingWnd::OnKillFocus(HWND) { return 1; }

LRESULT LoadingWnd::OnClose()
{
    m_running = 0;
    return 1;
}

LRESULT LoadingWnd::PostNcDestroy()
{
    m_running = 0;
    return 0;
}

LRESULT LoadingWnd::OnDestroy()
{
    m_running = 0;
    return 0;
}

// ---- close button ----------------------------------------------------------------------------------
// The handlers do not repaint: the next frame step shows the new state.

LRESULT LoadingWnd::OnMouseMove(UINT, CPoint pt)
{
    if (!m_trackingArmed)
    {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = kHoverTimeMs;
        m_trackingArmed = ::TrackMouseEvent(&track) ? 1 : 0;
        if (!m_trackingArmed)
            return 0;
    }
    m_closeState = ::PtInRect(&m_closeRect, pt) ? CLOSE_HOVER : CLOSE_NORMAL;
    return 0;
}

LRESULT LoadingWnd::OnMouseLeave(UINT, LPARAM)
{
    m_closeState = CLOSE_NORMAL;
    m_trackingArmed = 0;
    return 0;
}

LRESULT LoadingWnd::OnLButtonDown(UINT, CPoint pt)
{
    m_closeState = ::PtInRect(&m_closeRect, pt) ? CLOSE_PRESSED : CLOSE_NORMAL;
    return 0;
}

LRESULT LoadingWnd::OnLButtonUp(UINT, CPoint pt)
{
    if (!::PtInRect(&m_closeRect, pt))
    {
        m_closeState = CLOSE_NORMAL;
        return 0;
    }
    m_closeState = CLOSE_HOVER;
    if (m_hParent && ::IsWindow(m_hParent))
        ::PostMessageW(m_hParent, WM_LOADING_CLOSE, 0, 0);
    return 0;
}

// ---- animation and drawing -------------------------------------------------------------------------

void LoadingWnd::OnTimer(UINT id)
{
    if (id != TIMER_LOADING_FRAME || !m_running)
        return;
    if (++m_tick < m_ticksPerFrame)
        return;
    m_tick = 0;
    if (++m_currentFrame >= m_wrapCount)
        m_currentFrame = 0;
    DrawWindow();
}

LRESULT LoadingWnd::OnPaint() { return PaintLayered(WindowPicture()); }

void LoadingWnd::DrawWindow() { PresentLayered(WindowPicture()); }

MToolWindow::LayeredDraw LoadingWnd::WindowPicture()
{
    return [this](Gdiplus::Graphics& graphics, int width, int height) { DrawFrame(graphics, width, height); };
}

void LoadingWnd::DrawFrame(Gdiplus::Graphics& graphics, int width, int height)
{
    if (width < 1 || height < 1)
        return;
    if (m_background.IsLoaded())
    {
        MRender::DrawImageFrame(graphics, m_background.image.get(), CRect(0, 0, width, height), 0, 0,
                                m_background.width, m_background.height, kBackgroundCorner);
    }
    else
    {
        const Gdiplus::SolidBrush plain{Gdiplus::Color(kPlainBackground)};
        graphics.FillRectangle(&plain, 0, 0, width, height);
    }

    if (m_logo.IsLoaded())
    {
        const int x = (width - m_logo.width) / 2;
        const int y = (height - kGifHeight) / 2 - m_logo.height - kLogoGap;
        graphics.DrawImage(m_logo.image.get(), Gdiplus::Rect(x, y, m_logo.width, m_logo.height), 0, 0,
                           m_logo.width, m_logo.height, Gdiplus::UnitPixel);
    }

    // A single frame is no animation and is left out.
    if (m_pGif && m_gifFrameCount > 1)
    {
        if (m_currentFrame < m_gifFrameCount)
            m_pGif->SelectActiveFrame(&m_frameDimension, static_cast<UINT>(m_currentFrame));
        graphics.DrawImage(m_pGif.get(), (width - kGifWidth) / 2, (height - kGifHeight) / 2, kGifWidth, kGifHeight);
    }

    if (m_close.IsLoaded() && m_closeFrameWidth > 0)
    {
        graphics.DrawImage(m_close.image.get(),
                           Gdiplus::Rect(m_closeRect.left, m_closeRect.top, m_closeFrameWidth, m_close.height),
                           m_closeState * m_closeFrameWidth, 0, m_closeFrameWidth, m_close.height,
                           Gdiplus::UnitPixel);
    }
}

} // namespace VREL
