#pragma once

// Small value types over the system's POINT, SIZE and RECT. They derive from
// the system structures so that a CRect passes wherever a RECT* is expected
// and the fields keep their usual names (left, top, x, cx ...).

#include <windows.h>

#include <algorithm>

class CSize : public SIZE
{
public:
    CSize() noexcept { cx = 0; cy = 0; }
    CSize(int initCx, int initCy) noexcept { cx = initCx; cy = initCy; }
    CSize(const SIZE& size) noexcept { cx = size.cx; cy = size.cy; }

    bool operator==(const SIZE& other) const noexcept { return cx == other.cx && cy == other.cy; }
    bool operator!=(const SIZE& other) const noexcept { return !(*this == other); }
    CSize operator+(const SIZE& other) const noexcept { return CSize(cx + other.cx, cy + other.cy); }
    CSize operator-(const SIZE& other) const noexcept { return CSize(cx - other.cx, cy - other.cy); }
};

class CPoint : public POINT
{
public:
    CPoint() noexcept { x = 0; y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX; y = initY; }
    CPoint(const POINT& point) noexcept { x = point.x; y = point.y; }
    // Mouse messages carry the point packed into LPARAM; coordinates are signed.
    explicit CPoint(LPARAM packed) noexcept
    {
        x = static_cast<short>(LOWORD(packed));
        y = static_cast<short>(HIWORD(packed));
    }

    void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    void Offset(const POINT& delta) noexcept { Offset(delta.x, delta.y); }
    void Offset(const SIZE& delta) noexcept { Offset(delta.cx, delta.cy); }
    void SetPoint(int newX, int newY) noexcept { x = newX; y = newY; }

    bool operator==(const POINT& other) const noexcept { return x == other.x && y == other.y; }
    bool operator!=(const POINT& other) const noexcept { return !(*this == other); }
    CPoint& operator+=(const POINT& delta) noexcept { Offset(delta); return *this; }
    CPoint& operator-=(const POINT& delta) noexcept { Offset(-delta.x, -delta.y); return *this; }
    CPoint& operator+=(const SIZE& delta) noexcept { Offset(delta); return *this; }
    CPoint& operator-=(const SIZE& delta) noexcept { Offset(-delta.cx, -delta.cy); return *this; }
    CPoint operator+(const POINT& other) const noexcept { return CPoint(x + other.x, y + other.y); }
    CPoint operator+(const SIZE& other) const noexcept { return CPoint(x + other.cx, y + other.cy); }
    // Difference of two points is a point (an offset), as callers use it for deltas.
    CPoint operator-(const POINT& other) const noexcept { return CPoint(x - other.x, y - other.y); }
    CPoint operator-(const SIZE& other) const noexcept { return CPoint(x - other.cx, y - other.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
};

class CRect : public RECT
{
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rect) noexcept { *static_cast<RECT*>(this) = rect; }
    CRect(const RECT* rect) noexcept
    {
        if (rect)
            *static_cast<RECT*>(this) = *rect;
        else
            left = top = right = bottom = 0;
    }
    CRect(const POINT& topLeft, const SIZE& size) noexcept
    {
        left = topLeft.x; top = topLeft.y;
        right = left + size.cx; bottom = top + size.cy;
    }
    CRect(const POINT& topLeft, const POINT& bottomRight) noexcept
    {
        left = topLeft.x; top = topLeft.y;
        right = bottomRight.x; bottom = bottomRight.y;
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    // Empty: no area (width or height <= 0). Null: all four values 0.
    bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    // Right and bottom edges lie outside the rectangle.
    bool PtInRect(const POINT& point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    bool EqualRect(const RECT& other) const noexcept
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }

    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(const RECT* source) noexcept { if (source) *static_cast<RECT*>(this) = *source; }

    void OffsetRect(int dx, int dy) noexcept { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(const POINT& delta) noexcept { OffsetRect(delta.x, delta.y); }
    void OffsetRect(const SIZE& delta) noexcept { OffsetRect(delta.cx, delta.cy); }

    void InflateRect(int dx, int dy) noexcept { left -= dx; top -= dy; right += dx; bottom += dy; }
    void InflateRect(int l, int t, int r, int b) noexcept { left -= l; top -= t; right += r; bottom += b; }
    void InflateRect(const RECT& margins) noexcept
    {
        InflateRect(margins.left, margins.top, margins.right, margins.bottom);
    }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(const RECT& margins) noexcept
    {
        DeflateRect(margins.left, margins.top, margins.right, margins.bottom);
    }

    // Same results as the system's IntersectRect/UnionRect: an empty
    // intersection yields the null rectangle, an empty operand is ignored by
    // the union. Both return whether the result is non-empty.
    bool IntersectRect(const RECT& a, const RECT& b) noexcept
    {
        CRect result(std::max(a.left, b.left), std::max(a.top, b.top),
                     std::min(a.right, b.right), std::min(a.bottom, b.bottom));
        if (result.IsRectEmpty())
        {
            SetRectEmpty();
            return false;
        }
        *this = result;
        return true;
    }
    bool UnionRect(const RECT& a, const RECT& b) noexcept
    {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty() && rb.IsRectEmpty())
        {
            SetRectEmpty();
            return false;
        }
        if (ra.IsRectEmpty()) { *this = rb; return true; }
        if (rb.IsRectEmpty()) { *this = ra; return true; }
        SetRect(std::min(a.left, b.left), std::min(a.top, b.top),
                std::max(a.right, b.right), std::max(a.bottom, b.bottom));
        return true;
    }

    void NormalizeRect() noexcept
    {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }

    void MoveToX(int x) noexcept { right += x - left; left = x; }
    void MoveToY(int y) noexcept { bottom += y - top; top = y; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x); MoveToY(y); }
    void MoveToXY(const POINT& point) noexcept { MoveToXY(point.x, point.y); }

    bool operator==(const RECT& other) const noexcept { return EqualRect(other); }
    bool operator!=(const RECT& other) const noexcept { return !EqualRect(other); }

    CRect& operator=(const RECT& other) noexcept { *static_cast<RECT*>(this) = other; return *this; }
    CRect& operator&=(const RECT& other) noexcept { IntersectRect(*this, other); return *this; }
    CRect& operator|=(const RECT& other) noexcept { UnionRect(*this, other); return *this; }
    CRect operator&(const RECT& other) const noexcept { CRect r; r.IntersectRect(*this, other); return r; }
    CRect operator|(const RECT& other) const noexcept { CRect r; r.UnionRect(*this, other); return r; }
    CRect& operator+=(const POINT& delta) noexcept { OffsetRect(delta); return *this; }
    CRect& operator-=(const POINT& delta) noexcept { OffsetRect(-delta.x, -delta.y); return *this; }
    CRect operator+(const POINT& delta) const noexcept { CRect r(*this); r.OffsetRect(delta); return r; }
    CRect operator-(const POINT& delta) const noexcept { CRect r(*this); r.OffsetRect(-delta.x, -delta.y); return r; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
};
