#pragma once

#include "app/device/Clock.h"
#include "app/device/DeviceLinkHost.h"
#include "app/device/DeviceReport.h"
#include "app/device/HidDeviceManager.h"

class ConfigDB;

// The command sequences that turn stored settings into device traffic. The
// main dialog owns one and runs each command from its worker thread, one at a
// time. Each command lives in its own source file (DeviceLink*.cpp).
class DeviceLink {
public:
    // Pause after the settings sequence and after a factory reset.
    static constexpr int SETTINGS_DONE_SLEEP_MS = 100;
    static constexpr int FACTORY_RESET_SLEEP_MS = 1500;

    // All four must outlive the link.
    DeviceLink(HidDeviceManager& manager, ConfigDB& store, DeviceLinkHost& host, Clock& clock);

    // Reads each device's settings block, patches in the current light mode,
    // its light row and the system settings, and writes it back.
    void WriteSettings();

    // Sends the factory-reset request to every device, then waits for them
    // to restart.
    void FactoryReset();

    // Key map, macros and lighting.
    void WriteKeyMap();
    void WriteMacros();
    void WriteLighting();
    void ReadLiveColors();
    void WriteLiveColors();

    // Set by a live-colour read that went unacknowledged, or by
    // RestartStream; the next pass then begins each device with CMD_BEGIN,
    // and a pass that read everything clears it.
    int GetResynchronise() const { return resynchronise_; }
    // A command sequence ended the devices' stream with CMD_END: the device
    // answers live reads only inside a stream, so the next pass begins it.
    void RestartStream() { resynchronise_ = 1; }

protected:
    // CMD_BEGIN or CMD_END to one kind, with the general transfer. Returns the
    // transfer's result (false when that kind is not open).
    bool SendFrame(DeviceCommand command, int kind);

    HidDeviceManager& manager_;
    ConfigDB& store_;
    DeviceLinkHost& host_;
    Clock& clock_;
    int resynchronise_ = 0;
};
