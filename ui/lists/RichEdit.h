#pragma once

// The windowless rich edit. MRichEdit is a panel control whose text, caret,
// selection, undo and clipboard are the system's windowless text services
// (loaded from Msftedit.dll at run time); CTxtWinHost is the text host those
// services talk back to, without any native edit window: it hands them the
// paint manager's window, caret, timers and scroll bars and keeps the
// character and paragraph formats they ask for. The control draws its skin
// frame and tip text and lets the services draw the text on top.
//
// A control that was never bound to a paint manager (InitControl), or whose
// text services could not be made, has no host: every operation that needs
// one answers 0, an empty text or nothing.
//
// Reports to the owner: 1 when the left button goes down inside, 2 when it
// comes up inside after such a press; its scroll bars' reports are passed on
// unchanged. Text changes reach the virtual OnTxNotify, not the owner.

#include <windows.h>
#include <imm.h>
#include <richedit.h>
#include <textserv.h>

#include <vector>

#include "ui/framework/CString.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/VrelExport.h"

namespace VREL {

class MRichEdit;

// The interfaces' identities: from the loaded text-services library when it
// exports them, else the published values.
const IID& TextServicesIid();
const IID& TextHostIid();

class VREL_API CTxtWinHost : public ITextHost
{
public:
    explicit CTxtWinHost(MRichEdit* owner);

    // ---- IUnknown -------------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ---- ITextHost, in the interface's order ------------------------------------------------
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bars, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT point) override;
    WINBOOL TxClientToScreen(LPPOINT point) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rect) override;
    HRESULT TxGetViewInset(LPRECT rect) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* bars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* position) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

    virtual ~CTxtWinHost();

    // ---- set-up by the control ---------------------------------------------------------------
    // Loads the text services and makes them over this host; false, with
    // no services, when the library, its entry point, the creation or the
    // interface is missing, or the text is refused.
    bool Init(const wchar_t* text);
    ITextServices* GetTextServices() const { return m_pServices; }
    // Deactivates and lets go of the services; the host then serves nothing.
    void Close();

    // Each tells the services what changed.
    void SetWordWrap(bool wrap);
    void SetReadOnly(bool readOnly);
    void SetPassword(bool password);
    void SetRichTextFlag(bool rich);
    // 0 or less means 0x7FFF.
    void SetMaxLength(DWORD length);
    void SetColor(COLORREF colour);
    void SetFont(HFONT font);
    void SetClientRect(const CRect& rect);
    void SetTransparent(bool transparent);
    void SetParaFormat(const PARAFORMAT2& format);
    void SetCharFormat(const CHARFORMAT2W& format);
    void SetWindowStyle(DWORD style) { m_style = style; }
    DWORD GetWindowStyle() const { return m_style; }
    void SetAlignment(WORD alignment);
    void SetInPlaceActive(bool active) { m_bInPlaceActive = active; }
    bool IsInPlaceActive() const { return m_bInPlaceActive; }
    bool IsCaptured() const { return m_bCaptured; }
    bool IsWordWrap() const { return m_bWordWrap; }
    bool IsRich() const { return m_bRich; }
    DWORD GetMaxLength() const { return m_maxLength; }
    CRect GetClientRect() const { return m_client; }
    // The ids of the services' running timers.
    const std::vector<UINT>& TimerIds() const { return m_timerIds; }
    CHARFORMAT2W& CharFormat() { return m_charFormat; }
    PARAFORMAT2& ParaFormat() { return m_paraFormat; }
    // The control has gone: nothing reaches it any more.
    void DetachOwner() { m_pOwner = nullptr; }

private:
    MRichEdit* m_pOwner;
    LONG m_refs;
    ITextServices* m_pServices;
    HMODULE m_hLibrary;
    bool m_bAutoWordSel;
    bool m_bWordWrap;
    bool m_bAllowBeep;
    bool m_bRich;
    bool m_bSaveSelection;
    bool m_bInPlaceActive;
    bool m_bTransparent;
    bool m_bTimer;
    bool m_bCaptured;
    bool m_bCaretShown;
    int m_caretWidth;
    int m_caretHeight;
    DWORD m_style;
    LONG m_selBarWidth;
    DWORD m_maxLength;
    CRect m_client;
    SIZEL m_extent;
    CHARFORMAT2W m_charFormat;
    PARAFORMAT2 m_paraFormat;
    LONG m_acceleratorPos;
    wchar_t m_passwordChar;
    std::vector<UINT> m_timerIds;
    // A screen-compatible DC for measuring while no window DC exists.
    HDC m_hMeasureDC;
};

class VREL_API MRichEdit : public MPanel
{
public:
    MRichEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int enabled);
    ~MRichEdit() override;

    // ---- overrides --------------------------------------------------------------------------
    // Binds the bars and makes the text host (once).
    void InitControl(PaintManager* manager) override;
    void DrawControl(HDC& dc, CRect paint) override;
    int SetControlFocus(int focus) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    void SetControlRect(CRect rect) override;
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(UINT flags, CPoint pt) override;
    int OnControlLButtonDown(UINT flags, CPoint pt) override;
    int OnControlLButtonUp(UINT flags, CPoint pt) override;
    int OnControlScroll(int amount, UINT direction, CPoint pt) override;
    int OnControlKeyDown(UINT key, UINT repeat, UINT modifiers) override;
    void SetTextFont(CString name) override;
    void SetTextColor(Gdiplus::Color colour) override;
    // Null counts as empty.
    void SetControlTitle(const wchar_t* title) override;
    // The text as the services hold it.
    CString GetControlTitle() override;

    // ---- virtual operations of the rich edit ---------------------------------------------
    // A message to the text services; 1 and nothing without a host.
    virtual LRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    virtual int OnTxViewChanged();
    // EN_CHANGE reads the text back into the title.
    virtual void OnTxNotify(DWORD code, void* data);

    // ---- text operations ----------------------------------------------------------------
    long GetTextLength(DWORD flags = GTL_DEFAULT);
    int GetModify();
    void SetModify(int modified = 1);
    void GetSel(CHARRANGE& range);
    void GetSel(long& start, long& end);
    int SetSel(CHARRANGE& range);
    int SetSel(long start, long end);
    void SetSelAll();
    void SetSelNone();
    void ReplaceSel(const wchar_t* text, int canUndo);
    void ReplaceSelW(const wchar_t* text, int canUndo = 0);
    CString GetSelText();
    // end -1 means the end of the text; an end before start gives empty.
    CString GetTextRange(long start, long end);
    int InsertText(long position, const wchar_t* text, int canUndo = 0);
    int AppendText(const wchar_t* text, int canUndo = 0);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    int CanUndo();
    int CanRedo();
    int CanPaste(UINT format = 0);
    int Undo();
    int Redo();
    void EmptyUndoBuffer();
    int SetUndoLimit(int limit);
    int GetZoom(int& numerator, int& denominator);
    // Both 0..64; else 0 and nothing sent.
    int SetZoom(int numerator, int denominator);
    int SetZoomOff();
    WORD GetSelectionType();
    int GetAutoURLDetect();
    int SetAutoURLDetect(int on = 1);
    DWORD GetEventMask();
    DWORD SetEventMask(DWORD mask);
    void HideSelection(int hide, int changeStyle);
    void ScrollCaret();
    DWORD GetDefaultCharFormat(CHARFORMAT2W& format);
    DWORD GetSelectionCharFormat(CHARFORMAT2W& format);
    int SetDefaultCharFormat(CHARFORMAT2W& format);
    int SetSelectionCharFormat(CHARFORMAT2W& format);
    int SetWordCharFormat(CHARFORMAT2W& format);
    DWORD GetParaFormat(PARAFORMAT2& format);
    int SetParaFormat(PARAFORMAT2& format);
    int GetLineCount();
    CString GetLine(int line, int maxChars);
    int LineIndex(int line = -1);
    int LineLength(int line = -1);
    long LineFromChar(long index);
    int LineScroll(int lines, int chars = 0);
    CPoint PosFromChar(UINT index);
    int CharFromPos(CPoint pt);
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    void HomeUp();
    void EndDown();
    void LineLeft();
    void LineRight();
    void PageLeft();
    void PageRight();
    void HomeLeft();
    void EndRight();
    DWORD StreamIn(int format, EDITSTREAM& stream);
    DWORD StreamOut(int format, EDITSTREAM& stream);
    // 0 when the file does not open.
    DWORD LoadRtf(const wchar_t* path);
    DWORD SaveRtf(const wchar_t* path);
    // Sets (any nonzero) or clears only the drop-files bit of the event
    // mask; 1 when the old mask was 0.
    int SetDropAcceptFile(int accept);
    IDropTarget* GetTxDropTarget();

    // ---- properties ---------------------------------------------------------------------------
    int IsRich() const { return m_bRich; }
    void SetRich(int rich);
    int IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(int readOnly);
    int GetPassword() const { return m_bPassword; }
    void SetPassword(int password);
    int GetWordWrap() const { return m_bWordWrap; }
    void SetWordWrap(int wrap);
    int GetLimitText() const { return m_limit; }
    // 0 or less gives the services 0x7FFF.
    void SetLimitText(int limit);
    int IsMultiLine() const { return (m_style & ES_MULTILINE) ? 1 : 0; }
    void SetMultiLine(int multiLine);
    DWORD GetWinStyle() const { return m_style; }
    void SetWinStyle(DWORD style) { m_style = style; }
    int IsWantTab() const { return m_bWantTab; }
    void SetWantTab(int want) { m_bWantTab = want; }
    int IsWantReturn() const { return m_bWantReturn; }
    void SetWantReturn(int want) { m_bWantReturn = want; }
    int IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
    void SetWantCtrlReturn(int want) { m_bWantCtrlReturn = want; }
    int IsAccumulateDBCMode() const { return m_bAccumulateDBC; }
    void SetAccumulateDBCMode(int on) { m_bAccumulateDBC = on; }
    wchar_t GetPassWordChar() const { return m_passwordChar; }
    void SetPassWordChar(wchar_t ch) { m_passwordChar = ch; }
    CRect GetTextPadding() const { return m_padding; }
    void SetTextPadding(CRect padding);
    // COLORREF.
    COLORREF GetTextColor() const { return m_textColour; }
    void SetFont();
    void SetFont(const wchar_t* name, int size, bool bold, bool underline, bool italic);
    // A new GDI font from the control's font; the caller deletes it.
    HFONT GetDefaultFont();
    int SetIconImage(const wchar_t* file, int frames);
    void SetTipInfo(const wchar_t* text) { m_tip = text; }
    CString GetTipInfo() const { return m_tip; }
    CTxtWinHost* GetTextHost() const { return m_pHost; }
    // 0 normal, 1 hover, 2 editing, 3 disabled.
    int GetVisualState() const { return m_visualState; }
    // The text area: the rectangle less the padding and the bars.
    CRect GetTextArea() const { return m_textArea; }
    int IsInitialised() const { return m_bRichInitialised; }

protected:
    friend class CTxtWinHost;

    // The default formats from the control's font, colour and style.
    void FillDefaultCharFormat(CHARFORMAT2W& format);
    void FillDefaultParaFormat(PARAFORMAT2& format);
    void CreateTextHost();
    // The text area less the padding, the bars laid out as told; given to the host.
    void LayOutTextArea(const CRect& padding, int verticalBarExtra);
    void Repaint(int redraw);
    // Where a framed look puts the tip while the title is empty: nowhere; at
    // the top of the padded area; or centred in it, 2 pixels lower.
    enum class TipLook
    {
        None,
        Padded,
        Centred,
    };
    // The look the framed kinds cache in four slots (normal, hover,
    // editing, disabled) when they have a skin frame: the skin frame
    // frameWidth wide and the tip; then the text services' text on top.
    void DrawFramedLook(HDC& dc, const CRect& paint, int frameWidth, TipLook tip);
    // Draws the frame slots (skin frame, nine-grid corner 4) over width.
    void DrawFrameSlots(HDC dc, int width, int height);
    // The text services draw the text into dc.
    void DrawText(HDC& dc, const CRect& paint);
    // A GDI+ tip text in grey.
    void DrawTip(HDC dc, const CRect& box, float size, Gdiplus::ARGB colour, bool centreVertically);
    void SetVisualState(int state);
    // Gives the host's kept character format to all the text.
    void ApplyHostCharFormat();

    int m_visualState;
    CTxtWinHost* m_pHost;
    int m_bWantTab;
    int m_bWantReturn;
    int m_bWantCtrlReturn;
    int m_bRich;
    int m_bReadOnly;
    int m_bPassword;
    int m_bWordWrap;
    COLORREF m_textColour;
    int m_limit;
    DWORD m_style;
    int m_bRichInitialised;
    int m_bAccumulateDBC;
    CString m_tip;
    CRect m_padding;
    wchar_t m_passwordChar;
    Gdiplus::Image* m_pIcon;
    int m_iconFrameWidth;
    int m_iconHeight;
    int m_iconFrames;
    CRect m_textArea;
    int m_bButtonDown;
};

} // namespace VREL
