#pragma once

// A file handle that closes itself.

#include <windows.h>

namespace tarnwell {

class ScopedFile
{
public:
    explicit ScopedFile(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~ScopedFile() { Close(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    void Close()
    {
        if (Valid())
            ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// Deletes a file even when it is read-only; true when it is gone (or was
// never there).
inline bool DeleteFileForce(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return ::DeleteFileW(path) != FALSE || ::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
}

} // namespace tarnwell
