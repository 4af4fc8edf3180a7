#include <algorithm>
#include <ostream>

#include "app/device/KeyCodes.h"
#include "tests/device/DeviceLinkTestBed.h"

// Found by argument-dependent lookup, so they live beside KeyColorEntry.
static bool operator==(const KeyColorEntry& a, const KeyColorEntry& b)
{
    return a.keyCode == b.keyCode && a.color == b.color;
}

static std::ostream& operator<<(std::ostream& out, const KeyColorEntry& e)
{
    return out << "{" << e.keyCode << ", 0x" << std::hex << e.color << std::dec << "}";
}

namespace {

using ColorTable = std::array<uint8_t, COLOR_TABLE_SIZE>;

class LightingTest : public DeviceLinkTestBed {
protected:
    void AddUserColor(int keyCode, int rgb, int profile = -1)
    {
        UserLightRgbData row{};
        row.profile = profile < 0 ? host_.profile : profile;
        row.userlight_id = 1;
        row.key_code = keyCode;
        row.key_rgb = rgb;
        store_.InsertUserLightRgbs({row});
    }

    static void ExpectChunks(int device, uint8_t command, const std::vector<int>& lengths)
    {
        const std::vector<HidReport> chunks = RequestsOf(device, command);
        ASSERT_EQ(chunks.size(), lengths.size());
        for (size_t c = 0; c < chunks.size(); ++c) {
            EXPECT_EQ(Offset(chunks[c]), static_cast<int>(c * 56));
            EXPECT_EQ(Length(chunks[c]), lengths[c]);
        }
    }

    static std::vector<uint8_t> Sequence(std::initializer_list<std::pair<uint8_t, size_t>> runs)
    {
        std::vector<uint8_t> commands;
        for (const auto& run : runs)
            commands.insert(commands.end(), run.second, run.first);
        return commands;
    }

    // A whole colour table written in seven frames between begin and end,
    // every frame taken.
    void ExpectFramedRgbWrite(int device, uint8_t command) const
    {
        EXPECT_EQ(hidsim::Commands(device), Sequence({{CMD_BEGIN, 1}, {command, 7}, {CMD_END, 1}}));
        ExpectChunks(device, command, kRgbChunks);
        EXPECT_EQ(hidsim::RejectedCount(device), 0);
    }

    // A colour table that is 0 but for the given table positions, each a
    // colour 0x00BBGGRR stored low byte first.
    static ColorTable TableWith(std::initializer_list<std::pair<int, uint32_t>> colours)
    {
        ColorTable table{};
        for (const auto& [position, colour] : colours)
            for (int byte = 0; byte < 3; ++byte)
                table[position * 3 + byte] = static_cast<uint8_t>(colour >> (8 * byte));
        return table;
    }

    static uint32_t ColorAt(const ColorTable& table, int position)
    {
        return static_cast<uint32_t>(table[position * 3] | (table[position * 3 + 1] << 8) |
                                     (table[position * 3 + 2] << 16));
    }

    const std::vector<int> kRgbChunks = {56, 56, 56, 56, 56, 56, 48};
};

TEST_F(LightingTest, UserColoursGoToTheDeviceOfEachKey)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    hidsim::Memory(keyboard).userColors = Pattern<COLOR_TABLE_SIZE>(8);  // replaced whole
    host_.layout = {{5, 127}, {6, 128}};
    AddUserColor(4, 0x0000FF);   // A, table position 9: red
    AddUserColor(5, 0x123456);   // the layout's last position
    AddUserColor(6, 0xFFFFFF);   // layout position 128: skipped
    AddUserColor(83, 0x302010);  // Num Lock, keypad position 103
    AddUserColor(7, 0x00FF00, host_.profile + 1);  // another profile's: not sent
    Connect();

    link_->WriteLighting();

    for (int device : {keyboard, keypad})
        ExpectFramedRgbWrite(device, CMD_WRITE_KEY_COLORS);
    EXPECT_EQ(hidsim::Memory(keyboard).userColors, TableWith({{9, 0x0000FF}, {127, 0x123456}}));
    EXPECT_EQ(hidsim::Memory(keypad).userColors, TableWith({{103, 0x302010}}));
}

TEST_F(LightingTest, OnlyTheCurrentProfilesColoursAreSent)
{
    const int keyboard = AddKeyboard();
    AddUserColor(4, 0x0000FF);
    host_.profile = 2;
    AddUserColor(5, 0x00FF00);  // the current profile's
    // Another profile's colour, under the user light the lighting page once used for every profile.
    UserLightRgbData other{};
    other.profile = 3;
    other.userlight_id = 1;
    other.key_code = 6;
    other.key_rgb = 0xFF0000;
    store_.InsertUserLightRgbs({other});
    Connect();

    link_->WriteLighting();

    ExpectFramedRgbWrite(keyboard, CMD_WRITE_KEY_COLORS);
    EXPECT_EQ(hidsim::Memory(keyboard).userColors, TableWith({{KeyCodeToPosition(5), 0x00FF00}}));
}

TEST_F(LightingTest, LiveReadPaintsTheLayoutsKeysFromTheirDevice)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    ColorTable keyboardColors = Pattern<COLOR_TABLE_SIZE>(9);
    keyboardColors[9 * 3] = 0x10;
    keyboardColors[9 * 3 + 1] = 0x20;
    keyboardColors[9 * 3 + 2] = 0x30;
    hidsim::Memory(keyboard).liveColors = keyboardColors;
    ColorTable keypadColors = Pattern<COLOR_TABLE_SIZE>(10);
    hidsim::Memory(keypad).liveColors = keypadColors;
    host_.layout = {{0, 1}, {4, 9}, {7, 127}, {8, 128}, {9, -1}, {83, 103}};
    Connect();

    link_->RestartStream();
    link_->ReadLiveColors();

    for (int device : {keyboard, keypad}) {
        EXPECT_EQ(hidsim::Commands(device), Sequence({{CMD_BEGIN, 1}, {CMD_READ_LIVE_COLORS, 7}}));
        ExpectChunks(device, CMD_READ_LIVE_COLORS, kRgbChunks);
    }
    const std::vector<KeyColorEntry> expected = {
        {4, 0x302010}, {7, ColorAt(keyboardColors, 127)}, {83, ColorAt(keypadColors, 103)}};
    ASSERT_EQ(host_.paints.size(), 1u);
    EXPECT_EQ(host_.paints[0], expected);
    EXPECT_EQ(link_->GetResynchronise(), 0);
}

TEST_F(LightingTest, AnUnansweredLiveReadAbandonsThePassAndTheNextOneBegins)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    host_.layout = {{4, 9}};
    hidsim::Fault refused;
    refused.action = hidsim::FaultAction::NegativeReply;
    refused.command = CMD_READ_LIVE_COLORS;
    refused.skip = 3;
    hidsim::AddFault(keyboard, refused);
    Connect();

    link_->RestartStream();
    link_->ReadLiveColors();
    EXPECT_EQ(hidsim::Commands(keyboard), Sequence({{CMD_BEGIN, 1}, {CMD_READ_LIVE_COLORS, 4}}));
    EXPECT_TRUE(hidsim::Commands(keypad).empty());
    EXPECT_TRUE(host_.paints.empty());
    EXPECT_EQ(link_->GetResynchronise(), 1);

    hidsim::ClearLog();
    link_->ReadLiveColors();
    for (int device : {keyboard, keypad})
        EXPECT_EQ(hidsim::Commands(device), Sequence({{CMD_BEGIN, 1}, {CMD_READ_LIVE_COLORS, 7}}));
    EXPECT_EQ(host_.paints.size(), 1u);
    EXPECT_EQ(link_->GetResynchronise(), 0);

    hidsim::ClearLog();
    link_->ReadLiveColors();
    for (int device : {keyboard, keypad})
        EXPECT_EQ(hidsim::Commands(device), Sequence({{CMD_READ_LIVE_COLORS, 7}}));
    EXPECT_EQ(host_.paints.size(), 2u);
}

// The device answers live reads only inside a stream: after a command
// sequence's END the next pass must begin it, or every read is refused.
TEST_F(LightingTest, AfterACommandSequenceEndedTheStreamTheNextLivePassBeginsIt)
{
    const int keyboard = AddKeyboard();
    host_.layout = {{4, 9}};
    AddUserColor(4, 0x0000FF);
    Connect();
    link_->RestartStream();
    link_->ReadLiveColors();
    ASSERT_EQ(host_.paints.size(), 1u);

    link_->WriteLighting();  // BEGIN ... END
    hidsim::ClearLog();
    link_->ReadLiveColors();
    EXPECT_EQ(host_.paints.size(), 1u) << "a read outside the stream was answered";
    EXPECT_EQ(link_->GetResynchronise(), 1);

    link_->WriteLighting();
    hidsim::ClearLog();
    link_->RestartStream();
    link_->ReadLiveColors();
    EXPECT_EQ(hidsim::Commands(keyboard), Sequence({{CMD_BEGIN, 1}, {CMD_READ_LIVE_COLORS, 7}}));
    EXPECT_EQ(host_.paints.size(), 2u);
    EXPECT_EQ(link_->GetResynchronise(), 0);
}

TEST_F(LightingTest, ALiveReplyStillInFlightDoesNotShiftLaterPasses)
{
    // One chunk's reply comes 30 ms late, past its 20 ms read: the pass is
    // abandoned, and that reply then reaches the host ahead of the next
    // pass's begin reply.
    host_.layout = {{4, 9}, {30, 40}, {5, 100}, {7, 127}, {83, 103}};
    for (int lateChunk : {0, 3, 6}) {
        SCOPED_TRACE(testing::Message() << "chunk " << lateChunk << " late");
        hidsim::Reset();
        hidsim::SetClock(&clock_);
        host_.paints.clear();
        const int keyboard = AddKeyboard();
        const int keypad = AddKeypad();
        const ColorTable keyboardColors = Pattern<COLOR_TABLE_SIZE>(12);
        const ColorTable keypadColors = Pattern<COLOR_TABLE_SIZE>(13);
        hidsim::Memory(keyboard).liveColors = keyboardColors;
        hidsim::Memory(keypad).liveColors = keypadColors;
        hidsim::Fault slow;
        slow.action = hidsim::FaultAction::LateReply;
        slow.command = CMD_READ_LIVE_COLORS;
        slow.skip = lateChunk;
        slow.delayMs = 30;
        hidsim::AddFault(keyboard, slow);
        Connect();

        link_->RestartStream();
        link_->ReadLiveColors();
        EXPECT_TRUE(host_.paints.empty());
        EXPECT_EQ(link_->GetResynchronise(), 1);

        const std::vector<KeyColorEntry> expected = {
            {4, ColorAt(keyboardColors, 9)},   {5, ColorAt(keyboardColors, 100)},
            {7, ColorAt(keyboardColors, 127)}, {30, ColorAt(keyboardColors, 40)},
            {83, ColorAt(keypadColors, 103)}};
        for (int pass = 0; pass < 2; ++pass) {
            clock_.Advance(16);  // the worker's next step
            link_->ReadLiveColors();
            ASSERT_EQ(host_.paints.size(), static_cast<size_t>(pass + 1));
            EXPECT_EQ(host_.paints.back(), expected) << "pass " << pass + 2;
            EXPECT_EQ(link_->GetResynchronise(), 0);
        }
    }
}

TEST_F(LightingTest, LiveWriteSendsNothingWhileLightingIsOff)
{
    AddKeyboard();
    host_.keys = {{4, 0xFFFFFF}};
    host_.lightEnabled = 0;
    Connect();

    link_->WriteLiveColors();

    EXPECT_TRUE(hidsim::Log().empty());
    EXPECT_TRUE(Sleeps().empty());
}

TEST_F(LightingTest, LiveWriteSendsRgbFramesToEachDevice)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    hidsim::Memory(keyboard).liveColors = Pattern<COLOR_TABLE_SIZE>(11);
    host_.layout = {{5, 100}};
    host_.keys = {{4, 0x0000FF}, {5, 0x445566}, {500, 0xFFFFFF}, {83, 0x010203}};
    Connect();

    link_->WriteLiveColors();

    for (int device : {keyboard, keypad})
        ExpectFramedRgbWrite(device, CMD_WRITE_LIVE_COLORS);
    EXPECT_EQ(hidsim::Memory(keyboard).liveColors, TableWith({{9, 0x0000FF}, {100, 0x445566}}));
    EXPECT_EQ(hidsim::Memory(keypad).liveColors, TableWith({{103, 0x010203}}));
    ASSERT_FALSE(Sleeps().empty());
    EXPECT_EQ(Sleeps().back(), 10u);
    EXPECT_EQ(std::count(Sleeps().begin(), Sleeps().end(), 2u), 0);
}

TEST_F(LightingTest, LiveWriteSendsOnOffBytesWithoutPerKeyRgb)
{
    const int keyboard = AddKeyboard();
    host_.perKeyRgb = 0;
    host_.layout = {{4, 9}, {5, 120}, {6, 55}};
    // 240 and 242 share position 47: the dark one after the lit one keeps it lit.
    host_.keys = {{4, 0x000001}, {5, 0xFF0000}, {6, 0}, {240, 0x00FF00}, {242, 0}};
    Connect();

    link_->WriteLiveColors();

    EXPECT_EQ(hidsim::Commands(keyboard), Sequence({{CMD_BEGIN, 1}, {CMD_WRITE_LIVE_COLORS, 3}, {CMD_END, 1}}));
    ExpectChunks(keyboard, CMD_WRITE_LIVE_COLORS, {56, 56, 16});
    std::array<uint8_t, SINGLE_COLOR_TABLE_SIZE> sent{};
    const std::vector<HidReport> chunks = RequestsOf(keyboard, CMD_WRITE_LIVE_COLORS);
    for (size_t c = 0; c < chunks.size(); ++c)
        for (int i = 0; i < Length(chunks[c]); ++i)
            sent[c * 56 + i] = chunks[c][REQ_PAYLOAD + i];
    std::array<uint8_t, SINGLE_COLOR_TABLE_SIZE> expected{};
    expected[9] = 0xFF;
    expected[120] = 0xFF;
    expected[47] = 0xFF;
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(std::count(Sleeps().begin(), Sleeps().end(), 2u), 3);
    EXPECT_EQ(Sleeps().back(), 10u);
}

TEST_F(LightingTest, LiveWriteStopsAtTheFirstRefusedChunkAndStillEnds)
{
    struct Case {
        int perKeyRgb;
        int refusedAfter;
        size_t sleepsOf2ms;
    };
    for (const Case& c : {Case{1, 2, 0}, Case{0, 1, 1}, Case{0, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << "rgb " << c.perKeyRgb << " refused after " << c.refusedAfter);
        hidsim::Reset();
        hidsim::SetClock(&clock_);
        const int keyboard = AddKeyboard();
        const int keypad = AddKeypad();
        hidsim::Fault refused;
        refused.action = hidsim::FaultAction::NegativeReply;
        refused.command = CMD_WRITE_LIVE_COLORS;
        refused.skip = c.refusedAfter;
        hidsim::AddFault(keyboard, refused);
        host_.perKeyRgb = c.perKeyRgb;
        host_.keys = {{4, 0x0000FF}, {83, 0x00FF00}};
        Connect();

        link_->WriteLiveColors();

        EXPECT_EQ(hidsim::Commands(keyboard), Sequence({{CMD_BEGIN, 1},
                                                        {CMD_WRITE_LIVE_COLORS, static_cast<size_t>(c.refusedAfter + 1)},
                                                        {CMD_END, 1}}));
        const size_t keypadChunks = c.perKeyRgb ? 7 : 3;
        EXPECT_EQ(hidsim::Commands(keypad),
                  Sequence({{CMD_BEGIN, 1}, {CMD_WRITE_LIVE_COLORS, keypadChunks}, {CMD_END, 1}}));
        const size_t keypadSleeps = c.perKeyRgb ? 0 : 3;
        EXPECT_EQ(static_cast<size_t>(std::count(Sleeps().begin(), Sleeps().end(), 2u)), c.sleepsOf2ms + keypadSleeps);
    }
}

}  // namespace
