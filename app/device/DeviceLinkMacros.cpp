#include "app/device/DeviceLink.h"

#include "app/device/MacroBuffer.h"
#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"

namespace {

// The events of every macro that has a slot, in slot order.
std::vector<std::vector<MacroEvent>> ReadMacroEvents(ConfigDB& store)
{
    StoreRows<MacroData> macros;
    store.GetMacroList(macros.Out());
    const size_t slotted = std::min(macros.Rows().size(), MACRO_SLOT_COUNT);

    std::vector<std::vector<MacroEvent>> events(slotted);
    for (size_t i = 0; i < slotted; ++i) {
        StoreRows<MacroRecordData> records;
        store.GetMacroRecords(macros.Rows()[i]->macro_id, records.Out());
        events[i].reserve(records.Rows().size());
        for (const MacroRecordData* record : records.Rows())
            events[i].push_back({record->type, record->value});
    }
    return events;
}

}  // namespace

void DeviceLink::WriteMacros()
{
    manager_.SendToAll(MakeRequest(CMD_BEGIN));

    const MacroBuffer buffer = BuildMacroBuffer(ReadMacroEvents(store_));
    const size_t length = static_cast<size_t>(buffer.length);
    for (size_t c = 0; c < ChunkCount(length); ++c)
        manager_.SendToAll(MakeChunkRequest(CMD_WRITE_MACROS, buffer.bytes.data(), buffer.bytes.size(), length, c));

    manager_.SendToAll(MakeRequest(CMD_END));
}
