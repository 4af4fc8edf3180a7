#include "app/window/ZipReader.h"

#include <minizip/unzip.h>
#include <minizip/iowin32.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "app/window/ScopedFile.h"

namespace tarnwell {

namespace {

constexpr DWORD kBlockSize = 16384;
constexpr uint32_t kFlagEncrypted = 0x0001;
constexpr uint32_t kFlagUtf8Name = 0x0800;
constexpr uint16_t kExtendedTimeTag = 0x5455;  // "UT"
constexpr uint8_t kHasModifyTime = 0x01;
constexpr uint8_t kHasAccessTime = 0x02;
constexpr uint8_t kHasCreateTime = 0x04;
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;
constexpr uint64_t kTicksPerSecond = 10000000ULL;
constexpr DWORD kAttributesKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE;

unzFile Zip(void* handle) { return static_cast<unzFile>(handle); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Device names the system opens instead of a file, whatever the folder or
// the extension.
bool IsDeviceName(const std::wstring& component)
{
    std::wstring stem = component.substr(0, component.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (wchar_t& c : stem)
        c = static_cast<wchar_t>(std::towupper(c));
    static const wchar_t* const fixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* name : fixed) {
        if (stem == name)
            return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'0' && stem[3] <= L'9';
}

// A component the system would read as something else than its own text:
// empty, made of dots and spaces only ("." and ".." among them), or ending
// in a dot or space (which the system drops).
bool IsPlainComponent(const std::wstring& component)
{
    if (component.empty())
        return false;
    if (component.find_first_not_of(L". ") == std::wstring::npos)
        return false;
    if (component.back() == L'.' || component.back() == L' ')
        return false;
    return !IsDeviceName(component);
}

std::wstring FullPath(const std::wstring& path)
{
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::wstring();
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (size == 0 || size >= full.size())
        return std::wstring();
    full.resize(size);
    return full;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

FILETIME UnixTimeToFileTime(uint32_t seconds)
{
    const uint64_t ticks = seconds * kTicksPerSecond + kUnixEpochAsFileTime;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

std::wstring DecodeName(const std::vector<char>& bytes, bool utf8)
{
    if (bytes.empty())
        return std::wstring();
    const UINT page = utf8 ? CP_UTF8 : CP_ACP;
    const int length = ::MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring name(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), &name[0], length);
    return name;
}

bool IsDirectoryEntry(const ZipItem& item)
{
    const size_t length = wcslen(item.name);
    return (item.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || (length > 0 && IsSeparator(item.name[length - 1]));
}

// Ends the entry that minizip has open, once.
class CurrentEntry
{
public:
    explicit CurrentEntry(unzFile zip) : m_zip(zip) {}
    ~CurrentEntry() { Close(); }
    // minizip's verdict on the whole entry (its checksum among others).
    int Close()
    {
        if (!m_zip)
            return UNZ_OK;
        const int result = unzCloseCurrentFile(m_zip);
        m_zip = nullptr;
        return result;
    }

private:
    unzFile m_zip;
};

uint32_t OpenResult(int result) { return result == UNZ_ERRNO ? ZR_READ : ZR_CORRUPT; }

uint32_t ReadResult(int result) { return result == UNZ_ERRNO ? ZR_READ : ZR_FLATE; }

} // namespace

// ---- names, times and attributes ---------------------------------------------------------

std::wstring ResolveEntryPath(const std::wstring& folder, const std::wstring& name)
{
    std::wstring relative = name;
    for (wchar_t& c : relative) {
        if (c == L'/')
            c = L'\\';
    }
    if (!relative.empty() && relative.back() == L'\\')
        relative.pop_back();
    if (relative.empty() || relative[0] == L'\\')
        return std::wstring();
    for (wchar_t c : relative) {
        // A colon is a drive or a stream; the others are never part of a
        // plain name.
        if (c < 0x20 || wcschr(L"<>:\"|?*", c) != nullptr)
            return std::wstring();
    }
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        if (!IsPlainComponent(relative.substr(start, end - start)))
            return std::wstring();
        start = end + 1;
    }

    std::wstring base = FullPath(folder);
    if (base.empty())
        return std::wstring();
    if (!IsSeparator(base.back()))
        base += L'\\';
    const std::wstring full = FullPath(base + relative);
    if (full.size() <= base.size() || !StartsWithNoCase(full, base))
        return std::wstring();
    return full;
}

FILETIME DosTimeToFileTime(uint16_t dosDate, uint16_t dosTime)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(((dosDate >> 9) & 0x7F) + 1980);
    local.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
    local.wDay = static_cast<WORD>(dosDate & 0x1F);
    local.wHour = static_cast<WORD>((dosTime >> 11) & 0x1F);
    local.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
    local.wSecond = static_cast<WORD>((dosTime & 0x1F) * 2);
    FILETIME localTime = {};
    FILETIME utc = {};
    if (!::SystemTimeToFileTime(&local, &localTime) || !::LocalFileTimeToFileTime(&localTime, &utc))
        return FILETIME{};
    return utc;
}

DWORD EntryAttributes(uint32_t versionMadeBy, uint32_t externalAttributes)
{
    const uint32_t host = (versionMadeBy >> 8) & 0xFF;
    bool readOnly, hidden = false, system = false, directory, archive;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        readOnly = (externalAttributes & 0x01) != 0;
        hidden = (externalAttributes & 0x02) != 0;
        system = (externalAttributes & 0x04) != 0;
        directory = (externalAttributes & 0x10) != 0;
        archive = (externalAttributes & 0x20) != 0;
    } else {
        directory = (externalAttributes & 0x40000000) != 0;
        readOnly = (externalAttributes & 0x00800000) == 0;
        archive = true;
    }
    DWORD attributes = 0;
    if (directory)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (archive)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (hidden)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (readOnly)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (system)
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

void ApplyExtendedTimes(const uint8_t* extra, size_t size, ZipItem& item)
{
    size_t at = 0;
    while (extra != nullptr && at + 4 <= size) {
        const uint16_t tag = ReadU16(extra + at);
        const size_t length = ReadU16(extra + at + 2);
        const uint8_t* data = extra + at + 4;
        const size_t available = size - (at + 4) < length ? size - (at + 4) : length;
        if (tag == kExtendedTimeTag && available >= 1) {
            const uint8_t flags = data[0];
            size_t offset = 1;
            const struct
            {
                uint8_t flag;
                FILETIME* time;
            } order[] = {{kHasModifyTime, &item.modifyTime},
                         {kHasAccessTime, &item.accessTime},
                         {kHasCreateTime, &item.creationTime}};
            for (const auto& entry : order) {
                if ((flags & entry.flag) == 0)
                    continue;
                if (offset + 4 > available)
                    break;
                *entry.time = UnixTimeToFileTime(ReadU32(data + offset));
                offset += 4;
            }
        }
        at += 4 + length;
    }
}

bool EnsureDirectory(const std::wstring& base, const std::wstring& relative)
{
    std::wstring path = base;
    if (!path.empty() && !IsSeparator(path.back()))
        path += L'\\';
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = start;
        while (end < relative.size() && !IsSeparator(relative[end]))
            ++end;
        if (end > start) {
            path.append(relative, start, end - start);
            if (!::CreateDirectoryW(path.c_str(), nullptr)) {
                const DWORD attributes = ::GetFileAttributesW(path.c_str());
                if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    return false;
            }
            path += L'\\';
        }
        start = end + 1;
    }
    return true;
}

// ---- the reader --------------------------------------------------------------------------

ZipReader::~ZipReader() { Close(); }

uint32_t ZipReader::Open(const std::wstring& path)
{
    if (m_zip != nullptr)
        return ZR_ALREADY_OPEN;
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    SetBaseDir(current);

    zlib_filefunc64_def files;
    fill_win32_filefunc64W(&files);
    unzFile zip = unzOpen2_64(path.c_str(), &files);
    if (zip == nullptr)
        return ZR_NOFILE;
    unz_global_info info = {};
    if (unzGetGlobalInfo(zip, &info) != UNZ_OK) {
        unzClose(zip);
        return ZR_CORRUPT;
    }
    m_zip = zip;
    m_count = static_cast<int>(info.number_entry);
    m_current = -1;
    return ZR_OK;
}

void ZipReader::SetBaseDir(const std::wstring& folder)
{
    m_base = folder;
    if (m_base.empty() || !IsSeparator(m_base.back()))
        m_base += L'\\';
}

uint32_t ZipReader::Close()
{
    if (m_zip == nullptr)
        return ZR_NOT_OPEN;
    unzClose(Zip(m_zip));
    m_zip = nullptr;
    m_count = 0;
    m_current = -1;
    return ZR_OK;
}

uint32_t ZipReader::GoTo(int index)
{
    unzFile zip = Zip(m_zip);
    if (m_current < 0 || index < m_current) {
        const int result = unzGoToFirstFile(zip);
        if (result != UNZ_OK)
            return OpenResult(result);
        m_current = 0;
    }
    while (m_current < index) {
        const int result = unzGoToNextFile(zip);
        if (result != UNZ_OK) {
            m_current = -1;
            return OpenResult(result);
        }
        ++m_current;
    }
    return ZR_OK;
}

uint32_t ZipReader::GetItem(int index, ZipItem& item)
{
    if (m_zip == nullptr)
        return ZR_NOT_OPEN;
    if (index == -1) {
        item = ZipItem();
        item.index = m_count;
        return ZR_OK;
    }
    if (index < -1 || index >= m_count)
        return ZR_ARGS;
    uint32_t result = GoTo(index);
    if (result != ZR_OK)
        return result;

    unzFile zip = Zip(m_zip);
    unz_file_info info = {};
    int status = unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (status != UNZ_OK)
        return OpenResult(status);
    std::vector<char> name(info.size_filename);
    std::vector<uint8_t> extra(info.size_file_extra);
    status = unzGetCurrentFileInfo(zip, &info, name.data(), static_cast<uLong>(name.size()), extra.data(),
                                   static_cast<uLong>(extra.size()), nullptr, 0);
    if (status != UNZ_OK)
        return OpenResult(status);

    item = ZipItem();
    item.index = index;
    const std::wstring wide = DecodeName(name, (info.flag & kFlagUtf8Name) != 0);
    // A name cut to fit would be extracted as another name.
    if (wide.size() >= MAX_PATH || wide.find(L'\0') != std::wstring::npos)
        return ZR_UNSAFE_NAME;
    wcsncpy(item.name, wide.c_str(), MAX_PATH - 1);
    item.attributes = EntryAttributes(static_cast<uint32_t>(info.version), static_cast<uint32_t>(info.external_fa));
    const FILETIME dosTime = DosTimeToFileTime(static_cast<uint16_t>(info.dosDate >> 16),
                                               static_cast<uint16_t>(info.dosDate & 0xFFFF));
    item.accessTime = item.creationTime = item.modifyTime = dosTime;
    ApplyExtendedTimes(extra.data(), extra.size(), item);
    item.compressedSize = static_cast<uint32_t>(info.compressed_size);
    item.uncompressedSize = static_cast<uint32_t>(info.uncompressed_size);
    m_encrypted = (info.flag & kFlagEncrypted) != 0;
    return ZR_OK;
}

uint32_t ZipReader::GetSizes(int index, uint64_t& compressed, uint64_t& uncompressed)
{
    if (m_zip == nullptr)
        return ZR_NOT_OPEN;
    if (index < 0 || index >= m_count)
        return ZR_ARGS;
    const uint32_t result = GoTo(index);
    if (result != ZR_OK)
        return result;
    unz_file_info64 info = {};
    const int status = unzGetCurrentFileInfo64(Zip(m_zip), &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (status != UNZ_OK)
        return OpenResult(status);
    compressed = info.compressed_size;
    uncompressed = info.uncompressed_size;
    return ZR_OK;
}

uint32_t ZipReader::ExtractItem(int index, const std::wstring& name)
{
    if (m_zip == nullptr)
        return ZR_NOT_OPEN;
    if (index < 0 || index >= m_count)
        return ZR_ARGS;
    ZipItem item;
    uint32_t result = GetItem(index, item);
    if (result != ZR_OK)
        return result;
    const std::wstring path = ResolveEntryPath(m_base, name);
    if (path.empty())
        return ZR_UNSAFE_NAME;

    const bool directory = IsDirectoryEntry(item) || (!name.empty() && IsSeparator(name.back()));
    std::wstring base = FullPath(m_base);
    if (!IsSeparator(base.back()))
        base += L'\\';
    const std::wstring relative = path.substr(base.size());
    if (directory)
        return EnsureDirectory(base, relative) ? ZR_OK : ZR_NOFILE;
    if (m_encrypted)
        return ZR_PASSWORD;
    const size_t folderEnd = relative.find_last_of(L'\\');
    if (folderEnd != std::wstring::npos && !EnsureDirectory(base, relative.substr(0, folderEnd)))
        return ZR_NOFILE;

    result = WriteEntry(path, item, item.uncompressedSize);
    if (result != ZR_OK)
        DeleteFileForce(path.c_str());
    return result;
}

uint32_t ZipReader::WriteEntry(const std::wstring& path, const ZipItem& item, uint32_t expectedSize)
{
    unzFile zip = Zip(m_zip);
    const int opened = unzOpenCurrentFile(zip);
    if (opened != UNZ_OK)
        return OpenResult(opened);
    CurrentEntry entry(zip);

    DWORD attributes = item.attributes & kAttributesKept;
    ScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return ZR_NOFILE;

    std::vector<char> block(kBlockSize);
    uint64_t total = 0;
    for (;;) {
        // minizip hands out no more than the declared size; the check below
        // holds the line should it ever give more.
        const int read = unzReadCurrentFile(zip, block.data(), kBlockSize);
        if (read < 0)
            return ReadResult(read);
        if (read == 0)
            break;
        total += static_cast<uint64_t>(read);
        if (total > expectedSize)
            return ZR_FLATE;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), block.data(), static_cast<DWORD>(read), &written, nullptr) ||
            written != static_cast<DWORD>(read))
            return ZR_WRITE;
    }
    if (total != expectedSize)
        return ZR_FLATE;
    // The checksum is known once the whole entry was read.
    if (entry.Close() != UNZ_OK)
        return ZR_FLATE;
    ::SetFileTime(file.Get(), &item.creationTime, &item.accessTime, &item.modifyTime);
    return ZR_OK;
}

// ---- unpacking a whole archive -----------------------------------------------------------

bool ZipExtractResult::Wrote(const std::wstring& path) const
{
    const std::wstring wanted = FullPath(path);
    for (const std::wstring& done : written) {
        if (done.size() == wanted.size() && StartsWithNoCase(done, wanted))
            return true;
    }
    return false;
}

namespace {

uint64_t SystemFreeSpace(const std::wstring& folder)
{
    ULARGE_INTEGER available = {};
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

// Judges the archive by what its directory declares; minizip never inflates
// an entry past its declared size, so the declaration bounds what is written.
ZipRefusal JudgeArchive(ZipReader& reader, int entries, const std::wstring& folder, const ZipLimits& limits)
{
    uint64_t total = 0;
    for (int index = 0; index < entries; ++index) {
        uint64_t packed = 0;
        uint64_t unpacked = 0;
        // An entry whose sizes cannot be read fails on its own later.
        if (reader.GetSizes(index, packed, unpacked) != ZR_OK)
            continue;
        if (unpacked > limits.maxTotalBytes - total)
            return ZipRefusal::TooLarge;
        total += unpacked;
        if (unpacked > limits.ratioFreeBytes && (packed == 0 || unpacked / packed > limits.maxRatio))
            return ZipRefusal::TooCompressed;
    }
    const uint64_t free = limits.freeSpace ? limits.freeSpace(folder) : SystemFreeSpace(folder);
    if (free < total || free - total < limits.spareDiskBytes)
        return ZipRefusal::NoSpace;
    return ZipRefusal::None;
}

} // namespace

ZipExtractResult ExtractZipToFolder(const std::wstring& zipPath, const std::wstring& folder, const ZipLimits& limits)
{
    ZipExtractResult outcome;
    ZipReader reader;
    if (reader.Open(zipPath) != ZR_OK)
        return outcome;
    outcome.opened = true;
    reader.SetBaseDir(folder);
    outcome.folder = FullPath(reader.BaseDir());
    ZipItem count;
    reader.GetItem(-1, count);
    outcome.entries = count.index;
    outcome.refused = JudgeArchive(reader, outcome.entries, reader.BaseDir(), limits);
    if (outcome.refused != ZipRefusal::None)
        return outcome;
    for (int index = 0; index < outcome.entries; ++index) {
        ZipItem item;
        if (reader.GetItem(index, item) != ZR_OK || reader.ExtractItem(index, item.name) != ZR_OK) {
            ++outcome.failed;
            continue;
        }
        outcome.written.push_back(ResolveEntryPath(reader.BaseDir(), item.name));
    }
    reader.Close();
    return outcome;
}

void RemoveWritten(const ZipExtractResult& result)
{
    for (const std::wstring& path : result.written) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            DeleteFileForce(path.c_str());
    }
    // The folders the entries made, deepest first; a folder that still holds
    // something not written here stays.
    std::vector<std::wstring> folders;
    for (const std::wstring& path : result.written) {
        std::wstring folder = path;
        while (folder.size() > result.folder.size() && StartsWithNoCase(folder, result.folder)) {
            const DWORD attributes = ::GetFileAttributesW(folder.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                folders.push_back(folder);
            const size_t cut = folder.find_last_of(L'\\');
            if (cut == std::wstring::npos)
                break;
            folder.resize(cut);
        }
    }
    std::sort(folders.begin(), folders.end(),
              [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    for (const std::wstring& folder : folders)
        ::RemoveDirectoryW(folder.c_str());
}

} // namespace tarnwell
