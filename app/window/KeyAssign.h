#pragma once

// What the keys page does to the key rows of a profile, without a window:
// the seeding of a new profile, the function catalogue of the value list,
// the assignments by click, picker and drop, the resets and the layout
// presets. The handlers in KeysPage.cpp read the controls, call these and
// store the rows.

#include <vector>

#include "app/store/ConfigRows.h"
#include "ui/framework/CString.h"

namespace tarnwell {

constexpr int KEY_CODE_FN = 175;
constexpr int FN_LAYER_BASE = 0;
constexpr int FN_LAYER_FN = 1;

// The round control key and its three sub-keys.
constexpr int KEY_CODE_ROUND_FIRST = 240;
constexpr int KEY_CODE_ROUND_LAST = 243;

// macro_type values this page writes.
constexpr int KEY_TYPE_NONE = 0;
constexpr int KEY_TYPE_OFF = 1;
constexpr int KEY_TYPE_KEY = 2;
constexpr int KEY_TYPE_MOUSE = 4;
constexpr int KEY_TYPE_CONSUMER = 5;
constexpr int KEY_TYPE_ROUND_KEY = 11;
constexpr int KEY_TYPE_MACRO = 12;

// The picker's "Null" cell: code 1 with both extra values 0.
constexpr int PICKER_NULL_CODE = 1;

// Tabs of the category strip.
enum KeyCategory : int {
    CATEGORY_PICKER = 0,
    CATEGORY_MEDIA = 1,
    CATEGORY_F_KEYS = 2,
    CATEGORY_MACRO = 3,
    CATEGORY_MOUSE = 4,
};

// One key of the keys page picture.
struct PictureKey {
    int code = 0;
    CString name;
};

// One item of the value list: a language text number, or a literal text
// when textId is 0.
struct FunctionItem {
    int value;
    int textId;
    const wchar_t* text;
};

// The fixed items of a category, in list order; empty for the picker, the
// macro category (its items are the store's macros) and unknown categories.
const std::vector<FunctionItem>& CatalogueItems(int category);

// macro_type of an item chosen in a category; 0 for a category without one.
int CategoryKeyType(int category);

// A click can assign a function to this key: a key is selected and it is not Fn.
inline bool IsAssignableKey(int keyCode) { return keyCode > 0 && keyCode != KEY_CODE_FN; }

// The rows of a profile that has none: layer 0 sends every key itself,
// layer 1 leaves every key to the keyboard.
std::vector<KeyMacroData> SeedKeyRows(int profile, const std::vector<PictureKey>& keys);

// A value-list item on a key row. False, the row unchanged, when there is no
// item (a negative value: nothing selected) or the category has no type.
bool AssignListItem(KeyMacroData& row, int category, int value, const CString& text);

// A picked picker cell on a key row; the "Null" cell switches the key off.
void AssignPickedCell(KeyMacroData& row, int code, int flag, int third, const CString& name);

// The reset of one key on a layer (macro_value2 and macro_value3 kept).
void ResetKeyRow(KeyMacroData& row, int layer);

// The reset of a row during a layer reset. `defaults`, when given, is a
// row of the defaults template that replaces the reset row on layer 1.
void ResetLayerRow(KeyMacroData& row, int layer, const KeyMacroData* defaults);

enum class LayoutPreset { Standard, MacModifiers, Dvorak, Colemak, Workman };

// The preset of a combo item or menu item (202 to 207); false for others.
bool PresetOfItem(int item, LayoutPreset& preset);

// A preset on one row: the key sends the preset's usage for its own code, or
// itself (macro_value2 and macro_value3 kept).
void ApplyPresetRow(KeyMacroData& row, LayoutPreset preset);

} // namespace tarnwell
