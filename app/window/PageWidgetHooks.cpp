// The set-up calls that only a widget family's own header knows: combo items,
// keyboard modes, layer and category tabs, the key picker's table and the row
// lists' images. PageBuilder reaches them through the hooks registered here.

#include "app/window/PageBuilder.h"

#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/ComboBox.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

namespace tarnwell {

namespace {

int AsInt(uint32_t v) { return static_cast<int>(v); }

bool ApplyCombo(VREL::MControl* control, const SetupOp& op, const CString& text)
{
    auto* combo = dynamic_cast<VREL::MComboBoxBase*>(control);
    if (!combo)
        return false;
    switch (op.op)
    {
    case Op::AddItem:
        combo->AddItem(text.GetString(), static_cast<long>(AsInt(op.v[0])));
        return true;
    case Op::AddSleepItem:
        combo->AddItem(text.GetString(), static_cast<long>(AsInt(op.v[1])));
        return true;
    case Op::CurSel:
        combo->SetCurSel(AsInt(op.v[0]));
        return true;
    default:
        return false;
    }
}

bool SetComboItem(VREL::MControl* control, int index, const CString& text)
{
    auto* combo = dynamic_cast<VREL::MComboBoxBase*>(control);
    if (!combo || index < 0 || index >= combo->GetItemCount())
        return false;
    combo->SetItemText(index, text.GetString());
    // The shown title is the selected item's text: it follows the item.
    if (combo->GetCurSel() == index)
        combo->SetCurSel(index);
    return true;
}

bool ApplyKeyboard(VREL::MControl* control, const SetupOp& op, const CString&)
{
    auto* keyboard = dynamic_cast<VREL::KeyboardCtrl*>(control);
    if (!keyboard || op.op != Op::KeyboardMode)
        return false;
    keyboard->SetKeyboardCtrlMode(AsInt(op.v[0]));
    return true;
}

bool ApplyLayerTabs(VREL::MControl* control, const SetupOp& op, const CString& text)
{
    auto* layers = dynamic_cast<VREL::KeyLayerCtrl*>(control);
    if (!layers)
        return false;
    if (op.op == Op::AddKeyLayer)
        layers->AddKeyLayer(text, AsInt(op.v[0]));
    else if (op.op == Op::SelectKeyLayer)
        layers->SetSelectKeyLayer(AsInt(op.v[0]));
    else
        return false;
    return true;
}

bool SetLayerTab(VREL::MControl* control, int index, const CString& text)
{
    auto* layers = dynamic_cast<VREL::KeyLayerCtrl*>(control);
    if (!layers)
        return false;
    layers->SetItemText(index, text);
    return true;
}

bool ApplyTypeTabs(VREL::MControl* control, const SetupOp& op, const CString& text)
{
    auto* types = dynamic_cast<VREL::KeyTypeTab*>(control);
    if (!types || op.op != Op::AddKeyType)
        return false;
    types->AddKeyType(text, AsInt(op.v[0]));
    return true;
}

bool SetTypeTab(VREL::MControl* control, int index, const CString& text)
{
    auto* types = dynamic_cast<VREL::KeyTypeTab*>(control);
    if (!types)
        return false;
    types->SetItemText(index, text);
    return true;
}

bool ApplyKeyPicker(VREL::MControl* control, const SetupOp& op, const CString&)
{
    auto* picker = dynamic_cast<VREL::KeyPickerGrid*>(control);
    if (!picker || op.op != Op::InitItemInfo)
        return false;
    picker->InitItemInfo();
    return true;
}

bool ApplyMacroList(VREL::MControl* control, const SetupOp& op, const CString&)
{
    auto* list = dynamic_cast<VREL::MacroList*>(control);
    if (!list)
        return false;
    if (op.op == Op::ShowEdit)
        list->EnableShowEdit(AsInt(op.v[0]));
    else if (op.op == Op::EditImage)
        list->SetEditImage(op.file, AsInt(op.v[0]));
    else
        return false;
    return true;
}

bool ApplyRecordList(VREL::MControl* control, const SetupOp& op, const CString&)
{
    auto* list = dynamic_cast<VREL::CRecordList*>(control);
    if (!list)
        return false;
    if (op.op == Op::ItemImage)
        list->SetItemImage(op.file, AsInt(op.v[0]));
    else if (op.op == Op::MoreImage)
        list->SetMoreImage(op.file, AsInt(op.v[0]));
    else
        return false;
    return true;
}

bool ApplyTileList(VREL::MControl* control, const SetupOp& op, const CString&)
{
    auto* list = dynamic_cast<VREL::MListBoxEx*>(control);
    if (!list || op.op != Op::AllItemHeight)
        return false;
    list->SetAllItemHeight(AsInt(op.v[0]));
    return true;
}

} // namespace

void RegisterPageWidgetHooks()
{
    RegisterWidgetHooks(L"MComboBox", WidgetHooks{&ApplyCombo, &SetComboItem});
    RegisterWidgetHooks(L"MComboBox2", WidgetHooks{&ApplyCombo, &SetComboItem});
    RegisterWidgetHooks(L"KeyboardCtrl", WidgetHooks{&ApplyKeyboard, nullptr});
    RegisterWidgetHooks(L"KeyLayerCtrl", WidgetHooks{&ApplyLayerTabs, &SetLayerTab});
    RegisterWidgetHooks(L"KeyTypeTab", WidgetHooks{&ApplyTypeTabs, &SetTypeTab});
    RegisterWidgetHooks(L"KeyFuncControl", WidgetHooks{&ApplyKeyPicker, nullptr});
    RegisterWidgetHooks(L"MacroList", WidgetHooks{&ApplyMacroList, nullptr});
    RegisterWidgetHooks(L"CRecordList", WidgetHooks{&ApplyRecordList, nullptr});
    RegisterWidgetHooks(L"MListBoxEx", WidgetHooks{&ApplyTileList, nullptr});
}

} // namespace tarnwell
