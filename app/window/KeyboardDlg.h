#pragma once

// The program's one main window: hosts every page, owns the program's state,
// receives every control notification and window message, keeps the tray
// icon and carries the worker thread that talks to the keyboard.
//
// This file's class, its lifetime and both dispatch tables live in
// KeyboardDlg.cpp; the worker's steps in KeyboardDlgWorker.cpp; each page's
// handlers in the file named after the page (HomePage.cpp (with the device state), KeysPage.cpp,
// LightingPage.cpp, MusicPage.cpp, MacroPage.cpp, SettingsPage.cpp,
// ProfileBar.cpp, UpdateClient.cpp).

#include <windows.h>
#include <shellapi.h>
#include <dbt.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/DeviceLink.h"
#include "app/device/DeviceLinkHost.h"
#include "app/store/ConfigRows.h"
#include "app/window/HttpDownloader.h"
#include "app/window/DeviceCatalogue.h"
#include "app/window/KeyboardLayout.h"
#include "app/window/KeyAssign.h"
#include "app/window/KeyboardDef.h"
#include "app/window/LanguageTexts.h"
#include "app/window/MacroPageState.h"
#include "app/window/MacroXml.h"
#include "app/window/MusicGrid.h"
#include "app/window/PageBuilder.h"
#include "app/window/ThreadBasic.h"
#include "app/window/Visualizer.h"
#include "app/window/WorkerTasks.h"
#include "ui/framework/MDialog.h"

namespace VREL {
class MControl;
class MenuWnd;
}

// One control notification as the dispatch table hands it on.
struct ControlNotify
{
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
};

class KeyboardDlg : public VREL::MDialog,
                    public KeyboardDef,
                    public CThreadBasic,
                    public DeviceLinkHost,
                    private tarnwell::TaskRunner
{
public:
    using ControlHandler = LRESULT (KeyboardDlg::*)(const ControlNotify&);
    using MessageHandler = LRESULT (KeyboardDlg::*)(WPARAM, LPARAM);

    // A row of the control table: ids first..last; anyCode rows act on every
    // code, the others on code 2 only.
    struct ControlRoute
    {
        UINT first;
        UINT last;
        bool anyCode;
        ControlHandler handler;
    };
    // A row of the window-message table; passOn rows let the default
    // handling run after the handler.
    struct MessageRoute
    {
        UINT message;
        MessageHandler handler;
        bool passOn;
    };
    static const std::vector<ControlRoute>& ControlTable();
    static const std::vector<MessageRoute>& MessageTable();

    KeyboardDlg();
    ~KeyboardDlg() override;

    // Creates the window, centres it and runs it modally.
    UINT RunModal();
    // Starts decoding and drawing what the window's first paint needs, to
    // run while the process and the window are still being set up; the
    // window drops what it did not use once it is built.
    static void PrepareFirstPaint();

    // ---- MDialog --------------------------------------------------------------------
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void InitUI(CRect client) override;
    void UISize(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDown(UINT keys, CPoint point) override;
    void OnTimer(UINT id) override;

    // Stops the worker, removes the tray icon, empties the catalogue and
    // destroys the window.
    virtual void CloseDialog();

    // ---- worker ------------------------------------------------------------------------
    void OnThreadTick() override;
    void PushTask(int code) { m_worker.Tasks().Push(code); }
    // Stops the worker before anything it uses goes away: true when it ended.
    bool StopWorker();

    // ---- exit ----------------------------------------------------------------------------
    // Ends the process with the code once the worker has finished its step.
    [[noreturn]] void EndProgram(UINT exitCode);
    void CloseAppWindows();
    void RemoveTrayIcon();
    bool TrayIconAdded() const { return m_tray.hIcon != nullptr; }

    // ---- DeviceLinkHost -----------------------------------------------------------------
    int GetCurrentProfileId() override { return m_profileId; }
    int GetCurrentLightMode() override { return m_lightMode; }
    void SetCurrentLightMode(int mode) override { m_lightMode = mode; }
    int GetLightFlagWord() override { return m_lightFlags; }
    const std::map<int, int>& GetLayoutKeyMap() override { return m_layoutKeyMap; }
    int GetLightEnabled() override { return m_lightEnabled; }
    int GetPerKeyRgb() override { return m_perKeyRgb; }
    std::vector<KeyColorEntry> GetLightingKeyColors() override;
    void SetLightingKeyColors(const std::vector<KeyColorEntry>& colors) override;

    // ---- state read by the tests of the window and the pages --------------------------
    int GetCurrentPage() const { return m_currentPage; }
    bool IsConnected() override { return m_connected; }
    bool IsReady() override { return m_ready; }
    // A control of the window or of one of its pages.
    VREL::MControl* Control(UINT id);
    const tarnwell::LanguageTexts& Texts() const { return m_texts; }

    // The registry step of the factory reset.
    void SaveExitMode();

    // The base address of application packages (the catalogue's "upgrade" url).
    void SetUpgradeAddress(const std::wstring& address) { m_upgradeAddress = address; }
    // ---- keyboard catalogue and selection (HomePage.cpp) --------------------------
    // Opens the model's settings store and loads its layout into both pictures.
    void SelectDevice(int type);
    // Tells the user, once a run, why the settings store cannot save (UI thread).
    void TellStoreFault();
    // The frame area and the profile panel, together.
    void ShowDevicePanels(bool visible);
    const tarnwell::DeviceCatalogue& Catalogue() const { return m_catalogue; }
    // Answers WM_STATE_QUERY: the device state that the end-to-end tests read
    // from outside the process.
    LRESULT OnStateQuery(WPARAM wParam, LPARAM lParam);
    // The macro page's part of that answer; -1 for a query it does not know.
    LRESULT MacroStateQuery(WPARAM query);

private:
    // ---- TaskRunner (worker thread) -------------------------------------------------
    void RunTask(int code) override;
    void StartVisualizer();
    void RunDeviceTask(int code) override;
    int CurrentPage() override { return m_currentPage; }
    int CurrentLightFlags() override { return m_lightFlags; }
    void RunIdle(tarnwell::IdleAction action) override;
    // The worker asks the UI thread; it never touches timers or windows itself.
    void AskUiThread(WorkerRequest request);
    void CloseProgressFromWorker();
    void OnWorkerRequest(WorkerRequest request);

    // ---- window set-up ------------------------------------------------------------
    void InitWindow();
    void AddTrayIcon();
    // The window shows with its shell and home page; the other pages are built
    // after the first paint, a slice at a time, then the window and tray icons
    // are added.
    void OnFirstPaint();
    LRESULT OnBuildPages(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddTrayIcon(WPARAM wParam, LPARAM lParam);
    // Builds what is left of the pages now, when the UI thread needs a
    // control of one; the worker runs only once every page is built.
    void EnsurePagesBuilt();
    void OnPagesBuilt();
    void SetControlVisible(UINT id, bool visible);
    bool IsControlVisible(UINT id);
    // What the window's construction and its texts depend on, read now.
    tarnwell::PageState CurrentPageState();
    // The program's own message box over this window (style 0: OK; 4: OK
    // and Cancel); its result: 1 OK, 2 Cancel or closed, -1 not shown.
    int ShowMessage(const CString& message, const CString& title, int style);

    // ---- shell and page switching (this file's own) --------------------------------
    LRESULT OnTabChanged(const ControlNotify& n);
    LRESULT OnCloseButton(const ControlNotify& n);
    LRESULT OnMaximiseButton(const ControlNotify& n);
    LRESULT OnMinimiseButton(const ControlNotify& n);
    LRESULT ShowSystemSettings(const ControlNotify& n);
    LRESULT ShowHome(const ControlNotify& n);
    LRESULT OnLanguageRadio(const ControlNotify& n);
    LRESULT OpenWebsite(const ControlNotify& n);
    void ShowDeviceChrome(bool visible);
    int TabItemId(int index);
    void SelectFirstTab();

    // ---- window messages ----------------------------------------------------------------
    LRESULT OnRawInput(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceBroadcast(WPARAM wParam, LPARAM lParam);
    LRESULT OnHookKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnExitRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnCloseMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateResult(WPARAM wParam, LPARAM lParam);
    LRESULT OnProfileMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnMacroMenu(WPARAM wParam, LPARAM lParam);
    LRESULT EditRecordItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecordMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnProgressValue(WPARAM wParam, LPARAM lParam);
    LRESULT OnApplyLanguageMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDragOver(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDrop(WPARAM wParam, LPARAM lParam);
    LRESULT OnWorkerRequestMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(WPARAM wParam, LPARAM lParam);

    // ---- device state (HomePage.cpp) --------------------------------------------
    void LoadDeviceConfig();
    void RefreshDevices();
    void UpdateDeviceState();
    void OnDeviceChange(const DEV_BROADCAST_HDR* broadcast, int event);
    LRESULT OnEnterDevice(const ControlNotify& n);
    void RegisterDeviceNotifications();
    void ApplyLayout(const tarnwell::KeyboardLayout& layout);

    // ---- profile bar (ProfileBar.cpp) ------------------------------------------------
    LRESULT OnProfileListNotify(const ControlNotify& n);
    LRESULT AddProfile(const ControlNotify& n);
    LRESULT DeleteProfile(const ControlNotify& n);
    LRESULT ImportProfile(const ControlNotify& n);
    LRESULT ExportProfile(const ControlNotify& n);
    // The default profile's button: the first profile of the list becomes
    // the current one, as if its row had been chosen.
    LRESULT ChooseDefaultProfile(const ControlNotify& n);
    // Makes the profile current and active, and queues its apply.
    LRESULT ChooseProfile(int profile);
    void LoadProfileList();
    // The list's default names again in the current language.
    void ShowProfileNames();
    void ApplyProfile();
    // The profile list's selected profile (0 or less: none); the current
    // profile while the list does not exist.
    int SelectedProfile();
    void SetCurrentProfile(int profile);
    CString LanguageText(int number);
    int ShowMessage(int textId, int titleId, int style);

    // ---- keys page (KeysPage.cpp) --------------------------------------------------
    LRESULT OnLayoutPreset(const ControlNotify& n);
    LRESULT OnResetKeyButton(const ControlNotify& n);
    LRESULT ConfirmResetLayer(const ControlNotify& n);
    LRESULT OnFnLayerTab(const ControlNotify& n);
    LRESULT FillFunctionList(const ControlNotify& n);
    LRESULT AssignPickedKey(const ControlNotify& n);
    LRESULT AssignFunction(const ControlNotify& n);
    void LoadKeyMap();
    void InitKeyTable(int profile);
    void FillFunctionList(int category);
    void ResetSelectedKey(int key);
    void ResetLayerKeys();
    void ApplyLayoutPreset(int item);
    int CurrentCategory();
    std::vector<tarnwell::PictureKey> PictureKeys();

    // ---- lighting page (LightingPage.cpp) ------------------------------------------
    LRESULT OnLightKeysChanged(const ControlNotify& n);
    LRESULT OnLightModeChanged(const ControlNotify& n);
    LRESULT OnPaletteColor(const ControlNotify& n);
    LRESULT OnRgbEdit(const ControlNotify& n);
    LRESULT OnEnableLight(const ControlNotify& n);
    LRESULT OnBrightnessChanged(const ControlNotify& n);
    LRESULT OnSpeedChanged(const ControlNotify& n);
    LRESULT OnDirectionChanged(const ControlNotify& n);
    LRESULT OnColorfulChanged(const ControlNotify& n);
    LRESULT OnColorCell(const ControlNotify& n);
    void LoadLightPage();
    void ShowLightMode();
    void ShowColorControls(bool shown);
    void ShowMusicControls(bool shown);
    void ShowEditors(UINT first, UINT last, bool shown);
    void PaintStoredKeyColours();
    bool StoreKeyColours();
    void ApplyColor(COLORREF colour);
    void ApplyRgbEdits();
    // After a colour pick a colourful mode turns into that one colour.
    void ApplyColourfulRule();
    LRESULT UpdateLightField(int LightData::*field, int value);
    CString ColourFieldText(UINT id);
    // The colour's bytes in the R, G and B fields and, unless the wheel
    // itself chose it, the wheel's thumb on it.
    void ShowColourBytes(COLORREF colour, bool placeWheel = true);
    void PlaceWheelThumb(COLORREF colour);

    // ---- music lighting (MusicPage.cpp) ---------------------------------------------
    LRESULT OnMusicSetting(const ControlNotify& n);
    void BuildMusicGrid();
    void SendMusicFrame();
    void ResetMusicPage(int profile);
    // Writes one analyser setting with the render thread paused.
    void SetVisualizerParameter(std::atomic<int>& parameter, int value);

    // ---- macro page (MacroPage.cpp) ------------------------------------------------
    LRESULT ShowMacroMenu(const ControlNotify& n);
    LRESULT OnRecordListNotify(const ControlNotify& n);
    LRESULT OnMacroField(const ControlNotify& n);
    LRESULT OnEventValueField(const ControlNotify& n);
    LRESULT AddMacro(const ControlNotify& n);
    LRESULT DeleteMacro(const ControlNotify& n);
    LRESULT OnEventEditButton(const ControlNotify& n);
    LRESULT ClearRecordItems(const ControlNotify& n);
    LRESULT ToggleRecording(const ControlNotify& n);
    LRESULT OnMacroRadio(const ControlNotify& n);
    void LoadMacroList();
    void LoadMacroRecord(int macroId);
    void SaveMacroRecord();
    void SaveMacroSettings();
    void AppendRecordEvent(const tarnwell::RawInputEvent& event);
    int SelectedMacroId();
    void EnableMacroControls(bool enable);
    void RefillMacroCategory();
    void ShowMacroMessage(int title, int message);
    // A context menu reporting to `message`, at a screen point; the menu of
    // the same kind still open is closed first. Null when it cannot be made.
    VREL::MenuWnd* OpenMacroMenu(UINT message, CPoint at, int width);
    CString MacroText(int number);
    void OpenEventEditor();
    void ConfigureValueEdit(long kind);
    // 100 to the top, 101 up, 102 down, 103 to the bottom, 104 clear.
    void MoveRecordItem(int where);
    bool ImportMacroList();
    bool ExportMacroList();
    bool ImportMacroFile();
    bool ExportMacroFile();
    bool ImportMacrosOf(tarnwell::MacroFileFormat format);
    bool ExportMacrosOf(tarnwell::MacroFileFormat format);

public:
    // The file steps of the macro menu without their file dialogs.
    bool ImportMacroText(tarnwell::MacroFileFormat format, const std::wstring& path);
    bool ExportMacroText(tarnwell::MacroFileFormat format, const std::wstring& path);
    const tarnwell::MacroPageState& MacroPage() const { return m_macro; }

private:

    // ---- settings pages (SettingsPage.cpp) ------------------------------------------
    LRESULT OnFirmwareInfo(const ControlNotify& n);
    LRESULT OnDisableKeyOption(const ControlNotify& n);
    LRESULT OnSleepTimeChanged(const ControlNotify& n);
    LRESULT FactoryReset(const ControlNotify& n);
    LRESULT CloseSystemSettings(const ControlNotify& n);
    LRESULT SetAutorun(const ControlNotify& n);
    LRESULT SetAutorunMinimize(const ControlNotify& n);
    LRESULT SetExitMode(const ControlNotify& n);
    void LoadSettingsPage();
    // Reads the keyboard's firmware number (worker thread) and shows the line.
    void LoadFirmwareLine();
    // The line again from the number read last, in the current language.
    void ShowFirmwareLine();
    // The program's version on the home page, in the current language.
    void ShowVersionLine();
    // A numbered text of the current language.
    CString Text(int number);
    void ShowNotConnected();
    void ApplyLanguage();

    // ---- worker reloads ------------------------------------------------------------
    void RefreshPages();
    void ReloadAll();
    void ResetDevice();
    void DownloadAppUpdate();
    void DownloadFirmware();

    // ---- update client (UpdateClient.cpp; UI thread unless marked) ------------------
    void ResetProgress();
    // Shows the progress window modally; deletes it when its run returns.
    // firstText: the window's text until the first progress arrives.
    void ShowProgressWindow(int firstText);
    void OnProgressTimer(UINT id);
    LRESULT OnDownloadProgress(LPARAM percent);
    // The worker's report of a failed update, shown once no progress window runs.
    void OnUpdateReportRequest();
    void ReportUpdateOutcome();
    // Worker thread: keeps the outcome and asks the UI thread to report it.
    void PostUpdateOutcome(int kind, int outcome);

    // ---- state ---------------------------------------------------------------------
    tarnwell::TaskWorker m_worker;
    std::unique_ptr<DeviceLink> m_link;

    volatile bool m_connected;
    volatile bool m_ready;
    volatile int m_currentPage;
    volatile int m_lastDeviceTab;
    volatile int m_profileId;
    volatile int m_fnLayer;
    volatile int m_lightMode;
    volatile int m_lightFlags;
    volatile int m_lightEnabled;
    volatile int m_perKeyRgb;
    std::map<int, int> m_layoutKeyMap;
    // The music lighting: the spectrum analyser and the layout's key grid over
    // its image.
    tarnwell::Visualizer m_visualizer;
    tarnwell::MusicGrid m_musicGrid;

    Gdiplus::Color m_pageTextColour;
    // The numbered texts of the current language, and every control the
    // page construction made, by id.
    tarnwell::LanguageTexts m_texts;
    tarnwell::PageControls m_controls;
    // Builds the pages after the first paint; the flag is set, on the UI
    // thread, once every page is built.
    std::unique_ptr<tarnwell::PageBuilder> m_pageBuilder;
    // Held while pages join the controls and while a control is looked up:
    // the first start's scan may look up from the worker meanwhile.
    std::recursive_mutex m_controlsLock;
    std::atomic<bool> m_pagesBuilt{false};
    // Set on the UI thread; the worker sets the analyser up only after it.
    std::atomic<bool> m_firstPaintDone{false};
    // Worker only.
    bool m_visualizerStarted = false;
    bool m_buildingPages = false;
    // The layout chosen at start-up, until the pages that show it exist.
    std::unique_ptr<tarnwell::KeyboardLayout> m_pendingLayout;
    DWORD m_uiThread = 0;
    NOTIFYICONDATAW m_tray;

    // Progress of the update window: the open window (none when closed), the
    // shown and target values and the stage.
    VREL::MDialog* m_progressWindow;
    volatile int m_progressShown;
    volatile int m_progressTarget;
    volatile int m_stage;

    int m_restoreView;
    HKL m_keyboardLayout;
    // Started by the test harness: its control notifications and state
    // query are answered (see tarnwell::StartedByTestHarness).
    const bool m_testChannel;

    tarnwell::MacroPageState m_macro;
    // The open context menu of each kind (by the message it reports to).
    std::map<UINT, HWND> m_openMenus;
    // Update client: the package addresses and versions (nothing in this
    // program fills the versions), the downloader and the last outcome.
    std::wstring m_upgradeAddress;
    std::wstring m_newAppVersion;
    std::wstring m_firmwareAddress;
    std::wstring m_firmwareFolder;
    std::wstring m_newFirmwareVersion;
    volatile int m_firmwarePresent = 0;
    // The keyboard's firmware number as the settings page read it last.
    std::atomic<int> m_firmwareRelease{0};
    tarnwell::HttpDownloader m_downloader;
    volatile int m_updateKind = 0;
    volatile int m_updateOutcome = 0;
    bool m_updateReportPending = false;
    // ---- keyboard catalogue, selection and layout (HomePage.cpp) ------------------
    tarnwell::DeviceCatalogue m_catalogue;
    bool m_storeFaultTold = false;
    int m_deviceType = 0;
    std::wstring m_deviceName;
    std::wstring m_deviceInfo;
    int m_defaultLightMode = 0;
    int m_defaultBrightness = 0;
    int m_defaultSpeed = 0;
    // The language text the home page's enter button shows.
    volatile int m_enterText = 0;
};
