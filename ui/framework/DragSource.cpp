// The source side of a drag: when it ends, and the picture under the cursor.

#include <shlobj.h>

#include "ui/framework/DragDrop.h"

namespace VREL {

// ---- CIDropSource --------------------------------------------------------------------------

CIDropSource::CIDropSource() : m_refCount(0), m_bDropped(0) {}

CIDropSource::~CIDropSource() = default;

HRESULT STDMETHODCALLTYPE CIDropSource::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource))
    {
        *object = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDropSource::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG STDMETHODCALLTYPE CIDropSource::Release()
{
    const LONG count = --m_refCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CIDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keys)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if (keys & (MK_LBUTTON | MK_RBUTTON))
        return S_OK;
    m_bDropped = 1;
    return DRAGDROP_S_DROP;
}

HRESULT STDMETHODCALLTYPE CIDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- CDragSourceHelper ---------------------------------------------------------------------

CDragSourceHelper::CDragSourceHelper() : m_pDragSourceHelper(nullptr)
{
    // Without the shell object a drag simply shows no picture.
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                  reinterpret_cast<void**>(&m_pDragSourceHelper))))
        m_pDragSourceHelper = nullptr;
}

CDragSourceHelper::~CDragSourceHelper()
{
    if (m_pDragSourceHelper)
        m_pDragSourceHelper->Release();
}

HRESULT CDragSourceHelper::InitializeFromBitmap(HBITMAP bitmap, POINT& hotspot, RECT& rect, IDataObject* data,
                                                COLORREF key)
{
    if (!m_pDragSourceHelper)
        return E_FAIL;
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    SHDRAGIMAGE image = {};
    image.sizeDragImage.cx = info.bmWidth;
    image.sizeDragImage.cy = info.bmHeight;
    image.ptOffset.x = hotspot.x - rect.left;
    image.ptOffset.y = hotspot.y - rect.top;
    image.hbmpDragImage = bitmap;
    image.crColorKey = key;
    return m_pDragSourceHelper->InitializeFromBitmap(&image, data);
}

HRESULT CDragSourceHelper::InitializeFromWindow(HWND window, POINT& point, IDataObject* data)
{
    if (!m_pDragSourceHelper)
        return E_FAIL;
    return m_pDragSourceHelper->InitializeFromWindow(window, &point, data);
}

} // namespace VREL
