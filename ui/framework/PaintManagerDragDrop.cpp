// Drag and drop of the paint manager: the window's drop target, the picture
// of a control being dragged, and the drag itself.

#include "ui/framework/PaintManager.h"

#include <new>

#include "ui/framework/DropImage.h"
#include "ui/framework/MControl.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

// Colours whose alpha byte is 0 wash nothing.
constexpr DWORD kNoWash = 0xFFFFFF;

FORMATETC Format(CLIPFORMAT format, DWORD storage)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, storage};
}

// Hands image to window as with a static control. The window owns what it
// keeps; an image it does not keep (it does not answer with it afterwards)
// is freed here, as is the image it gave back.
void HandImageToWindow(HWND window, HBITMAP image)
{
    if (!window || !::IsWindow(window))
    {
        ::DeleteObject(image);
        return;
    }
    auto previous = reinterpret_cast<HBITMAP>(
        ::SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image)));
    if (previous && previous != image)
        ::DeleteObject(previous);
    const auto kept = reinterpret_cast<HBITMAP>(::SendMessageW(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (kept != image)
        ::DeleteObject(image);
}

// The bitmap recorded as an enhanced metafile on the device of dc.
HENHMETAFILE RecordBitmap(HDC dc, HBITMAP bitmap, int width, int height)
{
    HDC recorder = ::CreateEnhMetaFileW(dc, nullptr, nullptr, nullptr);
    if (!recorder)
        return nullptr;
    HDC source = ::CreateCompatibleDC(dc);
    if (source)
    {
        HGDIOBJ previous = ::SelectObject(source, bitmap);
        ::BitBlt(recorder, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::SelectObject(source, previous);
        ::DeleteDC(source);
    }
    return ::CloseEnhMetaFile(recorder);
}

// Releases the cursor whatever way a drag start ends.
class CursorClip
{
public:
    explicit CursorClip(const RECT& area) { ::ClipCursor(&area); }
    ~CursorClip() { ::ClipCursor(nullptr); }
    CursorClip(const CursorClip&) = delete;
    CursorClip& operator=(const CursorClip&) = delete;
};

} // namespace

// ---- the window's drop target ------------------------------------------------------------

ULONG STDMETHODCALLTYPE PaintManager::Release()
{
    // The window object owns the manager: the last reference only ends the
    // count.
    if (m_refCount > 0)
        --m_refCount;
    return static_cast<ULONG>(m_refCount);
}

int PaintManager::InitDragDrop()
{
    SetTargetWnd(m_hWnd);
    AddRef();
    const HRESULT registered = ::RegisterDragDrop(m_hWnd, static_cast<IDropTarget*>(this));
    Release();
    if (FAILED(registered))
        return 0;
    m_bDropRegistered = 1;
    FORMATETC formats[] = {Format(CF_BITMAP, TYMED_GDI), Format(CF_DIB, TYMED_HGLOBAL),
                           Format(CF_HDROP, TYMED_HGLOBAL), Format(CF_ENHMETAFILE, TYMED_ENHMF)};
    for (FORMATETC& format : formats)
        AddSuportedFormat(format);
    return 1;
}

void PaintManager::RevokeDropTarget()
{
    if (!m_bDropRegistered)
        return;
    if (HasWindow())
        ::RevokeDragDrop(m_hWnd);
    m_bDropRegistered = 0;
}

void PaintManager::OnDragOver(POINTL point)
{
    const HWND target = GetTargetWnd();
    if (target && ::IsWindow(target))
        ::PostMessageW(target, WM_KEY_DRAG_OVER, 0, MAKELPARAM(point.x, point.y));
}

bool PaintManager::OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD*)
{
    const HWND target = GetTargetWnd();
    const bool exists = target && ::IsWindow(target);
    if (exists)
    {
        // The drag loop swallowed the button release the controls wait for.
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(target, &cursor);
        ::SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(cursor.x, cursor.y));
        ::PostMessageW(target, WM_KEY_DROP, 0, 0);
    }
    if (format)
    {
        if (HBITMAP image = DropImage::FromMedium(*format, medium, target))
            HandImageToWindow(target, image);
    }
    // The window got a copy if anything: the medium is released either way.
    return true;
}

// ---- pictures of controls ------------------------------------------------------------------

HBITMAP PaintManager::RenderControl(MControl* control, CSize canvasSize, const CRect& clip, CPoint origin, CSize size)
{
    if (!control || canvasSize.cx <= 0 || canvasSize.cy <= 0 || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    const HWND window = HasWindow() ? m_hWnd : nullptr;
    HDC windowDc = ::GetDC(window);
    HDC canvasDc = ::CreateCompatibleDC(windowDc);
    HBITMAP canvas = ::CreateCompatibleBitmap(windowDc, canvasSize.cx, canvasSize.cy);
    HDC copyDc = ::CreateCompatibleDC(windowDc);
    BYTE* bits = nullptr;
    HBITMAP picture = nullptr;
    if (canvasDc && canvas && copyDc)
    {
        HGDIOBJ previousCanvas = ::SelectObject(canvasDc, canvas);
        HDC drawDc = canvasDc;
        // A control with an out-of-date cached picture draws itself again over
        // what lies beneath it, here the blank canvas: its cache must not keep
        // that background for the window.
        const int cacheValid = control->GetUpdate();
        control->Draw(drawDc, clip);
        if (!cacheValid)
            control->SetUpdate(0, m_backColor);
        picture = MRender::CreateARGB32Bitmap(windowDc, size.cx, size.cy, &bits);
        if (picture)
        {
            HGDIOBJ previousPicture = ::SelectObject(copyDc, picture);
            ::BitBlt(copyDc, 0, 0, size.cx, size.cy, canvasDc, origin.x, origin.y, SRCCOPY);
            ::GdiFlush();
            ::SelectObject(copyDc, previousPicture);
        }
        ::SelectObject(canvasDc, previousCanvas);
    }
    if (canvas)
        ::DeleteObject(canvas);
    if (canvasDc)
        ::DeleteDC(canvasDc);
    if (copyDc)
        ::DeleteDC(copyDc);
    ::ReleaseDC(window, windowDc);
    return picture;
}

HBITMAP PaintManager::GetDropBitmap(MControl* control, const CRect& rect, DWORD)
{
    if (!control)
        return nullptr;
    const CRect box = control->GetRect();
    return RenderControl(control, CSize(box.right, box.bottom), box, CPoint(box.left + rect.left, box.top + rect.top),
                         rect.Size());
}

HBITMAP PaintManager::GenerateBitmap(MControl* control, const CRect& rect, DWORD colour)
{
    HBITMAP picture =
        RenderControl(control, CSize(rect.right, rect.bottom), rect, rect.TopLeft(), rect.Size());
    if (picture && colour > kNoWash)
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = ::SelectObject(dc, picture);
        MRender::DrawColor(dc, CRect(0, 0, rect.Width(), rect.Height()), colour);
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
    }
    return picture;
}

// ---- the drag --------------------------------------------------------------------------------

int PaintManager::StartDrag()
{
    if (!HasWindow() || !m_hDragBitmap)
    {
        m_bDragArmed = 0;
        return 0;
    }
    CRect area;
    ::GetWindowRect(m_hWnd, &area);
    const CursorClip clip(area);
    ReleaseCapture();
    m_bCaptured = 0;

    auto* source = new (std::nothrow) CIDropSource();
    auto* data = source ? new (std::nothrow) CIDataObject(source) : nullptr;
    HBITMAP duplicate = data ? static_cast<HBITMAP>(::OleDuplicateData(m_hDragBitmap, CF_BITMAP, 0)) : nullptr;
    if (!duplicate)
    {
        delete data;
        delete source;
        m_bDragArmed = 0;
        return 0;
    }
    source->AddRef();
    data->AddRef();

    FORMATETC bitmapFormat = Format(CF_BITMAP, TYMED_GDI);
    STGMEDIUM bitmapMedium = {};
    bitmapMedium.tymed = TYMED_GDI;
    bitmapMedium.hBitmap = duplicate;
    data->SetData(&bitmapFormat, &bitmapMedium, FALSE);

    BITMAP info = {};
    ::GetObjectW(duplicate, sizeof(info), &info);
    if (HENHMETAFILE metafile = RecordBitmap(m_hDcPaint, duplicate, info.bmWidth, info.bmHeight))
    {
        FORMATETC metafileFormat = Format(CF_ENHMETAFILE, TYMED_ENHMF);
        STGMEDIUM metafileMedium = {};
        metafileMedium.tymed = TYMED_ENHMF;
        metafileMedium.hEnhMetaFile = metafile;
        if (FAILED(data->SetData(&metafileFormat, &metafileMedium, TRUE)))
            ::DeleteEnhMetaFile(metafile);
    }

    {
        CDragSourceHelper helper;
        POINT hotspot = {info.bmWidth / 2, info.bmHeight / 2};
        RECT frame = {0, 0, info.bmWidth, info.bmHeight};
        // The shell keeps the picture only when it takes it.
        if (FAILED(helper.InitializeFromBitmap(duplicate, hotspot, frame, data, ::GetSysColor(COLOR_WINDOW))))
            ::DeleteObject(duplicate);
        DWORD effect = DROPEFFECT_NONE;
        ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    }

    source->Release();
    data->Release();
    m_bDragArmed = 0;
    m_bPressed = 0;
    return 1;
}

} // namespace VREL
