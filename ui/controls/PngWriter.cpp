#include "ui/controls/PngWriter.h"

#include <shlobj.h>

#include <cstdlib>

#include <lodepng.h>

namespace VREL {

namespace PngWriter {

namespace {

constexpr wchar_t kTempSuffix[] = L".saving";

class EncodedPng
{
public:
    EncodedPng() = default;
    // The encoder allocates with the C library.
    ~EncodedPng() { std::free(m_data); }
    EncodedPng(const EncodedPng&) = delete;
    EncodedPng& operator=(const EncodedPng&) = delete;

    bool Encode(const std::vector<uint8_t>& rgba, int width, int height)
    {
        return lodepng_encode32(&m_data, &m_size, rgba.data(), static_cast<unsigned>(width),
                                static_cast<unsigned>(height)) == 0 &&
               m_data && m_size > 0;
    }
    const unsigned char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    unsigned char* m_data = nullptr;
    size_t m_size = 0;
};

bool WriteAll(const CString& path, const unsigned char* data, size_t size)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    while (size > 0 && written)
    {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD done = 0;
        written = ::WriteFile(file, data, chunk, &done, nullptr) && done == chunk;
        data += done;
        size -= done;
    }
    written = ::FlushFileBuffers(file) && written;
    written = ::CloseHandle(file) && written;
    return written;
}

} // namespace

bool Write(const CString& path, const std::vector<uint8_t>& rgba, int width, int height)
{
    if (path.IsEmpty() || width <= 0 || height <= 0 ||
        rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4u)
        return false;
    EncodedPng png;
    if (!png.Encode(rgba, width, height))
        return false;
    const CString folder = FolderOf(path);
    if (!folder.IsEmpty() && !EnsureFolder(folder))
        return false;
    const CString temporary = path + kTempSuffix;
    if (!WriteAll(temporary, png.Data(), png.Size()) ||
        !::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        ::DeleteFileW(temporary);
        return false;
    }
    return true;
}

bool EnsureFolder(const CString& folder)
{
    if (folder.IsEmpty())
        return false;
    const int result = ::SHCreateDirectoryExW(nullptr, folder, nullptr);
    if (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS)
    {
        const DWORD attributes = ::GetFileAttributesW(folder);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
}

CString FolderOf(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i)
    {
        const wchar_t ch = path.GetAt(i);
        if (ch == L'\\' || ch == L'/')
            return CString(path.GetString(), i + 1);
    }
    return CString();
}

} // namespace PngWriter

} // namespace VREL
