// The Fn-layer strip, the category tabs and the value grid: the grid's
// layout with its "Reset" break, the cells of each control after painting,
// the click rules and their reports, selection setters with values and
// indexes that name no item, and the grid as a drag source.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PaintManager.h"
#include "ui/keyboard/KeyLists.h"

using namespace VREL;
using testsupport::ManagerLikeOwner;
using testsupport::Report;

namespace {

std::vector<CString> Names(std::initializer_list<const wchar_t*> names)
{
    std::vector<CString> out;
    for (const wchar_t* n : names)
        out.push_back(n);
    return out;
}

// A control bound to a paint manager and painted once, so that its cells
// are laid out.
template <class T>
struct Bound
{
    explicit Bound(CRect rect) : control(&owner, 75, rect, 1, 1) { control.SetManager(&manager); }
    void Paint()
    {
        control.SetUpdate(0, 0);
        DibCanvas canvas(control.GetRect().right + 10, control.GetRect().bottom + 10);
        control.Draw(canvas.Dc(), CRect(0, 0, canvas.Width(), canvas.Height()));
    }
    // Window-client centre of an item's cell.
    CPoint Centre(int index)
    {
        const CRect cell = control.GetItemRect(index);
        return CPoint(control.GetRect().left + (cell.left + cell.right) / 2,
                      control.GetRect().top + (cell.top + cell.bottom) / 2);
    }
    void Click(CPoint pt)
    {
        control.OnControlMouseMove(0, pt);
        control.OnControlLButtonDown(MK_LBUTTON, pt);
        control.OnControlLButtonUp(0, pt);
    }

    PaintManager manager;
    ManagerLikeOwner owner;
    T control;
};

} // namespace

// Cells of 100 x 50 every 105 px, wrapping when the next would pass the
// width less 105, and a new row after every "Reset" cell.
TEST(KeyValueGrid, LayoutWrapsAndBreaksAfterReset)
{
    struct LayoutCase
    {
        const char* name;
        std::vector<CString> names;
        int width;
        std::vector<RECT> cells;
    };
    const LayoutCase cases[] = {
        {"three in a row", Names({L"a", L"b", L"c"}), 400,
         {{0, 0, 100, 50}, {105, 0, 205, 50}, {210, 0, 310, 50}}},
        {"wraps after x passes width - 105", Names({L"a", L"b", L"c", L"d"}), 400,
         {{0, 0, 100, 50}, {105, 0, 205, 50}, {210, 0, 310, 50}, {0, 55, 100, 105}}},
        {"exactly width - 105 still fits", Names({L"a", L"b", L"c", L"d"}), 420,
         {{0, 0, 100, 50}, {105, 0, 205, 50}, {210, 0, 310, 50}, {315, 0, 415, 50}}},
        {"Reset breaks the row", Names({L"a", L"Reset", L"c"}), 600,
         {{0, 0, 100, 50}, {105, 0, 205, 50}, {0, 55, 100, 105}}},
        {"Reset at the end of a full row leaves an empty row", Names({L"a", L"b", L"Reset", L"d"}), 400,
         {{0, 0, 100, 50}, {105, 0, 205, 50}, {210, 0, 310, 50}, {0, 110, 100, 160}}},
        {"the break is case-sensitive", Names({L"reset", L"b"}), 600, {{0, 0, 100, 50}, {105, 0, 205, 50}}},
        {"narrower than one cell: one a row", Names({L"a", L"b"}), 90, {{0, 0, 100, 50}, {0, 55, 100, 105}}},
    };
    for (const LayoutCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<RECT> cells = keylists::LayoutValueCells(c.names, c.width);
        ASSERT_EQ(cells.size(), c.cells.size());
        for (size_t i = 0; i < cells.size(); ++i)
            EXPECT_EQ(CRect(cells[i]), CRect(c.cells[i])) << i;
    }
}

// Each control's cells once painted: rows of 36 px, tabs of 120 x 30, tabs
// of the second look 100 wide and as high as the control.
TEST(KeyLists, CellsAfterPainting)
{
    Bound<KeyLayerCtrl> layers(CRect(10, 20, 110, 200));
    layers.control.AddKeyLayer(L"Layer 1", 0);
    layers.control.AddKeyLayer(L"Layer 2", 1);
    EXPECT_TRUE(layers.control.GetItemRect(1).IsRectNull()) << "nothing is laid out before painting";
    layers.Paint();
    EXPECT_EQ(layers.control.GetItemRect(1), CRect(0, 36, 100, 72));

    Bound<KeyTypeTab> tabs(CRect(0, 0, 600, 40));
    for (int i = 0; i < 5; ++i)
        tabs.control.AddKeyType(L"Tab", i);
    tabs.Paint();
    EXPECT_EQ(tabs.control.GetItemRect(4), CRect(480, 0, 600, 30));

    Bound<KeyTypeTab2> tabs2(CRect(0, 0, 300, 28));
    tabs2.control.AddKeyType(L"One", 0);
    tabs2.control.AddKeyType(L"Two", 1);
    tabs2.Paint();
    EXPECT_EQ(tabs2.control.GetItemRect(1), CRect(100, 0, 200, 28));
}

// The layer strip: a click selects the hovered row and reports (index,
// layer id); a release after the pointer left the row selects without a
// report.
TEST(KeyLists, LayerStripClicks)
{
    Bound<KeyLayerCtrl> s(CRect(10, 20, 110, 200));
    s.control.AddKeyLayer(L"Layer 1", 7);
    s.control.AddKeyLayer(L"Layer 2", 9);

    // Before the first painting nothing can be hovered or clicked.
    s.Click(CPoint(50, 70));
    EXPECT_TRUE(s.owner.reports.empty());
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), 7);

    s.Paint();
    s.Click(s.Centre(1));
    EXPECT_EQ(s.owner.reports, (std::vector<Report>{{75, NC_CLICKED, 1, 9}}));
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), 9);

    s.owner.Clear();
    s.control.OnControlMouseMove(0, s.Centre(0));
    s.control.OnControlLButtonUp(0, CPoint(50, 150));  // inside the control, below both rows
    EXPECT_TRUE(s.owner.reports.empty());
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), 7);

    // Lookups that find nothing and indexes out of the list change nothing.
    s.control.SetSelectKeyLayer(42);
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), 7);
    s.control.SetItemText(2, L"none");
    s.control.SetItemText(-1, L"none");
    s.control.SetSelectKeyLayer(9);
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), 9);
    s.control.ClearAllItems();
    EXPECT_EQ(s.control.GetSelectKeyLayerID(), -1);
}

// The tabs: a click reports (index, 0); a release on the selected tab
// reports again but asks for no repaint; selection by index whatever the
// type values; indexes outside the list are refused.
TEST(KeyLists, CategoryTabs)
{
    Bound<KeyTypeTab> t(CRect(0, 0, 600, 40));
    for (int type : {4, 3, 2, 1, 0})
        t.control.AddKeyType(L"Tab", type);
    t.Paint();
    t.Click(t.Centre(2));
    EXPECT_EQ(t.owner.reports, (std::vector<Report>{{75, NC_CLICKED, 2, 0}}));
    EXPECT_EQ(t.control.GetSelectItem(), 2);

    t.owner.Clear();
    t.control.OnControlMouseMove(0, t.Centre(2));
    EXPECT_EQ(t.control.OnControlLButtonUp(0, t.Centre(2)), 0);
    EXPECT_EQ(t.owner.reports, (std::vector<Report>{{75, NC_CLICKED, 2, 0}}));
    EXPECT_TRUE(t.owner.repaints.empty());

    t.control.SetSelectKeyType(3);
    EXPECT_EQ(t.control.GetSelectItem(), 3);
    t.control.SetSelectKeyType(5);
    t.control.SetSelectKeyType(-2);
    EXPECT_EQ(t.control.GetSelectItem(), 3);
    t.control.SetSelectKeyType(-1);
    EXPECT_EQ(t.control.GetSelectItem(), -1);
    t.control.SetItemText(9, L"none");
    EXPECT_EQ(t.control.GetItemCount(), 5);
}

// The value grid: selection by value, what the getters answer in each
// state, the selection ClearAllItems leaves, and a drag that selects the
// cell it starts from, with a drag image 2 px larger than the cell.
TEST(KeyLists, ValueGridSelectionAndDrag)
{
    Bound<KeyValueList> g(CRect(20, 30, 420, 230));
    EXPECT_EQ(g.control.GetFontWidth(), 12);
    g.control.AddKeyInfo(500, L"My Computer", L"");
    g.control.AddKeyInfo(501, L"Calculator ", L"icon\\none.png");
    g.control.AddKeyInfo(502, L"Email", L"");

    CString name = L"untouched";
    EXPECT_EQ(g.control.GetSelectKeyValue(name), static_cast<unsigned long>(-1));
    EXPECT_EQ(name, CString(L"untouched"));
    int value = 7;
    g.control.GetCurValue(value, name);
    EXPECT_EQ(value, 7);

    g.control.SetSelectKeyValue(502);
    EXPECT_EQ(g.control.GetSelectKeyValue(name), 502u);
    EXPECT_EQ(name, CString(L"Email"));
    g.control.SetSelectKeyValue(999);  // no such cell: unchanged
    EXPECT_EQ(g.control.GetSelectKeyValue(name), 502u);

    g.control.ClearAllItems();
    EXPECT_EQ(g.control.GetSelectKeyValue(name), static_cast<unsigned long>(-1)) << "no cell to name";
    g.control.AddKeyInfo(10, L"First", L"");
    g.control.AddKeyInfo(11, L"Second", L"");
    EXPECT_EQ(g.control.GetSelectKeyValue(name), 10u) << "index 0 left by the clear";

    // No drag without a hovered cell; a drag from a cell selects it.
    g.Paint();
    EXPECT_EQ(g.control.GetControlDropBitmap(), nullptr);
    g.control.OnControlMouseMove(0, g.Centre(1));
    HBITMAP image = g.control.GetControlDropBitmap();
    ASSERT_NE(image, nullptr);
    BITMAP info = {};
    ::GetObjectW(image, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, keylists::kValueCellWidth + 4);
    EXPECT_EQ(info.bmHeight, keylists::kValueCellHeight + 4);
    ::DeleteObject(image);
    EXPECT_EQ(g.control.GetSelectItem(), 1);

    g.control.SetEnabled(0);
    EXPECT_EQ(g.control.GetControlDropBitmap(), nullptr);
}
