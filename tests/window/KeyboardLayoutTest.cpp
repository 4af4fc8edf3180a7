// Layout files: what a key needs to be loaded, what a damaged file leaves,
// and the shipped files checked against the picture, the key map and the
// music grid they feed.

#include <windows.h>

#include <gtest/gtest.h>
#include <lodepng.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/window/DeviceCatalogue.h"
#include "app/window/KeyboardLayout.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace tarnwell;

std::wstring Layout(const std::wstring& keys, const std::wstring& keyboard = L"width=\"400\" height=\"100\"")
{
    return L"<?xml version=\"1.0\"?><device.info>"
           L"<light rgb_keyboard=\"1\" brightness_max=\"7\" speed_max=\"9\" default_mode=\"3\" "
           L"default_brightness=\"4\" default_speed=\"2\"/>"
           L"<Keyboard bk_color=\"0x1b2b3b\" xpos=\"200\" ypos=\"90\" " +
           keyboard +
           L" image=\"kb.png\" row_count=\"6\" col_count=\"22\"><KeyItems>" + keys +
           L"</KeyItems></Keyboard></device.info>";
}

std::wstring Key(const wchar_t* code, const wchar_t* index, const wchar_t* rowCol, int left = 0, int width = 40)
{
    return L"<key code=\"" + std::wstring(code) + L"\" key_index=\"" + index + L"\" rect_left=\"" +
           std::to_wstring(left) + L"\" rect_top=\"0\" rect_width=\"" + std::to_wstring(width) +
           L"\" rect_height=\"40\" row_col=\"" + rowCol + L"\" name=\"n\"/>";
}

TEST(KeyboardLayout, RowColGivesRowDigitAndOneOrTwoColumnDigits)
{
    const struct
    {
        const wchar_t* text;
        bool ok;
        int row;
        int column;
    } cases[] = {
        {L"3,5", true, 3, 5},   {L"3,15", true, 3, 15}, {L"7_31", true, 7, 31}, {L"4", true, 4, 4},
        {L"12", true, 1, 12},   {L"0,00", true, 0, 0},  {L"", false, 0, 0},     {L"a,1", false, 0, 0},
        {L"1,x", false, 0, 0},  {L"1,-1", false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + wcslen(c.text)));
        int row = -1, column = -1;
        EXPECT_EQ(ParseRowCol(c.text, row, column), c.ok);
        if (c.ok) {
            EXPECT_EQ(row, c.row);
            EXPECT_EQ(column, c.column);
        }
    }
    EXPECT_EQ(MakeKeyboardImagePath(L"kb_104.png"), L"keyboard\\kb_104.png");
}

TEST(KeyboardLayout, ReadsLightPictureKeysPositionsAndGrid)
{
    KeyboardLayout layout;
    ASSERT_TRUE(layout.ReadText(Layout(Key(L"29", L"0", L"0,0") + Key(L"0x3a", L"5", L"1,12", 44) +
                                       Key(L"1fe", L"127", L"7,31", 88))
                                    .c_str()));
    EXPECT_TRUE(layout.HasLight());
    EXPECT_EQ(layout.RgbKeyboard(), 1);
    EXPECT_EQ(layout.BrightnessMax(), 7);
    EXPECT_EQ(layout.SpeedMax(), 9);
    EXPECT_EQ(layout.DefaultMode(), 3);
    ASSERT_TRUE(layout.HasKeyboard());
    EXPECT_EQ(layout.Background(), 0x1b2b3bu);
    EXPECT_EQ(layout.XPos(), 200);
    EXPECT_EQ(layout.YPos(), 90);
    EXPECT_EQ(layout.Width(), 400);
    EXPECT_EQ(layout.Height(), 100);
    EXPECT_EQ(layout.Image(), L"kb.png");
    EXPECT_EQ(layout.RowCount(), 6);
    EXPECT_EQ(layout.ColumnCount(), 22);

    ASSERT_EQ(layout.Keys().size(), 3u);
    EXPECT_EQ(layout.SkippedKeys(), 0);
    EXPECT_EQ(layout.Keys()[1].code, 0x3a);
    EXPECT_EQ(layout.Keys()[1].rect.left, 44);
    EXPECT_EQ(layout.Keys()[1].rect.right, 84);
    EXPECT_EQ(layout.Keys()[1].rect.bottom, 40);
    EXPECT_EQ(layout.Positions(), (std::map<int, int>{{0x29, 0}, {0x3a, 5}, {0x1fe, 127}}));
    EXPECT_EQ(layout.Grid()[0][0], 0x29);
    EXPECT_EQ(layout.Grid()[1][12], 0x3a);
    EXPECT_EQ(layout.Grid()[7][31], 0xfe) << "a cell holds the code's low 8 bits";
    EXPECT_EQ(layout.Grid()[2][2], 0);
}

TEST(KeyboardLayout, KeysOutOfRangeAreLeftOutAndTheOthersLoad)
{
    const struct
    {
        const char* why;
        std::wstring key;
    } bad[] = {
        {"row 8", Key(L"4", L"10", L"8,1")},
        {"column 32", Key(L"5", L"11", L"1,32")},
        {"position 128", Key(L"6", L"128", L"1,2")},
        {"negative position", Key(L"7", L"-1", L"1,3")},
        {"position taken", Key(L"8", L"0", L"1,4")},
        {"no cell", Key(L"9", L"12", L"")},
        {"code 0", Key(L"0", L"13", L"1,5")},
        {"code not a number", Key(L"zz", L"14", L"1,6")},
        {"rect beyond the picture", Key(L"a", L"15", L"1,7", 380, 40)},
        {"empty rect", Key(L"b", L"16", L"1,8", 0, 0)},
        {"no attributes", L"<key/>"},
    };
    std::wstring keys = Key(L"29", L"0", L"0,0");
    for (const auto& b : bad)
        keys += b.key;
    keys += Key(L"2a", L"1", L"0,1", 44);

    KeyboardLayout layout;
    ASSERT_TRUE(layout.ReadText(Layout(keys).c_str()));
    EXPECT_EQ(layout.SkippedKeys(), static_cast<int>(std::size(bad)));
    ASSERT_EQ(layout.Keys().size(), 2u);
    EXPECT_EQ(layout.Positions(), (std::map<int, int>{{0x29, 0}, {0x2a, 1}}));
    int filled = 0;
    for (const auto& row : layout.Grid())
        for (uint8_t cell : row)
            filled += cell != 0 ? 1 : 0;
    EXPECT_EQ(filled, 2);
}

TEST(KeyboardLayout, ACodeListedTwiceKeepsItsLaterPositionAndBothKeys)
{
    KeyboardLayout layout;
    ASSERT_TRUE(layout.ReadText(Layout(Key(L"29", L"3", L"0,0") + Key(L"29", L"9", L"0,1", 44)).c_str()));
    EXPECT_EQ(layout.Keys().size(), 2u);
    EXPECT_EQ(layout.Positions(), (std::map<int, int>{{0x29, 9}}));
}

TEST(KeyboardLayout, DamagedFilesLeaveNoKeys)
{
    testsupport::TempFolder folder;
    const struct
    {
        const char* name;
        const char* bytes;  // null: no file
        bool reads;         // the file is a layout at all
        bool keyboard;
    } cases[] = {
        {"missing", nullptr, false, false},
        {"empty", "", false, false},
        {"truncated", "<device.info><light rgb_keyboard=\"1\"/><Keyboard width=\"400\" height=\"100\"><KeyItems>"
                      "<key code=\"29\" key_index=\"0\" rect_le",
         false, false},
        {"not XML", "\x89PNG\r\n\x1a\n", false, false},
        {"other root", "<config><Keyboard width=\"400\" height=\"100\"/></config>", false, false},
        // Keyboard before light: light is found, Keyboard is then behind.
        {"Keyboard before light",
         "<device.info><Keyboard width=\"400\" height=\"100\"><KeyItems><key code=\"29\" key_index=\"0\" "
         "rect_width=\"9\" rect_height=\"9\" row_col=\"0,0\"/></KeyItems></Keyboard><light rgb_keyboard=\"0\"/>"
         "</device.info>",
         true, false},
        {"no size", "<device.info><Keyboard><KeyItems><key code=\"29\" key_index=\"0\" rect_width=\"9\" "
                    "rect_height=\"9\" row_col=\"0,0\"/></KeyItems></Keyboard></device.info>",
         true, false},
        {"huge size", "<device.info><Keyboard width=\"99999\" height=\"100\"/></device.info>", true, false},
        {"no KeyItems", "<device.info><Keyboard width=\"400\" height=\"100\"><key code=\"29\" key_index=\"0\" "
                        "rect_width=\"9\" rect_height=\"9\" row_col=\"0,0\"/></Keyboard></device.info>",
         true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.File(L"layout.xml");
        DeleteFileW(path.c_str());
        if (c.bytes != nullptr) {
            std::ofstream out(std::string(path.begin(), path.end()), std::ios::binary);
            out << c.bytes;
        }
        KeyboardLayout layout;
        EXPECT_EQ(layout.Read(path.c_str()), c.reads);
        EXPECT_EQ(layout.HasKeyboard(), c.keyboard);
        EXPECT_TRUE(layout.Keys().empty());
        EXPECT_TRUE(layout.Positions().empty());
    }
    KeyboardLayout light;
    ASSERT_TRUE(light.ReadText(L"<device.info><Keyboard/><light rgb_keyboard=\"0\"/></device.info>"));
    EXPECT_TRUE(light.HasLight());
    EXPECT_EQ(light.RgbKeyboard(), 0);
}

// ---- the shipped files ----------------------------------------------------------------------

std::wstring Widen(const char* text)
{
    std::wstring out;
    for (; *text != 0; ++text)
        out += *text == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

// Window size and the top of the pages' lower panel, where the picture must end.
constexpr int kWindowWidth = 1380;
constexpr int kLowerPanelTop = 800 - 380;
constexpr int kPictureMargin = 10;

TEST(ShippedLayouts, EveryCatalogueKeyboardHasALayoutThatFitsItsPictureKeyMapAndGrid)
{
    const std::wstring bin = Widen(TARNWELL_BIN_FOLDER);
    DeviceCatalogue catalogue;
    ASSERT_TRUE(catalogue.Read((bin + L"config.xml").c_str(), bin + L"device\\"));
    ASSERT_FALSE(catalogue.Keyboards().empty());
    ASSERT_FALSE(catalogue.Modes().empty());
    bool keypad = false;
    for (const DeviceModeInfo& mode : catalogue.Modes())
        keypad = keypad || mode.name == L"PLMO3-RX";
    EXPECT_TRUE(keypad) << "the numeric keypad has no mode";
    ASSERT_NE(catalogue.FindKeyboard(DeviceCatalogue::kDefaultDeviceType), nullptr);

    for (const DeviceModeInfo& keyboard : catalogue.Keyboards()) {
        SCOPED_TRACE(std::string(keyboard.deviceInfo.begin(), keyboard.deviceInfo.end()));
        EXPECT_NE(GetFileAttributesW(keyboard.imgConnected.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_NE(GetFileAttributesW(keyboard.imgDisconnected.c_str()), INVALID_FILE_ATTRIBUTES);

        KeyboardLayout layout;
        ASSERT_TRUE(layout.Read((bin + L"layouts\\" + keyboard.deviceInfo + L".xml").c_str()));
        ASSERT_TRUE(layout.HasLight());
        ASSERT_TRUE(layout.HasKeyboard());
        EXPECT_EQ(layout.SkippedKeys(), 0) << "a shipped key is out of range";
        EXPECT_GE(layout.Keys().size(), 104u);

        // The picture's control takes the image's whole size: the layout plus
        // the margin on every side.
        const std::wstring image = bin + L"skins\\theme1\\" + MakeKeyboardImagePath(layout.Image());
        std::vector<unsigned char> png;
        std::ifstream in(std::string(image.begin(), image.end()), std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        unsigned width = 0, height = 0;
        lodepng::State state;
        ASSERT_EQ(lodepng_inspect(&width, &height, &state, png.data(), png.size()), 0u) << "no keyboard image";
        EXPECT_EQ(static_cast<int>(width), layout.Width() + 3 * kPictureMargin);
        EXPECT_EQ(static_cast<int>(height), layout.Height() + 3 * kPictureMargin);
        EXPECT_GE(layout.XPos() - kPictureMargin, 0);
        EXPECT_LE(layout.XPos() + layout.Width() + 2 * kPictureMargin, kWindowWidth);
        EXPECT_LE(layout.YPos() + layout.Height() + 2 * kPictureMargin, kLowerPanelTop);

        std::set<int> positions;
        std::set<std::pair<int, int>> cells;
        for (const LayoutKey& key : layout.Keys()) {
            SCOPED_TRACE(key.code);
            EXPECT_GE(key.rect.left, 0);
            EXPECT_GE(key.rect.top, 0);
            EXPECT_LE(key.rect.right, layout.Width());
            EXPECT_LE(key.rect.bottom, layout.Height());
            EXPECT_TRUE(positions.insert(key.position).second) << "position " << key.position << " twice";
            EXPECT_LT(key.position, KeyboardLayout::kPositions);
            EXPECT_LT(key.row, layout.RowCount());
            EXPECT_LT(key.column, layout.ColumnCount());
            EXPECT_TRUE(cells.insert({key.row, key.column}).second) << "cell taken twice";
        }
        EXPECT_EQ(layout.Positions().size(), layout.Keys().size()) << "a key code is listed twice";
    }
}

} // namespace
