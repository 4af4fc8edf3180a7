#include "app/device/KeyCodes.h"

#include <array>
#include <cstdint>

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 21;
constexpr int kMaxTableCode = 255;

struct CodeAt {
    uint8_t code;
    uint8_t position;
};

constexpr uint8_t Pos(int column, int row)
{
    return static_cast<uint8_t>(column * kRows + row);
}

// Every key code the device map knows, with its column and row. Two pairs
// share a position: 212 and 241, 240 and 242.
constexpr CodeAt kPositions[] = {
    // row 0: Esc, F1-F12, PrtSc, Scrl, Pause, the four keys above the keypad
    {41, Pos(0, 0)},   {58, Pos(2, 0)},   {59, Pos(3, 0)},   {60, Pos(4, 0)},   {61, Pos(5, 0)},
    {62, Pos(6, 0)},   {63, Pos(7, 0)},   {64, Pos(8, 0)},   {65, Pos(9, 0)},   {66, Pos(10, 0)},
    {67, Pos(11, 0)},  {68, Pos(12, 0)},  {69, Pos(13, 0)},  {70, Pos(14, 0)},  {71, Pos(15, 0)},
    {72, Pos(16, 0)},  {209, Pos(17, 0)}, {210, Pos(18, 0)}, {211, Pos(19, 0)}, {212, Pos(20, 0)},
    {241, Pos(20, 0)},
    // row 1: digits
    {53, Pos(0, 1)},   {30, Pos(1, 1)},   {31, Pos(2, 1)},   {32, Pos(3, 1)},   {33, Pos(4, 1)},
    {34, Pos(5, 1)},   {35, Pos(6, 1)},   {36, Pos(7, 1)},   {37, Pos(8, 1)},   {38, Pos(9, 1)},
    {39, Pos(10, 1)},  {45, Pos(11, 1)},  {46, Pos(12, 1)},  {42, Pos(13, 1)},  {73, Pos(14, 1)},
    {74, Pos(15, 1)},  {75, Pos(16, 1)},  {83, Pos(17, 1)},  {84, Pos(18, 1)},  {85, Pos(19, 1)},
    {86, Pos(20, 1)},
    // row 2: Tab row
    {43, Pos(0, 2)},   {20, Pos(1, 2)},   {26, Pos(2, 2)},   {8, Pos(3, 2)},    {21, Pos(4, 2)},
    {23, Pos(5, 2)},   {28, Pos(6, 2)},   {24, Pos(7, 2)},   {12, Pos(8, 2)},   {18, Pos(9, 2)},
    {19, Pos(10, 2)},  {47, Pos(11, 2)},  {48, Pos(12, 2)},  {49, Pos(13, 2)},  {76, Pos(14, 2)},
    {77, Pos(15, 2)},  {78, Pos(16, 2)},  {95, Pos(17, 2)},  {96, Pos(18, 2)},  {97, Pos(19, 2)},
    {87, Pos(20, 2)},
    // row 3: Caps row and the media keys
    {57, Pos(0, 3)},   {4, Pos(1, 3)},    {22, Pos(2, 3)},   {7, Pos(3, 3)},    {9, Pos(4, 3)},
    {10, Pos(5, 3)},   {11, Pos(6, 3)},   {13, Pos(7, 3)},   {14, Pos(8, 3)},   {15, Pos(9, 3)},
    {51, Pos(10, 3)},  {52, Pos(11, 3)},  {40, Pos(12, 3)},  {3, Pos(14, 3)},   {2, Pos(15, 3)},
    {1, Pos(16, 3)},   {92, Pos(17, 3)},  {93, Pos(18, 3)},  {94, Pos(19, 3)},
    // row 4: Shift row
    {225, Pos(0, 4)},  {29, Pos(1, 4)},   {27, Pos(2, 4)},   {6, Pos(3, 4)},    {25, Pos(4, 4)},
    {5, Pos(5, 4)},    {17, Pos(6, 4)},   {16, Pos(7, 4)},   {54, Pos(8, 4)},   {55, Pos(9, 4)},
    {56, Pos(10, 4)},  {229, Pos(12, 4)}, {100, Pos(13, 4)}, {82, Pos(15, 4)},  {89, Pos(17, 4)},
    {90, Pos(18, 4)},  {91, Pos(19, 4)},  {88, Pos(20, 4)},
    // row 5: bottom row and the round control key
    {224, Pos(0, 5)},  {227, Pos(1, 5)},  {226, Pos(2, 5)},  {44, Pos(5, 5)},   {240, Pos(7, 5)},
    {242, Pos(7, 5)},  {230, Pos(10, 5)}, {255, Pos(11, 5)}, {101, Pos(12, 5)}, {228, Pos(13, 5)},
    {80, Pos(14, 5)},  {81, Pos(15, 5)},  {79, Pos(16, 5)},  {98, Pos(17, 5)},  {99, Pos(19, 5)},
    {243, Pos(20, 5)},
};
static_assert(sizeof(kPositions) / sizeof(kPositions[0]) == 116, "the device map knows 116 key codes");
static_assert(Pos(kColumns - 1, kRows - 1) == 125, "positions end at 125");

struct ModifierBit {
    int virtualKey;
    int usage;
    int bit;
};

constexpr ModifierBit kModifiers[] = {
    {162, 224, 0x01},  // left Ctrl
    {160, 225, 0x02},  // left Shift
    {164, 226, 0x04},  // left Alt
    {91, 227, 0x08},   // left Windows
    {163, 228, 0x10},  // right Ctrl
    {161, 229, 0x20},  // right Shift
    {165, 230, 0x40},  // right Alt
    {92, 231, 0x80},   // right Windows
};

struct KeyName {
    int code;
    const wchar_t* name;
};

constexpr KeyName kNames[] = {
    {1, L"Previous"}, {2, L"Next"}, {3, L"Play/Pause"},
    {40, L"Enter"}, {41, L"Esc"}, {42, L"Backspace"}, {43, L"Tab"}, {44, L"Space"},
    {45, L"_-"}, {46, L"+="}, {47, L"{["}, {48, L"}]"}, {49, L"|\\"},
    {51, L":;"}, {52, L"\"'"}, {53, L"~"}, {54, L"<,"}, {55, L">."}, {56, L"?/"},
    {57, L"Caps"},
    {70, L"PrtSc"}, {71, L"Scrl"}, {72, L"Pause"}, {73, L"Ins"}, {74, L"Home"},
    {75, L"PgUp"}, {76, L"Delete"}, {77, L"End"}, {78, L"PgDn"},
    {79, L"\u2192"}, {80, L"\u2190"}, {81, L"\u2193"}, {82, L"\u2191"},
    {83, L"Num Lock"}, {84, L"Num /"}, {85, L"Num *"}, {86, L"Num -"}, {87, L"Num +"},
    {88, L"Num Enter"}, {98, L"Num 0"}, {99, L"Num ."},
    {101, L"App"}, {175, L"Fn"},
    {224, L"Ctrl"}, {225, L"Shift"}, {226, L"Alt"}, {227, L"Win"},
    {228, L"Ctrl"}, {229, L"Shift"}, {230, L"Alt"},
    {240, L"Mute"}, {241, L"Vol+"}, {242, L"Mute"}, {243, L"Vol-"},
};

struct UsageOf {
    int virtualKey;
    int usage;
};

// Single virtual keys; the contiguous ranges are handled in VirtualKeyToUsage.
// 666, 254, 301 and 302 are the program's own codes for keys that have no
// virtual key of their own.
constexpr UsageOf kSingleUsages[] = {
    {48, 39},
    {13, 40}, {27, 41}, {8, 42}, {9, 43}, {32, 44},
    {189, 45}, {187, 46}, {219, 47}, {221, 48}, {220, 49},
    {666, 50},
    {186, 51}, {222, 52}, {192, 53}, {188, 54}, {190, 55}, {191, 56}, {20, 57},
    {44, 70}, {145, 71}, {19, 72}, {45, 73}, {36, 74}, {33, 75}, {46, 76}, {35, 77}, {34, 78},
    {39, 79}, {37, 80}, {40, 81}, {38, 82},
    {144, 83}, {111, 84}, {106, 85}, {109, 86}, {107, 87}, {108, 88},
    {96, 98}, {110, 99},
    {162, 224}, {160, 225}, {164, 226}, {91, 227}, {163, 228}, {161, 229}, {165, 230}, {92, 231},
    {93, 101}, {226, 100},
    {254, 175},
    {136, 136}, {137, 137}, {138, 138}, {139, 139},
    {301, 236}, {302, 235},
};

struct UsageRange {
    int firstVirtualKey;
    int lastVirtualKey;
    int firstUsage;
};

constexpr UsageRange kUsageRanges[] = {
    {65, 90, 4},     // A-Z
    {49, 57, 30},    // 1-9
    {112, 123, 58},  // F1-F12
    {124, 135, 104}, // F13-F24
    {97, 105, 89},   // keypad 1-9
};

std::array<int8_t, kMaxTableCode + 1> BuildPositionTable()
{
    std::array<int8_t, kMaxTableCode + 1> table{};
    table.fill(-1);
    for (const CodeAt& entry : kPositions)
        table[entry.code] = static_cast<int8_t>(entry.position);
    return table;
}

}  // namespace

int KeyCodeToPosition(int keyCode)
{
    static const std::array<int8_t, kMaxTableCode + 1> table = BuildPositionTable();
    if (keyCode <= 0 || keyCode > kMaxTableCode)
        return -1;
    return table[static_cast<size_t>(keyCode)];
}

int ModifierToBit(int code)
{
    for (const ModifierBit& m : kModifiers) {
        if (code == m.virtualKey || code == m.usage)
            return m.bit;
    }
    return code;
}

CString GetKeyName(int keyCode)
{
    if (keyCode >= 4 && keyCode <= 29)
        return CString(static_cast<wchar_t>(L'A' + (keyCode - 4)));
    if (keyCode >= 30 && keyCode <= 38)
        return CString(static_cast<wchar_t>(L'1' + (keyCode - 30)));
    if (keyCode == 39)
        return CString(L"0");
    if (keyCode >= 58 && keyCode <= 69) {
        CString name;
        name.Format(L"F%d", keyCode - 58 + 1);
        return name;
    }
    if (keyCode >= 89 && keyCode <= 97) {
        CString name;
        name.Format(L"Num %d", keyCode - 89 + 1);
        return name;
    }
    if (keyCode >= 104 && keyCode <= 115) {
        CString name;
        name.Format(L"F%d", keyCode - 104 + 13);
        return name;
    }
    for (const KeyName& entry : kNames) {
        if (entry.code == keyCode)
            return CString(entry.name);
    }
    return CString();
}

int VirtualKeyToUsage(const int* virtualKey)
{
    if (!virtualKey)
        return 0;
    const int vk = *virtualKey;
    for (const UsageRange& range : kUsageRanges) {
        if (vk >= range.firstVirtualKey && vk <= range.lastVirtualKey)
            return range.firstUsage + (vk - range.firstVirtualKey);
    }
    for (const UsageOf& entry : kSingleUsages) {
        if (entry.virtualKey == vk)
            return entry.usage;
    }
    return 0;
}

bool IsModifierVirtualKey(int virtualKey)
{
    for (const ModifierBit& m : kModifiers) {
        if (virtualKey == m.virtualKey)
            return true;
    }
    return false;
}
