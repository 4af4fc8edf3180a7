#include "app/device/DeviceLink.h"

#include <algorithm>
#include <array>

#include "app/device/KeyMapEncoder.h"
#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"

namespace {

constexpr size_t COLOR_CHUNKS = ChunkCount(COLOR_TABLE_SIZE);                // 7, the last one 48 bytes
constexpr size_t SINGLE_COLOR_CHUNKS = ChunkCount(SINGLE_COLOR_TABLE_SIZE);  // 3: 56, 56, 16
// Working tables reach past the colour table: the chunks always carry 56 bytes.
constexpr size_t COLOR_BUFFER_SIZE = COLOR_CHUNKS * CHUNK_DATA_SIZE;
constexpr uint8_t SINGLE_COLOR_LIT = 0xFF;

// Pauses of the live frames, in milliseconds.
constexpr uint32_t SINGLE_COLOR_CHUNK_SLEEP_MS = 2;
constexpr uint32_t LIVE_FRAME_SLEEP_MS = 10;

using ColorBuffer = std::array<uint8_t, COLOR_BUFFER_SIZE>;

bool IsPosition(int position)
{
    return position >= 0 && position < static_cast<int>(COLOR_POSITIONS);
}

void PutColor(ColorBuffer& table, int position, uint32_t color)
{
    uint8_t* at = table.data() + static_cast<size_t>(position) * 3;
    at[0] = static_cast<uint8_t>(color & 0xFF);          // red
    at[1] = static_cast<uint8_t>((color >> 8) & 0xFF);   // green
    at[2] = static_cast<uint8_t>((color >> 16) & 0xFF);  // blue
}

uint32_t GetColor(const ColorBuffer& table, int position)
{
    const uint8_t* at = table.data() + static_cast<size_t>(position) * 3;
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16);
}

}  // namespace

void DeviceLink::WriteLighting()
{
    StoreRows<UserLightRgbData> rows;
    // The colours of the profile being shown, never another profile's.
    store_.GetProfileUserLightRgbs(host_.GetCurrentProfileId(), rows.Out());
    const std::map<int, int>& layout = host_.GetLayoutKeyMap();

    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (manager_.FindByKind(kind) == nullptr)
            continue;
        SendFrame(CMD_BEGIN, kind);

        ColorBuffer table{};
        for (const UserLightRgbData* row : rows.Rows()) {
            const int position = KeyPosition(layout, row->key_code);
            if (DeviceKindOfKey(row->key_code) == kind && IsPosition(position))
                PutColor(table, position, static_cast<uint32_t>(row->key_rgb));
        }
        for (size_t c = 0; c < COLOR_CHUNKS; ++c) {
            HidReport request = MakeChunkRequest(CMD_WRITE_KEY_COLORS, table.data(), table.size(), COLOR_TABLE_SIZE, c);
            manager_.Transfer(request, static_cast<int>(REPORT_SIZE), kind);
        }
        SendFrame(CMD_END, kind);
    }
}

void DeviceLink::ReadLiveColors()
{
    ColorBuffer keyboard{};
    ColorBuffer keypad{};

    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (manager_.FindByKind(kind) == nullptr)
            continue;
        if (resynchronise_)
            SendFrame(CMD_BEGIN, kind);
        ColorBuffer& table = kind == DEVICE_KIND_NUMPAD ? keypad : keyboard;
        for (size_t c = 0; c < COLOR_CHUNKS; ++c) {
            const size_t offset = c * CHUNK_DATA_SIZE;
            HidReport reply = MakeRequest(CMD_READ_LIVE_COLORS,
                                          static_cast<uint8_t>(std::min(CHUNK_DATA_SIZE, COLOR_TABLE_SIZE - offset)),
                                          static_cast<uint16_t>(offset));
            // A missed reply leaves the device's stream out of step: abandon
            // the pass, keep the picture as it is, and begin afresh next time.
            if (!manager_.TransferQuick(reply, static_cast<int>(REPORT_FRAME_SIZE), kind)) {
                resynchronise_ = 1;
                return;
            }
            std::copy_n(reply.begin() + REPLY_DATA, CHUNK_DATA_SIZE, table.begin() + offset);
        }
    }
    resynchronise_ = 0;

    std::vector<KeyColorEntry> colors;
    for (const auto& key : host_.GetLayoutKeyMap()) {
        const int code = key.first;
        const int position = key.second;
        if (code <= 0 || !IsPosition(position))
            continue;
        const ColorBuffer& table = DeviceKindOfKey(code) == DEVICE_KIND_NUMPAD ? keypad : keyboard;
        colors.push_back({code, GetColor(table, position)});
    }
    host_.SetLightingKeyColors(colors);
}

void DeviceLink::WriteLiveColors()
{
    if (!host_.GetLightEnabled())
        return;
    const std::vector<KeyColorEntry> keys = host_.GetLightingKeyColors();
    const std::map<int, int>& layout = host_.GetLayoutKeyMap();
    const bool perKeyRgb = host_.GetPerKeyRgb() != 0;

    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (manager_.FindByKind(kind) == nullptr || !SendFrame(CMD_BEGIN, kind))
            continue;

        ColorBuffer table{};
        for (const KeyColorEntry& key : keys) {
            const int position = KeyPosition(layout, key.keyCode);
            if (DeviceKindOfKey(key.keyCode) != kind || !IsPosition(position))
                continue;
            // A dark key only leaves its byte alone: two key codes may share
            // a position, and the lit one must not be put out by the other.
            if (perKeyRgb)
                PutColor(table, position, key.color);
            else if (key.color != 0)
                table[static_cast<size_t>(position)] = SINGLE_COLOR_LIT;
        }

        const size_t blockLength = perKeyRgb ? COLOR_TABLE_SIZE : SINGLE_COLOR_TABLE_SIZE;
        const size_t chunks = perKeyRgb ? COLOR_CHUNKS : SINGLE_COLOR_CHUNKS;
        for (size_t c = 0; c < chunks; ++c) {
            HidReport request = MakeChunkRequest(CMD_WRITE_LIVE_COLORS, table.data(), table.size(), blockLength, c);
            if (!manager_.TransferQuick(request, static_cast<int>(REPORT_SIZE), kind))
                break;
            if (!perKeyRgb)
                clock_.Sleep(SINGLE_COLOR_CHUNK_SLEEP_MS);
        }
        SendFrame(CMD_END, kind);
    }
    clock_.Sleep(LIVE_FRAME_SLEEP_MS);
}
