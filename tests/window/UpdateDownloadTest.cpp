// Downloads and update packages against a loopback server started by the
// test: what a good package does, and that every kind of failure says so,
// starts nothing and leaves no partial file behind.

// Winsock's header goes before the system's main header.
#include "tests/window/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/window/HttpDownloader.h"
#include "app/window/UpdatePackage.h"
#include "app/window/UpdateProgress.h"
#include "tests/support/TempFolder.h"
#include "tests/window/ZipTestArchive.h"

using namespace tarnwell;
using httptest::LoopbackHttpServer;
using httptest::Route;
using testsupport::TempFolder;

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The proxy variables would send loopback requests elsewhere.
void ClearProxy()
{
    for (const wchar_t* name : {L"http_proxy", L"HTTP_PROXY", L"https_proxy", L"HTTPS_PROXY", L"all_proxy"}) {
        ::SetEnvironmentVariableW(name, nullptr);
        _wputenv_s(name, L"");
    }
}

// A message-only window that collects what the downloader posts.
class ProgressSink
{
public:
    ProgressSink() { m_window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~ProgressSink() { ::DestroyWindow(m_window); }
    HWND Window() const { return m_window; }
    std::vector<int> Take()
    {
        std::vector<int> posted;
        MSG msg;
        while (::PeekMessageW(&msg, m_window, HttpDownloader::WM_DOWNLOAD_PROGRESS,
                              HttpDownloader::WM_DOWNLOAD_PROGRESS, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, HttpDownloader::PROGRESS_WPARAM);
            posted.push_back(static_cast<int>(msg.lParam));
        }
        return posted;
    }

private:
    HWND m_window;
};

class DownloadFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ClearProxy(); }

    LoopbackHttpServer server;
    TempFolder temp{L"tarnwell-update"};
    HttpDownloader downloader;
    ProgressSink sink;
};

std::string Payload(size_t size)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return data;
}

// The names in a folder (a path ending in a backslash), its folders too.
std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

std::string Package(const std::string& installerName, const std::string& installer)
{
    ziptest::Entry exe{installerName, installer};
    exe.deflate = true;
    return ziptest::Build({{"readme.txt", "notes"}, exe});
}

} // namespace

TEST(UpdateProgress, PercentIsTenPlusNinetyTimesTheShareAndNeverPassesOneHundred)
{
    const struct
    {
        uint64_t received, length;
        int percent;
    } cases[] = {
        {0, 20480, 10},       {10240, 20480, 55},    {20480, 20480, 100}, {10240, 15000, 71},
        {15000, 15000, 100},  {30000, 15000, 100},   {5, 9, 60},          {1, 0, kProgressUnknown},
        {1ULL << 40, 1ULL << 41, 55}, {(1ULL << 62), (1ULL << 63), 55},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DownloadPercent(c.received, c.length), c.percent) << c.received << "/" << c.length;

    // The shown value walks to the target one step a tick, stops there and
    // never passes 100; an unknown target holds it.
    int shown = 0;
    for (int tick = 0; tick < 300; ++tick)
        shown = NextShownProgress(shown, 100);
    EXPECT_EQ(shown, 100);
    EXPECT_EQ(NextShownProgress(40, 40), 40);
    EXPECT_EQ(NextShownProgress(39, 40), 40);
    EXPECT_EQ(NextShownProgress(50, 40), 50);
    EXPECT_EQ(NextShownProgress(30, kProgressUnknown), 30);
    EXPECT_EQ(NextShownProgress(250, 500), 100);
}

TEST_F(DownloadFixture, GoodDownloadPostsItsStepsAndLandsWhole)
{
    const std::string body = Payload(20480);
    server.Add("/file.bin", Route{200, body});
    const std::wstring path = temp.File(L"file.bin");

    EXPECT_EQ(downloader.Download(server.Url("/file.bin"), path, sink.Window()), kDownloadComplete);
    EXPECT_EQ(ziptest::ReadFile(path), body);
    EXPECT_FALSE(Exists(PartialPath(path)));
    EXPECT_EQ(sink.Take(), (std::vector<int>{2, 8, 10, 55, 100}));

    // A later download starts again from 0; an odd length stays within 100.
    server.Add("/odd.bin", Route{200, Payload(15000)});
    EXPECT_EQ(downloader.Download(server.Url("/odd.bin"), path, sink.Window()), kDownloadComplete);
    EXPECT_EQ(sink.Take(), (std::vector<int>{0, 2, 8, 10, 71, 100}));

    // Without a length the progress is unknown until the end.
    Route unannounced{200, Payload(30000)};
    unannounced.sendLength = false;
    server.Add("/nolength.bin", unannounced);
    EXPECT_EQ(downloader.Download(server.Url("/nolength.bin"), path, sink.Window()), kDownloadComplete);
    EXPECT_EQ(ziptest::ReadFile(path).size(), 30000u);
    EXPECT_EQ(sink.Take(), (std::vector<int>{0, 2, 8, 10, kProgressUnknown, 100}));
}

TEST_F(DownloadFixture, FailedDownloadsSaySoAndLeaveNothingAtThePath)
{
    Route cut{200, Payload(50000)};
    cut.cutAfter = 20000;
    server.Add("/cut.bin", cut);
    Route gone{410, "gone"};
    server.Add("/gone.bin", gone);

    const std::string refused = "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort()) + "/x.bin";
    const struct
    {
        const char* what;
        std::wstring url;
        DownloadProblem problem;
    } cases[] = {
        {"404", server.Url("/missing.bin"), DownloadProblem::HttpStatus},
        {"410", server.Url("/gone.bin"), DownloadProblem::HttpStatus},
        {"refused", std::wstring(refused.begin(), refused.end()), DownloadProblem::Unreachable},
        {"cut short", server.Url("/cut.bin"), DownloadProblem::Cut},
    };
    const std::wstring path = temp.File(L"file.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A file from an earlier run must not survive a failed one.
        ASSERT_TRUE(ziptest::WriteFile(path, "old"));
        ASSERT_TRUE(ziptest::WriteFile(PartialPath(path), "old part"));
        EXPECT_EQ(downloader.Download(c.url, path, sink.Window()), kDownloadFailed);
        EXPECT_EQ(downloader.LastProblem(), c.problem);
        EXPECT_FALSE(Exists(PartialPath(path)));
        EXPECT_FALSE(Exists(path));
        const std::vector<int> posted = sink.Take();
        for (int percent : posted)
            EXPECT_NE(percent, 100) << "a failure showed as complete";
    }
    EXPECT_EQ(downloader.LastFacts().received, 20000u);
    EXPECT_EQ(downloader.LastFacts().length, 50000u);

    // The verdict itself, on the facts a transfer can end with.
    DownloadFacts facts;
    facts.lengthKnown = true;
    facts.length = 100;
    facts.received = 100;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::None);
    facts.received = 101;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::TooLong);
    facts.received = 99;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::Cut);
    facts.lengthKnown = false;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::None);
    facts.readFailed = true;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::ReadFailed);
    facts.cancelled = true;
    EXPECT_EQ(JudgeTransfer(facts), DownloadProblem::Cancelled);
}

TEST_F(DownloadFixture, GoodPackageUnpacksAndItsInstallerIsStarted)
{
    const std::wstring data = temp.Path();
    const UpdatePackage package = AppPackage(data, server.Url("/pkg/"), L"9.9");
    EXPECT_EQ(package.address, server.Url("/pkg/TORVAK-Driver-9.9.zip"));
    EXPECT_EQ(package.zipPath, data + L"temp\\TORVAK-Driver-9.9.zip");
    EXPECT_EQ(package.product, data + L"temp\\TORVAK-Driver-9.9.exe");
    const std::string installer = Payload(70000);
    server.Add("/pkg/TORVAK-Driver-9.9.zip", Route{200, Package("TORVAK-Driver-9.9.exe", installer)});

    std::vector<std::wstring> started;
    PackageUpdater updater(downloader, sink.Window());
    const UpdateOutcome outcome = updater.Install(package, [&](const std::wstring& path) {
        started.push_back(path);
        return true;
    });
    EXPECT_EQ(outcome, UpdateOutcome::Installed);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], package.product);
    EXPECT_EQ(ziptest::ReadFile(package.product), installer);
    EXPECT_EQ(ziptest::ReadFile(data + L"temp\\readme.txt"), "notes");
    EXPECT_FALSE(Exists(package.zipPath));

    const UpdatePackage firmware = FirmwarePackage(data, server.Url("/fw"), L"k75", L"1.2");
    EXPECT_EQ(firmware.address, server.Url("/fw//k75//firmware-1.2.zip"));
    server.Add("/fw//k75//firmware-1.2.zip", Route{200, ziptest::Build({{"firmware-1.2.bin", "image"}})});
    EXPECT_EQ(updater.Fetch(firmware), UpdateOutcome::Installed);
    EXPECT_EQ(ziptest::ReadFile(data + L"temp\\firmware-1.2.bin"), "image");
}

TEST_F(DownloadFixture, FailedPackagesStartNothingAndLeaveNoInstaller)
{
    const std::string exe = "TORVAK-Driver-9.9.exe";
    const std::string zip = Package(exe, Payload(70000));
    Route cut{200, zip};
    cut.cutAfter = static_cast<long long>(zip.size() / 2);
    // Announces less than it has.
    Route shortLength{200, zip};
    shortLength.announcedLength = static_cast<long long>(zip.size() - 100);
    Route corrupt{200, zip};
    for (size_t i = 60; i < 200; ++i)
        corrupt.body[i] = static_cast<char>(0xFF);

    // One entry of zeros that inflates to 100 times the limit given below.
    ziptest::Entry zeros{exe, std::string(1000000, '\0')};
    zeros.deflate = true;
    ZipLimits small;
    small.maxTotalBytes = 10000;
    ZipLimits fullDisk;
    fullDisk.freeSpace = [](const std::wstring&) { return uint64_t{100000}; };

    const struct
    {
        const char* what;
        Route route;
        bool serve;
        UpdateOutcome outcome;
        ZipLimits limits;
    } cases[] = {
        {"404", Route{}, false, UpdateOutcome::DownloadFailed, ZipLimits()},
        {"cut download", cut, true, UpdateOutcome::DownloadFailed, ZipLimits()},
        {"length mismatch", shortLength, true, UpdateOutcome::DownloadFailed, ZipLimits()},
        {"corrupt archive", corrupt, true, UpdateOutcome::ArchiveBroken, ZipLimits()},
        {"not an archive at all", Route{200, "<html>moved</html>"}, true, UpdateOutcome::ArchiveBroken, ZipLimits()},
        {"no installer inside", Route{200, ziptest::Build({{"readme.txt", "notes"}, {"docs/more.txt", "more"}})},
         true, UpdateOutcome::ProductMissing, ZipLimits()},
        {"an entry leaves the folder",
         Route{200, ziptest::Build({{"readme.txt", "notes"}, {"../" + exe, "MZ"}, {exe, "MZ"}})}, true,
         UpdateOutcome::ArchiveBroken, ZipLimits()},
        {"past the size limit", Route{200, ziptest::Build({{"readme.txt", "notes"}, zeros})}, true,
         UpdateOutcome::PackageTooLarge, small},
        {"no room on the disk", Route{200, zip}, true, UpdateOutcome::NoDiskSpace, fullDisk},
    };
    const std::wstring data = temp.Path();
    const UpdatePackage package = AppPackage(data, server.Url("/pkg/"), L"9.9");
    int served = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case under a path of its own, so that no answer is left over.
        const std::string path = "/pkg" + std::to_string(++served) + "/";
        UpdatePackage casePackage = package;
        casePackage.address = server.Url(path + "TORVAK-Driver-9.9.zip");
        if (c.serve)
            server.Add(path + "TORVAK-Driver-9.9.zip", c.route);
        // An installer an earlier run left must not be started either.
        CreateDirectoryW(package.tempFolder.c_str(), nullptr);
        ASSERT_TRUE(ziptest::WriteFile(package.product, "MZ stale"));

        bool started = false;
        PackageUpdater updater(downloader, sink.Window(), c.limits);
        const UpdateOutcome outcome = updater.Install(casePackage, [&](const std::wstring&) {
            started = true;
            return true;
        });
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_FALSE(started);
        EXPECT_FALSE(Exists(package.product));
        EXPECT_FALSE(Exists(PartialPath(package.zipPath)));
        EXPECT_FALSE(Exists(data + L"TORVAK-Driver-9.9.exe")) << "an entry was written outside the temp folder";
        // Nothing of a failed package stays: not the download, not what it unpacked.
        EXPECT_EQ(FolderEntries(package.tempFolder), std::vector<std::wstring>());
    }
}
