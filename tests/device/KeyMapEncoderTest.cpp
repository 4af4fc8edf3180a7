#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/device/KeyMapEncoder.h"
#include "app/store/ConfigRows.h"

namespace {

struct EncodeCase {
    int type;
    int value;
    int value2;
    bool changes;
    std::array<uint8_t, 3> entry;  // expected when changes
};

constexpr std::array<uint8_t, 3> kDeviceEntry = {0xA5, 0x5A, 0x33};
constexpr bool U = false;  // the device's entry stays
constexpr bool W = true;

const EncodeCase kCases[] = {
    {1, 0, 0, W, {0x10, 0x00, 0x00}},
    // keyboard key: modifier value through ModifierToBit, usage in b
    {2, 4, 0, W, {0x10, 0x00, 0x04}},
    {2, 4, 162, W, {0x10, 0x01, 0x04}},    // left Ctrl as virtual key
    {2, 4, 229, W, {0x10, 0x20, 0x04}},    // right Shift as usage
    {2, 4, 0x03, W, {0x10, 0x03, 0x04}},   // a ready bit set passes through
    {2, 0x104, 0, W, {0x10, 0x00, 0x04}},  // low byte only
    {2, 225, 0, W, {0x10, 0x02, 0x00}},    // a modifier alone becomes its bit
    {2, 231, 0, W, {0x10, 0x80, 0x00}},
    {2, 224, 0x02, W, {0x10, 0x02, 0xE0}}, // with modifiers it stays a key
    // mouse
    {4, 1, 0, W, {0x20, 0x01, 0x00}},
    {4, 2, 0, W, {0x20, 0x04, 0x00}},
    {4, 3, 0, W, {0x20, 0x02, 0x00}},
    {4, 5, 0, W, {0x21, 0x00, 0x01}},
    {4, 6, 0, W, {0x21, 0x00, 0xFF}},
    {4, 7, 0, W, {0x20, 0x10, 0x00}},
    {4, 8, 0, W, {0x20, 0x08, 0x00}},
    {4, 0, 0, W, {0x20, 0x00, 0x00}},  // any other value: a mouse entry without buttons
    {4, 4, 0, W, {0x20, 0x00, 0x00}},
    {4, 9, 0, W, {0x20, 0x00, 0x00}},
    {4, 0x101, 0, W, {0x20, 0x00, 0x00}},  // not read by its low byte
    // consumer usage, little-endian
    {5, 0x00E9, 0, W, {0x30, 0xE9, 0x00}},
    {5, 0x0223, 0, W, {0x30, 0x23, 0x02}},
    // system shortcuts
    {6, 1, 0, W, {0x10, 0x08, 0x07}},
    {6, 2, 0, W, {0x10, 0x08, 0x08}},
    {6, 3, 0, W, {0x10, 0x08, 0x0F}},
    {6, 4, 0, W, {0x10, 0x01, 0x1A}},
    {6, 5, 0, W, {0xF0, 0xA6, 0x00}},
    {6, 6, 0, W, {0x10, 0x01, 0x06}},
    {6, 7, 0, W, {0x10, 0x01, 0x19}},
    {6, 8, 0, W, {0x10, 0x01, 0x1B}},
    {6, 13, 0, W, {0x10, 0x02, 0x02}},
    {6, 14, 0, W, {0x10, 0x02, 0x01}},
    // any other value: a keyboard entry keeping the device's a and b
    {6, 9, 0, W, {0x10, 0x5A, 0x33}},
    {6, 0, 0, W, {0x10, 0x5A, 0x33}},
    {6, 0x105, 0, W, {0x10, 0x5A, 0x33}},  // not read by its low byte
    // device values carried as they are
    {7, 0x1234, 0, W, {0x50, 0x34, 0x00}},
    {8, 7, 0, W, {0x60, 0x07, 0x00}},
    {9, 0x1FF, 0, W, {0x60, 0xFF, 0x00}},
    // macros by slot (the store's list is {40, 7, 19})
    {12, 19, 3, W, {0x70, 0x02, 0x03}},
    {12, 40, 0x105, W, {0x70, 0x00, 0x05}},
    {12, 2, 0, U, {}},  // slot 2 exists, but no macro has id 2
    {12, 99, 0, U, {}},
    // functions
    {14, 1, 0, W, {0xF0, 0x10, 0x00}},
    {14, 2, 0, W, {0xF0, 0x3D, 0x00}},
    {14, 3, 0, W, {0x30, 0xCD, 0x00}},
    {14, 4, 0, W, {0x30, 0xE2, 0x00}},
    {14, 5, 0, W, {0x30, 0x27, 0x02}},
    {14, 6, 0, W, {0x10, 0x01, 0x16}},
    {14, 7, 0, W, {0xF0, 0x26, 0x00}},
    {14, 8, 0, W, {0xF0, 0x25, 0x00}},
    {14, 9, 0, W, {0xF0, 0x3F, 0x00}},
    {14, 10, 0, W, {0xF0, 0x3E, 0x00}},
    {14, 11, 0, W, {0x30, 0xB5, 0x00}},
    {14, 12, 0, W, {0x30, 0xB6, 0x00}},
    {14, 13, 0, W, {0x30, 0xEA, 0x00}},
    {14, 14, 0, W, {0x30, 0xE9, 0x00}},
    {14, 15, 0, W, {0x30, 0x24, 0x02}},
    {14, 16, 0, W, {0x30, 0x25, 0x02}},
    {14, 17, 0, W, {0x10, 0x01, 0x06}},
    {14, 18, 0, W, {0x10, 0x01, 0x19}},
    {14, 19, 0, U, {}},
    {14, 0, 0, U, {}},
    // types without an encoding
    {0, 4, 0, U, {}},
    {3, 4, 0, U, {}},
    {10, 4, 0, U, {}},
    {11, 4, 0, U, {}},
    {13, 4, 0, U, {}},
    {15, 1, 0, U, {}},
};

KeyMacroData Row(int type, int value, int value2)
{
    KeyMacroData row;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_value2 = value2;
    return row;
}

std::vector<uint8_t> DeviceMap()
{
    std::vector<uint8_t> map(KEYMAP_SIZE);
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = kDeviceEntry[i % 3];
    return map;
}

TEST(EncodeKeyEntry, EveryTypeAndValueWritesOnlyItsOwnEntry)
{
    const std::vector<int> macroIds = {40, 7, 19};
    // Position 9 on layer 1 starts at byte 57.
    constexpr int kPosition = 9, kLayer = 1;
    constexpr size_t kAt = 57;
    for (const EncodeCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " value " << c.value << " value2 " << c.value2);
        std::vector<uint8_t> map = DeviceMap();
        EncodeKeyEntry(kPosition, kLayer, map.data(), Row(c.type, c.value, c.value2), macroIds);
        const std::array<uint8_t, 3> expected = c.changes ? c.entry : kDeviceEntry;
        EXPECT_EQ((std::array<uint8_t, 3>{map[kAt], map[kAt + 1], map[kAt + 2]}), expected);
        map[kAt] = kDeviceEntry[0];
        map[kAt + 1] = kDeviceEntry[1];
        map[kAt + 2] = kDeviceEntry[2];
        EXPECT_EQ(map, DeviceMap()) << "bytes outside the entry changed";
    }
}

TEST(EncodeKeyEntry, OnlyTheFirst32MacrosHaveSlots)
{
    std::vector<int> macroIds;
    for (int id = 100; id < 140; ++id)
        macroIds.push_back(id);
    std::vector<uint8_t> map = DeviceMap();
    EncodeKeyEntry(0, 0, map.data(), Row(12, 131, 0), macroIds);  // slot 31
    EncodeKeyEntry(1, 0, map.data(), Row(12, 132, 0), macroIds);  // would be slot 32
    EXPECT_EQ(map[0], 0x70);
    EXPECT_EQ(map[1], 31);
    EXPECT_EQ(map[6], kDeviceEntry[0]);
    EXPECT_EQ(map[7], kDeviceEntry[1]);
    EXPECT_EQ(map[8], kDeviceEntry[2]);
}

TEST(EncodeKeyEntry, PositionsOutsideTheMapWriteNothing)
{
    std::vector<uint8_t> map = DeviceMap();
    for (int position : {-1, 128, 1000})
        EncodeKeyEntry(position, 0, map.data(), Row(1, 0, 0), {});
    EncodeKeyEntry(0, 2, map.data(), Row(1, 0, 0), {});
    EXPECT_EQ(map, DeviceMap());
    EncodeKeyEntry(127, 1, map.data(), Row(1, 0, 0), {});
    EXPECT_EQ(map[765], 0x10);
    EXPECT_EQ(map[767], 0x00);
}

}  // namespace
