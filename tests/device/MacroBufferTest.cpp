#include <gtest/gtest.h>

#include <vector>

#include "app/device/MacroBuffer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Macro = std::vector<MacroEvent>;

MacroEvent Delay(int ms) { return {MACRO_EVENT_DELAY, ms}; }
MacroEvent Down(int vk) { return {MACRO_EVENT_KEY_DOWN, vk}; }
MacroEvent Up(int vk) { return {MACRO_EVENT_KEY_UP, vk}; }

constexpr int kA = 'A', kB = 'B';
constexpr int kEnd = static_cast<int>(MACRO_BUFFER_SIZE);

Bytes Events(const MacroBuffer& buffer)
{
    return Bytes(buffer.bytes.begin() + MACRO_SLOT_TABLE_SIZE, buffer.bytes.begin() + buffer.length);
}

int Slot(const MacroBuffer& buffer, int i)
{
    return buffer.bytes[static_cast<size_t>(i) * 2] | (buffer.bytes[static_cast<size_t>(i) * 2 + 1] << 8);
}

bool AllZeroFrom(const MacroBuffer& buffer, size_t from)
{
    for (size_t i = from; i < buffer.bytes.size(); ++i)
        if (buffer.bytes[i] != 0)
            return false;
    return true;
}

TEST(MacroBuffer, NoMacrosIsAnEmptySlotTable)
{
    const MacroBuffer buffer = BuildMacroBuffer({});
    EXPECT_EQ(buffer.length, 64);
    EXPECT_TRUE(AllZeroFrom(buffer, 0));
}

TEST(MacroBuffer, PressDelayReleaseOfA)
{
    const MacroBuffer buffer = BuildMacroBuffer({{Down(kA), Delay(50), Up(kA)}});
    EXPECT_EQ(buffer.length, 72);
    EXPECT_EQ(Slot(buffer, 0), 64);
    EXPECT_EQ(Events(buffer), (Bytes{0x32, 0x00, 0x42, 0x04, 0x0A, 0x00, 0x82, 0x04}));
    EXPECT_TRUE(AllZeroFrom(buffer, 72));
    EXPECT_EQ(Slot(buffer, 1), 0);
}

TEST(MacroBuffer, DelaysBetweenEventsAreSummedAndClamped)
{
    struct Case {
        std::vector<int> delays;
        int expected;
    };
    const Case cases[] = {
        {{}, 10}, {{0}, 10}, {{-5}, 10}, {{1}, 1}, {{30, 40}, 70},
        {{10000}, 10000}, {{10001}, 10000}, {{20000}, 10000}, {{-50, 20}, 10},
        {{2000000000, 2000000000}, 10000},
    };
    for (const Case& c : cases) {
        Macro macro = {Down(kA)};
        for (int d : c.delays)
            macro.push_back(Delay(d));
        macro.push_back(Up(kA));
        const MacroBuffer buffer = BuildMacroBuffer({macro});
        EXPECT_EQ(buffer.bytes[64] | (buffer.bytes[65] << 8), c.expected) << testing::PrintToString(c.delays);
    }
}

TEST(MacroBuffer, EventEncodings)
{
    const MacroBuffer buffer = BuildMacroBuffer({{
        Down(162), Up(162),                    // left Ctrl: modifier bit 0x01
        Down(92), Up(165),                     // right Windows, right Alt
        {MACRO_EVENT_MOUSE_DOWN, 0x102},         // button value, low byte
        {MACRO_EVENT_MOUSE_UP, 2},
        Down(255),                             // not in the usage table
        {9, 77},                               // no encoding: a zero slot
        Down(kB),
    }});
    EXPECT_EQ(Events(buffer), (Bytes{
        0x0A, 0x00, 0x41, 0x01,  0x0A, 0x00, 0x01, 0x01,
        0x0A, 0x00, 0x41, 0x80,  0x0A, 0x00, 0x01, 0x40,
        0x0A, 0x00, 0xC2, 0x02,  0x0A, 0x00, 0x82, 0x02,
        0x0A, 0x00, 0x42, 0x00,  0x0A, 0x00, 0x00, 0x00,
        0x0A, 0x00, 0xC2, 0x05,
    }));
}

TEST(MacroBuffer, DelaysCrossIntoThePreviousMacrosLastEvent)
{
    const MacroBuffer buffer = BuildMacroBuffer({
        {Delay(500), Down(kA), Up(kA)},    // leading delays of the first macro are dropped
        {Delay(7)},                        // delays only: no events, shares the next slot
        {Delay(100), Down(kB), Up(kB)},
        {Down(kA)},
    });
    EXPECT_EQ(buffer.length, 64 + 5 * 4);
    EXPECT_EQ(Slot(buffer, 0), 64);
    EXPECT_EQ(Slot(buffer, 1), 72);
    EXPECT_EQ(Slot(buffer, 2), 72);
    EXPECT_EQ(Slot(buffer, 3), 80);
    EXPECT_EQ(Events(buffer), (Bytes{
        0x0A, 0x00, 0x42, 0x04,  0x65, 0x00, 0x82, 0x04,  // 101 = 1 + the 100 before B
        0x0A, 0x00, 0x42, 0x05,  0x01, 0x00, 0x82, 0x05,  // 1: the next macro starts with an event
        0x0A, 0x00, 0xC2, 0x04,                           // the buffer's last event keeps 10
    }));
}

TEST(MacroBuffer, TrailingDelaysDoNotHideTheEndOfAMacro)
{
    const MacroBuffer buffer = BuildMacroBuffer({
        {Down(kA), Up(kA), Delay(50), Delay(60)},
        {Down(kB), {9, 0}, Delay(5)},
    });
    EXPECT_EQ(Events(buffer), (Bytes{
        0x0A, 0x00, 0x42, 0x04,  0x01, 0x00, 0x82, 0x04,
        0x0A, 0x00, 0x42, 0x05,  0x00, 0x00, 0x80, 0x00,
    }));
}

TEST(MacroBuffer, OnlyTheFirst32MacrosGetSlots)
{
    std::vector<Macro> macros(40, Macro{Down(kA)});
    const MacroBuffer buffer = BuildMacroBuffer(macros);
    EXPECT_EQ(buffer.length, 64 + 32 * 4);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(Slot(buffer, i), 64 + i * 4);
    EXPECT_TRUE(AllZeroFrom(buffer, static_cast<size_t>(buffer.length)));
}

TEST(MacroBuffer, EventsStopAtTheEndOfTheBuffer)
{
    Macro longMacro(900, Down(kA));
    const MacroBuffer buffer = BuildMacroBuffer({longMacro, {Down(kB)}, {Delay(3)}});
    EXPECT_EQ(buffer.length, kEnd);
    EXPECT_EQ(Slot(buffer, 0), 64);
    EXPECT_EQ(Slot(buffer, 1), 0);
    EXPECT_EQ(Slot(buffer, 2), 0);
    EXPECT_EQ(buffer.bytes[kEnd - 2], 0xC2);  // the cut macro ends at the last slot
    EXPECT_EQ(buffer.bytes[kEnd - 1], 0x04);
    EXPECT_EQ(buffer.bytes[kEnd - 6], 0x42);

    // A macro that fills the buffer exactly keeps all its events; the next gets no room.
    Macro fits(MACRO_EVENT_SLOTS - 1, Down(kA));
    const MacroBuffer exact = BuildMacroBuffer({fits, {Down(kB)}, {Down(kA)}});
    EXPECT_EQ(exact.length, kEnd);
    EXPECT_EQ(Slot(exact, 1), kEnd - 4);
    EXPECT_EQ(Slot(exact, 2), 0);
    EXPECT_EQ(exact.bytes[kEnd - 6], 0xC2);
    EXPECT_EQ(exact.bytes[kEnd - 2], 0xC2);
    EXPECT_EQ(exact.bytes[kEnd - 1], 0x05);
}

}  // namespace
