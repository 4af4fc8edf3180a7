#pragma once

// The device's key map and the encoding of one stored key assignment into
// its 3-byte entry.

#include <cstdint>
#include <map>
#include <vector>

#include "app/device/DeviceReport.h"

struct KeyMacroData;

// The key map (KEYMAP_SIZE bytes) holds an entry [kind, a, b] per position and
// Fn layer; the entry of position p on layer l starts at p * 6 + l * 3.

// Entry kinds (byte 0 of an entry).
constexpr uint8_t KEY_ENTRY_KEYBOARD = 0x10;
constexpr uint8_t KEY_ENTRY_MOUSE_BUTTONS = 0x20;
constexpr uint8_t KEY_ENTRY_MOUSE_WHEEL = 0x21;
constexpr uint8_t KEY_ENTRY_CONSUMER = 0x30;
constexpr uint8_t KEY_ENTRY_VALUE_7 = 0x50;
constexpr uint8_t KEY_ENTRY_VALUE_8_9 = 0x60;
constexpr uint8_t KEY_ENTRY_MACRO = 0x70;
constexpr uint8_t KEY_ENTRY_DEVICE_FUNCTION = 0xF0;

// macro_type of a stored key assignment.
enum KeyAssignType {
    ASSIGN_NONE = 0,       // the key keeps what the device holds
    ASSIGN_OFF = 1,        // the "Null" item: the key does nothing
    ASSIGN_KEY = 2,        // keyboard key with modifiers
    ASSIGN_MOUSE = 4,      // mouse button or wheel
    ASSIGN_CONSUMER = 5,   // HID consumer usage
    ASSIGN_SHORTCUT = 6,   // system shortcut
    ASSIGN_VALUE_7 = 7,
    ASSIGN_VALUE_8 = 8,
    ASSIGN_VALUE_9 = 9,
    ASSIGN_MACRO = 12,     // macro, by its slot
    ASSIGN_FUNCTION = 14,  // multimedia and device function
};

// Writes the entry of (position, layer) for one assignment. `macroIdsBySlot`
// lists the store's macro ids in list order: a macro's slot is its index
// there. Types and values the encoder does not know, a macro that no longer
// exists or has no slot, and positions outside the map leave the device's
// bytes as they are; but a mouse assignment's unknown value writes a mouse
// entry without buttons, and a shortcut's unknown value makes the entry a
// keyboard key that keeps the device's other two bytes.
void EncodeKeyEntry(int position, int layer, uint8_t* keyMap, const KeyMacroData& row,
                    const std::vector<int>& macroIdsBySlot);

// Where a key sits in the device's key map and colour tables: the layout
// file's position when it lists the key code, else the built-in table's.
// May be -1 or outside the map; callers skip such keys.
int KeyPosition(const std::map<int, int>& layoutKeyMap, int keyCode);
