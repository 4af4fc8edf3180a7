#include <windows.h>
#include <gtest/gtest.h>

TEST(VrelModule, LoadsBesideTheProgram)
{
    HMODULE module = GetModuleHandleW(L"vrel.dll");
    if (!module)
        module = LoadLibraryW(L"vrel.dll");
    ASSERT_NE(module, nullptr);
}
