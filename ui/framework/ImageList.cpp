#include "ui/framework/ImageList.h"

#include <algorithm>

#include "ui/framework/Render.h"

namespace VREL {

_M_IAMGELIST::_M_IAMGELIST(int imageId, int frames, const wchar_t* imagePath)
    : id(imageId), frameCount(std::max(frames, 1)), path(imagePath)
{
    // A count below 1 would divide by zero; such an image is one frame.
    image = MRender::LoadImageFromFile(path);
    if (image)
    {
        height = static_cast<int>(image->GetHeight());
        frameWidth = static_cast<int>(image->GetWidth() / static_cast<UINT>(frameCount));
    }
}

_M_IAMGELIST::~_M_IAMGELIST()
{
    delete image;
}

MImageList::MImageList() = default;

MImageList::~MImageList()
{
    DelAllImages();
}

int MImageList::AddImage(const wchar_t* path, int id, int frameCount)
{
    return InsertImage(-1, path, id, frameCount);
}

int MImageList::InsertImage(int index, const wchar_t* path, int id, int frameCount)
{
    if (!path)
        return -1;
    ScopedLock lock(m_lock);
    const int count = static_cast<int>(m_images.size());
    if (index < -1 || index > count - 1)
        return -1;
    auto* record = new _M_IAMGELIST(id, frameCount, path);
    if (index == -1)
    {
        m_images.push_back(record);
        return count;
    }
    m_images.insert(m_images.begin() + index, record);
    return index;
}

void MImageList::DrawFrame(Gdiplus::Graphics& graphics, const CRect& rect, int index, int frame)
{
    const _M_IAMGELIST* record = GetItemImageData(index);
    if (!record || !record->image)
        return;
    const int shown = std::max(0, std::min(frame, record->frameCount - 1));
    graphics.DrawImage(record->image, Gdiplus::Rect(rect.left, rect.top, rect.Width(), rect.Height()),
                       shown * record->frameWidth, 0, record->frameWidth, record->height, Gdiplus::UnitPixel);
}

void MImageList::DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index)
{
    DrawFrame(graphics, rect, index, 0);
}

void MImageList::DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index, int frame)
{
    DrawFrame(graphics, rect, index, frame);
}

int MImageList::SetDrawImgSize(int cx, int cy)
{
    m_drawSize = CSize(cx, cy);
    return 1;
}

CSize MImageList::GetIconSize()
{
    return m_drawSize;
}

_M_IAMGELIST* MImageList::GetItemImageData(int index)
{
    ScopedLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_images.size()))
        return nullptr;
    return m_images[static_cast<size_t>(index)];
}

_M_IAMGELIST* MImageList::GetImageDataByID(int id)
{
    ScopedLock lock(m_lock);
    const auto found = std::find_if(m_images.begin(), m_images.end(),
                                    [id](const _M_IAMGELIST* record) { return record->id == id; });
    return found == m_images.end() ? nullptr : *found;
}

CString MImageList::GetImagePath(int index)
{
    ScopedLock lock(m_lock);
    const _M_IAMGELIST* record = GetItemImageData(index);
    return record ? record->path : CString();
}

CString MImageList::GetImagePathByID(int id)
{
    ScopedLock lock(m_lock);
    const _M_IAMGELIST* record = GetImageDataByID(id);
    return record ? record->path : CString();
}

int MImageList::GetImageCount()
{
    ScopedLock lock(m_lock);
    return static_cast<int>(m_images.size());
}

int MImageList::DelAllImages()
{
    ScopedLock lock(m_lock);
    for (_M_IAMGELIST* record : m_images)
        delete record;
    m_images.clear();
    return 1;
}

} // namespace VREL
