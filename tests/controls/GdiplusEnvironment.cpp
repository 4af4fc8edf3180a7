// GDI+, COM and OLE run for the whole test program, started and stopped by
// the library's own functions; windows register their classes with the
// program's module.

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

::testing::Environment* const kLibrary = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

} // namespace
