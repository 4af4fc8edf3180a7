// The keys page: layout presets, key resets, Fn layers and key-function
// assignment. Each change is stored in the key rows of the current profile at
// once and the key map is sent to the keyboard by the worker.

#include "app/window/KeyboardDlg.h"

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/ComboBox.h"

using namespace tarnwell;

namespace {

constexpr UINT ID_KEYS_PICTURE = 63;
constexpr UINT ID_PRESET_COMBO = 67;
constexpr UINT ID_LAYER_TABS = 70;
constexpr UINT ID_CATEGORY_TABS = 73;
constexpr UINT ID_KEY_PICKER = 74;
constexpr UINT ID_VALUE_LIST = 75;
constexpr UINT ID_LIGHTING_PICTURE = 118;

constexpr int MENU_ADD_PROFILE = 101;
constexpr int MENU_DELETE_PROFILE = 102;

constexpr int TEXT_RESET_LAYER_QUESTION = 115;
constexpr int TEXT_RESET_LAYER_TITLE = 116;
constexpr int MESSAGE_OK_CANCEL = 4;
constexpr int MESSAGE_CANCELLED = 2;

// Rows of the defaults template sit on this layer plus the Fn layer, in profile 1.
constexpr int TEMPLATE_PROFILE = 1;
constexpr int TEMPLATE_LAYER_OFFSET = 100;

template <class T>
T* Find(KeyboardDlg& dialog, UINT id)
{
    return dynamic_cast<T*>(dialog.Control(id));
}

std::vector<KeyMacroData> Values(const StoreRows<KeyMacroData>& rows)
{
    std::vector<KeyMacroData> values;
    values.reserve(rows.Rows().size());
    for (const KeyMacroData* row : rows.Rows())
        values.push_back(*row);
    return values;
}

// The row to change, named by its profile, layer and key even when the store
// lacks it (the update then changes nothing).
KeyMacroData ReadRow(int profile, int layer, int key)
{
    KeyMacroData row;
    if (!GetConfigDB().GetKeyMacro(profile, layer, key, row)) {
        row.profile = profile;
        row.fn_layer = layer;
        row.key_code = key;
    }
    return row;
}

} // namespace

std::vector<PictureKey> KeyboardDlg::PictureKeys()
{
    std::vector<PictureKey> keys;
    if (auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE)) {
        for (const VREL::KEY_INFO& key : picture->GetKeyItems())
            keys.push_back({key.keyCode, key.name});
    }
    return keys;
}

int KeyboardDlg::CurrentCategory()
{
    auto* tabs = Find<VREL::KeyTypeTab>(*this, ID_CATEGORY_TABS);
    return tabs != nullptr ? tabs->GetSelectItem() : CATEGORY_PICKER;
}

void KeyboardDlg::InitKeyTable(int profile)
{
    ConfigDB& store = GetConfigDB();
    if (profile <= 0 || store.CountKeyMacros(profile) > 0)
        return;
    const std::vector<KeyMacroData> rows = SeedKeyRows(profile, PictureKeys());
    if (!rows.empty())
        store.InsertKeyMacros(rows);
}

void KeyboardDlg::LoadKeyMap()
{
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    auto* lighting = Find<VREL::KeyboardCtrl>(*this, ID_LIGHTING_PICTURE);
    if (picture != nullptr)
        picture->ResetTipKey();
    if (lighting != nullptr)
        lighting->ResetTipKey();
    const int profile = SelectedProfile();
    if (picture != nullptr && profile > 0) {
        StoreRows<KeyMacroData> rows;
        GetConfigDB().GetLayerKeyMacros(profile, m_fnLayer, rows.Out());
        for (const KeyMacroData* row : rows.Rows())
            picture->SetKeyItemInfo(row->key_code, row->macro_desc, row->macro_type, row->macro_desc);
    }
    if (picture != nullptr)
        picture->UpdateControl(1, 1);
    if (lighting != nullptr)
        lighting->UpdateControl(1, 1);
}

// ---- layers and categories ----------------------------------------------------------------

LRESULT KeyboardDlg::OnFnLayerTab(const ControlNotify&)
{
    auto* tabs = Find<VREL::KeyLayerCtrl>(*this, ID_LAYER_TABS);
    if (tabs == nullptr)
        return 0;
    m_fnLayer = tabs->GetSelectKeyLayerID() == FN_LAYER_FN ? FN_LAYER_FN : FN_LAYER_BASE;
    LoadKeyMap();
    return 1;
}

LRESULT KeyboardDlg::FillFunctionList(const ControlNotify& n)
{
    auto* tabs = Find<VREL::KeyTypeTab>(*this, ID_CATEGORY_TABS);
    FillFunctionList(tabs != nullptr ? tabs->GetSelectItem() : static_cast<int>(n.wParam));
    return 1;
}

void KeyboardDlg::FillFunctionList(int category)
{
    if (category == CATEGORY_PICKER) {
        SetControlVisible(ID_KEY_PICKER, true);
        SetControlVisible(ID_VALUE_LIST, false);
        return;
    }
    SetControlVisible(ID_KEY_PICKER, false);
    SetControlVisible(ID_VALUE_LIST, true);
    auto* list = Find<VREL::KeyValueList>(*this, ID_VALUE_LIST);
    if (list == nullptr)
        return;
    list->ClearAllItems();
    if (category == CATEGORY_MACRO) {
        StoreRows<MacroData> macros;
        GetConfigDB().GetMacroList(macros.Out());
        for (const MacroData* macro : macros.Rows())
            list->AddKeyInfo(macro->macro_id, macro->name, CString());
    } else {
        for (const FunctionItem& item : CatalogueItems(category))
            list->AddKeyInfo(item.value, item.textId != 0 ? LanguageText(item.textId) : CString(item.text), CString());
    }
    list->SetSelectKeyValue(-1);
}

// ---- assignment -------------------------------------------------------------------------------

LRESULT KeyboardDlg::AssignFunction(const ControlNotify&)
{
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    auto* list = Find<VREL::KeyValueList>(*this, ID_VALUE_LIST);
    if (picture == nullptr || list == nullptr)
        return 0;
    const int key = picture->GetCurrentKeyValue();
    const int profile = SelectedProfile();
    if (!IsAssignableKey(key) || profile <= 0)
        return 0;
    CString text;
    const int value = static_cast<int>(list->GetSelectKeyValue(text));
    KeyMacroData row = ReadRow(profile, m_fnLayer, key);
    // A click between the items, with nothing selected, assigns nothing.
    if (!AssignListItem(row, CurrentCategory(), value, text))
        return 0;
    GetConfigDB().UpdateKeyMacro(row);
    picture->SetKeyItemInfo(key, text, row.macro_type, text);
    picture->UpdateControl(1, 1);
    PushTask(TASK_WRITE_KEYMAP);
    return 1;
}

LRESULT KeyboardDlg::AssignPickedKey(const ControlNotify&)
{
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    auto* picker = Find<VREL::KeyPickerGrid>(*this, ID_KEY_PICKER);
    if (picture == nullptr || picker == nullptr)
        return 0;
    const int key = picture->GetCurrentKeyValue();
    const int profile = SelectedProfile();
    if (!IsAssignableKey(key) || profile <= 0)
        return 0;
    int first = 0, code = 0, flag = 0, third = 0;
    CString name;
    if (picker->GetCurItemData(first, code, flag, third, name)) {
        KeyMacroData row = ReadRow(profile, m_fnLayer, key);
        AssignPickedCell(row, code, flag, third, name);
        GetConfigDB().UpdateKeyMacro(row);
        LoadKeyMap();
        PushTask(TASK_WRITE_KEYMAP);
    }
    return 1;
}

LRESULT KeyboardDlg::OnKeyDragOver(WPARAM, LPARAM)
{
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    if (picture != nullptr)
        picture->DragMove(CPoint(cursor.x, cursor.y));
    return 1;
}

LRESULT KeyboardDlg::OnKeyDrop(WPARAM, LPARAM)
{
    const int profile = SelectedProfile();
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    if (profile <= 0 || picture == nullptr)
        return 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    const int key = picture->GetKeyCodeByPoint(CPoint(cursor.x, cursor.y));
    if (key == 0)
        return 1;

    KeyMacroData row = ReadRow(profile, m_fnLayer, key);
    CString desc;
    const int category = CurrentCategory();
    if (category == CATEGORY_PICKER) {
        auto* picker = Find<VREL::KeyPickerGrid>(*this, ID_KEY_PICKER);
        int first = 0, code = 0, flag = 0, third = 0;
        CString name;
        if (picker != nullptr && picker->GetCurItemData(first, code, flag, third, name)) {
            AssignPickedCell(row, code, flag, third, name);
            desc = name;
        }
    } else if (auto* list = Find<VREL::KeyValueList>(*this, ID_VALUE_LIST)) {
        CString text;
        const int value = static_cast<int>(list->GetSelectKeyValue(text));
        const int type = CategoryKeyType(category);
        if (value >= 0 && type != KEY_TYPE_NONE) {
            // A drop keeps the row's second and third values.
            row.macro_type = type;
            row.macro_value = value;
            row.macro_desc = text;
            desc = text;
        }
    }
    if (desc.IsEmpty())
        return 1;
    GetConfigDB().UpdateKeyMacro(row);
    PushTask(TASK_WRITE_KEYMAP);
    LoadKeyMap();
    return 1;
}

// ---- resets -----------------------------------------------------------------------------------

LRESULT KeyboardDlg::OnResetKeyButton(const ControlNotify&)
{
    auto* picture = Find<VREL::KeyboardCtrl>(*this, ID_KEYS_PICTURE);
    const int key = picture != nullptr ? picture->GetCurrentKeyValue() : 0;
    if (key <= 0)
        return 0;
    ResetSelectedKey(key);
    return 1;
}

void KeyboardDlg::ResetSelectedKey(int key)
{
    const int profile = SelectedProfile();
    if (profile > 0) {
        KeyMacroData row = ReadRow(profile, m_fnLayer, key);
        ResetKeyRow(row, m_fnLayer);
        GetConfigDB().UpdateKeyMacro(row);
        LoadKeyMap();
    }
    PushTask(TASK_WRITE_KEYMAP);
}

LRESULT KeyboardDlg::ConfirmResetLayer(const ControlNotify&)
{
    if (ShowMessage(TEXT_RESET_LAYER_QUESTION, TEXT_RESET_LAYER_TITLE, MESSAGE_OK_CANCEL) == MESSAGE_CANCELLED)
        return 0;
    ResetLayerKeys();
    return 1;
}

void KeyboardDlg::ResetLayerKeys()
{
    const int profile = SelectedProfile();
    const int layer = m_fnLayer;
    if (profile > 0) {
        ConfigDB& store = GetConfigDB();
        StoreRows<KeyMacroData> rows;
        store.GetLayerKeyMacros(profile, layer, rows.Out());
        std::vector<KeyMacroData> reset = Values(rows);
        for (KeyMacroData& row : reset) {
            KeyMacroData defaults;
            const bool templated = layer == FN_LAYER_FN &&
                                   store.GetKeyMacro(TEMPLATE_PROFILE, layer + TEMPLATE_LAYER_OFFSET, row.key_code,
                                                     defaults);
            ResetLayerRow(row, layer, templated ? &defaults : nullptr);
        }
        store.UpdateKeyMacros(reset);
        LoadKeyMap();
    }
    PushTask(TASK_WRITE_KEYMAP);
}

// ---- layout presets and the profile menu ------------------------------------------------------

LRESULT KeyboardDlg::OnLayoutPreset(const ControlNotify&)
{
    auto* combo = Find<VREL::MComboBox>(*this, ID_PRESET_COMBO);
    if (combo == nullptr)
        return 0;
    ApplyLayoutPreset(combo->GetCurData());
    return 1;
}

void KeyboardDlg::ApplyLayoutPreset(int item)
{
    LayoutPreset preset;
    const int profile = SelectedProfile();
    if (!PresetOfItem(item, preset) || profile <= 0)
        return;
    ConfigDB& store = GetConfigDB();
    StoreRows<KeyMacroData> rows;
    if (store.GetLayerKeyMacros(profile, m_fnLayer, rows.Out()) == 0)
        return;
    std::vector<KeyMacroData> changed = Values(rows);
    for (KeyMacroData& row : changed)
        ApplyPresetRow(row, preset);
    store.UpdateKeyMacros(changed);
    LoadKeyMap();
    PushTask(TASK_WRITE_KEYMAP);
}

LRESULT KeyboardDlg::OnProfileMenu(WPARAM wParam, LPARAM)
{
    const int item = static_cast<int>(wParam);
    const ControlNotify none{0, 2, 0, 0};
    switch (item) {
    case MENU_ADD_PROFILE:
        return AddProfile(none);
    case MENU_DELETE_PROFILE:
        return DeleteProfile(none);
    default:
        ApplyLayoutPreset(item);
        return 1;
    }
}
