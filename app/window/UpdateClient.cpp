// The update client: the update notice, the progress window and its timers
// (UI thread), and the downloads of application and firmware packages
// (worker thread, which only posts to the UI thread).

#include "app/window/KeyboardDlg.h"

#include <memory>

#include "app/window/AppSettings.h"
#include "app/window/CUIMessageBox.h"
#include "app/window/LanguageTexts.h"
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
constexpr int kStageTextBase = 1000;
constexpr int kResetText = 80;

const wchar_t kAppTitle[] = L"软件升级";
const wchar_t kFirmwareTitle[] = L"固件升级";
const wchar_t kUpToDate[] = L"已经是最新的版本, 无需升级!";
const wchar_t kNewVersion[] = L"检测到新版本";
const wchar_t kAskUpgrade[] = L"是否需要升级?";
const wchar_t kFirmwareRequired[] =
    L"您的键盘需要更新固件后, 才能正常使用驱动! 升级大概需要1分钟,升级过程中,请勿触碰键盘!";
// What a failed update tells the user; nothing was installed in any case.
const wchar_t kDownloadFailed[] = L"下载失败, 未做任何更改!";
const wchar_t kPackageBroken[] = L"更新包已损坏, 未做任何更改!";
const wchar_t kNoTempFolder[] = L"无法写入临时文件夹, 未做任何更改!";
const wchar_t kLaunchFailed[] = L"无法启动安装程序!";

LanguageTexts CurrentTexts() { return LanguageTexts(CString(GetExeFolder().c_str()), GetCurrentLanguage()); }

int Ask(HWND parent, const wchar_t* message, const wchar_t* title, int style)
{
    return ShowMessageBox(parent, message, title, style, CurrentTexts());
}

CString NewVersionQuestion(const std::wstring& version)
{
    CString question;
    question.Format(L"%ls:v%ls, %ls", kNewVersion, version.c_str(), kAskUpgrade);
    return question;
}

// Language texts of the packages refused before unpacking.
constexpr int kPackageTooLargeText = 1120;
constexpr int kNoDiskSpaceText = 1121;

int OutcomeText(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::PackageTooLarge:
        return kPackageTooLargeText;
    case UpdateOutcome::NoDiskSpace:
        return kNoDiskSpaceText;
    default:
        return 0;
    }
}

const wchar_t* OutcomeMessage(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::NoFolder:
        return kNoTempFolder;
    case UpdateOutcome::DownloadFailed:
        return kDownloadFailed;
    case UpdateOutcome::ArchiveBroken:
    case UpdateOutcome::ProductMissing:
        return kPackageBroken;
    case UpdateOutcome::LaunchFailed:
        return kLaunchFailed;
    default:
        return nullptr;
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
            Ask(m_hWnd, kUpToDate, kAppTitle, kMessageBoxOk);
            break;
        }
        if (Ask(m_hWnd, NewVersionQuestion(m_newAppVersion).GetString(), kAppTitle, kMessageBoxOkCancel) ==
            kMessageBoxAnsweredOk)
            PushTask(TASK_DOWNLOAD_APP);
        break;
    case kNoticeFirmware:
        if (flag == 0) {
            Ask(m_hWnd, kUpToDate, kFirmwareTitle, kMessageBoxOk);
            break;
        }
        if (Ask(m_hWnd, NewVersionQuestion(m_newFirmwareVersion).GetString(), kFirmwareTitle,
                kMessageBoxOkCancel) != kMessageBoxAnsweredOk)
            break;
        PushTask(TASK_DOWNLOAD_FIRMWARE);
        ResetProgress();
        ShowProgressWindow();
        break;
    case kNoticeFirmwareRequired:
        if (m_firmwarePresent != 0)
            break;
        if (Ask(m_hWnd, kFirmwareRequired, kFirmwareTitle, kMessageBoxOkCancel) != kMessageBoxAnsweredOk)
            break;
        ResetProgress();
        PushTask(TASK_FIRMWARE_REQUIRED);
        ShowProgressWindow();
        break;
    case kNoticeFactoryReset:
        ResetProgress();
        SetTimer(TIMER_RESET_PROGRESS, kResetTimerPeriodMs, nullptr);
        ShowProgressWindow();
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

void KeyboardDlg::ShowProgressWindow()
{
    // A notice that arrives while a progress window runs (its modal loop is
    // below this call) leaves that window to show the new progress: deleting
    // it here would pull it from under its own loop.
    if (m_progressWindow != nullptr)
        return;
    std::unique_ptr<UpdateTipDlg> window(new UpdateTipDlg());
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
    const int text = id == TIMER_STAGE_PROGRESS ? kStageTextBase + m_stage : kResetText;
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
    const UpdateOutcome outcome = static_cast<UpdateOutcome>(m_updateOutcome);
    const wchar_t* title = m_updateKind == kNoticeApp ? kAppTitle : kFirmwareTitle;
    const int text = OutcomeText(outcome);
    if (text != 0) {
        Ask(m_hWnd, CurrentTexts().GetLanguageText(text).GetString(), title, kMessageBoxOk);
        return;
    }
    const wchar_t* message = OutcomeMessage(outcome);
    if (message == nullptr)
        return;
    Ask(m_hWnd, message, title, kMessageBoxOk);
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
