// The settings page (the keyboard's global settings, kept as configuration
// values of profile 1 whichever profile is current) and the system settings
// panel (the program's own settings, kept in the registry).

#include "app/window/KeyboardDlg.h"

#include <cwchar>

#include "app/device/HidDeviceManager.h"
#include "app/store/ConfigDB.h"
#include "app/window/AppSettings.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/MControlFont.h"
#include "ui/lists/ComboBox.h"

namespace {

// The profile whose configuration values carry the keyboard's settings.
constexpr int kSettingsProfile = 1;

constexpr UINT ID_SLEEP_TIME = 192;
constexpr UINT ID_LOCK_WIN = 188;
constexpr UINT ID_LOCK_ALTTAB = 189;
constexpr UINT ID_LOCK_ALTF4 = 190;
constexpr UINT ID_AUTORUN = 202;
constexpr UINT ID_AUTORUN_MINIMISE = 203;
constexpr UINT ID_EXIT_TO_TRAY = 207;
constexpr UINT ID_FRAME_AREA = 31;
constexpr UINT ID_CAPTION_SETTINGS = 39;
constexpr UINT ID_CAPTION_MAXIMISE = 36;

struct KeyLock
{
    UINT id;
    const wchar_t* key;
};
constexpr KeyLock kKeyLocks[] = {
    {ID_LOCK_ALTTAB, L"disable_alttab"},
    {ID_LOCK_ALTF4, L"disable_altf4"},
    {ID_LOCK_WIN, L"disable_win"},
};

CString Decimal(int value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%d", value);
    return CString(text);
}

int StoredNumber(const wchar_t* key)
{
    CString value;
    if (!GetConfigDB().GetConfigValue(kSettingsProfile, key, value))
        return 0;
    return _wtoi(value.GetString());
}

} // namespace

void KeyboardDlg::LoadSettingsPage()
{
    if (auto* sleep = dynamic_cast<VREL::MComboBox*>(Control(ID_SLEEP_TIME)))
        sleep->SelectData(StoredNumber(L"sleep_time"));
    for (const KeyLock& lock : kKeyLocks) {
        if (auto* button = dynamic_cast<VREL::CSwitchButton*>(Control(lock.id)))
            button->SetCheck(StoredNumber(lock.key) == 1 ? 1 : 0);
    }
    LoadFirmwareLine();
}

LRESULT KeyboardDlg::OnSleepTimeChanged(const ControlNotify&)
{
    auto* sleep = dynamic_cast<VREL::MComboBox*>(Control(ID_SLEEP_TIME));
    if (!sleep)
        return 1;
    GetConfigDB().SetConfigValue(kSettingsProfile, L"sleep_time", Decimal(static_cast<int>(sleep->GetCurData())));
    PushTask(tarnwell::TASK_WRITE_SETTINGS);
    return 1;
}

LRESULT KeyboardDlg::OnDisableKeyOption(const ControlNotify& n)
{
    for (const KeyLock& lock : kKeyLocks) {
        if (lock.id != n.id)
            continue;
        auto* button = dynamic_cast<VREL::CSwitchButton*>(Control(lock.id));
        if (!button)
            return 1;
        GetConfigDB().SetConfigValue(kSettingsProfile, lock.key, Decimal(button->GetCheck() ? 1 : 0));
        PushTask(tarnwell::TASK_WRITE_SETTINGS);
    }
    return 1;
}

LRESULT KeyboardDlg::CloseSystemSettings(const ControlNotify&)
{
    SetControlVisible(ID_SYSTEM_PANEL, false);
    SetControlVisible(ID_CAPTION_SETTINGS, true);
    SetControlVisible(ID_CAPTION_MAXIMISE, true);
    // Back to the view the panel was opened from, kept when it opened.
    if (m_connected && m_restoreView == VIEW_DEVICE_PAGES) {
        SetControlVisible(ID_TAB_STRIP, true);
        if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
            tabs->SetSelectItem(m_lastDeviceTab);
        SetControlVisible(ID_FRAME_AREA, true);
        for (UINT id = ID_PROFILE_FIRST; id <= ID_PROFILE_LAST; ++id)
            SetControlVisible(id, true);
        return 1;
    }
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        tabs->SetSelectItem(0);
    SetControlVisible(ID_HOME_PAGE, true);
    return 1;
}

LRESULT KeyboardDlg::SetAutorun(const ControlNotify&)
{
    auto* autorun = dynamic_cast<VREL::CCheckButton*>(Control(ID_AUTORUN));
    auto* minimise = dynamic_cast<VREL::CCheckButton*>(Control(ID_AUTORUN_MINIMISE));
    const bool on = autorun && autorun->GetCheck();
    if (on) {
        if (minimise)
            minimise->SetEnabled(1);
        tarnwell::SetAutorunEntry(true);
        return 1;
    }
    if (minimise) {
        minimise->SetCheck(0);
        minimise->SetEnabled(0);
    }
    tarnwell::SetRegistryString(L"autorun_minimize", L"0");
    tarnwell::SetAutorunEntry(false);
    return 1;
}

LRESULT KeyboardDlg::SetAutorunMinimize(const ControlNotify&)
{
    auto* minimise = dynamic_cast<VREL::CCheckButton*>(Control(ID_AUTORUN_MINIMISE));
    tarnwell::SetRegistryString(L"autorun_minimize", minimise && minimise->GetCheck() ? L"1" : L"0");
    return 1;
}

LRESULT KeyboardDlg::SetExitMode(const ControlNotify&)
{
    auto* toTray = dynamic_cast<VREL::CRadioButton*>(Control(ID_EXIT_TO_TRAY));
    tarnwell::SetRegistryString(L"exit_mode", toTray && toTray->GetCheck() ? L"1" : L"0");
    return 1;
}

// ---- firmware line, factory reset ----------------------------------------------------

namespace {

constexpr UINT ID_FIRMWARE_TEXT = 178;
constexpr int TEXT_FIRMWARE = 500;
constexpr int TEXT_FIRMWARE_INFO = 501;
constexpr int TEXT_RESET_TITLE = 520;
constexpr int TEXT_RESET_QUESTION = 521;
constexpr int TEXT_CONNECT_AND_RETRY = 61;
constexpr int TEXT_NO_KEYBOARD = 62;
constexpr int BOX_OK = 0;
constexpr int BOX_OK_CANCEL = 4;
constexpr int BOX_ANSWER_OK = 1;
constexpr WPARAM RESET_NOTICE = 1001;

} // namespace

CString KeyboardDlg::Text(int number) { return m_texts.GetLanguageText(number); }

void KeyboardDlg::LoadFirmwareLine()
{
    HidDeviceManager& manager = GetHidDeviceManager();
    int release = 0;
    if (manager.GetReady() && !manager.GetDevices().empty())
        release = manager.GetDevices().front()->releaseNumber;
    m_firmwareRelease = release;
    ShowFirmwareLine();
}

void KeyboardDlg::ShowFirmwareLine()
{
    CString line;
    line.Format(L"%ls: 0x%02x", Text(TEXT_FIRMWARE).GetString(), m_firmwareRelease.load());
    if (auto* text = dynamic_cast<VREL::MControlFont*>(Control(ID_FIRMWARE_TEXT)))
        text->SetControlTitle(line.GetString());
}

LRESULT KeyboardDlg::OnFirmwareInfo(const ControlNotify&)
{
    ShowMessage(Text(TEXT_FIRMWARE_INFO), Text(TEXT_FIRMWARE), BOX_OK);
    return 1;
}

void KeyboardDlg::ShowNotConnected()
{
    ShowMessage(Text(TEXT_CONNECT_AND_RETRY), Text(TEXT_NO_KEYBOARD), BOX_OK);
}

LRESULT KeyboardDlg::FactoryReset(const ControlNotify&)
{
    // Only an explicit OK resets: closing the question is no consent to lose
    // every profile.
    if (ShowMessage(Text(TEXT_RESET_QUESTION), Text(TEXT_RESET_TITLE), BOX_OK_CANCEL) != BOX_ANSWER_OK)
        return 0;
    SaveExitMode();
    // Without a keyboard no progress window is opened: nothing would close it.
    if (!m_connected) {
        ShowNotConnected();
        return 0;
    }
    ::PostMessageW(GetSafeHwnd(), WM_UPDATE_RESULT, RESET_NOTICE, 1);
    PushTask(tarnwell::TASK_RESET_DEVICE);
    return 1;
}
