// Entry point of the popup, menu, balloon, tooltip, loading-window and
// shadow tests: GDI+, COM and OLE run for the whole program, and the test
// executable is the application module whose window classes the library
// registers.

#include <windows.h>

#include <gtest/gtest.h>

#include "ui/framework/Manager.h"

namespace {

class LibraryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        VREL::Manager::InitGdiplus();
        VREL::Manager::SetInstance(::GetModuleHandleW(nullptr));
    }
    void TearDown() override { VREL::Manager::UnInitGdiplus(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
    return RUN_ALL_TESTS();
}
