#include "tests/device/DeviceLinkTestBed.h"

void DeviceLinkTestBed::SetUp()
{
    hidsim::Reset();
    hidsim::SetClock(&clock_);
    ASSERT_TRUE(store_.OpenDB(folder_.Path(), L"devicelink"));
    manager_ = std::make_unique<HidDeviceManager>(clock_);
    manager_->AddKnownDevice(kVendorId, kProductId, L"", L"");
    link_ = std::make_unique<DeviceLink>(*manager_, store_, host_, clock_);
}

void DeviceLinkTestBed::TearDown()
{
    link_.reset();
    manager_.reset();
    store_.CloseDB();
    hidsim::Reset();
}

int DeviceLinkTestBed::AddKeyboard()
{
    return hidsim::AddDevice(hidsim::KeyboardConfig(kVendorId, kProductId, "sim#keyboard"));
}

int DeviceLinkTestBed::AddKeypad()
{
    return hidsim::AddDevice(hidsim::NumpadConfig(kVendorId, kProductId, "sim#keypad"));
}

void DeviceLinkTestBed::Connect()
{
    manager_->CloseAll();
    manager_->ScanDevices();
    manager_->SetReady(1);
    hidsim::ClearLog();
    clock_.ClearSleeps();
}

std::vector<HidReport> DeviceLinkTestBed::RequestsOf(int device, uint8_t command)
{
    std::vector<HidReport> matching;
    for (const HidReport& request : hidsim::Requests(device))
        if (request[REQ_COMMAND] == command)
            matching.push_back(request);
    return matching;
}

void DeviceLinkTestBed::AddKeyAssignment(int layer, int keyCode, int type, int value, int value2)
{
    KeyMacroData row;
    row.profile = host_.profile;
    row.fn_layer = layer;
    row.key_code = keyCode;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_value2 = value2;
    store_.InsertKeyMacros({row});
}

int DeviceLinkTestBed::AddMacro(const std::vector<std::pair<int, int>>& events)
{
    const int id = store_.AddMacro(L"macro");
    std::vector<MacroRecordData> records;
    int index = 0;
    for (const auto& event : events) {
        MacroRecordData record;
        record.macro_id = id;
        record.type = event.first;
        record.value = event.second;
        record.record_index = index++;
        records.push_back(record);
    }
    store_.InsertMacroRecords(records);
    return id;
}
