// The update client: the update notice, the progress window and its timers
// (UI thread), and the downloads of application and firmware packages
// (worker thread, which only posts to the UI thread).

#include "app/window/KeyboardDlg.h"

#include <memory>

#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/LanguageTexts.h"
#include "app/window/MessageTexts.h"
#include "app/window/UpdatePackage.h"
#include "app/window/UpdateProgress.h"
#include "app/window/UpdateTipDlg.h"

using namespace tarnwell;

namespace {

// Kinds of the update notice (wParam of WM_UPDATE_RESULT).
constexpr int kNoticeApp = 1;
constexpr int kNoticeFirmware = 2;
constexpr int kNoticeFirmwareRequired = 99;
constexpr int kNoticeFactoryReset = 1001;

constexpr UINT kResetTimerPeriodMs = 50;

LanguageTexts CurrentTexts() { return LanguageTexts(CString(GetExeFolder().c_str()), GetCurrentLanguage()); }

int Ask(HWND parent, const CString& message, int title, int style)
{
    const LanguageTexts texts = CurrentTexts();
    return ShowMessageBox(parent, message.GetString(), texts.GetLanguageText(title).GetString(), style, texts);
}

int Ask(HWND parent, int message, int title, int style)
{
    return Ask(parent, CurrentTexts().GetLanguageText(message), title, style);
}

CString NewVersionQuestion(const std::wstring& version)
{
    const LanguageTexts texts = CurrentTexts();
    CString question;
    question.Format(L"%ls: v%ls. %ls", texts.GetLanguageText(TEXT_NEW_VERSION).GetString(), version.c_str(),
                    texts.GetLanguageText(TEXT_ASK_UPDATE).GetString());
    return question;
}

// The text of a failed update; 0 for an outcome that tells nothing.
int OutcomeMessage(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::NoFolder:
        return TEXT_NO_TEMP_FOLDER;
    case UpdateOutcome::DownloadFailed:
        return TEXT_DOWNLOAD_FAILED;
    case UpdateOutcome::ArchiveBroken:
    case UpdateOutcome::ProductMissing:
        return TEXT_PACKAGE_BROKEN;
    case UpdateOutcome::LaunchFailed:
        return TEXT_LAUNCH_FAILED;
    case UpdateOutcome::PackageTooLarge:
        return TEXT_PACKAGE_TOO_LARGE;
    case UpdateOutcome::NoDiskSpace:
        return TEXT_NO_DISK_SPACE;
    default:
        return 0;
    }
}

} // namespace

// ---- the notice (UI thread) ------------------------------------------------------------

LRESULT KeyboardDlg::OnUpdateResult(WPARAM wParam, LPARAM lParam)
{
    const int kind = static_cast<int>(wParam);
    const int flag = static_cast<int>(lParam);
    switch (kind) {
    case kNoticeApp:
        if (flag == 0) {
            Ask(m_hWnd, TEXT_UP_TO_DATE, TEXT_APP_UPDATE, kMessageBoxOk);
            break;
        }
        if (Ask(m_hWnd, NewVersionQuestion(m_newAppVersion), TEXT_APP_UPDATE, kMessageBoxOkCancel) ==
            kMessageBoxAnsweredOk)
            PushTask(TASK_DOWNLOAD_APP);
        break;
    case kNoticeFirmware:
        if (flag == 0) {
            Ask(m_hWnd, TEXT_UP_TO_DATE, TEXT_FIRMWARE_UPDATE, kMessageBoxOk);
            break;
        }
        if (Ask(m_hWnd, NewVersionQuestion(m_newFirmwareVersion), TEXT_FIRMWARE_UPDATE, kMessageBoxOkCancel) !=
            kMessageBoxAnsweredOk)
            break;
        PushTask(TASK_DOWNLOAD_FIRMWARE);
        ResetProgress();
        ShowProgressWindow(TEXT_STAGE_BASE);
        break;
    case kNoticeFirmwareRequired:
        if (m_firmwarePresent != 0)
            break;
        if (Ask(m_hWnd, TEXT_FIRMWARE_REQUIRED, TEXT_FIRMWARE_UPDATE, kMessageBoxOkCancel) != kMessageBoxAnsweredOk)
            break;
        ResetProgress();
        PushTask(TASK_FIRMWARE_REQUIRED);
        ShowProgressWindow(TEXT_STAGE_BASE);
        break;
    case kNoticeFactoryReset:
        ResetProgress();
        SetTimer(TIMER_RESET_PROGRESS, kResetTimerPeriodMs, nullptr);
        ShowProgressWindow(TEXT_RESET_PROGRESS);
        break;
    default:
        break;
    }
    return 0;
}

// ---- the progress window (UI thread) -----------------------------------------------------

void KeyboardDlg::ResetProgress()
{
    m_progressShown = 0;
    m_progressTarget = 0;
    m_stage = 0;
}

void KeyboardDlg::ShowProgressWindow(int firstText)
{
    // A notice that arrives while a progress window runs (its modal loop is
    // below this call) leaves that window to show the new progress: deleting
    // it here would pull it from under its own loop.
    if (m_progressWindow != nullptr)
        return;
    std::unique_ptr<UpdateTipDlg> window(new UpdateTipDlg(CurrentTexts().GetLanguageText(firstText)));
    m_progressWindow = window.get();
    window->Show(m_hWnd);
    m_progressWindow = nullptr;
    window.reset();
    // Whatever closed the window, its timers go with it.
    KillTimer(TIMER_STAGE_PROGRESS);
    KillTimer(TIMER_RESET_PROGRESS);
    if (m_updateReportPending) {
        m_updateReportPending = false;
        ReportUpdateOutcome();
    }
}

void KeyboardDlg::OnProgressTimer(UINT id)
{
    const int text = id == TIMER_STAGE_PROGRESS ? TEXT_STAGE_BASE + m_stage : TEXT_RESET_PROGRESS;
    m_progressShown = NextShownProgress(m_progressShown, m_progressTarget);
    auto* window = dynamic_cast<UpdateTipDlg*>(m_progressWindow);
    if (window == nullptr)
        return;
    const int shown = m_progressTarget == kProgressUnknown ? kProgressUnknown : m_progressShown;
    window->SetProgressText(shown, CurrentTexts().GetLanguageText(text).GetString());
}

LRESULT KeyboardDlg::OnDownloadProgress(LPARAM percent)
{
    m_progressTarget = static_cast<int>(percent);
    return 0;
}

// ---- failures (posted by the worker, shown on the UI thread) ----------------------------

void KeyboardDlg::PostUpdateOutcome(int kind, int outcome)
{
    m_updateKind = kind;
    m_updateOutcome = outcome;
    AskUiThread(REQUEST_REPORT_UPDATE);
}

void KeyboardDlg::OnUpdateReportRequest()
{
    if (m_progressWindow != nullptr)
        m_updateReportPending = true;
    else
        ReportUpdateOutcome();
}

void KeyboardDlg::ReportUpdateOutcome()
{
    const int message = OutcomeMessage(static_cast<UpdateOutcome>(m_updateOutcome));
    if (message == 0)
        return;
    Ask(m_hWnd, message, m_updateKind == kNoticeApp ? TEXT_APP_UPDATE : TEXT_FIRMWARE_UPDATE, kMessageBoxOk);
}

// ---- downloads (worker thread) ------------------------------------------------------------

void KeyboardDlg::DownloadAppUpdate()
{
    PackageUpdater updater(m_downloader, m_hWnd);
    const UpdateOutcome outcome =
        updater.Install(AppPackage(GetDataFolder(), m_upgradeAddress, m_newAppVersion), &ShellLaunch);
    if (outcome == UpdateOutcome::Installed) {
        // The installer replaces this program: end it through the UI
        // thread's exit road, which stops this worker first.
        PostMessageW(WM_APP_EXIT, 0, APP_EXIT_CODE);
        return;
    }
    if (outcome != UpdateOutcome::Cancelled)
        PostUpdateOutcome(kNoticeApp, static_cast<int>(outcome));
}

void KeyboardDlg::DownloadFirmware()
{
    PackageUpdater updater(m_downloader, m_hWnd);
    const UpdateOutcome outcome = updater.Fetch(
        FirmwarePackage(GetDataFolder(), m_firmwareAddress, m_firmwareFolder, m_newFirmwareVersion));
    if (outcome == UpdateOutcome::Installed)
        m_firmwarePresent = 1;
    else if (outcome != UpdateOutcome::Cancelled)
        PostUpdateOutcome(kNoticeFirmware, static_cast<int>(outcome));
}
