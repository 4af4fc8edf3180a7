// The combo boxes: the item store and its selection, the drop-down's size,
// choosing a row in it, the guard against reopening on the closing click,
// the combo going while its drop-down or editor is open, the colour swatch's
// looks, and which windows get rounded corners.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/DibCanvas.h"
#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/NotifyCode.h"
#include "ui/framework/PopupWnd.h"
#include "ui/lists/CEditWnd2.h"
#include "ui/lists/ComboBox.h"
#include "ui/lists/ComboDropDown.h"
#include "ui/lists/MEdit.h"

using namespace testsupport;
using VREL::ComboItemList;
using VREL::MComboBox;
using VREL::MComboBox2;
using VREL::MComboBoxBase;

namespace {

constexpr UINT kComboId = 12;
const CRect kComboRect(20, 20, 220, 50);
constexpr int kInsideX = 100, kInsideY = 35;

// The clock the reopen guard reads, driven by the tests.
DWORD g_now = 1000;
DWORD DrivenClock() { return g_now; }

struct DrivenClockScope
{
    DrivenClockScope() : previous(MComboBoxBase::SetTickSource(&DrivenClock)) { g_now = 1000; }
    ~DrivenClockScope() { MComboBoxBase::SetTickSource(previous); }
    MComboBoxBase::TickSource previous;
};

template <class Combo>
struct ComboHost
{
    explicit ComboHost(int items = 3)
    {
        hwnd = host.Open(400, 300);
        combo = host.Add(new Combo(&host, kComboId, kComboRect, 1, 1));
        for (int i = 0; i < items; ++i)
        {
            CString text;
            text.Format(L"item %d", i);
            combo->AddItem(text, 100 + i);
        }
    }
    HWND DropWindow() const
    {
        VREL::CComboBoxWnd* drop = combo->GetDropDown();
        return drop ? drop->GetSafeHwnd() : nullptr;
    }
    bool DropOpen() const
    {
        const HWND window = DropWindow();
        return window && ::IsWindow(window);
    }
    void CloseDropDown()
    {
        if (DropOpen())
            ::PostMessageW(DropWindow(), WM_CLOSE, 0, 0);
        Pump();
    }
    HostDialog host;
    HWND hwnd = nullptr;
    Combo* combo = nullptr;
};

CRect WindowRectOf(HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    return rect;
}

bool HasRegion(HWND window)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(window, region);
    ::DeleteObject(region);
    return kind != ERROR;
}

} // namespace

TEST(ComboItems, SelectionStaysOnItsItemAcrossInsertAndDelete)
{
    // Items a, b, c with b selected; the selection must keep naming b, or
    // none once b is gone; the results stay count - 1, 1 and 0 as before.
    enum Op { OP_INSERT, OP_DELETE };
    struct Case
    {
        const char* name;
        Op op;
        int index;
        int result;
        int selection;
    };
    const Case cases[] = {
        {"insert before", OP_INSERT, 0, 3, 2},
        {"insert at", OP_INSERT, 1, 3, 2},
        {"insert after", OP_INSERT, 2, 3, 1},
        {"append", OP_INSERT, -1, 3, 1},
        {"insert past end", OP_INSERT, 3, -1, 1},
        {"insert below -1", OP_INSERT, -2, -1, 1},
        {"delete before", OP_DELETE, 0, 1, 0},
        {"delete the selected", OP_DELETE, 1, 1, -1},
        {"delete after", OP_DELETE, 2, 1, 1},
        {"delete -1", OP_DELETE, -1, 1, 1},
        {"delete past end", OP_DELETE, 3, 0, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ComboItemList items;
        for (const wchar_t* text : {L"a", L"b", L"c"})
            items.Add(text, 0, L"", 0xFF000000);
        items.SetSelection(1);
        bool lost = false;
        const int result = c.op == OP_INSERT ? items.Insert(c.index, L"new", 0, L"", 0xFF000000)
                                          : items.Delete(c.index, lost);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(items.Selection(), c.selection);
        if (c.selection >= 0)
        {
            EXPECT_EQ(items.Text(c.selection), L"b");
        }
    }
}

TEST(ComboBox, SelectionSettersRefuseBadIndexesAndDeletingTheChosenItemEmptiesTheTitle)
{
    ComboHost<MComboBox> h;
    EXPECT_EQ(h.combo->SetCurSel(5), 0);
    EXPECT_EQ(h.combo->GetCurSel(), -1);
    EXPECT_EQ(h.combo->SetCurSel(2), 1);
    EXPECT_EQ(h.combo->GetTitle(), L"item 2");
    EXPECT_EQ(h.combo->SelectData(999), 0);
    EXPECT_EQ(h.combo->GetCurSel(), 2);
    EXPECT_EQ(h.combo->InsertItem(0, L"first", 7), 3);
    EXPECT_EQ(h.combo->GetCurSel(), 3);
    EXPECT_EQ(h.combo->GetCurData(), 102);
    EXPECT_EQ(h.combo->DeleteItem(3), 1);
    EXPECT_EQ(h.combo->GetCurSel(), -1);
    EXPECT_EQ(h.combo->GetTitle(), L"");
    EXPECT_EQ(h.combo->GetCurData(), 0);
    // Text changes of the selected item reach the title.
    h.combo->SetCurSel(1);
    EXPECT_EQ(h.combo->SetItemText(1, L"renamed"), 1);
    EXPECT_EQ(h.combo->GetTitle(), L"renamed");
    EXPECT_EQ(h.combo->SetItemText(9, L"x"), 0);
}

TEST(ComboBox, DropDownHeightFollowsTheItemCount)
{
    struct Case
    {
        bool second;
        int items;
        int height;
        bool bar;
    };
    const Case cases[] = {
        {false, 3, 102, false}, {false, 8, 162, true}, {false, 0, 12, false}, {true, 3, 96, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (c.second ? "MComboBox2 " : "MComboBox ") << c.items);
        HostDialog host;
        const HWND hwnd = host.Open(400, 300);
        MComboBoxBase* combo = c.second ? static_cast<MComboBoxBase*>(host.Add(new MComboBox2(&host, kComboId, kComboRect, 1, 1)))
                                        : static_cast<MComboBoxBase*>(host.Add(new MComboBox(&host, kComboId, kComboRect, 1, 1)));
        for (int i = 0; i < c.items; ++i)
            combo->AddItem(L"row", i);
        Click(hwnd, kInsideX, kInsideY);
        VREL::CComboBoxWnd* drop = combo->GetDropDown();
        ASSERT_NE(drop, nullptr);
        ASSERT_TRUE(::IsWindow(drop->GetSafeHwnd()));
        const CRect placed = WindowRectOf(drop->GetSafeHwnd());
        EXPECT_EQ(placed.Height(), c.height);
        EXPECT_EQ(placed.Width(), kComboRect.Width());
        POINT below = {kComboRect.left, kComboRect.bottom + 2};
        ::ClientToScreen(hwnd, &below);
        EXPECT_EQ(placed.TopLeft(), CPoint(below));
        ASSERT_NE(drop->GetList(), nullptr);
        EXPECT_EQ(drop->GetList()->GetItemCount(), c.items);
        EXPECT_EQ(drop->GetList()->IsScrollBarShown(), c.bar);
        // The drop-down keeps its corners.
        EXPECT_FALSE(HasRegion(drop->GetSafeHwnd()));
        drop->DestroyWindow();
        Pump();
    }
}

TEST(ComboBox, ChoosingARowReportsItsIndexOnce)
{
    ComboHost<MComboBox> h;
    Click(h.hwnd, kInsideX, kInsideY);
    ASSERT_TRUE(h.DropOpen());
    const HWND drop = h.DropWindow();
    ::UpdateWindow(drop);
    Pump();
    // Rows are 30 high inside the drop-down's 2-pixel inset: row 1's middle.
    const int x = 40, y = 2 + 30 + 15;
    Move(drop, x, y);
    EXPECT_EQ(h.combo->GetDropDown()->GetList()->GetHoverIndex(), 1);
    h.host.reports.clear();
    Down(drop, x, y);
    Up(drop, x, y);
    EXPECT_EQ(h.host.reports, (std::vector<Report>{{kComboId, VREL::NC_CLICKED, 1, 0}}));
    EXPECT_EQ(h.combo->GetCurSel(), 1);
    EXPECT_EQ(h.combo->GetTitle(), L"item 1");
    Pump();
    EXPECT_FALSE(h.DropOpen());

    // An index the combo refuses is no choice.
    h.host.reports.clear();
    h.combo->OnMessage(0, VREL::NC_CLICKED, 7, VREL::kComboChoiceTag);
    EXPECT_TRUE(h.host.reports.empty());
    EXPECT_EQ(h.combo->GetCurSel(), 1);
}

TEST(ComboBox, TheClickThatClosedTheDropDownDoesNotReopenIt)
{
    DrivenClockScope clock;
    ComboHost<MComboBox> h;
    Click(h.hwnd, kInsideX, kInsideY);
    ASSERT_TRUE(h.DropOpen());
    h.CloseDropDown();  // closes at 1000
    ASSERT_FALSE(h.DropOpen());

    g_now = 1199;
    Click(h.hwnd, kInsideX, kInsideY);
    EXPECT_FALSE(h.DropOpen());

    g_now = 1400;
    Click(h.hwnd, kInsideX, kInsideY);
    EXPECT_TRUE(h.DropOpen());
    h.CloseDropDown();
}

TEST(ComboBox2, ReopensRightAfterTheClose)
{
    DrivenClockScope clock;
    ComboHost<MComboBox2> h;
    Click(h.hwnd, kInsideX, kInsideY);
    h.CloseDropDown();
    g_now = 1050;
    Click(h.hwnd, kInsideX, kInsideY);
    EXPECT_TRUE(h.DropOpen());
    h.CloseDropDown();
}

TEST(ComboBox, GoingWhileItsDropDownAndEditorAreOpenTakesThemAlong)
{
    ComboHost<MComboBox> h;
    h.combo->SetShowEdit(1);
    // A combo does not take double clicks from the window (the base turns them
    // into a second press), so the editor is opened the way an owner that passes
    // them on would.
    ASSERT_EQ(h.combo->OnControlLButtonDblClk(MK_LBUTTON, CPoint(kInsideX, kInsideY)), 1);
    const HWND editor = h.combo->GetEditHwnd();
    ASSERT_NE(editor, nullptr);
    Click(h.hwnd, kInsideX, kInsideY);
    ASSERT_TRUE(h.DropOpen());
    const HWND drop = h.DropWindow();

    h.host.Manager().RemoveControl(h.combo);
    EXPECT_FALSE(::IsWindow(drop));
    EXPECT_FALSE(::IsWindow(editor));
    // Nothing that is queued reaches the gone combo.
    Pump(50);
}

TEST(ColorCombo, DrawsItsSwatchFramedAndStruckOutWhenDisabled)
{
    RecordingOwner owner;
    VREL::CColorCombo swatch(&owner, 4, CRect(10, 10, 70, 40), 1, 1);
    swatch.SetAreaColor(0xFF2080C0);
    DibCanvas canvas(80, 50, 0xFF000000);
    swatch.Draw(canvas.Dc(), CRect(0, 0, 80, 50));
    EXPECT_TRUE(NearColor(canvas.Rgb(40, 25), 0x2080C0));
    EXPECT_TRUE(NearColor(canvas.Rgb(10, 10), 0x050505, 8));

    swatch.SetEnabled(0);
    swatch.SetUpdate(0, 0);
    swatch.Draw(canvas.Dc(), CRect(0, 0, 80, 50));
    EXPECT_TRUE(NearColor(canvas.Rgb(10, 10), 0x808080, 8));
    bool struck = false;
    for (int y = 10; y < 40; ++y)
        struck = struck || ((canvas.Rgb(40, y) >> 16) > 0xC0 && (canvas.Rgb(40, y) & 0xFFFF) < 0x4040);
    EXPECT_TRUE(struck);

    // A press and a release inside report 1 and 2.
    swatch.SetEnabled(1);
    swatch.OnLButtonDown(0, CPoint(30, 20));
    swatch.OnLButtonUp(0, CPoint(30, 20));
    ASSERT_EQ(owner.reports.size(), 2u);
    EXPECT_EQ(owner.reports[0].code, static_cast<UINT>(VREL::NC_PRESSED));
    EXPECT_EQ(owner.reports[1].code, static_cast<UINT>(VREL::NC_CLICKED));
}

TEST(WindowRegion, OnlyTopLevelPopupsGetRoundedCorners)
{
    HostDialog host;
    const HWND hwnd = host.Open(400, 300);
    EXPECT_TRUE(HasRegion(hwnd));
    // A wide field's native edit is a superclassed child: no region.
    auto* field = host.Add(new VREL::MEdit(&host, 3, CRect(10, 100, 380, 130), L"", 1, 1));
    Click(hwnd, 100, 115);
    ASSERT_NE(field->GetEditHwnd(), nullptr);
    EXPECT_FALSE(HasRegion(field->GetEditHwnd()));
}
