// The key pickers: their two tables checked against the keyboard shapes
// they lay out, picking and its reports, the checked cell, scrolling, the
// drag image and the control's own image strip.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/keyboard/KeyFuncControl.h"

using namespace VREL;
using testsupport::ManagerLikeOwner;
using testsupport::Report;

namespace {

const WPARAM kNone = static_cast<WPARAM>(-1);

std::set<int> Codes(const KeyPickerTable& table)
{
    std::set<int> codes;
    for (size_t i = 0; i < table.count; ++i)
        codes.insert(table.entries[i].code);
    return codes;
}

// Every usage id from 4 to 101 but 50, and the eight modifiers.
std::set<int> KeyboardUsages()
{
    std::set<int> codes;
    for (int code = 4; code <= 101; ++code)
        if (code != 50)
            codes.insert(code);
    for (int code = 224; code <= 231; ++code)
        codes.insert(code);
    return codes;
}

template <class T>
struct Picker
{
    explicit Picker(CRect rect = CRect(10, 20, 1200, 400)) : grid(&owner, 74, rect, 1)
    {
        grid.SetManager(&manager);
        grid.InitItemInfo();
        Paint();
        owner.Clear();
    }
    void Paint()
    {
        grid.SetUpdate(0, 0);
        DibCanvas canvas(grid.GetRect().right + 4, grid.GetRect().bottom + 4);
        grid.Draw(canvas.Dc(), CRect(0, 0, canvas.Width(), canvas.Height()));
    }
    // Window-client point of a content point.
    CPoint At(int x, int y) const
    {
        return CPoint(grid.GetRect().left + x, grid.GetRect().top + y - grid.GetScrollOffsetY());
    }
    CPoint CentreOf(int index)
    {
        KEY_FUNC_ITEM item = {};
        grid.GetItem(index, item);
        return At((item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2);
    }
    void Click(CPoint pt)
    {
        grid.OnControlMouseMove(0, pt);
        grid.OnControlLButtonDown(MK_LBUTTON, pt);
        grid.OnControlLButtonUp(0, pt);
    }

    PaintManager manager;
    ManagerLikeOwner owner;
    T grid;
};

} // namespace

// Both tables against the shapes they lay out: counts, the code set, no
// code twice, the row tops, cells at least 3 px apart, and the content
// height.
TEST(KeyPickerTables, MatchTheKeyboardShapes)
{
    struct TableCase
    {
        const char* name;
        KeyPickerTable table;
        size_t count;
        std::set<int> codes;
        std::set<int> rowTops;
        int lastBottom;
    };
    std::set<int> full = KeyboardUsages();
    full.insert(1);
    std::set<int> compact = KeyboardUsages();
    for (int code : {83, 87, 100})
        compact.erase(code);
    const TableCase cases[] = {
        {"full", FullKeyPickerTable(), 106, full, {0, 50, 100, 150, 200, 250}, 297},
        {"compact", CompactKeyPickerTable(), 102, compact, {0, 45, 88, 131, 174, 217, 260}, 300},
    };
    for (const TableCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.table.count, c.count);
        EXPECT_EQ(Codes(c.table), c.codes);
        std::set<int> tops;
        int bottom = 0;
        for (size_t i = 0; i < c.table.count; ++i)
        {
            const KeyPickerEntry& a = c.table.entries[i];
            tops.insert(a.top);
            bottom = std::max(bottom, a.top + a.height);
            if (i > 0)
            {
                const KeyPickerEntry& before = c.table.entries[i - 1];
                EXPECT_TRUE(a.top > before.top || (a.top == before.top && a.left > before.left))
                    << "row by row, left to right at " << i;
            }
            for (size_t j = i + 1; j < c.table.count; ++j)
            {
                const KeyPickerEntry& b = c.table.entries[j];
                const bool apartX = a.left + a.width + 3 <= b.left || b.left + b.width + 3 <= a.left;
                const bool apartY = a.top + a.height + 3 <= b.top || b.top + b.height + 3 <= a.top;
                EXPECT_TRUE(apartX || apartY) << "cells " << i << " and " << j << " closer than 3 px";
            }
        }
        EXPECT_EQ(tops, c.rowTops);
        EXPECT_EQ(bottom, c.lastBottom);
        EXPECT_EQ(c.table.entries[c.count - 1].top + c.table.entries[c.count - 1].height, c.lastBottom);
    }
}

// Cells the keys page relies on, by index.
TEST(KeyPickerTables, NamedCells)
{
    struct CellCase
    {
        KeyPickerTable table;
        size_t index;
        const wchar_t* label;
        int code;
        CRect rect;
    };
    const KeyPickerTable full = FullKeyPickerTable();
    const KeyPickerTable compact = CompactKeyPickerTable();
    const CellCase cases[] = {
        {full, 0, L"Esc", 41, CRect(0, 0, 47, 47)},
        {full, 1, L"F1", 58, CRect(100, 0, 147, 47)},
        {full, 16, L"Null", 1, CRect(920, 0, 967, 47)},
        {full, 27, L"0", 39, CRect(500, 50, 547, 97)},
        {full, 30, L"Backspace", 42, CRect(650, 50, 747, 97)},
        {full, 58, L"Num +", 87, CRect(1070, 100, 1117, 197)},
        {full, 75, L"Shift", 225, CRect(0, 200, 95, 247)},
        {full, 87, L"Shift", 229, CRect(648, 200, 747, 247)},
        {full, 88, L"\x2191", 82, CRect(810, 200, 857, 247)},
        {full, 96, L"Space", 44, CRect(174, 250, 515, 297)},
        {full, 104, L"0", 98, CRect(920, 250, 1017, 297)},
        {full, 105, L".", 99, CRect(1020, 250, 1067, 297)},
        {compact, 0, L"Esc", 41, CRect(0, 0, 40, 40)},
        {compact, 15, L"Pause", 72, CRect(736, 0, 776, 40)},
        {compact, 45, L"}}", 48, CRect(532, 88, 571, 128)},
        {compact, 46, L"|\\", 49, CRect(575, 88, 642, 128)},
        {compact, 62, L"Enter", 40, CRect(556, 131, 642, 171)},
        {compact, 98, L"Enter", 88, CRect(583, 260, 642, 300)},
        {compact, 101, L"Num -", 86, CRect(736, 260, 776, 300)},
    };
    for (const CellCase& c : cases)
    {
        SCOPED_TRACE(c.index);
        const KeyPickerEntry& e = c.table.entries[c.index];
        EXPECT_STREQ(e.label, c.label);
        EXPECT_EQ(e.code, c.code);
        EXPECT_EQ(CRect(e.left, e.top, e.left + e.width, e.top + e.height), c.rect);
    }
}

// Picking: a click on a cell reports its index and GetCurItemData its
// code, flag 0, reserved 0 and label, never touching the first argument; a
// click in a gap picks nothing.
TEST(KeyFuncControl, PickingAndItsReports)
{
    Picker<KeyFuncControl> p;
    EXPECT_EQ(p.grid.GetItemCount(), 106);
    EXPECT_EQ(p.grid.GetContentHeight(), 297);

    struct ClickCase
    {
        const char* name;
        CPoint content;
        WPARAM index;
        int code;
        const wchar_t* label;
    };
    const ClickCase cases[] = {
        {"Esc at the content origin", CPoint(0, 0), 0, 41, L"Esc"},
        {"Null", CPoint(930, 10), 16, 1, L"Null"},
        {"keypad 0", CPoint(1000, 260), 104, 98, L"0"},
        {"gap after Esc", CPoint(48, 10), kNone, 0, nullptr},
        {"right edge of Esc is not Esc", CPoint(47, 10), kNone, 0, nullptr},
    };
    for (const ClickCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        p.owner.Clear();
        p.Click(p.At(c.content.x, c.content.y));
        EXPECT_EQ(p.owner.reports, (std::vector<Report>{{74, NC_CLICKED, c.index, 0}}));
        int first = 12345, code = -5, flag = -5, reserved = -5;
        CString name = L"before";
        const bool picked = p.grid.GetCurItemData(first, code, flag, reserved, name);
        EXPECT_EQ(first, 12345);
        EXPECT_EQ(picked, c.label != nullptr);
        if (c.label)
        {
            EXPECT_EQ(code, c.code);
            EXPECT_EQ(flag, 0);
            EXPECT_EQ(reserved, 0);
            EXPECT_EQ(name, CString(c.label));
        }
        else
        {
            EXPECT_EQ(code, -5);
            EXPECT_EQ(name, CString(L"before"));
        }
    }

    // A release outside keeps the pick of the press and reports nothing.
    p.owner.Clear();
    p.grid.OnControlMouseMove(0, p.CentreOf(1));
    p.grid.OnControlLButtonDown(MK_LBUTTON, p.CentreOf(1));
    p.grid.OnControlLButtonUp(0, CPoint(5000, 5000));
    EXPECT_EQ(p.grid.GetPickedIndex(), 1);
    EXPECT_TRUE(p.owner.reports.empty());

    // Hovering within one cell asks for no repaint; the next cell does.
    p.owner.Clear();
    p.grid.OnControlMouseMove(0, p.CentreOf(2));
    const size_t repaints = p.owner.repaints.size();
    p.grid.OnControlMouseMove(0, p.CentreOf(2) + CPoint(3, 3));
    EXPECT_EQ(p.owner.repaints.size(), repaints);
    p.grid.OnControlMouseMove(0, p.CentreOf(3));
    EXPECT_EQ(p.owner.repaints.size(), repaints + 1);

    // Filling again keeps the same cells at the same indexes.
    p.grid.InitItemInfo();
    EXPECT_EQ(p.grid.GetItemCount(), 106);
    KEY_FUNC_ITEM item = {};
    ASSERT_TRUE(p.grid.GetItem(105, item));
    EXPECT_EQ(item.code, 99);
    EXPECT_FALSE(p.grid.GetItem(106, item));

    // A pick left over from an emptied list names no cell.
    p.Click(p.CentreOf(5));
    p.grid.ClearItems();
    int first = 0, code = -5, flag = 0, reserved = 0;
    CString name;
    EXPECT_FALSE(p.grid.GetCurItemData(first, code, flag, reserved, name));
    p.Paint();  // and drawing with the stale indexes is safe
}

// The compact picker reports the press too; a disabled picker picks,
// reports and drags nothing while its press handler still answers 1.
TEST(KeyFuncControl, CompactPressAndDisabledPicker)
{
    Picker<KeyFuncControl2> p;
    EXPECT_EQ(p.grid.GetItemCount(), 102);
    EXPECT_EQ(p.grid.GetContentHeight(), 310);
    p.Click(p.CentreOf(15));
    EXPECT_EQ(p.owner.reports, (std::vector<Report>{{74, NC_PRESSED, 15, 0}, {74, NC_CLICKED, 15, 0}}));

    p.owner.Clear();
    p.grid.SetEnabled(0);
    p.owner.Clear();
    EXPECT_EQ(p.grid.OnControlMouseMove(0, p.CentreOf(3)), 0);
    EXPECT_EQ(p.grid.OnControlLButtonDown(MK_LBUTTON, p.CentreOf(3)), 1);
    EXPECT_EQ(p.grid.OnControlLButtonUp(0, p.CentreOf(3)), 0);
    EXPECT_TRUE(p.owner.reports.empty());
    EXPECT_EQ(p.grid.GetPickedIndex(), 15);
    EXPECT_EQ(p.grid.GetControlDropBitmap(), nullptr);
}

// The checked cell: matched by code, flag and reserved value; code 0
// clears it; it shows highlighted without the mouse, the picked cell does
// not.
TEST(KeyFuncControl, CheckedCellAndHighlight)
{
    Picker<KeyFuncControl> p(CRect(0, 0, 1130, 300));
    p.grid.SetItemCheckByItemData(41, 0, 0);
    EXPECT_EQ(p.grid.GetCheckedIndex(), 0);
    p.grid.SetItemCheckByItemData(41, 1, 0);
    EXPECT_EQ(p.grid.GetCheckedIndex(), -1);
    p.grid.SetItemCheckByItemData(99, 0, 0);
    EXPECT_EQ(p.grid.GetCheckedIndex(), 105);
    p.grid.SetItemCheckByItemData(0, 0, 0);
    EXPECT_EQ(p.grid.GetCheckedIndex(), -1);

    p.grid.SetItemCheckByItemData(41, 0, 0);
    p.Click(p.CentreOf(1));                   // pick F1 ...
    p.grid.OnControlMouseMove(0, CPoint(2000, 2000));  // ... and leave it
    DibCanvas canvas(1140, 310, 0xFF000000);
    p.grid.SetUpdate(0, 0);
    p.grid.Draw(canvas.Dc(), CRect(0, 0, 1140, 310));
    // The test theme's key pictures show their frame by colour: frame 1
    // (green) on the checked Esc, frame 0 (red) on the picked F1.
    EXPECT_EQ(canvas.Rgb(23, 23), 0x00FF00u) << std::hex << canvas.Rgb(23, 23);
    EXPECT_EQ(canvas.Rgb(123, 23), 0xFF0000u) << std::hex << canvas.Rgb(123, 23);
}

// Scrolling: a picker as high as its content shows no bar and the wheel
// moves only the hidden bar; a shorter one scrolls so that the end aligns
// the last row with its bottom, and hit tests follow the cells.
TEST(KeyFuncControl, ScrollingAndHitTestsFollowTheCells)
{
    Picker<KeyFuncControl> tall(CRect(0, 0, 1130, 297));
    EXPECT_FALSE(tall.grid.GetScrollVertical()->IsVisible());
    EXPECT_EQ(tall.grid.OnControlScroll(120, 1, CPoint(10, 10)), 1);
    tall.Paint();
    EXPECT_EQ(tall.grid.GetScrollOffsetY(), 0);

    Picker<KeyFuncControl2> tall2(CRect(0, 0, 800, 310));
    EXPECT_FALSE(tall2.grid.GetScrollVertical()->IsVisible());

    Picker<KeyFuncControl> p(CRect(0, 0, 1130, 150));
    auto* bar = static_cast<MScroll*>(p.grid.GetScrollVertical());
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollMaxRange(), 297);
    p.grid.OnControlScroll(120, 1, CPoint(10, 10));
    p.Paint();
    EXPECT_EQ(p.grid.GetScrollOffsetY(), 100 * (297 - 150) / 297);
    bar->SetScrollFinalPos();
    p.Paint();
    EXPECT_EQ(p.grid.GetScrollOffsetY(), 297 - 150);
    // The keypad "." cell, the last one, now ends at the control's bottom.
    p.Click(CPoint(1030, 149));
    EXPECT_EQ(p.owner.reports.back(), (Report{74, NC_CLICKED, 105, 0}));
    // A wheel step back towards the top.
    p.grid.OnControlScroll(120, 0, CPoint(10, 10));
    p.Paint();
    EXPECT_EQ(p.grid.GetScrollOffsetY(), 197 * (297 - 150) / 297);
}

// The drag image: the hovered cell with 1 px more at the left and top and
// 2 px at the right and bottom; no image over a gap.
TEST(KeyFuncControl, DragImage)
{
    Picker<KeyFuncControl> p;
    p.grid.OnControlMouseMove(0, p.At(48, 10));
    EXPECT_EQ(p.grid.GetControlDropBitmap(), nullptr);
    p.grid.OnControlMouseMove(0, p.CentreOf(30));  // Backspace, 97 x 47
    HBITMAP image = p.grid.GetControlDropBitmap();
    ASSERT_NE(image, nullptr);
    BITMAP info = {};
    ::GetObjectW(image, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 97 + 3);
    EXPECT_EQ(info.bmHeight, 47 + 3);
    ::DeleteObject(image);
    EXPECT_EQ(p.grid.IsDragDrop(), 1);
}

// The control's own image strip: a frame count below 1 counts as one
// frame instead of dividing by zero; a missing file gives 0.
TEST(KeyFuncControl, OwnImageStrip)
{
    Picker<KeyFuncControl> p;
    EXPECT_EQ(p.grid.SetImage(L"no\\such\\image.png", 2), 0);
    for (int frames : {0, -3})
    {
        // The test theme's strip is 4 frames of 12 x 10.
        ASSERT_EQ(p.grid.SetImage(L"test_strip4.png", frames), 1) << frames;
        EXPECT_EQ(p.grid.GetImageSize(), CSize(48, 10)) << frames;
    }
    ASSERT_EQ(p.grid.SetImage(L"test_strip4.png", 4), 1);
    EXPECT_EQ(p.grid.GetImageSize(), CSize(12, 10));
}
