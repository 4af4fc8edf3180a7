#include "app/device/MacroBuffer.h"

#include <algorithm>

#include "app/device/KeyCodes.h"

namespace {

constexpr int BUFFER_END = static_cast<int>(MACRO_BUFFER_SIZE);

int ClampDelay(long long delay)
{
    if (delay <= 0)
        return MACRO_DEFAULT_DELAY_MS;
    return static_cast<int>(std::min<long long>(delay, MACRO_MAX_DELAY_MS));
}

void PutWord(uint8_t* at, int value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Writes one event into its slot; false for a type that has no encoding (the
// slot then stays zero).
bool EncodeEvent(const MacroEvent& event, uint8_t* slot)
{
    switch (event.type) {
    case MACRO_EVENT_KEY_DOWN:
    case MACRO_EVENT_KEY_UP: {
        const uint8_t press = event.type == MACRO_EVENT_KEY_DOWN ? MACRO_FLAG_PRESS : 0;
        PutWord(slot, MACRO_DEFAULT_DELAY_MS);
        if (IsModifierVirtualKey(event.value)) {
            slot[2] = press | MACRO_FLAG_MODIFIER_RELEASE;
            slot[3] = static_cast<uint8_t>(ModifierToBit(event.value));
        } else {
            slot[2] = press | MACRO_FLAG_KEY_RELEASE;
            slot[3] = static_cast<uint8_t>(VirtualKeyToUsage(&event.value));
        }
        return true;
    }
    case MACRO_EVENT_MOUSE_DOWN:
    case MACRO_EVENT_MOUSE_UP:
        PutWord(slot, MACRO_DEFAULT_DELAY_MS);
        slot[2] = event.type == MACRO_EVENT_MOUSE_DOWN ? MACRO_FLAG_MOUSE_PRESS : MACRO_FLAG_MOUSE_RELEASE;
        slot[3] = static_cast<uint8_t>(event.value & 0xFF);
        return true;
    default:
        return false;
    }
}

}  // namespace

MacroBuffer BuildMacroBuffer(const std::vector<std::vector<MacroEvent>>& macros)
{
    MacroBuffer buffer;
    uint8_t* const bytes = buffer.bytes.data();
    int p = MACRO_SLOT_TABLE_SIZE;
    const int slotCount = static_cast<int>(std::min(macros.size(), MACRO_SLOT_COUNT));

    for (int i = 0; i < slotCount; ++i) {
        // A full buffer leaves the remaining slots empty rather than pointing
        // them at the end of the buffer.
        if (p >= BUFFER_END)
            break;
        PutWord(bytes + i * 2, p);

        long long delay = 1;
        int lastSlot = -1;
        for (const MacroEvent& event : macros[static_cast<size_t>(i)]) {
            if (event.type == MACRO_EVENT_DELAY) {
                delay += event.value;
                continue;
            }
            if (p >= BUFFER_END)
                break;
            // The delays recorded before an event belong to the event written
            // just before it, which may be the previous macro's last one.
            if (p > MACRO_SLOT_TABLE_SIZE) {
                delay = ClampDelay(delay);
                PutWord(bytes + p - MACRO_EVENT_SIZE, static_cast<int>(delay));
            }
            if (EncodeEvent(event, bytes + p))
                delay = 0;
            lastSlot = p;
            p += MACRO_EVENT_SIZE;
        }
        // Trailing delays and a cut-off tail must not hide the end of the
        // macro, or playback would run on into the next one.
        if (lastSlot >= 0)
            bytes[lastSlot + 2] |= MACRO_FLAG_LAST_EVENT;
    }
    buffer.length = p;
    return buffer;
}
