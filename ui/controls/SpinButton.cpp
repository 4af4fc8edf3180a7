#include "ui/controls/SpinButton.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "ui/controls/ControlFontFamily.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

constexpr UINT kUpArrowId = 30;
constexpr UINT kDownArrowId = 31;
constexpr wchar_t kArrowClass[] = L"CImageButton";
constexpr wchar_t kUpArrowImage[] = L"img_spin_up.png";
constexpr wchar_t kDownArrowImage[] = L"img_spin_down.png";
constexpr int kArrowFrames = 4;
// The arrows stand 4 pixels in from the right edge, one above and one below
// the middle.
constexpr int kArrowRightInset = 4;

constexpr Gdiplus::ARGB kValueTextColor = 0xFE050505;
constexpr Gdiplus::ARGB kDisabledTextColor = 0xFF808080;
// The selection look behind the value while focused.
constexpr Gdiplus::ARGB kFocusFillColor = 0xFE3399FF;
constexpr int kFocusLeft = 5;
constexpr int kFocusHalfHeight = 7;
constexpr int kFocusRightTrim = 28;
constexpr int kTextLeft = 4;
constexpr int kTextRightTrim = 18;
constexpr int kCells = 4;
constexpr int kDisabledCell = 3;
constexpr int kFrameCorner = 6;

constexpr int kDefaultMinimum = 1;
constexpr int kDefaultMaximum = 100;
constexpr int kDefaultDigitLimit = 3;
// Nine decimal digits always fit an int; a longer text would not.
constexpr int kMaxDigits = 9;

constexpr UINT kKeyBackspace = VK_BACK;
constexpr UINT kKeyLeft = VK_LEFT;
constexpr UINT kKeyUp = VK_UP;
constexpr UINT kKeyRight = VK_RIGHT;
constexpr UINT kKeyDown = VK_DOWN;
constexpr UINT kKeyPadPlus = VK_ADD;
constexpr UINT kKeyPadMinus = VK_SUBTRACT;
constexpr UINT kKeyDigit0 = '0';
constexpr UINT kKeyDigit9 = '9';
constexpr UINT kKeyPad0 = VK_NUMPAD0;
constexpr UINT kKeyPad9 = VK_NUMPAD9;

constexpr INT kTextFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

} // namespace

MSpinButton::MSpinButton(MObject* owner, UINT id, CRect rect, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_state(0),
      m_value(0),
      m_minimum(kDefaultMinimum),
      m_maximum(kDefaultMaximum),
      m_digitLimit(kDefaultDigitLimit),
      m_pUp(nullptr),
      m_pDown(nullptr)
{
    SetTextColor(Gdiplus::Color(kValueTextColor));
}

// The arrows are children of the panel and go with it.
MSpinButton::~MSpinButton() = default;

void MSpinButton::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    // Bound a second time, the box keeps the arrows it has.
    if (m_pUp || m_pDown)
        return;
    m_pUp = dynamic_cast<MControlFont*>(CreateControl(kArrowClass, kUpArrowId, CRect(), nullptr, 1, 1));
    m_pDown = dynamic_cast<MControlFont*>(CreateControl(kArrowClass, kDownArrowId, CRect(), nullptr, 1, 1));
    if (m_pUp)
        m_pUp->SetImage(kUpArrowImage, kArrowFrames);
    if (m_pDown)
        m_pDown->SetImage(kDownArrowImage, kArrowFrames);
    SetControlRect(m_rect);
}

void MSpinButton::PlaceArrow(MControl* arrow, int top, int bottom)
{
    const CSize frame = static_cast<MControlFont*>(arrow)->GetImageSize();
    arrow->SetRect(CRect(m_rect.right - frame.cx - kArrowRightInset, top, m_rect.right - kArrowRightInset, bottom));
}

void MSpinButton::SetControlRect(CRect rect)
{
    MPanel::SetControlRect(rect);
    const int mid = rect.top + (rect.bottom - rect.top) / 2;
    // Before binding the arrows do not exist yet.
    if (m_pUp)
        PlaceArrow(m_pUp, mid - m_pUp->GetImageSize().cy, mid);
    if (m_pDown)
        PlaceArrow(m_pDown, mid, mid + m_pDown->GetImageSize().cy);
}

void MSpinButton::SetCurValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    UpdateControl(1, 0);
}

void MSpinButton::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void MSpinButton::ChangeValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    UpdateControl(1, 0);
}

void MSpinButton::Notify() { SendMessageW(NC_SPIN, 0, 0); }

int MSpinButton::StepUp() const
{
    const int64_t v = static_cast<int64_t>(m_value) + 1;
    return v > m_maximum ? m_minimum : static_cast<int>(v);
}

int MSpinButton::StepDown() const
{
    const int64_t v = static_cast<int64_t>(m_value) - 1;
    return v < m_minimum ? m_maximum : static_cast<int>(v);
}

LRESULT MSpinButton::OnMessage(UINT id, UINT code, WPARAM, LPARAM)
{
    if (code != NC_CLICKED || (id != kUpArrowId && id != kDownArrowId))
        return 0;
    ChangeValue(id == kUpArrowId ? StepUp() : StepDown());
    Notify();
    return 1;
}

void MSpinButton::CalcValue(int digit)
{
    CString text;
    text.Format(L"%d%d", m_value, digit);
    const int limit = std::min(m_digitLimit, kMaxDigits);
    int value = digit;
    if (text.GetLength() <= limit)
        value = static_cast<int>(std::wcstol(text.GetString(), nullptr, 10));
    if (value > m_maximum)
        value = m_minimum;
    else if (value < m_minimum)
        value = m_maximum;
    ChangeValue(value);
    Notify();
}

int MSpinButton::OnControlKeyDown(UINT key, UINT, UINT)
{
    if (!m_bKeyFocus)
        return 0;
    if (key == kKeyUp || key == kKeyPadPlus)
    {
        ChangeValue(StepUp());
        Notify();
        return 1;
    }
    if (key == kKeyDown || key == kKeyPadMinus)
    {
        ChangeValue(StepDown());
        Notify();
        return 1;
    }
    if (key == kKeyBackspace)
    {
        int value = 0;
        if (m_value >= 10)
        {
            CString text;
            text.Format(L"%d", m_value);
            value = static_cast<int>(std::wcstol(text.Left(text.GetLength() - 1).GetString(), nullptr, 10));
        }
        if (value != m_value)
        {
            ChangeValue(value);
            Notify();
        }
        return 1;
    }
    if (key == kKeyLeft || key == kKeyRight)
        return 1;
    if (key >= kKeyDigit0 && key <= kKeyDigit9)
    {
        CalcValue(static_cast<int>(key - kKeyDigit0));
        return 1;
    }
    if (key >= kKeyPad0 && key <= kKeyPad9)
    {
        CalcValue(static_cast<int>(key - kKeyPad0));
        return 1;
    }
    return 0;
}

int MSpinButton::ChangeState(int state)
{
    if (state == m_state)
        return 0;
    m_state = state;
    UpdateControl(0, 0);
    return 1;
}

int MSpinButton::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || m_state == 2)
        return 0;
    return ChangeState(m_rect.PtInRect(pt) ? 1 : 0);
}

int MSpinButton::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_rect.PtInRect(pt))
        return 0;
    return ChangeState(2);
}

int MSpinButton::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    return ChangeState(m_rect.PtInRect(pt) ? 1 : 0);
}

void MSpinButton::SetControlEnabled(int enabled)
{
    for (MControlFont* arrow : {m_pUp, m_pDown})
    {
        if (!arrow || arrow->IsEnabled() == enabled)
            continue;
        arrow->SetControlEnabled(enabled);
        if (arrow->IsVisible())
            arrow->UpdateControl(1, 0);
    }
    if (enabled == m_bEnabled)
        return;
    m_bEnabled = enabled;
    m_state = enabled ? 0 : kDisabledCell;
    UpdateControl(0, 0);
}

int MSpinButton::SetControlFocus(int focus)
{
    if (!m_bEnabled)
        return 0;
    if (focus == m_bKeyFocus)
        return 1;
    m_bKeyFocus = focus;
    UpdateControl(1, 0);
    return 1;
}

LookInputs MSpinButton::LookOf() const
{
    LookInputs inputs;
    inputs.Add(m_title).Add(m_textHint).Add(m_fontName).Add(m_fontSize).Add(m_fontStyle);
    inputs.Add(m_textColor).Add(m_bKeyFocus).Add(m_pImage).Add(m_frameCount);
    inputs.Add(m_frameWidth).Add(m_frameHeight);
    return inputs;
}

void MSpinButton::DrawControl(HDC& dc, CRect)
{
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (!m_bUpdate)
    {
        // The value is the box's title.
        CString text;
        text.Format(L"%d", m_value);
        SetControlTitle(text);
    }
    if (!m_bUpdate && !m_kept.Restore(*this, dc, m_hMemDC, kCells, LookOf()))
    {
        UpdateMemDC(dc, kCells * w, h);
        Gdiplus::Graphics graphics(m_hMemDC);
        graphics.SetPageUnit(Gdiplus::UnitPixel);
        graphics.SetTextRenderingHint(m_textHint);
        ControlFontFamily family(*this, m_fontName);
        Gdiplus::Font font(family.Get(), static_cast<Gdiplus::REAL>(m_fontSize), m_fontStyle, Gdiplus::UnitPixel);
        Gdiplus::StringFormat format;
        format.SetAlignment(Gdiplus::StringAlignmentNear);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetFormatFlags(kTextFlags);
        Gdiplus::SolidBrush focusBrush((Gdiplus::Color(kFocusFillColor)));
        Gdiplus::SolidBrush textBrush(m_textColor);
        Gdiplus::SolidBrush disabledBrush((Gdiplus::Color(kDisabledTextColor)));
        const int lastFrame = std::max(m_frameCount, 1) - 1;
        // A cell of the same frame and text colour as an earlier one is a
        // copy of it: the text costs far more than the copy.
        auto lookOf = [&](int i) { return CellLook(i == kDisabledCell, 0, m_pImage ? std::min(i, lastFrame) : -1); };
        for (int i = 0; i < kCells; ++i)
        {
            const int left = i * w;
            int same = 0;
            while (same < i && lookOf(same) != lookOf(i))
                ++same;
            if (same < i)
            {
                graphics.Flush(Gdiplus::FlushIntentionSync);
                MRender::BitBlt(m_hMemDC, left, 0, w, h, m_hMemDC, same * w, 0);
                continue;
            }
            MRender::BitBlt(m_hMemDC, left, 0, w, h, dc, m_rect.left, m_rect.top);
            if (m_pImage)
                MRender::DrawImageFrame(graphics, m_pImage, CRect(left, 0, left + w, h),
                                        std::min(i, lastFrame) * m_frameWidth, 0, m_frameWidth, m_frameHeight,
                                        kFrameCorner);
            if (m_bKeyFocus)
                graphics.FillRectangle(&focusBrush, left + kFocusLeft, h / 2 - kFocusHalfHeight, w - kFocusRightTrim,
                                       2 * kFocusHalfHeight);
            const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(left + kTextLeft), 0.0f,
                                     static_cast<Gdiplus::REAL>(w - kTextRightTrim), static_cast<Gdiplus::REAL>(h));
            graphics.DrawString(m_title, m_title.GetLength(), &font, box, &format,
                                i == kDisabledCell ? &disabledBrush : &textBrush);
        }
        m_kept.Rendered(m_hMemDC);
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hMemDC, std::min(std::max(m_state, 0), kCells - 1) * w, 0);
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterMSpinButton(MakeControlClass<MSpinButton, ControlForm::VisibleEnabled>(L"MSpinButton"));

} // namespace

} // namespace VREL
