// The paint manager's image cache, background image and private fonts.

#include "ui/framework/PaintManager.h"

#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* file, int frames)
{
    return file ? m_imageCache.AddFile(file, frames) : nullptr;
}

ImgResInfo* PaintManager::AddImgResInfo(UINT id, CString type, int frames, int fromApp)
{
    return m_imageCache.AddResource(id, type, frames, fromApp);
}

void PaintManager::ClearImgResInfo() { m_imageCache.Clear(); }

namespace {

// Takes a loaded image, or frees one that did not decode.
Gdiplus::Image* Decoded(Gdiplus::Image* image)
{
    if (image && image->GetLastStatus() != Gdiplus::Ok)
    {
        delete image;
        return nullptr;
    }
    return image;
}

} // namespace

int PaintManager::LoadBKImage(CString file)
{
    m_bkCache.reset();
    delete m_pBkImage;
    m_pBkImage = Decoded(MRender::LoadImageFromFile(GetSkinFolder() + file));
    m_bkWidth = m_pBkImage ? static_cast<int>(m_pBkImage->GetWidth()) : 0;
    m_bkHeight = m_pBkImage ? static_cast<int>(m_pBkImage->GetHeight()) : 0;
    return m_pBkImage ? 1 : 0;
}

int PaintManager::LoadBKImage(UINT id, CString type)
{
    m_bkCache.reset();
    delete m_pBkImage;
    m_pBkImage = Decoded(MRender::LoadImageFromIDResource(id, type, Manager::GetInstance()));
    m_bkWidth = m_pBkImage ? static_cast<int>(m_pBkImage->GetWidth()) : 0;
    m_bkHeight = m_pBkImage ? static_cast<int>(m_pBkImage->GetHeight()) : 0;
    return m_pBkImage ? 1 : 0;
}

void PaintManager::DrawBackImage(Gdiplus::Graphics& graphics, CRect client)
{
    if (!m_pBkImage)
        return;
    switch (m_bkMode)
    {
    case BACK_MODE_IMAGE:
        graphics.DrawImage(m_pBkImage, 0, 0, m_bkWidth, m_bkHeight);
        break;
    case BACK_MODE_NINE_GRID:
        MRender::DrawImageFrame(graphics, m_pBkImage, client, 0, 0, m_bkWidth, m_bkHeight, m_bkParameter);
        break;
    default:
        break;
    }
}

bool PaintManager::CopyBackImage(HDC dc, const CRect& client, const CRect& clip)
{
    // A live picture repaints its part of the window many times a second;
    // scaling the whole background image for each of those paints costs
    // more than everything else drawn. Drawn once onto empty pixels, as the
    // back buffer of each paint starts, it is the same picture to copy.
    if (!m_bkCache || m_bkCache->Width() != client.Width() || m_bkCache->Height() != client.Height())
    {
        m_bkCache = std::make_unique<LayeredCanvas>(client.Width(), client.Height());
        if (!m_bkCache->IsValid())
        {
            m_bkCache.reset();
            return false;
        }
        Gdiplus::Graphics graphics(m_bkCache->Dc());
        DrawBackImage(graphics, client);
    }
    ::GdiFlush();
    return ::BitBlt(dc, clip.left, clip.top, clip.Width(), clip.Height(), m_bkCache->Dc(), clip.left, clip.top,
                    SRCCOPY) != FALSE;
}

void PaintManager::AddGDITempFont(UINT id) { m_fontCache.AddGDIFont(id); }

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* name, const wchar_t* file)
{
    return m_fontCache.AddFile(name, file);
}

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* name, UINT id) { return m_fontCache.AddResource(name, id); }

Gdiplus::FontFamily* PaintManager::FindTempFont(const wchar_t* name) { return m_fontCache.Find(name); }

void PaintManager::ClearTempFont() { m_fontCache.Clear(); }

} // namespace VREL
