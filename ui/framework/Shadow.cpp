#include "ui/framework/Shadow.h"

#include <algorithm>
#include <cmath>

#include "ui/framework/LayeredCanvas.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/Render.h"

namespace VREL {

namespace {

const wchar_t kShadowClass[] = L"ShadowWnd";
constexpr BYTE kDefaultDarkness = 150;
constexpr BYTE kDefaultSharpness = 5;
constexpr signed char kDefaultOffset = 5;
// Re-stack the shadow right under its window without touching anything else.
constexpr UINT kRestackFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE;
constexpr UINT kPlaceFlags = SWP_NOSIZE | SWP_NOACTIVATE;

bool InRange(int value) { return value >= -MShadow::kMaxExtent && value <= MShadow::kMaxExtent; }

// Alpha in the top byte, each colour byte scaled by it.
uint32_t Premultiplied(DWORD color, int alpha)
{
    const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    const uint32_t red = ((color >> 16) & 0xFF) * a / 255;
    const uint32_t green = ((color >> 8) & 0xFF) * a / 255;
    const uint32_t blue = (color & 0xFF) * a / 255;
    return a << 24 | red << 16 | green << 8 | blue;
}

bool IsEmpty(const ShadowSpan& span) { return span.left >= span.right; }

} // namespace

int MShadow::s_bHasInit = 0;

MShadow::MShadow()
    : m_pManager(nullptr), m_hWnd(nullptr), m_parentProc(nullptr), m_status(0), m_imageMode(0), m_show(0),
      m_disabled(0), m_imageWidth(0), m_imageHeight(0), m_darkness(kDefaultDarkness),
      m_sharpness(kDefaultSharpness), m_size(0), m_xOffset(kDefaultOffset), m_yOffset(kDefaultOffset),
      m_lastSize(0), m_updatePending(0), m_color(0), m_imageResId(0), m_corner{0, 0, 0, 0}
{
}

MShadow::~MShadow() { Detach(); }

// The window normally goes first (WM_NCDESTROY takes it out of the map).
// When the object goes first, the window must stop calling into it.
void MShadow::Detach()
{
    auto& map = GetShadowMap();
    for (auto it = map.begin(); it != map.end();)
    {
        if (it->second != this)
        {
            ++it;
            continue;
        }
        HWND parent = it->first;
        if (::IsWindow(parent) && m_parentProc &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(parent, GWLP_WNDPROC)) == ParentProc)
            ::SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_parentProc));
        it = map.erase(it);
    }
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

std::map<HWND, MShadow*>& MShadow::GetShadowMap()
{
    static std::map<HWND, MShadow*> map;
    return map;
}

int MShadow::Initialize(HINSTANCE instance, bool force)
{
    if (s_bHasInit && !force)
        return 0;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kShadowClass;
    ::RegisterClassExW(&wc);
    s_bHasInit = 1;
    return 1;
}

// ---- attaching ----------------------------------------------------------------------------

void MShadow::ComputeStatus(HWND parent)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(parent, GWL_STYLE));
    if (!(style & WS_VISIBLE))
        m_status = STATUS_ATTACHED;
    else if (style & (WS_MAXIMIZE | WS_MINIMIZE))
        m_status = STATUS_ATTACHED | STATUS_PARENT_SHOWN;
    else
        m_status = STATUS_ATTACHED | STATUS_SHOWN | STATUS_PARENT_SHOWN;
}

int MShadow::Create(PaintManager* manager)
{
    if (!m_show || !manager)
        return 0;
    HWND parent = manager->GetPaintWnd();
    if (!parent || !::IsWindow(parent))
        return 0;
    auto& map = GetShadowMap();
    if (m_hWnd || map.count(parent))
        return 0;

    const DWORD style = static_cast<DWORD>(::GetWindowLongW(parent, GWL_STYLE));
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                               WS_POPUPWINDOW | (style & WS_DLGFRAME), CW_USEDEFAULT, 0, 0, 0, parent, nullptr,
                               Manager::GetInstance(), nullptr);
    if (!m_hWnd)
        return 0;
    m_pManager = manager;
    map[parent] = this;

    ComputeStatus(parent);
    if (m_status & STATUS_SHOWN)
    {
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        Update(parent);
    }
    m_parentProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc)));
    return 1;
}

// ---- following the parent ----------------------------------------------------------------------

LRESULT CALLBACK MShadow::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto& map = GetShadowMap();
    const auto it = map.find(hwnd);
    if (it == map.end())
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return it->second->Follow(hwnd, msg, wParam, lParam);
}

LRESULT MShadow::Follow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The parent's own procedure may end this object (WM_NCDESTROY of a
    // window that deletes its host); only locals are used after it.
    const WNDPROC previous = m_parentProc;
    if (m_disabled)
        return ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);

    switch (msg)
    {
    case WM_DESTROY:
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
        break;
    case WM_MOVE:
        if (m_status & STATUS_SHOWN)
            Place(hwnd);
        break;
    case WM_SIZE:
        if (m_status & STATUS_ATTACHED)
        {
            if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED)
            {
                ::ShowWindow(m_hWnd, SW_HIDE);
                m_status &= ~STATUS_SHOWN;
            }
            else if (m_status & STATUS_PARENT_SHOWN)
            {
                const DWORD size = static_cast<DWORD>(lParam);
                // Growing waits for the next paint, so that the shadow does
                // not show beyond a window that has not painted its new area.
                if (LOWORD(size) > LOWORD(m_lastSize) || HIWORD(size) > HIWORD(m_lastSize))
                    m_updatePending = 1;
                else
                    Update(hwnd);
                if (!(m_status & STATUS_SHOWN))
                {
                    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
                    m_status |= STATUS_SHOWN;
                }
            }
            m_lastSize = static_cast<DWORD>(lParam);
        }
        break;
    case WM_PAINT:
        if (m_updatePending)
        {
            Update(hwnd);
            m_updatePending = 0;
        }
        break;
    case WM_SHOWWINDOW:
        if (m_status & STATUS_ATTACHED)
        {
            if (!wParam)
            {
                ::ShowWindow(m_hWnd, SW_HIDE);
                m_status &= ~(STATUS_SHOWN | STATUS_PARENT_SHOWN);
            }
            else if (!(m_status & STATUS_PARENT_SHOWN))
            {
                m_updatePending = 1;
                ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
                m_status |= STATUS_SHOWN | STATUS_PARENT_SHOWN;
            }
        }
        break;
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, hwnd, 0, 0, 0, 0, kRestackFlags);
        break;
    case WM_WINDOWPOSCHANGED:
        Place(hwnd);
        break;
    case WM_NCDESTROY:
        GetShadowMap().erase(hwnd);
        break;
    case WM_EXITSIZEMOVE:
        if (m_status & STATUS_SHOWN)
            Update(hwnd);
        break;
    default:
        break;
    }
    return ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);
}

void MShadow::Place(HWND parent)
{
    if (!m_hWnd)
        return;
    RECT r;
    if (!::GetWindowRect(parent, &r))
        return;
    int x, y;
    if (DrawsImage())
    {
        x = r.left - m_corner.left;
        y = r.top - m_corner.top;
    }
    else
    {
        x = r.left + m_xOffset - m_size;
        y = r.top + m_yOffset - m_size;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, kPlaceFlags);
}

void MShadow::DisableShadow(int disable)
{
    m_disabled = disable;
    if (!m_hWnd)
        return;
    if (disable)
    {
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    HWND parent = ::GetParent(m_hWnd);
    ComputeStatus(parent);
    if (m_status & STATUS_SHOWN)
    {
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        Update(parent);
    }
}

// ---- setters ------------------------------------------------------------------------------------

void MShadow::Redraw()
{
    if (m_hWnd && (m_status & STATUS_SHOWN))
        Update(::GetParent(m_hWnd));
}

int MShadow::SetSize(int size)
{
    if (!InRange(size))
        return 0;
    m_size = static_cast<signed char>(size);
    Redraw();
    return 1;
}

int MShadow::SetSharpness(UINT sharpness)
{
    if (sharpness > static_cast<UINT>(kMaxExtent))
        return 0;
    m_sharpness = static_cast<BYTE>(sharpness);
    Redraw();
    return 1;
}

int MShadow::SetDarkness(UINT darkness)
{
    if (darkness > kMaxDarkness)
        return 0;
    m_darkness = static_cast<BYTE>(darkness);
    Redraw();
    return 1;
}

int MShadow::SetPosition(int x, int y)
{
    if (!InRange(x) || !InRange(y))
        return 0;
    m_xOffset = static_cast<signed char>(x);
    m_yOffset = static_cast<signed char>(y);
    Redraw();
    return 1;
}

int MShadow::SetColor(DWORD color)
{
    m_color = color;
    Redraw();
    return 1;
}

int MShadow::SetImage(const wchar_t* file)
{
    if (!file)
        return 0;
    m_imageMode = 1;
    m_imageFile = file;
    m_pImage.reset(MRender::LoadImageFromFile(GetSkinFolder() + file));
    m_imageWidth = m_pImage ? static_cast<int>(m_pImage->GetWidth()) : 0;
    m_imageHeight = m_pImage ? static_cast<int>(m_pImage->GetHeight()) : 0;
    Redraw();
    return 1;
}

int MShadow::SetImage(UINT id)
{
    m_pImage.reset();
    m_imageMode = 1;
    m_imageResId = id;
    m_pImage.reset(MRender::LoadImageFromIDResource(id, L"PNG", Manager::GetInstance()));
    m_imageWidth = m_pImage ? static_cast<int>(m_pImage->GetWidth()) : 0;
    m_imageHeight = m_pImage ? static_cast<int>(m_pImage->GetHeight()) : 0;
    Redraw();
    return 0;
}

int MShadow::SetShadowCorner(RECT corner)
{
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0)
        return 0;
    m_corner = corner;
    Redraw();
    return 1;
}

int MShadow::CopyShadow(MShadow* other)
{
    if (!other || other == this)
        return 1;
    if (m_imageMode)
    {
        // A shadow whose image came from a resource has no file name to pass.
        if (m_imageFile.IsEmpty() && m_imageResId)
            other->SetImage(m_imageResId);
        else
            other->SetImage(m_imageFile.GetString());
        other->SetShadowCorner(m_corner);
        other->SetSize(m_size);
    }
    else
    {
        other->m_size = m_size;
        other->m_sharpness = m_sharpness;
        other->m_darkness = m_darkness;
        other->m_color = m_color;
        other->m_xOffset = m_xOffset;
        other->m_yOffset = m_yOffset;
        other->Redraw();
    }
    other->m_show = m_show;
    return 1;
}

DWORD MShadow::PreMultiply(DWORD color, BYTE alpha) { return Premultiplied(color, alpha) & 0x00FFFFFF; }

ShadowParams MShadow::Params() const
{
    return ShadowParams{m_size, m_sharpness, m_darkness, m_xOffset, m_yOffset, m_color};
}

// ---- redrawing ------------------------------------------------------------------------------------

void MShadow::Update(HWND parent)
{
    if (!m_show || !(m_status & STATUS_SHOWN) || !m_hWnd || !parent)
        return;
    RECT r;
    if (!::GetWindowRect(parent, &r))
        return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;

    int extraWidth, extraHeight;
    if (m_imageMode && m_imageFile.IsEmpty() && m_imageResId == 0)
        return;
    if (DrawsImage())
    {
        extraWidth = m_corner.left + m_corner.right;
        extraHeight = m_corner.top + m_corner.bottom;
    }
    else
    {
        // Also an image that failed to load: the computed shadow needs a
        // bitmap of its own size, whatever the corner says.
        if (m_size == 0)
            return;
        extraWidth = extraHeight = 2 * m_size;
    }

    // A negative size can leave nothing of a small window.
    LayeredCanvas canvas(width + extraWidth, height + extraHeight);
    if (!canvas.IsValid())
        return;
    if (DrawsImage())
    {
        Gdiplus::Graphics* graphics = canvas.Graphics();
        if (!graphics)
            return;
        MRender::DrawImageFrameMID(*graphics, m_pImage.get(), CRect(0, 0, canvas.Width(), canvas.Height()), 0, 0,
                                   m_imageWidth, m_imageHeight, m_corner.left, m_corner.top, m_corner.right,
                                   m_corner.bottom);
    }
    else
    {
        std::fill(canvas.Pixels(), canvas.Pixels() + static_cast<size_t>(canvas.Width()) * canvas.Height(), 0u);
        MakeShadow(canvas.Pixels(), parent, &r);
    }

    POINT pos;
    if (DrawsImage())
        pos = {r.left - m_corner.left, r.top - m_corner.top};
    else
        pos = {r.left + m_xOffset - m_size, r.top + m_yOffset - m_size};
    ::MoveWindow(m_hWnd, pos.x, pos.y, canvas.Width(), canvas.Height(), FALSE);
    canvas.Present(m_hWnd, &pos);
}

void MShadow::MakeShadow(UINT* pixels, HWND parent, RECT* parentRect)
{
    if (!pixels || !parentRect)
        return;
    const int width = parentRect->right - parentRect->left;
    const int height = parentRect->bottom - parentRect->top;
    const int bitmapWidth = width + 2 * m_size;
    const int bitmapHeight = height + 2 * m_size;
    if (width < 1 || height < 1 || bitmapWidth < 1 || bitmapHeight < 1)
        return;

    std::vector<ShadowSpan> rows(static_cast<size_t>(height), ShadowSpan{width, 0});
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (region)
    {
        // A window without a region of its own casts no shadow.
        if (::GetWindowRgn(parent, region) != ERROR)
            rows = SpansFromRegion(region, width, height);
        ::DeleteObject(region);
    }
    ComputeShadow(Params(), width, height, rows, reinterpret_cast<uint32_t*>(pixels),
                  static_cast<size_t>(bitmapWidth) * static_cast<size_t>(bitmapHeight));
}

std::vector<ShadowSpan> MShadow::SpansFromRegion(HRGN region, int width, int height)
{
    std::vector<ShadowSpan> rows(static_cast<size_t>(std::max(height, 0)), ShadowSpan{width, 0});
    if (!region || width < 1 || height < 1)
        return rows;
    const DWORD bytes = ::GetRegionData(region, 0, nullptr);
    if (bytes == 0)
        return rows;
    std::vector<BYTE> buffer(bytes);
    RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(region, bytes, data) == 0)
        return rows;
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    // Per row: the leftmost and one past the rightmost inside pixel, within
    // the window's own box.
    std::vector<int> lowest(rows.size(), width);
    std::vector<int> highest(rows.size(), -1);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
    {
        const RECT& rc = rects[i];
        const int left = std::max<int>(rc.left, 0);
        const int right = std::min<int>(rc.right, width);
        if (left >= right)
            continue;
        for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, height); ++y)
        {
            lowest[y] = std::min(lowest[y], left);
            highest[y] = std::max(highest[y], right - 1);
        }
    }
    for (size_t y = 0; y < rows.size(); ++y)
    {
        if (highest[y] >= lowest[y])
            rows[y] = ShadowSpan{lowest[y], highest[y] + 1};
    }
    return rows;
}

int MShadow::ComputeShadow(const ShadowParams& params, int width, int height, const std::vector<ShadowSpan>& rows,
                           uint32_t* pixels, size_t pixelCount)
{
    const int s = params.size;
    const int sharp = std::max(params.sharpness, 0);
    const int dark = std::clamp(params.darkness, 0, 255);
    const int xo = params.xOffset;
    const int yo = params.yOffset;
    if (!pixels || width < 1 || height < 1 || rows.size() != static_cast<size_t>(height))
        return 0;
    const int w2 = width + 2 * s;
    const int h2 = height + 2 * s;
    if (w2 < 1 || h2 < 1 || pixelCount < static_cast<size_t>(w2) * static_cast<size_t>(h2))
        return 0;

    // Span list: entry e (-1..n) is shadow row e - t, stored at index e + 1.
    const int n = std::max(height, h2);
    const int t = std::max(0, -s);
    const ShadowSpan emptySpan{width, 0};
    std::vector<ShadowSpan> spans(static_cast<size_t>(n) + 2, emptySpan);
    for (int e = 0; e < n; ++e)
    {
        const int y = e - t - s;
        if (y < 0 || y >= height)
            continue;
        const ShadowSpan& own = rows[static_cast<size_t>(y)];
        if (!IsEmpty(own))
            spans[static_cast<size_t>(e) + 1] = ShadowSpan{own.left + s, own.right + s};
    }

    // A soft edge wider than the size eats into the shape first.
    for (int pass = 0; pass < sharp - s; ++pass)
    {
        const std::vector<ShadowSpan> before = spans;
        for (size_t i = 1; i + 1 < spans.size(); ++i)
        {
            spans[i].left = std::max({before[i - 1].left, before[i].left, before[i + 1].left}) + 1;
            spans[i].right = std::min({before[i - 1].right, before[i].right, before[i + 1].right}) - 1;
        }
    }
    auto spanOf = [&](int row) -> ShadowSpan {
        const int index = row + t + 1;
        if (index < 0 || index >= static_cast<int>(spans.size()))
            return emptySpan;
        return spans[static_cast<size_t>(index)];
    };

    // Kernel: solid inside the inner radius, fading out to the outer radius.
    const int radius = std::max(s, sharp);
    const int inner = std::max(s - sharp, 0);
    const int side = 2 * radius + 1;
    std::vector<uint32_t> kernel(static_cast<size_t>(side) * side, 0);
    for (int i = -radius; i <= radius; ++i)
    {
        for (int j = -radius; j <= radius; ++j)
        {
            const double d = std::sqrt(static_cast<double>(i * i + j * j));
            uint32_t value = 0;
            if (d < inner)
                value = Premultiplied(params.color, dark);
            else if (d <= radius)
                value = Premultiplied(params.color, static_cast<int>((1.0 - (d - inner) / (sharp + 1)) * dark));
            kernel[static_cast<size_t>(i + radius) * side + (j + radius)] = value;
        }
    }

    auto at = [&](int x, int y) -> uint32_t& {
        return pixels[static_cast<size_t>(h2 - 1 - y) * w2 + static_cast<size_t>(x)];
    };
    auto stamp = [&](int cx, int cy) {
        for (int i = -radius; i <= radius; ++i)
        {
            const int y = cy + i;
            if (y < 0 || y >= h2)
                continue;
            for (int j = -radius; j <= radius; ++j)
            {
                const int x = cx + j;
                if (x < 0 || x >= w2)
                    continue;
                uint32_t& pixel = at(x, y);
                pixel = std::max(pixel, kernel[static_cast<size_t>(i + radius) * side + (j + radius)]);
            }
        }
    };
    auto fill = [&](int y, int from, int to, uint32_t value) {
        if (y < 0 || y >= h2)
            return;
        for (int x = std::max(from, 0); x < std::min(to, w2); ++x)
            at(x, y) = value;
    };

    // Soft edge: stamp the kernel along the border of every row's span.
    for (int k = radius; k <= h2 - radius - 1; ++k)
    {
        const ShadowSpan row = spanOf(k);
        if (IsEmpty(row))
            continue;
        const ShadowSpan above = spanOf(k - 1);
        const ShadowSpan below = spanOf(k + 1);
        int x = row.left;
        const int leftEnd = std::min(row.right, std::max(above.left, below.left) + 1);
        for (; x < leftEnd; ++x)
            stamp(x, k);
        x = std::max(x, std::min(above.right, below.right) - 1);
        for (; x < row.right; ++x)
            stamp(x, k);
    }

    // Solid part, with the window's own area cut out.
    const uint32_t solid = Premultiplied(params.color, dark);
    const int firstRow = std::max(std::min(radius, std::max(s - yo, 0)), 0);
    const int endRow = std::min(std::max(h2 - radius, std::min(h2, height + s - yo)), h2);
    for (int k = firstRow; k < endRow; ++k)
    {
        const ShadowSpan row = spanOf(k);
        const int parentRow = k + yo - s;
        if (parentRow < 0 || parentRow >= height)
        {
            fill(k, row.left, row.right, solid);
            continue;
        }
        ShadowSpan own = rows[static_cast<size_t>(parentRow)];
        if (IsEmpty(own))
            own = emptySpan;
        const int c0 = own.left - xo + s;
        const int c1 = own.right - xo + s;
        fill(k, row.left, std::min(row.right, c0), solid);
        fill(k, std::max(c0, 0), std::min(w2, c1), 0);
        fill(k, std::max(row.left, c1), row.right, solid);
    }
    return 1;
}

} // namespace VREL
