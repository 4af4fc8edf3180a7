#pragma once

// The COM pieces of OLE drag and drop: the data object a drag carries, its
// format enumerator, the drop source, the drop target every library window
// registers, and the shell's drag-image helper. The paint manager is the
// drop target of its window and the starter of drags from its controls.
//
// Everything runs on the UI thread (the system's drag loop included), so
// the reference counts are plain integers. A data object, a drop source or
// an enumerator frees itself when its last reference goes; a drop target
// does so through its virtual destructor unless its owner keeps it alive
// (the paint manager does: its window object owns it).

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "ui/framework/VrelExport.h"

struct IDropTargetHelper;
struct IDragSourceHelper;

namespace VREL {

// Posted to the window under the cursor: a drag moves over it (lParam = the
// cursor in screen coordinates, x low word, y high word), and something was
// dropped on it (after a synthetic left-button release at the cursor).
constexpr UINT WM_KEY_DRAG_OVER = 0x7E9;
constexpr UINT WM_KEY_DROP = 0x7EA;

class CIDropSource;

// Deep copies of a format, its target device included, and the release of
// such a copy.
VREL_API void CopyFormatEtc(FORMATETC& destination, const FORMATETC& source);
VREL_API void FreeFormatEtc(FORMATETC& format);

class VREL_API CIDataObject : public IDataObject
{
public:
    // source: the drag it is made for; kept, not owned, not used.
    explicit CIDataObject(CIDropSource* source);
    virtual ~CIDataObject();

    CIDataObject(const CIDataObject&) = delete;
    CIDataObject& operator=(const CIDataObject&) = delete;

    // ---- IUnknown -------------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- IDataObject ------------------------------------------------------------------------
    // A copy of the first stored entry with a common storage kind, the same
    // aspect and the same clipboard format.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    // Appends an entry (entries are never replaced). With release the medium
    // is taken over as it is, else copied.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) override;

    // Duplicates src's handle for format (interfaces gain a reference).
    static void CopyMedium(STGMEDIUM* destination, STGMEDIUM* source, FORMATETC* format);

private:
    CIDropSource* m_pDropSource;
    LONG m_refCount;
    std::vector<FORMATETC> m_formats;
    // Entry i belongs to format i.
    std::vector<STGMEDIUM> m_media;
};

class VREL_API CIDropSource : public IDropSource
{
public:
    CIDropSource();
    virtual ~CIDropSource();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Esc cancels; a held left or right button goes on; anything else drops.
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

    // Set when the drag ended in a drop.
    bool IsDropped() const { return m_bDropped != 0; }

private:
    LONG m_refCount;
    BYTE m_bDropped;
};

class VREL_API CEnumFormatEtc : public IEnumFORMATETC
{
public:
    explicit CEnumFormatEtc(const std::vector<FORMATETC>& formats);
    explicit CEnumFormatEtc(const std::vector<FORMATETC*>& formats);
    virtual ~CEnumFormatEtc();

    CEnumFormatEtc(const CEnumFormatEtc&) = delete;
    CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Copies handed out carry their own target device, which the caller frees.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    // S_FALSE, the cursor unmoved, when fewer than count formats are left.
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** clone) override;

private:
    LONG m_refCount;
    std::vector<FORMATETC> m_formats;
    size_t m_cursor;
};

class VREL_API CIDropTarget : public IDropTarget
{
public:
    explicit CIDropTarget(HWND target = nullptr);
    virtual ~CIDropTarget();

    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Takes the first supported format the data offers.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // Hands the data of the chosen format to OnDrop; the source always
    // learns DROPEFFECT_NONE.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // ---- hooks supplied by the window's owner ---------------------------------------------
    // true: the caller releases the medium.
    virtual bool OnDrop(FORMATETC* format, STGMEDIUM& medium, DWORD* effect) = 0;
    virtual void OnDragOver(POINTL point) = 0;

    // Supported formats in order of preference.
    void AddSuportedFormat(FORMATETC& format);
    void SetTargetWnd(HWND target) { m_hTargetWnd = target; }
    HWND GetTargetWnd() const { return m_hTargetWnd; }
    // The effect for these keys out of those the source allows (passed in
    // effect); true when something may be dropped.
    bool QueryDrop(DWORD keys, DWORD* effect);

protected:
    LONG m_refCount;
    BYTE m_bAllowDrop;
    IDropTargetHelper* m_pDropTargetHelper;
    std::vector<FORMATETC> m_formats;
    // Into m_formats; null when the data offers none of them.
    FORMATETC* m_pSupportedFormat;
    HWND m_hTargetWnd;
};

class VREL_API CDragSourceHelper
{
public:
    CDragSourceHelper();
    virtual ~CDragSourceHelper();

    CDragSourceHelper(const CDragSourceHelper&) = delete;
    CDragSourceHelper& operator=(const CDragSourceHelper&) = delete;

    // The picture the shell draws under the cursor; E_FAIL without the shell
    // object. On success the shell owns the bitmap.
    HRESULT InitializeFromBitmap(HBITMAP bitmap, POINT& hotspot, RECT& rect, IDataObject* data, COLORREF key);
    HRESULT InitializeFromWindow(HWND window, POINT& point, IDataObject* data);

private:
    IDragSourceHelper* m_pDragSourceHelper;
};

} // namespace VREL
