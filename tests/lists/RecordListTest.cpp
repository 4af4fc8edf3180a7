// The macro event list's groups: rows of one event share a timestamp, which
// UpdateTimeStamp and UpdateDelayTime give out, swaps and moves carry along
// and DeleteTimeStamp removes together; a pressed row highlights its group.

#include <gtest/gtest.h>

#include <vector>

#include "tests/framework/TestTheme.h"
#include "tests/lists/RowListTestSupport.h"
#include "ui/lists/RecordList.h"

using namespace rowlists;
using VREL::CRecordList;
using VREL::RecordItem;

namespace {

struct Row
{
    int type;
    int value;
    int timestamp;
};

// Key A (code 4) down, up, down again, a delay and a last up.
const std::vector<Row> kKeyRows = {{2, 4, 1}, {3, 4, 2}, {2, 4, 3}, {1, 10, 4}, {3, 4, 5}};

void Fill(CRecordList& list, const std::vector<Row>& rows)
{
    for (const Row& r : rows)
        list.AddString(L"row", r.type, r.value, r.timestamp);
}

std::vector<int> Stamps(CRecordList& list)
{
    std::vector<int> stamps;
    for (const RecordItem* item : list.GetRecordItems())
        stamps.push_back(item->timestamp);
    return stamps;
}

std::vector<int> Values(CRecordList& list)
{
    std::vector<int> values;
    for (const RecordItem* item : list.GetRecordItems())
        values.push_back(item->value);
    return values;
}

} // namespace

TEST(RecordGroups, UpdateTimeStampStampsTheRowsOfOneEvent)
{
    struct Case
    {
        const char* what;
        std::vector<Row> rows;
        int type, code, timestamp;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        // An up stamps the later ups of its code back to the newest down.
        {"key up", kKeyRows, 3, 4, 99, {1, 2, 99, 4, 99}},
        // A down stamps every down of its code, all the way up.
        {"key down", kKeyRows, 2, 4, 50, {50, 2, 50, 4, 5}},
        {"other code", kKeyRows, 3, 9, 70, {1, 2, 3, 4, 5}},
        {"mouse up", {{4, 1, 1}, {5, 1, 2}, {4, 2, 3}}, 5, 1, 7, {7, 7, 3}},
        // A key up never reaches back to a mouse down.
        {"kinds kept apart", {{4, 4, 1}, {3, 4, 2}}, 3, 4, 8, {1, 8}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Bench<CRecordList> b(300, 300, 1);
        Fill(*b.list, c.rows);
        b.list->UpdateTimeStamp(c.type, c.code, c.timestamp);
        EXPECT_EQ(Stamps(*b.list), c.expected);
    }
}

TEST(RecordGroups, SwapsAndMovesCarryTheirStampsAlong)
{
    Bench<CRecordList> b(300, 300, 1);
    Fill(*b.list, kKeyRows);
    b.list->SetCurSel(3);
    b.list->SwapItem(0, 4);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{5, 2, 3, 4, 1}));
    EXPECT_EQ(b.list->GetCurSel(), 3);
    b.list->SwapItem(2, 2);
    b.list->SwapItem(0, 5);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{5, 2, 3, 4, 1}));

    b.list->MoveTop(3);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{4, 5, 2, 3, 1}));
    EXPECT_EQ(b.list->GetCurSel(), 0);
    b.list->MoveTop(0);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{4, 5, 2, 3, 1}));
    b.list->MoveBottom(1);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{4, 2, 3, 1, 5}));
    EXPECT_EQ(b.list->GetCurSel(), 4);
    b.list->MoveBottom(7);
    EXPECT_EQ(b.list->GetCurSel(), 4);
}

TEST(RecordGroups, DeleteTimeStampRemovesTheWholeGroupAndClearsTheSelection)
{
    Bench<CRecordList> b(300, 300, 1);
    Fill(*b.list, {{2, 4, 7}, {1, 30, 8}, {3, 4, 7}, {2, 5, 9}});
    b.list->SetCurSel(3);
    b.list->DeleteTimeStamp(7);
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{8, 9}));
    EXPECT_EQ(b.list->GetCurSel(), -1);

    b.list->SetCurSel(1);
    b.list->DeleteTimeStamp(123);
    EXPECT_EQ(b.list->GetItemCount(), 2);
    EXPECT_EQ(b.list->GetCurSel(), -1);
}

TEST(RecordGroups, DelayTimeStampsOnlyTheLastRowAndCountsSkipDelays)
{
    Bench<CRecordList> b(300, 300, 1);
    EXPECT_FALSE(b.list->UpdateDelayTime(5));
    Fill(*b.list, {{1, 20, 0}, {2, 4, 1}, {1, 30, 0}, {3, 4, 2}, {1, 40, 0}});
    EXPECT_TRUE(b.list->UpdateDelayTime(77));
    EXPECT_EQ(Stamps(*b.list), (std::vector<int>{0, 1, 0, 2, 77}));
    EXPECT_EQ(Values(*b.list), (std::vector<int>{20, 4, 30, 4, 40}));
    EXPECT_EQ(b.list->GetEventCount(), 2);

    // Updating a group by timestamp and type leaves the other rows alone.
    b.list->SetRecordInfo(1, 2, L"down B", 5);
    CString text;
    int type = 0, value = 0, timestamp = 0;
    b.list->GetRecordInfo(1, text, type, value, timestamp);
    EXPECT_EQ(text, L"down B");
    EXPECT_EQ(value, 5);
    EXPECT_EQ(b.list->GetRecrodTimeStamp(3), 2);
    EXPECT_EQ(b.list->GetRecrodTimeStamp(9), 0);
}

TEST(RecordGroups, PressingARowHighlightsItsGroupAndHoverOnlyTheBackground)
{
    Bench<CRecordList> b(300, 200, 1);
    ASSERT_EQ(b.list->SetImage(L"icon\\icon_list.png", 8), 1);
    ASSERT_EQ(b.list->SetItemImage(L"img_list_bkg.png", 2), 1);
    b.list->SetRect(b.list->GetRect());
    Fill(*b.list, {{2, 4, 5}, {3, 4, 5}, {2, 6, 6}, {1, 10, 7}});
    b.Paint();
    b.Press(RowPoint(0));
    b.Release(RowPoint(0));
    b.MoveTo(RowPoint(2));
    b.Paint();

    auto background = [&](int k) { return b.canvas.Rgb(kLeft + 150, kTop + 36 * k + 18); };
    auto icon = [&](int k) { return b.canvas.Rgb(kLeft + 100, kTop + 36 * k + 18); };
    const uint32_t highlight = TestTheme::FrameFill(1);
    EXPECT_EQ(background(0), highlight);
    EXPECT_EQ(background(1), highlight);
    EXPECT_EQ(background(2), highlight);  // hovered
    EXPECT_EQ(background(3), 0x202020u);
    EXPECT_EQ(icon(0), TestTheme::FrameFill(3));  // key pair, selected
    EXPECT_EQ(icon(1), TestTheme::FrameFill(3));
    EXPECT_EQ(icon(2), TestTheme::FrameFill(2));  // hover does not count
    EXPECT_EQ(icon(3), TestTheme::FrameFill(6));  // delay

    // A new row ends the group highlight (until the next press, the rows of
    // timestamp 0 count as the group).
    EXPECT_EQ(b.list->InsertString(0, L"new", 1, 5, 0), 4);
    EXPECT_EQ(b.list->GetTimeStampSelect(), 0);
}

TEST(RecordGroups, IconFramesFollowTheType)
{
    struct Case
    {
        int type;
        int frame;
    };
    const Case cases[] = {{1, 6}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 4}, {7, 4},
                          {8, 0}, {12, 0}, {13, 2}, {0, 2}, {-1, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(CRecordList::IconFrameOf(c.type), c.frame) << c.type;
}
