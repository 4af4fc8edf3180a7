#include "app/window/KeyboardDlg.h"

#include <dbt.h>
#include <imm.h>

#include <cwchar>

#include "app/device/HidDeviceManager.h"
#include "app/store/ConfigDB.h"
#include "app/window/AppSettings.h"
#include "app/window/LightModes.h"
#include "app/window/Startup.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Manager.h"
#include "ui/framework/Render.h"
#include "ui/controls/Picture.h"
#include "ui/controls/TabCtrl.h"

using tarnwell::GetRegistryInt;

namespace {

constexpr UINT NOTIFY_CLICKED = 2;
const wchar_t* const kWebsite = L"https://www.tarnwell.example/";
// The tray menu's exit item.
constexpr int TRAY_EXIT_TEXT = 11;

// Closes or hides one of this process's library windows by its caption.
BOOL CALLBACK CloseOneAppWindow(HWND window, LPARAM processId)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != static_cast<DWORD>(processId))
        return TRUE;
    wchar_t className[64] = {};
    wchar_t caption[64] = {};
    ::GetClassNameW(window, className, 64);
    if (wcscmp(className, L"MWindow") != 0)
        return TRUE;
    ::GetWindowTextW(window, caption, 64);
    if (wcscmp(caption, L"MessageBox") == 0)
        ::PostMessageW(window, WM_CLOSE, IDCANCEL, 0);  // its modal run returns 2
    else if (wcscmp(caption, L"Menu Window") == 0 || wcscmp(caption, L"UpdateTipDlg") == 0)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    else if (wcscmp(caption, L"KeyboardTip Window") == 0 || wcscmp(caption, L"ComboWnd") == 0)
        ::ShowWindow(window, SW_HIDE);
    return TRUE;
}

} // namespace

// ---- dispatch tables ------------------------------------------------------------------

const std::vector<KeyboardDlg::ControlRoute>& KeyboardDlg::ControlTable()
{
    static const std::vector<ControlRoute> table = {
        // Every code.
        {52, 52, true, &KeyboardDlg::OnTabChanged},
        {46, 46, true, &KeyboardDlg::OnProfileListNotify},
        {82, 82, true, &KeyboardDlg::ShowMacroMenu},
        {92, 92, true, &KeyboardDlg::OnRecordListNotify},
        {104, 104, true, &KeyboardDlg::OnMacroField},
        {110, 110, true, &KeyboardDlg::OnMacroField},
        {113, 113, true, &KeyboardDlg::OnEventValueField},
        {118, 118, true, &KeyboardDlg::OnLightKeysChanged},
        {123, 123, true, &KeyboardDlg::OnLightModeChanged},
        {137, 137, true, &KeyboardDlg::OnPaletteColor},
        {141, 143, true, &KeyboardDlg::OnRgbEdit},
        // Clicked or value chosen only.
        {35, 35, false, &KeyboardDlg::OnCloseButton},
        {36, 36, false, &KeyboardDlg::OnMaximiseButton},
        {37, 37, false, &KeyboardDlg::OnMinimiseButton},
        {39, 39, false, &KeyboardDlg::ShowSystemSettings},
        {51, 51, false, &KeyboardDlg::ShowHome},
        {62, 62, false, &KeyboardDlg::OnEnterDevice},
        {47, 47, false, &KeyboardDlg::AddProfile},
        {48, 48, false, &KeyboardDlg::DeleteProfile},
        {49, 49, false, &KeyboardDlg::ImportProfile},
        {50, 50, false, &KeyboardDlg::ExportProfile},
        // The header's add icon and the default profile's button.
        {64, 64, false, &KeyboardDlg::AddProfile},
        {66, 66, false, &KeyboardDlg::ChooseDefaultProfile},
        {67, 67, false, &KeyboardDlg::OnLayoutPreset},
        {68, 68, false, &KeyboardDlg::OnResetKeyButton},
        {69, 69, false, &KeyboardDlg::ConfirmResetLayer},
        {70, 70, false, &KeyboardDlg::OnFnLayerTab},
        {73, 73, false, &KeyboardDlg::FillFunctionList},
        {74, 74, false, &KeyboardDlg::AssignPickedKey},
        {75, 75, false, &KeyboardDlg::AssignFunction},
        {122, 122, false, &KeyboardDlg::OnEnableLight},
        {126, 126, false, &KeyboardDlg::OnBrightnessChanged},
        {128, 128, false, &KeyboardDlg::OnSpeedChanged},
        {130, 133, false, &KeyboardDlg::OnDirectionChanged},
        {134, 134, false, &KeyboardDlg::OnColorfulChanged},
        {144, 168, false, &KeyboardDlg::OnColorCell},
        {170, 170, false, &KeyboardDlg::OnMusicSetting},
        {172, 172, false, &KeyboardDlg::OnMusicSetting},
        {174, 174, false, &KeyboardDlg::OnMusicSetting},
        {176, 176, false, &KeyboardDlg::OnMusicSetting},
        {83, 83, false, &KeyboardDlg::AddMacro},
        {84, 84, false, &KeyboardDlg::DeleteMacro},
        {93, 94, false, &KeyboardDlg::OnEventEditButton},
        {95, 95, false, &KeyboardDlg::ClearRecordItems},
        {98, 98, false, &KeyboardDlg::ToggleRecording},
        {100, 102, false, &KeyboardDlg::OnMacroRadio},
        {107, 109, false, &KeyboardDlg::OnMacroRadio},
        {112, 112, false, &KeyboardDlg::OnEventEditButton},
        {114, 114, false, &KeyboardDlg::OnEventEditButton},
        {116, 117, false, &KeyboardDlg::OnEventEditButton},
        {180, 180, false, &KeyboardDlg::OnFirmwareInfo},
        {188, 190, false, &KeyboardDlg::OnDisableKeyOption},
        {192, 192, false, &KeyboardDlg::OnSleepTimeChanged},
        {195, 195, false, &KeyboardDlg::FactoryReset},
        {197, 197, false, &KeyboardDlg::CloseSystemSettings},
        {199, 200, false, &KeyboardDlg::OnLanguageRadio},
        {202, 202, false, &KeyboardDlg::SetAutorun},
        {203, 203, false, &KeyboardDlg::SetAutorunMinimize},
        {207, 208, false, &KeyboardDlg::SetExitMode},
        {212, 214, false, &KeyboardDlg::OpenWebsite},
    };
    return table;
}

const std::vector<KeyboardDlg::MessageRoute>& KeyboardDlg::MessageTable()
{
    static const std::vector<MessageRoute> table = {
        {WM_INPUT, &KeyboardDlg::OnRawInput, true},
        {WM_DEVICECHANGE, &KeyboardDlg::OnDeviceBroadcast, false},
        {WM_HOOK_KEY, &KeyboardDlg::OnHookKey, false},
        {WM_TRAY_NOTIFY, &KeyboardDlg::OnTrayNotify, false},
        {WM_APP_EXIT, &KeyboardDlg::OnExitRequest, false},
        {WM_CLOSE, &KeyboardDlg::OnCloseMessage, true},
        {WM_UPDATE_RESULT, &KeyboardDlg::OnUpdateResult, false},
        {WM_PROFILE_MENU, &KeyboardDlg::OnProfileMenu, false},
        {WM_MACRO_MENU, &KeyboardDlg::OnMacroMenu, false},
        {WM_RECORD_EDIT, &KeyboardDlg::EditRecordItem, false},
        {WM_RECORD_MENU, &KeyboardDlg::OnRecordMenu, false},
        {WM_PROGRESS_VALUE, &KeyboardDlg::OnProgressValue, false},
        {WM_APPLY_LANGUAGE, &KeyboardDlg::OnApplyLanguageMessage, true},
        {WM_KEY_DRAG_OVER, &KeyboardDlg::OnKeyDragOver, false},
        {WM_KEY_DROP, &KeyboardDlg::OnKeyDrop, false},
        {WM_WORKER_REQUEST, &KeyboardDlg::OnWorkerRequestMessage, false},
        {WM_COPYDATA, &KeyboardDlg::OnCopyData, false},
        {WM_STATE_QUERY, &KeyboardDlg::OnStateQuery, false},
        {WM_BUILD_PAGES, &KeyboardDlg::OnBuildPages, false},
        {WM_ADD_TRAY_ICON, &KeyboardDlg::OnAddTrayIcon, false},
    };
    return table;
}

LRESULT KeyboardDlg::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == TRAY_MENU_EXIT)
        return OnCommand(wParam, lParam);
    // The test channel is open only in a program the test harness started.
    if ((msg == WM_COPYDATA || msg == WM_STATE_QUERY) && !m_testChannel)
        return VREL::MDialog::OnWindowMessage(msg, wParam, lParam);
    if (msg == WM_PAINT && !m_firstPaintDone) {
        const LRESULT result = VREL::MDialog::OnWindowMessage(msg, wParam, lParam);
        OnFirstPaint();
        return result;
    }
    for (const MessageRoute& route : MessageTable()) {
        if (route.message != msg)
            continue;
        LRESULT result = (this->*route.handler)(wParam, lParam);
        return route.passOn ? VREL::MDialog::OnWindowMessage(msg, wParam, lParam) : result;
    }
    return VREL::MDialog::OnWindowMessage(msg, wParam, lParam);
}

LRESULT KeyboardDlg::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    const ControlNotify notify{id, code, wParam, lParam};
    for (const ControlRoute& route : ControlTable()) {
        if (id < route.first || id > route.last)
            continue;
        if (!route.anyCode && code != NOTIFY_CLICKED)
            return 0;
        // A handler may show or fill any page.
        EnsurePagesBuilt();
        return (this->*route.handler)(notify);
    }
    return 0;
}

// ---- lifetime -------------------------------------------------------------------------

KeyboardDlg::KeyboardDlg()
    : m_connected(false), m_ready(false), m_currentPage(PAGE_HOME), m_lastDeviceTab(1), m_profileId(0),
      m_fnLayer(0), m_lightMode(0), m_lightFlags(0), m_lightEnabled(1), m_perKeyRgb(1),
      m_pageTextColour(0xFFFFFFFF), m_texts(GetModuleFolder(), tarnwell::GetCurrentLanguage()), m_tray{},
      m_progressWindow(nullptr), m_progressShown(0), m_progressTarget(0),
      m_stage(0), m_restoreView(VIEW_DEVICE_PAGES), m_keyboardLayout(nullptr),
      m_testChannel(tarnwell::StartedByTestHarness())
{
    m_link = std::make_unique<DeviceLink>(GetHidDeviceManager(), GetConfigDB(), *this, GetSystemClock());
}

KeyboardDlg::~KeyboardDlg()
{
    // The worker uses the store, the device link and this object: it is
    // stopped (or the process ended) before anything here goes.
    StopWorker();
    m_visualizer.Shutdown();
    ConfigDB& store = GetConfigDB();
    if (store.IsDBOpen())
        store.CloseDB();
    RemoveTrayIcon();
    m_worker.Tasks().Clear();
}

UINT KeyboardDlg::RunModal()
{
    CString name = VREL::Manager::GetDeviceName();
    // Nothing is dropped on a window before the user sees it.
    m_pm.DeferDropRegistration();
    Create(nullptr, name.GetString(), WINDOW_STYLE, 0, CRect(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT));
    CenterWindow(nullptr);
    return ShowModal(SW_SHOW);
}

int KeyboardDlg::OnInitDialog()
{
    VREL::MDialog::OnInitDialog();
    VREL::MPicture::DropPreparedLooks();
    VREL::MRender::DropPrefetchedImages();
    InitWindow();
    SetTimer(TIMER_FIRST_PAINT_WAIT, FIRST_PAINT_WAIT_MS, nullptr);
    SetMTimer(WORKER_PERIOD_MS);
    StartThread(WORKER_PERIOD_MS, true);
    PushTask(tarnwell::TASK_FIRST_START);
    return 1;
}

void KeyboardDlg::InitWindow()
{
    CString name = VREL::Manager::GetDeviceName();
    SetPropW(m_hWnd, name.GetString(), reinterpret_cast<HANDLE>(1));
    HIMC context = ImmGetContext(m_hWnd);
    if (context != nullptr) {
        ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(m_hWnd, context);
    }
    ImmAssociateContext(m_hWnd, nullptr);
    m_keyboardLayout = GetKeyboardLayout(0);
    LoadDeviceConfig();
}

void KeyboardDlg::AddTrayIcon()
{
    if (TrayIconAdded())
        return;
    m_tray.cbSize = sizeof(NOTIFYICONDATAW);
    m_tray.hWnd = m_hWnd;
    m_tray.uID = TRAY_ICON_ID;
    m_tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_tray.uCallbackMessage = WM_TRAY_NOTIFY;
    m_tray.hIcon = VREL::MRender::LoadIconFromFile(GetSkinFolder() + L"Tarnwell.ico");
    CString name = VREL::Manager::GetDeviceName();
    wcsncpy(m_tray.szTip, name.GetString(), ARRAYSIZE(m_tray.szTip) - 1);
    m_tray.szTip[ARRAYSIZE(m_tray.szTip) - 1] = L'\0';
    Shell_NotifyIconW(NIM_ADD, &m_tray);
    tarnwell::MarkStartup(tarnwell::StartupMark::TrayIcon);
}

void KeyboardDlg::RemoveTrayIcon()
{
    if (m_tray.hIcon == nullptr)
        return;
    Shell_NotifyIconW(NIM_DELETE, &m_tray);
    DestroyIcon(m_tray.hIcon);
    m_tray.hIcon = nullptr;
}

bool KeyboardDlg::StopWorker()
{
    return StopThread(WORKER_STOP_WAIT_MS);
}

void KeyboardDlg::CloseDialog()
{
    StopWorker();
    m_visualizer.Shutdown();
    RemoveTrayIcon();
    DestroyWindow();
}

void KeyboardDlg::EndProgram(UINT exitCode)
{
    // The worker finishes the step it is in (a device command ends with its
    // END frame) before the process goes; one that will not stop in time is
    // still ended with the process, having been given its chance.
    StopWorker();
    m_visualizer.Shutdown();
    RemoveTrayIcon();
    ExitProcess(exitCode);
}

void KeyboardDlg::CloseAppWindows()
{
    EnumWindows(&CloseOneAppWindow, static_cast<LPARAM>(GetCurrentProcessId()));
    // The progress window's modal run may be below this call on the UI
    // thread, and this may run on the worker: the window is only asked to
    // close; the UI thread deletes it when its run returns.
    AskUiThread(REQUEST_CLOSE_PROGRESS);
    if (IsControlVisible(ID_SYSTEM_PANEL))
        SetControlVisible(ID_SYSTEM_PANEL, false);
}

LRESULT KeyboardDlg::OnLButtonDown(UINT, CPoint)
{
    ReleaseCapture();
    return 0;
}

void KeyboardDlg::SetControlVisible(UINT id, bool visible)
{
    if (VREL::MControl* control = Control(id))
        control->SetVisible(visible ? 1 : 0);
}

bool KeyboardDlg::IsControlVisible(UINT id)
{
    VREL::MControl* control = Control(id);
    return control != nullptr && control->IsVisible();
}

// ---- worker requests and progress timers ------------------------------------------

void KeyboardDlg::AskUiThread(WorkerRequest request) { PostMessageW(WM_WORKER_REQUEST, request, 0); }

LRESULT KeyboardDlg::OnWorkerRequestMessage(WPARAM wParam, LPARAM)
{
    OnWorkerRequest(static_cast<WorkerRequest>(wParam));
    return 0;
}

LRESULT KeyboardDlg::OnCopyData(WPARAM, LPARAM lParam)
{
    // The system copies the block into this process; only its size and tag
    // are trusted, nothing in it is a pointer.
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->dwData != COPYDATA_CONTROL_NOTIFY || data->cbData != sizeof(ControlNotifyPacket) ||
        !data->lpData)
        return 0;
    ControlNotifyPacket packet;
    memcpy(&packet, data->lpData, sizeof(packet));
    return OnMessage(packet.id, packet.code, static_cast<WPARAM>(packet.wParam), static_cast<LPARAM>(packet.lParam));
}

void KeyboardDlg::OnWorkerRequest(WorkerRequest request)
{
    switch (request) {
    case REQUEST_START_STAGE_TIMER:
        SetTimer(TIMER_STAGE_PROGRESS, STAGE_TIMER_PERIOD_MS, nullptr);
        break;
    case REQUEST_STOP_STAGE_TIMER:
        KillTimer(TIMER_STAGE_PROGRESS);
        break;
    case REQUEST_STOP_RESET_TIMER:
        KillTimer(TIMER_RESET_PROGRESS);
        break;
    case REQUEST_CLOSE_PROGRESS:
        if (m_progressWindow != nullptr)
            m_progressWindow->DoOK();
        break;
    case REQUEST_ENABLE_WINDOW:
        EnableWindow(1);
        break;
    case REQUEST_RESET_NO_DEVICE:
        EnableWindow(1);
        ShowNotConnected();
        break;
    case REQUEST_REPORT_UPDATE:
        OnUpdateReportRequest();
        break;
    case REQUEST_CLOSE_APP_WINDOWS:
        CloseAppWindows();
        break;
    case REQUEST_REPORT_STORE_FAULT:
        TellStoreFault();
        break;
    }
}

void KeyboardDlg::OnTimer(UINT id)
{
    if (id == TIMER_STAGE_PROGRESS || id == TIMER_RESET_PROGRESS)
        OnProgressTimer(id);
    else if (id == TIMER_FIRST_PAINT_WAIT && !m_firstPaintDone)
        OnFirstPaint();
    else if (id == TIMER_BUILD_PAGES)
        OnBuildPages(0, 0);
}

LRESULT KeyboardDlg::OnProgressValue(WPARAM wParam, LPARAM)
{
    m_progressTarget = static_cast<int>(wParam);
    return 1;
}

// ---- page switching -------------------------------------------------------------------

int KeyboardDlg::TabItemId(int index)
{
    if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP)))
        return static_cast<int>(tabs->GetItemID(index));
    // The strip's items, in order, when there is no strip to ask.
    static const int items[] = {PAGE_KEYS, PAGE_LIGHTING, PAGE_MACRO, PAGE_SETTINGS};
    return index >= 0 && index < 4 ? items[index] : -1;
}

void KeyboardDlg::SelectFirstTab()
{
    // The strip reports a change of tab only: a first tab that is already
    // selected (every start) is taken as shown here, or the page state would
    // still say home while the keys page shows.
    auto* tabs = dynamic_cast<VREL::MTabCtrl*>(Control(ID_TAB_STRIP));
    if (tabs && tabs->GetSelectItem() != 0)
        tabs->SetSelectItem(0);  // reports back to OnTabChanged on this thread
    else
        OnTabChanged(ControlNotify{ID_TAB_STRIP, 2, 0, 0});
}

void KeyboardDlg::ShowDeviceChrome(bool visible)
{
    SetControlVisible(ID_CAPTION_BAR, visible);
    for (UINT id = ID_PROFILE_FIRST; id <= ID_PROFILE_LAST; ++id)
        SetControlVisible(id, visible);
}

LRESULT KeyboardDlg::OnTabChanged(const ControlNotify& n)
{
    if (m_currentPage == PAGE_LIGHTING)
        m_visualizer.active = (m_lightFlags & tarnwell::LIGHT_MUSIC) != 0 ? 1 : 0;
    SetControlVisible(ID_HOME_PAGE, false);
    const int index = static_cast<int>(n.wParam);
    const int item = TabItemId(index);
    if (item == PAGE_KEYS || item == PAGE_MACRO || item == PAGE_LIGHTING || item == PAGE_SETTINGS)
        m_lastDeviceTab = index;
    m_currentPage = item;
    return 1;
}

LRESULT KeyboardDlg::ShowSystemSettings(const ControlNotify&)
{
    SetControlVisible(ID_TAB_STRIP, false);
    m_restoreView = VIEW_DEVICE_PAGES;
    if (IsControlVisible(ID_HOME_PAGE)) {
        SetControlVisible(ID_HOME_PAGE, false);
        m_restoreView = VIEW_HOME;
    }
    ShowDeviceChrome(false);
    SetControlVisible(ID_SYSTEM_PANEL, true);
    return 1;
}

LRESULT KeyboardDlg::ShowHome(const ControlNotify&)
{
    ShowDeviceChrome(false);
    SetControlVisible(ID_TAB_STRIP, false);
    if (IsControlVisible(ID_SYSTEM_PANEL))
        SetControlVisible(ID_SYSTEM_PANEL, false);
    SetControlVisible(ID_HOME_PAGE, true);
    return 1;
}

LRESULT KeyboardDlg::OnLanguageRadio(const ControlNotify& n)
{
    const int language = n.id == ID_LANGUAGE_POLISH ? 1045 : 1033;
    tarnwell::SetCurrentLanguage(language);
    tarnwell::SetLanguageId(language);
    m_texts.SetLanguage(language);
    ApplyLanguage();
    return 1;
}

LRESULT KeyboardDlg::OpenWebsite(const ControlNotify&)
{
    ShellExecuteW(nullptr, L"open", kWebsite, nullptr, nullptr, SW_SHOWNORMAL);
    return 1;
}

LRESULT KeyboardDlg::OnMaximiseButton(const ControlNotify&)
{
    OnMaximize();
    return 1;
}

LRESULT KeyboardDlg::OnMinimiseButton(const ControlNotify&)
{
    OnMinimize();
    return 1;
}

// ---- exit roads and tray ----------------------------------------------------------------

LRESULT KeyboardDlg::OnCloseButton(const ControlNotify&)
{
    if (GetRegistryInt(L"exit_mode") == 1) {
        AddTrayIcon();  // the way back, should the window hide before it was added
        ShowWindow(SW_HIDE);
        return 1;
    }
    EndProgram(0);
}

LRESULT KeyboardDlg::OnCommand(WPARAM, LPARAM)
{
    CloseAppWindows();
    EndProgram(0);
}

LRESULT KeyboardDlg::OnCloseMessage(WPARAM, LPARAM)
{
    // A plain close takes the window and its controls down at once, while
    // the worker may be showing, hiding or recolouring those controls: it
    // ends first. One that will not stop ends with the process, as at the
    // program's own end.
    if (!StopWorker()) {
        RemoveTrayIcon();
        TerminateProcess(GetCurrentProcess(), 1);
    }
    return 0;
}

LRESULT KeyboardDlg::OnExitRequest(WPARAM, LPARAM lParam)
{
    if (lParam != APP_EXIT_CODE)
        return 0;
    EndProgram(0);
}

LRESULT KeyboardDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    // The downloader posts its percentage here too, with wParam 0 where the
    // tray icon gives its id.
    if (wParam == tarnwell::HttpDownloader::PROGRESS_WPARAM)
        return OnDownloadProgress(lParam);
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(m_hWnd);
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow(m_hWnd);
        BringWindowToTop(m_hWnd);
        break;
    case WM_RBUTTONUP: {
        HMENU menu = CreatePopupMenu();
        if (menu == nullptr)
            break;
        AppendMenuW(menu, MF_STRING, TRAY_MENU_EXIT, m_texts.GetLanguageText(TRAY_EXIT_TEXT).GetString());
        POINT cursor;
        GetCursorPos(&cursor);
        SetForegroundWindow(m_hWnd);
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
        DestroyMenu(menu);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT KeyboardDlg::OnDeviceBroadcast(WPARAM wParam, LPARAM lParam)
{
    if (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE)
        return 0;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return 0;
    OnDeviceChange(header, static_cast<int>(wParam));
    return 0;
}

void KeyboardDlg::SaveExitMode()
{
    tarnwell::SetRegistryString(L"exit_mode", L"0");
    const struct
    {
        UINT id;
        const wchar_t* text;
    } fields[] = {{ID_RED_FIELD, L"255"}, {ID_GREEN_FIELD, L"0"}, {ID_BLUE_FIELD, L"0"}};
    for (const auto& field : fields) {
        if (auto* control = dynamic_cast<VREL::MControlFont*>(Control(field.id)))
            control->SetControlTitle(field.text);
    }
}
