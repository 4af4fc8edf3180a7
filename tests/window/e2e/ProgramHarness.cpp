#include "tests/window/e2e/ProgramHarness.h"

#include <shlobj.h>

#include <lodepng.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "app/window/AppSettings.h"
#include "app/window/KeyboardDef.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kBusyWaitMs = 5000;
constexpr UINT WM_TRAY_NOTIFY = 0x69A;
constexpr UINT TRAY_ICON_ID = 109;
constexpr uint8_t CMD_BEGIN = 0x01;
constexpr uint8_t CMD_END = 0x02;
constexpr uint8_t CMD_READ_LIVE_COLORS = 0xDE;
const wchar_t* const kDeviceName = L"Tarnwell";

// A build folder as the build passes it (forward slashes) in Windows form.
std::wstring Widen(const char* text)
{
    std::wstring out;
    for (; *text != 0; ++text)
        out += *text == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

// True when the folder is gone.
bool RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child + L"\\");
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

// Mirrors a folder tree: hard links where possible, copies otherwise.
void MirrorTree(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            MirrorTree(from + name + L"\\", to + name + L"\\");
        } else if (!CreateHardLinkW((to + name).c_str(), (from + name).c_str(), nullptr)) {
            CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring ReadText(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::string text;
    char chunk[8192];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got != 0)
        text.append(chunk, got);
    CloseHandle(file);
    return std::wstring(text.begin(), text.end());
}

bool WriteFileAtomically(const std::wstring& path, const std::string& text)
{
    const std::wstring temporary = path + L".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::vector<uint8_t> ParseHex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        Sleep(kPollMs);
    }
}

// ---- run folder and user state ------------------------------------------------------

const std::wstring& RunFolder()
{
    static const std::wstring folder = [] {
        const std::wstring bin = Widen(TARNWELL_E2E_BIN_DIR) + L"\\";
        const std::wstring sim = Widen(TARNWELL_E2E_SIM_DIR) + L"\\";
        const std::wstring run = Widen(TARNWELL_E2E_RUN_DIR) + L"\\";
        // A program the previous test run started may still be letting go
        // of its files: a mirror over them would keep what it could not
        // replace.
        WaitFor([&] { return RemoveTree(run); }, kTimeoutMs);
        MirrorTree(bin, run);
        DeleteFileW((run + L"hidapi.dll").c_str());
        CopyFileW((sim + L"hidapi.dll").c_str(), (run + L"hidapi.dll").c_str(), FALSE);
        return run;
    }();
    return folder;
}

std::wstring DataFolder()
{
    wchar_t base[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
    return std::wstring(base) + L"\\" + kDeviceName + L" Files\\";
}

std::wstring RegistryKey() { return std::wstring(L"SOFTWARE\\") + kDeviceName; }

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void ClearUserState()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey().c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, RegistryKey().c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kDeviceName);
    RemoveTree(DataFolder());
}

bool ReadAutorunValue(std::wstring& value)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kDeviceName, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return false;
    value = text;
    return true;
}

void RemoveRunFile(const std::wstring& relative)
{
    const std::wstring path = RunFolder() + relative;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

bool ReplaceRunFile(const std::wstring& relative, const std::string& bytes)
{
    RemoveRunFile(relative);
    return WriteFileAtomically(RunFolder() + relative, bytes);
}

bool RestoreRunFile(const std::wstring& relative)
{
    RemoveRunFile(relative);
    const std::wstring bin = Widen(TARNWELL_E2E_BIN_DIR) + L"\\";
    return CopyFileW((bin + relative).c_str(), (RunFolder() + relative).c_str(), FALSE) != 0;
}

// ---- simulated keyboard ----------------------------------------------------------------

void SimulatedKeyboard::Reset(const std::vector<SimDevice>& devices)
{
    DeleteFileW((RunFolder() + L"hidsim-log.txt").c_str());
    m_devices = devices;
    Write();
}

bool SimulatedKeyboard::SetDevices(const std::vector<SimDevice>& devices)
{
    m_devices = devices;
    Write();
    const std::string applied = std::to_string(m_generation);
    return WaitFor([&] {
        for (const SimEvent& event : Events())
            if (event.kind == "applied" && !event.words.empty() && event.words[0] == applied)
                return true;
        return false;
    });
}

void SimulatedKeyboard::Write()
{
    ++m_generation;
    std::ostringstream text;
    text << "generation " << m_generation << "\n";
    for (const SimDevice& d : m_devices) {
        char line[128];
        snprintf(line, sizeof line, "device %d %04x %04x %d %s %d\n", d.id, d.vid, d.pid, d.interfaceNumber,
                 d.numpad ? "numpad" : "keyboard", d.present ? 1 : 0);
        text << line;
    }
    // The simulator reads the file every few milliseconds; a replacement that
    // meets its read fails and is tried again, or the change would never come.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (WriteFileAtomically(RunFolder() + L"hidsim-control.txt", text.str()))
            break;
        Sleep(kPollMs);
    }
}

std::vector<SimEvent> SimulatedKeyboard::Events() const
{
    std::vector<SimEvent> events;
    std::wstring wide = ReadText(RunFolder() + L"hidsim-log.txt");
    std::istringstream lines(std::string(wide.begin(), wide.end()));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        SimEvent event;
        if (!(words >> event.tick >> event.kind))
            continue;
        std::string word;
        while (words >> word)
            event.words.push_back(word);
        if ((event.kind == "open" || event.kind == "out" || event.kind == "in") && !event.words.empty())
            event.device = std::atoi(event.words[0].c_str());
        if (event.kind == "broadcast" && event.words.size() >= 2)
            event.device = std::atoi(event.words[1].c_str());
        if ((event.kind == "out" || event.kind == "in") && !event.words.empty())
            event.bytes = ParseHex(event.words.back());
        events.push_back(event);
    }
    return events;
}

int SimulatedKeyboard::Count(const std::string& kind) const
{
    int count = 0;
    for (const SimEvent& event : Events())
        count += event.kind == kind ? 1 : 0;
    return count;
}

std::vector<uint8_t> SimulatedKeyboard::Commands(int device) const
{
    std::vector<uint8_t> commands;
    for (const SimEvent& event : Events())
        if (event.kind == "out" && event.device == device && event.words.size() >= 3 && event.words[1] == "ok" &&
            event.words[2] == "accepted" && event.bytes.size() > 2)
            commands.push_back(event.bytes[2]);
    return commands;
}

std::string SimulatedKeyboard::UnbalancedBeginEnd() const
{
    for (const SimDevice& device : m_devices) {
        bool open = false;
        // The live colour read-back begins a stream that it never ends: a
        // BEGIN followed by nothing but live reads needs no END.
        bool readBack = false;
        bool first = false;
        for (uint8_t command : Commands(device.id)) {
            if (command == CMD_BEGIN) {
                if (open && !readBack)
                    return "device " + std::to_string(device.id) + ": BEGIN while a BEGIN was open";
                open = true;
                first = true;
                readBack = false;
                continue;
            }
            if (command == CMD_END)
                open = false;
            else if (open)
                readBack = command == CMD_READ_LIVE_COLORS && (first || readBack);
            first = false;
        }
        if (open && !readBack)
            return "device " + std::to_string(device.id) + ": BEGIN without its END";
    }
    return std::string();
}

// ---- program ------------------------------------------------------------------------------

Program::~Program() { Kill(); }

bool Program::Start(const std::wstring& arguments) { return Launch(arguments, true); }

bool Program::StartPlain(const std::wstring& arguments) { return Launch(arguments, false); }

bool Program::Launch(const std::wstring& arguments, bool testChannel)
{
    std::wstring command = L"\"" + RunFolder() + L"Tarnwell.exe\"";
    if (!arguments.empty())
        command += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    // The program inherits the variable that opens its test channel; this
    // process keeps it only for the start.
    SetEnvironmentVariableW(tarnwell::kTestHarnessVariable, testChannel ? L"1" : nullptr);
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        RunFolder().c_str(), &startup, &m_info) != 0;
    m_startError = started ? 0 : GetLastError();
    SetEnvironmentVariableW(tarnwell::kTestHarnessVariable, nullptr);
    return started;
}

HWND Program::WaitForWindow(DWORD timeoutMs)
{
    WaitFor([&] {
        m_window = FindProgramWindow(m_info.dwProcessId, kDeviceName);
        return m_window != nullptr && IsWindowVisible(m_window);
    },
            timeoutMs);
    return m_window;
}

long Program::WaitForExit(DWORD timeoutMs)
{
    if (m_info.hProcess == nullptr)
        return -1;
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

bool Program::Running() const
{
    return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void Program::Kill()
{
    if (m_info.hProcess == nullptr)
        return;
    if (Running()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, kTimeoutMs);
    }
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
    m_info = {};
}

HWND FindProgramWindow(DWORD processId, const wchar_t* property)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && GetPropW(window, property) != nullptr)
            return window;
    }
    return nullptr;
}

bool IsShown(HWND window) { return IsWindow(window) && IsWindowVisible(window); }

// ---- input ---------------------------------------------------------------------------------

void Click(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void DoubleClick(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    Click(window, x, y);
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

LRESULT SendControlNotify(HWND window, UINT id, UINT code, WPARAM wParam, LPARAM lParam)
{
    ControlNotifyPacket packet{static_cast<uint32_t>(id), static_cast<uint32_t>(code), static_cast<int64_t>(wParam),
                               static_cast<int64_t>(lParam)};
    COPYDATASTRUCT data{};
    data.dwData = KeyboardDef::COPYDATA_CONTROL_NOTIFY;
    data.cbData = sizeof(packet);
    data.lpData = &packet;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kTimeoutMs,
                             &result))
        return 0;
    return static_cast<LRESULT>(result);
}

void TrayMessage(HWND window, UINT mouseMessage)
{
    PostMessageW(window, WM_TRAY_NOTIFY, TRAY_ICON_ID, mouseMessage);
}

void PressKey(HWND window, UINT virtualKey)
{
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

void TypeText(HWND window, const std::wstring& text)
{
    for (wchar_t c : text)
        PostMessageW(window, WM_CHAR, c, 1);
}

namespace {

GUITHREADINFO ThreadInputOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return GUITHREADINFO{};
    return info;
}

} // namespace

HWND FocusedWindow(HWND window) { return ThreadInputOf(window).hwndFocus; }

HWND MouseCapture(HWND window) { return ThreadInputOf(window).hwndCapture; }

// ---- what happened ----------------------------------------------------------------------

bool ReadRegistryValue(const wchar_t* name, std::wstring& value)
{
    wchar_t buffer[512] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, RegistryKey().c_str(), name, RRF_RT_REG_SZ, &type, buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

void WriteRegistryValue(const wchar_t* name, const wchar_t* value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RegistryKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FileWritten(const std::wstring& path)
{
    // Sharing only reading fails while any handle may still write: the
    // program's writer has let the file go, and what is there is all it wrote.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    const bool written = GetFileSizeEx(file, &size) && size.QuadPart > 0;
    CloseHandle(file);
    return written;
}

namespace {

// Has the window paint, and waits until its thread has done so (a just-shown
// window may not have): pictures are taken from the screen.
void PaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
}

// The screen's pixels (0xAARRGGBB, rows from the top) in a rectangle given
// in screen coordinates.
std::vector<DWORD> GrabScreen(int left, int top, int width, int height)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    std::vector<DWORD> pixels;
    if (HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        SelectObject(memory, old);
        pixels.assign(static_cast<const DWORD*>(bits),
                      static_cast<const DWORD*>(bits) + static_cast<size_t>(width) * height);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

std::vector<DWORD> Capture(HWND window, const RECT& area)
{
    PaintNow(window);
    POINT origin = {area.left, area.top};
    ClientToScreen(window, &origin);
    return GrabScreen(origin.x, origin.y, area.right - area.left, area.bottom - area.top);
}

size_t Colours(const std::vector<DWORD>& pixels)
{
    std::vector<DWORD> seen;
    for (DWORD p : pixels) {
        bool known = false;
        for (DWORD s : seen)
            known = known || s == p;
        if (!known)
            seen.push_back(p);
        if (seen.size() > 64)
            break;
    }
    return seen.size();
}

namespace {
// A visible window of a process (0: any) with a caption and a class (null:
// any); the first found.
struct WindowSearch
{
    DWORD process;
    const wchar_t* caption;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if ((search->process == 0 || process == search->process) &&
        (search->caption == nullptr || wcscmp(caption, search->caption) == 0) &&
        (search->className == nullptr || wcscmp(name, search->className) == 0) && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* caption)
{
    WindowSearch search{processId, caption, nullptr, nullptr};
    EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindProcessDialog(DWORD processId)
{
    WindowSearch search{processId, nullptr, L"#32770", nullptr};
    EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool AnswerFileDialog(DWORD processId, const std::wstring& path, std::wstring* kindShown)
{
    // The file name field and the file type list of the system's file
    // dialogs (the name field in both of its forms).
    constexpr int kFileNameEdit = 0x480;
    constexpr int kFileNameCombo = 0x47C;
    constexpr int kFileTypeCombo = 0x470;
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindProcessDialog(processId)) != nullptr; }))
        return false;
    if (kindShown != nullptr) {
        wchar_t kind[128] = {};
        WaitFor([&] { return GetDlgItemTextW(dialog, kFileTypeCombo, kind, 128) > 0; });
        *kindShown = kind;
    }
    SetDlgItemTextW(dialog, kFileNameEdit, path.c_str());
    SetDlgItemTextW(dialog, kFileNameCombo, path.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitFor([&] { return !IsWindow(dialog); });
}

HWND FindChildOfClass(HWND parent, const wchar_t* className)
{
    WindowSearch search{0, nullptr, className, nullptr};
    EnumChildWindows(parent, &FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {
POINT MenuRowPlace(int width, int row) { return POINT{width / 2, 12 + row * 30 + 15}; }
} // namespace

HWND WaitForMenu(DWORD processId)
{
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = FindProcessWindow(processId, L"Menu Window")) != nullptr; }))
        return nullptr;
    // Its rows are placed when it first paints.
    const POINT first = MenuRowPlace(60, 0);
    const RECT row = {first.x - 20, first.y - 10, first.x + 20, first.y + 10};
    if (!WaitFor([&] { return Colours(Capture(menu, row)) > 2; }))
        return nullptr;
    return menu;
}

bool ChooseMenuRow(DWORD processId, int width, int row)
{
    HWND menu = nullptr;
    if (!WaitFor([&] { return (menu = FindProcessWindow(processId, L"Menu Window")) != nullptr; }))
        return false;
    const POINT at = MenuRowPlace(width, row);
    if (!WaitFor([&] { return Colours(Capture(menu, RECT{at.x - 40, at.y - 10, at.x + 40, at.y + 10})) > 2; }))
        return false;
    Click(menu, at.x, at.y);
    return WaitFor([&] { return !IsWindow(menu); });
}

HWND ShownMessageBox()
{
    for (HWND box = FindWindowExW(nullptr, nullptr, L"MWindow", L"MessageBox"); box != nullptr;
         box = FindWindowExW(nullptr, box, L"MWindow", L"MessageBox"))
        if (IsWindowVisible(box))
            return box;
    return nullptr;
}

HWND WaitForMessageBox()
{
    HWND box = nullptr;
    WaitFor([&] { return (box = ShownMessageBox()) != nullptr; });
    return box;
}

bool WaitCentredOn(HWND box, HWND window)
{
    return WaitFor([&] {
        RECT outer = {}, inner = {};
        if (!GetWindowRect(window, &outer) || !GetWindowRect(box, &inner))
            return false;
        return std::abs((inner.left + inner.right) - (outer.left + outer.right)) <= 2 &&
               std::abs((inner.top + inner.bottom) - (outer.top + outer.bottom)) <= 2;
    });
}

std::wstring SettingsDatabase()
{
    WIN32_FIND_DATAW found;
    const std::wstring folder = DataFolder() + L"db\\";
    HANDLE search = FindFirstFileW((folder + L"*_data.db").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::wstring();
    FindClose(search);
    return folder + found.cFileName;
}

long long QueryDatabase(const std::wstring& file, const char* sql)
{
    sqlite3* db = nullptr;
    long long result = -1;
    if (sqlite3_open_v2(Narrow(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        // The program commits while journeys look: a read that meets its
        // commit waits for it instead of reading as a failure.
        sqlite3_busy_timeout(db, static_cast<int>(kBusyWaitMs));
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            result = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

std::wstring SaveScreenshot(HWND window, const std::wstring& name)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return std::wstring();
    PaintNow(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const std::vector<DWORD> pixels = GrabScreen(rect.left, rect.top, width, height);
    if (pixels.empty())
        return std::wstring();
    std::vector<unsigned char> rgba;
    rgba.reserve(pixels.size() * 4);
    for (DWORD pixel : pixels) {
        rgba.push_back(static_cast<unsigned char>(pixel >> 16));
        rgba.push_back(static_cast<unsigned char>(pixel >> 8));
        rgba.push_back(static_cast<unsigned char>(pixel));
        rgba.push_back(255);
    }
    const std::wstring folder = Widen(TARNWELL_E2E_SCREENSHOT_DIR) + L"\\";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const std::wstring path = folder + name + L".png";
    if (lodepng::encode(Narrow(path), rgba, width, height) != 0)
        return std::wstring();
    return path;
}

long QueryProgramState(HWND window, WPARAM query)
{
    constexpr UINT WM_STATE_QUERY = 0x7F1;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_STATE_QUERY, query, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        return -2;
    return static_cast<long>(static_cast<LONG_PTR>(answer));
}

// ---- fixture -----------------------------------------------------------------------------

void ProgramJourney::SetUp()
{
    RunFolder();
    ClearUserState();
    sim.Reset({SimDevice{}});
    program = std::make_unique<Program>();
}

void ProgramJourney::TearDown()
{
    program.reset();
}

HWND ProgramJourney::StartProgram(const std::wstring& arguments)
{
    if (!program->Start(arguments)) {
        ADD_FAILURE() << "Tarnwell.exe did not start (error " << program->StartError() << ")";
        return nullptr;
    }
    HWND window = program->WaitForWindow();
    if (window == nullptr)
        ADD_FAILURE() << "no main window appeared";
    return window;
}

} // namespace e2e
