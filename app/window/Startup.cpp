#include "app/window/Startup.h"

namespace tarnwell {

namespace {

// DPI_AWARENESS_CONTEXT_UNAWARE_GDISCALED.
const HANDLE kContextUnawareGdiScaled = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-5));
constexpr int kProcessPerMonitorDpiAware = 2;

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFn = HRESULT(WINAPI*)(int);

struct Library
{
    HMODULE module;
    explicit Library(const wchar_t* name) : module(LoadLibraryW(name)) {}
    ~Library()
    {
        if (module != nullptr)
            FreeLibrary(module);
    }
    template <class Fn>
    Fn Get(const char* name) const
    {
        return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                                 : nullptr;
    }
};

} // namespace

DpiPath SetDpiAwareness()
{
    {
        Library user32(L"user32.dll");
        auto setContext = user32.Get<SetContextFn>("SetProcessDpiAwarenessContext");
        if (setContext != nullptr && setContext(kContextUnawareGdiScaled))
            return DpiPath::Context;
    }
    {
        Library shcore(L"Shcore.dll");
        auto setAwareness = shcore.Get<SetAwarenessFn>("SetProcessDpiAwareness");
        if (setAwareness != nullptr && setAwareness(kProcessPerMonitorDpiAware) >= 0)
            return DpiPath::Shcore;
    }
    SetProcessDPIAware();
    return DpiPath::SystemAware;
}

bool EnableDebugPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    bool granted = false;
    if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        SetLastError(0);
        AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
        granted = GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return granted;
}

HWND FindWindowWithProperty(const wchar_t* propertyName)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetPropW(window, propertyName) != nullptr)
            return window;
    }
    return nullptr;
}

void BringInstanceForward(HWND window)
{
    SetForegroundWindow(window);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    BringWindowToTop(window);
}

} // namespace tarnwell
