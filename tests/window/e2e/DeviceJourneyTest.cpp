// Journeys of the keyboard catalogue and the device state: the program
// started with the keyboard, the keypad or both, the keyboard unplugged and
// plugged back while it runs, and damaged configuration and layout files.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/window/e2e/ProgramHarness.h"

namespace {

using namespace e2e;

constexpr UINT WM_APP_EXIT = 0x69B;
constexpr LPARAM APP_EXIT_CODE = 610;

// The program's state queries.
constexpr WPARAM QUERY_CONNECTED = 1;
constexpr WPARAM QUERY_READY = 2;
constexpr WPARAM QUERY_HOME_SHOWN = 3;
constexpr WPARAM QUERY_ENTER_TEXT = 4;
constexpr WPARAM QUERY_KEYS_PICTURE = 5;
constexpr WPARAM QUERY_LIGHT_PICTURE = 6;
constexpr WPARAM QUERY_LAYOUT_KEYS = 7;
constexpr WPARAM QUERY_MODE_COUNT = 9;

// The enter button's texts.
constexpr long TEXT_CONNECTED = 60;
constexpr long TEXT_NOT_CONNECTED = 63;

constexpr int kShippedKeys = 104;
const wchar_t* const kConfig = L"config.xml";
const wchar_t* const kLayout = L"layouts\\TK104.xml";

SimDevice Keyboard(bool present = true)
{
    SimDevice d;
    d.present = present;
    return d;
}

SimDevice Keypad(bool present = true)
{
    SimDevice d;
    d.id = 2;
    d.pid = 0x4011;
    d.interfaceNumber = 0;
    d.numpad = true;
    d.present = present;
    return d;
}

class DeviceJourney : public ProgramJourney
{
protected:
    void TearDown() override
    {
        ProgramJourney::TearDown();
        RestoreRunFile(kConfig);
        RestoreRunFile(kLayout);
    }

    long Query(WPARAM query) const { return QueryProgramState(program->Window(), query); }

    bool WaitConnected(bool connected) const
    {
        const long text = connected ? TEXT_CONNECTED : TEXT_NOT_CONNECTED;
        return WaitFor([&] { return Query(QUERY_CONNECTED) == (connected ? 1 : 0) && Query(QUERY_ENTER_TEXT) == text; });
    }

    bool Opened(int device) const
    {
        for (const SimEvent& event : sim.Events())
            if (event.kind == "open" && event.device == device && event.words.size() > 1 && event.words[1] == "ok")
                return true;
        return false;
    }

    // Requests written to a device after the log's n-th event.
    int RequestsAfter(size_t n, int device) const
    {
        const std::vector<SimEvent> events = sim.Events();
        int count = 0;
        for (size_t i = n; i < events.size(); ++i)
            count += events[i].kind == "out" && events[i].device == device ? 1 : 0;
        return count;
    }

    int RejectedRequests() const
    {
        int count = 0;
        for (const SimEvent& event : sim.Events())
            count += event.kind == "out" && event.words.size() > 2 && event.words[2] == "rejected" ? 1 : 0;
        return count;
    }

    void Exit()
    {
        SendMessageW(program->Window(), WM_APP_EXIT, 0, APP_EXIT_CODE);
        EXPECT_EQ(program->WaitForExit(), 0);
    }

    // Both pictures hold every key of the layout (where the window has them).
    // The pages that show them are built after the first paint, so the
    // layout reaches them a moment after the program answers.
    void ExpectPicturesHold(long keys)
    {
        EXPECT_TRUE(WaitFor([&] { return Query(QUERY_LAYOUT_KEYS) == keys; }))
            << "the layout holds " << Query(QUERY_LAYOUT_KEYS) << " keys";
        for (WPARAM picture : {QUERY_KEYS_PICTURE, QUERY_LIGHT_PICTURE}) {
            if (WaitFor([&] { return Query(picture) == keys; }))
                continue;
            const long held = Query(picture);
            if (held != -1) {
                EXPECT_EQ(held, keys) << "picture query " << picture;
            }
        }
    }
};

TEST_F(DeviceJourney, StartPluggedReadsTheCatalogueOpensTheDatabaseAndLoadsTheLayout)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitConnected(true)) << "the keyboard was not found";
    EXPECT_TRUE(Opened(1));
    EXPECT_EQ(Query(QUERY_MODE_COUNT), 3);

    const std::wstring database = DataFolder() + L"db\\TK104_data.db";
    EXPECT_TRUE(FileExists(database));
    EXPECT_EQ(QueryDatabase(database, "SELECT COUNT(*) FROM t_config_data WHERE profile = 0"), 44)
        << "the database holds not the default rows";
    ExpectPicturesHold(kShippedKeys);
    EXPECT_TRUE(WaitFor([&] { return Query(QUERY_READY) == 1; }));
    // The stored type is read and written back: a missing one becomes 0.
    std::wstring deviceType;
    EXPECT_TRUE(ReadRegistryValue(L"DeviceType", deviceType));
    EXPECT_EQ(deviceType, L"0");

    SaveScreenshot(window, L"home_connected");
    Exit();
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

TEST_F(DeviceJourney, UnplugShowsTheHomePageNotConnectedAndPlugBackConnects)
{
    HWND window = StartProgram();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitConnected(true));
    ASSERT_TRUE(WaitFor([&] { return Query(QUERY_READY) == 1; }));

    const DWORD unplugged = GetTickCount();
    ASSERT_TRUE(sim.SetDevices({Keyboard(false)}));
    const size_t removal = sim.Events().size();
    EXPECT_TRUE(WaitConnected(false)) << "the removal was not noticed";
    // The worker lets the device settle for a second before it rescans.
    EXPECT_LT(GetTickCount() - unplugged, 4000u) << "the removal took too long to show";
    EXPECT_EQ(Query(QUERY_READY), 0);
    EXPECT_NE(Query(QUERY_HOME_SHOWN), 0) << "the home page is not shown";
    SaveScreenshot(window, L"home_disconnected");

    // Nothing more goes to the device: no stream, no command.
    const size_t settled = sim.Events().size();
    Sleep(1500);
    EXPECT_EQ(RequestsAfter(settled, 1), 0);
    EXPECT_EQ(RequestsAfter(removal, 1), 0);

    ASSERT_TRUE(sim.SetDevices({Keyboard(true)}));
    EXPECT_TRUE(WaitConnected(true)) << "the keyboard plugged back was not found";
    EXPECT_TRUE(WaitFor([&] { return Query(QUERY_READY) == 1; })) << "the pages did not reload";
    ExpectPicturesHold(kShippedKeys);
    Exit();
    EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
}

TEST_F(DeviceJourney, KeypadAloneKeyboardAloneOrBothAreConnected)
{
    const struct
    {
        const char* name;
        std::vector<SimDevice> devices;
    } cases[] = {
        {"keypad alone", {Keypad()}},
        {"keyboard alone", {Keyboard()}},
        {"both", {Keyboard(), Keypad()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearUserState();
        sim.Reset(c.devices);
        program = std::make_unique<Program>();
        ASSERT_NE(StartProgram(), nullptr);
        EXPECT_TRUE(WaitConnected(true));
        EXPECT_TRUE(WaitFor([&] { return Query(QUERY_READY) == 1; }));
        for (const SimDevice& device : c.devices)
            EXPECT_TRUE(Opened(device.id)) << "device " << device.id << " was not opened";
        Exit();
    }

    // And nothing of the catalogue: the home page says so.
    ClearUserState();
    SimDevice stranger;
    stranger.pid = 0x9999;
    sim.Reset({stranger});
    program = std::make_unique<Program>();
    ASSERT_NE(StartProgram(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return sim.Count("enumerate") >= 1; }));
    EXPECT_TRUE(WaitConnected(false));
    EXPECT_FALSE(Opened(1));
    Exit();
}

// A layout with three good keys among keys that could not be used.
const char* const kHostileLayout =
    "<?xml version=\"1.0\"?><device.info><light rgb_keyboard=\"1\" brightness_max=\"5\"/>"
    "<Keyboard bk_color=\"1b1b1b\" xpos=\"197\" ypos=\"90\" width=\"986\" height=\"271\" image=\"kb_104.png\" "
    "row_count=\"6\" col_count=\"22\"><KeyItems>"
    "<key code=\"29\" key_index=\"0\" rect_left=\"0\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"0,0\"/>"
    "<key code=\"3a\" key_index=\"200\" rect_left=\"88\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"0,2\"/>"
    "<key code=\"3b\" key_index=\"2\" rect_left=\"132\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"9,40\"/>"
    "<key code=\"3c\" key_index=\"0\" rect_left=\"176\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"0,4\"/>"
    "<key/>"
    "<key code=\"3d\" key_index=\"-3\" row_col=\"0,5\"/>"
    "<key code=\"35\" key_index=\"21\" rect_left=\"0\" rect_top=\"55\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"1,0\"/>"
    "<key code=\"1e\" key_index=\"22\" rect_left=\"44\" rect_top=\"55\" rect_width=\"40\" rect_height=\"40\" "
    "row_col=\"1,1\"/>"
    "</KeyItems></Keyboard></device.info>";

TEST_F(DeviceJourney, HostileConfigAndLayoutFilesStartTheProgramAndSendNothingBuiltFromThem)
{
    const struct
    {
        const char* name;
        const wchar_t* file;
        const char* bytes;  // null: the file is removed
        bool catalogue;     // the keyboard is still in the catalogue
        long layoutKeys;
    } cases[] = {
        {"empty config", kConfig, "", false, 0},
        {"truncated config",
         kConfig,
         "<?xml version=\"1.0\"?>\r\n<config>\r\n <device.info>\r\n  <keyboard name=\"TK104\" device_type=\"101\" "
         "device_info=\"TK104\">\r\n   <mode value=\"1\" vid=\"3151\" pid=\"4010\" hid_inter",
         false, 0},
        {"config not XML", kConfig, "\x89PNG\r\n\x1a\n\x01\x02 vid=3151 pid=4010", false, 0},
        {"config without modes",
         kConfig,
         "<config><device.info><keyboard name=\"TK104\" device_type=\"101\" device_info=\"TK104\"/></device.info>"
         "</config>",
         false, kShippedKeys},
        {"config naming a path",
         kConfig,
         "<config><device.info><keyboard name=\"..\\..\\x\" device_type=\"101\" device_info=\"..\\..\\y\">"
         "<mode vid=\"3151\" pid=\"4010\" hid_interface=\"MI_02\"/></keyboard></device.info></config>",
         true, 0},
        {"layout with keys outside the grid, duplicates and missing attributes", kLayout, kHostileLayout, true, 3},
        {"layout not XML", kLayout, "<device.info><Keyboard width=\"986\"", true, 0},
        {"layout missing", kLayout, nullptr, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearUserState();
        RestoreRunFile(kConfig);
        RestoreRunFile(kLayout);
        if (c.bytes != nullptr)
            ASSERT_TRUE(ReplaceRunFile(c.file, c.bytes));
        else
            RemoveRunFile(c.file);
        sim.Reset({Keyboard()});
        program = std::make_unique<Program>();
        HWND window = StartProgram();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitFor([&] { return sim.Count("enumerate") >= 1; }));
        EXPECT_TRUE(WaitConnected(c.catalogue));
        EXPECT_TRUE(WaitFor([&] { return Query(QUERY_LAYOUT_KEYS) == c.layoutKeys; }))
            << "the layout holds " << Query(QUERY_LAYOUT_KEYS) << " keys";
        ExpectPicturesHold(c.layoutKeys);
        if (!c.catalogue) {
            EXPECT_FALSE(Opened(1));
            EXPECT_EQ(sim.Count("out"), 0) << "a request went to a keyboard the catalogue does not list";
        } else {
            EXPECT_TRUE(WaitFor([&] { return Query(QUERY_READY) == 1; }));
        }
        EXPECT_EQ(RejectedRequests(), 0) << "the keyboard refused a malformed request";
        EXPECT_TRUE(program->Running());
        EXPECT_FALSE(FileExists(DataFolder() + L"..\\x_data.db")) << "a database was made outside the data folder";
        Exit();
        EXPECT_EQ(sim.UnbalancedBeginEnd(), "");
    }
}

} // namespace
