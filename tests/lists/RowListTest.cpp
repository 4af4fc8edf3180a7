// The mechanics the row lists share and the reports of each list: where the
// rows and tiles are laid out, how the bar and the wheel scroll them, which
// codes each list sends for the user's presses, and the guards on indexes,
// frame counts and null texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/TestTheme.h"
#include "tests/lists/RowListTestSupport.h"
#include "ui/framework/MPanel.h"
#include "ui/framework/MScroll.h"
#include "ui/framework/PaintManager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

using namespace rowlists;
using testsupport::Report;
using VREL::CRecordList;
using VREL::MacroList;
using VREL::MListBox;
using VREL::MListBoxEx;
using VREL::MScroll;
using VREL::ProfileList;

namespace {

constexpr UINT kId = 7;

void FillMacros(MacroList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.AddString(CString(std::to_wstring(i).c_str()), static_cast<long>(100 + i), 0);
}

void FillProfiles(ProfileList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.AddItem(CString(std::to_wstring(i).c_str()), 100 + i, L"");
}

MScroll* Bar(VREL::MControl& list) { return static_cast<MScroll*>(list.GetControl(1)); }

} // namespace

// ---- geometry ---------------------------------------------------------------------------

TEST(RowGeometry, ScrollPositionPicksTheVisibleRowsAndTheOffsetIntoTheFirst)
{
    // 20 rows of 36 in a 180-pixel view: 720 of content, 540 of it scrollable
    // over a bar range of 720.
    struct Case
    {
        int position;
        int first, last, within;
    };
    const Case cases[] = {
        {0, 0, 5, 0},
        {100, 2, 7, 3},    // offset 75
        {360, 7, 12, 18},  // offset 270
        {720, 15, 19, 0},  // offset 540: the last row ends at the bottom
    };
    for (const Case& c : cases)
    {
        Bench<MacroList> b(200, 180, 1);
        FillMacros(*b.list, 20);
        ASSERT_TRUE(Bar(*b.list)->IsVisible());
        ASSERT_EQ(Bar(*b.list)->GetScrollMaxRange(), 720);
        Bar(*b.list)->SetScrollCurrentPos(c.position);
        b.Paint();
        SCOPED_TRACE(c.position);
        EXPECT_EQ(b.list->GetFirstVisibleRow(), c.first);
        EXPECT_EQ(b.list->GetLastVisibleRow(), c.last);
        EXPECT_EQ(b.list->GetOffsetInFirstRow(), c.within);
        // Rows are laid out from the top of the first visible one.
        EXPECT_EQ(b.list->GetRowClientRect(c.first).top, kTop - c.within);
        EXPECT_EQ(b.list->GetRowClientRect(c.first + 1).top, kTop - c.within + 36);
    }
}

TEST(RowGeometry, EachListLaysItsRowsOutInItsOwnBand)
{
    // Width 200, scroll-bar width 3, no bar shown: macro lists and the event
    // list use the whole width, the profile list always keeps room for the
    // bar twice and leaves 3 pixels under each row.
    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 3);
    Bench<MListBox> twin(200, 300, 1);
    FillMacros(*twin.list, 3);
    Bench<CRecordList> events(200, 300, 1);
    for (int i = 0; i < 3; ++i)
        events.list->AddString(L"e", 2, 4, i);
    Bench<ProfileList> profiles(200, 300, 1, 1);
    FillProfiles(*profiles.list, 3);
    macro.Paint();
    twin.Paint();
    events.Paint();
    profiles.Paint();

    for (int k = 0; k < 3; ++k)
    {
        SCOPED_TRACE(k);
        EXPECT_EQ(macro.list->GetRowClientRect(k), CRect(kLeft, kTop + 36 * k, kLeft + 200, kTop + 36 * (k + 1)));
        EXPECT_EQ(twin.list->GetRowClientRect(k), CRect(kLeft, kTop + 32 * k, kLeft + 200, kTop + 32 * (k + 1)));
        EXPECT_EQ(events.list->GetRowClientRect(k), CRect(kLeft, kTop + 36 * k, kLeft + 200, kTop + 36 * (k + 1)));
        EXPECT_EQ(profiles.list->GetRowClientRect(k),
                  CRect(kLeft, kTop + 36 * k, kLeft + 194, kTop + 36 * k + 33));
    }
}

TEST(RowGeometry, ScaleStretchesTheDrawnRowsOfTheMacroLists)
{
    Bench<MacroList> macro(200, 300, 1);
    macro.list->SetScaleValue(1.5f);
    FillMacros(*macro.list, 2);
    Bench<CRecordList> events(200, 300, 1);
    events.list->SetScaleValue(1.5f);
    events.list->AddString(L"a", 2, 4, 1);
    events.list->AddString(L"b", 3, 4, 1);
    macro.Paint();
    events.Paint();
    // The macro list keeps the pitch for the top, the event list draws at 54.
    EXPECT_EQ(macro.list->GetRowClientRect(1), CRect(kLeft, kTop + 36, kLeft + 200, kTop + 108));
    EXPECT_EQ(events.list->GetRowClientRect(1), CRect(kLeft, kTop + 54, kLeft + 200, kTop + 108));
}

TEST(TileGeometry, TilesWrapWhenTheNextWouldNotFit)
{
    // Tiles of 120 x 30 with gaps 10 and 5: a new line starts once
    // width - 120 <= x.
    struct Case
    {
        int width;
        std::vector<CPoint> origins;  // of the first four tiles
    };
    const Case cases[] = {
        {290, {{0, 0}, {130, 0}, {0, 35}, {130, 35}}},
        {250, {{0, 0}, {0, 35}, {0, 70}, {0, 105}}},  // 250 - 120 <= 130
        {400, {{0, 0}, {130, 0}, {260, 0}, {0, 35}}},
    };
    for (const Case& c : cases)
    {
        Bench<MListBoxEx> b(c.width, 200, 1, 1);
        b.list->SetAllItemHeight(200);
        for (int i = 0; i < 4; ++i)
            b.list->AddItem(L"mode", i, L"");
        b.Paint();
        SCOPED_TRACE(c.width);
        for (int i = 0; i < 4; ++i)
        {
            const CPoint o = c.origins[static_cast<size_t>(i)];
            EXPECT_EQ(b.list->GetRowClientRect(i),
                      CRect(kLeft + o.x, kTop + o.y, kLeft + o.x + 120, kTop + o.y + 30));
        }
    }
}

TEST(TileGeometry, TilesBelowTheContentHeightAreLaidOutAndClickableButNotDrawn)
{
    Bench<MListBoxEx> b(290, 200, 1, 1);
    b.list->SetImage(L"btn_apply.png", 4);  // not bound: no strip, text only
    b.list->SetAllItemHeight(40);
    for (int i = 0; i < 4; ++i)
        b.list->AddItem(L"", i, L"");
    b.Paint();
    const CRect below = b.list->GetRowClientRect(2);
    EXPECT_EQ(below.top, kTop + 35);
    // Nothing of the list reaches below line 40: the canvas shows through.
    EXPECT_EQ(b.canvas.Rgb(kLeft + 5, kTop + 45), 0x202020u);

    b.Click(below.CenterPoint());
    EXPECT_EQ(b.owner.reports, (std::vector<Report>{{kId, VREL::NC_CLICKED, 0, 2}}));
}

// ---- scrolling --------------------------------------------------------------------------

TEST(RowScrolling, OneWheelNotchMovesTheBarAHundredAndStopsAtTheEnds)
{
    Bench<MacroList> b(200, 180, 1);
    FillMacros(*b.list, 20);  // range 720
    MScroll* bar = Bar(*b.list);
    const CPoint inside = RowPoint(1);

    EXPECT_EQ(b.list->OnControlScroll(120, 1, inside), 1);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 100);
    EXPECT_EQ(b.list->OnControlScroll(120, 1, inside), 1);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 200);
    EXPECT_EQ(b.list->OnControlScroll(120, 0, inside), 1);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 100);
    for (int i = 0; i < 12; ++i)
        b.list->OnControlScroll(120, 1, inside);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 720);
    for (int i = 0; i < 12; ++i)
        b.list->OnControlScroll(120, 0, inside);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
}

TEST(RowScrolling, ContentThatFitsShowsNoBarPassesTheWheelOnAndNeverScrolls)
{
    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 3);
    Bench<CRecordList> events(200, 300, 1);
    events.list->AddString(L"a", 1, 10, 1);
    Bench<ProfileList> profiles(200, 300, 1, 1);
    FillProfiles(*profiles.list, 3);
    Bench<MListBoxEx> tiles(290, 300, 1, 1);
    tiles.list->SetAllItemHeight(120);
    tiles.list->SetRect(tiles.list->GetRect());
    tiles.list->AddItem(L"a", 1, L"");

    std::vector<VREL::RowList*> lists = {macro.list.get(), events.list.get(), profiles.list.get(),
                                         tiles.list.get()};
    for (VREL::RowList* list : lists)
    {
        EXPECT_FALSE(Bar(*list)->IsVisible());
        // The wheel is not taken, so that the window may offer it elsewhere;
        // the tile list alone keeps it, and still scrolls nothing.
        const int before = Bar(*list)->GetScrollCurrentPos();
        EXPECT_EQ(list->OnControlScroll(120, 1, RowPoint(0)), list == tiles.list.get() ? 1 : 0);
        EXPECT_EQ(Bar(*list)->GetScrollCurrentPos(), before);
        // A bar moved by hand still scrolls nothing: no negative offset.
        Bar(*list)->SetScrollCurrentPos(50);
        Bar(*list)->SetScrollMaxRange(100);
    }
    macro.Paint();
    events.Paint();
    profiles.Paint();
    tiles.Paint();
    for (VREL::RowList* list : lists)
        EXPECT_EQ(list->GetContentOffset(), 0);
    EXPECT_EQ(macro.list->GetRowClientRect(0).top, kTop);
    EXPECT_EQ(tiles.list->GetRowClientRect(0).top, kTop);
}

TEST(RowScrolling, ProfileListScrollsToItsEndOnAddAndToItsTopOnRequest)
{
    Bench<ProfileList> b(200, 100, 1, 1);
    FillProfiles(*b.list, 10);
    MScroll* bar = Bar(*b.list);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_GT(bar->GetScrollCurrentPos(), 0);
    b.Paint();
    EXPECT_EQ(b.list->GetLastVisibleRow(), 9);

    b.list->SetScrollPos(5);
    EXPECT_EQ(bar->GetScrollCurrentPos(), 0);
    b.Paint();
    EXPECT_EQ(b.list->GetFirstVisibleRow(), 0);
}

TEST(RowScrolling, BarReportsGoOnToTheOwnerUnchanged)
{
    Bench<CRecordList> b(200, 100, 1);
    b.list->OnBaseMessage(1, VREL::NC_SCROLL, 40, 0);
    b.list->OnBaseMessage(2, VREL::NC_CLICKED, 0, 0);
    EXPECT_EQ(b.owner.reports,
              (std::vector<Report>{{1, VREL::NC_SCROLL, 40, 0}, {2, VREL::NC_CLICKED, 0, 0}}));
}

// ---- reports ----------------------------------------------------------------------------

TEST(RowReports, MacroListReportsTheIconTheRowAndTheRightClick)
{
    Bench<MacroList> b(200, 300, 1);
    ASSERT_EQ(b.list->SetEditImage(L"btn_more.png", 2), 1);
    b.list->SetRect(b.list->GetRect());
    FillMacros(*b.list, 3);
    b.Paint();
    // The icon strip is cut into 4 frames whatever the count given.
    const CRect icon = b.list->GetIconRect();
    ASSERT_EQ(icon.Width(), 20);
    const CPoint onIcon(kLeft + icon.CenterPoint().x, kTop + 36 + icon.CenterPoint().y);

    b.Click(RowPoint(0));
    b.Click(onIcon);
    b.Click(CPoint(kLeft + 40, kTop + 200));  // below the rows: nothing
    EXPECT_EQ(b.owner.reports,
              (std::vector<Report>{{kId, VREL::NC_CLICKED, 0, 0}, {kId, VREL::NC_ICON_OR_TAB, 0, 0}}));
    EXPECT_EQ(b.list->GetCurSel(), 1);

    b.owner.Clear();
    b.RightClick(RowPoint(2));
    b.RightClick(CPoint(kLeft + 40, kTop + 200));
    EXPECT_EQ(b.owner.reports, (std::vector<Report>{{kId, VREL::NC_RCLICK, 2, 0},
                                                    {kId, VREL::NC_RCLICK, static_cast<WPARAM>(-1), 0}}));
    EXPECT_EQ(b.list->GetCurSel(), -1);
}

TEST(RowReports, TwinReportsPressReleaseAndDoubleClickWithTheRow)
{
    Bench<MListBox> b(200, 300, 1);
    FillMacros(*b.list, 3);
    b.Paint();
    b.DoubleClick(RowPoint(1, 32));
    EXPECT_EQ(b.owner.reports, (std::vector<Report>{{kId, VREL::NC_PRESSED, 1, 0},
                                                    {kId, VREL::NC_CLICKED, 1, 0},
                                                    {kId, VREL::NC_DBLCLK, 1, 0}}));
    // Releases are reported even by a disabled twin.
    b.owner.Clear();
    b.list->SetEnabled(0);
    b.list->OnLButtonUp(0, RowPoint(2, 32));
    EXPECT_EQ(b.owner.CountCode(VREL::NC_CLICKED), 1);
}

TEST(RowReports, EventListReportsPressesWithTheNewSelection)
{
    Bench<CRecordList> b(300, 300, 1);
    b.list->AddString(L"a", 2, 4, 11);
    b.list->AddString(L"b", 3, 4, 11);
    b.Paint();
    b.Click(RowPoint(1));
    b.Press(CPoint(kLeft + 40, kTop + 200));
    b.RightClick(RowPoint(0));
    b.RightClick(CPoint(kLeft + 40, kTop + 200));
    EXPECT_EQ(b.owner.reports, (std::vector<Report>{{kId, VREL::NC_PRESSED, 1, 0},
                                                    {kId, VREL::NC_CLICKED, 0, 0},
                                                    {kId, VREL::NC_PRESSED, static_cast<WPARAM>(-1), 0},
                                                    {kId, VREL::NC_RCLICK, 0, 0}}));
    EXPECT_EQ(b.list->GetCurSel(), -1);
    // The press on row 1 selected its group; pressing empty space kept it.
    EXPECT_EQ(b.list->GetTimeStampSelect(), 11);
}

TEST(RowReports, EventListMoreButtonOfTheSelectedRowReportsNine)
{
    Bench<CRecordList> b(300, 300, 1);
    ASSERT_EQ(b.list->SetMoreImage(L"btn_more.png", 4), 1);
    b.list->SetRect(b.list->GetRect());
    b.list->AddString(L"a", 2, 4, 1);
    b.list->AddString(L"b", 3, 4, 2);
    b.list->SetCurSel(1);
    b.Paint();
    const CRect more = b.list->GetMoreRect();
    const CPoint onMore(kLeft + more.CenterPoint().x, kTop + 36 + more.CenterPoint().y);
    b.Click(onMore);
    EXPECT_EQ(WithCode(b.owner.reports, VREL::NC_ICON_OR_TAB), (std::vector<Report>{{kId, 9, 1, 0}}));
    EXPECT_EQ(b.owner.CountCode(VREL::NC_CLICKED), 0);
    EXPECT_EQ(b.list->GetCurSel(), 1);
}

TEST(RowReports, ProfileListReportsEveryClickTwice)
{
    Bench<ProfileList> b(200, 300, 1, 1);
    FillProfiles(*b.list, 3);
    b.Paint();
    b.Click(RowPoint(2));
    EXPECT_EQ(b.owner.reports,
              (std::vector<Report>{{kId, VREL::NC_CLICKED, 0, 2}, {kId, VREL::NC_CLICKED, 0, 2}}));
    EXPECT_EQ(b.list->GetSelectItem(), 2);
    EXPECT_EQ(b.list->GetCurData(), 102);
}

TEST(RowReports, TileListReportsTheTileThePressSelected)
{
    Bench<MListBoxEx> b(290, 200, 1, 1);
    b.list->SetAllItemHeight(200);
    for (int i = 0; i < 3; ++i)
        b.list->AddItem(L"m", 40 + i, L"");
    b.Paint();
    const CPoint first = b.list->GetRowClientRect(0).CenterPoint();
    const CPoint second = b.list->GetRowClientRect(1).CenterPoint();
    b.Press(first);
    b.MoveTo(second);
    b.Release(second);
    b.Click(CPoint(kLeft + 5, kTop + 150));  // no tile: nothing
    EXPECT_EQ(b.owner.reports, (std::vector<Report>{{kId, VREL::NC_CLICKED, 0, 0}}));
    EXPECT_EQ(b.list->GetCurData(), 40);
}

TEST(RowReports, DisabledListsIgnoreTheMouse)
{
    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 2);
    Bench<CRecordList> events(200, 300, 1);
    events.list->AddString(L"a", 2, 4, 1);
    Bench<ProfileList> profiles(200, 300, 1, 1);
    FillProfiles(*profiles.list, 2);
    macro.Paint();
    events.Paint();
    profiles.Paint();
    macro.list->SetEnabled(0);
    events.list->SetEnabled(0);
    profiles.list->SetEnabled(0);
    macro.Click(RowPoint(0));
    events.Click(RowPoint(0));
    profiles.Click(RowPoint(0));
    EXPECT_TRUE(macro.owner.reports.empty());
    EXPECT_TRUE(events.owner.reports.empty());
    EXPECT_TRUE(profiles.owner.reports.empty());
    EXPECT_EQ(macro.list->GetHoverRow(), -1);
}

TEST(RowHover, MovesChangeNothingBetweenARemovalAndTheNextPaint)
{
    Bench<MacroList> b(200, 300, 1);
    FillMacros(*b.list, 3);
    b.Paint();
    b.MoveTo(RowPoint(1));
    EXPECT_EQ(b.list->GetHoverRow(), 1);
    b.list->DeleteItem(0);
    b.MoveTo(RowPoint(0));
    EXPECT_EQ(b.list->GetHoverRow(), -1);
    EXPECT_EQ(b.list->GetFirstVisibleRow(), -1);
    b.Paint();
    b.MoveTo(RowPoint(0));
    EXPECT_EQ(b.list->GetHoverRow(), 0);
}

// ---- guards -----------------------------------------------------------------------------

TEST(RowGuards, InsertOutsideTheRowsAddsNothing)
{
    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 3);
    EXPECT_EQ(macro.list->InsertString(5, L"x", 0, 0), -1);
    EXPECT_EQ(macro.list->InsertString(-2, L"x", 0, 0), -1);
    EXPECT_EQ(macro.list->GetItemCount(), 3);
    EXPECT_EQ(macro.list->InsertString(1, L"x", 0, 9), 3);
    EXPECT_EQ(macro.list->GetItemText(1), L"x");

    Bench<CRecordList> events(200, 300, 1);
    for (int i = 0; i < 3; ++i)
        events.list->AddString(L"e", 2, 4, i + 1);
    EXPECT_EQ(events.list->InsertString(5, L"x", 1, 10, 9), -1);
    EXPECT_EQ(events.list->InsertString(-3, L"x", 1, 10, 9), -1);
    EXPECT_EQ(events.list->GetItemCount(), 3);
    EXPECT_EQ(events.list->InsertString(3, L"end", 1, 10, 9), 3);
    EXPECT_EQ(events.list->InsertString(0, L"front", 1, 10, 9), 4);
    CString text;
    int type = 0, value = 0, timestamp = 0;
    events.list->GetRecordInfo(4, text, type, value, timestamp);
    EXPECT_EQ(text, L"end");
    events.list->GetRecordInfo(0, text, type, value, timestamp);
    EXPECT_EQ(text, L"front");
}

TEST(RowGuards, SelectionOutsideTheRowsReadsAsNone)
{
    Bench<ProfileList> profiles(200, 300, 1, 1);
    FillProfiles(*profiles.list, 2);
    profiles.list->SetSelectItem(7);
    EXPECT_EQ(profiles.list->GetSelectItem(), -1);
    EXPECT_EQ(profiles.list->GetCurData(), 0);
    int data = -5;
    CString text = L"kept";
    profiles.list->GetCurValue(data, text);
    EXPECT_EQ(data, -5);
    EXPECT_EQ(text, L"kept");

    Bench<MListBoxEx> tiles(290, 200, 1, 1);
    tiles.list->AddItem(L"a", 3, L"");
    tiles.list->SetSelectItem(1);
    EXPECT_EQ(tiles.list->GetSelectItem(), -1);
    EXPECT_EQ(tiles.list->GetCurData(), 0);
    tiles.list->SetCurData(3);
    EXPECT_EQ(tiles.list->GetSelectItem(), 0);

    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 2);
    EXPECT_EQ(macro.list->SetCurSel(2), 0);
    EXPECT_EQ(macro.list->SetCurSel(1), 1);
    macro.list->DeleteItem(1);
    EXPECT_EQ(macro.list->GetCurSel(), -1);
    EXPECT_EQ(macro.list->GetCurData(), 0);
}

TEST(RowGuards, FrameCountsBelowOneAreOneAndNullTextsAreEmpty)
{
    Bench<CRecordList> events(200, 300, 1);
    EXPECT_EQ(events.list->SetItemImage(L"img_list_bkg.png", 0), 1);
    EXPECT_EQ(events.list->SetImage(L"icon\\icon_list.png", -3), 1);
    events.list->SetRect(events.list->GetRect());
    // One frame as wide as the whole strip.
    EXPECT_EQ(events.list->GetIconRect().Width(), 8 * 20);
    EXPECT_EQ(events.list->SetImage(L"no_such_strip.png", 8), 0);

    Bench<MacroList> macro(200, 300, 1);
    EXPECT_EQ(macro.list->SetImage(L"img_list_bkg.png", 0), 1);
    EXPECT_EQ(macro.list->AddString(nullptr, 0), 0);
    EXPECT_EQ(macro.list->AddString(L"named", 0), 1);
    EXPECT_EQ(macro.list->GetItemText(0), L"");
    EXPECT_EQ(macro.list->FindString(nullptr), 0);
    EXPECT_EQ(macro.list->ModifyItemString(1, nullptr), 1);
    EXPECT_EQ(macro.list->GetItemText(1), L"");
    EXPECT_EQ(macro.list->ModifyItemString(2, L"x"), 0);
    macro.Paint();  // empty texts draw nothing and crash nothing
}

TEST(RowGuards, IndexedReadsOutsideTheRowsAnswerEmptyValues)
{
    Bench<MacroList> macro(200, 300, 1);
    FillMacros(*macro.list, 2);
    EXPECT_EQ(macro.list->GetItemData(2), 0);
    EXPECT_EQ(macro.list->SetItemData(-1, 5), 0);
    EXPECT_EQ(macro.list->GetItemText(9), L"");
    EXPECT_EQ(macro.list->GetItemRect(0), CRect());
    EXPECT_EQ(macro.list->DeleteItem(2), 0);
    EXPECT_EQ(macro.list->SetCurData(999), -1);
    EXPECT_EQ(macro.list->SetCurData(101), 1);
    EXPECT_EQ(macro.list->GetCurData(), 101);
    EXPECT_EQ(macro.list->FindString(L"1"), 1);

    Bench<ProfileList> profiles(200, 300, 1, 1);
    FillProfiles(*profiles.list, 1);
    EXPECT_EQ(profiles.list->GetItemData(1), 0);
    EXPECT_EQ(profiles.list->SetItemText(1, L"x"), 0);
    profiles.list->DeleteItem(3);
    EXPECT_EQ(profiles.list->GetItemCount(), 1);
}

// ---- factories --------------------------------------------------------------------------

TEST(RowListFactories, EachListIsBuiltByTheFactoriesThatKnowItsName)
{
    testsupport::HostDialog dialog;
    dialog.Open();
    VREL::PaintManager& manager = dialog.Manager();
    testsupport::RecordingOwner owner;
    VREL::MPanel panel(&owner, 9, CRect(0, 0, 300, 300), 1);
    panel.SetManager(&manager);

    struct Case
    {
        const wchar_t* name;
        bool window;  // the window's factory knows it too
        bool (*is)(VREL::MControl*);
    };
    const Case cases[] = {
        {L"MacroList", false, [](VREL::MControl* c) { return dynamic_cast<MacroList*>(c) != nullptr; }},
        {L"MListBox", true, [](VREL::MControl* c) { return dynamic_cast<MListBox*>(c) != nullptr; }},
        {L"CRecordList", false, [](VREL::MControl* c) { return dynamic_cast<CRecordList*>(c) != nullptr; }},
        {L"ProfileList", true, [](VREL::MControl* c) { return dynamic_cast<ProfileList*>(c) != nullptr; }},
        {L"MListBoxEx", false, [](VREL::MControl* c) { return dynamic_cast<MListBoxEx*>(c) != nullptr; }},
    };
    UINT id = 20;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CString(c.name).GetStdString().size());
        VREL::MControl* onPanel = panel.CreateControl(c.name, id++, CRect(0, 0, 200, 100), nullptr, 1, 0);
        ASSERT_NE(onPanel, nullptr);
        EXPECT_TRUE(c.is(onPanel));
        EXPECT_EQ(onPanel->GetManager(), &manager);
        VREL::MControl* onWindow = manager.CreateControl(&dialog, c.name, id++, CRect(0, 0, 200, 100), nullptr, 1, 1);
        EXPECT_EQ(onWindow != nullptr, c.window);
        if (onWindow)
        {
            EXPECT_TRUE(c.is(onWindow));
        }
    }
}
