#pragma once

// What the row-list tests share: a list placed at a known spot of a canvas
// with an owner that records its reports, painted and clicked as the paint
// manager would, and the points of rows, icons and tiles.

#include <windows.h>

#include <memory>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/Geometry.h"
#include "ui/framework/MControl.h"

namespace rowlists {

constexpr int kCanvasWidth = 420;
constexpr int kCanvasHeight = 420;
constexpr int kLeft = 10;
constexpr int kTop = 20;

inline CRect Place(int width, int height) { return CRect(kLeft, kTop, kLeft + width, kTop + height); }

// A list of type T owned by a recording owner and drawn onto a canvas.
template <class T>
struct Bench
{
    template <class... Args>
    explicit Bench(int width, int height, Args... args)
        : canvas(kCanvasWidth, kCanvasHeight, 0xFF202020),
          list(std::make_unique<T>(&owner, 7u, Place(width, height), args...))
    {
    }

    void Paint()
    {
        HDC dc = canvas.Dc();
        list->Draw(dc, CRect(0, 0, kCanvasWidth, kCanvasHeight));
    }
    // The pointer arrives at the point (a move, as before every press).
    void MoveTo(CPoint pt) { list->OnMouseMove(0, pt); }
    void Press(CPoint pt)
    {
        MoveTo(pt);
        list->OnLButtonDown(MK_LBUTTON, pt);
    }
    void Release(CPoint pt) { list->OnLButtonUp(0, pt); }
    void Click(CPoint pt)
    {
        Press(pt);
        Release(pt);
    }
    void RightClick(CPoint pt)
    {
        MoveTo(pt);
        list->OnRButtonDown(MK_RBUTTON, pt);
        list->OnRButtonUp(0, pt);
    }
    void DoubleClick(CPoint pt)
    {
        Click(pt);
        list->OnLButtonDblClk(MK_LBUTTON, pt);
    }

    testsupport::ManagerLikeOwner owner;
    DibCanvas canvas;
    std::unique_ptr<T> list;
};

// A point on row k of a list with this pitch, left of any icon.
inline CPoint RowPoint(int k, int pitch = 36) { return CPoint(kLeft + 40, kTop + k * pitch + pitch / 2); }

} // namespace rowlists
