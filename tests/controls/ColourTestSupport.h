#pragma once

// What the colour-control and image-viewer tests share: owners that record
// every report in order, a visible host dialog driven by sent mouse
// messages, and PNG files read and written through wide paths.

#include <windows.h>

#include <lodepng.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/MDialog.h"
#include "ui/framework/MObject.h"

// Readable failure messages for the library's strings.
inline void PrintTo(const CString& text, std::ostream* os)
{
    for (wchar_t ch : text.GetStdString())
        *os << (ch < 128 ? static_cast<char>(ch) : '?');
}

namespace colourtest {

struct Report
{
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Report& other) const
    {
        return id == other.id && code == other.code && wParam == other.wParam && lParam == other.lParam;
    }
};

inline void PrintTo(const Report& r, std::ostream* os)
{
    *os << "(" << r.id << ", " << r.code << ", " << r.wParam << ", 0x" << std::hex << r.lParam << std::dec << ")";
}

// Reports with the given code, in order.
inline std::vector<Report> WithCode(const std::vector<Report>& reports, UINT code)
{
    std::vector<Report> found;
    for (const Report& r : reports)
        if (r.code == code)
            found.push_back(r);
    return found;
}

// An owner that is neither a window nor a control.
class RecordingOwner : public VREL::MObject
{
public:
    LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        return 0;
    }
    std::vector<Report> reports;
};

class HostDialog : public VREL::MDialog
{
public:
    ~HostDialog() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        reports.push_back({id, code, wParam, lParam});
        return 0;
    }
    HWND Open(int width, int height)
    {
        HWND hwnd = Create(nullptr, L"colour test", WS_POPUP, 0, CRect(40, 40, 40 + width, 40 + height));
        ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd);
        // Active before the first press, as a window the user clicks is.
        ::SetActiveWindow(hwnd);
        ::SetFocus(hwnd);
        // A press on empty space must not start a window move.
        EnableWndDrag(0);
        return hwnd;
    }
    std::vector<Report> reports;
};

inline LPARAM Pack(int x, int y) { return MAKELPARAM(static_cast<short>(x), static_cast<short>(y)); }

inline void Press(HWND hwnd, int x, int y)
{
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, Pack(x, y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Pack(x, y));
}

inline void Release(HWND hwnd, int x, int y) { ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Pack(x, y)); }

inline void Click(HWND hwnd, int x, int y)
{
    Press(hwnd, x, y);
    Release(hwnd, x, y);
}

inline void Type(HWND edit, const wchar_t* text)
{
    for (const wchar_t* ch = text; *ch; ++ch)
        ::SendMessageW(edit, WM_CHAR, *ch, 1);
}

// ---- files through wide paths ----

inline bool ReadFileBytes(const std::wstring& path, std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = ::GetFileSize(file, nullptr);
    bytes.assign(size, 0);
    DWORD read = 0;
    const bool ok = size == 0 || (::ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
    ::CloseHandle(file);
    return ok;
}

inline bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

struct Png
{
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgba;
    // 0x00RRGGBB.
    uint32_t Rgb(unsigned x, unsigned y) const
    {
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
};

inline bool ReadPng(const std::wstring& path, Png& png)
{
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(path, bytes) || bytes.empty())
        return false;
    unsigned char* pixels = nullptr;
    if (lodepng_decode32(&pixels, &png.width, &png.height, bytes.data(), bytes.size()) != 0)
        return false;
    png.rgba.assign(pixels, pixels + static_cast<size_t>(png.width) * png.height * 4);
    std::free(pixels);
    return true;
}

// A width x height PNG of one colour (0x00RRGGBB).
inline bool WriteSolidPng(const std::wstring& path, unsigned width, unsigned height, uint32_t rgb)
{
    std::vector<unsigned char> rgba;
    for (unsigned i = 0; i < width * height; ++i)
    {
        rgba.push_back(static_cast<unsigned char>(rgb >> 16));
        rgba.push_back(static_cast<unsigned char>(rgb >> 8));
        rgba.push_back(static_cast<unsigned char>(rgb));
        rgba.push_back(0xFF);
    }
    unsigned char* encoded = nullptr;
    size_t size = 0;
    if (lodepng_encode32(&encoded, &size, rgba.data(), width, height) != 0)
        return false;
    const std::vector<unsigned char> bytes(encoded, encoded + size);
    std::free(encoded);
    return WriteFileBytes(path, bytes);
}

// A fresh folder under the temporary folder, removed with its files.
class TempFolder
{
public:
    explicit TempFolder(const std::wstring& name)
    {
        wchar_t base[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + name + L"\\";
        Remove();
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { Remove(); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    void Remove()
    {
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((m_path + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ::DeleteFileW((m_path + found.cFileName).c_str());
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(m_path.c_str());
    }
    std::wstring m_path;
};

// Channel-wise closeness of two 0x00RRGGBB colours.
inline bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// 0x00RRGGBB of a COLORREF.
inline uint32_t RgbOf(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | static_cast<uint32_t>(GetGValue(colour)) << 8 |
           GetBValue(colour);
}

} // namespace colourtest
