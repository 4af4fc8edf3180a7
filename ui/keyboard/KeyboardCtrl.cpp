#include "ui/keyboard/KeyboardCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "ui/controls/ControlFontFamily.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/KeyboardTips.h"
#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/LitKeyTiles.h"

namespace VREL {

namespace {

// Where layout (0, 0) lies after SetControlRect, and before it.
constexpr int kRectOffsetX = 16;
constexpr int kRectOffsetY = 24;
constexpr int kInitialOffset = 6;
constexpr COLORREF kInitialSelectColor = RGB(255, 0, 0);

constexpr float kNoneFontPx = 12.0f;
constexpr float kKeyFontPx = 10.0f;
constexpr float kLargeRadius = 6.0f;
constexpr float kSmallRadius = 4.0f;
constexpr float kCustomOutlineRadius = 12.0f;
constexpr float kOutlineWidth = 2.0f;
constexpr float kBandPenWidth = 2.0f;

constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kShadow = 0xFF505050;
constexpr Gdiplus::ARGB kKeyFill = 0xFF232425;
constexpr Gdiplus::ARGB kKeyRim = 0xFF646464;
constexpr Gdiplus::ARGB kFnRim = 0xFFFF2425;
constexpr Gdiplus::ARGB kHighlightRim = 0xFF49FFE6;

// Names of custom keys take one 16 px line at the key's top, of lit keys a
// 20 px one; an icon sits in the key's last 20 px.
constexpr float kCustomNameHeight = 16.0f;
constexpr float kLightNameHeight = 20.0f;
constexpr int kIconBand = 20;
constexpr float kPlainNameTop = 5.0f;
constexpr float kPlainNameHeight = 30.0f;

bool RealCtrlKeyState() { return (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

Gdiplus::Color Opaque(COLORREF colour)
{
    return Gdiplus::Color(0xFF, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// The key outline shape of the picture: a rounded rectangle never lower
// than the minimum key height.
void AddKeyShape(Gdiplus::GraphicsPath& path, float x, float y, float w, float h, float r)
{
    const float height = std::max(h, static_cast<float>(KeyboardCtrl::kMinKeyHeight));
    const float d = 2.0f * r;
    path.AddLine(x + r, y, x + w - r, y);
    path.AddArc(x + w - d, y, d, d, 270.0f, 90.0f);
    path.AddLine(x + w, y + r, x + w, y + height - r);
    path.AddArc(x + w - d, y + height - d, d, d, 0.0f, 90.0f);
    path.AddLine(x + w - r, y + height, x + r, y + height);
    path.AddArc(x, y + height - d, d, d, 90.0f, 90.0f);
    path.AddLine(x, y + height - r, x, y + r);
    path.AddArc(x, y, d, d, 180.0f, 90.0f);
    path.CloseFigure();
}

void FillKeyShape(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r, Gdiplus::Color fill,
                  float penWidth, Gdiplus::Color pen)
{
    Gdiplus::GraphicsPath path;
    AddKeyShape(path, x, y, w, h, r);
    Gdiplus::SolidBrush brush(fill);
    graphics.FillPath(&brush, &path);
    if (penWidth != 0.0f)
    {
        Gdiplus::Pen outline(pen, penWidth);
        graphics.DrawPath(&outline, &path);
    }
}

void OutlineKeyShape(Gdiplus::Graphics& graphics, float x, float y, float w, float h, float r, float penWidth,
                     Gdiplus::Color pen)
{
    Gdiplus::GraphicsPath path;
    AddKeyShape(path, x, y, w, h, r);
    Gdiplus::Pen outline(pen, penWidth);
    graphics.DrawPath(&outline, &path);
}

void DrawEllipseKey(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, Gdiplus::ARGB rim, bool outlined)
{
    Gdiplus::SolidBrush brush{Gdiplus::Color(kKeyFill)};
    graphics.FillEllipse(&brush, box);
    if (outlined)
    {
        Gdiplus::Pen pen{Gdiplus::Color(rim), 1.0f};
        graphics.DrawEllipse(&pen, box);
    }
}

Gdiplus::RectF BoxOf(const CRect& r)
{
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(r.left), static_cast<Gdiplus::REAL>(r.top),
                          static_cast<Gdiplus::REAL>(r.Width()), static_cast<Gdiplus::REAL>(r.Height()));
}

void DrawName(Gdiplus::Graphics& graphics, const CString& name, const Gdiplus::Font& font,
              const Gdiplus::RectF& box, Gdiplus::ARGB colour)
{
    if (name.IsEmpty())
        return;
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
    graphics.DrawString(name, name.GetLength(), &font, box, &format, &brush);
}

bool ValidLayoutRect(const CRect& r)
{
    const int limit = KeyboardCtrl::kMaxLayoutCoordinate;
    return r.right >= r.left && r.bottom >= r.top && r.left >= -limit && r.top >= -limit && r.right <= limit &&
           r.bottom <= limit;
}

} // namespace

// The lit keys' tiles, with what they were measured for: the keys' places,
// codes and names, the draw offset, the surface and the font.
struct LitKeyCache
{
    struct Measured
    {
        CRect rect;
        int32_t keyCode;
        CString name;
    };

    bool Fits(const std::vector<KEY_INFO>& keys) const
    {
        if (keys.size() != measured.size())
            return false;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i].rect != measured[i].rect || keys[i].keyCode != measured[i].keyCode ||
                keys[i].name != measured[i].name)
                return false;
        return true;
    }

    LitKeyTiles tiles;
    std::vector<Measured> measured;
    CPoint offset;
    CSize surface;
    CString fontName;
    Gdiplus::FontStyle fontStyle = Gdiplus::FontStyleRegular;
    Gdiplus::TextRenderingHint hint = Gdiplus::TextRenderingHintSystemDefault;
    bool valid = false;
};

KeyboardCtrl::KeyboardCtrl(MObject* owner, UINT id, CRect rect, int visible)
    : MPanel(owner, id, rect, visible),
      m_currentKeyValue(0),
      m_tipsOn(false),
      m_hover(-1),
      m_selected(-1),
      m_mode(KEYBOARD_MODE_NONE),
      m_offsetX(kInitialOffset),
      m_offsetY(kInitialOffset),
      m_layoutWidth(0),
      m_layoutHeight(0),
      m_subKeysShown(0),
      m_frameSelect(0),
      m_bandActive(0),
      m_selectColor(kInitialSelectColor),
      m_keyboardColor(kWhite),
      m_timerFlag(0),
      m_tips(nullptr),
      m_tipKey(-1),
      m_ctrlKeyState(&RealCtrlKeyState)
{
}

KeyboardCtrl::~KeyboardCtrl()
{
    if (m_tips)
    {
        if (m_tips->GetSafeHwnd())
            m_tips->DestroyWindow();
        delete m_tips;
        m_tips = nullptr;
    }
    ScopedLock lock(m_itemLock);
    FreeKeys();
}

void KeyboardCtrl::FreeKeys()
{
    for (KEY_INFO* key : m_keys)
    {
        delete key->icon;
        delete key;
    }
    m_keys.clear();
}

// ---- overrides ------------------------------------------------------------------------------

void KeyboardCtrl::InitControl(PaintManager* manager)
{
    MPanel::InitControl(manager);
    SetControlRect(m_rect);
}

void KeyboardCtrl::SetControlRect(CRect rect)
{
    m_rect = rect;
    if (!rect.IsRectEmpty())
    {
        m_offsetX = kRectOffsetX;
        m_offsetY = kRectOffsetY;
    }
    RequestRepaint();
}

LRESULT KeyboardCtrl::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

int KeyboardCtrl::OnControlTimer()
{
    m_timerFlag = 1;
    return m_bVisible;
}

int KeyboardCtrl::OnControlKeyDown(UINT key, UINT repeat, UINT modifiers)
{
    // The picture answers its own shortcut like any control, not the panel's
    // "keys belong to the children".
    return MControl::OnControlKeyDown(key, repeat, modifiers);
}

// ---- layout and mode -------------------------------------------------------------------------

void KeyboardCtrl::SetWidthAndHeight(int width, int height)
{
    m_layoutWidth = width;
    m_layoutHeight = height;
    if (!m_rect.IsRectEmpty())
    {
        m_offsetX = (m_rect.Width() - width) / 2;
        m_offsetY = (m_rect.Height() - height) / 2;
    }
}

void KeyboardCtrl::SetKeyboardImage(const wchar_t* file)
{
    Gdiplus::Image* image = MRender::LoadImageFromFile(GetSkinFolder() + CString(file ? file : L""));
    ScopedLock lock(m_itemLock);
    m_keyboardImage.reset(image);
}

void KeyboardCtrl::SetKeyboardColor(COLORREF colour)
{
    m_keyboardColor = 0xFF000000u + GetRValue(colour) * 0x10000u + GetGValue(colour) * 0x100u + GetBValue(colour);
}

void KeyboardCtrl::SetCtrlKeyState(CtrlKeyState reader) { m_ctrlKeyState = reader ? reader : &RealCtrlKeyState; }

bool KeyboardCtrl::IsCtrlHeld() const { return m_ctrlKeyState(); }

void KeyboardCtrl::RequestRepaint()
{
    if (m_bVisible)
        UpdateControl(1, 0);
}

// ---- keys -------------------------------------------------------------------------------------

int KeyboardCtrl::AddKeyItem(const wchar_t* name, const wchar_t* description, int keyCode, CRect rect,
                             const wchar_t* iconFile, COLORREF colour)
{
    if (!ValidLayoutRect(rect))
        return -1;
    auto* key = new KEY_INFO;
    key->keyCode = keyCode;
    key->name = name ? name : L"";
    key->description = description ? description : L"";
    key->rect = rect;
    key->color = colour;
    if (iconFile && *iconFile)
    {
        Gdiplus::Image* icon = MRender::LoadImageFromFile(GetSkinFolder() + iconFile);
        if (icon && icon->GetLastStatus() == Gdiplus::Ok)
        {
            key->icon = icon;
            key->iconWidth = static_cast<int32_t>(icon->GetWidth());
            key->iconHeight = static_cast<int32_t>(icon->GetHeight());
        }
        else
        {
            delete icon;
        }
    }
    ScopedLock lock(m_itemLock);
    key->index = static_cast<int32_t>(m_keys.size());
    m_keys.push_back(key);
    return key->index;
}

void KeyboardCtrl::ClearItem()
{
    {
        ScopedLock lock(m_itemLock);
        FreeKeys();
        m_hover = -1;
        m_selected = -1;
    }
    m_tipKey = -1;
}

std::vector<KEY_INFO> KeyboardCtrl::GetKeyItems()
{
    ScopedLock lock(m_itemLock);
    std::vector<KEY_INFO> copies;
    copies.reserve(m_keys.size());
    for (const KEY_INFO* key : m_keys)
    {
        copies.push_back(*key);
        copies.back().icon = nullptr;
    }
    return copies;
}

int KeyboardCtrl::GetKeyCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(m_keys.size());
}

CRect KeyboardCtrl::ClientRectOf(const KEY_INFO& key) const
{
    CRect r = key.rect;
    r.OffsetRect(m_offsetX + m_rect.left, m_offsetY + m_rect.top);
    return r;
}

KEY_INFO* KeyboardCtrl::FindKey(int keyCode)
{
    for (KEY_INFO* key : m_keys)
        if (key->keyCode == keyCode)
            return key;
    return nullptr;
}

int KeyboardCtrl::HitTest(CPoint pt) const
{
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (ClientRectOf(*m_keys[i]).PtInRect(pt))
            return static_cast<int>(i);
    return -1;
}

CRect KeyboardCtrl::GetKeyRect(int keyCode)
{
    ScopedLock lock(m_itemLock);
    const KEY_INFO* key = FindKey(keyCode);
    return key ? ClientRectOf(*key) : CRect();
}

int KeyboardCtrl::GetKeyCodeByPoint(CPoint pt)
{
    int code = 0;
    {
        ScopedLock lock(m_itemLock);
        const int index = HitTest(pt);
        if (index >= 0)
            code = m_keys[static_cast<size_t>(index)]->keyCode;
    }
    RequestRepaint();
    return code;
}

KeyboardCtrl::HoverChange KeyboardCtrl::TrackHover(CPoint pt)
{
    const int old = m_hover;
    ScopedLock lock(m_itemLock);
    if (!m_rect.PtInRect(pt))
    {
        m_hover = -1;
    }
    else
    {
        if (IsKeyIndex(m_hover) && ClientRectOf(*m_keys[static_cast<size_t>(m_hover)]).PtInRect(pt))
            return HOVER_KEPT;
        m_hover = HitTest(pt);
    }
    return m_hover != old ? HOVER_MOVED : HOVER_SAME;
}

void KeyboardCtrl::DragMove(CPoint pt)
{
    if (!m_bEnabled)
        return;
    if (TrackHover(pt) == HOVER_MOVED)
        RequestRepaint();
}

void KeyboardCtrl::SetKeyItemInfo(int keyCode, const wchar_t* name, int type, const wchar_t* tip)
{
    ScopedLock lock(m_itemLock);
    if (KEY_INFO* key = FindKey(keyCode))
    {
        key->name = name ? name : L"";
        key->funcType = type;
        key->tipText1 = tip ? tip : L"";
    }
}

void KeyboardCtrl::SetTipKey(int keyCode, const wchar_t* tip1, const wchar_t* tip2)
{
    ScopedLock lock(m_itemLock);
    if (KEY_INFO* key = FindKey(keyCode))
    {
        key->tipText1 = tip1 ? tip1 : L"";
        key->tipText2 = tip2 ? tip2 : L"";
    }
}

void KeyboardCtrl::ResetTipKey()
{
    ScopedLock lock(m_itemLock);
    for (KEY_INFO* key : m_keys)
    {
        key->tipText1.Empty();
        key->tipText2.Empty();
    }
}

void KeyboardCtrl::SetKeyDesc(int keyCode, const wchar_t* text)
{
    ScopedLock lock(m_itemLock);
    if (KEY_INFO* key = FindKey(keyCode))
    {
        key->name = text ? text : L"";
        key->description = key->name;
    }
}

void KeyboardCtrl::SetCurrentKeyValue(int keyCode)
{
    {
        ScopedLock lock(m_itemLock);
        m_currentKeyValue = keyCode;
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i]->keyCode == keyCode)
            {
                m_selected = static_cast<int>(i);
                break;
            }
    }
    RequestRepaint();
}

// ---- checks and colours ------------------------------------------------------------------------

void KeyboardCtrl::SetKeyCheck(int keyCode, int value)
{
    ScopedLock lock(m_itemLock);
    if (KEY_INFO* key = FindKey(keyCode))
        key->checked = value;
}

void KeyboardCtrl::ResetAllItemCheck() { ResetAllItemCheck(0); }

void KeyboardCtrl::ResetAllItemCheck(int value)
{
    {
        ScopedLock lock(m_itemLock);
        for (KEY_INFO* key : m_keys)
            key->checked = value;
        m_selected = -1;
    }
    RequestRepaint();
}

int KeyboardCtrl::GetCheckItemCount()
{
    ScopedLock lock(m_itemLock);
    return static_cast<int>(std::count_if(m_keys.begin(), m_keys.end(), [](const KEY_INFO* k) { return k->checked != 0; }));
}

void KeyboardCtrl::SetKeyColor(int keyCode, COLORREF colour)
{
    ScopedLock lock(m_itemLock);
    if (KEY_INFO* key = FindKey(keyCode))
        key->color = colour;
}

std::vector<KEY_COLOR> KeyboardCtrl::GetKeyColors()
{
    ScopedLock lock(m_itemLock);
    std::vector<KEY_COLOR> colours;
    colours.reserve(m_keys.size());
    for (const KEY_INFO* key : m_keys)
        colours.push_back(KEY_COLOR{key->keyCode, key->color});
    return colours;
}

void KeyboardCtrl::SetKeyColors(const std::vector<KEY_COLOR>& colours)
{
    // Live colours arrive many times a second and mostly repeat: only a
    // change is worth a repaint of the whole picture.
    bool changed = false;
    {
        ScopedLock lock(m_itemLock);
        for (const KEY_COLOR& entry : colours) {
            KEY_INFO* key = FindKey(entry.keyCode);
            if (key && key->color != entry.color) {
                key->color = entry.color;
                changed = true;
            }
        }
    }
    if (changed)
        RequestRepaint();
}

void KeyboardCtrl::SetAllSelectColor(COLORREF colour)
{
    {
        ScopedLock lock(m_itemLock);
        if (IsKeyIndex(m_selected))
            m_keys[static_cast<size_t>(m_selected)]->color = colour;
        for (KEY_INFO* key : m_keys)
            if (key->checked)
                key->color = colour;
        m_selectColor = colour;
    }
    RequestRepaint();
}

void KeyboardCtrl::ResetAllItemsColor(COLORREF colour)
{
    {
        ScopedLock lock(m_itemLock);
        for (KEY_INFO* key : m_keys)
            key->color = colour;
    }
    RequestRepaint();
}

void KeyboardCtrl::SetLightModeColor(int colourful, COLORREF colour)
{
    if (colourful != 0)
        return;
    ResetAllItemsColor(colour);
}

// ---- key tips --------------------------------------------------------------------------------

void KeyboardCtrl::SetTips(const KEY_INFO* key, CRect rect, bool show)
{
    if (!m_tipsOn)
        return;
    if (!m_tips)
    {
        m_tips = new CKeyboardTips;
        HWND parent = m_pManager ? m_pManager->GetPaintWnd() : nullptr;
        m_tips->Create(parent, L"KeyboardTip Window", 0x96000080, 0, CRect());
        m_tips->LoadBKImage(L"img_tip_bk.png");
    }
    if (!show || !key)
    {
        m_tips->ShowWindow(SW_HIDE);
        return;
    }
    POINT pt{rect.left + rect.Width() / 2, rect.top};
    if (m_pManager && m_pManager->GetPaintWnd())
        ::ClientToScreen(m_pManager->GetPaintWnd(), &pt);
    if (key->tipText1.IsEmpty() && key->tipText2.IsEmpty())
        m_tips->SetAirBladderMsg(key->description, L"Keyboard", key->description, pt);
    else
        m_tips->SetAirBladderMsg(key->description, key->tipText1, key->tipText2, pt);
    m_tips->ShowWindow(SW_SHOW);
}

void KeyboardCtrl::ShowHoverTip()
{
    if (!m_tipsOn)
        return;
    KEY_INFO copy;
    bool found = false;
    CRect rect;
    {
        ScopedLock lock(m_itemLock);
        if (IsKeyIndex(m_hover))
        {
            copy = *m_keys[static_cast<size_t>(m_hover)];
            copy.icon = nullptr;
            rect = ClientRectOf(copy);
            found = true;
        }
    }
    SetTips(found ? &copy : nullptr, rect, found);
}

// ---- mouse ------------------------------------------------------------------------------------

int KeyboardCtrl::OnControlMouseMove(UINT flags, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_frameSelect && (flags & (MK_LBUTTON | MK_RBUTTON)) && m_rect.PtInRect(pt))
    {
        if (std::abs(pt.x - m_bandEnd.x) <= kBandMoveSlack && std::abs(pt.y - m_bandEnd.y) <= kBandMoveSlack)
            return 1;
        m_bandEnd = pt;
        m_bandActive = 1;
        RecomputeBandChecks();
        RequestRepaint();
        return 1;
    }
    switch (TrackHover(pt))
    {
    case HOVER_KEPT: return 1;
    case HOVER_SAME: return 0;
    case HOVER_MOVED: break;
    }
    ShowHoverTip();
    if (m_timerFlag)
        return 0;
    RequestRepaint();
    return 1;
}

void KeyboardCtrl::RecomputeBandChecks()
{
    const CRect band(std::min(m_bandStart.x, m_bandEnd.x), std::min(m_bandStart.y, m_bandEnd.y),
                     std::max(m_bandStart.x, m_bandEnd.x), std::max(m_bandStart.y, m_bandEnd.y));
    const bool empty = band.Width() < kMinBandSize || band.Height() < kMinBandSize;
    ScopedLock lock(m_itemLock);
    for (KEY_INFO* key : m_keys)
    {
        CRect meet;
        key->checked = !empty && meet.IntersectRect(ClientRectOf(*key), band) ? 1 : 0;
    }
}

void KeyboardCtrl::ClearBand()
{
    m_bandActive = 0;
    m_bandStart = CPoint();
    m_bandEnd = CPoint();
}

int KeyboardCtrl::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_bandActive)
    {
        m_bandActive = 0;
        RequestRepaint();
    }
    if (m_frameSelect && !IsCtrlHeld())
        ResetAllItemCheck(0);
    if (m_rect.PtInRect(pt))
    {
        m_bandStart = pt;
        m_bandEnd = pt;
        m_selected = m_hover;
        m_currentKeyValue = 0;
        int code = 0;
        bool found = false;
        {
            ScopedLock lock(m_itemLock);
            if (IsKeyIndex(m_selected))
            {
                KEY_INFO* key = m_keys[static_cast<size_t>(m_selected)];
                code = key->keyCode;
                m_currentKeyValue = code;
                if (m_frameSelect)
                {
                    key->checked = key->checked ? 0 : 1;
                    key->color = key->color != 0 ? 0 : m_selectColor;
                }
                m_subKeysShown = code >= kRoundKeyCode ? 1 : 0;
                found = true;
            }
            else
            {
                m_selected = -1;
            }
        }
        if (found)
            SendMessageW(NC_PRESSED, static_cast<WPARAM>(m_selected), static_cast<LPARAM>(code));
        else
            SendMessageW(NC_PRESSED, static_cast<WPARAM>(-1), 0);
    }
    else
    {
        ClearBand();
    }
    RequestRepaint();
    return 1;
}

int KeyboardCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_bandActive)
    {
        ClearBand();
        RequestRepaint();
    }
    if (m_rect.PtInRect(pt))
    {
        if (m_selected == -1)
        {
            m_currentKeyValue = -1;
            SendMessageW(NC_CLICKED, static_cast<WPARAM>(-1), 0);
        }
        else
        {
            SendMessageW(NC_CLICKED, static_cast<WPARAM>(m_selected), 0);
        }
    }
    return 1;
}

int KeyboardCtrl::OnControlRButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_frameSelect)
        return 0;
    if (m_rect.PtInRect(pt))
        m_bandStart = pt;
    else
        ClearBand();
    return 1;
}

int KeyboardCtrl::OnControlRButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    if (m_bandActive)
    {
        ClearBand();
        SendMessageW(NC_RUBBER_BAND, 0, 0);
        RequestRepaint();
        return 1;
    }
    if (!m_rect.PtInRect(pt))
        return 0;
    const int old = m_selected;
    int code = 0;
    {
        ScopedLock lock(m_itemLock);
        m_selected = IsKeyIndex(m_hover) ? m_hover : -1;
        if (m_selected >= 0)
            code = m_keys[static_cast<size_t>(m_selected)]->keyCode;
    }
    m_currentKeyValue = code;
    SendMessageW(NC_RCLICK, static_cast<WPARAM>(m_selected), static_cast<LPARAM>(code));
    if (m_selected != old)
        RequestRepaint();
    return 1;
}

// ---- painting ----------------------------------------------------------------------------------

namespace {

// How far a key's drawing may reach past its rectangle: half the rim and a
// pixel of smoothing on either side, with room to spare.
constexpr int kLitKeyBleed = 4;

} // namespace

void KeyboardCtrl::DrawControl(HDC& dc, CRect)
{
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    if (w <= 0 || h <= 0)
        return;
    if (!m_surface || m_surface->Width() != w || m_surface->Height() != h)
    {
        m_surface = std::make_unique<LayeredCanvas>(w, h);
        m_bUpdate = 0;
    }
    if (!m_surface->IsValid())
    {
        m_surface.reset();
        return;
    }
    if (!m_bUpdate)
    {
        m_bUpdate = 1;
        MRender::BitBlt(m_surface->Dc(), 0, 0, w, h, dc, m_rect.left, m_rect.top);
        PaintBackdrop(w, h);
        PaintKeys(w, h);
    }
    MRender::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_surface->Dc(), 0, 0);
    if (m_mode == KEYBOARD_MODE_LIGHT && m_bandActive)
    {
        Gdiplus::Graphics screen(dc);
        Gdiplus::Pen pen(Manager::m_down_color, kBandPenWidth);
        pen.SetDashStyle(Gdiplus::DashStyleDot);
        screen.DrawRectangle(&pen, static_cast<INT>(std::min(m_bandStart.x, m_bandEnd.x)),
                             static_cast<INT>(std::min(m_bandStart.y, m_bandEnd.y)),
                             static_cast<INT>(std::abs(m_bandStart.x - m_bandEnd.x)),
                             static_cast<INT>(std::abs(m_bandStart.y - m_bandEnd.y)));
    }
}

int KeyboardCtrl::SetImage(UINT id, CString type, int count)
{
    m_backdrop.clear();
    return MPanel::SetImage(id, type, count);
}

int KeyboardCtrl::SetImage(const wchar_t* file, int count)
{
    m_backdrop.clear();
    return MPanel::SetImage(file, count);
}

void KeyboardCtrl::PaintBackdrop(int width, int height)
{
    if (!m_pImage)
        return;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint32_t* pixels = m_surface->Pixels();
    ::GdiFlush();
    if (m_backdrop.size() == count && m_beneath.size() == count && std::equal(pixels, pixels + count, m_beneath.begin()))
    {
        std::copy(m_backdrop.begin(), m_backdrop.end(), pixels);
        return;
    }
    m_beneath.assign(pixels, pixels + count);
    {
        Gdiplus::Graphics graphics(m_surface->Dc());
        graphics.SetTextRenderingHint(m_textHint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        const int fw = m_frameWidth > 0 ? m_frameWidth : static_cast<int>(m_pImage->GetWidth());
        const int fh = m_frameHeight > 0 ? m_frameHeight : static_cast<int>(m_pImage->GetHeight());
        graphics.DrawImage(m_pImage, Gdiplus::Rect(0, 0, width, height), 0, 0, fw, fh, Gdiplus::UnitPixel);
    }
    ::GdiFlush();
    m_backdrop.assign(pixels, pixels + count);
}

std::vector<KEY_INFO> KeyboardCtrl::PaintCopies()
{
    ScopedLock lock(m_itemLock);
    std::vector<KEY_INFO> copies;
    copies.reserve(m_keys.size());
    for (const KEY_INFO* key : m_keys)
        copies.push_back(*key);
    return copies;
}

void KeyboardCtrl::PaintKeys(int width, int height)
{
    if (m_mode < KEYBOARD_MODE_NONE || m_mode > KEYBOARD_MODE_USERLIGHT)
        return;
    // The lock is held only for the copies: the worker's colour updates
    // must not wait for a drawing.
    const std::vector<KEY_INFO> keys = PaintCopies();
    if (m_mode == KEYBOARD_MODE_LIGHT && ComposeLitKeys(keys))
        return;
    Gdiplus::Graphics graphics(m_surface->Dc());
    graphics.SetTextRenderingHint(m_textHint);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    if (m_mode == KEYBOARD_MODE_CUSTOM)
        DrawCustomKeys(graphics, keys, width, height);
    else
        DrawKeys(graphics, keys);
}

bool KeyboardCtrl::IsHighlighted(int index, const KEY_INFO& key) const
{
    return index == m_selected || index == m_hover || key.checked != 0;
}

bool KeyboardCtrl::ComposeLitKeys(const std::vector<KEY_INFO>& keys)
{
    if (!m_litCache)
        m_litCache = std::make_unique<LitKeyCache>();
    LitKeyCache& cache = *m_litCache;
    const CPoint offset(m_offsetX, m_offsetY);
    const CSize surface(m_surface->Width(), m_surface->Height());
    if (!cache.valid || !cache.Fits(keys) || cache.offset != offset || cache.surface != surface ||
        cache.fontName != m_fontName || cache.fontStyle != m_fontStyle || cache.hint != m_textHint)
    {
        cache.valid = false;
        std::vector<CRect> areas;
        areas.reserve(keys.size());
        for (const KEY_INFO& key : keys)
        {
            if (key.keyCode > kRoundKeyCode)
            {
                areas.push_back(CRect());
                continue;
            }
            CRect body = key.rect;
            body.OffsetRect(offset.x, offset.y);
            body.bottom = body.top + std::max(static_cast<int>(body.Height()), kMinKeyHeight);
            CRect name(body.left, body.top, body.right + 1, body.top + 1 + static_cast<int>(kLightNameHeight));
            CRect area;
            area.UnionRect(body, name);
            area.InflateRect(kLitKeyBleed, kLitKeyBleed);
            areas.push_back(area);
        }
        ControlFontFamily family(*this, m_fontName);
        const Gdiplus::Font font(family.Get(), kKeyFontPx, m_fontStyle, Gdiplus::UnitPixel);
        const Gdiplus::Color white(kWhite);
        auto paint = [&](Gdiplus::Graphics& graphics, size_t index, LitKeyTiles::Part part) {
            const KEY_INFO& key = keys[index];
            CRect r = key.rect;
            r.OffsetRect(offset.x, offset.y);
            const Gdiplus::RectF box = BoxOf(r);
            switch (part)
            {
            case LitKeyTiles::PART_BODY:
                if (key.keyCode == kRoundKeyCode)
                {
                    Gdiplus::SolidBrush brush(white);
                    graphics.FillEllipse(&brush, box);
                }
                else
                {
                    FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kSmallRadius, white, 0.0f, white);
                }
                break;
            case LitKeyTiles::PART_RIM:
                if (key.keyCode != kRoundKeyCode)
                    OutlineKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kSmallRadius, kOutlineWidth,
                                    white);
                break;
            case LitKeyTiles::PART_NAME:
                DrawName(graphics, key.name, font, Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width, kLightNameHeight),
                         kWhite);
                break;
            }
        };
        if (!cache.tiles.Build(areas, surface, m_textHint, paint))
            return false;
        cache.measured.clear();
        for (const KEY_INFO& key : keys)
            cache.measured.push_back(LitKeyCache::Measured{key.rect, key.keyCode, key.name});
        cache.offset = offset;
        cache.surface = surface;
        cache.fontName = m_fontName;
        cache.fontStyle = m_fontStyle;
        cache.hint = m_textHint;
        cache.valid = true;
    }

    std::vector<LitKeyTiles::Look> looks;
    looks.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
    {
        const KEY_INFO& key = keys[i];
        if (key.keyCode == kRoundKeyCode)
        {
            looks.push_back(LitKeyTiles::Look{kKeyFill, kKeyFill});
            continue;
        }
        const Gdiplus::ARGB colour = Opaque(key.color).GetValue();
        const bool marked = m_frameSelect && (static_cast<int>(i) == m_selected || key.checked);
        looks.push_back(LitKeyTiles::Look{colour, marked ? Manager::m_select_color.GetValue() : colour});
    }
    ::GdiFlush();
    cache.tiles.Compose(m_surface->Pixels(), surface.cx, surface.cy, looks);
    return true;
}

void KeyboardCtrl::DrawKeys(Gdiplus::Graphics& graphics, const std::vector<KEY_INFO>& keys)
{
    ControlFontFamily family(*this, m_fontName);
    const Gdiplus::Font font(family.Get(), m_mode == KEYBOARD_MODE_NONE ? kNoneFontPx : kKeyFontPx, m_fontStyle,
                             Gdiplus::UnitPixel);
    for (size_t i = 0; i < keys.size(); ++i)
    {
        const KEY_INFO& key = keys[i];
        CRect r = key.rect;
        r.OffsetRect(m_offsetX, m_offsetY);
        const Gdiplus::RectF box = BoxOf(r);
        const Gdiplus::Color colour = Opaque(key.color);
        if (m_mode == KEYBOARD_MODE_NONE)
        {
            FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kLargeRadius, colour, 0.0f, colour);
            DrawNameAndIcon(graphics, key, box, font);
            continue;
        }
        if (key.keyCode == kRoundKeyCode)
            DrawEllipseKey(graphics, box, 0, false);
        if (key.keyCode >= kRoundKeyCode)
        {
            if (m_mode == KEYBOARD_MODE_LIGHT && key.keyCode == kRoundKeyCode)
                DrawName(graphics, key.name, font, Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width, kLightNameHeight),
                         kWhite);
            continue;
        }
        if (m_mode == KEYBOARD_MODE_LIGHT)
        {
            const bool marked = m_frameSelect && (static_cast<int>(i) == m_selected || key.checked);
            FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kSmallRadius, colour, kOutlineWidth,
                         marked ? Manager::m_select_color : colour);
            DrawName(graphics, key.name, font, Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width, kLightNameHeight),
                     kWhite);
        }
        else
        {
            FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kLargeRadius, colour, 0.0f, colour);
            DrawNameAndIcon(graphics, key, box, font);
        }
    }
}

void KeyboardCtrl::DrawCustomKeys(Gdiplus::Graphics& graphics, const std::vector<KEY_INFO>& keys, int width,
                                  int height)
{
    if (m_keyboardImage)
    {
        graphics.DrawImage(m_keyboardImage.get(), Gdiplus::Rect(0, 0, width, height));
        for (size_t i = 0; i < keys.size(); ++i)
        {
            const KEY_INFO& key = keys[i];
            if (!IsHighlighted(static_cast<int>(i), key))
                continue;
            CRect r = key.rect;
            r.OffsetRect(m_offsetX, m_offsetY);
            MRender::DrawRoundRectange(graphics, static_cast<float>(r.left), static_cast<float>(r.top),
                                       static_cast<float>(r.Width()), static_cast<float>(r.Height()),
                                       kCustomOutlineRadius, Gdiplus::Color(kHighlightRim), kOutlineWidth, false,
                                       Gdiplus::Color(0));
        }
        return;
    }
    ControlFontFamily family(*this, m_fontName);
    const Gdiplus::Font font(family.Get(), kKeyFontPx, m_fontStyle, Gdiplus::UnitPixel);
    for (size_t i = 0; i < keys.size(); ++i)
    {
        const KEY_INFO& key = keys[i];
        CRect r = key.rect;
        r.OffsetRect(m_offsetX, m_offsetY);
        const Gdiplus::RectF box = BoxOf(r);
        const bool lit = IsHighlighted(static_cast<int>(i), key);
        const bool subKey = key.keyCode > kRoundKeyCode;
        if (subKey && !m_subKeysShown)
            continue;
        if (key.keyCode >= kRoundKeyCode)
            DrawEllipseKey(graphics, box, lit ? kHighlightRim : kKeyRim, true);
        else if (key.keyCode == kFnKeyCode)
            FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kSmallRadius, Gdiplus::Color(kKeyFill),
                         kOutlineWidth, Gdiplus::Color(kFnRim));
        else
            FillKeyShape(graphics, box.X, box.Y, box.Width, box.Height, kSmallRadius, Gdiplus::Color(kKeyFill),
                         kOutlineWidth, Gdiplus::Color(lit ? kHighlightRim : kKeyRim));
        DrawName(graphics, key.name, font, Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width, kCustomNameHeight), kWhite);
    }
}

void KeyboardCtrl::DrawNameAndIcon(Gdiplus::Graphics& graphics, const KEY_INFO& key, const Gdiplus::RectF& box,
                                   const Gdiplus::Font& font)
{
    if (key.keyCode >= kRoundKeyCode)
        return;
    if (!key.icon)
    {
        DrawName(graphics, key.name, font,
                 Gdiplus::RectF(box.X + 1, box.Y + kPlainNameTop, box.Width, kPlainNameHeight), kWhite);
        return;
    }
    const int left = static_cast<int>(box.X);
    const int top = static_cast<int>(box.Y);
    const int w = static_cast<int>(box.Width);
    const int h = static_cast<int>(box.Height);
    if (key.name.IsEmpty())
    {
        graphics.DrawImage(key.icon, left + (w - key.iconWidth) / 2, top + (h - key.iconHeight) / 2, key.iconWidth,
                           key.iconHeight);
        return;
    }
    const float nameHeight = box.Height - static_cast<float>(kIconBand);
    DrawName(graphics, key.name, font, Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width, nameHeight), kShadow);
    DrawName(graphics, key.name, font, Gdiplus::RectF(box.X, box.Y, box.Width, nameHeight), kWhite);
    graphics.DrawImage(key.icon, left + (w - key.iconWidth) / 2, top + h - kIconBand, key.iconWidth,
                       key.iconHeight);
}

namespace {
const ControlRegistrar kRegisterKeyboardCtrl(
    MakeControlClass<KeyboardCtrl, ControlForm::Visible>(L"KeyboardCtrl"));
} // namespace

} // namespace VREL
