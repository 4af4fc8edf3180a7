#pragma once

// The device's macro buffer: a table of 32 slot offsets followed by the
// events of every macro, 4 bytes each.

#include <array>
#include <cstdint>
#include <vector>

#include "app/device/DeviceReport.h"

// MACRO_BUFFER_SIZE bytes: MACRO_SLOT_COUNT little-endian 16-bit offsets, then the events.
constexpr int MACRO_SLOT_TABLE_SIZE = static_cast<int>(MACRO_SLOT_COUNT) * 2;
constexpr int MACRO_EVENT_SIZE = 4;  // delay (16 bits LE), flags, code
constexpr int MACRO_EVENT_SLOTS =
    (static_cast<int>(MACRO_BUFFER_SIZE) - MACRO_SLOT_TABLE_SIZE) / MACRO_EVENT_SIZE;  // 880

// Event flags (byte 2 of an event).
constexpr uint8_t MACRO_FLAG_KEY_RELEASE = 0x02;
constexpr uint8_t MACRO_FLAG_MODIFIER_RELEASE = 0x01;
constexpr uint8_t MACRO_FLAG_PRESS = 0x40;
constexpr uint8_t MACRO_FLAG_MOUSE_PRESS = 0xC2;
constexpr uint8_t MACRO_FLAG_MOUSE_RELEASE = 0x82;
constexpr uint8_t MACRO_FLAG_LAST_EVENT = 0x80;

// Event delays in milliseconds.
constexpr int MACRO_DEFAULT_DELAY_MS = 10;
constexpr int MACRO_MAX_DELAY_MS = 10000;

// Types of recorded macro events.
enum MacroEventType {
    MACRO_EVENT_DELAY = 1,       // value: milliseconds
    MACRO_EVENT_KEY_DOWN = 2,    // value: virtual-key code
    MACRO_EVENT_KEY_UP = 3,
    MACRO_EVENT_MOUSE_DOWN = 4,  // value: button value
    MACRO_EVENT_MOUSE_UP = 5,
};

struct MacroEvent {
    int type;
    int value;
};

struct MacroBuffer {
    std::array<uint8_t, MACRO_BUFFER_SIZE> bytes{};
    int length = MACRO_SLOT_TABLE_SIZE;  // slot table plus the event slots used
};

// Builds the buffer from the events of every macro, in slot order. Only the
// first 32 macros get a slot. Events that do not fit end the macro that was
// being written (its last stored event carries the end flag) and every later
// macro gets an empty slot (offset 0).
MacroBuffer BuildMacroBuffer(const std::vector<std::vector<MacroEvent>>& macros);
