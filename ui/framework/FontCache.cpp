#include "ui/framework/FontCache.h"

#include "ui/framework/Manager.h"

namespace VREL {

namespace {

const wchar_t kFontResourceType[] = L"ttf";

// The bytes of one of the library's font resources; null when it has none.
const void* LibraryFont(UINT id, DWORD& size)
{
    size = 0;
    HMODULE module = GetLibraryModule();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), kFontResourceType);
    if (!resource)
        return nullptr;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (bytes)
        size = ::SizeofResource(module, resource);
    return size ? bytes : nullptr;
}

} // namespace

FontCache::FontCache() = default;

FontCache::~FontCache() { Clear(); }

void FontCache::AddGDIFont(UINT id)
{
    DWORD size = 0;
    const void* bytes = LibraryFont(id, size);
    if (!bytes)
        return;
    DWORD installed = 0;
    HANDLE font = ::AddFontMemResourceEx(const_cast<void*>(bytes), size, nullptr, &installed);
    if (!font)
        return;
    ScopedLock lock(m_lock);
    m_gdiFonts.push_back(font);
}

Gdiplus::FontFamily* FontCache::Keep(const wchar_t* name,
                                     std::unique_ptr<Gdiplus::PrivateFontCollection> collection)
{
    if (!name || collection->GetFamilyCount() < 1)
        return nullptr;
    Gdiplus::FontFamily first;
    int found = 0;
    if (collection->GetFamilies(1, &first, &found) != Gdiplus::Ok || found < 1)
        return nullptr;
    Entry entry;
    entry.family.reset(first.Clone());
    if (!entry.family || entry.family->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    entry.collection = std::move(collection);
    Gdiplus::FontFamily* kept = entry.family.get();
    ScopedLock lock(m_lock);
    m_families[CString(name)] = std::move(entry);
    return kept;
}

Gdiplus::FontFamily* FontCache::AddFile(const wchar_t* name, const wchar_t* file)
{
    if (!file)
        return nullptr;
    auto collection = std::make_unique<Gdiplus::PrivateFontCollection>();
    if (collection->AddFontFile(file) != Gdiplus::Ok)
        return nullptr;
    return Keep(name, std::move(collection));
}

Gdiplus::FontFamily* FontCache::AddResource(const wchar_t* name, UINT id)
{
    DWORD size = 0;
    const void* bytes = LibraryFont(id, size);
    if (!bytes)
        return nullptr;
    auto collection = std::make_unique<Gdiplus::PrivateFontCollection>();
    if (collection->AddMemoryFont(bytes, static_cast<INT>(size)) != Gdiplus::Ok)
        return nullptr;
    return Keep(name, std::move(collection));
}

Gdiplus::FontFamily* FontCache::Find(const wchar_t* name)
{
    if (!name)
        return nullptr;
    ScopedLock lock(m_lock);
    const CString key(name);
    auto found = m_families.find(key);
    if (found != m_families.end())
        return found->second.family.get();
    Entry entry;
    entry.family = std::make_unique<Gdiplus::FontFamily>(name);
    if (entry.family->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    Gdiplus::FontFamily* kept = entry.family.get();
    m_families.emplace(key, std::move(entry));
    return kept;
}

void FontCache::Clear()
{
    std::map<CString, Entry> families;
    std::vector<HANDLE> gdiFonts;
    {
        ScopedLock lock(m_lock);
        families.swap(m_families);
        gdiFonts.swap(m_gdiFonts);
    }
    for (HANDLE font : gdiFonts)
        ::RemoveFontMemResourceEx(font);
}

} // namespace VREL
