#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/device/HidDeviceManager.h"
#include "tests/device/sim/FakeClock.h"
#include "tests/device/sim/HidSimulator.h"

// A device manager on a virtual clock over freshly reset simulated devices.
class SimulatedDevices : public ::testing::Test {
protected:
    static constexpr uint16_t VID = 0x3151;
    static constexpr uint16_t PID = 0x4010;

    static std::string InterfacePath(int interfaceNumber, const std::string& instance = "7&1a2b3c&0&0000")
    {
        return "\\\\?\\hid#vid_3151&pid_4010&mi_0" + std::to_string(interfaceNumber) + "#" + instance +
               "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    }

    void SetUp() override
    {
        hidsim::Reset();
        hidsim::SetClock(&clock);
        manager = std::make_unique<HidDeviceManager>(clock);
    }

    void TearDown() override
    {
        manager.reset();
        hidsim::Reset();
    }

    int AddKeyboard(int interfaceNumber = 2)
    {
        return hidsim::AddDevice(hidsim::KeyboardConfig(VID, PID, InterfacePath(interfaceNumber)));
    }

    int AddNumpad(int interfaceNumber = 3)
    {
        return hidsim::AddDevice(hidsim::NumpadConfig(VID, PID, InterfacePath(interfaceNumber)));
    }

    // Registers the model for every interface, scans and marks the manager
    // ready, as the main window's worker does.
    void ScanAll()
    {
        if (manager->GetKnownDevices().empty())
            manager->AddKnownDevice(VID, PID, L"", L"");
        manager->CloseAll();
        manager->ScanDevices();
        manager->SetReady(1);
        clock.ClearSleeps();
        hidsim::ClearLog();
    }

    FakeClock clock;
    std::unique_ptr<HidDeviceManager> manager;
};
