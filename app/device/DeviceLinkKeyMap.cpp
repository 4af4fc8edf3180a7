#include "app/device/DeviceLink.h"

#include <algorithm>
#include <array>

#include "app/device/KeyMapEncoder.h"
#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"

namespace {

constexpr size_t KEYMAP_CHUNKS = ChunkCount(KEYMAP_SIZE);  // 14, the last one 40 bytes
// The reads fill whole chunks, so the buffer reaches past the map; the last
// write sends back the 16 bytes the device returned there.
constexpr size_t KEYMAP_BUFFER_SIZE = KEYMAP_CHUNKS * CHUNK_DATA_SIZE;  // 784

using KeyMapBuffer = std::array<uint8_t, KEYMAP_BUFFER_SIZE>;

uint8_t ChunkLength(size_t blockLength, size_t chunk)
{
    return static_cast<uint8_t>(std::min(CHUNK_DATA_SIZE, blockLength - chunk * CHUNK_DATA_SIZE));
}

std::vector<int> MacroIdsBySlot(ConfigDB& store)
{
    StoreRows<MacroData> macros;
    store.GetMacroList(macros.Out());
    std::vector<int> ids;
    ids.reserve(macros.Rows().size());
    for (const MacroData* macro : macros.Rows())
        ids.push_back(macro->macro_id);
    return ids;
}

}  // namespace

void DeviceLink::WriteKeyMap()
{
    const int profile = host_.GetCurrentProfileId();
    const std::map<int, int>& layout = host_.GetLayoutKeyMap();

    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (manager_.FindByKind(kind) == nullptr)
            continue;
        SendFrame(CMD_BEGIN, kind);

        KeyMapBuffer keyMap{};
        bool complete = true;
        for (size_t c = 0; c < KEYMAP_CHUNKS && complete; ++c) {
            HidReport reply = MakeRequest(CMD_READ_KEYMAP, ChunkLength(KEYMAP_SIZE, c),
                                          static_cast<uint16_t>(c * CHUNK_DATA_SIZE));
            complete = manager_.TransferDrained(reply, static_cast<int>(REPORT_FRAME_SIZE), kind);
            if (complete)
                std::copy_n(reply.begin() + REPLY_DATA, CHUNK_DATA_SIZE, keyMap.begin() + c * CHUNK_DATA_SIZE);
        }

        // Without the device's whole map, writing it back would replace the
        // entries we never received with zeros.
        if (complete) {
            const std::vector<int> macroIds = MacroIdsBySlot(store_);
            for (int layer = 0; layer < static_cast<int>(KEYMAP_LAYERS); ++layer) {
                StoreRows<KeyMacroData> rows;
                store_.GetLayerKeyMacros(profile, layer, rows.Out());
                for (const KeyMacroData* row : rows.Rows()) {
                    if (row->macro_type == ASSIGN_NONE || DeviceKindOfKey(row->key_code) != kind)
                        continue;
                    EncodeKeyEntry(KeyPosition(layout, row->key_code), layer, keyMap.data(), *row, macroIds);
                }
            }
            for (size_t c = 0; c < KEYMAP_CHUNKS; ++c) {
                HidReport request = MakeChunkRequest(CMD_WRITE_KEYMAP, keyMap.data(), keyMap.size(), KEYMAP_SIZE, c);
                manager_.Transfer(request, static_cast<int>(REPORT_SIZE), kind);
            }
        }
        SendFrame(CMD_END, kind);
    }
}
