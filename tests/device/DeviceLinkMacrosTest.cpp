#include <algorithm>

#include "app/device/MacroBuffer.h"
#include "tests/device/DeviceLinkTestBed.h"

namespace {

using MacroMemory = std::array<uint8_t, MACRO_BUFFER_SIZE>;

class WriteMacrosTest : public DeviceLinkTestBed {
protected:
    // BEGIN, the chunks of an L-byte buffer, END.
    void ExpectSequence(int device, const std::vector<int>& lengths)
    {
        std::vector<uint8_t> expected = {CMD_BEGIN};
        expected.insert(expected.end(), lengths.size(), CMD_WRITE_MACROS);
        expected.push_back(CMD_END);
        EXPECT_EQ(hidsim::Commands(device), expected);
        EXPECT_EQ(hidsim::RejectedCount(device), 0);
        const std::vector<HidReport> chunks = RequestsOf(device, CMD_WRITE_MACROS);
        ASSERT_EQ(chunks.size(), lengths.size());
        for (size_t c = 0; c < chunks.size(); ++c) {
            EXPECT_EQ(Offset(chunks[c]), static_cast<int>(c * 56));
            EXPECT_EQ(Length(chunks[c]), lengths[c]);
        }
    }
};

TEST_F(WriteMacrosTest, PressDelayReleaseReachesBothDevices)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    AddMacro({{MACRO_EVENT_KEY_DOWN, 'A'}, {MACRO_EVENT_DELAY, 50}, {MACRO_EVENT_KEY_UP, 'A'}});
    Connect();

    link_->WriteMacros();

    MacroMemory expected{};
    expected[0] = 64;
    const uint8_t events[] = {0x32, 0x00, 0x42, 0x04, 0x0A, 0x00, 0x82, 0x04};
    std::copy(std::begin(events), std::end(events), expected.begin() + 64);
    for (int device : {keyboard, keypad}) {
        ExpectSequence(device, {56, 16});
        EXPECT_EQ(hidsim::Memory(device).macros, expected);
    }
}

TEST_F(WriteMacrosTest, NoMacrosSendTheEmptySlotTable)
{
    const int keyboard = AddKeyboard();
    hidsim::Memory(keyboard).macros = Pattern<MACRO_BUFFER_SIZE>(7);
    Connect();

    link_->WriteMacros();

    ExpectSequence(keyboard, {56, 8});
    const MacroMemory& memory = hidsim::Memory(keyboard).macros;
    EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + 64, [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::equal(memory.begin() + 64, memory.end(), Pattern<MACRO_BUFFER_SIZE>(7).begin() + 64));
}

TEST_F(WriteMacrosTest, SlotsFollowTheStoreListAndAFullBufferStopsAtItsEnd)
{
    const int keyboard = AddKeyboard();
    const int removed = AddMacro({{MACRO_EVENT_KEY_DOWN, 'A'}});
    std::vector<std::pair<int, int>> longMacro(900, {MACRO_EVENT_KEY_DOWN, 'B'});
    AddMacro(longMacro);
    AddMacro({{MACRO_EVENT_KEY_DOWN, 'C'}});
    store_.DeleteMacro(removed);
    Connect();

    link_->WriteMacros();

    std::vector<int> lengths(64, 56);
    ExpectSequence(keyboard, lengths);
    const MacroBuffer expected = BuildMacroBuffer({
        std::vector<MacroEvent>(900, MacroEvent{MACRO_EVENT_KEY_DOWN, 'B'}),
        {{MACRO_EVENT_KEY_DOWN, 'C'}},
    });
    EXPECT_EQ(hidsim::Memory(keyboard).macros, expected.bytes);
    const MacroMemory& memory = hidsim::Memory(keyboard).macros;
    EXPECT_EQ(memory[0] | (memory[1] << 8), 64);
    EXPECT_EQ(memory[2] | (memory[3] << 8), 0);
    EXPECT_EQ(memory[MACRO_BUFFER_SIZE - 2], 0xC2);
    EXPECT_EQ(memory[MACRO_BUFFER_SIZE - 1], 0x05);
}

}  // namespace
