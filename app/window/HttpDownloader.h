#pragma once

// Downloads one file over HTTP with WinINet, reporting its progress to a
// window. The data goes to "<path>.part" first and takes the final name only
// once the whole body is in: a status other than 200, a body shorter or
// longer than its announced length, a failed read or write, or a cancelled
// run leaves nothing at the path.

#include <windows.h>

#include <cstdint>
#include <string>

namespace tarnwell {

// Results of HttpDownloader::Download.
enum DownloadResult : int
{
    kDownloadComplete = 1,
    kDownloadFailed = -1,     // after the connection was opened, or it could not be
    kDownloadCancelled = -2,  // the running flag was cleared
    kDownloadNoInternet = 0,  // WinINet cannot be initialised
};

// Why a download did not complete.
enum class DownloadProblem
{
    None,
    NoInternet,
    Unreachable,   // the address could not be opened
    HttpStatus,    // the answer was not 200
    FileCreate,
    ReadFailed,
    WriteFailed,
    Cut,           // fewer bytes than the announced length
    TooLong,       // more bytes than the announced length
    Cancelled,
    Rename,
};

// What a finished transfer came to.
struct DownloadFacts
{
    DWORD status = 0;
    bool lengthKnown = false;
    uint64_t length = 0;
    uint64_t received = 0;
    bool readFailed = false;
    bool writeFailed = false;
    bool cancelled = false;
};

// The verdict on a transfer whose connection was opened.
DownloadProblem JudgeTransfer(const DownloadFacts& facts);

// The name the data is written to until it is complete.
std::wstring PartialPath(const std::wstring& path);

class HttpDownloader
{
public:
    // Posted to the progress window with wParam 0 and lParam the percent
    // (kProgressUnknown when the length is not announced).
    static constexpr UINT WM_DOWNLOAD_PROGRESS = 0x69A;
    static constexpr WPARAM PROGRESS_WPARAM = 0;
    static constexpr DWORD CHUNK_SIZE = 10240;
    static constexpr DWORD TIMEOUT_MS = 30000;

    int Download(const std::wstring& url, const std::wstring& path, HWND progressWindow);

    // Clears the running flag: a download in progress stops after its chunk.
    void Cancel() { ::InterlockedExchange(&m_running, 0); }
    bool Running() const { return m_running != 0; }
    int LastPosted() const { return m_lastPosted; }
    DownloadProblem LastProblem() const { return m_problem; }
    const DownloadFacts& LastFacts() const { return m_facts; }

private:
    // Posts the percent when it differs from the last one posted.
    void Post(HWND window, int percent);
    int Finish(DownloadProblem problem, const std::wstring& partial);

    volatile LONG m_running = 0;
    int m_lastPosted = 0;
    DownloadProblem m_problem = DownloadProblem::None;
    DownloadFacts m_facts;
};

} // namespace tarnwell
