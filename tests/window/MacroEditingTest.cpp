// The macro page's rules: clamps of typed numbers, the delays between
// recorded events and the limits that end recording, the rows the insert
// menu adds, and what deleting a macro does to the keys bound to it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device/KeyCodes.h"
#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/window/MacroEditing.h"
#include "tests/store/StoreTestSupport.h"

using namespace tarnwell;

namespace {

TEST(MacroClamps, TypedNumbersAreClampedIntoTheirRange)
{
    struct Case
    {
        const wchar_t* text;
        int minimum;
        int maximum;
        int expected;
    } cases[] = {
        {L"", 1, 10000, 1},          {L"0", 1, 10000, 1},        {L"-5", 1, 10000, 1},
        {L"abc", 1, 10000, 1},       {L"7", 1, 10000, 7},        {L"10000", 1, 10000, 10000},
        {L"20000", 1, 10000, 10000}, {L"99999999999999999999", 1, 10000, 10000},
        {L"12x", 1, 255, 12},        {L"300", 1, 255, 255},      {L"255", 1, 255, 255},
        {nullptr, 1, 255, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.text ? c.text : L"(null)"));
        EXPECT_EQ(ClampTypedNumber(c.text, c.minimum, c.maximum), c.expected);
    }
}

TEST(MacroRows, TextsAndMouseButtons)
{
    EXPECT_EQ(DownRowText(L"A"), L"\x2193  A");
    EXPECT_EQ(UpRowText(L"RShift"), L"\x2191  RShift");
    EXPECT_EQ(DelayRowText(50), L"50 ms");
    EXPECT_EQ(RowName(DownRowText(L"Num Enter")), L"Num Enter");
    EXPECT_EQ(RowName(L"ab"), L"");

    struct Button
    {
        int item;
        const wchar_t* name;
        int value;
    } buttons[] = {{1, L"LB", 1}, {3, L"RB", 2}, {2, L"MB", 4}, {7, L"Forward", 16}, {8, L"Backward", 8}};
    for (const Button& b : buttons) {
        const MouseButton* button = MouseButtonOfItem(b.item);
        ASSERT_NE(button, nullptr);
        EXPECT_STREQ(button->name, b.name);
        EXPECT_EQ(button->value, b.value);
        EXPECT_EQ(MouseButtonOfValue(b.value), button);
    }
    EXPECT_EQ(MouseButtonOfItem(4), nullptr);
}

TEST(RecordingClock, DelaysOfEachMode)
{
    RecordingClock recorded;
    recorded.Start(DELAY_RECORDED, 0);
    EXPECT_EQ(recorded.DelayBefore(5000), 0);  // the first event has no delay before it
    EXPECT_EQ(recorded.DelayBefore(5120), 120);
    EXPECT_EQ(recorded.DelayBefore(5120), 0);
    EXPECT_EQ(recorded.DelayBefore(5120 + 40000), kMaxRecordedDelayMs);
    recorded.Start(DELAY_RECORDED, 0);
    EXPECT_EQ(recorded.DelayBefore(0xFFFFFF00u), 0);
    EXPECT_EQ(recorded.DelayBefore(0x00000100u), 0x200);  // across the wrap of the tick count

    RecordingClock fixed;
    fixed.Start(DELAY_FIXED, 10);
    EXPECT_EQ(fixed.DelayBefore(1), 10);
    EXPECT_EQ(fixed.DelayBefore(99999), 10);
    fixed.Start(DELAY_FIXED, 0);
    EXPECT_EQ(fixed.DelayBefore(1), 0);

    RecordingClock none;
    none.Start(DELAY_NONE, 10);
    EXPECT_EQ(none.DelayBefore(1), 0);
    EXPECT_EQ(none.DelayBefore(100000), 0);
}

// Drives a recording of key events 100 ms apart into a list that starts
// with the given rows, as the page appends them.
struct Recording
{
    int events = 0;
    int rows = 0;
    std::vector<int> types;
    int pressesTaken = 0;
    bool stopped = false;

    void Run(int mode, int fixedDelay, int presses)
    {
        RecordingClock clock;
        clock.Start(mode, fixedDelay);
        DWORD now = 1000;
        for (int i = 0; i < presses && !stopped; ++i, now += 100) {
            const RecordStep step = PlanRecordedEvent(clock, now, events, rows, kRecordEventLimit);
            if (step.delay != 0) {
                types.push_back(ROW_DELAY);
                ++rows;
            }
            if (step.appendEvent) {
                types.push_back(i % 2 == 0 ? ROW_KEY_DOWN : ROW_KEY_UP);
                ++rows;
                ++events;
            }
            ++pressesTaken;
            stopped = step.stop;
        }
    }
};

TEST(RecordingLimits, RecordingStopsRightAfterTheThirtiethEvent)
{
    Recording none;
    none.Run(DELAY_NONE, 0, 100);
    EXPECT_TRUE(none.stopped);
    EXPECT_EQ(none.pressesTaken, kRecordEventLimit);
    EXPECT_EQ(none.events, kRecordEventLimit);
    EXPECT_EQ(none.rows, kRecordEventLimit);

    Recording recorded;
    recorded.Run(DELAY_RECORDED, 0, 100);
    EXPECT_EQ(recorded.events, kRecordEventLimit);
    EXPECT_EQ(recorded.rows, 2 * kRecordEventLimit - 1);  // no delay before the first event
    EXPECT_EQ(recorded.types.front(), ROW_KEY_DOWN);

    Recording fixed;
    fixed.Run(DELAY_FIXED, 10, 100);
    EXPECT_EQ(fixed.events, kRecordEventLimit);
    EXPECT_EQ(fixed.rows, 2 * kRecordEventLimit);
    EXPECT_EQ(fixed.types.front(), ROW_DELAY);
    EXPECT_EQ(fixed.types.back(), ROW_KEY_UP);
}

TEST(RecordingLimits, AFullListEndsRecordingAtTheFirstKey)
{
    // Without a delay the key is still appended before recording ends.
    Recording none;
    none.events = 30;
    none.rows = 30;
    none.Run(DELAY_NONE, 0, 5);
    EXPECT_EQ(none.pressesTaken, 1);
    EXPECT_EQ(none.events, 31);

    // After a delay row the key is not appended.
    Recording fixed;
    fixed.events = 30;
    fixed.rows = 30;
    fixed.Run(DELAY_FIXED, 10, 5);
    EXPECT_EQ(fixed.pressesTaken, 1);
    EXPECT_EQ(fixed.events, 30);
    EXPECT_EQ(fixed.types, (std::vector<int>{ROW_DELAY}));

    // A list that holds its most rows takes nothing more, delay or key.
    Recording rowsFull;
    rowsFull.rows = kMaxEventRows - 1;
    rowsFull.Run(DELAY_FIXED, 10, 5);
    EXPECT_EQ(rowsFull.pressesTaken, 1);
    EXPECT_TRUE(rowsFull.types.empty());

    Recording lastTwoRows;
    lastTwoRows.rows = kMaxEventRows - 2;
    lastTwoRows.Run(DELAY_FIXED, 10, 5);
    EXPECT_EQ(lastTwoRows.pressesTaken, 1);
    EXPECT_EQ(lastTwoRows.rows, kMaxEventRows);
}

TEST(InsertedRows, RowsArePlacedAroundTheSelectedRow)
{
    const int T = 7000;
    struct Expected
    {
        int index;
        const wchar_t* text;
        int type;
        int value;
        int timestamp;
    };
    struct Case
    {
        const char* what;
        int item;
        int selected;
        int rowCount;
        int keyCode;
        const wchar_t* keyName;
        std::vector<Expected> rows;
    } cases[] = {
        {"delay before the selected row", INSERT_DELAY, 2, 5, 0, nullptr, {{2, L"50 ms", 1, 50, T}}},
        {"delay appended", INSERT_DELAY, -1, 5, 0, nullptr, {{5, L"50 ms", 1, 50, T}}},
        {"left click after the selected row", INSERT_LEFT_CLICK, 1, 5, 0, nullptr,
         {{2, L"\x2193  LB", 4, 1, T}, {3, L"50 ms", 1, 50, T + 1}, {4, L"\x2191  LB", 5, 1, T}}},
        {"left button from the other item", INSERT_LEFT_BUTTON, -1, 0, 0, nullptr,
         {{0, L"\x2193  LB", 4, 1, T}, {1, L"50 ms", 1, 50, T + 1}, {2, L"\x2191  LB", 5, 1, T}}},
        {"middle click on the last row", INSERT_MIDDLE_CLICK, 4, 5, 0, nullptr,
         {{5, L"\x2193  MB", 4, 4, T}, {6, L"50 ms", 1, 50, T + 1}, {7, L"\x2191  MB", 5, 4, T}}},
        {"right click", INSERT_RIGHT_CLICK, -1, 3, 0, nullptr,
         {{3, L"\x2193  RB", 4, 2, T}, {4, L"50 ms", 1, 50, T + 1}, {5, L"\x2191  RB", 5, 2, T}}},
        {"key press", INSERT_KEY, 0, 2, 'B', L"B",
         {{1, L"\x2193  B", 2, 'B', T}, {2, L"50 ms", 1, 50, T + 1}, {3, L"\x2191  B", 3, 'B', T}}},
        {"a selection past the end appends", INSERT_DELAY, 9, 3, 0, nullptr, {{3, L"50 ms", 1, 50, T}}},
        {"no key captured", INSERT_KEY, -1, 2, 0, L"B", {}},
        {"a key without a name", INSERT_KEY, -1, 2, 'B', L"", {}},
        {"unknown item", 104, -1, 2, 0, nullptr, {}},
        {"a press in a list of 198 rows", INSERT_LEFT_CLICK, -1, kMaxEventRows - 2, 0, nullptr, {}},
        {"a delay in a full list", INSERT_DELAY, -1, kMaxEventRows, 0, nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<RowInsert> rows = PlanInsertedRows(c.item, c.selected, c.rowCount, T, c.keyCode, c.keyName);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].index, c.rows[i].index);
            EXPECT_EQ(rows[i].text, c.rows[i].text);
            EXPECT_EQ(rows[i].type, c.rows[i].type);
            EXPECT_EQ(rows[i].value, c.rows[i].value);
            EXPECT_EQ(rows[i].timestamp, c.rows[i].timestamp);
        }
    }
    EXPECT_EQ(PlanInsertedRows(INSERT_DELAY, -1, kMaxEventRows - 1, T, 0, nullptr).size(), 1u);
}

// ---- deleting a macro that keys use -----------------------------------------------------

class DeleteMacroTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(store_.OpenDB(folder_.Path(), L"macros"));
        ProfileData profile;
        profile.name = L"one";
        first_ = store_.InsertProfile(profile);
        profile.name = L"two";
        second_ = store_.InsertProfile(profile);
        ASSERT_GT(first_, 0);
        ASSERT_GT(second_, 0);
        for (const wchar_t* name : {L"m1", L"m2", L"m3"})
            macros_.push_back(store_.AddMacro(name));
        MacroRecordData record;
        record.macro_id = macros_[1];
        record.type = ROW_KEY_DOWN;
        record.value = 'A';
        store_.InsertMacroRecord(record);
    }
    void TearDown() override { store_.CloseDB(); }

    void Bind(int profile, int layer, int key, int type, int value)
    {
        KeyMacroData row;
        row.profile = profile;
        row.fn_layer = layer;
        row.key_code = key;
        row.macro_type = type;
        row.macro_value = value;
        row.macro_value2 = 5;
        row.macro_desc = L"bound";
        store_.InsertKeyMacros({row});
    }
    KeyMacroData Key(int profile, int layer, int key)
    {
        KeyMacroData row;
        EXPECT_TRUE(store_.GetKeyMacro(profile, layer, key, row));
        return row;
    }

    ScratchFolder folder_;
    ConfigDB store_;
    int first_ = 0;
    int second_ = 0;
    std::vector<int> macros_;
};

TEST_F(DeleteMacroTest, KeysBoundToTheDeletedMacroGetTheirOwnFunctionBackInEveryProfile)
{
    const int gone = macros_[1];
    Bind(first_, 0, 4, 12, gone);
    Bind(first_, 1, 5, 12, gone);
    Bind(first_, 0, 241, 12, gone);
    Bind(first_, 0, 6, 12, macros_[2]);
    Bind(second_, 0, 4, 12, gone);
    Bind(second_, 0, 7, 2, gone);  // a plain key whose usage happens to equal the id

    ASSERT_TRUE(DeleteMacroAndFreeKeys(store_, gone));

    struct Expected
    {
        int profile, layer, key, type, value, value2;
        CString desc;
    } expected[] = {
        {first_, 0, 4, 2, 4, 0, GetKeyName(4)},
        {first_, 1, 5, 0, 5, 0, GetKeyName(5)},
        {first_, 0, 241, 11, 2176, 0, GetKeyName(241)},
        {first_, 0, 6, 12, macros_[2], 5, L"bound"},
        {second_, 0, 4, 2, 4, 0, GetKeyName(4)},
        {second_, 0, 7, 2, gone, 5, L"bound"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "profile " << e.profile << " layer " << e.layer << " key " << e.key);
        const KeyMacroData row = Key(e.profile, e.layer, e.key);
        EXPECT_EQ(row.macro_type, e.type);
        EXPECT_EQ(row.macro_value, e.value);
        EXPECT_EQ(row.macro_value2, e.value2);
        EXPECT_EQ(row.macro_desc, e.desc);
    }

    // The macro and its events are gone; the others keep their ids, so the
    // later one moves up a slot in the list order the keyboard's writers use.
    StoreRows<MacroData> left;
    store_.GetMacroList(left.Out());
    ASSERT_EQ(left.Rows().size(), 2u);
    EXPECT_EQ(left.Rows()[0]->macro_id, macros_[0]);
    EXPECT_EQ(left.Rows()[1]->macro_id, macros_[2]);
    StoreRows<MacroRecordData> records;
    EXPECT_EQ(store_.GetMacroRecords(gone, records.Out()), 0);
}

TEST_F(DeleteMacroTest, NoMacroToDeleteChangesNothing)
{
    Bind(first_, 0, 4, 12, macros_[0]);
    EXPECT_FALSE(DeleteMacroAndFreeKeys(store_, 0));
    EXPECT_EQ(Key(first_, 0, 4).macro_type, 12);
    store_.CloseDB();
    EXPECT_FALSE(DeleteMacroAndFreeKeys(store_, macros_[0]));
}

} // namespace
