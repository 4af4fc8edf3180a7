#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/device/KeyCodes.h"

namespace {

// The device's key matrix as columns of six rows; 0 is an empty cell and a
// second code sharing a cell is listed apart below.
constexpr int kMatrix[21][6] = {
    {41, 53, 43, 57, 225, 224}, {0, 30, 20, 4, 29, 227},    {58, 31, 26, 22, 27, 226},
    {59, 32, 8, 7, 6, 0},       {60, 33, 21, 9, 25, 0},     {61, 34, 23, 10, 5, 44},
    {62, 35, 28, 11, 17, 0},    {63, 36, 24, 13, 16, 240},  {64, 37, 12, 14, 54, 0},
    {65, 38, 18, 15, 55, 0},    {66, 39, 19, 51, 56, 230},  {67, 45, 47, 52, 0, 255},
    {68, 46, 48, 40, 229, 101}, {69, 42, 49, 0, 100, 228},  {70, 73, 76, 3, 0, 80},
    {71, 74, 77, 2, 82, 81},    {72, 75, 78, 1, 0, 79},     {209, 83, 95, 92, 89, 98},
    {210, 84, 96, 93, 90, 0},   {211, 85, 97, 94, 91, 99},  {212, 86, 87, 0, 88, 243},
};
const std::map<int, int> kSharedCells = {{241, 212}, {242, 240}};

TEST(KeyCodeTables, KeyCodeToPositionCoversTheMatrixAndNothingElse)
{
    std::map<int, int> expected;
    for (int column = 0; column < 21; ++column)
        for (int row = 0; row < 6; ++row)
            if (kMatrix[column][row] != 0)
                expected[kMatrix[column][row]] = column * 6 + row;
    for (const auto& shared : kSharedCells)
        expected[shared.first] = expected.at(shared.second);
    ASSERT_EQ(expected.size(), 116u);

    for (int code = -5; code <= 1024; ++code) {
        const auto it = expected.find(code);
        EXPECT_EQ(KeyCodeToPosition(code), it == expected.end() ? -1 : it->second) << "code " << code;
    }
    EXPECT_EQ(KeyCodeToPosition(41), 0);    // Esc
    EXPECT_EQ(KeyCodeToPosition(58), 12);   // F1
    EXPECT_EQ(KeyCodeToPosition(20), 8);    // Q
    EXPECT_EQ(KeyCodeToPosition(83), 103);  // Num Lock
    EXPECT_EQ(KeyCodeToPosition(240), 47);
    EXPECT_EQ(KeyCodeToPosition(242), 47);
    EXPECT_EQ(KeyCodeToPosition(212), 120);
    EXPECT_EQ(KeyCodeToPosition(241), 120);
    EXPECT_EQ(KeyCodeToPosition(500), -1);
}

TEST(KeyCodeTables, ModifierToBitMapsVirtualKeysAndUsagesAndPassesOthersThrough)
{
    struct Case {
        int virtualKey, usage, bit;
    };
    const Case cases[] = {{162, 224, 0x01}, {160, 225, 0x02}, {164, 226, 0x04}, {91, 227, 0x08},
                          {163, 228, 0x10}, {161, 229, 0x20}, {165, 230, 0x40}, {92, 231, 0x80}};
    for (const Case& c : cases) {
        EXPECT_EQ(ModifierToBit(c.virtualKey), c.bit) << c.virtualKey;
        EXPECT_EQ(ModifierToBit(c.usage), c.bit) << c.usage;
    }
    for (int passThrough : {0, 0x05, 0x03, 4, 93, 166, 232, 1000, -1})
        EXPECT_EQ(ModifierToBit(passThrough), passThrough);
}

TEST(KeyCodeTables, GetKeyNameNamesExactly123Codes)
{
    std::map<int, std::wstring> expected = {
        {1, L"Previous"}, {2, L"Next"}, {3, L"Play/Pause"},
        {40, L"Enter"}, {41, L"Esc"}, {42, L"Backspace"}, {43, L"Tab"}, {44, L"Space"},
        {45, L"_-"}, {46, L"+="}, {47, L"{["}, {48, L"}]"}, {49, L"|\\"},
        {51, L":;"}, {52, L"\"'"}, {53, L"~"}, {54, L"<,"}, {55, L">."}, {56, L"?/"}, {57, L"Caps"},
        {70, L"PrtSc"}, {71, L"Scrl"}, {72, L"Pause"}, {73, L"Ins"}, {74, L"Home"}, {75, L"PgUp"},
        {76, L"Delete"}, {77, L"End"}, {78, L"PgDn"},
        {79, L"\u2192"}, {80, L"\u2190"}, {81, L"\u2193"}, {82, L"\u2191"},
        {83, L"Num Lock"}, {84, L"Num /"}, {85, L"Num *"}, {86, L"Num -"}, {87, L"Num +"},
        {88, L"Num Enter"}, {98, L"Num 0"}, {99, L"Num ."}, {101, L"App"}, {175, L"Fn"},
        {224, L"Ctrl"}, {225, L"Shift"}, {226, L"Alt"}, {227, L"Win"},
        {228, L"Ctrl"}, {229, L"Shift"}, {230, L"Alt"},
        {240, L"Mute"}, {241, L"Vol+"}, {242, L"Mute"}, {243, L"Vol-"},
        {39, L"0"},
    };
    for (int i = 0; i < 26; ++i)
        expected[4 + i] = std::wstring(1, static_cast<wchar_t>(L'A' + i));
    for (int i = 0; i < 9; ++i) {
        expected[30 + i] = std::to_wstring(i + 1);
        expected[89 + i] = L"Num " + std::to_wstring(i + 1);
    }
    for (int i = 0; i < 12; ++i) {
        expected[58 + i] = L"F" + std::to_wstring(i + 1);
        expected[104 + i] = L"F" + std::to_wstring(i + 13);
    }
    ASSERT_EQ(expected.size(), 123u);

    for (int code = -1; code <= 1024; ++code) {
        const auto it = expected.find(code);
        EXPECT_EQ(GetKeyName(code).GetStdString(), it == expected.end() ? L"" : it->second) << "code " << code;
    }
}

TEST(KeyCodeTables, VirtualKeyToUsageTranslatesTheWholeTable)
{
    std::map<int, int> expected = {
        {48, 39}, {13, 40}, {27, 41}, {8, 42}, {9, 43}, {32, 44},
        {189, 45}, {187, 46}, {219, 47}, {221, 48}, {220, 49}, {666, 50},
        {186, 51}, {222, 52}, {192, 53}, {188, 54}, {190, 55}, {191, 56}, {20, 57},
        {44, 70}, {145, 71}, {19, 72}, {45, 73}, {36, 74}, {33, 75}, {46, 76}, {35, 77}, {34, 78},
        {39, 79}, {37, 80}, {40, 81}, {38, 82},
        {144, 83}, {111, 84}, {106, 85}, {109, 86}, {107, 87}, {108, 88}, {96, 98}, {110, 99},
        {162, 224}, {160, 225}, {164, 226}, {91, 227}, {163, 228}, {161, 229}, {165, 230}, {92, 231},
        {93, 101}, {226, 100}, {254, 175},
        {136, 136}, {137, 137}, {138, 138}, {139, 139}, {301, 236}, {302, 235},
    };
    for (int vk = 'A'; vk <= 'Z'; ++vk)
        expected[vk] = vk - 'A' + 4;
    for (int vk = '1'; vk <= '9'; ++vk)
        expected[vk] = vk - '1' + 30;
    for (int i = 0; i < 12; ++i) {
        expected[112 + i] = 58 + i;   // F1-F12
        expected[124 + i] = 104 + i;  // F13-F24
    }
    for (int i = 0; i < 9; ++i)
        expected[97 + i] = 89 + i;  // keypad 1-9

    for (int vk = -1; vk <= 1024; ++vk) {
        const auto it = expected.find(vk);
        EXPECT_EQ(VirtualKeyToUsage(&vk), it == expected.end() ? 0 : it->second) << "virtual key " << vk;
    }
    EXPECT_EQ(VirtualKeyToUsage(nullptr), 0);
}

}  // namespace
