#include "ui/keyboard/DpiBatteryCtrl.h"

#include <algorithm>
#include <cwchar>

#include "ui/controls/CheckButtons.h"
#include "ui/controls/GroupSiblings.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/PeripheralPaint.h"

namespace VREL {

namespace {

// ---- the DPI card ----
constexpr wchar_t kDpiClassName[] = L"DPIControl";
constexpr wchar_t kCheckBoxImage[] = L"btn_checkbox.png";
constexpr int kCheckBoxFrames = 8;
constexpr int kColorButtonFrames = 4;
constexpr int kDefaultDpi = 500;
constexpr COLORREF kDefaultColor = 255;
// Which child a card's own copy of a child notification names, in lParam.
constexpr LPARAM kFromCheckBox = 1;
constexpr LPARAM kFromColorButton = 2;
// The check box at the left, the colour button at the right of the card.
constexpr int kCheckBoxTop = 30;
constexpr int kCheckBoxWidth = 24;
constexpr int kColorButtonWidth = 20;
constexpr int kColorButtonTop = 35;
constexpr int kColorButtonBottom = 5;
// The card image, nine-grid, between the two children.
constexpr int kCardSide = 22;
constexpr int kCardTop = 35;
constexpr int kCardBottom = 5;
constexpr int kCardCorner = 4;
constexpr int kTitleTop = 10;
constexpr int kLineHeight = 20;
constexpr int kCardFontShrink = 2;
constexpr Gdiplus::ARGB kCheckedValueColor = 0xFECA5180;
constexpr int kCardFrames = 2;

// ---- the battery ----
constexpr int kBatteryFontSize = 14;
constexpr int kFullPercent = 100;
constexpr int kChargingIconGap = 5;
// While charging the fill climbs by one step every so many ticks.
constexpr int kChargingStep = 10;
constexpr int kTicksPerChargingStep = 25;

int ClampPercent(int value) { return std::min(std::max(value, 0), kFullPercent); }

} // namespace

// ---------------------------------------------------------------------- DPIControl

DPIControl::DPIControl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_pCheckBox(nullptr),
      m_pColorButton(nullptr),
      m_checked(0),
      m_dpiValue(kDefaultDpi),
      m_color(kDefaultColor),
      m_groupName(kDpiClassName)
{
}

DPIControl::~DPIControl() = default;

const wchar_t* DPIControl::GetClassNameW() const { return kDpiClassName; }

void DPIControl::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    if (!m_pCheckBox)
    {
        m_pCheckBox = dynamic_cast<CCheckButton*>(CreateControl(L"CCheckButton", kCheckBoxId, CRect(), L"", 1, 1));
        if (m_pCheckBox)
        {
            m_pCheckBox->SetImage(kCheckBoxImage, kCheckBoxFrames);
            m_pCheckBox->SetCheck(1);
        }
    }
    if (!m_pColorButton)
    {
        m_pColorButton =
            dynamic_cast<CColorButton*>(CreateControl(L"CColorButton", kColorButtonId, CRect(), L"", 1, 1));
        if (m_pColorButton)
        {
            m_pColorButton->SetImage(kCheckBoxImage, kColorButtonFrames);
            m_pColorButton->SetCheck(1);
            m_pColorButton->SetColor(m_color);
        }
    }
    SetControlRect(m_rect);
}

void DPIControl::PlaceChild(MControl* child, CRect target)
{
    if (!child)
        return;
    CRect dirty;
    dirty.UnionRect(child->GetRect(), target);
    child->SetControlRect(target);
    OnControlUpdate(dirty, 1, child);
}

void DPIControl::SetControlRect(CRect rect)
{
    m_rect = rect;
    PlaceChild(m_pCheckBox, CRect(rect.left, rect.top + kCheckBoxTop, rect.left + kCheckBoxWidth, rect.bottom));
    PlaceChild(m_pColorButton, CRect(rect.right - kColorButtonWidth, rect.top + kColorButtonTop, rect.right,
                                     rect.bottom - kColorButtonBottom));
}

LRESULT DPIControl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (!m_pOwner)
        return 0;
    if (id == kCheckBoxId)
        m_pOwner->OnBaseMessage(m_id, code, 0, kFromCheckBox);
    else if (id == kColorButtonId)
        m_pOwner->OnBaseMessage(m_id, code, 0, kFromColorButton);
    return m_pOwner->OnBaseMessage(id, code, wParam, lParam);
}

int DPIControl::SetCheck(int check)
{
    if (check != m_checked)
    {
        m_checked = check;
        UpdateControl(0, 0);
    }
    return 1;
}

int DPIControl::ResetGroupCheck()
{
    if (!m_pOwner)
        return 0;
    for (MControl* sibling : GroupSiblings::Of(*this, true))
    {
        if (sibling == this || !sibling->IsClass(kDpiClassName))
            continue;
        DPIControl* card = static_cast<DPIControl*>(sibling);
        if (card->m_groupName == m_groupName && card->m_checked)
            card->SetCheck(0);
    }
    return 1;
}

void DPIControl::SetDPIValue(int value)
{
    if (value == m_dpiValue)
        return;
    m_dpiValue = value;
    UpdateControl(1, 0);
}

void DPIControl::SetColor(COLORREF colour)
{
    m_color = colour;
    if (m_pColorButton)
        m_pColorButton->SetColor(colour);
}

void DPIControl::SetGroupName(const wchar_t* name) { m_groupName = name ? name : L""; }

int DPIControl::OnControlMouseMove(UINT, CPoint) { return 0; }

int DPIControl::OnControlLButtonDown(UINT, CPoint pt)
{
    if (m_bEnabled && m_rect.PtInRect(pt))
    {
        const int before = m_checked;
        m_checked = 1;
        ResetGroupCheck();
        if (before != m_checked)
            UpdateControl(0, 0);
    }
    return 0;
}

int DPIControl::OnControlLButtonUp(UINT, CPoint) { return 0; }

void DPIControl::DrawControl(HDC& dc, CRect)
{
    DrawStateCells(*this, dc, m_hMemDC, kCardFrames, m_checked ? 1 : 0, [&](const StateCell& cell) {
        const int x = cell.left;
        if (m_pImage && m_frameWidth > 0)
        {
            // A strip of one frame shows it in both looks.
            const int frame = std::min(cell.index, std::max(m_frameCount, 1) - 1);
            MRender::DrawImageFrame(cell.graphics, m_pImage,
                                    CRect(x + kCardSide, kCardTop, x + cell.width - kCardSide,
                                          cell.height - kCardBottom),
                                    frame * m_frameWidth, 0, m_frameWidth, m_frameHeight, kCardCorner);
        }
        if (m_title.IsEmpty())
            return;
        ::SetBkMode(cell.dc, TRANSPARENT);
        cell.graphics.SetTextRenderingHint(m_textHint);
        const ControlFont font(*this, m_fontSize - kCardFontShrink, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        DrawText(cell.graphics, m_title, font.Get(),
                 Gdiplus::RectF(static_cast<float>(x), static_cast<float>(kTitleTop), static_cast<float>(cell.width),
                                static_cast<float>(kLineHeight)),
                 *format, m_textColor);
        wchar_t value[16];
        std::swprintf(value, sizeof(value) / sizeof(value[0]), L"%d", m_dpiValue);
        DrawText(cell.graphics, value, font.Get(),
                 Gdiplus::RectF(static_cast<float>(x + kCardSide), static_cast<float>(kCardTop),
                                static_cast<float>(cell.width - 2 * kCardSide), static_cast<float>(kLineHeight)),
                 *format, cell.index == 0 ? m_textColor : Gdiplus::Color(kCheckedValueColor));
    });
}

// --------------------------------------------------------------------- BatteryCtrl

BatteryCtrl::BatteryCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_percent(kFullPercent),
      m_charging(0),
      m_chargingLevel(0),
      m_ticks(0),
      m_pTickManager(nullptr)
{
    m_fontSize = kBatteryFontSize;
    m_bRunTimer = 1;
    m_bRunning = 1;
}

BatteryCtrl::~BatteryCtrl()
{
    // Out of the tick list before any part of the control goes: the tick
    // runs on the multimedia timer's thread and may be about to call it.
    if (m_pTickManager)
        m_pTickManager->DeleteMTimer(this);
    m_pTickManager = nullptr;
}

void BatteryCtrl::InitControl(PaintManager* manager)
{
    if (m_pTickManager == manager)
        return;
    if (m_pTickManager)
        m_pTickManager->DeleteMTimer(this);
    m_pTickManager = manager;
    if (manager)
        manager->AddMTimer(this);
}

void BatteryCtrl::Load(Picture& picture, const CString& file)
{
    PeripheralImage loaded = LoadOwnedImage(GetSkinFolder() + file);
    picture.image = std::move(loaded.image);
    picture.width = loaded.width;
    picture.height = loaded.height;
}

int BatteryCtrl::SetImage(const wchar_t* file, int)
{
    Load(m_body, file ? CString(file) : CString());
    UpdateControl(1, 0);
    return m_body.image ? 1 : 0;
}

int BatteryCtrl::SetBatteryIcon(CString levelFile, CString chargingFile)
{
    Load(m_level, levelFile);
    Load(m_chargingIcon, chargingFile);
    UpdateControl(1, 0);
    return 1;
}

void BatteryCtrl::SetBatteryInfo(int percent, int charging)
{
    if (percent == m_percent && charging == m_charging)
        return;
    m_percent = percent;
    m_charging = charging;
    m_chargingLevel = ClampPercent(percent);
    m_ticks = 0;
    UpdateControl(1, 0);
}

int BatteryCtrl::OnControlTimer()
{
    if (m_charging != 1 || !m_bVisible)
        return 0;
    if (++m_ticks < kTicksPerChargingStep)
        return 1;
    m_ticks = 0;
    // The fill climbs from the charge to full, then starts again.
    int level = m_chargingLevel.load() + kChargingStep;
    if (level > kFullPercent)
        level = ClampPercent(m_percent);
    m_chargingLevel = level;
    UpdateControl(1, 0);
    return 1;
}

void BatteryCtrl::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        Gdiplus::Graphics& graphics = cell.graphics;
        if (m_body.image)
            graphics.DrawImage(m_body.image.get(), 0, 0, m_body.width, m_body.height);
        // A charge outside 0..100 is shown as empty or full, never past the
        // end of the fill image.
        const int level = ClampPercent(m_charging == 1 ? m_chargingLevel.load() : m_percent);
        const int fill = level * m_level.width / kFullPercent;
        if (m_level.image && fill > 0)
        {
            graphics.DrawImage(m_level.image.get(), Gdiplus::Rect(0, 0, fill, m_level.height), 0, 0, fill,
                               m_level.height, Gdiplus::UnitPixel);
        }
        if (m_charging == 1)
        {
            if (m_chargingIcon.image)
            {
                graphics.DrawImage(m_chargingIcon.image.get(), m_body.width + kChargingIconGap,
                                   static_cast<int>((cell.height - m_chargingIcon.height) * 0.5),
                                   m_chargingIcon.width, m_chargingIcon.height);
            }
            return;
        }
        if (m_percent == 0)
            return;
        wchar_t text[16];
        std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d%%", m_percent);
        m_title = text;
        ::SetBkMode(cell.dc, TRANSPARENT);
        graphics.SetTextRenderingHint(m_textHint);
        const ControlFont font(*this, m_fontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        DrawText(graphics, m_title, font.Get(),
                 Gdiplus::RectF(0.0f, 0.0f, static_cast<float>(m_body.width), static_cast<float>(cell.height)),
                 *format, m_textColor);
    });
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterBatteryCtrl(MakeControlClass<BatteryCtrl, ControlForm::VisibleOne>(L"BatteryCtrl"));

} // namespace

} // namespace VREL
