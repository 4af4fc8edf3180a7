// Entry point of the colour-control and image-viewer tests: GDI+ runs for
// the whole program, windows register their classes with this executable,
// and the library's device name (which names the image viewer's working
// folder) is a test name of its own.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/controls/ImageView.h"
#include "ui/framework/Manager.h"

namespace {

class LibraryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        VREL::Manager::SetInstance(::GetModuleHandleW(nullptr));
        VREL::Manager::SetDeviceName(L"Tarnwell Colour Test");
        VREL::Manager::InitGdiplus();
    }
    void TearDown() override
    {
        RemoveWorkingCopies();
        VREL::Manager::UnInitGdiplus();
    }

private:
    // The viewer's working copies of this run, and their folders.
    static void RemoveWorkingCopies()
    {
        const std::wstring edit = VREL::ImageView::GetEditFolder().GetStdString();
        if (edit.empty())
            return;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((edit + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ::DeleteFileW((edit + found.cFileName).c_str());
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(edit.c_str());
        // The device folder above it.
        const std::wstring device = edit.substr(0, edit.size() - 1);
        ::RemoveDirectoryW(device.substr(0, device.find_last_of(L'\\')).c_str());
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
    return RUN_ALL_TESTS();
}
