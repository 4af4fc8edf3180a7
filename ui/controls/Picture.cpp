#include "ui/controls/Picture.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr UINT kAlignLeft = 0;
constexpr UINT kAlignRight = 2;
constexpr UINT kAlignTop = 0;
constexpr UINT kAlignBottom = 8;

constexpr int kPictureFrames = 1;
// The photo frame: four cells (normal, hover, pressed, spare); the picture's
// strip is drawn as a nine-grid with corners of 12.
constexpr int kPhotoCells = 4;
constexpr int kPhotoPictureCells = 3;
constexpr int kPhotoPictureCorner = 12;
// The sliding picture moves a hundredth of its size per step and fills the
// part not yet covered with a light grey.
constexpr int kSlideDivisions = 100;
constexpr COLORREF kSlideUncovered = 0xF2F2F2;
// The animated picture: the cache always loads it as a strip of 4, and it
// steps one frame every fifth tick.
constexpr int kGifCacheFrames = 4;
constexpr int kGifTicksPerFrame = 5;

// A newly loaded image with the size of one of its count frames (side by
// side); nothing when it did not decode, and the image is freed.
FramedImage Framed(Gdiplus::Image* loaded, int count)
{
    if (loaded && loaded->GetLastStatus() != Gdiplus::Ok)
    {
        delete loaded;
        loaded = nullptr;
    }
    if (!loaded)
        return FramedImage();
    // A strip has at least one frame; a count of 0 would divide by zero.
    const UINT frames = static_cast<UINT>(std::max(count, 1));
    return FramedImage{loaded, CSize(static_cast<int>(loaded->GetWidth() / frames),
                                     static_cast<int>(loaded->GetHeight()))};
}

// An image that the control owns, replaced by a newly loaded one: the old
// one is freed first, and the frame size is the new image's.
int TakeOwnedImage(Gdiplus::Image*& image, int& frameWidth, int& frameHeight, const FramedImage& loaded)
{
    delete image;
    image = loaded.image;
    frameWidth = loaded.frame.cx;
    frameHeight = loaded.frame.cy;
    return image ? 1 : 0;
}

int TakeOwnedImage(Gdiplus::Image*& image, int& frameWidth, int& frameHeight, Gdiplus::Image* loaded, int count)
{
    return TakeOwnedImage(image, frameWidth, frameHeight, Framed(loaded, count));
}

Gdiplus::Image* LoadSkinImage(const wchar_t* file)
{
    return MRender::LoadImageFromFile(GetSkinFolder() + file);
}

Gdiplus::Image* LoadAppResourceImage(UINT id, const CString& type)
{
    return MRender::LoadImageFromIDResource(id, type, Manager::GetInstance());
}

// A picture's image and look, started before the picture exists.
struct PreparedLook
{
    CString path;
    int count = 1;
    CRect rect;
    WindowBase base;
    LookInputs inputs;
    std::thread decoder;
    std::shared_future<FramedImage> decoded;
    bool imageTaken = false;
    std::unique_ptr<LookAhead> look;

    ~PreparedLook()
    {
        // The look's thread waits for the decoder and reads the image.
        look.reset();
        if (decoder.joinable())
            decoder.join();
        if (!imageTaken)
            delete decoded.get().image;
    }
};

// Never destroyed: at the library's unload the process may already have
// lost the threads, and joining them there would wait under the loader's
// lock. The program drops what it prepared once its window is built.
struct PreparedLooks
{
    std::mutex lock;
    std::vector<std::unique_ptr<PreparedLook>> looks;
};

PreparedLooks& Prepared()
{
    static PreparedLooks* prepared = new PreparedLooks;
    return *prepared;
}

// The prepared look of path with count frames, which the caller now owns;
// null when there is none.
std::unique_ptr<PreparedLook> TakePrepared(const CString& path, int count)
{
    PreparedLooks& prepared = Prepared();
    std::lock_guard<std::mutex> lock(prepared.lock);
    for (auto it = prepared.looks.begin(); it != prepared.looks.end(); ++it)
    {
        if ((*it)->path == path && (*it)->count == count)
        {
            std::unique_ptr<PreparedLook> look = std::move(*it);
            prepared.looks.erase(it);
            return look;
        }
    }
    return nullptr;
}

// SetShowMode shared by the pictures: nothing changes when the mode is the
// current one (for mode 3: with the same corner size too); a change repaints
// the picture's content.
int ApplyShowMode(MControl& picture, PictureFill& fill, enumShowMode mode, int size)
{
    if (mode == fill.mode && (mode != SHOW_MODE_FRAME || size == fill.corner))
        return 0;
    fill.corner = size;
    fill.mode = mode;
    picture.UpdateControl(1, 0);
    return 1;
}

// SetShowModeMID shared by the pictures.
int ApplyMargins(MControl& picture, PictureFill& fill, int left, int top, int right, int bottom)
{
    fill.left = left;
    fill.top = top;
    fill.right = right;
    fill.bottom = bottom;
    fill.mode = SHOW_MODE_FRAME_MID;
    picture.UpdateControl(1, 0);
    return 1;
}

// Draws the first frame (fw x fh) of image over (0, 0, w, h) in the fill's
// show mode; mode 5 needs the custom source rectangle.
void DrawFill(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int fw, int fh, int w, int h, const PictureFill& fill,
              UINT hAlign, UINT vAlign, const CRect* custom)
{
    if (!image)
        return;
    graphics.SetPageUnit(Gdiplus::UnitPixel);
    switch (fill.mode)
    {
    case SHOW_MODE_NORMAL:
    {
        const int x = (hAlign == kAlignLeft) ? 0 : (hAlign == kAlignRight) ? w - fw : (w - fw) / 2;
        const int y = (vAlign == kAlignTop) ? 0 : (vAlign == kAlignBottom) ? h - fh : (h - fh) / 2;
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        graphics.DrawImage(image, Gdiplus::Rect(x, y, fw, fh), 0, 0, fw, fh, Gdiplus::UnitPixel);
        break;
    }
    case SHOW_MODE_TILE:
    {
        // A frame of no size has nothing to tile.
        if (fw <= 0 || fh <= 0)
            break;
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        for (int i = 0; i <= w / fw; ++i)
        {
            for (int j = 0; j <= h / fh; ++j)
            {
                const int x = i * fw;
                const int y = j * fh;
                const int cw = std::min(fw, w - x);
                const int ch = std::min(fh, h - y);
                if (cw > 0 && ch > 0)
                    graphics.DrawImage(image, Gdiplus::Rect(x, y, cw, ch), 0, 0, cw, ch, Gdiplus::UnitPixel);
            }
        }
        break;
    }
    case SHOW_MODE_STRETCH:
        graphics.DrawImage(image, Gdiplus::Rect(0, 0, w, h), 0, 0, fw, fh, Gdiplus::UnitPixel);
        break;
    case SHOW_MODE_FRAME:
        MRender::DrawImageFrame(graphics, image, CRect(0, 0, w, h), 0, 0, fw, fh, fill.corner);
        break;
    case SHOW_MODE_FRAME_MID:
        MRender::DrawImageFrameMID(graphics, image, CRect(0, 0, w, h), 0, 0, fw, fh, fill.left, fill.top,
                                   fill.right, fill.bottom);
        break;
    case SHOW_MODE_CUSTOM:
        if (custom)
            graphics.DrawImage(image, Gdiplus::Rect(0, 0, w, h), custom->left, custom->top, custom->Width(),
                               custom->Height(), Gdiplus::UnitPixel);
        break;
    default:
        break;
    }
}

void CopyBackground(HDC cache, HDC& target, const CRect& rect)
{
    MRender::BitBlt(cache, 0, 0, rect.Width(), rect.Height(), target, rect.left, rect.top);
}

} // namespace

// ------------------------------------------------------------------- MPicture

MPicture::MPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1)
{
    m_frameCount = kPictureFrames;
}

MPicture::~MPicture()
{
    // The look-ahead's thread reads the image.
    m_lookAhead.reset();
    delete m_pImage;
}

LookInputs MPicture::CurrentLookInputs() const
{
    LookInputs inputs;
    inputs.Add(m_rect.Width()).Add(m_rect.Height());
    inputs.Add(m_fill.mode).Add(m_fill.corner).Add(m_fill.left).Add(m_fill.top).Add(m_fill.right).Add(m_fill.bottom);
    inputs.Add(m_hAlign).Add(m_vAlign);
    inputs.Add(m_customRect.left).Add(m_customRect.top).Add(m_customRect.right).Add(m_customRect.bottom);
    return inputs;
}

void MPicture::StartLook(LookAhead& look, const std::shared_future<FramedImage>& image, const WindowBase& base)
{
    // The thread gets copies of everything but the image, which nothing
    // touches before the look-ahead is delivered or discarded.
    const PictureFill fill = m_fill;
    const UINT hAlign = m_hAlign;
    const UINT vAlign = m_vAlign;
    const CRect custom = m_customRect;
    const CRect rect = m_rect;
    auto under = [base, rect](int y, std::uint32_t* row) { base.FillRow(rect.top + y, rect.left, rect.Width(), row); };
    look.Start(rect.Width(), rect.Height(), under, [=](const StateCell& cell) {
        const FramedImage& framed = image.get();
        if (framed.image)
            DrawFill(cell.graphics, framed.image, framed.frame.cx, framed.frame.cy, cell.width, cell.height, fill,
                     hAlign, vAlign, &custom);
    });
}

int MPicture::RenderAhead()
{
    PaintManager* manager = GetManager();
    WindowBase base;
    if (!m_pImage || !m_bVisible || m_rect.IsRectEmpty() || !manager || !manager->ExpectedBase(base))
    {
        m_lookAhead.reset();
        return 0;
    }
    // One prepared before the window existed is the same look when it is
    // rendered over the same base at the same place from the same inputs.
    if (m_lookAhead && m_lookAhead->Pending() && m_lookAheadInputs == CurrentLookInputs() &&
        m_lookAheadRect == m_rect && m_lookAheadBase == base)
        return 1;
    if (m_lookAhead)
        m_lookAhead->Discard();
    else
        m_lookAhead = std::make_unique<LookAhead>();
    m_lookAheadInputs = CurrentLookInputs();
    m_lookAheadRect = m_rect;
    m_lookAheadBase = base;
    std::promise<FramedImage> image;
    image.set_value(FramedImage{m_pImage, CSize(m_frameWidth, m_frameHeight)});
    StartLook(*m_lookAhead, image.get_future().share(), base);
    return m_lookAhead->Pending() ? 1 : 0;
}

void MPicture::PrepareLook(const wchar_t* file, int count, const CRect& rect, enumShowMode mode, int size,
                           const WindowBase& base)
{
    auto prepared = std::make_unique<PreparedLook>();
    prepared->path = GetSkinFolder() + file;
    prepared->count = count;
    prepared->rect = rect;
    prepared->base = base;
    // A new picture placed and set up as the window will: the look's
    // inputs are then the ones that picture will have.
    MPicture picture(nullptr, 0, rect, 1, 1);
    picture.SetShowMode(mode, size);
    prepared->inputs = picture.CurrentLookInputs();
    // Measured where it is decoded: once the look draws it, GDI+ may report
    // the image busy to any other thread that asks.
    std::packaged_task<FramedImage()> decode(
        [path = prepared->path, count] { return Framed(MRender::DecodeImageFile(path), count); });
    prepared->decoded = decode.get_future().share();
    prepared->decoder = std::thread(std::move(decode));
    prepared->look = std::make_unique<LookAhead>();
    picture.StartLook(*prepared->look, prepared->decoded, base);
    PreparedLooks& looks = Prepared();
    std::lock_guard<std::mutex> lock(looks.lock);
    looks.looks.push_back(std::move(prepared));
}

void MPicture::DropPreparedLooks()
{
    std::vector<std::unique_ptr<PreparedLook>> dropped;
    {
        PreparedLooks& looks = Prepared();
        std::lock_guard<std::mutex> lock(looks.lock);
        dropped.swap(looks.looks);
    }
}

int MPicture::SetImage(const wchar_t* file, int count)
{
    m_lookAhead.reset();
    m_frameCount = count;
    std::unique_ptr<PreparedLook> prepared = TakePrepared(GetSkinFolder() + file, count);
    if (prepared)
        prepared->imageTaken = true;
    const FramedImage loaded = prepared ? prepared->decoded.get() : Framed(LoadSkinImage(file), count);
    const int result = TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, loaded);
    // The look reads the image, which is this picture's now: RenderAhead
    // keeps it or drops it, and so does anything that replaces the image.
    if (prepared && result)
    {
        m_lookAhead = std::move(prepared->look);
        m_lookAheadInputs = prepared->inputs;
        m_lookAheadRect = prepared->rect;
        m_lookAheadBase = prepared->base;
    }
    UpdateControl(1, 0);
    return result;
}

int MPicture::SetImage(UINT id, CString type, int count)
{
    m_lookAhead.reset();
    m_frameCount = count;
    const int result = TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, LoadAppResourceImage(id, type), count);
    if (result)
        UpdateControl(1, 0);
    return result;
}

int MPicture::SetShowMode(enumShowMode mode, int size) { return ApplyShowMode(*this, m_fill, mode, size); }

int MPicture::SetShowModeMID(int left, int top, int right, int bottom)
{
    return ApplyMargins(*this, m_fill, left, top, right, bottom);
}

void MPicture::DrawControl(HDC& dc, CRect)
{
    // A look rendered ahead for a place or a show mode the picture no longer has is of no use.
    if (m_lookAhead && m_lookAhead->Pending() && m_lookAheadInputs != CurrentLookInputs())
        m_lookAhead->Discard();
    DrawCachedLook(
        *this, dc, m_hMemDC,
        [&](const StateCell& cell) {
            DrawFill(cell.graphics, m_pImage, m_frameWidth, m_frameHeight, cell.width, cell.height, m_fill, m_hAlign,
                     m_vAlign, &m_customRect);
        },
        m_lookAhead.get());
}

// ---------------------------------------------------------------- CPhotoFrame

CPhotoFrame::CPhotoFrame(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_pFrameImage(nullptr),
      m_frameImageWidth(0),
      m_frameImageHeight(0),
      m_state(0)
{
    m_frameCount = kPictureFrames;
}

CPhotoFrame::~CPhotoFrame()
{
    delete m_pImage;
    delete m_pFrameImage;
}

int CPhotoFrame::SetImage(const wchar_t* file, int count)
{
    m_frameCount = count;
    return TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, LoadSkinImage(file), count);
}

int CPhotoFrame::SetImage(UINT id, CString type, int count)
{
    m_frameCount = count;
    return TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, LoadAppResourceImage(id, type), count);
}

int CPhotoFrame::SetPhotoFrame(const wchar_t* file, int count)
{
    return TakeOwnedImage(m_pFrameImage, m_frameImageWidth, m_frameImageHeight, LoadSkinImage(file), count);
}

int CPhotoFrame::SetPhotoFrame(UINT id, CString type, int count)
{
    return TakeOwnedImage(m_pFrameImage, m_frameImageWidth, m_frameImageHeight, LoadAppResourceImage(id, type),
                          count);
}

int CPhotoFrame::SetShowMode(enumShowMode mode, int size) { return ApplyShowMode(*this, m_fill, mode, size); }

int CPhotoFrame::SetShowModeMID(int left, int top, int right, int bottom)
{
    return ApplyMargins(*this, m_fill, left, top, right, bottom);
}

void CPhotoFrame::DrawControl(HDC& dc, CRect)
{
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, kPhotoCells * w, h);
        CopyBackground(m_hMemDC, dc, m_rect);
        {
            Gdiplus::Graphics graphics(m_hMemDC);
            // A frame image larger than the control must not spill into the
            // next cell.
            graphics.SetClip(Gdiplus::Rect(0, 0, w, h));
            DrawFill(graphics, m_pFrameImage, m_frameImageWidth, m_frameImageHeight, w, h, m_fill, m_hAlign,
                     m_vAlign, nullptr);
        }
        // Every cell starts from the same background and frame, picture or
        // not, so that no state shows an unpainted cell.
        for (int i = 1; i < kPhotoCells; ++i)
            MRender::BitBlt(m_hMemDC, i * w, 0, w, h, m_hMemDC, 0, 0);
        if (m_pImage)
        {
            Gdiplus::Graphics graphics(m_hMemDC);
            graphics.SetPageUnit(Gdiplus::UnitPixel);
            // Cell i shows frame i of the picture's strip; a strip with fewer
            // frames repeats its last one.
            const int lastFrame = std::max(m_frameCount, 1) - 1;
            for (int i = 0; i < kPhotoPictureCells; ++i)
            {
                const int frame = std::min(i, lastFrame);
                MRender::DrawImageFrame(graphics, m_pImage, CRect(i * w, 0, (i + 1) * w, h), frame * m_frameWidth, 0,
                                        m_frameWidth, m_frameHeight, kPhotoPictureCorner);
            }
        }
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hMemDC, m_state * w, 0);
}

int CPhotoFrame::ChangeState(int state)
{
    if (state == m_state)
        return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

int CPhotoFrame::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_state == 2)
        return 0;
    return ChangeState(m_rect.PtInRect(pt) ? 1 : 0);
}

int CPhotoFrame::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt) || m_state == 2)
        return 0;
    m_state = 2;
    SendMessageW(NC_PRESSED, 0, 0);
    UpdateControl(0, 0);
    return 1;
}

int CPhotoFrame::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    const bool inside = m_rect.PtInRect(pt) != 0;
    const bool click = inside && m_state == 2;
    if (!ChangeState(inside ? 1 : 0))
        return 0;
    if (click)
        SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

// ------------------------------------------------------------- CSliderPicture

CSliderPicture::CSliderPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_direction(SLIDER_LEFT_TO_RIGHT),
      m_tickCount(0),
      m_ticksPerStep(1),
      m_position(0),
      m_endPosition(0)
{
    m_frameCount = kPictureFrames;
    m_bRunTimer = 1;
}

CSliderPicture::~CSliderPicture() { delete m_pImage; }

void CSliderPicture::InitControl(PaintManager*) {}

int CSliderPicture::SetImage(const wchar_t* file, int count)
{
    m_frameCount = count;
    return TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, LoadSkinImage(file), count);
}

int CSliderPicture::SetImage(UINT id, CString type, int count)
{
    m_frameCount = count;
    return TakeOwnedImage(m_pImage, m_frameWidth, m_frameHeight, LoadAppResourceImage(id, type), count);
}

int CSliderPicture::SetShowMode(enumShowMode mode, int size) { return ApplyShowMode(*this, m_fill, mode, size); }

int CSliderPicture::SetShowModeMID(int left, int top, int right, int bottom)
{
    return ApplyMargins(*this, m_fill, left, top, right, bottom);
}

int CSliderPicture::SetRun(int run, SLIDER_MODE direction)
{
    if (!m_bEnabled)
        return m_bRunning;
    const bool changed = (run != m_bRunning);
    m_bRunning = run;
    m_direction = direction;
    switch (direction)
    {
    case SLIDER_LEFT_TO_RIGHT:
        m_position = 0;
        m_endPosition = m_rect.Width();
        break;
    case SLIDER_TOP_TO_BOTTOM:
        m_position = m_rect.top;
        m_endPosition = m_rect.bottom;
        break;
    case SLIDER_RIGHT_TO_LEFT:
        m_position = m_rect.right;
        m_endPosition = m_rect.left;
        break;
    default:
        break;
    }
    if (changed)
        UpdateControl(1, 0);
    return m_bRunning;
}

int CSliderPicture::OnControlTimer()
{
    if (!m_bRunning || !m_bVisible)
        return 0;
    if (++m_tickCount >= m_ticksPerStep)
    {
        m_tickCount = 0;
        // At least a pixel per step: a picture smaller than a hundred pixels
        // would otherwise never arrive.
        const int across = std::max(m_rect.Width() / kSlideDivisions, 1);
        const int down = std::max(m_rect.Height() / kSlideDivisions, 1);
        switch (m_direction)
        {
        case SLIDER_LEFT_TO_RIGHT:
            m_position += across;
            if (m_position >= m_endPosition)
                m_bRunning = 0;
            break;
        case SLIDER_TOP_TO_BOTTOM:
            m_position += down;
            if (m_position >= m_endPosition)
                m_bRunning = 0;
            break;
        case SLIDER_RIGHT_TO_LEFT:
            m_position -= across;
            if (m_position <= m_endPosition)
                m_bRunning = 0;
            break;
        default:
            break;
        }
    }
    // The cached picture stays valid; only the visible part moves.
    InvalidateRect(nullptr, FALSE);
    return 1;
}

void CSliderPicture::DrawControl(HDC& dc, CRect)
{
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (!m_bUpdate)
    {
        UpdateMemDC(dc, w, h);
        CopyBackground(m_hMemDC, dc, m_rect);
        Gdiplus::Graphics graphics(m_hMemDC);
        DrawFill(graphics, m_pImage, m_frameWidth, m_frameHeight, w, h, m_fill, m_hAlign, m_vAlign, nullptr);
    }
    switch (m_direction)
    {
    case SLIDER_LEFT_TO_RIGHT:
    {
        const int shown = std::min(std::max(m_position, 0), w);
        MRender::BitBlt(dc, m_rect.left, m_rect.top, shown, h, m_hMemDC, w - shown, 0);
        if (shown < w)
            MRender::FillSolidRect(dc, m_rect.left + shown, m_rect.top, w - shown, h, kSlideUncovered);
        break;
    }
    case SLIDER_TOP_TO_BOTTOM:
    {
        const int shown = std::min(std::max(m_position - static_cast<int>(m_rect.top), 0), h);
        MRender::BitBlt(dc, m_rect.left, m_rect.top, w, shown, m_hMemDC, 0, h - shown);
        if (shown < h)
            MRender::FillSolidRect(dc, m_rect.left, m_rect.top + shown, w, h - shown, kSlideUncovered);
        break;
    }
    case SLIDER_RIGHT_TO_LEFT:
    {
        const int shown = std::min(std::max(static_cast<int>(m_rect.right) - m_position, 0), w);
        MRender::BitBlt(dc, m_rect.right - shown, m_rect.top, shown, h, m_hMemDC, 0, 0);
        if (shown < w)
            MRender::FillSolidRect(dc, m_rect.left, m_rect.top, w - shown, h, kSlideUncovered);
        break;
    }
    default:
        break;
    }
    // Seen only while sliding: once arrived (or never started) it hides.
    if (m_bVisible && !m_bRunning)
    {
        SetControlVisible(0);
        if (m_pOwner)
            m_pOwner->OnControlUpdate(m_rect, 1, this);
    }
}

// ---------------------------------------------------------------- CGifPicture

CGifPicture::CGifPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_frameCount(0),
      m_stepCount(0),
      m_frameDimension(Gdiplus::FrameDimensionTime),
      m_frameIndex(0),
      m_bMouseTracking(false),
      m_tickCount(0)
{
    m_bRunTimer = 1;
}

// The image belongs to the window's image cache.
CGifPicture::~CGifPicture() = default;

int CGifPicture::SetImage(const wchar_t* file, int)
{
    if (!MControlFont::SetImage(file, kGifCacheFrames))
        return 0;
    OnSetImage(m_pImage);
    return 1;
}

void CGifPicture::OnSetImage(Gdiplus::Image* image)
{
    const UINT dimensions = image ? image->GetFrameDimensionsCount() : 0;
    if (dimensions == 0)
    {
        m_frameCount = 0;
        m_pImage = nullptr;
        return;
    }
    std::vector<GUID> list(dimensions);
    image->GetFrameDimensionsList(list.data(), dimensions);
    m_frameDimension = list[0];
    m_frameCount = static_cast<int>(image->GetFrameCount(&m_frameDimension));
}

int CGifPicture::SetRunState(int run, int frame)
{
    if (m_frameCount <= 1)
        return 0;
    m_frameIndex = frame;
    m_bRunning = (run != 0) ? 1 : 0;
    UpdateControl(0, 0);
    return 1;
}

int CGifPicture::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_bPressed || !m_bMouseTracking)
        return 0;
    if (m_frameCount > 1)
    {
        // Every move over the picture restarts it at its first frame.
        m_bRunning = m_rect.PtInRect(pt) ? 1 : 0;
        m_frameIndex = 0;
        UpdateControl(0, 0);
    }
    return 0;
}

int CGifPicture::OnControlTimer()
{
    if (!m_bRunning || !m_bVisible || !m_pImage)
        return 0;
    if (++m_tickCount >= kGifTicksPerFrame)
    {
        m_tickCount = 0;
        m_frameIndex = (m_frameIndex + 1 >= m_frameCount) ? 0 : m_frameIndex + 1;
        UpdateControl(1, 0);
    }
    return 0;
}

void CGifPicture::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        if (!m_pImage)
            return;
        SelectActiveFrame(m_frameIndex);
        cell.graphics.SetPageUnit(Gdiplus::UnitPixel);
        cell.graphics.DrawImage(m_pImage, 0, 0, cell.width, cell.height);
    });
}

void CGifPicture::ActiveNextFrame()
{
    if (m_frameCount < 2 || !m_pImage)
        return;
    m_stepCount = (m_stepCount + 1 >= m_frameCount) ? 0 : m_stepCount + 1;
    m_pImage->SelectActiveFrame(&m_frameDimension, static_cast<UINT>(m_stepCount));
}

void CGifPicture::SelectActiveFrame(int frame)
{
    if (m_frameCount > 1 && frame >= 0 && frame < m_frameCount && m_pImage)
        m_pImage->SelectActiveFrame(&m_frameDimension, static_cast<UINT>(frame));
}

int CGifPicture::IsAnimate() const { return m_frameCount > 1 ? 1 : 0; }

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterMPicture(MakeControlClass<MPicture, ControlForm::VisibleEnabled>(L"MPicture"));
const ControlRegistrar kRegisterCPhotoFrame(MakeControlClass<CPhotoFrame, ControlForm::VisibleEnabled>(L"CPhotoFrame"));
const ControlRegistrar kRegisterCSliderPicture(MakeControlClass<CSliderPicture, ControlForm::VisibleEnabled>(L"CSliderPicture"));
const ControlRegistrar kRegisterCGifPicture(MakeControlClass<CGifPicture, ControlForm::VisibleEnabled>(L"CGifPicture"));

} // namespace

} // namespace VREL
