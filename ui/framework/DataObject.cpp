// The data object a drag carries and the enumerator of its formats.

#include <cstring>
#include <cwchar>
#include <new>

#include "ui/framework/DragDrop.h"

namespace VREL {

void CopyFormatEtc(FORMATETC& destination, const FORMATETC& source)
{
    destination = source;
    // The target device belongs to whoever passed the format in: keep a
    // copy of our own instead of a pointer that may go away.
    destination.ptd = nullptr;
    if (source.ptd && source.ptd->tdSize >= sizeof(DVTARGETDEVICE))
    {
        if (auto* device = static_cast<DVTARGETDEVICE*>(::CoTaskMemAlloc(source.ptd->tdSize)))
        {
            std::memcpy(device, source.ptd, source.ptd->tdSize);
            destination.ptd = device;
        }
    }
}

void FreeFormatEtc(FORMATETC& format)
{
    if (format.ptd)
        ::CoTaskMemFree(format.ptd);
    format.ptd = nullptr;
}

// ---- CIDataObject ----------------------------------------------------------------------

CIDataObject::CIDataObject(CIDropSource* source) : m_pDropSource(source), m_refCount(0) {}

CIDataObject::~CIDataObject()
{
    for (STGMEDIUM& medium : m_media)
        ::ReleaseStgMedium(&medium);
    for (FORMATETC& format : m_formats)
        FreeFormatEtc(format);
}

HRESULT STDMETHODCALLTYPE CIDataObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject))
    {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CIDataObject::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG STDMETHODCALLTYPE CIDataObject::Release()
{
    const LONG count = --m_refCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

void CIDataObject::CopyMedium(STGMEDIUM* destination, STGMEDIUM* source, FORMATETC* format)
{
    switch (source->tymed)
    {
    case TYMED_HGLOBAL:
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        destination->hGlobal = static_cast<HGLOBAL>(::OleDuplicateData(source->hGlobal, format->cfFormat, 0));
        break;
    case TYMED_FILE:
        // A file medium holds a task-allocated path, not a global handle.
        destination->lpszFileName = nullptr;
        if (source->lpszFileName)
        {
            const size_t bytes = (std::wcslen(source->lpszFileName) + 1) * sizeof(wchar_t);
            if (auto* copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes)))
            {
                std::memcpy(copy, source->lpszFileName, bytes);
                destination->lpszFileName = copy;
            }
        }
        break;
    case TYMED_ISTREAM:
        destination->pstm = source->pstm;
        if (destination->pstm)
            destination->pstm->AddRef();
        break;
    case TYMED_ISTORAGE:
        destination->pstg = source->pstg;
        if (destination->pstg)
            destination->pstg->AddRef();
        break;
    default:
        break;
    }
    destination->tymed = source->tymed;
    destination->pUnkForRelease = source->pUnkForRelease;
    if (destination->pUnkForRelease)
        destination->pUnkForRelease->AddRef();
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!format || !medium)
        return E_INVALIDARG;
    medium->hGlobal = nullptr;
    for (size_t i = 0; i < m_formats.size(); ++i)
    {
        FORMATETC& stored = m_formats[i];
        if ((stored.tymed & format->tymed) && stored.dwAspect == format->dwAspect &&
            stored.cfFormat == format->cfFormat)
        {
            CopyMedium(medium, &m_media[i], &stored);
            return S_OK;
        }
    }
    return DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CIDataObject::QueryGetData(FORMATETC* format)
{
    if (!format)
        return E_INVALIDARG;
    if (!(format->dwAspect & DVASPECT_CONTENT))
        return DV_E_DVASPECT;
    HRESULT verdict = DV_E_TYMED;
    for (const FORMATETC& stored : m_formats)
    {
        if (!(stored.tymed & format->tymed))
        {
            verdict = DV_E_TYMED;
            continue;
        }
        if (stored.cfFormat == format->cfFormat)
            return S_OK;
        verdict = DV_E_CLIPFORMAT;
    }
    return verdict;
}

HRESULT STDMETHODCALLTYPE CIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    return out ? DATA_S_SAMEFORMATETC : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (!format || !medium)
        return E_INVALIDARG;
    try
    {
        m_formats.reserve(m_formats.size() + 1);
        m_media.reserve(m_media.size() + 1);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    FORMATETC storedFormat;
    CopyFormatEtc(storedFormat, *format);
    STGMEDIUM storedMedium = {};
    if (release)
        storedMedium = *medium;
    else
        CopyMedium(&storedMedium, medium, format);
    m_formats.push_back(storedFormat);
    m_media.push_back(storedMedium);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CIDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    try
    {
        auto* created = new CEnumFormatEtc(m_formats);
        created->AddRef();
        *enumerator = created;
        return S_OK;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CIDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE CIDataObject::DUnadvise(DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CIDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// ---- CEnumFormatEtc ------------------------------------------------------------------------

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC>& formats) : m_refCount(0), m_cursor(0)
{
    m_formats.resize(formats.size());
    for (size_t i = 0; i < formats.size(); ++i)
        CopyFormatEtc(m_formats[i], formats[i]);
}

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC*>& formats) : m_refCount(0), m_cursor(0)
{
    m_formats.reserve(formats.size());
    for (const FORMATETC* format : formats)
    {
        if (!format)
            continue;
        FORMATETC copy;
        CopyFormatEtc(copy, *format);
        m_formats.push_back(copy);
    }
}

CEnumFormatEtc::~CEnumFormatEtc()
{
    for (FORMATETC& format : m_formats)
        FreeFormatEtc(format);
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumFORMATETC))
    {
        *object = static_cast<IEnumFORMATETC*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CEnumFormatEtc::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG STDMETHODCALLTYPE CEnumFormatEtc::Release()
{
    const LONG count = --m_refCount;
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched)
{
    if (fetched)
        *fetched = 0;
    if (count == 0 || !formats || m_cursor >= m_formats.size() || (!fetched && count != 1))
        return S_FALSE;
    ULONG copied = 0;
    while (copied < count && m_cursor < m_formats.size())
        CopyFormatEtc(formats[copied++], m_formats[m_cursor++]);
    if (fetched)
        *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Skip(ULONG count)
{
    // Compared as what is left, so that a huge count cannot wrap around.
    if (count > m_formats.size() - m_cursor)
        return S_FALSE;
    m_cursor += count;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Reset()
{
    m_cursor = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CEnumFormatEtc::Clone(IEnumFORMATETC** clone)
{
    if (!clone)
        return E_POINTER;
    *clone = nullptr;
    try
    {
        auto* created = new CEnumFormatEtc(m_formats);
        created->m_cursor = m_cursor;
        created->AddRef();
        *clone = created;
        return S_OK;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}

} // namespace VREL
