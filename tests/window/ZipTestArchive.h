#pragma once

// Zip archives made byte by byte for the tests: stored or deflated entries,
// any name, and headers that may lie (a declared size, a checksum, the
// password flag), so that each fault can be made on purpose.

#include <windows.h>

#include <zlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ziptest {

struct Entry
{
    Entry(std::string entryName, std::string entryData = std::string())
        : name(std::move(entryName)), data(std::move(entryData))
    {
    }

    std::string name;
    std::string data;
    bool deflate = false;
    // Overrides of what the headers say; -1 keeps the true value.
    int64_t declaredSize = -1;
    int64_t declaredCrc = -1;
    bool encrypted = false;
    // Host 3 (Unix) with rw-r--r--, unless set.
    uint16_t versionMadeBy = 0x0314;
    uint32_t externalAttributes = 0x81A40000u;
    uint16_t dosTime = 0x6000;  // 12:00:00
    uint16_t dosDate = 0x5A21;  // 2025-01-01
    std::string centralExtra;
};

inline std::string Deflate(const std::string& data)
{
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline std::string Build(const std::vector<Entry>& entries)
{
    std::string archive;
    std::string central;
    for (const Entry& entry : entries) {
        const std::string packed = entry.deflate ? Deflate(entry.data) : entry.data;
        const uint32_t crc = entry.declaredCrc >= 0
                                 ? static_cast<uint32_t>(entry.declaredCrc)
                                 : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                                               static_cast<uInt>(entry.data.size())));
        const uint32_t size =
            entry.declaredSize >= 0 ? static_cast<uint32_t>(entry.declaredSize) : static_cast<uint32_t>(entry.data.size());
        const uint16_t flag = entry.encrypted ? 1 : 0;
        const uint16_t method = entry.deflate ? 8 : 0;
        const uint32_t offset = static_cast<uint32_t>(archive.size());

        Put32(archive, 0x04034B50);
        Put16(archive, 20);
        Put16(archive, flag);
        Put16(archive, method);
        Put16(archive, entry.dosTime);
        Put16(archive, entry.dosDate);
        Put32(archive, crc);
        Put32(archive, static_cast<uint32_t>(packed.size()));
        Put32(archive, size);
        Put16(archive, static_cast<uint32_t>(entry.name.size()));
        Put16(archive, 0);
        archive += entry.name;
        archive += packed;

        Put32(central, 0x02014B50);
        Put16(central, entry.versionMadeBy);
        Put16(central, 20);
        Put16(central, flag);
        Put16(central, method);
        Put16(central, entry.dosTime);
        Put16(central, entry.dosDate);
        Put32(central, crc);
        Put32(central, static_cast<uint32_t>(packed.size()));
        Put32(central, size);
        Put16(central, static_cast<uint32_t>(entry.name.size()));
        Put16(central, static_cast<uint32_t>(entry.centralExtra.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, entry.externalAttributes);
        Put32(central, offset);
        central += entry.name;
        central += entry.centralExtra;
    }
    const uint32_t centralOffset = static_cast<uint32_t>(archive.size());
    archive += central;
    Put32(archive, 0x06054B50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(central.size()));
    Put32(archive, centralOffset);
    Put16(archive, 0);
    return archive;
}

inline bool WriteFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes(static_cast<size_t>(::GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    if (!bytes.empty())
        ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

} // namespace ziptest
