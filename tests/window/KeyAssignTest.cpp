// The keys page's changes to key rows: seeding, assignment by list, picker
// and drop, the resets and the layout presets.

#include <gtest/gtest.h>

#include <map>

#include "app/device/KeyCodes.h"
#include "app/window/KeyAssign.h"

namespace {

using namespace tarnwell;

KeyMacroData Row(int layer, int code)
{
    KeyMacroData row;
    row.profile = 7;
    row.fn_layer = layer;
    row.key_code = code;
    row.macro_type = 5;
    row.macro_value = 999;
    row.macro_value2 = 3;
    row.macro_value3 = 4;
    row.macro_desc = L"old";
    return row;
}

TEST(KeyAssign, SeedingGivesBothLayersOfEveryKey)
{
    const std::vector<PictureKey> keys = {{4, L"A"}, {175, L"Fn"}, {240, L"Knob"}};
    const std::vector<KeyMacroData> rows = SeedKeyRows(3, keys);
    ASSERT_EQ(rows.size(), 6u);
    for (size_t i = 0; i < rows.size(); ++i) {
        const KeyMacroData& row = rows[i];
        EXPECT_EQ(row.profile, 3);
        EXPECT_EQ(row.key_code, keys[i / 2].code);
        EXPECT_EQ(row.macro_value, row.key_code);
        EXPECT_EQ(row.macro_desc, keys[i / 2].name);
        EXPECT_EQ(row.macro_type, row.fn_layer == 0 ? 2 : 0);
    }
}

TEST(KeyAssign, ListItemsTakeTheirCategorysTypeAndNothingSelectedIsIgnored)
{
    struct Case {
        int category;
        int value;
        bool assigned;
        int type;
    } cases[] = {
        {1, 233, true, 5},   // Volume Increment
        {2, 104, true, 2},   // F13
        {3, 12, true, 12},   // a macro id
        {4, 3, true, 4},     // right button
        {1, -1, false, 0},   // a click on the grid with nothing selected
        {4, -1, false, 0},
        {0, 4, false, 0},    // the picker's category has no list items
        {9, 4, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "category " << c.category << " value " << c.value);
        KeyMacroData row = Row(0, 4);
        EXPECT_EQ(AssignListItem(row, c.category, c.value, L"text"), c.assigned);
        if (c.assigned) {
            EXPECT_EQ(row.macro_type, c.type);
            EXPECT_EQ(row.macro_value, c.value);
            EXPECT_EQ(row.macro_value2, 0);
            EXPECT_EQ(row.macro_value3, 0);
            EXPECT_EQ(row.macro_desc, CString(L"text"));
        } else {
            EXPECT_EQ(row.macro_type, 5);
            EXPECT_EQ(row.macro_value, 999);
            EXPECT_EQ(row.macro_desc, CString(L"old"));
        }
    }
}

TEST(KeyAssign, CatalogueHoldsThePagesItems)
{
    const std::vector<FunctionItem>& media = CatalogueItems(1);
    ASSERT_EQ(media.size(), 20u);
    EXPECT_EQ(media[1].value, 233);
    EXPECT_EQ(media[1].textId, 161);
    ASSERT_EQ(CatalogueItems(2).size(), 12u);
    EXPECT_STREQ(CatalogueItems(2)[11].text, L"F24");
    EXPECT_EQ(CatalogueItems(2)[11].value, 115);
    ASSERT_EQ(CatalogueItems(4).size(), 5u);
    EXPECT_EQ(CatalogueItems(4)[4].value, 8);
    EXPECT_TRUE(CatalogueItems(0).empty());
    EXPECT_TRUE(CatalogueItems(3).empty());
    EXPECT_TRUE(CatalogueItems(5).empty());
}

TEST(KeyAssign, PickedCellsAreKeysAndTheNullCellSwitchesTheKeyOff)
{
    KeyMacroData row = Row(0, 4);
    AssignPickedCell(row, 1, 0, 0, L"Null");
    EXPECT_EQ(row.macro_type, 1);
    EXPECT_EQ(row.macro_value, 1);
    EXPECT_EQ(row.macro_desc, CString(L"Null"));

    // Code 3 is an ordinary cell now, as is code 1 with a modifier.
    AssignPickedCell(row, 3, 0, 0, L"C3");
    EXPECT_EQ(row.macro_type, 2);
    EXPECT_EQ(row.macro_value, 3);
    AssignPickedCell(row, 1, 2, 0, L"Shift+1");
    EXPECT_EQ(row.macro_type, 2);
    EXPECT_EQ(row.macro_value2, 2);

    AssignPickedCell(row, 30, 4, 5, L"Ctrl 1");
    EXPECT_EQ(row.macro_type, 2);
    EXPECT_EQ(row.macro_value, 30);
    EXPECT_EQ(row.macro_value2, 4);
    EXPECT_EQ(row.macro_value3, 5);
}

TEST(KeyAssign, ResetsOfAKeyAndOfALayer)
{
    struct Case {
        int layer;
        int code;
        int keyType, keyValue;      // single-key reset
        int layerType, layerValue;  // layer reset
    } cases[] = {
        {0, 4, 2, 4, 2, 4},
        {1, 4, 0, 4, 0, 4},
        {0, 240, 11, 240, 11, 496},
        {1, 241, 11, 2176, 11, 2288},
        {0, 242, 11, 2432, 11, 2432},
        {1, 243, 11, 2688, 11, 2800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "layer " << c.layer << " code " << c.code);
        KeyMacroData key = Row(c.layer, c.code);
        ResetKeyRow(key, c.layer);
        EXPECT_EQ(key.macro_type, c.keyType);
        EXPECT_EQ(key.macro_value, c.keyValue);
        EXPECT_EQ(key.macro_desc, GetKeyName(c.code));
        EXPECT_EQ(key.macro_value2, 3);  // kept
        EXPECT_EQ(key.macro_value3, 4);

        KeyMacroData layer = Row(c.layer, c.code);
        ResetLayerRow(layer, c.layer, nullptr);
        EXPECT_EQ(layer.macro_type, c.layerType);
        EXPECT_EQ(layer.macro_value, c.layerValue);
    }

    // On layer 1 a template row replaces the reset, keeping the row's identity.
    KeyMacroData templ = Row(101, 4);
    templ.profile = 1;
    templ.macro_type = 5;
    templ.macro_value = 233;
    KeyMacroData row = Row(1, 4);
    row.key_id = 77;
    ResetLayerRow(row, 1, &templ);
    EXPECT_EQ(row.macro_type, 5);
    EXPECT_EQ(row.macro_value, 233);
    EXPECT_EQ(row.profile, 7);
    EXPECT_EQ(row.fn_layer, 1);
    EXPECT_EQ(row.key_id, 77);
}

TEST(KeyAssign, PresetsRemapTheirKeysAndAreIdempotent)
{
    LayoutPreset preset;
    ASSERT_FALSE(PresetOfItem(201, preset));
    const std::map<int, LayoutPreset> items = {{202, LayoutPreset::Standard}, {203, LayoutPreset::MacModifiers},
                                               {204, LayoutPreset::Standard}, {205, LayoutPreset::Dvorak},
                                               {206, LayoutPreset::Colemak},  {207, LayoutPreset::Workman}};
    for (const auto& item : items) {
        ASSERT_TRUE(PresetOfItem(item.first, preset));
        EXPECT_EQ(preset, item.second);
    }

    const int Q = 20, S = 22, E = 8, F = 9;
    struct Case {
        LayoutPreset preset;
        int code;
        int value;
        const wchar_t* text;  // null: the new usage's name
    } cases[] = {
        {LayoutPreset::Standard, Q, Q, nullptr},     {LayoutPreset::Dvorak, Q, 52, nullptr},
        {LayoutPreset::Dvorak, S, 18, nullptr},      {LayoutPreset::Dvorak, 41, 53, nullptr},
        {LayoutPreset::Colemak, E, F, nullptr},      {LayoutPreset::Colemak, Q, Q, nullptr},
        {LayoutPreset::Workman, 51, 12, nullptr},    {LayoutPreset::MacModifiers, 227, 226, L"Opt"},
        {LayoutPreset::MacModifiers, 226, 227, L"Cmd"}, {LayoutPreset::MacModifiers, 230, 231, L"Cmd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code);
        for (int layer : {0, 1}) {
            KeyMacroData row = Row(layer, c.code);
            ApplyPresetRow(row, c.preset);
            ApplyPresetRow(row, c.preset);  // twice: the same as once
            EXPECT_EQ(row.macro_type, 2);
            EXPECT_EQ(row.macro_value, c.value);
            EXPECT_EQ(row.macro_desc, c.text ? CString(c.text) : GetKeyName(c.value));
            EXPECT_EQ(row.macro_value2, 3);
        }
    }
}

TEST(KeyAssign, FnAndNoKeyCannotTakeAClick)
{
    EXPECT_FALSE(IsAssignableKey(0));
    EXPECT_FALSE(IsAssignableKey(-1));
    EXPECT_FALSE(IsAssignableKey(175));
    EXPECT_TRUE(IsAssignableKey(4));
}

} // namespace
