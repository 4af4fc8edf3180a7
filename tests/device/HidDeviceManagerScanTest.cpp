#include <string>
#include <vector>

#include "tests/device/SimulatedDevices.h"

namespace {

using ScanTest = SimulatedDevices;

struct Known {
    int vid;
    int pid;
    std::wstring product;
    std::wstring pattern;
};

struct Interface {
    std::wstring product;
    std::string path;
    bool failOpen;
};

struct ScanCase {
    const char* name;
    std::vector<Known> known;
    std::vector<Interface> interfaces;
    std::vector<int> expectedKinds;  // kinds of the opened interfaces, in list order
    std::vector<int> expectedOpened; // indices into `interfaces`
};

const std::string kMi1 = "\\\\?\\hid#vid_3151&pid_4010&mi_01#7&aa&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::string kMi2 = "\\\\?\\hid#vid_3151&pid_4010&mi_02#7&bb&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

class ScanMatching : public SimulatedDevices, public ::testing::WithParamInterface<ScanCase> {
};

TEST_P(ScanMatching, OpensExactlyTheAdmittedInterfaces)
{
    const ScanCase& c = GetParam();
    for (const Known& k : c.known)
        manager->AddKnownDevice(k.vid, k.pid, k.product, k.pattern);
    for (const Interface& i : c.interfaces) {
        hidsim::DeviceConfig config = hidsim::KeyboardConfig(VID, PID, i.path);
        config.product = i.product;
        config.failOpen = i.failOpen;
        hidsim::AddDevice(config);
    }
    manager->ScanDevices();

    const auto& devices = manager->GetDevices();
    ASSERT_EQ(devices.size(), c.expectedOpened.size());
    for (size_t n = 0; n < devices.size(); ++n) {
        const Interface& opened = c.interfaces[static_cast<size_t>(c.expectedOpened[n])];
        EXPECT_EQ(devices[n]->path, opened.path);
        EXPECT_EQ(devices[n]->product, opened.product);
        EXPECT_EQ(devices[n]->kind, c.expectedKinds[n]);
        EXPECT_EQ(devices[n]->listIndex, static_cast<int>(n));
    }
    EXPECT_EQ(hidsim::OpenHandleCount(), static_cast<int>(c.expectedOpened.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Scan, ScanMatching,
    ::testing::Values(
        ScanCase{"EmptyProductNameAdmitsAnyProduct",
                 {{0x3151, 0x4010, L"", L""}},
                 {{L"Anything", kMi1, false}, {L"", kMi2, false}},
                 {101, 101},
                 {0, 1}},
        ScanCase{"ProductNameMustMatchExactly",
                 {{0x3151, 0x4010, L"KB-X", L""}},
                 {{L"kb-x", kMi1, false}, {L"KB-X", kMi2, false}},
                 {101},
                 {1}},
        ScanCase{"OtherVendorOrProductIsIgnored",
                 {{0x3151, 0x4011, L"", L""}, {0x3152, 0x4010, L"", L""}},
                 {{L"Keyboard", kMi1, false}},
                 {},
                 {}},
        ScanCase{"PatternIsSearchedInTheUpperCasedPath",
                 {{0x3151, 0x4010, L"", L"MI_02"}},
                 {{L"Keyboard", kMi1, false}, {L"Keyboard", kMi2, false}},
                 {101},
                 {1}},
        ScanCase{"LowerCasePatternNeverMatches",
                 {{0x3151, 0x4010, L"", L"mi_02"}},
                 {{L"Keyboard", kMi2, false}},
                 {},
                 {}},
        ScanCase{"PatternComesFromTheFirstEntryWithThatVidAndPid",
                 {{0x3151, 0x4010, L"Other", L"MI_01"}, {0x3151, 0x4010, L"KB", L"MI_02"}},
                 {{L"KB", kMi2, false}, {L"KB", kMi1, false}},
                 {101},
                 {1}},
        ScanCase{"KeypadIsKnownByItsExactProductString",
                 {{0x3151, 0x4010, L"", L""}},
                 {{L"plmo3-rx", kMi1, false}, {L"PLMO3-RX", kMi2, false}},
                 {101, 102},
                 {0, 1}},
        ScanCase{"InterfaceThatFailsToOpenIsSkipped",
                 {{0x3151, 0x4010, L"", L""}},
                 {{L"Keyboard", kMi1, true}, {L"Keyboard", kMi2, false}},
                 {101},
                 {1}}),
    [](const ::testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.name); });

TEST_F(ScanTest, RecordKeepsStringsReleaseAndAPathOfAnyLength)
{
    // Far longer than a fixed 1024-byte field: it must be kept whole, or a
    // later open by the stored path would name another interface.
    const std::string longPath = InterfacePath(2) + std::string(1500, 'x');
    hidsim::DeviceConfig config = hidsim::KeyboardConfig(VID, PID, longPath);
    config.manufacturer = L"Maker";
    config.releaseNumber = 0x0213;
    hidsim::AddDevice(config);
    manager->AddKnownDevice(VID, PID, L"", L"");
    manager->ScanDevices();

    ASSERT_EQ(manager->GetDevices().size(), 1u);
    const HidDeviceRecord& record = *manager->GetDevices()[0];
    EXPECT_EQ(record.path, longPath);
    EXPECT_EQ(record.manufacturer, L"Maker");
    EXPECT_EQ(record.product, L"Keyboard");
    EXPECT_EQ(record.reserved, L"");
    EXPECT_EQ(record.vendorId, VID);
    EXPECT_EQ(record.productId, PID);
    EXPECT_EQ(record.releaseNumber, 0x0213);
}

TEST_F(ScanTest, KnownDeviceAndPathPatternLookups)
{
    manager->AddKnownDevice(VID, PID, L"Named", L"MI_01");
    manager->AddKnownDevice(VID, PID, L"", L"MI_02");
    EXPECT_TRUE(manager->IsKnownDevice(VID, PID, L"Named"));
    EXPECT_TRUE(manager->IsKnownDevice(VID, PID, L"anything"));  // via the second entry
    EXPECT_TRUE(manager->IsKnownDevice(VID, PID, nullptr));
    EXPECT_FALSE(manager->IsKnownDevice(VID, PID + 1, L"Named"));
    EXPECT_EQ(manager->GetPathPattern(VID, PID), L"MI_01");
    EXPECT_EQ(manager->GetPathPattern(VID + 1, PID), L"");
}

TEST_F(ScanTest, FindByKindReturnsTheFirstOfItsKind)
{
    AddNumpad(1);
    AddKeyboard(2);
    AddKeyboard(3);
    ScanAll();
    const auto& devices = manager->GetDevices();
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(manager->FindByKind(DEVICE_KIND_NUMPAD), devices[0]->handle.get());
    EXPECT_EQ(manager->FindByKind(DEVICE_KIND_KEYBOARD), devices[1]->handle.get());
    EXPECT_EQ(manager->FindByKind(999), nullptr);
}

TEST_F(ScanTest, CloseAllClosesEveryHandleWhetherReadyOrNot)
{
    AddKeyboard();
    AddNumpad();
    manager->AddKnownDevice(VID, PID, L"", L"");

    // A scan whose ready flag was never set still owns open handles.
    manager->ScanDevices();
    ASSERT_EQ(hidsim::OpenHandleCount(), 2);
    manager->CloseAll();
    EXPECT_EQ(hidsim::OpenHandleCount(), 0);
    EXPECT_FALSE(manager->IsConnected());

    manager->ScanDevices();
    manager->SetReady(1);
    manager->CloseAll();
    EXPECT_EQ(hidsim::OpenHandleCount(), 0);
    EXPECT_EQ(manager->GetReady(), 0);

    // Rescanning after a close finds the same interfaces once each.
    manager->ScanDevices();
    EXPECT_EQ(manager->GetDevices().size(), 2u);
    manager.reset();
    EXPECT_EQ(hidsim::OpenHandleCount(), 0);
    EXPECT_EQ(hidsim::ExitCount(), 1);
}

TEST_F(ScanTest, EveryTransferIsRefusedUntilTheManagerIsReady)
{
    AddKeyboard();
    AddNumpad();
    auto refusesAll = [this] {
        const int callsBefore = hidsim::DeviceCallCount();
        HidReport buffer = MakeRequest(CMD_BEGIN);
        const HidReport original = buffer;
        EXPECT_FALSE(manager->Transfer(buffer, 65, DEVICE_KIND_KEYBOARD));
        EXPECT_FALSE(manager->TransferQuick(buffer, 65, DEVICE_KIND_KEYBOARD));
        EXPECT_FALSE(manager->TransferDrained(buffer, 64, DEVICE_KIND_KEYBOARD));
        EXPECT_FALSE(manager->SendToAll(buffer));
        EXPECT_EQ(buffer, original);
        EXPECT_EQ(hidsim::DeviceCallCount(), callsBefore);
        EXPECT_TRUE(clock.Sleeps().empty());
    };

    refusesAll();  // before any scan
    manager->AddKnownDevice(VID, PID, L"", L"");
    manager->ScanDevices();
    refusesAll();  // scanned, but the ready flag not yet set
    manager->SetReady(1);
    manager->CloseAll();
    refusesAll();  // after CloseAll
}

TEST_F(ScanTest, UnknownKindIsRefusedWhenReady)
{
    AddKeyboard();
    ScanAll();
    HidReport buffer = MakeRequest(CMD_BEGIN);
    EXPECT_FALSE(manager->Transfer(buffer, 65, DEVICE_KIND_NUMPAD));
    EXPECT_FALSE(manager->TransferQuick(buffer, 65, DEVICE_KIND_NUMPAD));
    EXPECT_FALSE(manager->TransferDrained(buffer, 64, DEVICE_KIND_NUMPAD));
    EXPECT_TRUE(hidsim::Log().empty());
}

}  // namespace
