// The lighting page's window-less rules: direction editors and the RGB fields.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/window/LightModes.h"

namespace {

using namespace tarnwell;

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

} // namespace
