#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Layout of the request and reply reports exchanged with the keyboard and the
// keypad, the command codes, and the sizes of the blocks they move.
//
// Request (65 bytes; bytes 1..64 are the frame the device receives):
//   0 report id (0) | 1 marker 0x55 | 2 command | 3 flag | 4 checksum
//   5 chunk length | 6..7 chunk offset (LE) | 8 zero | 9..64 payload (56 bytes)
// Reply (hidapi strips the report id, so it starts at byte 0):
//   0 acknowledgement 0xAA | 1..7 the device's header | 8..63 data (56 bytes)

constexpr size_t REPORT_SIZE = 65;        // report id + one 64-byte frame
constexpr size_t REPORT_FRAME_SIZE = 64;  // what a request without payload sends
constexpr size_t REPLY_SIZE = 64;         // input reports carry no report id

using HidReport = std::array<uint8_t, REPORT_SIZE>;

constexpr uint8_t REPORT_ID = 0x00;
constexpr uint8_t REPORT_MARKER = 0x55;
constexpr uint8_t REPORT_ACK = 0xAA;

// Byte positions in a request.
constexpr size_t REQ_REPORT_ID = 0;
constexpr size_t REQ_MARKER = 1;
constexpr size_t REQ_COMMAND = 2;
constexpr size_t REQ_FLAG = 3;
constexpr size_t REQ_CHECKSUM = 4;
constexpr size_t REQ_LENGTH = 5;
constexpr size_t REQ_OFFSET_LO = 6;
constexpr size_t REQ_OFFSET_HI = 7;
constexpr size_t REQ_RESERVED = 8;
constexpr size_t REQ_PAYLOAD = 9;
constexpr size_t REQ_CHECKSUM_FIRST = 5;  // the checksum sums from here to the last byte sent

// Byte positions in a reply.
constexpr size_t REPLY_ACK = 0;
constexpr size_t REPLY_DATA = 8;

// Request byte n travels as reply byte n - 1 (the reply has no report id).
constexpr size_t REPLY_TO_REQUEST_SHIFT = 1;

// Where a reply mirrors the request's header.
constexpr size_t REPLY_COMMAND = REQ_COMMAND - REPLY_TO_REQUEST_SHIFT;
constexpr size_t REPLY_OFFSET_LO = REQ_OFFSET_LO - REPLY_TO_REQUEST_SHIFT;
constexpr size_t REPLY_OFFSET_HI = REQ_OFFSET_HI - REPLY_TO_REQUEST_SHIFT;

constexpr size_t CHUNK_DATA_SIZE = 56;  // payload of a request, data of a reply

enum DeviceCommand : uint8_t {
    CMD_BEGIN = 0x01,
    CMD_END = 0x02,
    CMD_READ_SETTINGS = 0x05,
    CMD_WRITE_SETTINGS = 0x06,
    CMD_READ_KEYMAP = 0x07,
    CMD_WRITE_KEYMAP = 0x09,
    CMD_WRITE_KEY_COLORS = 0x0B,
    CMD_WRITE_MACROS = 0x0D,
    CMD_WRITE_LIVE_COLORS = 0xDD,
    CMD_READ_LIVE_COLORS = 0xDE,
    CMD_FACTORY_RESET = 0xEE,
};

// Blocks held by each device.
constexpr size_t SETTINGS_BLOCK_SIZE = CHUNK_DATA_SIZE;  // one reply's data
constexpr uint8_t SETTINGS_READ_LENGTH = 0x20;           // length field of the read request
constexpr size_t KEYMAP_POSITIONS = 128;
constexpr size_t KEYMAP_LAYERS = 2;
constexpr size_t KEYMAP_ENTRY_SIZE = 3;
constexpr size_t KEYMAP_SIZE = KEYMAP_POSITIONS * KEYMAP_LAYERS * KEYMAP_ENTRY_SIZE;  // 768
constexpr size_t MACRO_BUFFER_SIZE = 3584;
constexpr size_t MACRO_SLOT_COUNT = 32;
constexpr size_t COLOR_POSITIONS = 128;
constexpr size_t COLOR_TABLE_SIZE = COLOR_POSITIONS * 3;     // 384, red/green/blue per position
constexpr size_t SINGLE_COLOR_TABLE_SIZE = COLOR_POSITIONS;  // 128, one on/off byte per position

// Positions inside the settings block (block byte k is request byte 9 + k and
// reply byte 8 + k).
constexpr size_t SETTINGS_MODE = 2;
constexpr size_t SETTINGS_BRIGHTNESS = 3;
constexpr size_t SETTINGS_SPEED = 4;
constexpr size_t SETTINGS_DIRECTION = 5;
constexpr size_t SETTINGS_COLORFUL = 6;
constexpr size_t SETTINGS_COLORINDEX = 7;
constexpr size_t SETTINGS_RED = 8;
constexpr size_t SETTINGS_GREEN = 9;
constexpr size_t SETTINGS_BLUE = 10;
constexpr size_t SETTINGS_SLEEP_TIME = 15;
constexpr size_t SETTINGS_KEY_LOCKS = 17;

constexpr uint8_t KEY_LOCK_WINDOWS = 0x01;
constexpr uint8_t KEY_LOCK_ALT_F4 = 0x02;
constexpr uint8_t KEY_LOCK_ALT_TAB = 0x04;

// Number of requests that move a block of blockLength bytes.
constexpr size_t ChunkCount(size_t blockLength)
{
    return (blockLength + CHUNK_DATA_SIZE - 1) / CHUNK_DATA_SIZE;
}

// Low 8 bits of the sum of bytes 5 .. length - 1 (length is 65 or 64).
uint8_t ReportChecksum(const HidReport& report, size_t length);

// A zeroed request with marker, command, length and offset set; no payload.
HidReport MakeRequest(DeviceCommand command, uint8_t length = 0, uint16_t offset = 0);

// Request `chunk` of a block of blockLength bytes: offset chunk * 56, length 56
// (the last chunk the rest), and as payload the 56 bytes of the sender's buffer
// that start at the offset, even past the block's end (the device ignores them).
// Payload bytes beyond sourceSize stay zero. A null source gives no payload.
HidReport MakeChunkRequest(DeviceCommand command, const uint8_t* source, size_t sourceSize,
                           size_t blockLength, size_t chunk);

// The request that restores a device to its factory state.
HidReport MakeFactoryResetRequest();

inline bool IsAcknowledged(const HidReport& reply)
{
    return reply[REPLY_ACK] == REPORT_ACK;
}

// Whether a report read after `request` was sent is its answer. A reply whose
// read gave up stays queued and reaches the next read, so a reply carrying
// another command answers an earlier request; an acknowledged reply to a read
// must also carry the offset of the chunk asked for, or its data would land
// in the wrong place. A refusal counts by its command alone: no data is taken
// from it.
bool IsReplyTo(const HidReport& reply, const HidReport& request);
