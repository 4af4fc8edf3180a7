#include "ui/lists/NativeEdit.h"

#include <algorithm>
#include <cwchar>

#include "ui/framework/MControlFont.h"
#include "ui/framework/MWindow.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace NativeEdit {

namespace {

constexpr int kSideInset = 6;
constexpr int kBandExtra = 2;
constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;
constexpr LONG kBoldWeightStep = 700;
constexpr LONG kHeaviestWeight = 1000;

} // namespace

CRect FallbackRect(const CRect& control, int fontSize, bool multiLine, int shift)
{
    CRect rect(control.left + kSideInset, control.top, control.right - kSideInset, control.bottom);
    if (multiLine)
    {
        rect.top += kSideInset;
        rect.bottom -= kSideInset;
        return rect;
    }
    const int band = fontSize + kBandExtra;
    rect.top = control.top + (control.Height() - band) / 2 + shift;
    rect.bottom = rect.top + band;
    return rect;
}

DWORD WindowStyle(bool layered, bool multiLine, UINT align, bool password)
{
    DWORD style = layered ? (WS_POPUP | WS_VISIBLE) : WS_CHILD;
    style |= multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
    if (align & kAlignCentreBit)
        style |= ES_CENTER;
    else if (align & kAlignRightBit)
        style |= ES_RIGHT;
    if (password)
        style |= ES_PASSWORD;
    return style;
}

bool IsLayered(PaintManager* manager) { return manager && manager->IsLayered(); }

CRect PlacementRect(PaintManager* manager, CRect client)
{
    if (!IsLayered(manager))
        return client;
    HWND window = manager->GetPaintWnd();
    POINT origin = {0, 0};
    if (window)
        ::ClientToScreen(window, &origin);
    client.OffsetRect(origin);
    return client;
}

HWND Create(MWindow& window, PaintManager* manager, CRect client, DWORD style)
{
    if (!manager)
        return nullptr;
    HWND parent = manager->GetPaintWnd();
    if (!parent || !::IsWindow(parent))
        return nullptr;
    return window.Create(parent, L"", style, 0, PlacementRect(manager, client));
}

HWND CreateOver(MWindow& window, MControlFont& control, CRect rect, int bandShift, bool password)
{
    if (rect.IsRectEmpty())
        rect = FallbackRect(control.GetRect(), control.GetFontWidth(), false, bandShift);
    UINT hAlign = 0, vAlign = 0;
    control.GetAlignment(hAlign, vAlign);
    PaintManager* manager = control.GetManager();
    return Create(window, manager, rect, WindowStyle(IsLayered(manager), false, hAlign, password));
}

void Initialise(MWindow& window, const Setup& setup)
{
    window.SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(setup.font), 0);
    window.SendMessageW(EM_LIMITTEXT, static_cast<WPARAM>(std::max(setup.limit, 0)), 0);
    if (setup.password)
        window.SendMessageW(EM_SETPASSWORDCHAR, MaskCharacter(setup.passwordChar), 0);
    window.SetWindowTextW(setup.text);
    window.SendMessageW(EM_SETMODIFY, 0, 0);
    window.SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    window.EnableWindow(setup.enabled ? TRUE : FALSE);
    window.SendMessageW(EM_SETREADONLY, setup.readOnly ? TRUE : FALSE, 0);
    if (setup.numberOnly)
        window.ModifyStyle(0, ES_NUMBER, 0);
    window.ShowWindow(SW_SHOWNOACTIVATE);
    window.SetFocus();
    window.SendMessageW(EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

HFONT MakeFont(const wchar_t* face, int size, int styleBits)
{
    LOGFONTW font = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    const wchar_t* name = face ? face : L"";
    const size_t length = std::min<size_t>(std::wcslen(name), LF_FACESIZE - 1);
    std::wmemcpy(font.lfFaceName, name, length);
    font.lfFaceName[length] = L'\0';
    font.lfHeight = -size;
    font.lfCharSet = DEFAULT_CHARSET;
    // The stock weight plus the bold step would pass the heaviest weight
    // the system knows; held there so that the font is still made.
    if (styleBits & kStyleBold)
        font.lfWeight = std::min(font.lfWeight + kBoldWeightStep, kHeaviestWeight);
    font.lfUnderline = (styleBits & kStyleUnderline) ? TRUE : FALSE;
    font.lfItalic = (styleBits & kStyleItalic) ? TRUE : FALSE;
    return ::CreateFontIndirectW(&font);
}

HFONT FontFor(HFONT& font, const MControlFont& control)
{
    if (!font)
        font = MakeFont(control.GetTextFont(), control.GetFontWidth(), static_cast<int>(control.GetFontStyle()));
    return font;
}

LRESULT AnswerColour(HDC dc, COLORREF back, COLORREF text, HBRUSH& brush)
{
    if (back == kSystemColours)
        return 0;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, text);
    if (!brush)
        brush = ::CreateSolidBrush(back);
    return reinterpret_cast<LRESULT>(brush);
}

CString WindowText(MWindow& window)
{
    CString text;
    window.GetWindowTextW(text);
    return text;
}

bool AnswerCommon(MWindow& window, UINT msg, WPARAM wParam, PaintManager* manager, int& blink,
                  const std::function<void()>& onChange)
{
    switch (msg)
    {
    case WM_TIMER:
        if (wParam != kBlinkTimerId)
            return false;
        blink = !blink;
        ::InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
        return true;
    case WM_PRINT:
        return IsLayered(manager);
    case WM_COMMAND + kReflectOffset:
        if (HIWORD(wParam) == EN_CHANGE)
            onChange();
        else if (HIWORD(wParam) == EN_UPDATE)
            ::InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
        return true;
    default:
        return false;
    }
}

void ReportTextChange(MControl& owner)
{
    owner.SendMessageW(NC_TEXT_CHANGED, 0, 0);
    owner.UpdateControl(1, 0);
}

void RepaintOwner(MControl* owner)
{
    if (owner && owner->IsVisible())
        owner->UpdateControl(1, 0);
}

} // namespace NativeEdit

} // namespace VREL
