#include "app/window/Startup.h"

#include <atomic>

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

namespace {

std::atomic<long long> g_startupMarks[static_cast<int>(StartupMark::Count)] = {};

long long FileTimeMicroseconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<long long>(value.QuadPart / 10);
}

} // namespace

void MarkStartup(StartupMark mark)
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return;
    GetSystemTimeAsFileTime(&now);
    // Stored as microseconds + 1, so that 0 keeps meaning "not yet".
    const long long since = FileTimeMicroseconds(now) - FileTimeMicroseconds(created);
    long long unset = 0;
    g_startupMarks[static_cast<int>(mark)].compare_exchange_strong(unset, (since < 0 ? 0 : since) + 1);
}

long long StartupMicroseconds(StartupMark mark)
{
    const int index = static_cast<int>(mark);
    if (index < 0 || index >= static_cast<int>(StartupMark::Count))
        return -1;
    return g_startupMarks[index].load() - 1;
}

} // namespace tarnwell
