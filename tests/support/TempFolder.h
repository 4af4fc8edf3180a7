#pragma once

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace testsupport {

// Removes a folder (a path ending in a backslash) with its files, read-only
// ones too, and its subfolders.
inline void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                RemoveTree(child + L"\\");
            }
            else
            {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

class TempFolder
{
public:
    // "<temp><name>-<process id>-<n>\", n counting the folders this process made.
    explicit TempFolder(const std::wstring& name = L"tarnwell-test")
    {
        static std::atomic<int> counter{0};
        wchar_t base[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter) + L"\\";
        RemoveTree(m_path);
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + name; }

    // The names of the files in the folder itself.
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((m_path + L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }

private:
    std::wstring m_path;
};

} // namespace testsupport
