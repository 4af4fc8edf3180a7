#include "ui/framework/ToolWindow.h"

#include "ui/framework/CriticalSection.h"
#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr int kRoundCorner = 3;
constexpr UINT kFontResourceId = 106;
const wchar_t kFontResourceType[] = L"ttf";

} // namespace

// ---- ToolImage ------------------------------------------------------------------------------

int ToolImage::LoadFile(const CString& file) { return Take(MRender::LoadImageFromFile(GetSkinFolder() + file)); }

int ToolImage::LoadResource(UINT id, const CString& type)
{
    return Take(MRender::LoadImageFromIDResource(id, type, Manager::GetInstance()));
}

int ToolImage::Take(Gdiplus::Image* loaded)
{
    Reset();
    image.reset(loaded);
    if (image && image->GetLastStatus() != Gdiplus::Ok)
        image.reset();
    if (!image)
        return 0;
    width = static_cast<int>(image->GetWidth());
    height = static_cast<int>(image->GetHeight());
    return 1;
}

void ToolImage::Reset()
{
    image.reset();
    width = 0;
    height = 0;
}

// ---- MToolWindow -----------------------------------------------------------------------------

MToolWindow::MToolWindow() = default;

MToolWindow::~MToolWindow()
{
    // The window may outlive the object; from here on it must not reach it.
    Detach();
    m_pFontFamily.reset();
}

LRESULT MToolWindow::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS)
        return SplitMessage(msg, wParam, lParam, nullptr);
    // As in the split: the default procedure gets the window as it was.
    HWND hwnd = m_hWnd;
    WNDPROC saved = m_oldWndProc;
    if (msg == WM_SETFOCUS)
        OnSetFocus(nullptr);
    else
        OnKillFocus(nullptr);
    return ::CallWindowProcW(saved, hwnd, msg, wParam, lParam);
}

int MToolWindow::PreTranslateMessage(MSG*) { return 0; }

int MToolWindow::OnInitDialog() { return 1; }

void MToolWindow::OnDestroyMessage(HWND) { PostNcDestroy(); }

void MToolWindow::CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }

void MToolWindow::RestyleAsToolWindow(HWND window)
{
    if (!window)
        return;
    RemoveFrame(window);
    ::SetWindowLongW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

int MToolWindow::OnCreate(CREATESTRUCTW*)
{
    RestyleAsToolWindow(m_hWnd);
    return 1;
}

int MToolWindow::OnSize(UINT type, int, int)
{
    if (type != SIZE_MINIMIZED)
        SetupRegion(type == SIZE_MAXIMIZED ? 0 : kRoundCorner);
    RECT client = {};
    GetClientRect(&client);
    InvalidateRect(CRect(client), FALSE);
    return 1;
}

LRESULT MToolWindow::OnNcActivate(BOOL) { return 1; }
LRESULT MToolWindow::OnSetFocus(HWND) { return 1; }
LRESULT MToolWindow::OnKillFocus(HWND) { return 1; }
LRESULT MToolWindow::OnPaint() { return 1; }

void MToolWindow::OnTimer(UINT id)
{
    if (id != TIMER_BALLOON_HIDE)
        return;
    KillTimer(TIMER_BALLOON_HIDE);
    if (IsWindowVisible())
        ShowWindow(SW_HIDE);
}

void MToolWindow::ApplyRoundRegion(HWND window, int corner)
{
    if (!window || !::IsWindow(window))
        return;
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    HRGN region = ::CreateRoundRectRgn(0, 0, rect.right - rect.left, rect.bottom - rect.top, corner, corner);
    // The window owns the region once it accepts it; only a refused one is freed here.
    if (region && !::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
}

void MToolWindow::SetupRegion(int corner) { ApplyRoundRegion(m_hWnd, corner); }

void MToolWindow::PresentLayered(const LayeredDraw& draw)
{
    RECT client = {};
    if (!GetClientRect(&client))
        return;
    LayeredCanvas canvas(client.right - client.left, client.bottom - client.top);
    Gdiplus::Graphics* graphics = canvas.Graphics();
    if (!graphics)
        return;
    graphics->Clear(Gdiplus::Color(0, 0, 0, 0));
    draw(*graphics, canvas.Width(), canvas.Height());
    ModifyExStyle(0, WS_EX_LAYERED, 0);
    canvas.Present(m_hWnd, nullptr);
}

LRESULT MToolWindow::PaintLayered(const LayeredDraw& draw)
{
    if (!WindowExists())
        return 1;
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    if (!IsIconic())
        PresentLayered(draw);
    ::EndPaint(m_hWnd, &ps);
    return 1;
}

namespace {

// The library's font, loaded from its resource once for the process and
// shared by every balloon and key tooltip: each private collection holds a
// copy of the whole font, which the system does not give back.
struct LibraryFont
{
    CriticalSection lock;
    std::shared_ptr<Gdiplus::FontFamily> family;
    bool tried = false;
};

LibraryFont& TheLibraryFont()
{
    static LibraryFont* font = new LibraryFont; // outlives every static destructor
    return *font;
}

std::shared_ptr<Gdiplus::FontFamily> LoadLibraryFont()
{
    HMODULE module = GetLibraryModule();
    HRSRC info = module ? ::FindResourceW(module, MAKEINTRESOURCEW(kFontResourceId), kFontResourceType) : nullptr;
    HGLOBAL handle = info ? ::LoadResource(module, info) : nullptr;
    const void* data = handle ? ::LockResource(handle) : nullptr;
    const DWORD size = info ? ::SizeofResource(module, info) : 0;
    if (!data || size == 0)
        return nullptr;
    auto collection = std::make_shared<Gdiplus::PrivateFontCollection>();
    if (collection->AddMemoryFont(data, static_cast<INT>(size)) != Gdiplus::Ok || collection->GetFamilyCount() < 1)
        return nullptr;
    auto family = std::make_unique<Gdiplus::FontFamily>();
    INT found = 0;
    if (collection->GetFamilies(1, family.get(), &found) != Gdiplus::Ok || found < 1)
        return nullptr;
    // The family lives in the collection: both go together.
    struct Holder
    {
        std::shared_ptr<Gdiplus::PrivateFontCollection> collection;
        std::unique_ptr<Gdiplus::FontFamily> family;
    };
    auto holder = std::make_shared<Holder>(Holder{std::move(collection), std::move(family)});
    return std::shared_ptr<Gdiplus::FontFamily>(holder, holder->family.get());
}

} // namespace

std::shared_ptr<Gdiplus::FontFamily> MToolWindow::SharedLibraryFont()
{
    LibraryFont& font = TheLibraryFont();
    ScopedLock lock(font.lock);
    if (!font.family && !font.tried)
    {
        font.tried = true;
        font.family = LoadLibraryFont();
    }
    return font.family;
}

void MToolWindow::ReleaseSharedLibraryFont()
{
    LibraryFont& font = TheLibraryFont();
    ScopedLock lock(font.lock);
    font.family.reset();
    font.tried = false;
}

Gdiplus::FontFamily* MToolWindow::LoadTempFont()
{
    if (!m_pFontFamily)
        m_pFontFamily = SharedLibraryFont();
    return m_pFontFamily.get();
}

} // namespace VREL
