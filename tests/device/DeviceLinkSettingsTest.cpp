#include <map>
#include <vector>

#include "app/device/DeviceLink.h"
#include "tests/device/SimulatedDevices.h"
#include "tests/store/StoreTestSupport.h"

namespace {

using hidsim::Fault;
using hidsim::FaultAction;

struct FakeHost : DeviceLinkHost {
    int profile = 1;
    int mode = 3;
    std::map<int, int> layout;

    int GetCurrentProfileId() override { return profile; }
    int GetCurrentLightMode() override { return mode; }
    void SetCurrentLightMode(int m) override { mode = m; }
    int GetLightFlagWord() override { return 0; }
    const std::map<int, int>& GetLayoutKeyMap() override { return layout; }
    int GetLightEnabled() override { return 1; }
    int GetPerKeyRgb() override { return 1; }
    std::vector<KeyColorEntry> GetLightingKeyColors() override { return {}; }
    void SetLightingKeyColors(const std::vector<KeyColorEntry>&) override {}
};

class WriteSettingsTest : public SimulatedDevices {
protected:
    void SetUp() override
    {
        SimulatedDevices::SetUp();
        ASSERT_TRUE(store.OpenDB(folder.Path(), L"TestBoard"));
        link = std::make_unique<DeviceLink>(*manager, store, host, clock);
    }

    void TearDown() override
    {
        link.reset();
        store.CloseDB();
        SimulatedDevices::TearDown();
    }

    // A device whose settings block reads back as `first`, `first` + 1, ...
    int AddDevice(bool numpad, uint8_t first, int interfaceNumber)
    {
        const int device = numpad ? AddNumpad(interfaceNumber) : AddKeyboard(interfaceNumber);
        auto& settings = hidsim::Memory(device).settings;
        for (size_t i = 0; i < settings.size(); ++i)
            settings[i] = static_cast<uint8_t>(first + i);
        return device;
    }

    void AddLight(int profile, int mode, int brightness, int colour = 0)
    {
        LightData row;
        row.profile = profile;
        row.mode = mode;
        row.brightness = brightness;
        row.speed = 2;
        row.direction = 1;
        row.colorful = 1;
        row.colorindex = 5;
        row.color_value1 = colour;
        ASSERT_NE(store.InsertLight(row), 0);
    }

    void SetSystem(const wchar_t* key, const wchar_t* value)
    {
        ASSERT_TRUE(store.SetConfigValue(1, CString(key), CString(value)));
    }

    // The settings block of the write request sent to `device`.
    std::vector<uint8_t> WrittenBlock(int device)
    {
        for (const HidReport& r : hidsim::Requests(device))
            if (r[REQ_COMMAND] == CMD_WRITE_SETTINGS)
                return std::vector<uint8_t>(r.begin() + REQ_PAYLOAD, r.end());
        return {};
    }

    ScratchFolder folder;
    ConfigDB store;
    FakeHost host;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(WriteSettingsTest, SequenceCarriesTheDeviceBlockBackWithTheStoredFieldsPatchedIn)
{
    const int keyboard = AddDevice(false, 0xA0, 2);
    AddLight(1, 3, 4, 0x00332211);
    SetSystem(L"sleep_time", L"300");
    SetSystem(L"disable_win", L"1");
    SetSystem(L"disable_alttab", L"0");
    SetSystem(L"disable_altf4", L"1");
    ScanAll();

    link->WriteSettings();

    const std::vector<HidReport> sent = hidsim::Requests(keyboard);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(hidsim::Commands(keyboard),
              (std::vector<uint8_t>{CMD_BEGIN, CMD_READ_SETTINGS, CMD_WRITE_SETTINGS, CMD_END}));
    EXPECT_EQ(hidsim::RejectedCount(keyboard), 0);

    HidReport read{};
    read[1] = 0x55;
    read[2] = CMD_READ_SETTINGS;
    read[5] = 0x20;
    read[4] = ReportChecksum(read, 64);
    EXPECT_EQ(sent[1], read);

    HidReport write{};
    write[1] = 0x55;
    write[2] = CMD_WRITE_SETTINGS;
    write[3] = hidsim::DEFAULT_SETTINGS_STATUS;  // byte 2 of the device's reply
    write[5] = 0x20;                             // the reply's length field
    for (size_t i = 0; i < SETTINGS_BLOCK_SIZE; ++i)
        write[9 + i] = static_cast<uint8_t>(0xA0 + i);
    const uint8_t patched[][2] = {{2, 3},     {3, 4},     {4, 2},     {5, 1},    {6, 1}, {7, 5},
                                  {8, 0x11},  {9, 0x22},  {10, 0x33}, {15, 0x2C}, {17, 3}};
    for (const auto& p : patched)
        write[9 + p[0]] = p[1];
    write[4] = ReportChecksum(write, 65);
    EXPECT_EQ(sent[2], write);

    // The device took the first 0x20 bytes of the block, as its length field says.
    for (size_t i = 0; i < SETTINGS_BLOCK_SIZE; ++i)
        EXPECT_EQ(hidsim::Memory(keyboard).settings[i], i < 0x20 ? write[9 + i] : 0xA0 + i) << i;

    EXPECT_EQ(clock.Sleeps().back(), 100u);
    EXPECT_EQ(host.mode, 3);
}

TEST_F(WriteSettingsTest, LightingOffSendsModeSixAndLeavesItAsTheCurrentMode)
{
    const int keyboard = AddDevice(false, 0, 2);
    AddLight(1, 6, 9);
    AddLight(1, 3, 4);
    host.mode = LIGHT_MODE_OFF;
    ScanAll();

    link->WriteSettings();

    const std::vector<uint8_t> block = WrittenBlock(keyboard);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(block[SETTINGS_MODE], 6);
    EXPECT_EQ(block[SETTINGS_BRIGHTNESS], 9);
    EXPECT_EQ(host.mode, 6);
}

TEST_F(WriteSettingsTest, SleepTimeAndKeyLocksComeFromTheSystemSettings)
{
    struct Case {
        const wchar_t* win;
        const wchar_t* altTab;
        const wchar_t* altF4;
        const wchar_t* sleep;
        uint8_t locks;
        uint8_t sleepByte;
    };
    const Case cases[] = {
        {L"1", L"0", L"1", L"300", 3, 0x2C},
        {L"0", L"1", L"0", L"5", 4, 5},
        {L"1", L"1", L"1", L"0", 7, 0},
        {L"2", L"true", L"01", L"abc", 0, 0},  // only the exact text "1" locks
    };
    const int keyboard = AddDevice(false, 0xFF, 2);
    AddLight(1, 3, 4);
    ScanAll();
    for (const Case& c : cases) {
        SetSystem(L"disable_win", c.win);
        SetSystem(L"disable_alttab", c.altTab);
        SetSystem(L"disable_altf4", c.altF4);
        SetSystem(L"sleep_time", c.sleep);
        hidsim::ClearLog();
        link->WriteSettings();
        const std::vector<uint8_t> block = WrittenBlock(keyboard);
        ASSERT_FALSE(block.empty());
        EXPECT_EQ(block[SETTINGS_KEY_LOCKS], c.locks) << c.win << c.altTab << c.altF4;
        EXPECT_EQ(block[SETTINGS_SLEEP_TIME], c.sleepByte) << c.sleep;
    }
}

TEST_F(WriteSettingsTest, MissingRowsGiveZeroFields)
{
    const int keyboard = AddDevice(false, 0xF0, 2);
    host.mode = 9;  // no light row, no system settings rows of profile 1
    ScanAll();
    link->WriteSettings();
    const std::vector<uint8_t> block = WrittenBlock(keyboard);
    ASSERT_FALSE(block.empty());
    for (size_t k : {SETTINGS_MODE, SETTINGS_BRIGHTNESS, SETTINGS_RED, SETTINGS_SLEEP_TIME, SETTINGS_KEY_LOCKS})
        EXPECT_EQ(block[k], 0) << k;
    EXPECT_EQ(block[SETTINGS_KEY_LOCKS + 1], static_cast<uint8_t>(0xF0 + SETTINGS_KEY_LOCKS + 1));
}

TEST_F(WriteSettingsTest, KeyboardSequenceRunsBeforeTheKeypadsEachWithItsOwnBlock)
{
    const int numpad = AddDevice(true, 0x40, 1);  // enumerated first
    const int keyboard = AddDevice(false, 0x80, 2);
    AddLight(1, 3, 4);
    ScanAll();

    link->WriteSettings();

    std::vector<int> order;
    for (const hidsim::LogEntry& e : hidsim::Log())
        if (e.direction == hidsim::Direction::Out)
            order.push_back(e.device);
    EXPECT_EQ(order, (std::vector<int>{keyboard, keyboard, keyboard, keyboard, numpad, numpad, numpad, numpad}));
    EXPECT_EQ(WrittenBlock(keyboard)[20], 0x80 + 20);
    EXPECT_EQ(WrittenBlock(numpad)[20], 0x40 + 20);
}

TEST_F(WriteSettingsTest, OnlyOpenKindsAreVisitedAndThePauseAlwaysFollows)
{
    ScanAll();  // nothing connected
    link->WriteSettings();
    EXPECT_TRUE(hidsim::Log().empty());
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{100}));

    const int keyboard = AddDevice(false, 0, 2);
    ScanAll();
    link->WriteSettings();
    EXPECT_EQ(hidsim::Requests(keyboard).size(), 4u);
}

TEST_F(WriteSettingsTest, UnacknowledgedReadLeavesTheDeviceSettingsAlone)
{
    struct Case {
        const char* name;
        Fault fault;
        std::vector<uint8_t> commands;
    };
    Fault noReply;
    noReply.action = FaultAction::NoReply;
    noReply.command = CMD_READ_SETTINGS;
    Fault refused = noReply;
    refused.action = FaultAction::NegativeReply;
    Fault unwritable = noReply;
    unwritable.action = FaultAction::FailWrite;
    unwritable.times = 2;
    const Case cases[] = {
        {"no reply", noReply, {CMD_BEGIN, CMD_READ_SETTINGS, CMD_END}},
        {"negative reply", refused, {CMD_BEGIN, CMD_READ_SETTINGS, CMD_END}},
        {"write failed", unwritable, {CMD_BEGIN, CMD_END}},
    };
    for (const Case& c : cases) {
        hidsim::Reset();
        hidsim::SetClock(&clock);
        const int keyboard = AddDevice(false, 0x30, 2);
        const auto before = hidsim::Memory(keyboard).settings;
        AddLight(1, 3, 4);
        ScanAll();
        hidsim::AddFault(keyboard, c.fault);

        link->WriteSettings();

        EXPECT_EQ(hidsim::Commands(keyboard), c.commands) << c.name;
        EXPECT_EQ(hidsim::Memory(keyboard).settings, before) << c.name;
    }
}

TEST_F(WriteSettingsTest, StaleReplyWaitingOnTheInterfaceIsNotTakenForTheBlock)
{
    const int keyboard = AddDevice(false, 0x60, 2);
    AddLight(1, 3, 4);
    ScanAll();
    // An acknowledgement that came after an earlier command had stopped
    // waiting for it; every reply of this sequence would otherwise be read one
    // request late.
    std::vector<uint8_t> stale(REPLY_SIZE, 0);
    stale[0] = REPORT_ACK;
    stale[1] = CMD_READ_LIVE_COLORS;
    hidsim::InjectInput(keyboard, stale);

    link->WriteSettings();

    const std::vector<uint8_t> block = WrittenBlock(keyboard);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(block[0], 0x60);
    EXPECT_EQ(block[SETTINGS_KEY_LOCKS + 1], 0x60 + SETTINGS_KEY_LOCKS + 1);
    EXPECT_EQ(hidsim::Requests(keyboard)[2][REQ_FLAG], hidsim::DEFAULT_SETTINGS_STATUS);
}

TEST_F(WriteSettingsTest, ABeginReplyStillInFlightIsNotTakenForTheBlock)
{
    // The begin reply gives up after 207 ms and this one comes later, ahead
    // of the settings reply: its empty data must not become the block.
    const int keyboard = AddDevice(false, 0x60, 2);
    AddLight(1, 3, 4);
    ScanAll();
    Fault slow;
    slow.action = FaultAction::LateReply;
    slow.command = CMD_BEGIN;
    slow.delayMs = 230;
    hidsim::AddFault(keyboard, slow);

    link->WriteSettings();

    EXPECT_EQ(hidsim::Commands(keyboard),
              (std::vector<uint8_t>{CMD_BEGIN, CMD_READ_SETTINGS, CMD_WRITE_SETTINGS, CMD_END}));
    EXPECT_EQ(hidsim::RejectedCount(keyboard), 0);
    const HidReport write = hidsim::Requests(keyboard)[2];
    EXPECT_EQ(write[REQ_LENGTH], SETTINGS_READ_LENGTH);
    EXPECT_EQ(write[REQ_FLAG], hidsim::DEFAULT_SETTINGS_STATUS);
    const std::vector<uint8_t> block = WrittenBlock(keyboard);
    EXPECT_EQ(block[0], 0x60);
    EXPECT_EQ(block[SETTINGS_KEY_LOCKS + 1], 0x60 + SETTINGS_KEY_LOCKS + 1);
    EXPECT_EQ(hidsim::Memory(keyboard).settings[SETTINGS_BRIGHTNESS], 4);
    EXPECT_EQ(hidsim::Memory(keyboard).settings[1], 0x61);
}

TEST_F(WriteSettingsTest, KeyboardVanishingMidSequenceDoesNotStopTheKeypad)
{
    const int keyboard = AddDevice(false, 0x10, 2);
    const int numpad = AddDevice(true, 0x20, 3);
    AddLight(1, 3, 4);
    ScanAll();
    Fault vanish;
    vanish.action = FaultAction::Vanish;
    vanish.command = CMD_READ_SETTINGS;
    hidsim::AddFault(keyboard, vanish);
    const auto keyboardBefore = hidsim::Memory(keyboard).settings;

    link->WriteSettings();

    EXPECT_EQ(hidsim::Commands(keyboard), (std::vector<uint8_t>{CMD_BEGIN}));
    EXPECT_EQ(hidsim::Memory(keyboard).settings, keyboardBefore);
    EXPECT_EQ(hidsim::Commands(numpad),
              (std::vector<uint8_t>{CMD_BEGIN, CMD_READ_SETTINGS, CMD_WRITE_SETTINGS, CMD_END}));
    EXPECT_EQ(WrittenBlock(numpad)[0], 0x20);
}

TEST_F(WriteSettingsTest, FactoryResetIsOneBareReportToEachDevice)
{
    const int keyboard = AddDevice(false, 0x10, 2);
    const int numpad = AddDevice(true, 0x20, 3);
    hidsim::Memory(keyboard).keyMap[5] = 0x99;
    ScanAll();

    link->FactoryReset();

    HidReport expected{};
    expected[1] = 0x55;
    expected[2] = 0xEE;
    for (int device : {keyboard, numpad}) {
        const std::vector<HidReport> sent = hidsim::Requests(device);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], expected);
    }
    EXPECT_EQ(hidsim::Memory(keyboard).keyMap[5], 0);  // the device went back to its factory state
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{5, 5, 1500}));
}

}  // namespace
