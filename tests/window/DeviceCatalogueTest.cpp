// The keyboard catalogue of config.xml: what it lists, what a device notice
// matches, and what a damaged file leaves.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/window/DeviceCatalogue.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace tarnwell;

const wchar_t* const kConfig =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    L"<config>\r\n"
    L" <device.info>\r\n"
    L"  <keyboard name=\"K1\" device_type=\"101\" device_info=\"L1\" img_connected=\"on.png\" "
    L"img_disconnected=\"off.png\">\r\n"
    L"   <mode value=\"1\" desc=\"wired\" vid=\"3151\" pid=\"0x4010\" product_name=\"\" hid_interface=\"MI_02\"/>\r\n"
    L"   <mode value=\"3\" desc=\"pad\" vid=\"0x3151\" pid=\"4011\" product_name=\"PLMO3-RX\" "
    L"hid_interface=\"MI_00\"/>\r\n"
    L"  </keyboard>\r\n"
    L"  <keyboard name=\"NoModes\" device_type=\"150\" device_info=\"L2\"/>\r\n"
    L"  <keyboard name=\"K1bis\" device_type=\"101\" device_info=\"L3\">\r\n"
    L"   <mode value=\"1\" vid=\"zz\" pid=\"4010\" hid_interface=\"X\"/>\r\n"
    L"   <mode value=\"2\" vid=\"123456\" pid=\"4010\" hid_interface=\"X\"/>\r\n"
    L"  </keyboard>\r\n"
    L" </device.info>\r\n"
    L" <language.info default_lan=\"1045\"><lan value=\"1033\"/></language.info>\r\n"
    L" <software name=\"Tarnwell\" version=\"2.5.1\">\r\n"
    L"  <website url=\"https://w/\"/><store url=\"https://s/\"/><upgrade url=\"https://u/\"/>"
    L"<copyright info=\"c\"/>\r\n"
    L" </software>\r\n"
    L"</config>\r\n";

TEST(DeviceCatalogue, ListsKeyboardsAndTheirModesWithHexadecimalIds)
{
    DeviceCatalogue catalogue;
    ASSERT_TRUE(catalogue.ReadText(kConfig, L"C:\\app\\device\\"));

    ASSERT_EQ(catalogue.Keyboards().size(), 3u);
    const DeviceModeInfo& keyboard = catalogue.Keyboards()[0];
    EXPECT_EQ(keyboard.name, L"K1");
    EXPECT_EQ(keyboard.deviceType, 101);
    EXPECT_EQ(keyboard.deviceInfo, L"L1");
    EXPECT_EQ(keyboard.imgConnected, L"C:\\app\\device\\on.png");
    EXPECT_EQ(keyboard.imgDisconnected, L"C:\\app\\device\\off.png");
    EXPECT_EQ(keyboard.reserved2, -1);
    EXPECT_EQ(catalogue.Keyboards()[1].name, L"NoModes");

    // A mode carries its keyboard's fields with the product name as its name;
    // ids read the same with or without a 0x prefix. Modes whose ids no USB
    // device can carry are left out.
    ASSERT_EQ(catalogue.Modes().size(), 2u);
    const DeviceModeInfo& wired = catalogue.Modes()[0];
    EXPECT_EQ(wired.name, L"");
    EXPECT_EQ(wired.deviceType, 101);
    EXPECT_EQ(wired.deviceInfo, L"L1");
    EXPECT_EQ(wired.modeValue, 1);
    EXPECT_EQ(wired.desc, L"wired");
    EXPECT_EQ(wired.vid, 0x3151);
    EXPECT_EQ(wired.pid, 0x4010);
    EXPECT_EQ(wired.hidInterface, L"MI_02");
    const DeviceModeInfo& pad = catalogue.Modes()[1];
    EXPECT_EQ(pad.name, L"PLMO3-RX");
    EXPECT_EQ(pad.vid, 0x3151);
    EXPECT_EQ(pad.pid, 0x4011);

    EXPECT_EQ(catalogue.DefaultLanguage(), 1045);
    EXPECT_EQ(catalogue.Version(), L"2.5.1");
    EXPECT_EQ(catalogue.Website(), L"https://w/");
    EXPECT_EQ(catalogue.Store(), L"https://s/");
    EXPECT_EQ(catalogue.Upgrade(), L"https://u/");

    // Two keyboards of one type: the first in the file.
    ASSERT_NE(catalogue.FindKeyboard(101), nullptr);
    EXPECT_EQ(catalogue.FindKeyboard(101)->name, L"K1");
    EXPECT_EQ(catalogue.FindKeyboard(102), nullptr);
}

TEST(DeviceCatalogue, ElementsAreSearchedForwardOnly)
{
    // software before device.info: the keyboards are read, the version is
    // not (the reader has passed it).
    DeviceCatalogue catalogue;
    ASSERT_TRUE(catalogue.ReadText(L"<config><software version=\"9\"><upgrade url=\"u\"/></software>"
                                   L"<device.info><keyboard name=\"K\" device_type=\"101\">"
                                   L"<mode vid=\"1\" pid=\"2\"/></keyboard></device.info></config>",
                                   L""));
    EXPECT_EQ(catalogue.Keyboards().size(), 1u);
    EXPECT_EQ(catalogue.Modes().size(), 1u);
    EXPECT_EQ(catalogue.Version(), L"");
    EXPECT_EQ(catalogue.Upgrade(), L"");
}

TEST(DeviceCatalogue, DamagedFilesGiveAnEmptyCatalogue)
{
    testsupport::TempFolder folder;
    const struct
    {
        const char* name;
        const char* bytes;  // null: no file at all
    } cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"truncated", "<?xml version=\"1.0\"?>\r\n<config>\r\n <device.info>\r\n  <keyboard name=\"K\" "
                      "device_type=\"101\">\r\n   <mode vid=\"3151\" pid=\"4010\" hid_inter"},
        {"not XML", "\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR garbage"},
        {"plain text", "vid=3151 pid=4010 hid_interface=MI_02"},
        {"other root", "<settings><device.info><keyboard name=\"K\" device_type=\"101\"><mode vid=\"3151\" "
                       "pid=\"4010\"/></keyboard></device.info></settings>"},
        {"two roots", "<config/><config/>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.File(L"config.xml");
        DeleteFileW(path.c_str());
        if (c.bytes != nullptr) {
            std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
            out << c.bytes;
        }
        DeviceCatalogue catalogue;
        EXPECT_FALSE(catalogue.Read(path.c_str(), folder.Path()));
        EXPECT_TRUE(catalogue.Keyboards().empty());
        EXPECT_TRUE(catalogue.Modes().empty());
        EXPECT_EQ(catalogue.Version(), L"");
        EXPECT_EQ(catalogue.MatchInterfacePath(L"\\\\?\\hid#vid_3151&pid_4010&mi_02#x"), -1);
    }
}

TEST(DeviceCatalogue, NoticesMatchTheFirstModeWhosePatternIsInTheUpperCasedPath)
{
    DeviceCatalogue catalogue;
    ASSERT_TRUE(catalogue.ReadText(L"<config><device.info><keyboard name=\"K\" device_type=\"101\">"
                                   L"<mode vid=\"1\" pid=\"1\" hid_interface=\"mi_05\"/>"
                                   L"<mode vid=\"1\" pid=\"2\" hid_interface=\"MI_02\"/>"
                                   L"<mode vid=\"1\" pid=\"3\" hid_interface=\"PID_4010\"/>"
                                   L"</keyboard></device.info></config>",
                                   L""));
    const struct
    {
        const wchar_t* path;
        int mode;
    } cases[] = {
        {L"\\\\?\\hid#vid_3151&pid_4010&mi_02#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", 1},
        {L"\\\\?\\HID#VID_3151&PID_4010&MI_02#7", 1},
        {L"\\\\?\\hid#vid_3151&pid_4010&mi_03#7", 2},  // only the third pattern
        {L"\\\\?\\hid#vid_3151&pid_4099&mi_05#7", -1},  // a lower-case pattern never matches
        {L"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.path, c.path + wcslen(c.path)));
        EXPECT_EQ(catalogue.MatchInterfacePath(c.path), c.mode);
    }

    DeviceCatalogue any;
    ASSERT_TRUE(any.ReadText(L"<config><device.info><keyboard><mode vid=\"1\" pid=\"1\"/></keyboard>"
                             L"</device.info></config>",
                             L""));
    EXPECT_EQ(any.MatchInterfacePath(L"\\\\?\\usb#whatever"), 0) << "an empty pattern matches every path";
}

TEST(DeviceCatalogue, StoredDeviceTypeBelowTheModelsSelectsTheKeyboard)
{
    const struct
    {
        int stored;
        int chosen;
    } cases[] = {{0, 101}, {-7, 101}, {99, 101}, {100, 100}, {101, 101}, {102, 102}};
    for (const auto& c : cases)
        EXPECT_EQ(DeviceCatalogue::ChooseDeviceType(c.stored), c.chosen) << c.stored;
}

TEST(DeviceCatalogue, NumbersReadLikeTheLibraryConversions)
{
    const struct
    {
        const wchar_t* text;
        int decimal;
        int hex;
    } cases[] = {
        {L"", 0, 0},           {L"12", 12, 0x12},        {L"0x1F", 0, 0x1F},   {L"3151", 3151, 0x3151},
        {L"42abc", 42, 0x42abc}, {L"abc", 0, 0xabc},      {L"-5", -5, -5},      {L" 7", 7, 7},
        {L"99999999999", 0, 0}, {L"ffffffffff", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        EXPECT_EQ(ParseDecimalValue(c.text), c.decimal);
        EXPECT_EQ(ParseHexValue(c.text), c.hex);
    }
}

} // namespace
