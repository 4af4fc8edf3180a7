#include "ui/framework/Manager.h"

#include <objbase.h>
#include <ole2.h>

#include <cwchar>
#include <string>

#include "ui/framework/ToolWindow.h"

namespace VREL {

// The definitions below run in this order when the library loads (and are
// torn down in reverse): the timer list, the font name, the device name, the
// window registry. Plain values need no code.
namespace {
std::vector<MTimer*> g_liveTimers;
HINSTANCE g_libraryModule = nullptr;
} // namespace

CString Manager::m_fontname(L"Segoe UI");
CString Manager::m_dev_name(L"Tarnwell");
std::map<MWindow*, int> Manager::m_windows;

HINSTANCE Manager::m_hInstance = nullptr;
int Manager::m_fontwidth = 14;
Gdiplus::Color Manager::m_normal_color(0xFF232323);
Gdiplus::Color Manager::m_hover_color(0xFFFDB637);
Gdiplus::Color Manager::m_down_color(0xFFFDB637);
Gdiplus::Color Manager::m_select_color(0xFF49FFE6);
Gdiplus::GdiplusStartupInput Manager::m_gdiplusStartupInput;
ULONG_PTR Manager::m_gdiplusToken = 0;

namespace {
const wchar_t kThemeFolder[] = L"theme1\\";

bool IsKeyHeld(int virtualKey)
{
    return GetAsyncKeyState(virtualKey) != 0;
}
} // namespace

void Manager::SetInstance(HINSTANCE instance) { m_hInstance = instance; }
HINSTANCE Manager::GetInstance() { return m_hInstance; }

void Manager::SetDeviceName(CString name) { m_dev_name = name; }
CString Manager::GetDeviceName() { return m_dev_name; }

void Manager::SetFont(CString name, int size)
{
    m_fontname = name;
    m_fontwidth = size;
}
void Manager::SetFontName(CString name) { m_fontname = name; }
CString Manager::GetFontName() { return m_fontname; }
int Manager::GetFontWidth() { return m_fontwidth; }

void Manager::SetNormalColor(Gdiplus::Color color) { m_normal_color = color; }
void Manager::SetHoverColor(Gdiplus::Color color) { m_hover_color = color; }
void Manager::SetDownColor(Gdiplus::Color color) { m_down_color = color; }
Gdiplus::Color Manager::GetNormalColor() { return m_normal_color; }
Gdiplus::Color Manager::GetHoverColor() { return m_hover_color; }
Gdiplus::Color Manager::GetDownColor() { return m_down_color; }
Gdiplus::Color Manager::GetSelectColor() { return m_select_color; }

CString Manager::GetTheme() { return CString(kThemeFolder); }

void Manager::InitGdiplus()
{
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
    CoInitialize(nullptr);
    OleInitialize(nullptr);
    m_windows.clear();
}

void Manager::UnInitGdiplus()
{
    // GDI+ objects must go before GDI+ does.
    MToolWindow::ReleaseSharedLibraryFont();
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    CoUninitialize();
    OleUninitialize();
    m_windows.clear();
}

int Manager::PreTranslateMessage(MSG*)
{
    return IsKeyHeld(VK_MENU) && IsKeyHeld(VK_F4) ? 1 : 0;
}

void Manager::MessageLoop()
{
    MSG msg;
    // GetMessageW returns -1 on an invalid call; only 0 (WM_QUIT) ends the loop.
    while (GetMessageW(&msg, nullptr, 0, 0) != 0)
    {
        // Dropping everything while Alt+F4 is held keeps the system's
        // close-on-Alt+F4 from ever reaching the windows of this loop.
        if (PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Manager::AddWnd(MWindow* window) { m_windows[window] = 0; }
void Manager::DeleteWnd(MWindow* window) { m_windows.erase(window); }

void M_Trace(const wchar_t*, ...) {}

HINSTANCE GetLibraryModule() { return g_libraryModule; }
void SetLibraryModule(HINSTANCE module) { g_libraryModule = module; }
std::vector<MTimer*>& LiveTimerObjects() { return g_liveTimers; }

} // namespace VREL

namespace {

const wchar_t kSkinsFolder[] = L"skins\\";

// Full path of the executable. The buffer grows until the name fits, so a
// path of MAX_PATH characters or more is not cut short.
std::wstring ExecutablePath()
{
    constexpr DWORD kLongestPath = 32768;
    std::wstring path;
    for (DWORD size = MAX_PATH; size <= kLongestPath * 2; size *= 2)
    {
        path.assign(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
        if (length == 0)
            return std::wstring();
        if (length < size)
        {
            path.resize(length);
            return path;
        }
    }
    return std::wstring();
}

// The folder part of a path with one trailing backslash ("C:\App\x.exe" ->
// "C:\App\", "C:\x.exe" -> "C:\").
std::wstring FolderWithBackslash(const std::wstring& path)
{
    if (path.empty())
        return path;
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/'))
        folder += L'\\';
    return folder;
}

} // namespace

CString GetModuleFolder()
{
    return CString(FolderWithBackslash(ExecutablePath()));
}

wchar_t* GetModuleFolder(wchar_t* buffer, size_t capacity)
{
    if (!buffer)
        return nullptr;
    const std::wstring folder = FolderWithBackslash(ExecutablePath());
    if (capacity == 0)
        return nullptr;
    if (folder.size() + 1 > capacity)
    {
        buffer[0] = L'\0';
        return nullptr;
    }
    wmemcpy(buffer, folder.c_str(), folder.size() + 1);
    return buffer;
}

CString GetSkinFolder()
{
    return GetModuleFolder() + kSkinsFolder + VREL::Manager::GetTheme();
}
