// Entry point of the edit-field tests: GDI+ runs for the whole program and
// windows register their classes with this executable.

#include <windows.h>

#include <gtest/gtest.h>

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

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
    return RUN_ALL_TESTS();
}
