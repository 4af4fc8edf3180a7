#include "ui/controls/ImageView.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ui/controls/PngWriter.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterImageView(MakeControlClass<ImageView, ControlForm::VisibleOne>(L"ImageView"));

constexpr int kDefaultPenSize = 2;
constexpr COLORREF kDefaultColour = 0x016EEE;
constexpr Gdiplus::ARGB kBlack = 0xFF000000;
constexpr Gdiplus::ARGB kSelectionFrame = 0xFF06B025;
constexpr float kSelectionFrameWidth = 3.0f;
constexpr Gdiplus::ARGB kGridColour = 0xC8646464;
constexpr int kGridStep = 10;
// Extra room around measured text, in pixels.
constexpr int kTextPadding = 6;
// A move must pass these distances before it counts.
constexpr int kTextMoveThreshold = 2;
constexpr int kStrokeMoveThreshold = 6;
// The wheel changes a record's size in these steps, within these bounds.
constexpr int kSizeStep = 2;
constexpr int kMinRecordSize = 6;
constexpr int kMaxRecordSize = 60;
constexpr UINT kWheelTowardUser = 1;
constexpr int kStringFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

const wchar_t kFolderSuffix[] = L" Files\\";
const wchar_t kEditSubfolder[] = L"edit\\";
const wchar_t kWorkingPrefix[] = L"edit_";

int Clamp(int value, LONG low, LONG high)
{
    return std::min(std::max(value, static_cast<int>(low)), static_cast<int>(high));
}

Gdiplus::ARGB Opaque(COLORREF colour)
{
    return Gdiplus::Color::MakeARGB(0xFF, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// The file name of a path: what follows its last separator of either kind.
CString FileNameOf(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i)
    {
        const wchar_t ch = path.GetAt(i);
        if (ch == L'\\' || ch == L'/')
            return path.Mid(i + 1);
    }
    return path;
}

// A memory DC with a top-down 32-bit bitmap selected into it.
class PixelCanvas
{
public:
    PixelCanvas(HDC reference, HBITMAP bitmap, BYTE* bits, int width, int height)
        : m_dc(::CreateCompatibleDC(reference)), m_bitmap(bitmap), m_bits(bits), m_width(width), m_height(height)
    {
        if (m_dc && m_bitmap)
            m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~PixelCanvas()
    {
        if (m_dc && m_old)
            ::SelectObject(m_dc, m_old);
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    bool Ready() const { return m_dc && m_bitmap && m_bits && m_old; }
    HDC Dc() const { return m_dc; }

    void FillBlack()
    {
        ::GdiFlush();
        std::memset(m_bits, 0, static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4u);
    }
    // Opaque RGBA from the bitmap's blue, green, red bytes.
    void ToRgba(std::vector<uint8_t>& rgba) const
    {
        ::GdiFlush();
        const size_t count = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
        rgba.resize(count * 4u);
        for (size_t i = 0; i < count; ++i)
        {
            rgba[i * 4 + 0] = m_bits[i * 4 + 2];
            rgba[i * 4 + 1] = m_bits[i * 4 + 1];
            rgba[i * 4 + 2] = m_bits[i * 4 + 0];
            rgba[i * 4 + 3] = 0xFF;
        }
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    BYTE* m_bits;
    int m_width;
    int m_height;
    HGDIOBJ m_old = nullptr;
};

} // namespace

ImageView::ImageView(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_bPreview(false),
      m_previewIndex(0),
      m_previewCount(0),
      m_lastChange(0),
      m_imageWidth(0),
      m_imageHeight(0),
      m_drawMode(IMAGE_MODE_PEN),
      m_penSize(kDefaultPenSize),
      m_colour(kDefaultColour),
      m_bGrid(0),
      m_bDirty(0),
      m_selected(-1)
{
}

ImageView::~ImageView()
{
    DeleteAllItems();
    FreeEdits();
}

// ---- viewer -----------------------------------------------------------------------------------------

int ImageView::AddString(CString file, int displayTime, int value)
{
    auto item = std::make_unique<ImageViewItem>();
    item->file = file;
    item->displayTime = displayTime;
    item->value = value;
    // A copy of the image's own size, so that the file is not held open.
    item->image.reset(MRender::LoadImageFromFileEx(file, 0, 0));
    if (item->image)
    {
        item->width = static_cast<int>(item->image->GetWidth());
        item->height = static_cast<int>(item->image->GetHeight());
    }
    ScopedLock lock(m_listLock);
    m_items.push_back(std::move(item));
    return 1;
}

int ImageView::GetItemCount() const
{
    ScopedLock lock(m_listLock);
    return static_cast<int>(m_items.size());
}

CString ImageView::GetItemImageFile(int index)
{
    ScopedLock lock(m_listLock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return CString();
    return m_items[static_cast<size_t>(index)]->file;
}

int ImageView::DeleteAllItems()
{
    std::vector<std::unique_ptr<ImageViewItem>> items;
    {
        ScopedLock lock(m_listLock);
        items.swap(m_items);
    }
    return 1;
}

void ImageView::SetImagePreviewMode(bool preview)
{
    ScopedLock lock(m_listLock);
    m_bPreview = preview;
    m_previewCount = static_cast<int>(m_items.size());
    m_previewIndex = 0;
    m_lastChange = ::GetTickCount();
}

int ImageView::OnControlTimer()
{
    if (!m_bVisible || !m_bPreview)
        return 0;
    {
        ScopedLock lock(m_listLock);
        const int size = static_cast<int>(m_items.size());
        const DWORD now = ::GetTickCount();
        if (m_previewIndex >= 0 && m_previewIndex < size)
        {
            const int shown = m_items[static_cast<size_t>(m_previewIndex)]->displayTime;
            if (shown >= 0 && now - m_lastChange <= static_cast<DWORD>(shown))
                return 0;
        }
        // The list may have become shorter than when the preview started:
        // the index then wraps at what is left, and an emptied list shows
        // nothing.
        const int wrap = std::min(m_previewCount, size);
        ++m_previewIndex;
        if (m_previewIndex >= wrap)
            m_previewIndex = 0;
        m_lastChange = now;
    }
    // Asked for outside the list lock: painting takes that lock under the
    // window's own locks.
    Repaint();
    return 1;
}

// ---- editor: files ------------------------------------------------------------------------------

CString ImageView::GetEditFolder()
{
    wchar_t appData[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return CString();
    CString folder(appData);
    if (!folder.IsEmpty() && folder.GetAt(folder.GetLength() - 1) != L'\\')
        folder += L"\\";
    return folder + Manager::GetDeviceName() + kFolderSuffix + kEditSubfolder;
}

CString ImageView::SetImage(CString file)
{
    m_selected = -1;
    FreeEdits();

    const CString editFolder = GetEditFolder();
    PngWriter::EnsureFolder(editFolder);
    m_workingFile = editFolder + kWorkingPrefix + FileNameOf(file);
    ::CopyFileW(file, m_workingFile, FALSE);

    m_pEditImage.reset(MRender::LoadImageFromFileEx(file, 0, 0));
    m_imageWidth = m_pEditImage ? static_cast<int>(m_pEditImage->GetWidth()) : 0;
    m_imageHeight = m_pEditImage ? static_cast<int>(m_pEditImage->GetHeight()) : 0;
    m_sourceFile = file;
    m_displayRect = GetImageRect(m_imageWidth, m_imageHeight, CRect(0, 0, m_rect.Width(), m_rect.Height()));
    Repaint();
    return m_workingFile;
}

int ImageView::SaveImageData()
{
    if (m_workingFile.IsEmpty() || m_sourceFile.IsEmpty())
        return 0;
    return ::CopyFileW(m_workingFile, m_sourceFile, FALSE) ? 1 : 0;
}

void ImageView::RecoverOriginalImage()
{
    // The edited image is the source as it was loaded; dropping the edits
    // and saving rebuilds the working copy from it.
    ClearCurEdit();
    Repaint();
}

bool ImageView::RenderEdited(std::vector<uint8_t>& rgba)
{
    const int width = m_imageWidth;
    const int height = m_imageHeight;
    if (!m_pEditImage || width <= 0 || height <= 0)
        return false;
    HDC reference = m_pManager ? m_pManager->GetPaintDC() : nullptr;
    BYTE* bits = nullptr;
    HDC screen = reference ? nullptr : ::GetDC(nullptr);
    HBITMAP bitmap = CreateARGB32Bitmap(reference ? reference : screen, width, height, &bits);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    PixelCanvas canvas(reference, bitmap, bits, width, height);
    if (!canvas.Ready())
        return false;
    canvas.FillBlack();
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.SetTextRenderingHint(m_textHint);
        graphics.DrawImage(m_pEditImage.get(), Gdiplus::Rect(0, 0, width, height), 0, 0, width, height,
                           Gdiplus::UnitPixel);
        // The edits land where they lie over the shown image, unscaled.
        m_displayRect = GetImageRect(width, height, CRect(0, 0, m_rect.Width(), m_rect.Height()));
        const CRect origin(m_rect.left + m_displayRect.left, m_rect.top + m_displayRect.top, m_rect.right,
                           m_rect.bottom);
        DrawLayer(graphics, origin, 0);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    canvas.ToRgba(rgba);
    return true;
}

void ImageView::SaveCurrentImage()
{
    std::vector<uint8_t> rgba;
    if (!RenderEdited(rgba))
        return;
    if (!PngWriter::Write(m_workingFile, rgba, m_imageWidth, m_imageHeight))
        return;
    SendMessageW(NC_IMAGE_SAVED, 0, 0);
}

int ImageView::SaveCurrentImage(CString file)
{
    std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromFileEx(file, 0, 0));
    if (!image)
        return 0;
    const int width = static_cast<int>(image->GetWidth());
    const int height = static_cast<int>(image->GetHeight());
    if (width < m_rect.Width() && height < m_rect.Height())
        return 0;
    const CRect fitted = GetImageRect(width, height, CRect(0, 0, m_rect.Width(), m_rect.Height()));
    if (fitted.IsRectEmpty())
        return 0;
    HDC reference = m_pManager ? m_pManager->GetPaintDC() : nullptr;
    HDC screen = reference ? nullptr : ::GetDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CreateARGB32Bitmap(reference ? reference : screen, fitted.Width(), fitted.Height(), &bits);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    PixelCanvas canvas(reference, bitmap, bits, fitted.Width(), fitted.Height());
    if (!canvas.Ready())
        return 0;
    canvas.FillBlack();
    {
        Gdiplus::Graphics graphics(canvas.Dc());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(image.get(), Gdiplus::Rect(0, 0, fitted.Width(), fitted.Height()), 0, 0, width, height,
                           Gdiplus::UnitPixel);
        graphics.Flush(Gdiplus::FlushIntentionSync);
    }
    std::vector<uint8_t> rgba;
    canvas.ToRgba(rgba);
    // Released before the file is replaced.
    image.reset();
    return PngWriter::Write(file, rgba, fitted.Width(), fitted.Height()) ? 1 : 0;
}

// ---- editor: records ----------------------------------------------------------------------------

void ImageView::FreeEdits()
{
    std::vector<std::unique_ptr<ImageEditRecord>> edits;
    ScopedLock lock(m_editLock);
    edits.swap(m_edits);
}

void ImageView::AppendRecord(std::unique_ptr<ImageEditRecord> record)
{
    ScopedLock lock(m_editLock);
    m_edits.push_back(std::move(record));
}

int ImageView::GetEditCount()
{
    ScopedLock lock(m_editLock);
    return static_cast<int>(m_edits.size());
}

bool ImageView::GetEditRecord(int index, ImageEditRecord& record)
{
    ScopedLock lock(m_editLock);
    if (index < 0 || index >= static_cast<int>(m_edits.size()))
        return false;
    record = *m_edits[static_cast<size_t>(index)];
    return true;
}

void ImageView::ClearCurEdit()
{
    m_selected = -1;
    FreeEdits();
    Repaint();
    SaveCurrentImage();
}

void ImageView::RecoverCurEdit()
{
    m_selected = -1;
    {
        ScopedLock lock(m_editLock);
        if (!m_edits.empty())
            m_edits.pop_back();
    }
    Repaint();
    SaveCurrentImage();
}

void ImageView::AddText(CString text)
{
    auto record = std::make_unique<ImageEditRecord>();
    record->type = IMAGE_EDIT_TEXT;
    record->text = text;
    record->size = m_fontSize;
    record->colour = Opaque(m_colour);
    record->x = m_rect.left + m_rect.Width() / 2;
    record->y = m_rect.top + m_rect.Height() / 2;
    AppendRecord(std::move(record));
    Repaint();
    m_bDirty = 0;
    SaveCurrentImage();
}

void ImageView::AddImage(CString)
{
    m_drawMode = IMAGE_MODE_NONE;
    Repaint();
}

void ImageView::SetFontSize(int size)
{
    m_fontSize = size;
    {
        ScopedLock lock(m_editLock);
        if (m_selected >= 0 && m_selected < static_cast<int>(m_edits.size()))
        {
            ImageEditRecord& record = *m_edits[static_cast<size_t>(m_selected)];
            if (record.type == IMAGE_EDIT_TEXT)
                record.size = size;
        }
    }
    Repaint();
}

void ImageView::SetColorValue(COLORREF colour)
{
    m_colour = colour;
    {
        ScopedLock lock(m_editLock);
        if (m_selected >= 0 && m_selected < static_cast<int>(m_edits.size()))
            m_edits[static_cast<size_t>(m_selected)]->colour = Opaque(colour);
    }
    Repaint();
    m_bDirty = 0;
    SaveCurrentImage();
}

void ImageView::SetShowGridLine(int show)
{
    m_bGrid = show;
    Repaint();
}

void ImageView::SetScale100(float) { Repaint(); }

void ImageView::Repaint() { UpdateControl(1, 0); }

// ---- geometry and drawing -------------------------------------------------------------------------

CRect ImageView::GetImageRect(int width, int height, CRect box) const
{
    const int64_t boxWidth = box.Width();
    const int64_t boxHeight = box.Height();
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return CRect();
    const int64_t w = width;
    const int64_t h = height;
    int64_t fitWidth = w;
    int64_t fitHeight = h;
    if (w > boxWidth && h > boxHeight)
    {
        // Aspect ratios compared as cross-products: a quotient of whole
        // numbers would call 1300 x 1000 as wide as 400 x 350.
        if (w * boxHeight > boxWidth * h)
        {
            fitWidth = boxWidth;
            fitHeight = boxWidth * h / w;
        }
        else
        {
            fitWidth = boxHeight * w / h;
            fitHeight = boxHeight;
        }
    }
    else if (w > boxWidth)
    {
        fitWidth = boxWidth;
        fitHeight = boxWidth * h / w;
    }
    else if (h > boxHeight)
    {
        fitWidth = boxHeight * w / h;
        fitHeight = boxHeight;
    }
    if (fitWidth <= 0 || fitHeight <= 0)
        return CRect();
    const int left = box.left + static_cast<int>((boxWidth - fitWidth) / 2);
    const int top = box.top + static_cast<int>((boxHeight - fitHeight) / 2);
    return CRect(left, top, left + static_cast<int>(fitWidth), top + static_cast<int>(fitHeight));
}

HBITMAP ImageView::CreateARGB32Bitmap(HDC dc, int width, int height, BYTE** bits)
{
    if (bits)
        *bits = nullptr;
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits)
        *bits = bitmap ? static_cast<BYTE*>(pixels) : nullptr;
    return bitmap;
}

Gdiplus::FontFamily* ImageView::TextFamily()
{
    if (Gdiplus::FontFamily* family = GetFontFamily(m_fontName))
        return family;
    if (!m_pFallbackFamily)
        m_pFallbackFamily.reset(MRender::CreateFontFamily(m_fontName));
    return m_pFallbackFamily.get();
}

void ImageView::DrawLayer(Gdiplus::Graphics& graphics, CRect origin, int onScreen)
{
    const int ox = origin.left;
    const int oy = origin.top;
    ScopedLock lock(m_editLock);
    for (size_t i = 0; i < m_edits.size(); ++i)
    {
        ImageEditRecord& record = *m_edits[i];
        if (record.type == IMAGE_EDIT_TEXT)
        {
            if (record.text.IsEmpty())
                continue;
            Gdiplus::FontFamily* family = TextFamily();
            if (!family)
                continue;
            Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(record.size), m_fontStyle, Gdiplus::UnitPixel);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentNear);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            format.SetFormatFlags(kStringFlags);
            const Gdiplus::PointF at(static_cast<Gdiplus::REAL>(record.x - ox),
                                     static_cast<Gdiplus::REAL>(record.y - oy));
            Gdiplus::RectF bounds;
            graphics.MeasureString(record.text, -1, &font, at, &format, &bounds);
            const int width = static_cast<int>(bounds.Width + kTextPadding);
            const int height = static_cast<int>(bounds.Height + kTextPadding);
            record.textRect = {record.x, record.y, record.x + width, record.y + height};
            const Gdiplus::RectF layout(at.X, at.Y, static_cast<Gdiplus::REAL>(width),
                                        static_cast<Gdiplus::REAL>(height));
            Gdiplus::SolidBrush brush{Gdiplus::Color(record.colour)};
            graphics.DrawString(record.text, -1, &font, layout, &format, &brush);
            if (onScreen && static_cast<int>(i) == m_selected)
            {
                Gdiplus::Pen frame(Gdiplus::Color(kSelectionFrame), kSelectionFrameWidth);
                graphics.DrawRectangle(&frame, layout);
            }
        }
        else if (record.pointCount >= 2)
        {
            std::vector<Gdiplus::Point> points(static_cast<size_t>(record.pointCount));
            for (int p = 0; p < record.pointCount; ++p)
                points[static_cast<size_t>(p)] = Gdiplus::Point(record.points[p].x - ox, record.points[p].y - oy);
            Gdiplus::Pen pen(Gdiplus::Color(record.colour), static_cast<Gdiplus::REAL>(record.size));
            graphics.DrawCurve(&pen, points.data(), record.pointCount);
        }
    }
}

void ImageView::DrawLayer2(Gdiplus::Graphics& graphics, CRect target, int)
{
    const int width = target.Width();
    const int height = target.Height();
    const int controlWidth = m_rect.Width();
    const int controlHeight = m_rect.Height();
    const CRect fitted = GetImageRect(width, height, m_rect);
    if (width <= 0 || height <= 0 || controlWidth <= 0 || controlHeight <= 0 || fitted.Width() <= 0)
        return;
    ScopedLock lock(m_editLock);
    for (const std::unique_ptr<ImageEditRecord>& entry : m_edits)
    {
        const ImageEditRecord& record = *entry;
        if (record.type == IMAGE_EDIT_TEXT)
        {
            Gdiplus::FontFamily* family = TextFamily();
            if (record.text.IsEmpty() || !family)
                continue;
            const float size = static_cast<float>(record.size) * width / fitted.Width();
            Gdiplus::Font font(family, size, m_fontStyle, Gdiplus::UnitPixel);
            Gdiplus::StringFormat format;
            format.SetAlignment(Gdiplus::StringAlignmentNear);
            format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            format.SetFormatFlags(kStringFlags);
            const Gdiplus::PointF at(static_cast<float>(record.x - m_rect.left) / controlWidth * width,
                                     static_cast<float>(record.y - m_rect.top) / controlHeight * height);
            Gdiplus::RectF bounds;
            graphics.MeasureString(record.text, -1, &font, at, &format, &bounds);
            const Gdiplus::RectF layout(at.X, at.Y, static_cast<float>(static_cast<int>(bounds.Width + kTextPadding)),
                                        static_cast<float>(static_cast<int>(bounds.Height + kTextPadding)));
            Gdiplus::SolidBrush brush{Gdiplus::Color(record.colour)};
            graphics.DrawString(record.text, -1, &font, layout, &format, &brush);
        }
        else if (record.pointCount >= 2)
        {
            std::vector<Gdiplus::Point> points(static_cast<size_t>(record.pointCount));
            for (int p = 0; p < record.pointCount; ++p)
                points[static_cast<size_t>(p)] =
                    Gdiplus::Point(record.points[p].x - target.left, record.points[p].y - target.top);
            Gdiplus::Pen pen(Gdiplus::Color(record.colour), static_cast<Gdiplus::REAL>(record.size));
            graphics.DrawCurve(&pen, points.data(), record.pointCount);
        }
    }
}

void ImageView::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        const int width = cell.width;
        const int height = cell.height;
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.Clear(Gdiplus::Color(kBlack));
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.SetTextRenderingHint(m_textHint);
        const CRect box(0, 0, width, height);
        if (m_bPreview)
        {
            ScopedLock lock(m_listLock);
            if (m_previewIndex >= 0 && m_previewIndex < static_cast<int>(m_items.size()))
            {
                const ImageViewItem& item = *m_items[static_cast<size_t>(m_previewIndex)];
                const CRect fitted = GetImageRect(item.width, item.height, box);
                if (item.image && !fitted.IsRectEmpty())
                    graphics.DrawImage(item.image.get(), Gdiplus::Rect(fitted.left, fitted.top, fitted.Width(),
                                                                        fitted.Height()));
            }
        }
        else
        {
            if (m_pEditImage)
            {
                m_displayRect = GetImageRect(m_imageWidth, m_imageHeight, box);
                if (!m_displayRect.IsRectEmpty())
                    graphics.DrawImage(m_pEditImage.get(), Gdiplus::Rect(m_displayRect.left, m_displayRect.top,
                                                                          m_displayRect.Width(),
                                                                          m_displayRect.Height()));
            }
            DrawLayer(graphics, m_rect, 1);
        }
        if (m_bGrid)
        {
            Gdiplus::Pen grid(Gdiplus::Color(kGridColour), 1.0f);
            grid.SetDashStyle(Gdiplus::DashStyleDashDot);
            for (int x = 0; x < width; x += kGridStep)
                graphics.DrawLine(&grid, x, 0, x, height);
            for (int y = 0; y < height; y += kGridStep)
                graphics.DrawLine(&grid, 0, y, width, y);
        }
    });
}

// ---- pointer input ----------------------------------------------------------------------------------

int ImageView::OnControlLButtonDown(UINT, CPoint pt)
{
    if (m_bPreview)
        return 0;
    if (m_drawMode == IMAGE_MODE_MOVE_TEXT)
    {
        {
            ScopedLock lock(m_editLock);
            m_selected = -1;
            for (size_t i = 0; i < m_edits.size(); ++i)
            {
                const ImageEditRecord& record = *m_edits[i];
                if (record.type == IMAGE_EDIT_TEXT && !record.text.IsEmpty() && ::PtInRect(&record.textRect, pt))
                {
                    m_selected = static_cast<int>(i);
                    break;
                }
            }
        }
        m_lastPoint = pt;
        Repaint();
        return 1;
    }
    if (m_drawMode == IMAGE_MODE_PEN || m_drawMode == IMAGE_MODE_ERASER)
    {
        auto record = std::make_unique<ImageEditRecord>();
        record->size = m_penSize;
        if (m_drawMode == IMAGE_MODE_PEN)
        {
            record->type = IMAGE_EDIT_PEN;
            record->colour = Opaque(m_colour);
        }
        else
        {
            // The eraser paints with what the window shows under the point.
            record->type = IMAGE_EDIT_ERASER;
            COLORREF under = 0;
            HWND window = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
            if (HDC windowDc = window ? ::GetDC(window) : nullptr)
            {
                const COLORREF pixel = ::GetPixel(windowDc, pt.x, pt.y);
                ::ReleaseDC(window, windowDc);
                if (pixel != CLR_INVALID)
                    under = pixel;
            }
            record->colour = Opaque(under);
        }
        record->points[0] = pt;
        record->pointCount = 1;
        {
            ScopedLock lock(m_editLock);
            m_edits.push_back(std::move(record));
            m_selected = static_cast<int>(m_edits.size()) - 1;
        }
        m_lastPoint = pt;
        Repaint();
        return 1;
    }
    return 1;
}

int ImageView::OnControlMouseMove(UINT flags, CPoint pt)
{
    if (m_bPreview || !(flags & MK_LBUTTON))
        return 0;
    if (!m_rect.PtInRect(pt))
    {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return 0;
    }
    const int dx = pt.x - m_lastPoint.x;
    const int dy = pt.y - m_lastPoint.y;
    if (m_drawMode == IMAGE_MODE_MOVE_TEXT)
    {
        if (std::abs(dx) <= kTextMoveThreshold && std::abs(dy) <= kTextMoveThreshold)
            return 0;
        m_bDirty = 1;
        {
            ScopedLock lock(m_editLock);
            if (m_selected >= 0 && m_selected < static_cast<int>(m_edits.size()))
            {
                ImageEditRecord& record = *m_edits[static_cast<size_t>(m_selected)];
                record.x = Clamp(record.x + dx, m_rect.left, m_rect.right);
                record.y = Clamp(record.y + dy, m_rect.top, m_rect.bottom);
            }
        }
        Repaint();
        m_lastPoint = pt;
        return 0;
    }
    if (m_drawMode == IMAGE_MODE_PEN || m_drawMode == IMAGE_MODE_ERASER)
    {
        if (std::abs(dx) <= kStrokeMoveThreshold && std::abs(dy) <= kStrokeMoveThreshold)
            return 0;
        {
            ScopedLock lock(m_editLock);
            if (m_selected >= 0 && m_selected < static_cast<int>(m_edits.size()))
            {
                ImageEditRecord& record = *m_edits[static_cast<size_t>(m_selected)];
                if (record.type != IMAGE_EDIT_TEXT && record.pointCount < ImageEditRecord::kMaxPoints)
                {
                    record.points[record.pointCount++] = pt;
                    m_bDirty = 1;
                }
            }
        }
        Repaint();
        m_lastPoint = pt;
    }
    return 0;
}

int ImageView::OnControlLButtonUp(UINT, CPoint)
{
    if (m_bPreview)
        return 0;
    Repaint();
    if (m_bDirty)
    {
        m_bDirty = 0;
        SaveCurrentImage();
    }
    return 0;
}

int ImageView::OnControlScroll(int, UINT direction, CPoint)
{
    if (m_bPreview)
        return 0;
    bool changed = false;
    {
        ScopedLock lock(m_editLock);
        if (m_selected >= 0 && m_selected < static_cast<int>(m_edits.size()))
        {
            ImageEditRecord& record = *m_edits[static_cast<size_t>(m_selected)];
            const int step = direction == kWheelTowardUser ? -kSizeStep : kSizeStep;
            record.size = std::min(std::max(record.size + step, kMinRecordSize), kMaxRecordSize);
            changed = true;
        }
    }
    if (changed)
    {
        m_bDirty = 0;
        SaveCurrentImage();
    }
    Repaint();
    return 1;
}

int ImageView::OnControlRButtonDown(UINT, CPoint) { return 0; }

int ImageView::OnControlRButtonUp(UINT, CPoint pt)
{
    if (!m_bPreview && m_rect.PtInRect(pt))
        SendMessageW(NC_RCLICK, 0, 0);
    return 0;
}

} // namespace VREL
