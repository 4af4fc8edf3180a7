#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterCTextButton(
    MakeControlClass<CTextButton, ControlForm::TitleVisibleEnabled>(L"CTextButton"));

constexpr int kPushCells = 4;
constexpr Gdiplus::ARGB kSelectArgb = 0xFF49FFE6;
// Room the measured text gets beside its width, and its drop below the
// computed origin.
constexpr int kTextPadding = 6;
constexpr int kTextDrop = 2;

} // namespace

CTextButton::CTextButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, title, visible, enabled, NOTIFY_THEN_REPAINT, false),
      m_lookColours{Gdiplus::Color(kSelectArgb), Gdiplus::Color(kSelectArgb), Gdiplus::Color(kDisabledTextArgb)}
{
}

void CTextButton::SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color down,
                                     Gdiplus::Color disabled)
{
    SetTextColor(normal);
    m_lookColours = {hover, down, disabled};
    UpdateControl(1, 0);
}

struct CTextButton::TextLayout
{
    // What the layout was made for.
    CString title;
    CString fontName;
    int fontSize;
    Gdiplus::FontStyle fontStyle;
    CSize cell;
    UINT hAlign;
    UINT vAlign;
    Gdiplus::FontFamily* family;

    std::unique_ptr<ControlFont> font;
    std::unique_ptr<Gdiplus::StringFormat> format;
    CPoint origin;
    int textHeight;
};

CTextButton::~CTextButton() = default;

void CTextButton::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kPushCells, m_state, [&](const StateCell& cell) {
        if (m_title.IsEmpty())
            return;
        // Making the font and measuring the title cost more than drawing
        // it: both are kept while nothing they depend on changed.
        const CString fontName = GetTextFont();
        TextLayout* layout = m_pLayout.get();
        // The window's cached family (a stand-in family without a window).
        Gdiplus::FontFamily* family = m_pManager ? m_pManager->FindTempFont(fontName) : nullptr;
        if (!layout || layout->title != m_title || layout->fontName != fontName || layout->fontSize != m_fontSize ||
            layout->fontStyle != m_fontStyle || layout->cell != CSize(cell.width, cell.height) ||
            layout->hAlign != m_hAlign || layout->vAlign != m_vAlign || layout->family != family)
        {
            m_pLayout = std::make_unique<TextLayout>();
            layout = m_pLayout.get();
            layout->title = m_title;
            layout->fontName = fontName;
            layout->fontSize = m_fontSize;
            layout->fontStyle = m_fontStyle;
            layout->cell = CSize(cell.width, cell.height);
            layout->hAlign = m_hAlign;
            layout->vAlign = m_vAlign;
            layout->family = family;
            layout->font = std::make_unique<ControlFont>(*this, m_fontSize, m_fontStyle);
            layout->format =
                MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear, kSingleLineFlags);
            const Gdiplus::Size measured = MRender::GetTextBounds(layout->font->Get(), *layout->format, m_title);
            layout->textHeight = measured.Height;
            layout->origin = MRender::GetOriginPoint(cell.width, cell.height, measured.Width + kTextPadding,
                                                     layout->textHeight, m_hAlign, m_vAlign);
        }
        if (cell.index == 0)
            ::SetBkMode(cell.dc, TRANSPARENT);
        const float shift = cell.index == BUTTON_STATE_PRESSED ? 1.0f : 0.0f;
        const CPoint origin = layout->origin;
        cell.graphics.SetTextRenderingHint(m_textHint);
        DrawText(cell.graphics, m_title, layout->font->Get(),
                 cell.Box(static_cast<float>(origin.x) + shift, static_cast<float>(origin.y + kTextDrop) + shift,
                          static_cast<float>(cell.width - origin.x), static_cast<float>(layout->textHeight)),
                 *layout->format, m_lookColours.Of(cell.index, m_textColor));
    }, [&](int index) {
        return CellLook(m_title.IsEmpty() ? 0 : m_lookColours.Of(index, m_textColor).GetValue(),
                        index == BUTTON_STATE_PRESSED);
    });
}

} // namespace VREL
