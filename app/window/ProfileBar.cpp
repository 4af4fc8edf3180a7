// The profile widgets: the profile list and its add, delete, import and
// export buttons, the loading of the list and the applying of a profile.
// Every profile operation keeps the current profile one that exists.

#include "app/window/KeyboardDlg.h"

#include <shlwapi.h>

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/LanguageTexts.h"
#include "app/window/MessageTexts.h"
#include "app/window/ProfileFile.h"
#include "app/window/XmlFileDialog.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/lists/IconLists.h"

using namespace tarnwell;

namespace {

constexpr UINT ID_PROFILE_LIST = 46;
constexpr UINT ID_LAYER_TABS = 70;

constexpr UINT NOTIFY_CHOSEN = 2;
constexpr UINT NOTIFY_EDIT_ENDED = 29;

constexpr int TEXT_PROFILE = 101;
constexpr int TEXT_LAST_PROFILE = 220;
constexpr int TEXT_DELETE_PROFILE = 221;
constexpr int TEXT_IMPORT_PROFILE = 836;
constexpr int MESSAGE_OK = 0;

VREL::ProfileList* List(KeyboardDlg& dialog)
{
    return dynamic_cast<VREL::ProfileList*>(dialog.Control(ID_PROFILE_LIST));
}

// The profile text of every language the program offers: a default name made
// under any of them is shown in the current language.
std::vector<CString> ProfileTextsOfLanguages()
{
    std::vector<CString> texts;
    const CString folder(GetExeFolder().c_str());
    for (int language : SupportedLanguages())
        texts.push_back(LanguageTexts(folder, language).ReadFileText(TEXT_PROFILE));
    return texts;
}

CString ShownName(const CString& stored, const CString& profileText)
{
    return ProfileDisplayName(stored, profileText, ProfileTextsOfLanguages());
}

} // namespace

// ---- helpers shared with the keys page -----------------------------------------------------------

int KeyboardDlg::SelectedProfile()
{
    if (VREL::ProfileList* list = List(*this))
        return list->GetCurData();
    return m_profileId;
}

void KeyboardDlg::SetCurrentProfile(int profile)
{
    m_profileId = profile;
    if (VREL::ProfileList* list = List(*this))
        list->SetCurData(profile);
}

CString KeyboardDlg::LanguageText(int number)
{
    return LanguageTexts(CString(GetExeFolder().c_str()), GetCurrentLanguage()).GetLanguageText(number);
}

int KeyboardDlg::ShowMessage(int textId, int titleId, int style)
{
    const LanguageTexts texts(CString(GetExeFolder().c_str()), GetCurrentLanguage());
    return ShowMessageBox(m_hWnd, texts.GetLanguageText(textId), texts.GetLanguageText(titleId), style, texts);
}

// ---- loading and applying (worker) ---------------------------------------------------------------

void KeyboardDlg::LoadProfileList()
{
    m_fnLayer = FN_LAYER_BASE;
    if (auto* tabs = dynamic_cast<VREL::KeyLayerCtrl*>(Control(ID_LAYER_TABS)))
        tabs->SetSelectKeyLayer(FN_LAYER_BASE);
    VREL::ProfileList* list = List(*this);
    if (list != nullptr)
        list->ClearList();

    ConfigDB& store = GetConfigDB();
    const CString base = LanguageText(TEXT_PROFILE);
    StoreRows<ProfileData> profiles;
    if (store.GetProfileList(profiles.Out()) == 0) {
        CreateSeededProfile(store, MakeProfileName(base, {}), PictureKeys(), true);
        store.GetProfileList(profiles.Out());
    }
    if (profiles.Rows().empty())
        return;  // the store refused even the first profile
    if (list != nullptr) {
        for (const ProfileData* profile : profiles.Rows())
            list->AddItem(ShownName(profile->name, base), profile->profile, CString());
    }

    int current = store.GetActiveProfile();
    if (current <= 0) {
        current = profiles.Rows().front()->profile;
        store.SetActiveProfile(current);
    }
    SetCurrentProfile(current);
    // A profile made before the keyboard picture had its keys gets them now.
    InitKeyTable(current);
}

void KeyboardDlg::ShowProfileNames()
{
    VREL::ProfileList* list = List(*this);
    if (list == nullptr)
        return;
    const CString base = LanguageText(TEXT_PROFILE);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        CString stored;
        if (GetConfigDB().GetProfileName(list->GetItemData(row), stored))
            list->SetItemText(row, ShownName(stored, base));
    }
}

void KeyboardDlg::ApplyProfile()
{
    LoadMacroList();
    LoadKeyMap();
    LoadLightPage();
    m_link->WriteKeyMap();
    m_link->WriteLighting();
    m_link->WriteSettings();
}

// ---- the list -------------------------------------------------------------------------------------

LRESULT KeyboardDlg::OnProfileListNotify(const ControlNotify& n)
{
    VREL::ProfileList* list = List(*this);
    if (list == nullptr)
        return 0;
    if (n.code == NOTIFY_CHOSEN)
        return ChooseProfile(list->GetCurData());
    if (n.code == NOTIFY_EDIT_ENDED) {
        const int row = static_cast<int>(n.lParam);
        if (row < 0 || row >= list->GetItemCount())
            return 0;
        const int profile = list->GetItemData(row);
        const CString text = list->GetTitleEx();
        if (text.IsEmpty()) {
            CString stored;
            if (GetConfigDB().GetProfileName(profile, stored))
                list->SetItemText(row, ShownName(stored, LanguageText(TEXT_PROFILE)));
            return 0;
        }
        GetConfigDB().RenameProfile(profile, text);
        return 1;
    }
    return 0;
}

LRESULT KeyboardDlg::ChooseProfile(int profile)
{
    if (profile <= 0)
        return 0;
    SetCurrentProfile(profile);
    GetConfigDB().SetActiveProfile(profile);
    PushTask(TASK_APPLY_PROFILE);
    return 1;
}

LRESULT KeyboardDlg::ChooseDefaultProfile(const ControlNotify&)
{
    VREL::ProfileList* list = List(*this);
    if (list == nullptr || list->GetItemCount() == 0)
        return 0;
    return ChooseProfile(list->GetItemData(0));
}

// ---- buttons ----------------------------------------------------------------------------------------

LRESULT KeyboardDlg::AddProfile(const ControlNotify&)
{
    VREL::ProfileList* list = List(*this);
    std::vector<CString> names;
    if (list != nullptr) {
        for (int i = 0; i < list->GetItemCount(); ++i)
            names.push_back(list->GetItemText(i));
    } else {
        // Without the list its rows would be the stored profiles' names.
        const CString base = LanguageText(TEXT_PROFILE);
        StoreRows<ProfileData> profiles;
        GetConfigDB().GetProfileList(profiles.Out());
        for (const ProfileData* profile : profiles.Rows())
            names.push_back(ShownName(profile->name, base));
    }
    const CString name = MakeProfileName(LanguageText(TEXT_PROFILE), names);
    const int profile = CreateSeededProfile(GetConfigDB(), name, PictureKeys(), false);
    if (profile <= 0)
        return 0;
    if (list != nullptr)
        list->AddItem(name, profile, CString());
    return 1;
}

LRESULT KeyboardDlg::DeleteProfile(const ControlNotify&)
{
    VREL::ProfileList* list = List(*this);
    if (list == nullptr)
        return 0;
    if (list->GetItemCount() <= 1) {
        ShowMessage(TEXT_LAST_PROFILE, TEXT_DELETE_PROFILE, MESSAGE_OK);
        return 0;
    }
    const int row = list->GetSelectItem();
    if (row < 0)
        return 0;
    ConfigDB& store = GetConfigDB();
    if (!store.DeleteProfile(list->GetItemData(row)))
        return 0;
    list->DeleteItem(row);
    list->SetSelectItem(0);
    const int first = list->GetItemData(0);
    store.SetActiveProfile(first);
    SetCurrentProfile(first);
    PushTask(TASK_APPLY_PROFILE);
    return 1;
}

LRESULT KeyboardDlg::ImportProfile(const ControlNotify&)
{
    const std::wstring path = ChooseXmlFile(m_hWnd, false, LanguageText(TEXT_PROFILE_FILES));
    if (path.empty() || !PathFileExistsW(path.c_str()))
        return 0;
    int profile = 0;
    const ProfileFileError error = ImportProfileFile(GetConfigDB(), path.c_str(), PictureKeys(), profile);
    if (error != ProfileFileError::None) {
        ShowMessage(ProfileFileErrorText(error), TEXT_IMPORT_PROFILE, MESSAGE_OK);
        return 0;
    }
    // The imported profile is the active one in the store: the list and the
    // current profile follow at once, so the queued apply sends it.
    if (VREL::ProfileList* list = List(*this)) {
        CString name;
        GetConfigDB().GetProfileName(profile, name);
        list->AddItem(ShownName(name, LanguageText(TEXT_PROFILE)), profile, CString());
    }
    SetCurrentProfile(profile);
    LoadMacroList();
    PushTask(TASK_APPLY_PROFILE);
    return 1;
}

LRESULT KeyboardDlg::ExportProfile(const ControlNotify&)
{
    VREL::ProfileList* list = List(*this);
    const int profile = SelectedProfile();
    if (profile <= 0)
        return 0;
    const std::wstring path = ChooseXmlFile(m_hWnd, true, LanguageText(TEXT_PROFILE_FILES));
    if (path.empty())
        return 0;
    CString name;
    if (list != nullptr && list->GetSelectItem() >= 0)
        name = list->GetItemText(list->GetSelectItem());
    else
        GetConfigDB().GetProfileName(profile, name);
    WriteProfileFile(path.c_str(), CollectProfile(GetConfigDB(), profile, name));
    return 1;
}
