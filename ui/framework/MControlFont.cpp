#include "ui/framework/MControlFont.h"

#include <algorithm>
#include <cwchar>

#include "ui/framework/ImgResInfo.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"

namespace VREL {

namespace {

constexpr UINT kAlignVCentre = 4;
constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr int kFontStyleBold = 1;
constexpr int kFontStyleItalic = 2;
constexpr int kFontStyleUnderline = 4;
constexpr LONG kBoldWeightStep = 700;
constexpr LONG kHeaviestWeight = 1000;

} // namespace

MControlFont::MControlFont(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int response)
    : MControl(owner, id, rect, visible, enabled, response),
      m_title(title),
      m_fontName(Manager::GetFontName()),
      m_fontSize(Manager::m_fontwidth),
      m_textColor(kWhite),
      m_pTextBrush(std::make_unique<Gdiplus::SolidBrush>(m_textColor)),
      m_fontStyle(Gdiplus::FontStyleRegular),
      m_hAlign(0),
      m_vAlign(kAlignVCentre),
      m_textHint(Gdiplus::TextRenderingHintClearTypeGridFit),
      m_hGdiFont(nullptr),
      m_pImage(nullptr),
      m_frameWidth(0),
      m_frameHeight(0),
      m_frameCount(4)
{
}

MControlFont::~MControlFont() { ClearGDIFont(); }

void MControlFont::SetTextFont(CString name) { m_fontName = name; }

void MControlFont::SetTextColor(Gdiplus::Color colour)
{
    m_pTextBrush.reset();
    m_textColor = colour;
    m_pTextBrush = std::make_unique<Gdiplus::SolidBrush>(m_textColor);
}

int MControlFont::SetImage(UINT id, CString type, int count)
{
    if (!m_pManager)
        return 0;
    return TakeStrip(m_pManager->AddImgResInfo(id, type, count, 1), count);
}

int MControlFont::SetImage(const wchar_t* file, int count)
{
    if (!m_pManager)
        return 0;
    return TakeStrip(m_pManager->AddImgResInfo(file, count), count);
}

int MControlFont::TakeStrip(const ImgResInfo* info, int count)
{
    if (!info)
        return 0;
    m_frameCount = count;
    m_pImage = info->image;
    m_frameWidth = info->frameWidth;
    m_frameHeight = info->frameHeight;
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
    return 1;
}

void MControlFont::SetControlTitle(const wchar_t* title) { m_title = title; }

CString MControlFont::GetControlTitle() { return m_title; }

void MControlFont::SetTitle(const wchar_t* title)
{
    ClearGDIFont();
    SetControlTitle(title);
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

CString MControlFont::GetTitle() { return GetControlTitle(); }

void MControlFont::SetAlignment(UINT h)
{
    if (h == m_hAlign)
        return;
    m_hAlign = h;
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

void MControlFont::SetVAlignment(UINT v)
{
    if (v == m_vAlign)
        return;
    m_vAlign = v;
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

void MControlFont::SetAlignment(UINT h, UINT v)
{
    if (h == m_hAlign && v == m_vAlign)
        return;
    m_hAlign = h;
    m_vAlign = v;
    if (m_bVisible && m_pOwner)
        m_pOwner->OnControlUpdate(m_rect, 1, this);
}

void MControlFont::GetAlignment(UINT& h, UINT& v) const
{
    h = m_hAlign;
    v = m_vAlign;
}

void MControlFont::SetFont(const wchar_t* name, int size, Gdiplus::FontStyle style)
{
    m_fontName = name;
    m_fontSize = size;
    m_fontStyle = style;
}

void MControlFont::SetFontName(const wchar_t* name) { m_fontName = name; }

CString MControlFont::GetTextFont() const { return m_fontName; }

Gdiplus::FontFamily* MControlFont::GetFontFamily(const wchar_t* name)
{
    if (!m_pManager)
        return nullptr;
    m_pFontFamily.reset();
    if (Gdiplus::FontFamily* family = m_pManager->FindTempFont(name))
        m_pFontFamily.reset(family->Clone());
    return m_pFontFamily.get();
}

HFONT MControlFont::GetGDIFont()
{
    if (m_hGdiFont)
        return m_hGdiFont;
    LOGFONTW font = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    const CString face = Manager::GetFontName();
    // The face field holds LF_FACESIZE characters including the terminator.
    const size_t length = std::min<size_t>(static_cast<size_t>(face.GetLength()), LF_FACESIZE - 1);
    std::wmemcpy(font.lfFaceName, face.GetString(), length);
    font.lfFaceName[length] = L'\0';
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = -m_fontSize;
    const int style = static_cast<int>(m_fontStyle);
    // The stock weight plus the bold step can pass the largest weight GDI
    // knows; keep it in range so that the font is still made.
    if (style & kFontStyleBold)
        font.lfWeight = std::min(font.lfWeight + kBoldWeightStep, kHeaviestWeight);
    if (style & kFontStyleItalic)
        font.lfItalic = TRUE;
    if (style & kFontStyleUnderline)
        font.lfUnderline = TRUE;
    m_hGdiFont = ::CreateFontIndirectW(&font);
    return m_hGdiFont;
}

void MControlFont::ClearGDIFont()
{
    if (m_hGdiFont)
    {
        ::DeleteObject(m_hGdiFont);
        m_hGdiFont = nullptr;
    }
}

} // namespace VREL
