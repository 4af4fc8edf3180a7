// The zip reader on archives made by the tests: what it unpacks, what it
// refuses, and that nothing lands outside the folder it was given.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/ZipReader.h"
#include "tests/support/TempFolder.h"
#include "tests/window/ZipTestArchive.h"

using namespace tarnwell;
using testsupport::TempFolder;

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file below folder (a path ending in a backslash), as full paths.
void ListFiles(const std::wstring& folder, std::vector<std::wstring>& files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + name + L"\\", files);
        else
            files.push_back(folder + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class ZipFixture : public ::testing::Test
{
protected:
    // The archive beside a folder two levels down, so that a name that
    // climbs out has somewhere to land where the test can see it.
    std::wstring Make(const std::vector<ziptest::Entry>& entries)
    {
        const std::wstring zip = temp.File(L"package.zip");
        EXPECT_TRUE(ziptest::WriteFile(zip, ziptest::Build(entries)));
        return zip;
    }
    std::wstring Out() const { return temp.Path() + L"a\\b\\out\\"; }
    void SetUp() override { ASSERT_TRUE(EnsureDirectory(temp.Path(), L"a\\b\\out")); }

    TempFolder temp{L"tarnwell-zip"};
};

} // namespace

TEST(ZipEntryPath, PlainRelativeNamesResolveInsideAndEverythingElseIsRefused)
{
    TempFolder temp(L"tarnwell-zipname");
    const std::wstring base = temp.Path();
    struct Case
    {
        const wchar_t* name;
        const wchar_t* resolved;  // below base; null when refused
    } cases[] = {
        {L"setup.exe", L"setup.exe"},
        {L"dir/sub/file.bin", L"dir\\sub\\file.bin"},
        {L"dir\\file.bin", L"dir\\file.bin"},
        {L"dir/", L"dir"},
        {L"a..b/c.d.e", L"a..b\\c.d.e"},
        {L"", nullptr},
        {L"/", nullptr},
        {L"..", nullptr},
        {L".", nullptr},
        {L"..\\..\\x", nullptr},
        {L"../../x", nullptr},
        {L"dir/../../x", nullptr},
        {L"dir/./x", nullptr},
        {L"dir//x", nullptr},
        {L"... /x", nullptr},
        {L"x.", nullptr},
        {L"/etc/x", nullptr},
        {L"\\etc\\x", nullptr},
        {L"C:\\x", nullptr},
        {L"C:x", nullptr},
        {L"\\\\host\\share\\x", nullptr},
        {L"//host/share/x", nullptr},
        {L"\\\\?\\C:\\x", nullptr},
        {L"file.txt:stream", nullptr},
        {L"file.txt::$DATA", nullptr},
        {L"CON", nullptr},
        {L"dir/nul.txt", nullptr},
        {L"com1", nullptr},
        {L"a\x01" L"b", nullptr},
        {L"what?.txt", nullptr},
    };
    for (const Case& c : cases) {
        const std::wstring resolved = ResolveEntryPath(base, c.name);
        if (c.resolved == nullptr)
            EXPECT_TRUE(resolved.empty()) << Narrow(c.name) << " -> " << Narrow(resolved);
        else
            EXPECT_EQ(resolved, base + c.resolved) << Narrow(c.name);
    }
}

TEST(ZipEntryDetails, TimesAndAttributesFollowTheHostAndTheExtendedTimestamp)
{
    // 2024-06-15 10:20:30 local.
    const uint16_t date = static_cast<uint16_t>(((2024 - 1980) << 9) | (6 << 5) | 15);
    const uint16_t time = static_cast<uint16_t>((10 << 11) | (20 << 5) | 15);
    FILETIME utc = DosTimeToFileTime(date, time);
    FILETIME local;
    SYSTEMTIME parts;
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &parts));
    EXPECT_EQ(parts.wYear, 2024);
    EXPECT_EQ(parts.wMonth, 6);
    EXPECT_EQ(parts.wDay, 15);
    EXPECT_EQ(parts.wHour, 10);
    EXPECT_EQ(parts.wMinute, 20);
    EXPECT_EQ(parts.wSecond, 30);
    // A date the calendar does not have gives no time rather than a wrong one.
    EXPECT_EQ(DosTimeToFileTime(0, 0).dwHighDateTime, 0u);

    struct
    {
        uint32_t madeBy;
        uint32_t external;
        DWORD attributes;
    } hosts[] = {
        {0x0014, 0x21, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {0x0B14, 0x16, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {0x0314, 0x81A40000u, FILE_ATTRIBUTE_ARCHIVE},
        {0x0314, 0x81240000u, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {0x0314, 0x41ED0000u, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto& host : hosts)
        EXPECT_EQ(EntryAttributes(host.madeBy, host.external), host.attributes) << std::hex << host.external;

    // Modification and access announced; the block is cut after the first.
    const uint8_t cut[] = {0x55, 0x54, 5, 0, 0x03, 0x00, 0xF1, 0x53, 0x65};
    const uint8_t other[] = {0x0A, 0x00, 2, 0, 0xAA, 0xBB};
    std::vector<uint8_t> extra(other, other + sizeof(other));
    extra.insert(extra.end(), cut, cut + sizeof(cut));
    ZipItem item;
    item.accessTime = utc;
    ApplyExtendedTimes(extra.data(), extra.size(), item);
    const uint64_t ticks = (static_cast<uint64_t>(item.modifyTime.dwHighDateTime) << 32) | item.modifyTime.dwLowDateTime;
    EXPECT_EQ(ticks, 1700000000ULL * 10000000ULL + 116444736000000000ULL);
    EXPECT_EQ(item.accessTime.dwLowDateTime, utc.dwLowDateTime) << "a time past the block's end was read";
}

TEST_F(ZipFixture, UnpacksStoredAndDeflatedEntriesInNestedFolders)
{
    const std::string big(100000, 'q');
    ziptest::Entry dir{"docs/"};
    dir.externalAttributes = 0x41ED0000u;
    ziptest::Entry stored{"setup.exe", "MZ stored bytes"};
    ziptest::Entry deflated{"docs/deep/er/readme.txt", big};
    deflated.deflate = true;
    ziptest::Entry empty{"empty.txt", ""};
    const std::wstring zip = Make({dir, stored, deflated, empty});

    const ZipExtractResult result = ExtractZipToFolder(zip, Out());
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.entries, 4);
    EXPECT_EQ(ziptest::ReadFile(Out() + L"setup.exe"), "MZ stored bytes");
    EXPECT_EQ(ziptest::ReadFile(Out() + L"docs\\deep\\er\\readme.txt"), big);
    EXPECT_TRUE(Exists(Out() + L"empty.txt"));
    EXPECT_TRUE(result.Wrote(Out() + L"SETUP.EXE"));

    ZipReader reader;
    ASSERT_EQ(reader.Open(zip), ZR_OK);
    EXPECT_EQ(reader.Open(zip), ZR_ALREADY_OPEN);
    ZipItem item;
    ASSERT_EQ(reader.GetItem(-1, item), ZR_OK);
    EXPECT_EQ(item.index, 4);
    EXPECT_EQ(reader.GetItem(4, item), ZR_ARGS);
    EXPECT_EQ(reader.GetItem(-2, item), ZR_ARGS);
    ASSERT_EQ(reader.GetItem(2, item), ZR_OK);
    EXPECT_STREQ(item.name, L"docs/deep/er/readme.txt");
    EXPECT_EQ(item.uncompressedSize, big.size());
    EXPECT_LT(item.compressedSize, 1000u);
    // Back to an earlier entry after a later one.
    ASSERT_EQ(reader.GetItem(1, item), ZR_OK);
    EXPECT_STREQ(item.name, L"setup.exe");
    EXPECT_EQ(reader.Close(), ZR_OK);
    EXPECT_EQ(reader.GetItem(0, item), ZR_NOT_OPEN);
}

TEST_F(ZipFixture, NamesThatLeaveTheFolderAreRefusedAndNothingIsWrittenOutside)
{
    // An absolute name that got through would land here; none may exist.
    const std::wstring probe = L"tarnwell-escape-" + std::to_wstring(GetCurrentProcessId());
    const std::string p(probe.begin(), probe.end());
    wchar_t drive[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, drive);
    const std::wstring root = std::wstring(drive).substr(0, 3);
    const std::wstring dangers[] = {temp.Path() + L"a\\" + probe, temp.Path() + probe, root + probe,
                                    L"C:\\" + probe};

    const std::string names[] = {"..\\..\\" + p,       "../../" + p,        "x/../../../" + p,
                                 "/" + p,               "\\" + p,            "C:\\" + p,
                                 "C:" + p,              "\\\\host\\share\\" + p, "//host/share/" + p,
                                 "ok.txt:" + p,         "C:\\..\\..\\" + p,  "a/./" + p,
                                 "..",                  "",                  "CON"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::wstring zip = Make({{name, "escaped"}, {"ok.txt", "fine"}});
        const ZipExtractResult result = ExtractZipToFolder(zip, Out());
        EXPECT_TRUE(result.opened);
        EXPECT_EQ(result.failed, 1);
        EXPECT_FALSE(result.Complete());
        EXPECT_EQ(ziptest::ReadFile(Out() + L"ok.txt"), "fine");

        ZipReader reader;
        ASSERT_EQ(reader.Open(zip), ZR_OK);
        reader.SetBaseDir(Out());
        ZipItem item;
        ASSERT_EQ(reader.GetItem(0, item), ZR_OK);
        EXPECT_EQ(reader.ExtractItem(0, item.name), ZR_UNSAFE_NAME);
        reader.Close();

        std::vector<std::wstring> files;
        ListFiles(temp.Path(), files);
        for (const std::wstring& file : files)
            EXPECT_TRUE(file == zip || file == Out() + L"ok.txt") << Narrow(file);
        for (const std::wstring& danger : dangers) {
            EXPECT_FALSE(Exists(danger)) << Narrow(danger);
            DeleteFileW(danger.c_str());
        }
    }
}

TEST_F(ZipFixture, BrokenEntriesFailAloneAndLeaveNoPartFile)
{
    const std::string data(200000, 'z');
    // Declared small, the data large: stops at the declared size.
    ziptest::Entry bomb{"bomb.bin", data};
    bomb.deflate = true;
    bomb.declaredSize = 100;
    // Declared larger than the data.
    ziptest::Entry shortData{"short.bin", "only this"};
    shortData.declaredSize = 5000;
    ziptest::Entry badCrc{"crc.bin", "checksum lies"};
    badCrc.declaredCrc = 0x12345678;
    ziptest::Entry locked{"locked.bin", "secret"};
    locked.encrypted = true;
    ziptest::Entry good{"good.bin", "good"};
    const std::wstring zip = Make({bomb, shortData, badCrc, locked, good});

    ZipReader reader;
    ASSERT_EQ(reader.Open(zip), ZR_OK);
    reader.SetBaseDir(Out());
    const struct
    {
        int index;
        const wchar_t* name;
        uint32_t result;
    } expected[] = {
        {0, L"bomb.bin", ZR_FLATE},   {1, L"short.bin", ZR_FLATE}, {2, L"crc.bin", ZR_FLATE},
        {3, L"locked.bin", ZR_PASSWORD}, {4, L"good.bin", ZR_OK},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(reader.ExtractItem(e.index, e.name), e.result) << Narrow(e.name);
        EXPECT_EQ(Exists(Out() + e.name), e.result == ZR_OK) << Narrow(e.name);
    }
    reader.Close();

    const ZipExtractResult result = ExtractZipToFolder(zip, Out());
    EXPECT_EQ(result.failed, 4);
    EXPECT_EQ(result.written.size(), 1u);
}

TEST_F(ZipFixture, TruncatedOrDamagedArchivesAreReported)
{
    ziptest::Entry entry{"setup.exe", std::string(50000, 'x')};
    entry.deflate = true;
    const std::string whole = ziptest::Build({entry});

    // Cut before the end: the directory at the end is gone.
    const std::wstring cut = temp.File(L"cut.zip");
    ASSERT_TRUE(ziptest::WriteFile(cut, whole.substr(0, whole.size() - 40)));
    ZipReader reader;
    EXPECT_EQ(reader.Open(cut), ZR_NOFILE);
    EXPECT_FALSE(ExtractZipToFolder(cut, Out()).opened);
    EXPECT_FALSE(ExtractZipToFolder(temp.File(L"missing.zip"), Out()).opened);

    // The deflated data overwritten: the directory is whole, the entry is not.
    std::string damaged = whole;
    for (size_t i = 40; i < 80 && i < damaged.size(); ++i)
        damaged[i] = static_cast<char>(0xFF);
    const std::wstring bad = temp.File(L"damaged.zip");
    ASSERT_TRUE(ziptest::WriteFile(bad, damaged));
    const ZipExtractResult result = ExtractZipToFolder(bad, Out());
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.Complete());
    EXPECT_FALSE(Exists(Out() + L"setup.exe"));
}

// A package is judged by the sizes its directory declares, before anything is
// written: past the total, shrunk too far, or more than the disk has room
// for, nothing of it lands in the folder.
TEST_F(ZipFixture, ArchivesPastTheLimitsAreRefusedBeforeAnythingIsWritten)
{
    ZipLimits limits;
    limits.maxTotalBytes = 100000;
    limits.maxRatio = 10;
    limits.ratioFreeBytes = 1000;
    limits.spareDiskBytes = 500;
    uint64_t free = 1000000;
    limits.freeSpace = [&](const std::wstring&) { return free; };

    ziptest::Entry zeros{"zeros.bin", std::string(50000, '\0')};
    zeros.deflate = true;
    ziptest::Entry fewZeros{"few.bin", std::string(900, '\0')};
    fewZeros.deflate = true;
    ziptest::Entry liar{"liar.bin", "x"};
    liar.declaredSize = 0xFFFFFFF0;  // claims 4 GB, holds one byte
    const std::string half(60000, 'h');

    const struct
    {
        const char* what;
        std::vector<ziptest::Entry> entries;
        uint64_t free;
        ZipRefusal refused;
    } cases[] = {
        {"an entry shrunk past the ratio", {{"a.txt", "first"}, zeros}, 1000000, ZipRefusal::TooCompressed},
        {"entries past the total together", {{"a.bin", half}, {"b.bin", half}}, 1000000, ZipRefusal::TooLarge},
        {"a size declared past the total", {{"a.txt", "first"}, liar}, 1000000, ZipRefusal::TooLarge},
        {"more than the disk holds", {{"a.bin", half}}, 50000, ZipRefusal::NoSpace},
        {"no room left beside it", {{"a.bin", half}}, 60499, ZipRefusal::NoSpace},
        {"within every limit", {{"a.bin", half}, fewZeros, {"docs/", ""}}, 61400, ZipRefusal::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        free = c.free;
        const ZipExtractResult result = ExtractZipToFolder(Make(c.entries), Out(), limits);
        EXPECT_TRUE(result.opened);
        EXPECT_EQ(result.refused, c.refused);
        std::vector<std::wstring> files;
        ListFiles(Out(), files);
        if (c.refused != ZipRefusal::None) {
            EXPECT_FALSE(result.Complete());
            EXPECT_TRUE(files.empty()) << Narrow(files.front());
            continue;
        }
        EXPECT_TRUE(result.Complete());
        EXPECT_EQ(files.size(), 2u);
        // What was written goes again, folders included.
        RemoveWritten(result);
        files.clear();
        ListFiles(Out(), files);
        EXPECT_TRUE(files.empty());
        EXPECT_FALSE(Exists(Out() + L"docs"));
        EXPECT_TRUE(Exists(Out()));
    }

    // The limits a package meets when nothing is given: a few kilobytes that
    // inflate to megabytes of zeros, or declare a gigabyte, are refused.
    ziptest::Entry bomb{"setup.exe", std::string(4 * 1024 * 1024, '\0')};
    bomb.deflate = true;
    EXPECT_EQ(ExtractZipToFolder(Make({bomb}), Out()).refused, ZipRefusal::TooCompressed);
    ziptest::Entry huge{"setup.exe", "MZ"};
    huge.declaredSize = 1024LL * 1024 * 1024;
    EXPECT_EQ(ExtractZipToFolder(Make({huge}), Out()).refused, ZipRefusal::TooLarge);
    EXPECT_FALSE(Exists(Out() + L"setup.exe"));
}
