#include "ui/controls/ColorControls.h"
#include "ui/controls/StateCells.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const ControlRegistrar kRegisterColorView(MakeControlClass<ColorView, ControlForm::VisibleOne>(L"ColorView"));

constexpr COLORREF kStartColour = 0x1C1CB7;
constexpr int kColumns = 8;
constexpr int kRows = 6;
constexpr int kSwatchSize = 22;
constexpr int kPitch = 28;
constexpr int kFirstX = 11;
constexpr int kFirstY = 10;

constexpr Gdiplus::ARGB kSwatches[kRows][kColumns] = {
    {0xFFB71C1C, 0xFF4A148D, 0xFF1B237E, 0xFF00579B, 0xFF014C40, 0xFF0E5204, 0xFFF67E17, 0xFFE65100},
    {0xFFD43030, 0xFF7B1FA2, 0xFF283492, 0xFF0178BB, 0xFF02685E, 0xFF056F01, 0xFFF9A824, 0xFFF06C00},
    {0xFFE63936, 0xFF8C25A7, 0xFF3949AC, 0xFF049AE6, 0xFF01796C, 0xFF229B25, 0xFFFBC12E, 0xFFF77C01},
    {0xFFEF5351, 0xFF9D27B0, 0xFF3F51B8, 0xFF42A5F5, 0xFF009688, 0xFF29B029, 0xFFFFEC3C, 0xFFFF9800},
    {0xFFE57373, 0xFFBA68C8, 0xFF7A87CB, 0xFF4FC4F7, 0xFF4DB5AB, 0xFF71D56E, 0xFFFFF177, 0xFFFFCC80},
    {0xFFEE9A9B, 0xFFCE92DB, 0xFFA0A8DA, 0xFF82D4FB, 0xFF7FCBC4, 0xFFA5E7A7, 0xFFFFF49D, 0xFFFFF4B2},
};

constexpr Gdiplus::ARGB kBackground = 0xFF1A1A1A;
constexpr Gdiplus::ARGB kFrame = 0xFF646464;
constexpr Gdiplus::ARGB kHighlight = 0xFFFBC93E;
constexpr float kRadius = 8.0f;
constexpr float kBorderWidth = 2.0f;

} // namespace

ColorView::ColorView(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_hover(-1),
      m_selected(-1),
      m_colour(kStartColour),
      m_hPlainDC(nullptr),
      m_hPlainBitmap(nullptr),
      m_hPlainOld(nullptr),
      m_bPlainValid(false)
{
}

ColorView::~ColorView()
{
    {
        ScopedLock lock(m_lock);
        m_items.clear();
    }
    FreePlainLook();
}

void ColorView::FreePlainLook()
{
    if (m_hPlainDC && m_hPlainOld)
        ::SelectObject(m_hPlainDC, m_hPlainOld);
    if (m_hPlainBitmap)
        ::DeleteObject(m_hPlainBitmap);
    if (m_hPlainDC)
        ::DeleteDC(m_hPlainDC);
    m_hPlainDC = nullptr;
    m_hPlainBitmap = nullptr;
    m_hPlainOld = nullptr;
    m_plainSize = CSize();
    m_bPlainValid = false;
}

void ColorView::DrawSwatch(Gdiplus::Graphics& graphics, const Swatch& swatch, int dx, bool marked)
{
    const Gdiplus::Color fill(swatch.colour);
    MRender::DrawRoundRectange(graphics, static_cast<float>(swatch.rect.left + dx), static_cast<float>(swatch.rect.top),
                               static_cast<float>(swatch.rect.Width()), static_cast<float>(swatch.rect.Height()),
                               kRadius, marked ? Gdiplus::Color(kHighlight) : fill, kBorderWidth, fill);
}

void ColorView::RenderPlainLook(HDC reference, int width, int height)
{
    if (m_bPlainValid && m_hPlainDC && m_plainSize == CSize(width, height))
        return;
    if (!m_hPlainDC || m_plainSize != CSize(width, height))
    {
        FreePlainLook();
        m_hPlainDC = ::CreateCompatibleDC(reference);
        m_hPlainBitmap = m_hPlainDC ? ::CreateCompatibleBitmap(reference, width, height) : nullptr;
        if (!m_hPlainBitmap)
        {
            FreePlainLook();
            return;
        }
        m_hPlainOld = ::SelectObject(m_hPlainDC, m_hPlainBitmap);
        m_plainSize = CSize(width, height);
    }
    Gdiplus::Graphics graphics(m_hPlainDC);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.Clear(Gdiplus::Color(kBackground));
    Gdiplus::Pen frame{Gdiplus::Color(kFrame), 1.0f};
    graphics.DrawRectangle(&frame, 0, 0, width - 1, height - 1);
    for (const auto& swatch : m_items)
        DrawSwatch(graphics, *swatch, 0, false);
    m_bPlainValid = true;
}

void ColorView::InitColorView()
{
    ScopedLock lock(m_lock);
    for (int row = 0; row < kRows; ++row)
    {
        for (int column = 0; column < kColumns; ++column)
        {
            auto swatch = std::make_unique<Swatch>();
            swatch->colour = kSwatches[row][column];
            const int x = kFirstX + kPitch * column;
            const int y = kFirstY + kPitch * row;
            swatch->rect = CRect(x, y, x + kSwatchSize, y + kSwatchSize);
            m_items.push_back(std::move(swatch));
        }
    }
    m_bPlainValid = false;
}

void ColorView::ClearAllItem()
{
    {
        ScopedLock lock(m_lock);
        m_items.clear();
        m_hover = -1;
        m_selected = -1;
        m_bPlainValid = false;
    }
    UpdateControl(1, 0);
}

int ColorView::GetItemCount()
{
    ScopedLock lock(m_lock);
    return static_cast<int>(m_items.size());
}

int ColorView::OnControlMouseMove(UINT, CPoint pt)
{
    if (!m_bEnabled)
        return 0;
    int hover = -1;
    {
        ScopedLock lock(m_lock);
        const CPoint local(pt.x - m_rect.left, pt.y - m_rect.top);
        if (m_rect.PtInRect(pt))
        {
            if (m_hover >= 0 && m_hover < static_cast<int>(m_items.size()) &&
                m_items[static_cast<size_t>(m_hover)]->rect.PtInRect(local))
                return 1;
            for (size_t i = 0; i < m_items.size(); ++i)
            {
                if (m_items[i]->rect.PtInRect(local))
                {
                    hover = static_cast<int>(i);
                    break;
                }
            }
        }
        if (hover == m_hover)
            return 1;
        m_hover = hover;
    }
    UpdateControl(1, 0);
    return 1;
}

int ColorView::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled; }

int ColorView::OnControlLButtonUp(UINT, CPoint)
{
    if (!m_bEnabled)
        return 0;
    bool picked = false;
    {
        ScopedLock lock(m_lock);
        if (m_hover >= 0 && m_hover < static_cast<int>(m_items.size()))
        {
            m_selected = m_hover;
            const Gdiplus::Color colour(m_items[static_cast<size_t>(m_hover)]->colour);
            m_colour = RGB(colour.GetR(), colour.GetG(), colour.GetB());
            picked = true;
        }
    }
    if (picked)
        SendMessageW(NC_CLICKED, 0, 0);
    return 1;
}

void ColorView::DrawControl(HDC& dc, CRect)
{
    DrawCachedLook(*this, dc, m_hMemDC, [&](const StateCell& cell) {
        ScopedLock lock(m_lock);
        RenderPlainLook(cell.dc, cell.width, cell.height);
        Gdiplus::Graphics& graphics = cell.graphics;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (m_bPlainValid)
        {
            // Nothing is drawn on the cell yet, so GDI may go first.
            ::BitBlt(cell.dc, cell.left, 0, cell.width, cell.height, m_hPlainDC, 0, 0, SRCCOPY);
        }
        else
        {
            graphics.Clear(Gdiplus::Color(kBackground));
            Gdiplus::Pen frame{Gdiplus::Color(kFrame), 1.0f};
            graphics.DrawRectangle(&frame, 0, 0, cell.width - 1, cell.height - 1);
        }
        for (size_t i = 0; i < m_items.size(); ++i)
        {
            const bool marked = static_cast<int>(i) == m_hover || static_cast<int>(i) == m_selected;
            if (marked || !m_bPlainValid)
                DrawSwatch(graphics, *m_items[i], cell.left, marked);
        }
    });
}

} // namespace VREL
