#pragma once

// The fonts one window's controls share: GDI+ font families by name (private
// fonts loaded from a file or from the library's "ttf" resources, and
// installed families found by name), and the library fonts registered with
// GDI for the process. Everything is released by Clear or the destructor.
// Safe to use from any thread.

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API FontCache
{
public:
    FontCache();
    ~FontCache();

    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // Registers the library's "ttf" resource with GDI for the process.
    void AddGDIFont(UINT id);
    // The first family of the font file, or of the library's "ttf" resource,
    // cached under name (replacing an entry of that name); null when the
    // font holds no family.
    Gdiplus::FontFamily* AddFile(const wchar_t* name, const wchar_t* file);
    Gdiplus::FontFamily* AddResource(const wchar_t* name, UINT id);
    // The cached family of that name, else the installed one (then cached);
    // null when there is neither.
    Gdiplus::FontFamily* Find(const wchar_t* name);
    void Clear();

private:
    // A family, and the private collection it came from when it is not an
    // installed one: the collection stays as long as the family is used.
    struct Entry
    {
        std::unique_ptr<Gdiplus::PrivateFontCollection> collection;
        std::unique_ptr<Gdiplus::FontFamily> family;
    };

    Gdiplus::FontFamily* Keep(const wchar_t* name, std::unique_ptr<Gdiplus::PrivateFontCollection> collection);

    CriticalSection m_lock;
    std::map<CString, Entry> m_families;
    std::vector<HANDLE> m_gdiFonts;
};

} // namespace VREL
