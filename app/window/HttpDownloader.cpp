#include "app/window/HttpDownloader.h"

#include <wininet.h>

#include <cwchar>
#include <vector>

#include "app/window/ScopedFile.h"
#include "app/window/UpdateProgress.h"

namespace tarnwell {

namespace {

constexpr char kUserAgent[] = "IIC2.0/PC 5.5.0000";
constexpr char kRequestHeaders[] = "Accept: */*\r\n\r\n";
constexpr DWORD kHttpOk = 200;

class InternetHandle
{
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : m_handle(handle) {}
    ~InternetHandle()
    {
        if (m_handle != nullptr)
            ::InternetCloseHandle(m_handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return m_handle; }

private:
    HINTERNET m_handle;
};

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

void SetTimeouts(HINTERNET handle)
{
    DWORD timeout = HttpDownloader::TIMEOUT_MS;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
        ::InternetSetOptionW(handle, option, &timeout, sizeof(timeout));
}

DWORD QueryStatus(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    DWORD index = 0;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
        return 0;
    return status;
}

// The announced length, read as text so that lengths past 4 GB stay whole;
// false when none is announced or it is not a number.
bool QueryLength(HINTERNET request, uint64_t& length)
{
    wchar_t text[32] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD index = 0;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, &index))
        return false;
    if (text[0] < L'0' || text[0] > L'9')
        return false;
    wchar_t* end = nullptr;
    length = _wcstoui64(text, &end, 10);
    return end != nullptr && *end == L'\0';
}

} // namespace

DownloadProblem JudgeTransfer(const DownloadFacts& facts)
{
    if (facts.cancelled)
        return DownloadProblem::Cancelled;
    if (facts.writeFailed)
        return DownloadProblem::WriteFailed;
    if (facts.readFailed)
        return DownloadProblem::ReadFailed;
    if (facts.lengthKnown && facts.received < facts.length)
        return DownloadProblem::Cut;
    if (facts.lengthKnown && facts.received > facts.length)
        return DownloadProblem::TooLong;
    return DownloadProblem::None;
}

std::wstring PartialPath(const std::wstring& path) { return path + L".part"; }

void HttpDownloader::Post(HWND window, int percent)
{
    if (percent == m_lastPosted)
        return;
    m_lastPosted = percent;
    if (window != nullptr)
        ::PostMessageW(window, WM_DOWNLOAD_PROGRESS, PROGRESS_WPARAM, static_cast<LPARAM>(percent));
}

int HttpDownloader::Finish(DownloadProblem problem, const std::wstring& partial)
{
    m_problem = problem;
    if (!partial.empty())
        DeleteFileForce(partial.c_str());
    if (problem == DownloadProblem::Cancelled)
        return kDownloadCancelled;
    return problem == DownloadProblem::NoInternet ? kDownloadNoInternet : kDownloadFailed;
}

int HttpDownloader::Download(const std::wstring& url, const std::wstring& path, HWND progressWindow)
{
    ::InterlockedExchange(&m_running, 1);
    m_facts = DownloadFacts();
    m_problem = DownloadProblem::None;
    Post(progressWindow, kProgressStart);
    // Whatever an earlier run left goes first: only this run's data may
    // stand at either name, and a failure leaves neither.
    const std::wstring partial = PartialPath(path);
    if (!DeleteFileForce(path.c_str()) || !DeleteFileForce(partial.c_str()))
        return Finish(DownloadProblem::FileCreate, std::wstring());

    DWORD connection = 0;
    const DWORD access = ::InternetGetConnectedState(&connection, 0) && (connection & INTERNET_CONNECTION_PROXY) != 0
                             ? INTERNET_OPEN_TYPE_PRECONFIG
                             : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    InternetHandle session(::InternetOpenA(kUserAgent, access, nullptr, nullptr, 0));
    if (session.Get() == nullptr)
        return Finish(DownloadProblem::NoInternet, std::wstring());
    SetTimeouts(session.Get());
    Post(progressWindow, kProgressOnline);

    const std::string address = ToUtf8(url);
    InternetHandle request(::InternetOpenUrlA(session.Get(), address.c_str(), kRequestHeaders,
                                              static_cast<DWORD>(sizeof(kRequestHeaders) - 1),
                                              INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                  INTERNET_FLAG_PRAGMA_NOCACHE,
                                              0));
    if (request.Get() == nullptr)
        return Finish(DownloadProblem::Unreachable, std::wstring());
    SetTimeouts(request.Get());
    Post(progressWindow, kProgressConnected);

    m_facts.status = QueryStatus(request.Get());
    if (m_facts.status != kHttpOk)
        return Finish(DownloadProblem::HttpStatus, std::wstring());
    m_facts.lengthKnown = QueryLength(request.Get(), m_facts.length);

    ScopedFile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return Finish(DownloadProblem::FileCreate, std::wstring());
    Post(progressWindow, kProgressReceiving);

    std::vector<char> chunk(CHUNK_SIZE);
    for (;;) {
        if (m_running == 0) {
            m_facts.cancelled = true;
            break;
        }
        DWORD read = 0;
        if (!::InternetReadFile(request.Get(), chunk.data(), CHUNK_SIZE, &read)) {
            m_facts.readFailed = true;
            break;
        }
        if (read == 0)
            break;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), chunk.data(), read, &written, nullptr) || written != read) {
            m_facts.writeFailed = true;
            break;
        }
        m_facts.received += read;
        if (m_facts.lengthKnown && m_facts.received > m_facts.length)
            break;
        Post(progressWindow, DownloadPercent(m_facts.received, m_facts.lengthKnown ? m_facts.length : 0));
    }
    file.Close();

    const DownloadProblem problem = JudgeTransfer(m_facts);
    if (problem != DownloadProblem::None)
        return Finish(problem, partial);
    if (!::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return Finish(DownloadProblem::Rename, partial);
    Post(progressWindow, kProgressDone);
    return kDownloadComplete;
}

} // namespace tarnwell
