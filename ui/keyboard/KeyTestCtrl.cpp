#include "ui/keyboard/KeyTestCtrl.h"

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/PeripheralPaint.h"

namespace VREL {

namespace {

// ---- pressed-key tiles ----
// RemoveKey's first step below the held level.
constexpr int kFadeStartLevel = 251;
constexpr int kFadeStep = 5;
// A fading tile goes once its level drops below this.
constexpr int kGoneLevel = 50;
constexpr Gdiplus::ARGB kPanelFill = 0xFF333333;
constexpr Gdiplus::ARGB kPanelRim = 0xFF464646;
constexpr float kPanelRadius = 6.0f;
constexpr Gdiplus::ARGB kTileFill = 0xFF333333;
constexpr Gdiplus::ARGB kTileRim = 0xFF49FFE6;
constexpr float kTileRadius = 4.0f;
constexpr float kTilePen = 2.0f;
constexpr int kTileSize = 50;
constexpr int kTilePitch = 65;
constexpr int kFirstTileX = 25;
constexpr int kFirstTileY = 10;
// A row ends once the next tile would start within this of the right edge;
// rows stop once they would start within kBottomMargin of the bottom.
constexpr int kRightMargin = 60;
constexpr int kBottomMargin = 36;
constexpr int kTileFontSize = 12;

// ---- the test keyboard ----
constexpr int kDefaultOffset = 6;
constexpr int kFrameExtra = 60;
constexpr int kFrameTop = 3;
constexpr float kFrameRadius = 20.0f;
constexpr float kFramePen = 2.0f;
constexpr Gdiplus::ARGB kFrameColor = 0xFF646464;
constexpr int kKeyFontSize = 10;
constexpr Gdiplus::ARGB kKeyFill = 0xFFE8E8E8;
constexpr Gdiplus::ARGB kState1Color = 0xFFE74250;
constexpr Gdiplus::ARGB kState2Color = 0xFF21A939;
constexpr Gdiplus::ARGB kUntestedColor = 0xFF646464;
constexpr float kKeyPen = 2.0f;
constexpr int kCornerMark = 10;
constexpr int kNameTop = 5;
constexpr Gdiplus::ARGB kTopBarColor = 0xFFC8C8C8;

Gdiplus::Color StateColor(int state)
{
    if (state == KeyboardTestCtrl::KEY_STATE_1)
        return Gdiplus::Color(kState1Color);
    if (state == KeyboardTestCtrl::KEY_STATE_2)
        return Gdiplus::Color(kState2Color);
    return Gdiplus::Color(kUntestedColor);
}

void FillCornerMark(Gdiplus::Graphics& graphics, int right, int top, Gdiplus::Color colour)
{
    const Gdiplus::Point corner[] = {Gdiplus::Point(right - kCornerMark, top + 1), Gdiplus::Point(right, top + 1),
                                     Gdiplus::Point(right, top + kCornerMark)};
    Gdiplus::SolidBrush brush(colour);
    graphics.FillPolygon(&brush, corner, 3);
}

} // namespace

// ------------------------------------------------------------------- CKeyTestCtrl

CKeyTestCtrl::CKeyTestCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1)
{
    // The flag the fade step looks at; whoever drives the timer hook
    // decides how often it runs.
    m_bRunning = 1;
}

CKeyTestCtrl::~CKeyTestCtrl()
{
    ScopedLock lock(m_itemLock);
    m_items.clear();
}

void CKeyTestCtrl::AddKey(CString name, int code)
{
    {
        ScopedLock lock(m_itemLock);
        auto item = std::make_unique<KEY_TEST_ITEM>();
        item->name = name;
        item->code = code;
        item->level = kHeldLevel;
        m_items.push_back(std::move(item));
    }
    UpdateControl(1, 0);
}

void CKeyTestCtrl::RemoveKey(int code)
{
    ScopedLock lock(m_itemLock);
    for (auto& item : m_items)
    {
        if (item->code == code && item->level == kHeldLevel)
        {
            item->level = kFadeStartLevel;
            return;
        }
    }
}

void CKeyTestCtrl::ClearList()
{
    {
        ScopedLock lock(m_itemLock);
        m_items.clear();
    }
    UpdateControl(1, 0);
}

int CKeyTestCtrl::GetItemCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

CKeyTestCtrl::KEY_TEST_ITEM CKeyTestCtrl::GetItem(int index)
{
    ScopedLock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return KEY_TEST_ITEM();
    return *m_items[static_cast<size_t>(index)];
}

int CKeyTestCtrl::OnControlTimer()
{
    if (!m_bRunning || !m_bVisible)
        return 0;
    bool hadItems = false;
    {
        ScopedLock lock(m_itemLock);
        hadItems = !m_items.empty();
        for (auto it = m_items.begin(); it != m_items.end(); ++it)
        {
            KEY_TEST_ITEM& item = **it;
            if (item.level == kHeldLevel)
                continue;
            item.level -= kFadeStep;
            if (item.level < kGoneLevel)
            {
                // One tile goes per tick; the rest fade on the next one.
                m_items.erase(it);
                break;
            }
        }
    }
    if (hadItems)
        UpdateControl(1, 0);
    return 1;
}

void CKeyTestCtrl::DrawRectange(Gdiplus::Graphics& graphics, int x, int y, int w, int h, Gdiplus::Color border,
                                Gdiplus::Color fill)
{
    Gdiplus::SolidBrush brush(fill);
    graphics.FillRectangle(&brush, x, y, w, h);
    Gdiplus::Pen pen(border, 1.0f);
    graphics.DrawRectangle(&pen, x + 1, y + 1, w - 1, h - 1);
}

void CKeyTestCtrl::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        PrepareGraphics(cell.graphics, m_textHint);
        MRender::DrawRoundRectange(cell.graphics, 1.0f, 1.0f, static_cast<float>(cell.width - 2),
                                   static_cast<float>(cell.height - 2), kPanelRadius, Gdiplus::Color(kPanelRim), 1.0f,
                                   true, Gdiplus::Color(kPanelFill));
        const ControlFont font(*this, kTileFontSize, Gdiplus::FontStyleRegular);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        ScopedLock lock(m_itemLock);
        int x = kFirstTileX;
        int y = kFirstTileY;
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        {
            KEY_TEST_ITEM& item = **it;
            item.rect = CRect(x, y, x + kTileSize, y + kTileSize);
            MRender::DrawRoundRectange(cell.graphics, static_cast<float>(x), static_cast<float>(y),
                                       static_cast<float>(kTileSize), static_cast<float>(kTileSize), kTileRadius,
                                       Gdiplus::Color(kTileRim), kTilePen, Gdiplus::Color(kTileFill));
            DrawText(cell.graphics, item.name, font.Get(),
                     Gdiplus::RectF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(kTileSize),
                                    static_cast<float>(kTileSize)),
                     *format, m_textColor);
            x += kTilePitch;
            if (x > cell.width - kRightMargin)
            {
                y += kTilePitch;
                x = kFirstTileX;
                if (y > cell.height - kBottomMargin)
                    break;
            }
        }
    });
}

// --------------------------------------------------------------- KeyboardTestCtrl

KeyboardTestCtrl::KeyboardTestCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_offsetX(kDefaultOffset),
      m_offsetY(kDefaultOffset),
      m_layoutWidth(0),
      m_layoutHeight(0)
{
}

KeyboardTestCtrl::~KeyboardTestCtrl()
{
    ScopedLock lock(m_itemLock);
    m_items.clear();
}

void KeyboardTestCtrl::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    SetControlRect(m_rect);
}

void KeyboardTestCtrl::Recentre()
{
    m_offsetX = (m_rect.Width() - m_layoutWidth) / 2;
    m_offsetY = (m_rect.Height() - m_layoutHeight) / 2;
}

void KeyboardTestCtrl::SetControlRect(CRect rect)
{
    m_rect = rect;
    if (!m_rect.IsRectEmpty() && m_layoutWidth != 0 && m_layoutHeight != 0)
        Recentre();
    UpdateControl(1, 0);
}

void KeyboardTestCtrl::SetWidthAndHeight(int width, int height)
{
    m_layoutWidth = width;
    m_layoutHeight = height;
    if (!m_rect.IsRectEmpty())
        Recentre();
}

CRect KeyboardTestCtrl::GetRealRect(CRect rect) const
{
    rect.OffsetRect(m_offsetX, m_offsetY);
    return rect;
}

int KeyboardTestCtrl::AddKeyItem(CString name, int code, CString iconFile, CRect rect)
{
    auto item = std::make_unique<KEY_TEST_STATE_ITEM>();
    item->index = static_cast<int>(m_items.size());
    item->code = code;
    item->name = name;
    item->rect = rect;
    if (!iconFile.IsEmpty())
    {
        PeripheralImage icon = LoadOwnedImage(GetSkinFolder() + iconFile);
        item->icon = std::move(icon.image);
        item->iconWidth = icon.width;
        item->iconHeight = icon.height;
    }
    const int index = item->index;
    m_items.push_back(std::move(item));
    return index;
}

void KeyboardTestCtrl::SetKeyState(int code, int state)
{
    {
        ScopedLock lock(m_itemLock);
        for (auto& item : m_items)
        {
            if (item->code == code)
            {
                item->state = state;
                break;
            }
        }
    }
    UpdateControl(1, 0);
}

void KeyboardTestCtrl::ResetKeyState()
{
    {
        ScopedLock lock(m_itemLock);
        for (auto& item : m_items)
            item->state = KEY_UNTESTED;
    }
    UpdateControl(1, 0);
}

void KeyboardTestCtrl::ClearItem()
{
    {
        ScopedLock lock(m_itemLock);
        m_items.clear();
    }
    UpdateControl(1, 0);
}

int KeyboardTestCtrl::GetKeyState(int code)
{
    ScopedLock lock(m_itemLock);
    for (const auto& item : m_items)
        if (item->code == code)
            return item->state;
    return KEY_UNTESTED;
}

int KeyboardTestCtrl::GetItemCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_items.size());
}

void KeyboardTestCtrl::DrawRectange(Gdiplus::Graphics& graphics, int x, int y, int w, int h, Gdiplus::Color pen,
                                    Gdiplus::Color fill, bool corner, int barHeight)
{
    Gdiplus::SolidBrush brush(fill);
    graphics.FillRectangle(&brush, x, y, w, h);
    if (barHeight > 0)
    {
        Gdiplus::SolidBrush bar((Gdiplus::Color(kTopBarColor)));
        graphics.FillRectangle(&bar, x, y, w, barHeight);
    }
    Gdiplus::Pen outline(pen, kKeyPen);
    graphics.DrawRectangle(&outline, x + 2, y + 2, w - 2, h - 2);
    if (corner)
        FillCornerMark(graphics, x + w, y, pen);
}

void KeyboardTestCtrl::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        PrepareGraphics(cell.graphics, m_textHint);
        MRender::DrawRoundRectange(cell.graphics, static_cast<float>((cell.width - m_layoutWidth - kFrameExtra) / 2),
                                   static_cast<float>(kFrameTop), static_cast<float>(m_layoutWidth + kFrameExtra),
                                   static_cast<float>(cell.height - 2 * kFrameTop), kFrameRadius,
                                   Gdiplus::Color(kFrameColor), kFramePen, false, Gdiplus::Color(kFrameColor));
        const ControlFont font(*this, kKeyFontSize, m_fontStyle);
        const auto format =
            MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
        const Gdiplus::SolidBrush keyFill((Gdiplus::Color(kKeyFill)));
        ScopedLock lock(m_itemLock);
        for (const auto& itemPtr : m_items)
        {
            const KEY_TEST_STATE_ITEM& item = *itemPtr;
            const CRect r = GetRealRect(item.rect);
            const Gdiplus::Color marking = StateColor(item.state);
            cell.graphics.FillRectangle(&keyFill, r.left, r.top, r.Width(), r.Height());
            Gdiplus::Pen pen(marking, kKeyPen);
            cell.graphics.DrawRectangle(&pen, r.left + 2, r.top + 2, r.Width() - 2, r.Height() - 2);
            if (item.state == KEY_STATE_1 || item.state == KEY_STATE_2)
                FillCornerMark(cell.graphics, r.right, r.top, marking);
            if (item.icon)
            {
                cell.graphics.DrawImage(item.icon.get(), r.left + (r.Width() - item.iconWidth) / 2,
                                        r.top + (r.Height() - item.iconHeight) / 2, item.iconWidth, item.iconHeight);
            }
            else
            {
                DrawText(cell.graphics, item.name, font.Get(),
                         Gdiplus::RectF(static_cast<float>(r.left + 1), static_cast<float>(r.top + kNameTop),
                                        static_cast<float>(r.Width()), static_cast<float>(r.Height())),
                         *format, m_textColor);
            }
        }
    });
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterCKeyTestCtrl(
    MakeControlClass<CKeyTestCtrl, ControlForm::VisibleOne>(L"CKeyTestCtrl"));
const ControlRegistrar kRegisterKeyboardTestCtrl(
    MakeControlClass<KeyboardTestCtrl, ControlForm::Visible>(L"KeyboardTestCtrl"));

} // namespace

} // namespace VREL
