#pragma once

// Library-wide settings of vrel: the application module, the device name,
// the default font, the theme folder and colours, GDI+/COM start-up, the
// Alt+F4-filtering message loop and the window registry. Also the free
// functions that find the skin folder beside the executable.

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MWindow;
class MTimer;

class VREL_API Manager
{
public:
    Manager() = delete;

    static HINSTANCE m_hInstance;
    static CString m_dev_name;
    static CString m_fontname;
    static int m_fontwidth;
    static Gdiplus::Color m_normal_color;
    static Gdiplus::Color m_hover_color;
    static Gdiplus::Color m_down_color;
    static Gdiplus::Color m_select_color;
    static Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
    static ULONG_PTR m_gdiplusToken;
    // Windows entered with AddWnd; the value is always 0.
    static std::map<MWindow*, int> m_windows;

    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();

    static void SetDeviceName(CString name);
    static CString GetDeviceName();

    static void SetFont(CString name, int size);
    static void SetFontName(CString name);
    static CString GetFontName();
    static int GetFontWidth();

    static void SetNormalColor(Gdiplus::Color color);
    static void SetHoverColor(Gdiplus::Color color);
    static void SetDownColor(Gdiplus::Color color);
    static Gdiplus::Color GetNormalColor();
    static Gdiplus::Color GetHoverColor();
    static Gdiplus::Color GetDownColor();
    static Gdiplus::Color GetSelectColor();

    static CString GetTheme();

    static void InitGdiplus();
    static void UnInitGdiplus();

    // 1 while Alt and F4 are both held, whatever the message.
    static int PreTranslateMessage(MSG* msg);
    static void MessageLoop();

    static void AddWnd(MWindow* window);
    static void DeleteWnd(MWindow* window);
};

// Exported so that callers may trace; it has no effect.
VREL_API void M_Trace(const wchar_t* format, ...);

// Inside vrel only: the library's own module (its resources: scroll-bar
// images, the private font) and the live multimedia-timer objects.
HINSTANCE GetLibraryModule();
void SetLibraryModule(HINSTANCE module);
std::vector<MTimer*>& LiveTimerObjects();

} // namespace VREL

// Folder of the process's executable, with a trailing backslash.
VREL_API CString GetModuleFolder();
// The same written into buffer, which holds `capacity` characters (the
// classic MAX_PATH unless told otherwise). Returns buffer, or null when the
// buffer is null or too small for the folder (the buffer is then emptied).
VREL_API wchar_t* GetModuleFolder(wchar_t* buffer, size_t capacity = MAX_PATH);
// <executable folder>skins\<theme>\ where every skin image lives.
VREL_API CString GetSkinFolder();
