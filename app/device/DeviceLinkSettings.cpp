#include "app/device/DeviceLink.h"

#include <algorithm>
#include <cwchar>

#include "app/store/ConfigDB.h"

namespace {

// The system settings are kept in the rows of profile 1.
constexpr int SYSTEM_SETTINGS_PROFILE = 1;

bool ConfigFlagSet(ConfigDB& store, const wchar_t* key)
{
    CString value;
    return store.GetConfigValue(SYSTEM_SETTINGS_PROFILE, CString(key), value) && value == L"1";
}

uint8_t ReadSleepTime(ConfigDB& store)
{
    CString value;
    if (!store.GetConfigValue(SYSTEM_SETTINGS_PROFILE, CString(L"sleep_time"), value))
        return 0;
    return static_cast<uint8_t>(std::wcstol(value.GetString(), nullptr, 10) & 0xFF);
}

uint8_t ReadKeyLocks(ConfigDB& store)
{
    uint8_t flags = 0;
    if (ConfigFlagSet(store, L"disable_win"))
        flags |= KEY_LOCK_WINDOWS;
    if (ConfigFlagSet(store, L"disable_alttab"))
        flags |= KEY_LOCK_ALT_TAB;
    if (ConfigFlagSet(store, L"disable_altf4"))
        flags |= KEY_LOCK_ALT_F4;
    return flags;
}

uint8_t LowByte(int value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

// The write request carries the device's own block and header back, with the
// fields the program owns patched in.
HidReport BuildSettingsWrite(const HidReport& reply, const LightData& light, uint8_t sleepTime,
                             uint8_t keyLocks)
{
    HidReport request{};
    std::copy_n(reply.begin(), REPLY_SIZE, request.begin() + REPLY_TO_REQUEST_SHIFT);
    request[REQ_MARKER] = REPORT_MARKER;
    request[REQ_COMMAND] = CMD_WRITE_SETTINGS;

    uint8_t* block = request.data() + REQ_PAYLOAD;
    block[SETTINGS_MODE] = LowByte(light.mode);
    block[SETTINGS_BRIGHTNESS] = LowByte(light.brightness);
    block[SETTINGS_SPEED] = LowByte(light.speed);
    block[SETTINGS_DIRECTION] = LowByte(light.direction);
    block[SETTINGS_COLORFUL] = LowByte(light.colorful);
    block[SETTINGS_COLORINDEX] = LowByte(light.colorindex);
    block[SETTINGS_RED] = LowByte(light.color_value1);
    block[SETTINGS_GREEN] = LowByte(light.color_value1 >> 8);
    block[SETTINGS_BLUE] = LowByte(light.color_value1 >> 16);
    block[SETTINGS_SLEEP_TIME] = sleepTime;
    block[SETTINGS_KEY_LOCKS] = keyLocks;
    return request;
}

}  // namespace

void DeviceLink::WriteSettings()
{
    int mode = host_.GetCurrentLightMode();
    if (mode == LIGHT_MODE_OFF) {
        mode = LIGHT_MODE_WHEN_OFF;
        host_.SetCurrentLightMode(mode);
    }
    LightData light;
    store_.GetLight(host_.GetCurrentProfileId(), mode, light);
    const uint8_t sleepTime = ReadSleepTime(store_);
    const uint8_t keyLocks = ReadKeyLocks(store_);

    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (manager_.FindByKind(kind) == nullptr)
            continue;
        SendFrame(CMD_BEGIN, kind);
        HidReport reply = MakeRequest(CMD_READ_SETTINGS, SETTINGS_READ_LENGTH);
        manager_.Transfer(reply, static_cast<int>(REPORT_FRAME_SIZE), kind);
        // Without an acknowledged reply the buffer holds our own request, not
        // the device's block: writing it back would wipe the device's settings.
        if (IsAcknowledged(reply)) {
            HidReport request = BuildSettingsWrite(reply, light, sleepTime, keyLocks);
            manager_.Transfer(request, static_cast<int>(REPORT_SIZE), kind);
        }
        SendFrame(CMD_END, kind);
    }
    clock_.Sleep(SETTINGS_DONE_SLEEP_MS);
}
