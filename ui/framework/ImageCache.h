#pragma once

// The skin images one window's controls share: images loaded from the skin
// folder, keyed by file name (case-sensitive), and images loaded from the
// resources of the application or of the library, keyed by id. An image is
// loaded once; later requests get the same record whatever frame count they
// ask for. Records stay valid until Clear. Safe to use from any thread.

#include <windows.h>

#include <map>
#include <memory>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class VREL_API ImageCache
{
public:
    ImageCache();
    ~ImageCache();

    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The skin folder joined with name; null when it does not load (nothing
    // is kept, so a later call tries again) or frames is below 1.
    ImgResInfo* AddFile(const CString& name, int frames);
    // A resource of the application module (fromApp nonzero) or of the
    // library's own module.
    ImgResInfo* AddResource(UINT id, const CString& type, int frames, int fromApp);
    void Clear();

private:
    struct Entry;
    using EntryPtr = std::unique_ptr<Entry>;

    static EntryPtr Make(Gdiplus::Image* image, int frames, const CString& name, UINT id);

    CriticalSection m_lock;
    std::map<CString, EntryPtr> m_files;
    std::map<UINT, EntryPtr> m_appResources;
    std::map<UINT, EntryPtr> m_libraryResources;
};

} // namespace VREL
