#include <gtest/gtest.h>

#include "app/device/HidDeviceManager.h"

namespace {

// The real hidapi on a machine without the keyboard (under Wine its
// enumeration fails outright): the scan must end cleanly with nothing open,
// and every exchange must then be refused.
TEST(HidapiSmoke, ScanFindsNoKeyboardAndTransfersAreRefused)
{
    HidDeviceManager manager(GetSystemClock());
    manager.AddKnownDevice(0x3151, 0x4010, L"", L"");
    manager.AddKnownDevice(0x3151, 0x4011, L"PLMO3-RX", L"MI_02");
    manager.CloseAll();
    manager.ScanDevices();
    manager.SetReady(1);

    EXPECT_FALSE(manager.IsConnected());
    HidReport request = MakeRequest(CMD_BEGIN);
    EXPECT_FALSE(manager.Transfer(request, 65, DEVICE_KIND_KEYBOARD));
    EXPECT_FALSE(manager.SendToAll(request));

    manager.CloseAll();
    manager.ScanDevices();
    EXPECT_FALSE(manager.IsConnected());
}

}  // namespace
