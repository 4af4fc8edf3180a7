// The drop target every library window registers: it picks the first
// supported format the dragged data offers, works out the effect from the
// keys and hands the data to its owner on a drop.

#include <shlobj.h>

#include "ui/framework/DragDrop.h"

namespace VREL {

CIDropTarget::CIDropTarget(HWND target)
    : m_refCount(0),
      m_bAllowDrop(0),
      m_pDropTargetHelper(nullptr),
      m_pSupportedFormat(nullptr),
      m_hTargetWnd(target)
{
    // Without the shell object the drag picture is not drawn over this window.
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                  reinterpret_cast<void**>(&m_pDropTargetHelper))))
        m_pDropTargetHelper = nullptr;
}

CIDropTarget::~CIDropTarget()
{
    if (m_pDropTargetHelper)
        m_pDropTargetHelper->Release();
    for (FORMATETC& format : m_formats)
        FreeFormatEtc(format);
}

HRESULT STDMETHODCALLTYPE CIDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget))
    {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDropTarget::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG STDMETHODCALLTYPE CIDropTarget::Release()
{
    const LONG count = --m_refCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

void CIDropTarget::AddSuportedFormat(FORMATETC& format)
{
    FORMATETC copy;
    CopyFormatEtc(copy, format);
    m_formats.push_back(copy);
    // The vector may have moved: the choice is made again at the next entry.
    m_pSupportedFormat = nullptr;
}

bool CIDropTarget::QueryDrop(DWORD keys, DWORD* effect)
{
    const DWORD allowed = *effect;
    if (!m_bAllowDrop)
    {
        *effect = DROPEFFECT_NONE;
        return false;
    }
    DWORD wanted = 0;
    if ((keys & MK_CONTROL) && (keys & MK_SHIFT))
        wanted = DROPEFFECT_LINK;
    else if (keys & MK_CONTROL)
        wanted = DROPEFFECT_COPY;
    else if (keys & MK_SHIFT)
        wanted = DROPEFFECT_MOVE;

    if (wanted == 0)
    {
        *effect = DROPEFFECT_NONE;
        for (const DWORD candidate : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
        {
            if (allowed & candidate)
            {
                *effect = candidate;
                break;
            }
        }
    }
    else
    {
        *effect = (allowed & wanted) ? wanted : DROPEFFECT_NONE;
    }
    return *effect != DROPEFFECT_NONE;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (!data || !effect)
        return E_INVALIDARG;
    if (m_pDropTargetHelper)
    {
        POINT at = {point.x, point.y};
        m_pDropTargetHelper->DragEnter(m_hTargetWnd, data, &at, *effect);
    }
    m_pSupportedFormat = nullptr;
    m_bAllowDrop = 0;
    for (FORMATETC& format : m_formats)
    {
        m_bAllowDrop = data->QueryGetData(&format) == S_OK ? 1 : 0;
        if (m_bAllowDrop)
        {
            m_pSupportedFormat = &format;
            break;
        }
    }
    QueryDrop(keys, effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    if (m_pDropTargetHelper)
    {
        POINT at = {point.x, point.y};
        m_pDropTargetHelper->DragOver(&at, *effect);
    }
    QueryDrop(keys, effect);
    OnDragOver(point);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::DragLeave()
{
    if (m_pDropTargetHelper)
        m_pDropTargetHelper->DragLeave();
    m_bAllowDrop = 0;
    m_pSupportedFormat = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (!data || !effect)
        return E_INVALIDARG;
    if (m_pDropTargetHelper)
    {
        POINT at = {point.x, point.y};
        m_pDropTargetHelper->Drop(data, &at, *effect);
    }
    if (QueryDrop(keys, effect) && m_bAllowDrop && m_pSupportedFormat)
    {
        STGMEDIUM medium = {};
        if (data->GetData(m_pSupportedFormat, &medium) == S_OK)
        {
            if (OnDrop(m_pSupportedFormat, medium, effect))
                ::ReleaseStgMedium(&medium);
        }
    }
    m_bAllowDrop = 0;
    *effect = DROPEFFECT_NONE;
    m_pSupportedFormat = nullptr;
    return S_OK;
}

} // namespace VREL
