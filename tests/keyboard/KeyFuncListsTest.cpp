// The function type and value grids and the menu's function list: cell and
// row layout, hover, selection and their reports, lookups, the value grid's
// drag source, and the extended menu showing the list and reporting a
// chosen function.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/PopupTestSupport.h"
#include "tests/keyboard/PeripheralTestSupport.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/MenuExWnd.h"
#include "ui/framework/NotifyCode.h"
#include "ui/keyboard/KeyFuncLists.h"
#include "ui/keyboard/KeyMenuFuncType.h"

using namespace VREL;
using peripheraltest::Bench;
using testsupport::Report;

namespace {

constexpr UINT kId = 95;
constexpr UINT kMenuMessage = WM_USER + 321;
const wchar_t kKeyIcon[] = L"icon\\icon_functype_key.png";

template <class List>
void AddNumbered(List& list, int n)
{
    for (int i = 0; i < n; ++i)
        list.AddItem(CString(L"Item"), 100 + i, kKeyIcon);
}

void AddNumbered(KeyMenuFuncType& list, int n)
{
    for (int i = 0; i < n; ++i)
        list.AddItem(CString(L"Item"), CString(L"second"), 100 + i, kKeyIcon);
}

CPoint Centre(const CRect& r, const CRect& control)
{
    return CPoint(control.left + (r.left + r.right) / 2, control.top + (r.top + r.bottom) / 2);
}

} // namespace

// 300 wide: three columns (the fourth would start at 270, not below 300 -
// cell width); type rows 80 apart, value rows 46.
TEST(FuncLists, GridCellsWrapAtTheWidth)
{
    Bench bench;
    DibCanvas canvas(320, 300, peripheraltest::kWindowArgb);
    auto* types = bench.Add<KeyFuncType>(kId, CRect(0, 0, 300, 300), 1, 1);
    AddNumbered(*types, 5);
    types->SetAllItemHeight(300);
    types->SetRect(types->GetRect());
    Bench::DrawOn(*types, canvas);
    auto* values = bench.Add<KeyFuncValue>(kId + 1, CRect(0, 0, 300, 200), 1, 1);
    AddNumbered(*values, 5);
    Bench::DrawOn(*values, canvas);

    struct Case
    {
        int index;
        CRect type;
        CRect value;
    };
    const Case cases[] = {
        {0, CRect(0, 0, 80, 70), CRect(0, 0, 80, 36)},
        {1, CRect(90, 0, 170, 70), CRect(90, 0, 170, 36)},
        {2, CRect(180, 0, 260, 70), CRect(180, 0, 260, 36)},
        {3, CRect(0, 80, 80, 150), CRect(0, 46, 80, 82)},
        {4, CRect(90, 80, 170, 150), CRect(90, 46, 170, 82)},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(types->GetItemRect(c.index), c.type) << c.index;
        EXPECT_EQ(values->GetItemRect(c.index), c.value) << c.index;
    }
}

// Five menu rows at 0, 60, 120, 180 (the 30-pixel text row) and 240; the
// band below the text row belongs to no row.
TEST(FuncLists, MenuRowsAndTheTextRow)
{
    Bench bench;
    const CRect rect(10, 10, 110, 330);
    auto* menu = bench.Add<KeyMenuFuncType>(kId, rect, 1, 1);
    AddNumbered(*menu, 5);
    DibCanvas canvas(120, 340, peripheraltest::kWindowArgb);
    Bench::DrawOn(*menu, canvas);
    const int tops[] = {0, 60, 120, 180, 240};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(menu->GetItemRect(i), CRect(0, tops[i], 100, tops[i] + (i == 3 ? 30 : 60))) << i;

    menu->OnControlMouseMove(0, CPoint(60, rect.top + 225));
    EXPECT_EQ(menu->GetHoverItem(), -1) << "the band under the text row";
    menu->OnControlMouseMove(0, CPoint(60, rect.top + 200));
    EXPECT_EQ(menu->GetHoverItem(), 3);
    menu->OnControlMouseMove(0, CPoint(200, 200));
    EXPECT_EQ(menu->GetHoverItem(), -1) << "outside";
}

// Press on one item and release over another: the grids report the index
// selected at the press, the menu list the data of the item released over.
TEST(FuncLists, PressAndReleaseReports)
{
    Bench bench;
    DibCanvas canvas(400, 400, peripheraltest::kWindowArgb);
    const CRect rect(20, 20, 320, 320);
    auto* types = bench.Add<KeyFuncType>(kId, rect, 1, 1);
    auto* values = bench.Add<KeyFuncValue>(kId + 1, rect, 1, 1);
    auto* menu = bench.Add<KeyMenuFuncType>(kId + 2, rect, 1, 1);
    AddNumbered(*types, 4);
    AddNumbered(*values, 4);
    AddNumbered(*menu, 4);
    types->SetAllItemHeight(300);
    struct Case
    {
        const char* what;
        MControl* list;
        UINT id;
        Report expected;
    };
    const Case cases[] = {
        {"type grid", types, kId, {kId, NC_CLICKED, 0, 0}},
        {"value grid", values, kId + 1, {kId + 1, NC_CLICKED, 0, 0}},
        {"menu list", menu, kId + 2, {kId + 2, NC_CLICKED, 101, 0}},
    };
    for (const Case& c : cases)
    {
        canvas.Fill(peripheraltest::kWindowArgb);
        Bench::DrawOn(*c.list, canvas);
        CRect first, second;
        if (c.list == types)
            first = types->GetItemRect(0), second = types->GetItemRect(1);
        else if (c.list == values)
            first = values->GetItemRect(0), second = values->GetItemRect(1);
        else
            first = menu->GetItemRect(0), second = menu->GetItemRect(1);
        bench.owner.Clear();
        c.list->OnControlMouseMove(0, Centre(first, rect));
        c.list->OnControlLButtonDown(MK_LBUTTON, Centre(first, rect));
        c.list->OnControlMouseMove(MK_LBUTTON, Centre(second, rect));
        c.list->OnControlLButtonUp(0, Centre(second, rect));
        ASSERT_EQ(testsupport::WithCode(bench.owner.reports, NC_CLICKED).size(), 1u) << c.what;
        EXPECT_EQ(testsupport::WithCode(bench.owner.reports, NC_CLICKED)[0], c.expected) << c.what;

        // A release with nothing hovered reports nothing.
        bench.owner.Clear();
        c.list->OnControlMouseMove(0, CPoint(390, 390));
        c.list->OnControlLButtonUp(0, CPoint(390, 390));
        EXPECT_TRUE(bench.owner.reports.empty()) << c.what;
    }
}

TEST(FuncLists, LookupsSelectionAndClearing)
{
    Bench bench;
    auto* values = bench.Add<KeyFuncValue>(kId, CRect(0, 0, 300, 200), 1, 1);
    // An empty list answers 0 and empty text.
    EXPECT_EQ(values->GetItemData(0), 0);
    EXPECT_EQ(values->GetCurData(), 0);
    EXPECT_TRUE(values->GetItemText(0).IsEmpty());
    int data = 7;
    CString text(L"kept");
    values->GetCurValue(data, text);
    EXPECT_EQ(data, 7) << "nothing selected: left as it was";
    EXPECT_EQ(text, CString(L"kept"));

    values->AddItem(L"Copy", 11, L"");
    values->AddItem(L"Paste", 12, L"icon\\missing.png");
    values->SetCurData(12);
    EXPECT_EQ(values->GetSelectItem(), 1);
    bench.owner.Clear();
    values->SetCurData(99);
    EXPECT_EQ(values->GetSelectItem(), 1) << "an unknown value keeps the selection";
    EXPECT_EQ(bench.owner.repaints.size(), 1u) << "and still repaints";
    values->GetCurValue(data, text);
    EXPECT_EQ(data, 12);
    EXPECT_EQ(text, CString(L"Paste"));
    EXPECT_EQ(values->SetItemText(1, L"Insert"), 1);
    EXPECT_EQ(values->SetItemText(2, L"None"), 0);
    EXPECT_EQ(values->GetItemText(1), CString(L"Insert"));
    values->SetSelectItem(5);
    EXPECT_EQ(values->GetSelectItem(), 5) << "stored without range test";
    EXPECT_EQ(values->GetCurData(), 0);
    values->ClearList();
    EXPECT_EQ(values->GetItemCount(), 0);
    EXPECT_EQ(values->GetSelectItem(), -1);
}

// The type grid scrolled: its cells move up, the window behind stays.
TEST(FuncLists, ScrolledTypeGridKeepsTheBackground)
{
    Bench bench;
    const CRect rect(0, 0, 300, 150);
    auto* types = bench.Add<KeyFuncType>(kId, rect, 1, 1);
    AddNumbered(*types, 12);
    types->SetAllItemHeight(320);
    types->SetRect(rect);
    EXPECT_TRUE(types->GetScrollVertical()->IsVisible());
    auto* bar = static_cast<MScroll*>(types->GetScrollVertical());

    DibCanvas before(300, 150, peripheraltest::kWindowArgb);
    Bench::DrawOn(*types, before);
    EXPECT_EQ(types->OnControlScroll(0, 1, CPoint(10, 10)), 1);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 100);
    // 100 of 320 over an overflow of 170 is 53 pixels.
    DibCanvas after(300, 150, peripheraltest::kWindowArgb);
    Bench::DrawOn(*types, after);
    EXPECT_EQ(types->GetScrollPixelOffset(), 53);
    EXPECT_EQ(types->GetItemRect(0).top, -53);
    // The gap column between cells 1 and 2 shows the window in both.
    EXPECT_EQ(before.Rgb(175, 75), peripheraltest::kWindowRgb);
    EXPECT_EQ(after.Rgb(175, 75), peripheraltest::kWindowRgb);
    // The wheel turns back, and a notch at the top changes nothing but is taken.
    EXPECT_EQ(types->OnControlScroll(0, 0, CPoint(10, 10)), 1);
    EXPECT_EQ(types->OnControlScroll(0, 0, CPoint(10, 10)), 1);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
}

// The value grid is a drag source from construction on; the drag picture is
// the hovered cell with 2 pixels around it, and the cell becomes the
// selection that the receiver reads.
TEST(FuncLists, ValueGridDragsTheHoveredCell)
{
    Bench bench;
    const CRect rect(30, 30, 330, 230);
    auto* values = bench.Add<KeyFuncValue>(kId, rect, 1, 1);
    AddNumbered(*values, 4);
    DibCanvas canvas(340, 240, peripheraltest::kWindowArgb);
    Bench::DrawOn(*values, canvas);
    EXPECT_EQ(values->IsDragDrop(), 1);
    EXPECT_EQ(values->GetControlDropBitmap(), nullptr) << "nothing hovered";
    values->OnControlMouseMove(0, Centre(values->GetItemRect(2), rect));
    HBITMAP picture = values->GetControlDropBitmap();
    ASSERT_NE(picture, nullptr);
    BITMAP info = {};
    ::GetObjectW(picture, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 84);
    EXPECT_EQ(info.bmHeight, 40);
    ::DeleteObject(picture);
    EXPECT_EQ(values->GetSelectItem(), 2);
    EXPECT_EQ(values->GetCurData(), 102);

    KeyMenuFuncType menu(nullptr, kId, rect, 1, 1);
    EXPECT_EQ(menu.IsDragDrop(), 0);
}

// The extended menu holds the list, shows its rows and posts the chosen
// function's data with the list's id, then closes.
TEST(FuncLists, ExtendedMenuShowsAndReportsAFunction)
{
    PopupTest::RecorderWindow owner;
    auto* menu = new MenuExWnd(nullptr);
    ASSERT_EQ(menu->Create(owner.Hwnd(), CRect(200, 150, 300, 450), kMenuMessage, L"img_menuex_bk.png"), 1);
    ASSERT_NE(menu->GetList(), nullptr);
    HWND hwnd = menu->GetSafeHwnd();
    menu->AddItem(L"Key", L"", 1, L"icon\\icon_functype_key.png");
    menu->AddItem(L"Media", L"", 2, L"icon\\icon_functype_media.png");
    menu->AddItem(L"Macro", L"", 3, L"icon\\icon_functype_macro.png");
    menu->AddItem(L"Functions", L"", 4, L"");
    menu->AddItem(L"Disable", L"", 5, L"icon\\icon_functype_disable.png");
    EXPECT_EQ(menu->GetList()->GetItemCount(), 5);
    EXPECT_EQ(menu->GetList()->GetRect(), CRect(0, 0, 100, 300));
    menu->ShowWindow(SW_SHOW);
    PopupTest::Pump();
    EXPECT_EQ(menu->GetList()->GetItemRect(1), CRect(0, 60, 100, 120)) << "painted";

    testsupport::Click(hwnd, 50, 90);
    PopupTest::Pump();
    EXPECT_FALSE(::IsWindow(hwnd));
    const auto posted = owner.MessagesOf(kMenuMessage);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 2u);
    EXPECT_EQ(posted[0].lParam, static_cast<LPARAM>(MenuExWnd::kListId));
}
