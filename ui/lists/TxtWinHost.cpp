// The rich edit's text host: what the windowless text services ask of the
// window they draw in, answered from the control and its paint manager.

#include <algorithm>

#include "ui/framework/MScroll.h"
#include "ui/framework/PaintManager.h"
#include "ui/lists/RichEdit.h"

namespace VREL {

namespace {

const wchar_t kServicesLibrary[] = L"Msftedit.dll";
const char kCreateServices[] = "CreateTextServices";
const char kServicesIidExport[] = "IID_ITextServices";
const char kHostIidExport[] = "IID_ITextHost";
// The published identities, for a library that does not export them.
const IID kServicesIid = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kHostIid = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

constexpr DWORD kDefaultMaxLength = 0x7FFF;
constexpr int kHimetricPerInch = 2540;
constexpr COLORREF kNotQuiteBlack = 1;
constexpr DWORD kScrollStyleBits = WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;

const IID& ExportedIid(const char* name, const IID& fallback)
{
    HMODULE library = ::GetModuleHandleW(kServicesLibrary);
    const void* exported = library ? reinterpret_cast<const void*>(::GetProcAddress(library, name)) : nullptr;
    return exported ? *static_cast<const IID*>(exported) : fallback;
}

} // namespace

const IID& TextServicesIid() { return ExportedIid(kServicesIidExport, kServicesIid); }

const IID& TextHostIid() { return ExportedIid(kHostIidExport, kHostIid); }

CTxtWinHost::CTxtWinHost(MRichEdit* owner)
    : m_pOwner(owner),
      m_refs(1),
      m_pServices(nullptr),
      m_hLibrary(nullptr),
      m_bAutoWordSel(false),
      m_bWordWrap(false),
      m_bAllowBeep(false),
      m_bRich(false),
      m_bSaveSelection(false),
      m_bInPlaceActive(false),
      m_bTransparent(false),
      m_bTimer(false),
      m_bCaptured(false),
      m_bCaretShown(false),
      m_caretWidth(0),
      m_caretHeight(0),
      m_style(0),
      m_selBarWidth(0),
      m_maxLength(kDefaultMaxLength),
      m_extent{0, 0},
      m_charFormat{},
      m_paraFormat{},
      m_acceleratorPos(-1),
      m_passwordChar(0),
      m_hMeasureDC(nullptr)
{
    m_charFormat.cbSize = sizeof(m_charFormat);
    m_paraFormat.cbSize = sizeof(m_paraFormat);
}

CTxtWinHost::~CTxtWinHost()
{
    Close();
    if (m_hMeasureDC)
        ::DeleteDC(m_hMeasureDC);
    if (m_hLibrary)
        ::FreeLibrary(m_hLibrary);
}

void CTxtWinHost::Close()
{
    if (!m_pServices)
        return;
    ITextServices* services = m_pServices;
    m_pServices = nullptr;
    services->OnTxInPlaceDeactivate();
    services->Release();
}

bool CTxtWinHost::Init(const wchar_t* text)
{
    m_hLibrary = ::LoadLibraryW(kServicesLibrary);
    if (!m_hLibrary)
        return false;
    auto create = reinterpret_cast<PCreateTextServices>(
        reinterpret_cast<void*>(::GetProcAddress(m_hLibrary, kCreateServices)));
    if (!create)
        return false;
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, this, &unknown)) || !unknown)
        return false;
    void* services = nullptr;
    const HRESULT queried = unknown->QueryInterface(TextServicesIid(), &services);
    unknown->Release();
    if (FAILED(queried) || !services)
        return false;
    m_pServices = static_cast<ITextServices*>(services);
    if (text && *text && FAILED(m_pServices->TxSetText(text)))
        return false;
    return true;
}

// ---- IUnknown ---------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, TextHostIid()))
    {
        AddRef();
        *object = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    const LONG refs = ::InterlockedDecrement(&m_refs);
    // The services may let go of the host while the host is releasing them.
    if (refs == 0)
        delete this;
    return refs > 0 ? static_cast<ULONG>(refs) : 0;
}

// ---- device context, scroll bars, invalidation --------------------------------------------------

HDC CTxtWinHost::TxGetDC()
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (manager && manager->GetPaintDC())
        return manager->GetPaintDC();
    if (!m_hMeasureDC)
        m_hMeasureDC = ::CreateCompatibleDC(nullptr);
    return m_hMeasureDC;
}

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    if (!m_pOwner)
        return FALSE;
    if ((bar == SB_VERT || bar == SB_BOTH) && m_pOwner->m_pScrollVertical)
        m_pOwner->m_pScrollVertical->SetVisible(show ? 1 : 0);
    if ((bar == SB_HORZ || bar == SB_BOTH) && m_pOwner->m_pScrollHorizontal)
        m_pOwner->m_pScrollHorizontal->SetVisible(show ? 1 : 0);
    m_pOwner->SetControlRect(m_pOwner->GetRect());
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bars, INT arrows)
{
    return TxShowScrollBar(bars, arrows != ESB_DISABLE_BOTH);
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL)
{
    if (!m_pOwner)
        return FALSE;
    const int span = maxPos - static_cast<int>(minPos);
    const CRect area = m_pOwner->GetTextArea();
    MScroll* scroll = nullptr;
    int room = 0;
    if (bar == SB_VERT)
    {
        scroll = m_pOwner->m_pScrollVertical;
        room = area.Height();
    }
    else
    {
        scroll = m_pOwner->m_pScrollHorizontal;
        room = area.Width();
    }
    if (!scroll)
        return FALSE;
    const int shown = span > room ? 1 : 0;
    if (shown)
        scroll->SetScrollMaxRange(span);
    if (shown != scroll->IsVisible())
    {
        scroll->SetVisible(shown);
        m_pOwner->SetControlRect(m_pOwner->GetRect());
    }
    scroll->UpdateControl(1, 0);
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL)
{
    if (!m_pOwner)
        return FALSE;
    MScroll* scroll = bar == SB_VERT ? static_cast<MScroll*>(m_pOwner->m_pScrollVertical)
                                     : static_cast<MScroll*>(m_pOwner->m_pScrollHorizontal);
    if (!scroll || scroll->IsChangeing())
        return TRUE;
    scroll->SetScrollCurrentPos(pos);
    scroll->SetRange();
    scroll->UpdateControl(1, 0);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager)
        return;
    if (manager->IsLayered())
        manager->InvalidateRect(CRect(), TRUE);
    else
        manager->InvalidateRect(rect ? CRect(*rect) : m_pOwner->GetRect(), FALSE);
}

void CTxtWinHost::TxViewChange(WINBOOL)
{
    if (m_pOwner && m_pOwner->OnTxViewChanged())
        TxInvalidateRect(nullptr, FALSE);
}

// ---- caret ----------------------------------------------------------------------------------

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    m_caretWidth = width;
    m_caretHeight = height;
    if (!manager || !manager->GetPaintWnd())
        return FALSE;
    if (manager->IsLayered())
        return manager->CreateCaret(bitmap, width, height);
    return ::CreateCaret(manager->GetPaintWnd(), bitmap, width, height);
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager || !manager->GetPaintWnd())
        return FALSE;
    m_bCaretShown = show != FALSE;
    if (manager->IsLayered())
    {
        // The drawn caret is switched off for an owner that takes no typing.
        if (manager->GetCurrentCaretObject() == m_pOwner &&
            (m_pOwner->IsReadOnly() || !m_pOwner->IsVisible() || !m_pOwner->IsEnabled()))
            return manager->ShowCaret(0);
        return manager->ShowCaret(show ? 1 : 0);
    }
    return show ? ::ShowCaret(manager->GetPaintWnd()) : ::HideCaret(manager->GetPaintWnd());
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager)
        return FALSE;
    if (manager->IsLayered())
        return manager->SetCaretPos(m_pOwner, x, y);
    return ::SetCaretPos(x, y);
}

// ---- timers, capture, focus, cursor, coordinates --------------------------------------------------

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager)
        return FALSE;
    m_bTimer = true;
    if (std::find(m_timerIds.begin(), m_timerIds.end(), id) == m_timerIds.end())
        m_timerIds.push_back(id);
    return manager->SetTimer(m_pOwner, id, timeout);
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager)
        return;
    manager->KillTimer(m_pOwner, id);
    m_timerIds.erase(std::remove(m_timerIds.begin(), m_timerIds.end(), id), m_timerIds.end());
    m_bTimer = !m_timerIds.empty();
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    if (!manager || !manager->GetPaintWnd())
        return;
    if (capture)
        ::SetCapture(manager->GetPaintWnd());
    else
        ::ReleaseCapture();
    m_bCaptured = capture != FALSE;
}

void CTxtWinHost::TxSetFocus()
{
    if (m_pOwner)
        m_pOwner->SetControlFocus(1);
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT point)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    return manager && manager->GetPaintWnd() ? ::ScreenToClient(manager->GetPaintWnd(), point) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT point)
{
    PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
    return manager && manager->GetPaintWnd() ? ::ClientToScreen(manager->GetPaintWnd(), point) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

// ---- what the services read ------------------------------------------------------------------

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect)
{
    *rect = m_client;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect)
{
    ::SetRectEmpty(rect);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    const COLORREF colour = ::GetSysColor(index);
    return colour == 0 ? kNotQuiteBlack : colour;
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = m_bTransparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = m_maxLength;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars)
{
    *bars = m_style & kScrollStyleBits;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = m_passwordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* position)
{
    *position = m_acceleratorPos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent)
{
    *extent = m_extent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    DWORD all = 0;
    if (m_bRich)
        all |= TXTBIT_RICHTEXT;
    if (m_style & ES_MULTILINE)
        all |= TXTBIT_MULTILINE;
    if (m_style & ES_READONLY)
        all |= TXTBIT_READONLY;
    if (m_style & ES_PASSWORD)
        all |= TXTBIT_USEPASSWORD;
    if (!(m_style & ES_NOHIDESEL))
        all |= TXTBIT_HIDESELECTION;
    if (m_bAutoWordSel)
        all |= TXTBIT_AUTOWORDSEL;
    if (m_bWordWrap)
        all |= TXTBIT_WORDWRAP;
    if (m_bAllowBeep)
        all |= TXTBIT_ALLOWBEEP;
    if (m_bSaveSelection)
        all |= TXTBIT_SAVESELECTION;
    *bits = all & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data)
{
    if (code == EN_REQUESTRESIZE && data)
    {
        const RECT& wanted = static_cast<REQRESIZE*>(data)->rc;
        m_client.right = m_client.left + (wanted.right - wanted.left);
        m_client.bottom = m_client.top + (wanted.bottom - wanted.top);
    }
    if (m_pOwner)
        m_pOwner->OnTxNotify(code, data);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = m_selBarWidth;
    return S_OK;
}

// ---- set-up by the control -----------------------------------------------------------------

void CTxtWinHost::SetWordWrap(bool wrap)
{
    m_bWordWrap = wrap;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_WORDWRAP, wrap ? TXTBIT_WORDWRAP : 0);
}

void CTxtWinHost::SetReadOnly(bool readOnly)
{
    m_style = readOnly ? (m_style | ES_READONLY) : (m_style & ~static_cast<DWORD>(ES_READONLY));
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_READONLY, readOnly ? TXTBIT_READONLY : 0);
}

void CTxtWinHost::SetPassword(bool password)
{
    m_style = password ? (m_style | ES_PASSWORD) : (m_style & ~static_cast<DWORD>(ES_PASSWORD));
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_USEPASSWORD, password ? TXTBIT_USEPASSWORD : 0);
}

void CTxtWinHost::SetRichTextFlag(bool rich)
{
    m_bRich = rich;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetMaxLength(DWORD length)
{
    m_maxLength = static_cast<LONG>(length) <= 0 ? kDefaultMaxLength : length;
    if (m_pServices)
    {
        m_pServices->OnTxPropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
        // Some text services ignore the property change and only honour the
        // message, so the limit is set through both roads.
        LRESULT ignored = 0;
        m_pServices->TxSendMessage(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(m_maxLength), &ignored);
    }
}

void CTxtWinHost::SetColor(COLORREF colour)
{
    m_charFormat.crTextColor = colour;
    m_charFormat.dwMask |= CFM_COLOR;
    m_charFormat.dwEffects &= ~static_cast<DWORD>(CFE_AUTOCOLOR);
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetFont(HFONT font)
{
    if (!font)
        return;
    LOGFONTW lf = {};
    if (!::GetObjectW(font, sizeof(lf), &lf))
        return;
    HDC dc = TxGetDC();
    const int dpi = std::max(::GetDeviceCaps(dc, LOGPIXELSY), 1);
    m_charFormat.yHeight = std::abs(lf.lfHeight) * 1440 / dpi;
    m_charFormat.dwEffects &= ~static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
    if (lf.lfWeight >= FW_BOLD)
        m_charFormat.dwEffects |= CFE_BOLD;
    if (lf.lfItalic)
        m_charFormat.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline)
        m_charFormat.dwEffects |= CFE_UNDERLINE;
    m_charFormat.bCharSet = lf.lfCharSet;
    m_charFormat.bPitchAndFamily = lf.lfPitchAndFamily;
    ::lstrcpynW(m_charFormat.szFaceName, lf.lfFaceName, LF_FACESIZE);
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetClientRect(const CRect& rect)
{
    m_client = rect;
    HDC dc = TxGetDC();
    const int dpiX = std::max(::GetDeviceCaps(dc, LOGPIXELSX), 1);
    const int dpiY = std::max(::GetDeviceCaps(dc, LOGPIXELSY), 1);
    m_extent.cx = rect.Width() * kHimetricPerInch / dpiX;
    m_extent.cy = rect.Height() * kHimetricPerInch / dpiY;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

void CTxtWinHost::SetTransparent(bool transparent)
{
    m_bTransparent = transparent;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetParaFormat(const PARAFORMAT2& format)
{
    m_paraFormat = format;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
}

void CTxtWinHost::SetCharFormat(const CHARFORMAT2W& format)
{
    m_charFormat = format;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetAlignment(WORD alignment)
{
    m_paraFormat.wAlignment = alignment;
    if (m_pServices)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
}

} // namespace VREL
