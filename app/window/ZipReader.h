#pragma once

// Reading update packages: a zip archive unpacked entry by entry into one
// folder. Entry names come from a download and are not trusted: a name that
// could reach outside the folder (a drive, a leading separator, a network
// prefix, a stream, an empty, "." or ".." component, a device name) is
// refused, and an entry is never inflated past the size it declares.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarnwell {

// Result codes of the zip reader.
enum ZipResult : uint32_t
{
    ZR_OK = 0,
    ZR_NOFILE = 0x200,       // the archive or an output file cannot be opened or created
    ZR_WRITE = 0x400,        // writing an output file failed
    ZR_CORRUPT = 0x700,      // the entry's header is corrupt
    ZR_READ = 0x800,         // reading or seeking in the archive failed
    ZR_PASSWORD = 0x1000,    // the entry needs a password
    ZR_UNSAFE_NAME = 0x2000, // the entry's name would leave the folder
    ZR_ARGS = 0x10000,       // index below -1 or not below the entry count
    ZR_NOT_OPEN = 0x80000,   // no archive is open
    ZR_ALREADY_OPEN = 0x1000000,
    ZR_FLATE = 0x5000000,    // inflating failed, or the data does not match its header
};

// One entry as GetItem describes it; for index -1 only index is filled, with
// the number of entries.
struct ZipItem
{
    int index = 0;
    wchar_t name[MAX_PATH] = {};
    DWORD attributes = 0;
    FILETIME accessTime = {};
    FILETIME creationTime = {};
    FILETIME modifyTime = {};
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
};

// The full path an entry name stands for under folder (which ends with a
// separator), or empty when the name is not a plain relative path that stays
// inside the folder. A name ending with a separator (a directory entry) is
// checked without it and resolves without it.
std::wstring ResolveEntryPath(const std::wstring& folder, const std::wstring& name);

// DOS date and time (local time) as UTC.
FILETIME DosTimeToFileTime(uint16_t dosDate, uint16_t dosTime);

// Windows file attributes from the entry's host system (the high byte of
// "version made by") and its external attributes.
DWORD EntryAttributes(uint32_t versionMadeBy, uint32_t externalAttributes);

// Applies an extended-timestamp ("UT") block found among the extra blocks;
// blocks are walked by their sizes and a time is taken only when all its
// bytes are there.
void ApplyExtendedTimes(const uint8_t* extra, size_t size, ZipItem& item);

// Creates every missing folder of relative (separated by either slash) under
// base, from the outermost in; false when one could not be created.
bool EnsureDirectory(const std::wstring& base, const std::wstring& relative);

class ZipReader
{
public:
    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // The base folder starts as the current directory.
    uint32_t Open(const std::wstring& path);
    // Appends a backslash unless the folder ends with one or a slash.
    void SetBaseDir(const std::wstring& folder);
    const std::wstring& BaseDir() const { return m_base; }
    uint32_t GetItem(int index, ZipItem& item);
    // The sizes the archive's directory declares for entry index, in full
    // even past 4 GB, where GetItem's fields would be cut.
    uint32_t GetSizes(int index, uint64_t& compressed, uint64_t& uncompressed);
    // Extracts entry index under the base folder as name: a directory entry
    // creates the folder, a file entry is written whole or not at all (a
    // file that fails part-way is deleted).
    uint32_t ExtractItem(int index, const std::wstring& name);
    uint32_t Close();
    bool IsOpen() const { return m_zip != nullptr; }

private:
    uint32_t GoTo(int index);
    uint32_t WriteEntry(const std::wstring& path, const ZipItem& item, uint32_t expectedSize);

    void* m_zip = nullptr;
    int m_count = 0;
    int m_current = -1;
    // Of the entry GetItem described last.
    bool m_encrypted = false;
    std::wstring m_base;
};

// What an update package may unpack to. A package comes from a download: a
// few hundred kilobytes can declare gigabytes of zeros, which would fill the
// disk before anything else noticed.
//
// An installer with all it brings is tens of megabytes, a firmware image far
// less: an archive that declares more than this in all is no update.
constexpr uint64_t kMaxUnpackedBytes = 512ULL * 1024 * 1024;
// Programs and firmware images shrink to a half or a third, text to a tenth;
// an entry that shrank a hundredfold is padding made to be inflated.
constexpr uint64_t kMaxCompressionRatio = 100;
// Entries up to this size are not held to the ratio: a small file of
// repeated bytes shrinks far and can do no harm.
constexpr uint64_t kRatioFreeBytes = 1024 * 1024;
// Left free on the disk after unpacking, so that the installer and the
// system still have room to work.
constexpr uint64_t kSpareDiskBytes = 64ULL * 1024 * 1024;

struct ZipLimits
{
    uint64_t maxTotalBytes = kMaxUnpackedBytes;
    uint64_t maxRatio = kMaxCompressionRatio;
    uint64_t ratioFreeBytes = kRatioFreeBytes;
    uint64_t spareDiskBytes = kSpareDiskBytes;
    // The bytes free to the user on the disk of a folder; the system's
    // answer when empty.
    std::function<uint64_t(const std::wstring& folder)> freeSpace;
};

// Why an archive was not unpacked at all.
enum class ZipRefusal
{
    None,
    TooLarge,       // its entries declare more than maxTotalBytes in all
    TooCompressed,  // an entry declares more than maxRatio times its packed size
    NoSpace,        // the disk has no room for what it declares
};

// What unpacking an archive came to.
struct ZipExtractResult
{
    bool opened = false;
    ZipRefusal refused = ZipRefusal::None;
    int entries = 0;
    int failed = 0;
    // The files and folders written, as full paths, and the full path of
    // the folder they were written under (with its separator).
    std::vector<std::wstring> written;
    std::wstring folder;

    // Opened, within the limits, and every entry written.
    bool Complete() const { return opened && refused == ZipRefusal::None && failed == 0; }
    bool Wrote(const std::wstring& path) const;
};

// Unpacks every entry of the archive under folder, each under its own name;
// an entry that fails does not stop the others. An archive past the limits
// (or the disk's free space) is refused before anything is written.
ZipExtractResult ExtractZipToFolder(const std::wstring& zipPath, const std::wstring& folder,
                                    const ZipLimits& limits = ZipLimits());

// Deletes what an unpacking wrote: files first, then the folders it made
// that are empty by then.
void RemoveWritten(const ZipExtractResult& result);

} // namespace tarnwell
