#include <algorithm>

#include "tests/device/DeviceLinkTestBed.h"

namespace {

using KeyMap = std::array<uint8_t, KEYMAP_SIZE>;

class WriteKeyMapTest : public DeviceLinkTestBed {
protected:
    void SetEntry(KeyMap& map, int position, int layer, std::array<uint8_t, 3> entry)
    {
        std::copy(entry.begin(), entry.end(), map.begin() + position * 6 + layer * 3);
    }

    // BEGIN, 14 reads, 14 writes, END, chunked 56 bytes at a time with a 40-byte tail.
    void ExpectFullSequence(int device)
    {
        std::vector<uint8_t> expected = {CMD_BEGIN};
        expected.insert(expected.end(), 14, CMD_READ_KEYMAP);
        expected.insert(expected.end(), 14, CMD_WRITE_KEYMAP);
        expected.push_back(CMD_END);
        EXPECT_EQ(hidsim::Commands(device), expected);
        EXPECT_EQ(hidsim::RejectedCount(device), 0);
        for (uint8_t command : {CMD_READ_KEYMAP, CMD_WRITE_KEYMAP}) {
            const std::vector<HidReport> chunks = RequestsOf(device, command);
            ASSERT_EQ(chunks.size(), 14u);
            for (size_t c = 0; c < chunks.size(); ++c) {
                EXPECT_EQ(Offset(chunks[c]), static_cast<int>(c * 56));
                EXPECT_EQ(Length(chunks[c]), c == 13 ? 40 : 56);
            }
        }
    }
};

TEST_F(WriteKeyMapTest, WithoutAssignmentsTheMapGoesBackAsItCame)
{
    hidsim::DeviceConfig config = hidsim::KeyboardConfig(kVendorId, kProductId, "sim#keyboard");
    config.pastEndFill = 0x5C;
    const int keyboard = hidsim::AddDevice(config);
    const KeyMap device = Pattern<KEYMAP_SIZE>(1);
    hidsim::Memory(keyboard).keyMap = device;
    Connect();

    link_->WriteKeyMap();

    ExpectFullSequence(keyboard);
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap, device);
    // The last write's payload past its 40 bytes carries what the last read returned there.
    const HidReport last = RequestsOf(keyboard, CMD_WRITE_KEYMAP).back();
    for (size_t i = 40; i < 56; ++i)
        EXPECT_EQ(last[REQ_PAYLOAD + i], 0x5C) << i;
}

TEST_F(WriteKeyMapTest, MergesBothLayersIntoEachDevicesOwnMap)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    const KeyMap keyboardMap = Pattern<KEYMAP_SIZE>(2);
    const KeyMap keypadMap = Pattern<KEYMAP_SIZE>(3);
    ASSERT_NE(keyboardMap[21 * 6], 0x10);
    hidsim::Memory(keyboard).keyMap = keyboardMap;
    hidsim::Memory(keypad).keyMap = keypadMap;
    host_.layout = {{4, 9}, {5, 60}, {6, 128}, {7, -1}, {26, 21}};

    AddKeyAssignment(1, 4, 2, 4);        // A on layer 1 at the layout's position 9
    AddKeyAssignment(0, 4, 2, 225);      // layer 0 of the same key: left Shift alone
    AddKeyAssignment(0, 5, 1, 0);        // the layout's 60 wins over the table's 30
    AddKeyAssignment(1, 41, 5, 0x00E9);  // Esc: not in the layout, the table's position 0
    AddKeyAssignment(0, 83, 4, 1);       // Num Lock: keypad only, table position 103
    AddKeyAssignment(0, 6, 1, 0);        // layout position 128: skipped
    AddKeyAssignment(0, 7, 1, 0);        // layout position -1: skipped, not the table's
    AddKeyAssignment(0, 500, 1, 0);      // no position anywhere
    AddKeyAssignment(0, 20, 0, 0);       // type 0: the device keeps its entry
    AddKeyAssignment(0, 26, 6, 99);      // unknown shortcut: a key, with the device's other bytes
    host_.profile = 2;
    AddKeyAssignment(0, 8, 1, 0);        // another profile's row
    host_.profile = 1;
    Connect();

    link_->WriteKeyMap();

    ExpectFullSequence(keyboard);
    ExpectFullSequence(keypad);
    KeyMap expectedKeyboard = keyboardMap;
    SetEntry(expectedKeyboard, 9, 1, {0x10, 0x00, 0x04});
    SetEntry(expectedKeyboard, 9, 0, {0x10, 0x02, 0x00});
    SetEntry(expectedKeyboard, 60, 0, {0x10, 0x00, 0x00});
    SetEntry(expectedKeyboard, 0, 1, {0x30, 0xE9, 0x00});
    expectedKeyboard[21 * 6] = 0x10;
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap, expectedKeyboard);
    KeyMap expectedKeypad = keypadMap;
    SetEntry(expectedKeypad, 103, 0, {0x20, 0x01, 0x00});
    EXPECT_EQ(hidsim::Memory(keypad).keyMap, expectedKeypad);
}

TEST_F(WriteKeyMapTest, MacroKeysCarryTheMacrosSlotNotItsId)
{
    const int keyboard = AddKeyboard();
    const KeyMap device = Pattern<KEYMAP_SIZE>(4);
    hidsim::Memory(keyboard).keyMap = device;
    const int first = AddMacro({});
    AddMacro({});
    const int third = AddMacro({});
    store_.DeleteMacro(first);  // the third macro now has slot 1
    ASSERT_NE(third, 1);
    AddKeyAssignment(0, 4, 12, third, 2);
    AddKeyAssignment(1, 4, 12, first, 2);  // deleted macro: the device keeps its entry
    Connect();

    link_->WriteKeyMap();

    KeyMap expected = device;
    SetEntry(expected, 9, 0, {0x70, 0x01, 0x02});
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap, expected);
}

TEST_F(WriteKeyMapTest, AnUnansweredReadLeavesThatDevicesMapAlone)
{
    const int keyboard = AddKeyboard();
    const int keypad = AddKeypad();
    const KeyMap keyboardMap = Pattern<KEYMAP_SIZE>(5);
    const KeyMap keypadMap = Pattern<KEYMAP_SIZE>(6);
    hidsim::Memory(keyboard).keyMap = keyboardMap;
    hidsim::Memory(keypad).keyMap = keypadMap;
    AddKeyAssignment(0, 4, 1, 0);
    AddKeyAssignment(0, 83, 1, 0);
    hidsim::Fault refused;
    refused.action = hidsim::FaultAction::NegativeReply;
    refused.command = CMD_READ_KEYMAP;
    refused.skip = 5;
    hidsim::AddFault(keyboard, refused);
    hidsim::Fault silent;
    silent.action = hidsim::FaultAction::NoReply;
    silent.command = CMD_READ_KEYMAP;
    hidsim::AddFault(keypad, silent);
    Connect();

    link_->WriteKeyMap();

    std::vector<uint8_t> keyboardExpected = {CMD_BEGIN};
    keyboardExpected.insert(keyboardExpected.end(), 6, CMD_READ_KEYMAP);
    keyboardExpected.push_back(CMD_END);
    EXPECT_EQ(hidsim::Commands(keyboard), keyboardExpected);
    EXPECT_EQ(hidsim::Commands(keypad), (std::vector<uint8_t>{CMD_BEGIN, CMD_READ_KEYMAP, CMD_END}));
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap, keyboardMap);
    EXPECT_EQ(hidsim::Memory(keypad).keyMap, keypadMap);

    // The next upload, with the devices answering again, goes through.
    hidsim::ClearLog();
    link_->WriteKeyMap();
    ExpectFullSequence(keyboard);
    ExpectFullSequence(keypad);
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap[9 * 6], 0x10);
    EXPECT_EQ(hidsim::Memory(keypad).keyMap[103 * 6], 0x10);
}

TEST_F(WriteKeyMapTest, ABeginReplyStillInFlightIsNotTakenForAChunk)
{
    // The begin reply gives up after 207 ms; one that comes later reaches the
    // host ahead of the first chunk's, which then follows it within its own
    // reads (the last of them ends 383 ms after the begin request).
    AddKeyAssignment(0, 4, 1, 0);
    for (uint32_t late : {230u, 290u, 350u}) {
        SCOPED_TRACE(testing::Message() << "begin answered after " << late << " ms");
        hidsim::Reset();
        hidsim::SetClock(&clock_);
        const int keyboard = AddKeyboard();
        const KeyMap device = Pattern<KEYMAP_SIZE>(7);
        hidsim::Memory(keyboard).keyMap = device;
        hidsim::Fault slow;
        slow.action = hidsim::FaultAction::LateReply;
        slow.command = CMD_BEGIN;
        slow.delayMs = late;
        hidsim::AddFault(keyboard, slow);
        Connect();

        link_->WriteKeyMap();

        ExpectFullSequence(keyboard);
        KeyMap expected = device;
        SetEntry(expected, 9, 0, {0x10, 0x00, 0x00});
        EXPECT_EQ(hidsim::Memory(keyboard).keyMap, expected);
    }
}

}  // namespace
