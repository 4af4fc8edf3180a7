// The grouped key-function picker: its table, the group and item layout, the
// header clicks and the content height, picking and reporting, the wheel
// and the scroll position, and its drag source.

#include <gtest/gtest.h>

#include "tests/keyboard/PeripheralTestSupport.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/keyboard/KeyFuncCtrl.h"

using namespace VREL;
using peripheraltest::Bench;
using testsupport::Report;

namespace {

constexpr UINT kId = 90;
// A control 703 wide draws 700 wide (the bar's 3 pixels off): 11 boxes a row.
constexpr int kWidth = 703;

class Picker
{
public:
    explicit Picker(int height, int left = 0, int top = 0)
        : canvas(left + kWidth, top + height, peripheraltest::kWindowArgb)
    {
        picker = bench.Add<KeyFuncCtrl>(kId, CRect(left, top, left + kWidth, top + height), 1);
        picker->InitItemInfo();
        picker->SetRect(picker->GetRect());
    }
    void Paint()
    {
        canvas.Fill(peripheraltest::kWindowArgb);
        Bench::DrawOn(*picker, canvas);
    }
    // The window point at the centre of an item.
    CPoint ItemPoint(int group, int item)
    {
        const CRect box = picker->GetKeyItemRect(group, item) + picker->GetRect().TopLeft();
        return CPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    }
    CPoint HeaderPoint(int group)
    {
        const CRect header = picker->GetGroupHeaderRect(group) + picker->GetRect().TopLeft();
        return CPoint(header.left + 100, header.top + 15);
    }
    void Click(CPoint pt)
    {
        picker->OnControlMouseMove(0, pt);
        picker->OnControlLButtonDown(MK_LBUTTON, pt);
        picker->OnControlLButtonUp(0, pt);
    }
    MScroll* Bar() { return static_cast<MScroll*>(picker->GetScrollVertical()); }

    Bench bench;
    DibCanvas canvas;
    KeyFuncCtrl* picker;
};

} // namespace

TEST(KeyFuncPicker, TableHoldsThreeGroupsOfFunctions)
{
    Picker p(600);
    ASSERT_EQ(p.picker->GetGroupCount(), 3);
    struct Group
    {
        int items;
        int open;
        int height;
        int firstCode;
        int lastCode;
    };
    const Group groups[] = {{47, 1, 300, 4, 56}, {57, 0, 250, 41, 88}, {19, 0, 100, 500, 175}};
    for (int g = 0; g < 3; ++g)
    {
        EXPECT_EQ(p.picker->GetGroupItemCount(g), groups[g].items) << g;
        EXPECT_EQ(p.picker->IsGroupOpen(g), groups[g].open) << g;
        EXPECT_EQ(p.picker->GetGroupHeight(g), groups[g].height) << g;
        EXPECT_EQ(p.picker->GetKeyItemCode(g, 0), groups[g].firstCode) << g;
        EXPECT_EQ(p.picker->GetKeyItemCode(g, groups[g].items - 1), groups[g].lastCode) << g;
    }
    // Initial boxes: 42 x 42 on a 50-pixel grid of twelve columns.
    EXPECT_EQ(p.picker->GetKeyItemRect(1, 13), CRect(55, 50, 97, 92));
    // The special functions carry icons, the Fn key its name.
    for (int i = 0; i < 18; ++i)
        EXPECT_TRUE(p.picker->KeyItemHasIcon(2, i)) << i;
    EXPECT_FALSE(p.picker->KeyItemHasIcon(2, 18));
    EXPECT_EQ(p.picker->GetKeyItemName(2, 1), CString(L"Calculator "));
}

// At a drawing width of 700 a row holds 11 boxes 60 apart; the first group
// paints 300 high. Opening the second counts its table height (250) until
// the next layout, although its paint makes it 360.
TEST(KeyFuncPicker, GroupsLayOutAndTheContentHeightLags)
{
    Picker p(900);
    p.Paint();
    EXPECT_EQ(p.picker->GetDrawWidth(), 700);
    EXPECT_EQ(p.picker->GetGroupHeaderRect(0), CRect(0, 0, 700, 40));
    EXPECT_EQ(p.picker->GetKeyItemRect(0, 0), CRect(10, 40, 60, 90));
    EXPECT_EQ(p.picker->GetKeyItemRect(0, 10), CRect(610, 40, 660, 90));
    EXPECT_EQ(p.picker->GetKeyItemRect(0, 11), CRect(10, 100, 60, 150));
    EXPECT_EQ(p.picker->GetGroupHeight(0), 300);
    EXPECT_EQ(p.picker->GetGroupHeaderRect(1), CRect(0, 340, 700, 380));

    p.Click(p.HeaderPoint(1));
    EXPECT_EQ(p.picker->IsGroupOpen(1), 1);
    EXPECT_EQ(p.picker->GetContentHeight(), 40 + 300 + 40 + 250 + 40);
    p.Paint();
    EXPECT_EQ(p.picker->GetGroupHeight(1), 360) << "57 boxes in six rows";
    EXPECT_EQ(p.picker->GetContentHeight(), 900) << "raised to the view by the paint only";
    p.picker->SetRect(p.picker->GetRect());
    EXPECT_EQ(p.picker->GetContentHeight(), 40 + 300 + 40 + 360 + 40);
}

TEST(KeyFuncPicker, HeaderClicksOpenAndCloseGroups)
{
    Picker p(900);
    p.Paint();
    const CPoint firstHeader = p.HeaderPoint(0);
    p.Click(firstHeader);
    EXPECT_EQ(p.picker->IsGroupOpen(0), 0) << "an open group closes";
    EXPECT_EQ(p.picker->GetContentHeight(), 120);
    EXPECT_FALSE(p.picker->GetScrollVertical()->IsVisible());
    p.Paint();
    p.Click(firstHeader);
    EXPECT_EQ(p.picker->IsGroupOpen(0), 1) << "the same place opens it again";

    // Below the last header: nothing opens, the height is only recomputed.
    p.Paint();
    p.bench.owner.Clear();
    p.Click(CPoint(300, 880));
    for (int g = 0; g < 3; ++g)
        EXPECT_EQ(p.picker->IsGroupOpen(g), g == 0 ? 1 : 0);
    EXPECT_EQ(p.bench.owner.CountCode(NC_CLICKED), 0);

    p.picker->ResetKeyState();
    for (int g = 0; g < 3; ++g)
        EXPECT_EQ(p.picker->IsGroupOpen(g), 0);
}

// A release over an item picks it and reports its code, also when it was
// picked already; the picked item keeps its mark through closing and
// opening its group; only the hovered item is marked besides it.
TEST(KeyFuncPicker, ReleasingOverAnItemReportsItsCode)
{
    Picker p(900);
    p.Paint();
    p.Click(p.HeaderPoint(1));
    p.Paint();
    for (int round = 0; round < 2; ++round)
    {
        p.bench.owner.Clear();
        p.Click(p.ItemPoint(0, 1));
        const std::vector<Report> expected = {{kId, NC_CLICKED, 0, 5}};
        EXPECT_EQ(p.bench.owner.reports, expected) << "round " << round;
        EXPECT_EQ(p.picker->GetPickedCode(), 5);
    }
    int code = -1;
    CString name(L"x");
    p.picker->GetCurValue(code, name);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(name, CString(L"B"));

    // Hover "A": its box alone takes the mark colour, not "Esc" (the first
    // item of the second group), besides the picked "B".
    p.picker->OnControlMouseMove(0, p.ItemPoint(0, 0));
    p.Paint();
    const uint32_t down = RgbOf(Manager::m_down_color);
    const uint32_t hover = RgbOf(Manager::m_hover_color);
    auto borderOf = [&](int group, int item) {
        const CRect box = p.picker->GetKeyItemRect(group, item);
        return p.canvas.Rgb(box.left + 25, box.top);
    };
    EXPECT_TRUE(NearColor(borderOf(0, 0), down, 60)) << std::hex << borderOf(0, 0);
    EXPECT_TRUE(NearColor(borderOf(0, 1), down, 60)) << "picked";
    EXPECT_TRUE(NearColor(borderOf(0, 2), hover, 60));
    EXPECT_TRUE(NearColor(borderOf(1, 0), hover, 60)) << "not the other group's item of the same index";

    // Away from every item: no value.
    p.picker->OnControlMouseMove(0, CPoint(690, 5));
    p.picker->GetCurValue(code, name);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(name.IsEmpty());
}

TEST(KeyFuncPicker, RenamingGroupsAndSpecialFunctions)
{
    Picker p(600);
    EXPECT_EQ(p.picker->SetItemText(2, L"Special"), 1);
    EXPECT_EQ(p.picker->GetGroupName(2), CString(L"Special"));
    EXPECT_EQ(p.picker->SetItemText(3, L"None"), 0);
    EXPECT_EQ(p.picker->SetItemText(-1, L"None"), 0);
    p.picker->SetItemDesc(510, L"Mute");
    EXPECT_EQ(p.picker->GetKeyItemName(2, 10), CString(L"Mute"));

    p.picker->ClearItems();
    EXPECT_EQ(p.picker->GetGroupCount(), 0);
    p.picker->SetItemDesc(510, L"Mute");  // no groups: nothing to rename
    int code = -1;
    CString name;
    p.picker->GetCurValue(code, name);
    EXPECT_EQ(code, 0);
}

TEST(KeyFuncPicker, ResetShowsTheBarOnlyWhenClosedGroupsOverflow)
{
    for (int height : {100, 200})
    {
        Picker p(height);
        p.picker->ResetKeyState();
        EXPECT_EQ(p.picker->GetContentHeight(), 120);
        EXPECT_EQ(p.picker->GetScrollVertical()->IsVisible(), height < 120 ? 1 : 0) << height;
        EXPECT_EQ(p.Bar()->GetScrollMaxRange(), 120);
    }
}

// Content as tall as the view, shorter or taller: laying out keeps the
// visible part without dividing by the overflow when there is none.
TEST(KeyFuncPicker, ScrollPositionWhenTheContentFitsOrNot)
{
    struct Case
    {
        const char* what;
        int height;
        bool bar;
    };
    // Group 1 open (300 high), two closed: 420 of content.
    const Case cases[] = {
        {"content exactly as tall as the view", 420, false},
        {"content shorter than the view", 600, false},
        {"content taller than the view", 300, true},
    };
    for (const Case& c : cases)
    {
        Picker p(c.height);
        p.Bar()->SetScrollCurrentPos(60);
        p.Paint();
        p.picker->SetRect(p.picker->GetRect());
        EXPECT_EQ(p.picker->GetContentHeight(), 420) << c.what;
        EXPECT_EQ(p.picker->GetScrollVertical()->IsVisible(), c.bar ? 1 : 0) << c.what;
        if (!c.bar)
        {
            EXPECT_EQ(p.Bar()->GetScrollCurrentPos(), 0) << c.what;
        }
        // A header click lays out again the same way.
        p.Click(p.HeaderPoint(2));
        p.Click(p.HeaderPoint(2));
        EXPECT_GE(p.Bar()->GetScrollCurrentPos(), 0) << c.what;
    }
}

// The wheel passes on while everything fits; otherwise a notch moves 10
// rows of 10 and the next paint draws the groups higher.
TEST(KeyFuncPicker, WheelScrollsOnlyOverflowingContent)
{
    Picker fits(900);
    EXPECT_EQ(fits.picker->OnControlScroll(0, 1, CPoint(10, 10)), 0);

    // Every group open and painted, then the view made 400 high.
    Picker p(900);
    p.Paint();
    p.Click(p.HeaderPoint(1));
    p.Paint();
    p.Click(p.HeaderPoint(2));
    p.Paint();
    p.picker->SetRect(CRect(0, 0, kWidth, 400));
    ASSERT_EQ(p.picker->GetContentHeight(), 40 + 300 + 40 + 360 + 40 + 120);
    EXPECT_EQ(p.Bar()->GetScrollCurrentPos(), 0);
    EXPECT_EQ(p.picker->OnControlScroll(0, 1, CPoint(10, 10)), 1);
    EXPECT_EQ(p.Bar()->GetScrollCurrentPos(), 100);
    p.Paint();
    EXPECT_EQ(p.picker->GetGroupHeaderRect(0).top, -100 * (900 - 400) / 900);
    EXPECT_EQ(p.picker->OnControlScroll(0, 0, CPoint(10, 10)), 1);
    EXPECT_EQ(p.Bar()->GetScrollCurrentPos(), 0);
}

// With the drag flag on, the hovered item's box (1 pixel more to the left
// and top, 2 to the right and bottom) is the drag picture.
TEST(KeyFuncPicker, DragsThePictureOfTheHoveredItem)
{
    Picker p(600, 20, 30);
    p.Paint();
    EXPECT_EQ(p.picker->IsDragDrop(), 0);
    p.picker->SetDragDrop(1);
    EXPECT_EQ(p.picker->IsDragDrop(), 1);
    EXPECT_EQ(p.picker->GetControlDropBitmap(), nullptr) << "nothing hovered";
    p.picker->OnControlMouseMove(0, p.ItemPoint(0, 3));
    HBITMAP picture = p.picker->GetControlDropBitmap();
    ASSERT_NE(picture, nullptr);
    BITMAP info = {};
    ::GetObjectW(picture, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 53);
    EXPECT_EQ(info.bmHeight, 53);
    ::DeleteObject(picture);
    int code = 0;
    CString name;
    p.picker->GetCurValue(code, name);
    EXPECT_EQ(code, 7) << "the receiver learns the dragged function";
    p.picker->SetEnabled(0);
    EXPECT_EQ(p.picker->GetControlDropBitmap(), nullptr) << "disabled";
}

TEST(KeyFuncPicker, ArrowStripFrameCount)
{
    struct Case
    {
        const char* what;
        const wchar_t* file;
        int frames;
        int result;
        CSize frame;
    };
    const Case cases[] = {
        {"four frames", L"img_keyfunc_arrow.png", 4, 1, CSize(16, 16)},
        {"no frame count is one frame", L"img_keyfunc_arrow.png", 0, 1, CSize(64, 16)},
        {"a missing file leaves no strip", L"none.png", 4, 0, CSize(0, 0)},
    };
    for (const Case& c : cases)
    {
        Picker p(300);
        EXPECT_EQ(p.picker->SetImage(c.file, c.frames), c.result) << c.what;
        EXPECT_EQ(p.picker->GetImageSize(), c.frame) << c.what;
    }
}
