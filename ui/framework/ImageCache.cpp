#include "ui/framework/ImageCache.h"

#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

// The record controls see, and the image it owns.
struct ImageCache::Entry
{
    ImgResInfo info;

    Entry() = default;
    ~Entry() { delete info.image; }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
};

ImageCache::ImageCache() = default;

ImageCache::~ImageCache() = default;

ImageCache::EntryPtr ImageCache::Make(Gdiplus::Image* image, int frames, const CString& name, UINT id)
{
    if (!image)
        return nullptr;
    if (image->GetLastStatus() != Gdiplus::Ok)
    {
        delete image;
        return nullptr;
    }
    EntryPtr entry = std::make_unique<Entry>();
    entry->info.image = image;
    entry->info.frameCount = frames;
    entry->info.frameWidth = static_cast<int>(image->GetWidth()) / frames;
    entry->info.frameHeight = static_cast<int>(image->GetHeight());
    entry->info.name = name;
    entry->info.resourceId = id;
    return entry;
}

ImgResInfo* ImageCache::AddFile(const CString& name, int frames)
{
    ScopedLock lock(m_lock);
    auto found = m_files.find(name);
    if (found != m_files.end())
        return &found->second->info;
    if (frames < 1)
        return nullptr;
    EntryPtr entry = Make(MRender::LoadImageFromFile(GetSkinFolder() + name), frames, name, 0);
    if (!entry)
        return nullptr;
    ImgResInfo* info = &entry->info;
    m_files.emplace(name, std::move(entry));
    return info;
}

ImgResInfo* ImageCache::AddResource(UINT id, const CString& type, int frames, int fromApp)
{
    ScopedLock lock(m_lock);
    std::map<UINT, EntryPtr>& images = fromApp ? m_appResources : m_libraryResources;
    auto found = images.find(id);
    if (found != images.end())
        return &found->second->info;
    if (frames < 1)
        return nullptr;
    HINSTANCE module = fromApp ? Manager::GetInstance() : GetLibraryModule();
    EntryPtr entry = Make(MRender::LoadImageFromIDResource(id, type, module), frames, CString(), id);
    if (!entry)
        return nullptr;
    ImgResInfo* info = &entry->info;
    images.emplace(id, std::move(entry));
    return info;
}

void ImageCache::Clear()
{
    std::map<CString, EntryPtr> files;
    std::map<UINT, EntryPtr> appResources;
    std::map<UINT, EntryPtr> libraryResources;
    {
        ScopedLock lock(m_lock);
        files.swap(m_files);
        appResources.swap(m_appResources);
        libraryResources.swap(m_libraryResources);
    }
}

} // namespace VREL
