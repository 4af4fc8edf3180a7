// Entry point of the vrel test programs: GDI+, COM and OLE run for the whole
// program, started and stopped by the library's own functions, and windows
// register their classes with the program's module.
//
// Started with --module-folder-probe FILE, a test program only writes what
// the library reports as its folders into FILE (one per line) and exits; the
// module-folder tests run a copy of their program from a very long path that
// way.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

#include "ui/framework/Manager.h"

namespace {

class LibraryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        VREL::Manager::SetInstance(::GetModuleHandleW(nullptr));
        VREL::Manager::InitGdiplus();
    }
    void TearDown() override { VREL::Manager::UnInitGdiplus(); }
};

int WriteFolders(const wchar_t* file)
{
    FILE* out = _wfopen(file, L"wb");
    if (!out)
        return 1;
    const CString lines = GetModuleFolder() + L"\n" + GetSkinFolder() + L"\n";
    fwrite(lines.GetString(), sizeof(wchar_t), static_cast<size_t>(lines.GetLength()), out);
    fclose(out);
    return 0;
}

// The probe's file when the command line asks for the probe, else null.
const wchar_t* ProbeFile(int count, wchar_t** args)
{
    return args && count == 3 && std::wcscmp(args[1], L"--module-folder-probe") == 0 ? args[2] : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    int wideCount = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
    if (const wchar_t* probe = ProbeFile(wideCount, wide))
    {
        const int result = WriteFolders(probe);
        ::LocalFree(wide);
        return result;
    }
    ::LocalFree(wide);

    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
    return RUN_ALL_TESTS();
}
