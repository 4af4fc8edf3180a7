// The window's shell and every page: built once from the page tables, placed
// on every size, and given their texts again when the language changes.

#include "app/window/KeyboardDlg.h"

#include <string>

#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/Startup.h"
#include "ui/framework/MControl.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"

using namespace tarnwell;

namespace {

const wchar_t* const kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kRunValueBytes = 1024;

// The program starts with Windows: the Run key holds a value named by the
// device name.
bool StartsWithWindows()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    std::wstring command;
    const CString name = VREL::Manager::GetDeviceName();
    const bool found = ReadRegistryText(key, name.GetString(), command, kRunValueBytes);
    RegCloseKey(key);
    return found;
}

} // namespace

PageState KeyboardDlg::CurrentPageState()
{
    PageState state;
    state.language = m_texts.Language();
    state.exitMode = GetRegistryInt(L"exit_mode");
    state.connected = m_connected;
    state.autorun = StartsWithWindows();
    state.autorunMinimize = GetRegistryInt(L"autorun_minimize");
    state.rgbKeyboard = m_perKeyRgb != 0;
    return state;
}

void KeyboardDlg::PrepareFirstPaint()
{
    // The window is a popup without a frame: its client area is the window.
    const CRect client(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    PageBuilder::PrepareFirstPaint(
        client, VREL::WindowBase::Of(client.Size(), WINDOW_BACK_COLOUR, WINDOW_BORDER_COLOUR));
}

void KeyboardDlg::InitUI(CRect client)
{
    MarkStartup(StartupMark::Window);
    m_uiThread = GetCurrentThreadId();
    m_pm.SetBackColor(WINDOW_BACK_COLOUR, WINDOW_BORDER_COLOUR);
    RegisterPageWidgetHooks();
    // What the first paint shows comes first; the other pages follow it
    // (OnBuildPages), in the same order.
    m_pageBuilder = std::make_unique<PageBuilder>(m_texts, m_pageTextColour);
    m_controls = m_pageBuilder->BuildShell(*this, client, CurrentPageState());
    MarkStartup(StartupMark::Shell);
    m_pageBuilder->BuildHome(m_controls, *this, client);
    MarkStartup(StartupMark::HomePage);
}

void KeyboardDlg::UISize(CRect client) { PageBuilder::Place(m_controls, client); }

VREL::MControl* KeyboardDlg::Control(UINT id)
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_controlsLock);
        if (VREL::MControl* control = m_controls.Get(static_cast<int>(id)))
            return control;
    }
    if (!m_pagesBuilt && GetCurrentThreadId() == m_uiThread) {
        EnsurePagesBuilt();
        std::lock_guard<std::recursive_mutex> lock(m_controlsLock);
        if (VREL::MControl* control = m_controls.Get(static_cast<int>(id)))
            return control;
    }
    return GetControl(id);
}

void KeyboardDlg::OnFirstPaint()
{
    m_firstPaintDone = true;
    MarkStartup(StartupMark::FirstPaint);
    KillTimer(TIMER_FIRST_PAINT_WAIT);
    PostMessageW(WM_BUILD_PAGES, 0, 0);
}

LRESULT KeyboardDlg::OnBuildPages(WPARAM, LPARAM)
{
    KillTimer(TIMER_BUILD_PAGES);
    if (m_pagesBuilt || m_buildingPages || !m_pageBuilder)
        return 0;
    // Row by row for a short slice, so that the window keeps answering
    // while the pages are built.
    const DWORD start = GetTickCount();
    bool done = false;
    m_buildingPages = true;
    {
        std::lock_guard<std::recursive_mutex> lock(m_controlsLock);
        do
            done = m_pageBuilder->BuildMore(m_controls, *this, m_clientRect, 1);
        while (!done && GetTickCount() - start < PAGE_BUILD_SLICE_MS);
    }
    m_buildingPages = false;
    if (done)
        OnPagesBuilt();
    else if (HIWORD(GetQueueStatus(QS_INPUT)) != 0)
        SetTimer(TIMER_BUILD_PAGES, 1, nullptr);  // the user's input first: timers come after it
    else
        PostMessageW(WM_BUILD_PAGES, 0, 0);
    return 0;
}

void KeyboardDlg::EnsurePagesBuilt()
{
    // Not from within a build step: a control made there may already report.
    if (m_pagesBuilt || m_buildingPages || !m_pageBuilder || m_pageBuilder->Finished() ||
        GetCurrentThreadId() != m_uiThread)
        return;
    m_buildingPages = true;
    {
        std::lock_guard<std::recursive_mutex> lock(m_controlsLock);
        m_pageBuilder->BuildMore(m_controls, *this, m_clientRect, 0);
    }
    m_buildingPages = false;
    OnPagesBuilt();
}

void KeyboardDlg::OnPagesBuilt()
{
    // Before the worker may run: it reads what the layout sets.
    if (std::unique_ptr<KeyboardLayout> layout = std::move(m_pendingLayout))
        ApplyLayout(*layout);
    m_pagesBuilt = true;
    MarkStartup(StartupMark::Pages);
    // The shell call can take a large part of a second: it waits for its own
    // message, after everything the user sees.
    PostMessageW(WM_ADD_TRAY_ICON, 0, 0);
}

LRESULT KeyboardDlg::OnAddTrayIcon(WPARAM, LPARAM)
{
    // The window's icons come with the tray's: only the taskbar shows them,
    // and handing them to the display costs the first paint several
    // milliseconds.
    SetIcon(APP_ICON_RESOURCE);
    AddTrayIcon();
    return 0;
}

void KeyboardDlg::ApplyLanguage()
{
    m_texts.SetLanguage(GetCurrentLanguage());
    PageBuilder(m_texts, m_pageTextColour).ApplyTexts(m_controls, CurrentPageState());
    // Lines that join a text with what the keyboard or the catalogue says.
    ShowVersionLine();
    ShowFirmwareLine();
    ShowProfileNames();
    // The light-mode tiles take their names from the language file as the
    // lighting page fills them.
    LoadLightPage();
    m_pm.Invalidate();
}

LRESULT KeyboardDlg::OnApplyLanguageMessage(WPARAM, LPARAM)
{
    ApplyLanguage();
    return 0;
}

int KeyboardDlg::ShowMessage(const CString& message, const CString& title, int style)
{
    return ShowMessageBox(m_hWnd, message.GetString(), title.GetString(), style, m_texts);
}
