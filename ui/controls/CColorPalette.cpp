#include <cwchar>
#include <iterator>

#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/MText.h"
#include "ui/controls/SpinButton.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/MEdit.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCColorPalette(
    MakeControlClass<CColorPalette, ControlForm::Visible>(L"CColorPalette"));

constexpr COLORREF kPresetColours[CColorPalette::kPresetCount] = {0x001B55, 0x23A2F9, 0x31FEFE, 0x29FF4C,
                                                                  0xFEFF50, 0xFC1517, 0x7F007C, 0xFC00F7};
constexpr COLORREF kSwatchColour = 0x00E1FF;
const wchar_t kPresetGroup[] = L"clr_palette_group";
const wchar_t kSwatchGroup[] = L"clr_sel_group";
const wchar_t kThumbImage[] = L"img_palette_thumb.png";
const wchar_t* const kLabelTitles[] = {L"R", L"G", L"B", L"#"};
constexpr Gdiplus::ARGB kLabelColour = 0xFE050505;
constexpr UINT kAlignRight = 2;
constexpr int kChannelMax = 255;
constexpr int kHexFontSize = 12;
constexpr COLORREF kHexBack = 0xDADADA;
constexpr int kHexLength = 6;

// Layout, relative to the panel's left (L), top (T) and bottom (B).
constexpr int kPresetPitch = 25;
constexpr int kPresetTop = 5;
constexpr int kPresetSize = 20;
constexpr int kPaletteTop = 27;
constexpr int kPaletteWidth = 233;
constexpr int kPaletteBottomGap = 4;
constexpr int kPaletteHeightInset = 2;
constexpr int kSwatchLeft = 235;
constexpr int kSwatchRight = 320;
constexpr int kSwatchBottom = 57;
constexpr int kRowTop = 62;
constexpr int kRowPitch = 28;
constexpr int kRowHeight = 24;
constexpr int kLabelRight = 255;
constexpr int kFieldLeft = 260;
constexpr int kFieldRight = 320;

CRect PresetRect(const CRect& r, int k)
{
    return CRect(r.left + kPresetPitch * k, r.top + kPresetTop, r.left + kPresetPitch * k + kPresetSize,
                 r.top + kPresetTop + kPresetSize);
}
CRect PaletteRect(const CRect& r)
{
    return CRect(r.left, r.top + kPaletteTop, r.left + kPaletteWidth, r.bottom - kPaletteBottomGap);
}
CRect SwatchRect(const CRect& r)
{
    return CRect(r.left + kSwatchLeft, r.top + kPresetTop, r.left + kSwatchRight, r.top + kSwatchBottom);
}
CRect LabelRect(const CRect& r, int k)
{
    return CRect(r.left + kSwatchLeft, r.top + kRowTop + kRowPitch * k, r.left + kLabelRight,
                 r.top + kRowTop + kRowPitch * k + kRowHeight);
}
// Rows 0 to 2 hold the spin boxes, row 3 the hexadecimal field.
CRect FieldRect(const CRect& r, int k)
{
    return CRect(r.left + kFieldLeft, r.top + kRowTop + kRowPitch * k, r.left + kFieldRight,
                 r.top + kRowTop + kRowPitch * k + kRowHeight);
}

// A pair of hexadecimal digits as the C library reads them; 0 when it
// does not read.
int ReadHexPair(const CString& text, int first)
{
    const CString pair = text.Mid(first, 2);
    unsigned int value = 0;
    if (std::swscanf(pair.GetString(), L"%x", &value) != 1)
        return 0;
    return static_cast<int>(value);
}

void MoveChild(MControl* child, const CRect& rect)
{
    if (child)
        child->SetRect(rect);
}

} // namespace

CColorPalette::CColorPalette(MObject* owner, UINT id, CRect rect, int visible)
    : CColorPanelBase(owner, id, rect, visible),
      m_pPalette(nullptr),
      m_pSwatch(nullptr),
      m_pPresets{},
      m_pLabels{},
      m_pSpins{},
      m_pHexEdit(nullptr)
{
}

CColorPalette::~CColorPalette() = default;

void CColorPalette::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    const CRect r = m_rect;
    // Every child is visible and enabled.
    auto child = [this](const wchar_t* name, UINT id, const CRect& rect) {
        return CreateControl(name, id, rect, nullptr, 1, 1);
    };
    for (int k = 0; k < kPresetCount; ++k)
    {
        m_pPresets[k] = dynamic_cast<CColorButton*>(child(L"CColorButton", kFirstPreset + k, PresetRect(r, k)));
        if (m_pPresets[k])
        {
            m_pPresets[k]->SetColor(kPresetColours[k]);
            m_pPresets[k]->SetGroupName(kPresetGroup);
        }
    }

    m_pPalette = dynamic_cast<MPalette*>(child(L"MPalette", kPaletteId, PaletteRect(r)));
    if (m_pPalette)
    {
        m_pPalette->SetPalletHeight(PaletteRect(r).Height() - kPaletteHeightInset);
        // The field takes the height when it is laid out again.
        m_pPalette->SetControlRect(PaletteRect(r));
        m_pPalette->SetThumbImage(kThumbImage);
    }

    m_pSwatch = dynamic_cast<CColorButton*>(child(L"CColorButton", kSelectedSwatchId, SwatchRect(r)));
    if (m_pSwatch)
    {
        m_pSwatch->SetColor(kSwatchColour);
        m_pSwatch->SetGroupName(kSwatchGroup);
        m_pSwatch->SetCheck(1);
    }

    for (int k = 0; k < 4; ++k)
    {
        m_pLabels[k] =
            dynamic_cast<MText*>(CreateArea(L"MText", kFirstLabelId + k, LabelRect(r, k), kLabelTitles[k], 1, 1));
        if (m_pLabels[k])
        {
            m_pLabels[k]->SetTextColor(Gdiplus::Color(kLabelColour));
            m_pLabels[k]->SetAlignment(kAlignRight);
        }
    }

    for (int k = 0; k < 3; ++k)
    {
        m_pSpins[k] = dynamic_cast<MSpinButton*>(child(L"MSpinButton", kRedSpinId + k, FieldRect(r, k)));
        if (m_pSpins[k])
        {
            m_pSpins[k]->SetRange(0, kChannelMax);
            m_pSpins[k]->SetCurValue(kChannelMax);
        }
    }

    m_pHexEdit = dynamic_cast<MEdit*>(child(L"MEdit", kHexEditId, FieldRect(r, 3)));
    if (m_pHexEdit)
    {
        m_pHexEdit->SetFontWidth(kHexFontSize);
        m_pHexEdit->SetEditBKColor(kHexBack);
        m_pHexEdit->SetLimitText(kHexLength);
        WriteHexText(GetSelectColor());
    }
}

void CColorPalette::PlaceChildren(const CRect& r)
{
    for (int k = 0; k < kPresetCount; ++k)
        MoveChild(m_pPresets[k], PresetRect(r, k));
    MoveChild(m_pPalette, PaletteRect(r));
    MoveChild(m_pSwatch, SwatchRect(r));
    for (int k = 0; k < 4; ++k)
        MoveChild(m_pLabels[k], LabelRect(r, k));
    for (int k = 0; k < 3; ++k)
        MoveChild(m_pSpins[k], FieldRect(r, k));
    MoveChild(m_pHexEdit, FieldRect(r, 3));
}

// ---- colour -------------------------------------------------------------------------------------------

COLORREF CColorPalette::GetSelectColor() const { return m_pPalette ? m_pPalette->GetSelectColor() : 0; }

void CColorPalette::SetSelectColor(COLORREF colour)
{
    if (m_pPalette)
        m_pPalette->SetSelectColor(colour);
}

int CColorPalette::SetThumbImage(const wchar_t* file) { return m_pPalette ? m_pPalette->SetThumbImage(file) : 0; }

void CColorPalette::WriteHexText(COLORREF colour)
{
    if (!m_pHexEdit)
        return;
    CString text;
    text.Format(L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    m_pHexEdit->SetTitle(text);
}

COLORREF CColorPalette::SpinColour() const
{
    int channels[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k)
        if (m_pSpins[k])
            channels[k] = m_pSpins[k]->GetCurValue();
    return RGB(channels[0], channels[1], channels[2]);
}

void CColorPalette::ShowColour(COLORREF colour, bool toPalette, bool toHex)
{
    const int channels[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int k = 0; k < 3; ++k)
        if (m_pSpins[k])
            m_pSpins[k]->SetCurValue(channels[k]);
    if (toPalette && m_pPalette)
        m_pPalette->SetSelectColor(colour);
    if (toHex)
        WriteHexText(colour);
}

void CColorPalette::SetSelItemColor(COLORREF colour)
{
    if (m_pSwatch && m_pSwatch->GetCheck() && m_pSwatch->GetColor() != colour)
        m_pSwatch->SetColor(colour);
    if (m_pOwner)
        m_pOwner->OnBaseMessage(m_id, NC_COLOR, 0, static_cast<LPARAM>(colour));
}

LRESULT CColorPalette::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (id == kPaletteId && code == NC_COLOR)
    {
        // The field's report carries nothing to read: its colour is asked.
        const COLORREF colour = GetSelectColor();
        ShowColour(colour, false, true);
        SetSelItemColor(colour);
        return 0;
    }
    if (id >= kRedSpinId && id <= kBlueSpinId && code == NC_SPIN)
    {
        const COLORREF colour = SpinColour();
        if (m_pPalette)
            m_pPalette->SetSelectColor(colour);
        WriteHexText(colour);
        SetSelItemColor(colour);
    }
    else if (id == kSelectedSwatchId && code == NC_PRESSED && m_pSwatch)
    {
        const COLORREF colour = m_pSwatch->GetColor();
        ShowColour(colour, true, true);
        SetSelItemColor(colour);
    }
    else if (id >= kFirstPreset && id < kFirstPreset + kPresetCount && code == NC_PRESSED)
    {
        for (CColorButton* preset : m_pPresets)
        {
            if (!preset || !preset->GetCheck())
                continue;
            const COLORREF colour = preset->GetColor();
            if (colour != 0)
            {
                ShowColour(colour, true, true);
                SetSelItemColor(colour);
            }
            break;
        }
    }
    else if (id == kHexEditId && code == NC_TEXT_CHANGED && m_pHexEdit)
    {
        const CString text = m_pHexEdit->GetEditText();
        if (text.GetLength() != kHexLength)
            return 0;
        const COLORREF colour = RGB(ReadHexPair(text, 0), ReadHexPair(text, 2), ReadHexPair(text, 4));
        ShowColour(colour, true, false);
        SetSelItemColor(colour);
    }
    return MPanel::OnMessage(id, code, wParam, lParam);
}

// ---- the children's looks and state ---------------------------------------------------------------

std::vector<MControl*> CColorPalette::EnabledChildren() const
{
    std::vector<MControl*> children = {m_pPalette, m_pSpins[0], m_pSpins[1], m_pSpins[2], m_pHexEdit, m_pSwatch};
    children.insert(children.end(), std::begin(m_pPresets), std::end(m_pPresets));
    return children;
}

void CColorPalette::SetTextColor(Gdiplus::Color colour)
{
    MPanel::SetTextColor(colour);
    for (MText* label : m_pLabels)
        if (label)
            label->SetTextColor(colour);
    for (MSpinButton* spin : m_pSpins)
        if (spin)
            spin->SetTextColor(colour);
    if (m_pHexEdit)
        m_pHexEdit->SetTextColor(colour);
}

int CColorPalette::SetImage(const wchar_t* file, int count)
{
    for (MSpinButton* spin : m_pSpins)
        if (spin)
            spin->SetImage(file, count);
    if (m_pHexEdit)
        m_pHexEdit->SetImage(file, count);
    return 1;
}

void CColorPalette::UpdateControlEx(int redraw)
{
    UpdateControl(redraw, 0);
    MControl* children[] = {m_pPalette, m_pSwatch, m_pSpins[0], m_pSpins[1], m_pSpins[2], m_pHexEdit,
                            m_pLabels[0], m_pLabels[1], m_pLabels[2], m_pLabels[3]};
    for (MControl* child : children)
        if (child)
            child->UpdateControl(redraw, 0);
    for (CColorButton* preset : m_pPresets)
        if (preset)
            preset->UpdateControl(redraw, 0);
}

CColorButton* CColorPalette::GetPreset(int index) const
{
    return index >= 0 && index < kPresetCount ? m_pPresets[index] : nullptr;
}

MSpinButton* CColorPalette::GetSpin(int channel) const
{
    return channel >= 0 && channel < 3 ? m_pSpins[channel] : nullptr;
}

} // namespace VREL
