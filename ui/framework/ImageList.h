#pragma once

// A small list of images loaded from files, each known by its index, an id
// and its path; draws an image, or one frame of an image strip, into a
// rectangle.

#include <windows.h>
#include <gdiplus.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/CriticalSection.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

// One image of the list; the list owns the record and the record its image.
struct VREL_API _M_IAMGELIST
{
    _M_IAMGELIST(int imageId, int frames, const wchar_t* imagePath);
    ~_M_IAMGELIST();
    _M_IAMGELIST(const _M_IAMGELIST&) = delete;
    _M_IAMGELIST& operator=(const _M_IAMGELIST&) = delete;

    Gdiplus::Image* image = nullptr;  // null when loading failed
    int frameWidth = 0;               // image width / frame count; 0 when not loaded
    int height = 0;                   // 0 when not loaded
    int id = 0;
    int frameCount = 1;               // equal frames side by side, at least 1
    CString path;
};

class VREL_API MImageList
{
public:
    MImageList();
    ~MImageList();
    MImageList(const MImageList&) = delete;
    MImageList& operator=(const MImageList&) = delete;

    // Appends; returns the new index.
    int AddImage(const wchar_t* path, int id, int frameCount);
    // Inserts before `index` (-1 appends); -1 for a null path or an index
    // outside the list. A record is added even when the file does not load.
    int InsertImage(int index, const wchar_t* path, int id, int frameCount);

    // The first frame, or frame `frame` (clamped to the strip), stretched into rect.
    void DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index);
    void DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index, int frame);

    int SetDrawImgSize(int cx, int cy);
    CSize GetIconSize();

    _M_IAMGELIST* GetItemImageData(int index);
    _M_IAMGELIST* GetImageDataByID(int id);
    // Empty when no record matches.
    CString GetImagePath(int index);
    CString GetImagePathByID(int id);
    int GetImageCount();
    int DelAllImages();

private:
    void DrawFrame(Gdiplus::Graphics& graphics, const CRect& rect, int index, int frame);

    std::vector<_M_IAMGELIST*> m_images;
    CriticalSection m_lock;
    CSize m_drawSize;
};

} // namespace VREL
