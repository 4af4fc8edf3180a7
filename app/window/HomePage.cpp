// The home page and the device state behind it: the keyboard catalogue
// (config.xml), the scan that finds the keyboards, the reaction to devices
// being plugged in or removed, the way into the device pages, and the
// selection of a keyboard model with its settings store and layout file.

#include "app/window/KeyboardDlg.h"

#include <dbt.h>

#include <cwchar>
#include <string>

#include "app/device/HidDeviceManager.h"
#include "app/device/KeyCodes.h"
#include "app/store/ConfigDB.h"
#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/LanguageTexts.h"
#include "app/window/LayoutPicture.h"
#include "app/window/MessageTexts.h"
#include "app/window/MusicGrid.h"
#include "app/window/Startup.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Manager.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace tarnwell;

namespace {

// The home page's enter button: connected, not connected; the message box
// shown when the pages cannot open yet.
constexpr int TEXT_ENTER = 60;
constexpr int TEXT_NOT_READY = 61;
constexpr int TEXT_NOT_READY_TITLE = 62;
constexpr int TEXT_NOT_CONNECTED = 63;
// Settings that cannot be saved: the title, and why.
constexpr int TEXT_STORE_FAULT_TITLE = 1110;
constexpr int TEXT_STORE_DAMAGED = 1111;
constexpr int TEXT_STORE_READ_ONLY = 1112;
constexpr int TEXT_STORE_CANNOT_OPEN = 1113;
constexpr int TEXT_STORE_NO_FILE_NAME = 1114;

int StoreFaultText(StoreFault fault)
{
    switch (fault) {
    case StoreFault::Damaged:
        return TEXT_STORE_DAMAGED;
    case StoreFault::ReadOnly:
        return TEXT_STORE_READ_ONLY;
    case StoreFault::CannotOpen:
        return TEXT_STORE_CANNOT_OPEN;
    case StoreFault::NoFileName:
        return TEXT_STORE_NO_FILE_NAME;
    case StoreFault::None:
        break;
    }
    return 0;
}

constexpr int SPEED_MAX = 4;
constexpr DWORD DEVICE_TYPE_BUFFER_BYTES = 512;
constexpr DWORD DEVICE_TYPE_QUERY_BYTES = 255;

// Interface classes whose arrivals and removals the window is told of.
const GUID kHidInterfaceClass = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
const GUID kComPortInterfaceClass = {0x86e0d1e0, 0x8089, 0x11d0, {0x9c, 0xe4, 0x08, 0x00, 0x3e, 0x30, 0x1f, 0x73}};

std::wstring DeviceKeyPath()
{
    CString name = VREL::Manager::GetDeviceName();
    return std::wstring(L"SOFTWARE\\") + name.GetString();
}

int ReadDeviceType()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, DeviceKeyPath().c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    wchar_t buffer[DEVICE_TYPE_BUFFER_BYTES / sizeof(wchar_t)] = {};
    DWORD size = DEVICE_TYPE_QUERY_BYTES;
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, L"DeviceType", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return 0;
    return static_cast<int>(wcstol(buffer, nullptr, 10));
}

void WriteDeviceType(int deviceType)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, DeviceKeyPath().c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    const std::wstring text = std::to_wstring(deviceType);
    RegSetValueExW(key, L"DeviceType", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace

// ---- catalogue ------------------------------------------------------------------------

void KeyboardDlg::LoadDeviceConfig()
{
    const int type = DeviceCatalogue::ChooseDeviceType(ReadDeviceType());
    const std::wstring folder = GetExeFolder();
    // A missing or malformed file leaves the catalogue empty: no model is
    // registered, so no device is ever found and the home page says so.
    m_catalogue.Read((folder + L"config.xml").c_str(), folder + L"device\\");

    HidDeviceManager& manager = GetHidDeviceManager();
    for (const DeviceModeInfo& mode : m_catalogue.Modes())
        manager.AddKnownDevice(mode.vid, mode.pid, mode.name, mode.hidInterface);

    // Where application packages come from; the update client builds each
    // package's address on it.
    SetUpgradeAddress(m_catalogue.Upgrade());
    ShowVersionLine();
    SelectDevice(type);
    RegisterDeviceNotifications();
}

void KeyboardDlg::ShowVersionLine()
{
    if (m_catalogue.Version().empty())
        return;
    if (auto* version = dynamic_cast<VREL::MControlFont*>(Control(ID_VERSION_TEXT))) {
        CString text;
        text.Format(L"%ls %ls", Text(TEXT_VERSION).GetString(), m_catalogue.Version().c_str());
        version->SetTitle(text.GetString());
    }
}

void KeyboardDlg::RegisterDeviceNotifications()
{
    for (const GUID& interfaceClass : {kHidInterfaceClass, kComPortInterfaceClass}) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
        filter.dbcc_size = sizeof(filter);
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = interfaceClass;
        // Kept for the window's life: the system drops them with the window.
        RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

// ---- device state (worker) ------------------------------------------------------------

void KeyboardDlg::RefreshDevices()
{
    HidDeviceManager& manager = GetHidDeviceManager();
    m_ready = false;
    manager.CloseAll();
    manager.ScanDevices();
    manager.SetReady(1);
    WriteDeviceType(ReadDeviceType());
    m_connected = manager.IsConnected();
    m_enterText = m_connected ? TEXT_ENTER : TEXT_NOT_CONNECTED;
    if (auto* button = dynamic_cast<VREL::MControlFont*>(Control(ID_ENTER_DEVICE))) {
        const CString text = Text(m_enterText);
        button->SetTitle(text.GetString());
    }
}

void KeyboardDlg::UpdateDeviceState()
{
    // Closing windows is the UI thread's: the worker asks for it.
    AskUiThread(REQUEST_CLOSE_APP_WINDOWS);
    if (m_connected) {
        m_ready = true;
        PushTask(TASK_DEVICE_READY);
        return;
    }
    ShowDevicePanels(false);
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        tabs->SetSelectItem(-1);
    SetControlVisible(ID_TAB_STRIP, false);
    m_currentPage = PAGE_HOME;
    SetControlVisible(ID_HOME_PAGE, true);
}

void KeyboardDlg::ShowDevicePanels(bool visible) { ShowDeviceChrome(visible); }

// ---- notices and the enter button (UI thread) -------------------------------------------

void KeyboardDlg::OnDeviceChange(const DEV_BROADCAST_HDR* broadcast, int event)
{
    if (broadcast == nullptr || broadcast->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return;
    const auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(broadcast);
    // The name runs to the end of the broadcast; it is read no further than that.
    const size_t offset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (notice->dbcc_size <= offset)
        return;
    const size_t maxChars = (notice->dbcc_size - offset) / sizeof(wchar_t);
    const std::wstring path(notice->dbcc_name, wcsnlen(notice->dbcc_name, maxChars));
    if (m_catalogue.MatchInterfacePath(path) < 0)
        return;
    PushTask(event == DBT_DEVICEARRIVAL ? TASK_DEVICE_ARRIVED : TASK_DEVICE_REMOVED);
}

LRESULT KeyboardDlg::OnEnterDevice(const ControlNotify&)
{
    if (!m_ready) {
        ShowMessage(Text(TEXT_NOT_READY), Text(TEXT_NOT_READY_TITLE), kMessageBoxOk);
        return 1;
    }
    SetControlVisible(ID_HOME_PAGE, false);
    SetControlVisible(ID_TAB_STRIP, true);
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        tabs->SetSelectItem(m_lastDeviceTab);  // reports back to OnTabChanged
    ShowDevicePanels(true);
    return 1;
}

// ---- keyboard selection -----------------------------------------------------------------

void KeyboardDlg::SelectDevice(int type)
{
    const DeviceModeInfo* keyboard = m_catalogue.FindKeyboard(type);
    m_deviceType = type;
    m_deviceName = keyboard != nullptr ? keyboard->name : std::wstring();
    m_deviceInfo = keyboard != nullptr ? keyboard->deviceInfo : std::wstring();
    if (auto* label = dynamic_cast<VREL::MControlFont*>(Control(ID_CAPTION_TEXT)))
        label->SetTitle(m_deviceName.c_str());

    ConfigDB& store = GetConfigDB();
    if (store.IsDBOpen())
        store.CloseDB();
    // A catalogue name becomes part of a file path: the store opens nothing
    // for one that could leave its folder or is no file name at all.
    store.OpenDB(CString(GetDataFolder().c_str()), CString(m_deviceName.c_str()));
    store.SetDeviceType(type);
    // Told once the window is up; the program goes on without saving.
    if (store.GetFault() != StoreFault::None)
        AskUiThread(REQUEST_REPORT_STORE_FAULT);

    if (!IsUsableFileName(m_deviceInfo.c_str()))
        return;
    KeyboardLayout layout;
    const std::wstring path = GetExeFolder() + L"layouts\\" + m_deviceInfo + L".xml";
    if (!layout.Read(path.c_str()))
        return;
    // Its pictures are on pages built after the first paint: at start-up the
    // layout waits for them (OnPagesBuilt).
    if (!m_pagesBuilt && GetCurrentThreadId() == m_uiThread) {
        m_pendingLayout = std::make_unique<KeyboardLayout>(layout);
        return;
    }
    ApplyLayout(layout);
}

void KeyboardDlg::TellStoreFault()
{
    // Once a run: every later save fails the same way, and a box per save
    // would stop the user at every click.
    const int text = StoreFaultText(GetConfigDB().GetFault());
    if (text == 0 || m_storeFaultTold)
        return;
    m_storeFaultTold = true;
    // A box with only OK ends with Cancel only when the program closed it: a
    // device refresh closes every open box, and the one of the start comes
    // while this notice waits unread. It is told again after the refresh.
    if (ShowMessage(text, TEXT_STORE_FAULT_TITLE, kMessageBoxOk) == IDCANCEL) {
        m_storeFaultTold = false;
        AskUiThread(REQUEST_REPORT_STORE_FAULT);
    }
}

void KeyboardDlg::ApplyLayout(const KeyboardLayout& layout)
{
    if (layout.HasLight()) {
        m_perKeyRgb = layout.RgbKeyboard();
        m_defaultLightMode = layout.DefaultMode();
        m_defaultBrightness = layout.DefaultBrightness();
        m_defaultSpeed = layout.DefaultSpeed();
        if (auto* brightness = dynamic_cast<VREL::MSliderBase*>(Control(ID_BRIGHTNESS_SLIDER)))
            brightness->SetMaxProgress(layout.BrightnessMax());
        if (auto* speed = dynamic_cast<VREL::MSliderBase*>(Control(ID_SPEED_SLIDER)))
            speed->SetMaxProgress(SPEED_MAX);
    }

    m_layoutKeyMap.clear();
    uint8_t cells[MusicGrid::MAX_ROWS][MusicGrid::MAX_COLUMNS] = {};
    int rows = 0;
    int columns = 0;
    if (layout.HasKeyboard()) {
        rows = layout.RowCount();
        columns = layout.ColumnCount();
        m_layoutKeyMap = layout.Positions();
        const KeyboardLayout::KeyGrid& grid = layout.Grid();
        for (int r = 0; r < MusicGrid::MAX_ROWS && r < static_cast<int>(grid.size()); ++r)
            for (int c = 0; c < MusicGrid::MAX_COLUMNS && c < static_cast<int>(grid[r].size()); ++c)
                cells[r][c] = grid[r][c];
    }
    m_musicGrid.SetCells(rows, columns, cells);
    // Names from the key-name table: the file's own names are not shown.
    std::vector<CString> names;
    for (const LayoutKey& key : layout.Keys())
        names.push_back(GetKeyName(key.code));
    for (UINT id : {ID_KEYS_PICTURE, ID_LIGHT_PICTURE})
        if (auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(id)))
            ShowLayoutInPicture(*picture, layout, names);
}

// ---- what the end-to-end tests read ------------------------------------------------------

LRESULT KeyboardDlg::OnStateQuery(WPARAM wParam, LPARAM lParam)
{
    auto pictureKeys = [this](UINT id) -> LRESULT {
        auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(id));
        return picture != nullptr ? picture->GetKeyCount() : -1;
    };
    switch (wParam) {
    case QUERY_CONNECTED:
        return m_connected ? 1 : 0;
    case QUERY_READY:
        return m_ready ? 1 : 0;
    case QUERY_TASKS_DONE:
        return m_worker.TasksDone() ? 1 : 0;
    case QUERY_HOME_SHOWN:
        return Control(ID_HOME_PAGE) != nullptr ? (IsControlVisible(ID_HOME_PAGE) ? 1 : 0) : -1;
    case QUERY_ENTER_TEXT:
        return m_enterText;
    case QUERY_KEYS_PICTURE:
        return pictureKeys(ID_KEYS_PICTURE);
    case QUERY_LIGHT_PICTURE:
        return pictureKeys(ID_LIGHT_PICTURE);
    case QUERY_LAYOUT_KEYS:
        return static_cast<LRESULT>(m_layoutKeyMap.size());
    case QUERY_DEVICE_TYPE:
        return m_deviceType;
    case QUERY_MODE_COUNT:
        return static_cast<LRESULT>(m_catalogue.Modes().size());
    case QUERY_STARTUP_MARK:
        return static_cast<LRESULT>(StartupMicroseconds(static_cast<StartupMark>(lParam)));
    default:
        return MacroStateQuery(wParam);
    }
}
