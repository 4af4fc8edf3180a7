#include "ui/controls/PushButtons.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterMButton(
    MakeControlClass<MButton, ControlForm::TitleVisibleEnabled>(L"MButton"));
const ControlRegistrar kRegisterMButton2(
    MakeControlClass<MButton2, ControlForm::TitleVisibleOne>(L"MButton2"));

constexpr int kPushCells = 4;
constexpr int kDefaultCorner = 8;
constexpr int kDefaultIconFrames = 4;
constexpr UINT kAlignCentre = 1;
constexpr Gdiplus::ARGB kPressedTextArgb = 0xFFFFFFFF;

// The small icon of MButton2: 10 x 10, 5 pixels from the left edge.
constexpr int kSmallIconSize = 10;
constexpr int kSmallIconLeft = 5;

// A push cell's look: its title colour (none untitled), the pressed cell's
// shift and, over a skin, its own frame.
std::uint64_t PushCellLook(int index, bool titled, Gdiplus::Color colour, bool skinned)
{
    return CellLook(titled ? colour.GetValue() : 0, index == BUTTON_STATE_PRESSED, skinned ? index : -1);
}

} // namespace

MButton::MButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MPushButtonBase(owner, id, rect, title, visible, enabled, REPAINT_THEN_NOTIFY, true),
      m_frameSize(kDefaultCorner),
      m_iconFrameWidth(0),
      m_iconHeight(0),
      m_iconFrameCount(kDefaultIconFrames)
{
    m_hAlign = kAlignCentre;
}

MButton::~MButton() = default;

int MButton::SetIconImage(const wchar_t* name, int count)
{
    count = ValidFrameCount(count);
    m_pIcon.reset(MRender::LoadImageFromFile(GetSkinFolder() + name));
    if (!m_pIcon)
        return 0;
    m_iconFrameWidth = static_cast<int>(m_pIcon->GetWidth() / static_cast<UINT>(count));
    m_iconHeight = static_cast<int>(m_pIcon->GetHeight());
    m_iconFrameCount = count;
    return 1;
}

void MButton::DrawSkinCell(const StateCell& cell, int frame) const
{
    if (!m_pImage)
        return;
    MRender::DrawImageFrame(cell.graphics, m_pImage, CRect(cell.left, 0, cell.left + cell.width, cell.height),
                            m_frameWidth * frame, 0, m_frameWidth, m_frameHeight, m_frameSize);
}

Gdiplus::RectF MButton::TitleBox(const StateCell& cell) const
{
    if (m_textRect.IsRectEmpty())
        return cell.Box(0, 0, static_cast<float>(cell.width), static_cast<float>(cell.height));
    return cell.Box(static_cast<float>(m_textRect.left), static_cast<float>(m_textRect.top),
                    static_cast<float>(m_textRect.Width()), static_cast<float>(m_textRect.Height()));
}

void MButton::DrawTitleCell(const StateCell& cell, const Gdiplus::Font& font, const Gdiplus::RectF& layout,
                            Gdiplus::Color colour) const
{
    const float shift = cell.index == BUTTON_STATE_PRESSED ? 1.0f : 0.0f;
    Gdiplus::RectF box = layout;
    box.Offset(shift, shift);
    cell.graphics.SetTextRenderingHint(m_textHint);
    const auto format =
        MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
    DrawText(cell.graphics, m_title, font, box, *format, colour);
}

void MButton::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    auto colourOf = [this](int index) {
        if (index == BUTTON_STATE_DISABLED)
            return Gdiplus::Color(kDisabledTextArgb);
        if (index == BUTTON_STATE_PRESSED)
            return Gdiplus::Color(kPressedTextArgb);
        return m_textColor;
    };
    DrawStateCells(
        *this, dc, m_hMemDC, kPushCells, m_state,
        [&](const StateCell& cell) {
            DrawSkinCell(cell, cell.index);
            if (m_title.IsEmpty())
                return;
            DrawTitleCell(cell, font.Get(cell), TitleBox(cell), colourOf(cell.index));
        },
        [&](int index) { return PushCellLook(index, !m_title.IsEmpty(), colourOf(index), m_pImage != nullptr); });
}

// ---- MButton2 ----------------------------------------------------------------------------

MButton2::MButton2(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MButton(owner, id, rect, title, visible, enabled)
{
}

void MButton2::DrawControl(HDC& dc, CRect)
{
    CellFont font(*this);
    auto colourOf = [this](int index) {
        return index == BUTTON_STATE_DISABLED ? Gdiplus::Color(kDisabledTextArgb) : m_textColor;
    };
    DrawStateCells(
        *this, dc, m_hMemDC, kPushCells, m_state,
        [&](const StateCell& cell) {
            DrawSkinCell(cell, cell.index);
            if (m_pIcon)
            {
                const int iconFrame = cell.index == BUTTON_STATE_PRESSED ? 1 : 0;
                DrawStripFrame(cell.graphics, m_pIcon.get(),
                               Gdiplus::Rect(cell.left + kSmallIconLeft, (cell.height - kSmallIconSize) / 2,
                                             kSmallIconSize, kSmallIconSize),
                               m_iconFrameWidth * iconFrame, 0, m_iconFrameWidth, m_iconHeight);
            }
            if (m_title.IsEmpty())
                return;
            DrawTitleCell(cell, font.Get(cell), TitleBox(cell), colourOf(cell.index));
        },
        // The pressed cell differs in its icon frame and its text shift.
        [&](int index) { return PushCellLook(index, !m_title.IsEmpty(), colourOf(index), m_pImage != nullptr); });
}

} // namespace VREL
