#pragma once

// A keyboard and keypad on the simulated HID bus, a scratch settings store and
// a main-window stand-in, wired to one DeviceLink.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "app/device/DeviceLink.h"
#include "app/store/ConfigDB.h"
#include "tests/device/sim/FakeClock.h"
#include "tests/device/sim/HidSimulator.h"
#include "tests/store/StoreTestSupport.h"

class TestBedHost : public DeviceLinkHost {
public:
    int GetCurrentProfileId() override { return profile; }
    int GetCurrentLightMode() override { return lightMode; }
    void SetCurrentLightMode(int mode) override { lightMode = mode; }
    int GetLightFlagWord() override { return flagWord; }
    const std::map<int, int>& GetLayoutKeyMap() override { return layout; }
    int GetLightEnabled() override { return lightEnabled; }
    int GetPerKeyRgb() override { return perKeyRgb; }
    std::vector<KeyColorEntry> GetLightingKeyColors() override { return keys; }
    void SetLightingKeyColors(const std::vector<KeyColorEntry>& colors) override { paints.push_back(colors); }

    int profile = 1;
    int lightMode = 1;
    int flagWord = 0;
    std::map<int, int> layout;
    int lightEnabled = 1;
    int perKeyRgb = 1;
    std::vector<KeyColorEntry> keys;
    std::vector<std::vector<KeyColorEntry>> paints;  // one entry per paint request
};

class DeviceLinkTestBed : public ::testing::Test {
protected:
    static constexpr uint16_t kVendorId = 0x3151;
    static constexpr uint16_t kProductId = 0x4002;

    void SetUp() override;
    void TearDown() override;

    // Adds the devices to the bus; call Connect afterwards.
    int AddKeyboard();
    int AddKeypad();
    // Scans the bus as the main window does; the devices added so far open.
    void Connect();

    // A request's chunk header.
    static int Length(const HidReport& request) { return request[REQ_LENGTH]; }
    static int Offset(const HidReport& request) { return request[REQ_OFFSET_LO] | (request[REQ_OFFSET_HI] << 8); }
    // The requests with this command sent to a device.
    static std::vector<HidReport> RequestsOf(int device, uint8_t command);
    // Sleeps of the code under test, in order.
    const std::vector<uint32_t>& Sleeps() const { return clock_.Sleeps(); }

    // Store rows.
    void AddKeyAssignment(int layer, int keyCode, int type, int value, int value2 = 0);
    int AddMacro(const std::vector<std::pair<int, int>>& events);  // (type, value) per record

    FakeClock clock_;
    TestBedHost host_;
    ScratchFolder folder_;
    ConfigDB store_;
    std::unique_ptr<HidDeviceManager> manager_;
    std::unique_ptr<DeviceLink> link_;
};

// Bytes from a fixed pseudo-random sequence, so that every device byte is
// told apart from zeros and from its neighbours.
template <size_t N>
std::array<uint8_t, N> Pattern(uint32_t seed)
{
    std::array<uint8_t, N> bytes{};
    uint32_t x = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    return bytes;
}
