#include <windows.h>

#include "ui/framework/Manager.h"

// The library's own resources (scroll-bar images, the private font) are
// loaded through the handle kept here.
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        VREL::SetLibraryModule(module);
    return TRUE;
}
