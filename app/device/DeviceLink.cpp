#include "app/device/DeviceLink.h"

DeviceLink::DeviceLink(HidDeviceManager& manager, ConfigDB& store, DeviceLinkHost& host, Clock& clock)
    : manager_(manager), store_(store), host_(host), clock_(clock)
{
}

bool DeviceLink::SendFrame(DeviceCommand command, int kind)
{
    HidReport request = MakeRequest(command);
    return manager_.Transfer(request, static_cast<int>(REPORT_SIZE), kind);
}

void DeviceLink::FactoryReset()
{
    manager_.SendToAll(MakeFactoryResetRequest());
    clock_.Sleep(FACTORY_RESET_SLEEP_MS);
}
