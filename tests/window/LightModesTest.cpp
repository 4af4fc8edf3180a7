// The lighting page's window-less rules: default modes, direction editors,
// colour texts of profile files and of the RGB fields.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/store/ConfigDB.h"
#include "app/window/LightModes.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace tarnwell;

TEST(LightColours, ProfileColourTextsGiveTheirBytesAndMissingDigitsCountAsZero)
{
    const struct
    {
        const wchar_t* text;
        COLORREF colour;
    } cases[] = {
        {L"#FF8000", ColourOfBytes(255, 128, 0)},
        {L"#ff", ColourOfBytes(255, 0, 0)},
        {L"#FF8", ColourOfBytes(255, 8, 0)},
        {L"#FF80", ColourOfBytes(255, 128, 0)},
        {L"#FF8001", ColourOfBytes(255, 128, 1)},
        {L"#FF80012", 0},  // more than six digits
        {L"#F", 0},        // one digit
        {L"#", 0},
        {L"", 0},
        {L"#GG00FF", ColourOfBytes(0, 0, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(ParseColorValue(c.text), c.colour);
    }
    EXPECT_EQ(ParseColorValue(nullptr), 0u);
}

TEST(LightColours, RgbFieldsClampToAByteAndSayWhatToShow)
{
    const struct
    {
        const wchar_t* text;
        int value;
        const wchar_t* shown;
    } cases[] = {
        {L"128", 128, L""}, {L"300", 255, L"255"}, {L"-5", 0, L"0"}, {L"abc", 0, L"0"},
        {L"", 0, L"0"},     {L"0", 0, L""},        {L"255", 255, L""}, {L"99999999999", 255, L"255"},
    };
    for (const auto& c : cases) {
        const ColourByte result = ClampColourByte(c.text);
        EXPECT_EQ(result.value, c.value);
        EXPECT_EQ(result.shown, CString(c.shown));
    }
}

TEST(LightModes, DirectionEditorsFollowTheFlagWordAndTheMode)
{
    const struct
    {
        int flags, mode;
        bool shown, upDown;
        int first, second;
    } cases[] = {
        {0x37, 0, true, false, 208, 209}, {0x07, 9, true, false, 210, 211}, {0x07, 12, true, false, 212, 213},
        {0x0B, 10, true, true, 0, 0},     {0x0C, 3, true, false, 208, 209}, {0x31, 3, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        const DirectionEditor editor = DirectionEditorFor(c.flags, c.mode);
        EXPECT_EQ(editor.shown, c.shown) << c.flags;
        EXPECT_EQ(editor.upDown, c.upDown) << c.flags;
        EXPECT_EQ(editor.firstText, c.first) << c.flags;
        EXPECT_EQ(editor.secondText, c.second) << c.flags;
    }
}

TEST(LightModes, ANewProfileGetsEveryModeOnceWithModeZeroActiveAndOneMusicLayer)
{
    testsupport::TempFolder folder;
    ::CreateDirectoryW(folder.File(L"db").c_str(), nullptr);
    ConfigDB store;
    ASSERT_TRUE(store.OpenDB(folder.Path().c_str(), L"K"));

    InsertDefaultLightModes(store, 3);
    InsertDefaultLightModes(store, 3);  // a profile with rows gets none
    EXPECT_EQ(store.CountLights(3), 16);
    EXPECT_EQ(store.CountMusicLayers(3), 1);
    EXPECT_EQ(store.GetActiveLightMode(3), 0);

    LightData row;
    ASSERT_TRUE(store.GetLight(3, 14, row));
    EXPECT_EQ(row.config_func, LIGHT_PER_KEY | LIGHT_COLOUR);
    EXPECT_EQ(row.colorful, 0);
    EXPECT_EQ(row.name, CString(L"274"));
    ASSERT_TRUE(store.GetLight(3, 128, row));
    EXPECT_EQ(row.config_func, LIGHT_MUSIC);
    ASSERT_TRUE(store.GetLight(3, 2, row));
    EXPECT_EQ(row.brightness, 5);
    EXPECT_EQ(row.speed, 3);
    EXPECT_EQ(row.colorful, 1);
    EXPECT_EQ(row.color_value1, 255);
    EXPECT_EQ(store.CountLights(4), 0);
    store.CloseDB();
}

} // namespace
