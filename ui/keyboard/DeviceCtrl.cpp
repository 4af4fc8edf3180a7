#include "ui/keyboard/DeviceCtrl.h"

#include <algorithm>
#include <cstdint>

#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/PeripheralPaint.h"

namespace VREL {

namespace {

constexpr UINT kVerticalBarId = 1;
constexpr UINT kHorizontalBarId = 2;
constexpr UINT kWheelTowardUser = 1;

// ---- the tile ----
constexpr Gdiplus::ARGB kTileBackColor = 0x3CFFFFFF;
constexpr Gdiplus::ARGB kTileTextColor = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kTileGreyTitle = 0xFF808080;
constexpr Gdiplus::ARGB kRowGreyTitle = 0xFFC8C8C8;
constexpr int kTileFrames = 2;
// Tile look: the title band at the bottom.
constexpr int kTitleBand = 30;
constexpr int kTitleFromBottom = 35;
// Row look: picture at the left, title box to its right.
constexpr int kRowPictureLeft = 5;
constexpr int kRowTitleLeft = 238;
constexpr int kRowTitleTop = 60;
constexpr int kRowTitleWidth = 190;

// ---- the strip ----
constexpr int kTileWidth = 200;
constexpr int kTilePitch = 220;
constexpr int kBodyInset = 3;
constexpr int kBodyWidth = 194;
constexpr float kBodyRadius = 12.0f;
constexpr float kBodyPen = 2.0f;
constexpr Gdiplus::ARGB kBodyColor = 0xC80F171D;
constexpr int kPictureInset = 8;
constexpr int kPictureTop = 8;
constexpr int kNameBand = 30;
constexpr int kWheelSteps = 10;

COLORREF RefOf(const Gdiplus::Color& colour) { return RGB(colour.GetR(), colour.GetG(), colour.GetB()); }

} // namespace

// -------------------------------------------------------------------- CDeviceCtrl

CDeviceCtrl::CDeviceCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_state(TILE_NORMAL),
      m_backColor(kTileBackColor),
      m_deviceStatus(0),
      m_showMode(0)
{
    SetTextColor(Gdiplus::Color(kTileTextColor));
}

CDeviceCtrl::~CDeviceCtrl() { m_pImage = nullptr; }

int CDeviceCtrl::SetImage(const wchar_t* file, int count)
{
    m_pImage = nullptr;
    m_picture.reset();
    m_frameWidth = 0;
    m_frameHeight = 0;
    PeripheralImage loaded = LoadOwnedImage(file ? CString(file) : CString());
    if (!loaded.image)
        return 0;
    count = ValidFrameCount(count);
    m_picture = std::move(loaded.image);
    m_pImage = m_picture.get();
    m_frameWidth = static_cast<int>(static_cast<unsigned>(loaded.width) / static_cast<unsigned>(count));
    m_frameHeight = loaded.height;
    m_frameCount = count;
    UpdateControl(1, 0);
    return 1;
}

void CDeviceCtrl::SetDeviceStatus(int status)
{
    m_deviceStatus = status;
    UpdateControl(1, 0);
}

void CDeviceCtrl::SetShowMode(int mode)
{
    if (mode == m_showMode)
        return;
    m_showMode = mode;
    UpdateControl(1, 0);
}

void CDeviceCtrl::ShowState(int before)
{
    if (m_state != before)
        UpdateControl(0, 0);
}

int CDeviceCtrl::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_deviceStatus)
        return 0;
    const int before = m_state;
    if (m_state != TILE_PRESSED)
        m_state = m_rect.PtInRect(pt) ? TILE_HOVER : TILE_NORMAL;
    ShowState(before);
    return 1;
}

int CDeviceCtrl::OnControlLButtonDown(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_deviceStatus)
        return 0;
    const int before = m_state;
    if (m_rect.PtInRect(pt))
    {
        m_state = TILE_PRESSED;
        SendMessageW(NC_PRESSED, 0, 0);
    }
    ShowState(before);
    return 1;
}

int CDeviceCtrl::OnControlLButtonUp(UINT, CPoint pt)
{
    if (!m_bEnabled || !m_deviceStatus)
        return 0;
    const int before = m_state;
    if (m_rect.PtInRect(pt))
    {
        m_state = TILE_NORMAL;
        SendMessageW(NC_CLICKED, 0, 0);
    }
    ShowState(before);
    return 1;
}

void CDeviceCtrl::DrawControl(HDC& dc, CRect)
{
    const int shown = (m_state == TILE_HOVER || m_state == TILE_PRESSED) ? 1 : 0;
    CellFont cellFont(*this);
    DrawStateCells(*this, dc, m_hMemDC, kTileFrames, shown, [&](const StateCell& cell) {
        const int d = cell.index;
        const int x = cell.left;
        const bool rowLook = m_showMode != 0;
        if (rowLook)
        {
            Gdiplus::SolidBrush back(m_backColor);
            cell.graphics.FillRectangle(&back, x, 0, cell.width, cell.height);
        }
        auto drawPicture = [&](int left, int top) {
            if (m_pImage && m_frameWidth > 0)
                DrawStripFrame(cell.graphics, m_pImage, Gdiplus::Rect(left, top, m_frameWidth, m_frameHeight), 0, 0,
                               m_frameWidth, m_frameHeight);
        };
        if (m_title.IsEmpty())
        {
            drawPicture(x + (cell.width - m_frameWidth) / 2 + d, (cell.height - m_frameHeight) / 2 + d);
            return;
        }
        cell.graphics.SetTextRenderingHint(m_textHint);
        const Gdiplus::Font& font = cellFont.Get(cell);
        if (!rowLook)
        {
            drawPicture(x + (cell.width - m_frameWidth) / 2 + d, (cell.height - m_frameHeight - kTitleBand) / 2 + d);
            const auto format =
                MakeStringFormat(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
            DrawText(cell.graphics, m_title, font,
                     Gdiplus::RectF(static_cast<float>(x + d), static_cast<float>(cell.height - kTitleFromBottom + d),
                                    static_cast<float>(cell.width), static_cast<float>(kTitleBand)),
                     *format, m_deviceStatus ? m_textColor : Gdiplus::Color(kTileGreyTitle));
        }
        else
        {
            drawPicture(x + kRowPictureLeft + d, d);
            const auto format =
                MakeStringFormat(Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, kSingleLineFlags);
            DrawText(cell.graphics, m_title, font,
                     Gdiplus::RectF(static_cast<float>(x + kRowTitleLeft + d), static_cast<float>(kRowTitleTop + d),
                                    static_cast<float>(kRowTitleWidth), static_cast<float>(kTitleBand)),
                     *format, m_deviceStatus ? m_textColor : Gdiplus::Color(kRowGreyTitle));
        }
    });
}

// -------------------------------------------------------------------- CDeviceList

CDeviceList::CDeviceList(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MPanel(owner, id, rect, visible, enabled),
      m_hover(-1),
      m_selected(0),
      m_scrollOffset(0),
      m_tileWidth(kTileWidth)
{
}

CDeviceList::~CDeviceList()
{
    ScopedLock lock(m_itemLock);
    m_items.clear();
}

void CDeviceList::Repaint() { UpdateControl(1, 0); }

int CDeviceList::AddDevice(CString name, int id, CString image, CString selectImage)
{
    auto item = std::make_unique<DEVICE_ITEM>();
    item->name = name;
    item->id = id;
    PeripheralImage first = LoadImageCopy(image);
    item->image = std::move(first.image);
    item->imageWidth = first.width;
    item->imageHeight = first.height;
    PeripheralImage second = LoadImageCopy(selectImage);
    item->selectImage = std::move(second.image);
    item->selectWidth = second.width;
    item->selectHeight = second.height;
    int index = 0;
    {
        ScopedLock lock(m_itemLock);
        m_items.push_back(std::move(item));
        index = static_cast<int>(m_items.size()) - 1;
    }
    Repaint();
    return index;
}

void CDeviceList::ClearList()
{
    {
        ScopedLock lock(m_itemLock);
        m_items.clear();
        m_hover = -1;
        m_selected = 0;
    }
    Repaint();
}

int CDeviceList::GetDeviceState(int id)
{
    ScopedLock lock(m_itemLock);
    for (const auto& item : m_items)
        if (item->id == id)
            return item->state;
    return 0;
}

void CDeviceList::SetDeviceState(int id, int state)
{
    {
        ScopedLock lock(m_itemLock);
        for (auto& item : m_items)
        {
            if (item->id == id)
            {
                item->state = state;
                break;
            }
        }
    }
    Repaint();
}

void CDeviceList::SetAllDeviceState(int state)
{
    {
        ScopedLock lock(m_itemLock);
        for (auto& item : m_items)
            item->state = state;
    }
    Repaint();
}

void CDeviceList::SetSelectDevice(int id)
{
    {
        ScopedLock lock(m_itemLock);
        int firstConnected = -1;
        int match = -1;
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            if (m_items[i]->state <= 0)
                continue;
            if (firstConnected < 0)
                firstConnected = static_cast<int>(i);
            if (m_items[i]->id == id)
            {
                match = static_cast<int>(i);
                break;
            }
        }
        m_selected = match >= 0 ? match : firstConnected;
    }
    Repaint();
}

int CDeviceList::GetSelectDevice()
{
    ScopedLock lock(m_itemLock);
    if (m_items.empty())
        return 0;
    if (m_selected < 0 || m_selected >= static_cast<int>(m_items.size()))
        m_selected = 0;
    return m_items[static_cast<size_t>(m_selected)]->id;
}

CRect CDeviceList::GetItemRect(int index)
{
    ScopedLock lock(m_itemLock);
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return CRect();
    return m_items[static_cast<size_t>(index)]->rect;
}

CRect CDeviceList::GetImageRect(int width, int height, CRect box)
{
    const int boxWidth = box.Width();
    const int boxHeight = box.Height();
    int w = width;
    int h = height;
    // A missing image (no size) is drawn as nothing; nothing to scale.
    if (width > 0 && height > 0)
    {
        const int64_t a = width;
        const int64_t b = height;
        if (width > boxWidth && height > boxHeight)
        {
            if (static_cast<double>(width) / height > static_cast<double>(boxWidth) / boxHeight)
            {
                w = boxWidth;
                h = static_cast<int>(boxWidth * b / a);
            }
            else
            {
                w = static_cast<int>(boxHeight * a / b);
                h = boxHeight;
            }
        }
        else if (width > boxWidth && height < boxHeight)
        {
            w = boxWidth;
            h = static_cast<int>(boxWidth * b / a);
        }
        else if (width < boxWidth && height > boxHeight)
        {
            w = static_cast<int>(boxHeight * a / b);
            h = boxHeight;
        }
    }
    const int left = box.left + (boxWidth - w) / 2;
    const int top = box.top + (boxHeight - h) / 2;
    return CRect(left, top, left + w, top + h);
}

int CDeviceList::StripWidth() const { return static_cast<int>(m_items.size()) * m_tileWidth; }

int CDeviceList::PixelOffset() const
{
    const int overflow = StripWidth() - m_rect.Width();
    const int range = m_pScrollHorizontal->GetScrollMaxRange();
    if (overflow <= 0 || range <= 0)
        return 0;
    return static_cast<int>(static_cast<int64_t>(m_pScrollHorizontal->GetScrollCurrentPos()) * overflow / range);
}

void CDeviceList::DrawControl(HDC& dc, CRect)
{
    m_scrollOffset = PixelOffset();
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        ::SetBkMode(cell.dc, TRANSPARENT);
        PrepareGraphics(cell.graphics, m_textHint);
        const int tileHeight = cell.height - m_fontSize;
        const HFONT font = GetGDIFont();
        ScopedLock lock(m_itemLock);
        int x = -m_scrollOffset;
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            DEVICE_ITEM& item = *m_items[i];
            if (item.state <= 0)
            {
                item.rect = CRect();
                continue;
            }
            item.rect = CRect(x, 0, x + m_tileWidth, tileHeight);
            x += kTilePitch;
            const bool lit = static_cast<int>(i) == m_selected || static_cast<int>(i) == m_hover;
            MRender::DrawRoundRectange(cell.graphics, static_cast<float>(item.rect.left + kBodyInset),
                                       static_cast<float>(kBodyInset), static_cast<float>(kBodyWidth),
                                       static_cast<float>(tileHeight - 2 * kBodyInset), kBodyRadius,
                                       lit ? Manager::m_down_color : Gdiplus::Color(kBodyColor), kBodyPen, true,
                                       Gdiplus::Color(kBodyColor));
            Gdiplus::Image* picture = lit ? item.selectImage.get() : item.image.get();
            const int pw = lit ? item.selectWidth : item.imageWidth;
            const int ph = lit ? item.selectHeight : item.imageHeight;
            if (picture)
            {
                const CRect box(item.rect.left + kPictureInset, item.rect.top + kPictureInset,
                                item.rect.right - kPictureInset, item.rect.bottom);
                const CRect place = GetImageRect(pw, ph, box);
                cell.graphics.DrawImage(picture, Gdiplus::Rect(place.left, kPictureTop, place.Width(), place.Height()),
                                        0, 0, pw, ph, Gdiplus::UnitPixel);
            }
            // The name in GDI text, drawn through the graphics' own DC so
            // that it lands after the shapes beneath it.
            HDC textDc = cell.graphics.GetHDC();
            HGDIOBJ previous = ::SelectObject(textDc, font);
            ::SetBkMode(textDc, TRANSPARENT);
            ::SetTextColor(textDc, RefOf(m_textColor));
            RECT nameBox = {item.rect.left, item.rect.bottom - kNameBand, item.rect.right, item.rect.bottom};
            ::DrawTextW(textDc, item.name.GetString(), item.name.GetLength(), &nameBox,
                        DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS);
            ::SelectObject(textDc, previous);
            cell.graphics.ReleaseHDC(textDc);
        }
    });
}

LRESULT CDeviceList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    if (code == NC_SCROLL && (id == kVerticalBarId || id == kHorizontalBarId) && m_bVisible)
        Repaint();
    return m_pOwner ? m_pOwner->OnBaseMessage(id, code, wParam, lParam) : 0;
}

void CDeviceList::SetControlRect(CRect rect) { m_rect = rect; }

int CDeviceList::HitTest(CPoint pt) const
{
    const CPoint origin = m_rect.TopLeft();
    if (m_hover >= 0 && m_hover < static_cast<int>(m_items.size()))
    {
        const DEVICE_ITEM& hovered = *m_items[static_cast<size_t>(m_hover)];
        if (hovered.state > 0 && (hovered.rect + origin).PtInRect(pt))
            return m_hover;
    }
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (m_items[i]->state > 0 && (m_items[i]->rect + origin).PtInRect(pt))
            return static_cast<int>(i);
    }
    return -1;
}

int CDeviceList::OnControlMouseMove(UINT, CPoint pt)
{
    const int before = m_hover;
    {
        ScopedLock lock(m_itemLock);
        m_hover = m_rect.PtInRect(pt) ? HitTest(pt) : -1;
    }
    if (m_hover != before)
        Repaint();
    return m_bEnabled ? 1 : 0;
}

int CDeviceList::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int CDeviceList::OnControlLButtonUp(UINT, CPoint)
{
    if (!m_bEnabled)
        return 0;
    bool connected = false;
    {
        ScopedLock lock(m_itemLock);
        if (m_hover < 0 || m_hover >= static_cast<int>(m_items.size()))
            return 1;
        m_selected = m_hover;
        connected = m_items[static_cast<size_t>(m_hover)]->state > 0;
    }
    if (connected)
        SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

int CDeviceList::OnControlScroll(int, UINT direction, CPoint)
{
    const int strip = StripWidth();
    if (m_rect.Width() >= strip)
        return 0;
    m_pScrollHorizontal->SetScrollMaxRange(strip);
    if (m_pScrollHorizontal->ScrollRow(direction == kWheelTowardUser ? kWheelSteps : -kWheelSteps))
        Repaint();
    return 1;
}

// ---- construction by class name ----

namespace {

const ControlRegistrar kRegisterCDeviceCtrl(MakeControlClass<CDeviceCtrl, ControlForm::VisibleOne>(L"CDeviceCtrl"));
const ControlRegistrar kRegisterCDeviceList(MakeControlClass<CDeviceList, ControlForm::VisibleOne>(L"CDeviceList"));

} // namespace

} // namespace VREL
