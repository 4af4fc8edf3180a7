// The worker's side of the main dialog: what each task runs, the reloads and
// the idle streaming. Everything here runs on the worker thread; it changes
// no timer and closes no window, it asks the UI thread by a posted message.

#include "app/window/KeyboardDlg.h"

#include <mmsystem.h>

#include "app/device/HidDeviceManager.h"
#include "app/device/DeviceReport.h"
#include "app/store/ConfigDB.h"

using namespace tarnwell;

namespace {

constexpr DWORD DEVICE_SETTLE_MS = 1000;
constexpr DWORD AFTER_UPLOAD_MS = 100;
constexpr DWORD PROGRESS_CLOSE_PAUSE_MS = 100;

} // namespace

void KeyboardDlg::OnThreadTick()
{
    // The pages that the tasks fill are built on the UI thread after the
    // first paint; until then only the first start's scan runs, at once, as
    // it always did (it touches the shell and the home page).
    if (m_worker.FirstStartTaken() && !m_visualizerStarted && m_firstPaintDone)
        StartVisualizer();
    if (!m_pagesBuilt && m_worker.FirstStartTaken())
        return;
    m_worker.Step(*this);
}

void KeyboardDlg::StartVisualizer()
{
    // The first start's last step, once the window has shown: the analyser
    // loads the audio stack, and a thread that loads libraries holds up every
    // other thread that loads one, the first paint's image decoders among
    // them. It still comes before any task that may turn the music on.
    m_visualizerStarted = true;
    m_visualizer.Init();
    m_visualizer.StartRenderThread();
    m_visualizer.active = 0;
}

void KeyboardDlg::RunTask(int code)
{
    switch (code) {
    case TASK_FIRST_START:
        if (!m_worker.TakeFirstStart())
            break;
        RefreshDevices();
        UpdateDeviceState();
        break;
    case TASK_DEVICE_ARRIVED:
    case TASK_DEVICE_REMOVED:
        Sleep(DEVICE_SETTLE_MS);
        RefreshDevices();
        UpdateDeviceState();
        break;
    case TASK_RELOAD_ALL:
        ReloadAll();
        break;
    case TASK_DEVICE_READY:
        m_progressTarget = 90;
        RefreshPages();
        m_progressTarget = 100;
        SetControlVisible(ID_TAB_STRIP, true);
        SelectFirstTab();
        SetControlVisible(ID_HOME_PAGE, false);
        ShowDeviceChrome(true);
        AskUiThread(REQUEST_STOP_RESET_TIMER);
        CloseProgressFromWorker();
        break;
    case TASK_DOWNLOAD_APP:
        DownloadAppUpdate();
        break;
    case TASK_DOWNLOAD_FIRMWARE:
        AskUiThread(REQUEST_START_STAGE_TIMER);
        DownloadFirmware();
        AskUiThread(REQUEST_STOP_STAGE_TIMER);
        CloseProgressFromWorker();
        break;
    case TASK_FIRMWARE_REQUIRED:
        AskUiThread(REQUEST_START_STAGE_TIMER);
        AskUiThread(REQUEST_STOP_STAGE_TIMER);
        CloseProgressFromWorker();
        break;
    default:
        break;
    }
}

void KeyboardDlg::RunDeviceTask(int code)
{
    switch (code) {
    case TASK_APPLY_PROFILE:
        ApplyProfile();
        Sleep(AFTER_UPLOAD_MS);
        break;
    case TASK_WRITE_KEYMAP:
        m_link->WriteKeyMap();
        Sleep(AFTER_UPLOAD_MS);
        break;
    case TASK_WRITE_MACROS:
        m_link->WriteMacros();
        Sleep(AFTER_UPLOAD_MS);
        break;
    case TASK_WRITE_SETTINGS:
        m_link->WriteSettings();
        break;
    case TASK_WRITE_LIGHTING:
        m_link->WriteLighting();
        break;
    case TASK_RESET_DEVICE:
        ResetDevice();
        AskUiThread(REQUEST_ENABLE_WINDOW);
        break;
    default:
        break;
    }
}

void KeyboardDlg::RunIdle(IdleAction action)
{
    timeBeginPeriod(1);
    if (action == IdleAction::SendMusicFrame) {
        SendMusicFrame();
    } else {
        // A device task since the last read ended the keyboard's stream.
        if (m_worker.GetStreamRestart()) {
            m_link->RestartStream();
            m_worker.ClearStreamRestart();
        }
        m_link->ReadLiveColors();
    }
    timeEndPeriod(1);
}

void KeyboardDlg::CloseProgressFromWorker()
{
    Sleep(PROGRESS_CLOSE_PAUSE_MS);
    AskUiThread(REQUEST_CLOSE_PROGRESS);
    Sleep(PROGRESS_CLOSE_PAUSE_MS);
}

void KeyboardDlg::RefreshPages()
{
    LoadProfileList();
    LoadKeyMap();
    LoadLightPage();
    BuildMusicGrid();
    LoadSettingsPage();
    LoadMacroList();
}

void KeyboardDlg::ReloadAll()
{
    RefreshDevices();
    UpdateDeviceState();
    RefreshPages();
}

void KeyboardDlg::ResetDevice()
{
    // The keyboard may have gone since the button was pressed: the progress
    // window must still close and the store must stay as it was.
    if (!GetHidDeviceManager().IsConnected()) {
        AskUiThread(REQUEST_STOP_RESET_TIMER);
        CloseProgressFromWorker();
        AskUiThread(REQUEST_RESET_NO_DEVICE);
        return;
    }
    // On this thread, under the store's lock: no task can use the store
    // between the delete and the reopen, and the store replaced is the one of
    // the keyboard in use.
    if (!GetConfigDB().RecreateDB())
        AskUiThread(REQUEST_REPORT_STORE_FAULT);
    m_progressTarget = 90;
    HidReport report{};
    report[1] = 0x55;
    report[2] = 0xEE;
    GetHidDeviceManager().SendToAll(report);
    Sleep(DeviceLink::FACTORY_RESET_SLEEP_MS);
    LoadProfileList();
    LoadKeyMap();
    m_progressTarget = 95;
    LoadLightPage();
    BuildMusicGrid();
    LoadSettingsPage();
    LoadMacroList();
    m_progressTarget = 100;
    AskUiThread(REQUEST_STOP_RESET_TIMER);
    CloseProgressFromWorker();
}

