#include "app/device/KeyMapEncoder.h"

#include <algorithm>
#include <cstddef>

#include "app/device/KeyCodes.h"
#include "app/store/ConfigRows.h"

namespace {

struct Entry {
    uint8_t kind;
    uint8_t a;
    uint8_t b;
};

constexpr uint8_t LowByte(int value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

constexpr int kFirstModifierUsage = 0xE0;
constexpr int kLastModifierUsage = 0xE7;

struct ValueEntry {
    int value;
    Entry entry;
};

// Mouse functions: buttons 1 (left), 3 (middle), 2 (right), wheel, 5 and 4.
constexpr ValueEntry kMouseEntries[] = {
    {1, {KEY_ENTRY_MOUSE_BUTTONS, 0x01, 0}},
    {2, {KEY_ENTRY_MOUSE_BUTTONS, 0x04, 0}},
    {3, {KEY_ENTRY_MOUSE_BUTTONS, 0x02, 0}},
    {5, {KEY_ENTRY_MOUSE_WHEEL, 0, 0x01}},
    {6, {KEY_ENTRY_MOUSE_WHEEL, 0, 0xFF}},
    {7, {KEY_ENTRY_MOUSE_BUTTONS, 0x10, 0}},
    {8, {KEY_ENTRY_MOUSE_BUTTONS, 0x08, 0}},
};

// System shortcuts: modifier bits and usage of a key chord.
constexpr ValueEntry kShortcutEntries[] = {
    {1, {KEY_ENTRY_KEYBOARD, 0x08, 0x07}},        // Windows + D
    {2, {KEY_ENTRY_KEYBOARD, 0x08, 0x08}},        // Windows + E
    {3, {KEY_ENTRY_KEYBOARD, 0x08, 0x0F}},        // Windows + L
    {4, {KEY_ENTRY_KEYBOARD, 0x01, 0x1A}},        // Ctrl + W
    {5, {KEY_ENTRY_DEVICE_FUNCTION, 0xA6, 0}},
    {6, {KEY_ENTRY_KEYBOARD, 0x01, 0x06}},        // Ctrl + C
    {7, {KEY_ENTRY_KEYBOARD, 0x01, 0x19}},        // Ctrl + V
    {8, {KEY_ENTRY_KEYBOARD, 0x01, 0x1B}},        // Ctrl + X
    {13, {KEY_ENTRY_KEYBOARD, 0x02, 0x02}},
    {14, {KEY_ENTRY_KEYBOARD, 0x02, 0x01}},
};

constexpr ValueEntry kFunctionEntries[] = {
    {1, {KEY_ENTRY_DEVICE_FUNCTION, 0x10, 0}},
    {2, {KEY_ENTRY_DEVICE_FUNCTION, 0x3D, 0}},
    {3, {KEY_ENTRY_CONSUMER, 0xCD, 0}},           // Play/Pause
    {4, {KEY_ENTRY_CONSUMER, 0xE2, 0}},           // Mute
    {5, {KEY_ENTRY_CONSUMER, 0x27, 0x02}},        // AC Refresh
    {6, {KEY_ENTRY_KEYBOARD, 0x01, 0x16}},        // Ctrl + S
    {7, {KEY_ENTRY_DEVICE_FUNCTION, 0x26, 0}},
    {8, {KEY_ENTRY_DEVICE_FUNCTION, 0x25, 0}},
    {9, {KEY_ENTRY_DEVICE_FUNCTION, 0x3F, 0}},
    {10, {KEY_ENTRY_DEVICE_FUNCTION, 0x3E, 0}},
    {11, {KEY_ENTRY_CONSUMER, 0xB5, 0}},          // Scan Next Track
    {12, {KEY_ENTRY_CONSUMER, 0xB6, 0}},          // Scan Previous Track
    {13, {KEY_ENTRY_CONSUMER, 0xEA, 0}},          // Volume Decrement
    {14, {KEY_ENTRY_CONSUMER, 0xE9, 0}},          // Volume Increment
    {15, {KEY_ENTRY_CONSUMER, 0x24, 0x02}},       // AC Back
    {16, {KEY_ENTRY_CONSUMER, 0x25, 0x02}},       // AC Forward
    {17, {KEY_ENTRY_KEYBOARD, 0x01, 0x06}},       // Ctrl + C
    {18, {KEY_ENTRY_KEYBOARD, 0x01, 0x19}},       // Ctrl + V
};

template <size_t N>
bool LookUp(const ValueEntry (&table)[N], int value, Entry& out)
{
    for (const ValueEntry& candidate : table) {
        if (candidate.value == value) {
            out = candidate.entry;
            return true;
        }
    }
    return false;
}

// The entry for a row, starting from the device's entry in out; false when
// the device's entry must stay as it is.
bool EntryFor(const KeyMacroData& row, const std::vector<int>& macroIdsBySlot, Entry& out)
{
    const int v = row.macro_value;
    switch (row.macro_type) {
    case ASSIGN_OFF:
        out = {KEY_ENTRY_KEYBOARD, 0, 0};
        return true;
    case ASSIGN_KEY:
        if (row.macro_value2 == 0 && v >= kFirstModifierUsage && v <= kLastModifierUsage)
            out = {KEY_ENTRY_KEYBOARD, LowByte(ModifierToBit(v)), 0};
        else
            out = {KEY_ENTRY_KEYBOARD, LowByte(ModifierToBit(row.macro_value2)), LowByte(v)};
        return true;
    case ASSIGN_MOUSE:
        // A value the table lacks still makes the key a mouse key, with no
        // button: what the device held there must not survive the assignment.
        if (!LookUp(kMouseEntries, v, out))
            out = {KEY_ENTRY_MOUSE_BUTTONS, 0, 0};
        return true;
    case ASSIGN_CONSUMER:
        out = {KEY_ENTRY_CONSUMER, LowByte(v), LowByte(v >> 8)};
        return true;
    case ASSIGN_SHORTCUT:
        // A shortcut the table lacks still makes the key a keyboard key; its
        // modifier and usage bytes stay as the device holds them.
        if (!LookUp(kShortcutEntries, v, out))
            out.kind = KEY_ENTRY_KEYBOARD;
        return true;
    case ASSIGN_VALUE_7:
        out = {KEY_ENTRY_VALUE_7, LowByte(v), 0};
        return true;
    case ASSIGN_VALUE_8:
    case ASSIGN_VALUE_9:
        out = {KEY_ENTRY_VALUE_8_9, LowByte(v), 0};
        return true;
    case ASSIGN_MACRO: {
        const auto found = std::find(macroIdsBySlot.begin(), macroIdsBySlot.end(), v);
        const auto slot = found - macroIdsBySlot.begin();
        if (found == macroIdsBySlot.end() || slot >= static_cast<std::ptrdiff_t>(MACRO_SLOT_COUNT))
            return false;
        out = {KEY_ENTRY_MACRO, static_cast<uint8_t>(slot), LowByte(row.macro_value2)};
        return true;
    }
    case ASSIGN_FUNCTION:
        return LookUp(kFunctionEntries, v, out);
    default:
        return false;
    }
}

}  // namespace

void EncodeKeyEntry(int position, int layer, uint8_t* keyMap, const KeyMacroData& row,
                    const std::vector<int>& macroIdsBySlot)
{
    if (!keyMap || position < 0 || position >= static_cast<int>(KEYMAP_POSITIONS) || layer < 0 ||
        layer >= static_cast<int>(KEYMAP_LAYERS))
        return;
    uint8_t* at = keyMap + static_cast<size_t>(position) * KEYMAP_LAYERS * KEYMAP_ENTRY_SIZE +
                  static_cast<size_t>(layer) * KEYMAP_ENTRY_SIZE;
    Entry entry{at[0], at[1], at[2]};
    if (!EntryFor(row, macroIdsBySlot, entry))
        return;
    at[0] = entry.kind;
    at[1] = entry.a;
    at[2] = entry.b;
}

int KeyPosition(const std::map<int, int>& layoutKeyMap, int keyCode)
{
    const auto it = layoutKeyMap.find(keyCode);
    return it != layoutKeyMap.end() ? it->second : KeyCodeToPosition(keyCode);
}
