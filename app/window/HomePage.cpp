// The home page and the device state behind it: the keyboard catalogue
// (config.xml), the scan that finds the keyboards, the reaction to devices
// being plugged in or removed, and the way into the device pages.

#include "app/window/KeyboardDlg.h"

#include <dbt.h>

#include <cwchar>

#include "app/device/HidDeviceManager.h"
#include "app/store/ConfigDB.h"
#include "app/store/XmlDoc.h"
#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "ui/controls/TabCtrl.h"

using namespace tarnwell;

namespace {

// The message box of the way in while no keyboard is ready.
constexpr int NO_KEYBOARD_TITLE_TEXT = 62;
constexpr int NO_KEYBOARD_MESSAGE_TEXT = 61;

} // namespace

void KeyboardDlg::LoadDeviceConfig()
{
    // The models' interfaces, registered with the device manager; the first
    // keyboard's settings store is opened until the keyboard selection
    // chooses among several.
    XmlDoc doc;
    const std::wstring path = GetExeFolder() + L"config.xml";
    if (!doc.Load(path.c_str()) || !doc.FindElement(L"config") || !doc.Descend() ||
        !doc.FindElement(L"device.info") || !doc.Descend())
        return;
    HidDeviceManager& manager = GetHidDeviceManager();
    CString firstKeyboard;
    while (doc.FindElement(L"keyboard")) {
        if (firstKeyboard.GetLength() == 0)
            firstKeyboard = doc.GetAttribute(L"name");
        if (!doc.Descend())
            continue;
        while (doc.FindElement(L"mode")) {
            CString product = doc.GetAttribute(L"product_name");
            CString pattern = doc.GetAttribute(L"hid_interface");
            manager.AddKnownDevice(static_cast<int>(wcstol(doc.GetAttribute(L"vid").GetString(), nullptr, 16)),
                                   static_cast<int>(wcstol(doc.GetAttribute(L"pid").GetString(), nullptr, 16)),
                                   product.GetString(), pattern.GetString());
        }
        doc.Ascend();
    }
    if (firstKeyboard.GetLength() != 0)
        GetConfigDB().OpenDB(CString(GetDataFolder().c_str()), firstKeyboard);
}

void KeyboardDlg::RefreshDevices()
{
    HidDeviceManager& manager = GetHidDeviceManager();
    m_ready = false;
    manager.CloseAll();
    manager.ScanDevices();
    m_connected = manager.IsConnected();
    manager.SetReady(m_connected ? 1 : 0);
}

void KeyboardDlg::UpdateDeviceState()
{
    CloseAppWindows();
    if (m_connected) {
        m_ready = true;
        PushTask(TASK_DEVICE_READY);
        return;
    }
    ShowDeviceChrome(false);
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        tabs->SetSelectItem(-1);
    SetControlVisible(ID_TAB_STRIP, false);
    SetControlVisible(ID_HOME_PAGE, true);
}

void KeyboardDlg::OnDeviceChange(int event)
{
    PushTask(event == DBT_DEVICEARRIVAL ? TASK_DEVICE_ARRIVED : TASK_DEVICE_REMOVED);
}

LRESULT KeyboardDlg::OnEnterDevice(const ControlNotify&)
{
    if (!m_ready) {
        ShowMessage(m_texts.GetLanguageText(NO_KEYBOARD_MESSAGE_TEXT), m_texts.GetLanguageText(NO_KEYBOARD_TITLE_TEXT),
                    kMessageBoxOk);
        return 1;
    }
    SetControlVisible(ID_HOME_PAGE, false);
    SetControlVisible(ID_TAB_STRIP, true);
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        tabs->SetSelectItem(m_lastDeviceTab);
    ShowDeviceChrome(true);
    return 1;
}
