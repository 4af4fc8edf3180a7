// The simulated keyboard as a drop-in hidapi.dll: a program copied beside it
// runs its real code against the simulated devices. A test drives it from
// outside through two files in the DLL's folder:
//
//   hidsim-control.txt (read): the wanted state, applied when its generation
//   changes. Lines:
//     generation <n>
//     device <id> <vid hex> <pid hex> <interface> keyboard|numpad <present 0|1>
//     fault <seq> <id> noreply|nak|late|failwrite|vanish <command|-1> <skip> <times> <delayMs>
//   A device that appears is plugged in, one that goes absent is unplugged;
//   each change is announced to the program's top-level windows with the
//   device-change broadcast, as the system does. A fault is armed once per
//   sequence number. A late reply holds back the replies after it: a device
//   answers in order. Without the file, one keyboard is present.
//
//   hidsim-log.txt (appended): one line per event with its tick count:
//     <tick> init | exit | applied <generation> | enumerate <count>
//     <tick> open <id> ok|fail
//     <tick> out <id> ok|fail accepted|rejected <hex of the 65 bytes>
//     <tick> in <id> <hex of the 64 bytes>
//     <tick> broadcast arrival|removal <id> <windows reached>

#include <windows.h>
#include <dbt.h>

#include <hidapi/hidapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/device/sim/HidSimulator.h"

// The simulator's own implementations, compiled under these names for this DLL.
extern "C" {
int simcore_hid_init(void);
int simcore_hid_exit(void);
struct hid_device_info* simcore_hid_enumerate(unsigned short, unsigned short);
hid_device* simcore_hid_open_path(const char*);
int simcore_hid_write(hid_device*, const unsigned char*, size_t);
int simcore_hid_read_timeout(hid_device*, unsigned char*, size_t, int);
int simcore_hid_read(hid_device*, unsigned char*, size_t);
}

namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kBroadcastTimeoutMs = 5000;

struct WantedDevice
{
    int id = 0;
    uint16_t vid = 0;
    uint16_t pid = 0;
    int interfaceNumber = 0;
    bool numpad = false;
    bool present = false;
};

struct Control
{
    long generation = -1;
    std::vector<WantedDevice> devices;
    std::vector<std::pair<long, std::pair<int, hidsim::Fault>>> faults;  // seq, (device id, fault)
};

struct DllState
{
    std::recursive_mutex lock;  // every simulator call and the log cursor
    bool started = false;
    std::wstring folder;
    long generation = -2;
    std::map<int, int> indexOfId;  // device id -> simulator index while plugged in
    std::map<int, int> idOfIndex;
    std::map<int, std::string> pathOfId;
    std::map<long, bool> armedFaults;
    size_t logged = 0;
    HANDLE thread = nullptr;
    volatile LONG stop = 0;
};

DllState& State()
{
    static DllState* state = new DllState();  // never destroyed: the poll thread may outlive statics
    return *state;
}

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::wstring DllFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(ThisModule(), path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1);
}

void AppendLog(const std::string& line)
{
    DllState& s = State();
    const std::wstring path = s.folder + L"hidsim-log.txt";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char tick[24];
    snprintf(tick, sizeof tick, "%lu ", GetTickCount());
    const std::string text = tick + line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string out;
    char two[3];
    for (uint8_t b : bytes) {
        snprintf(two, sizeof two, "%02x", b);
        out += two;
    }
    return out;
}

// Writes the simulator's new log entries. Called with the lock held, after
// every call that may add entries.
void FlushLog()
{
    DllState& s = State();
    const std::vector<hidsim::LogEntry>& log = hidsim::Log();
    for (; s.logged < log.size(); ++s.logged) {
        const hidsim::LogEntry& entry = log[s.logged];
        const auto id = s.idOfIndex.find(entry.device);
        const std::string who = std::to_string(id != s.idOfIndex.end() ? id->second : -1);
        if (entry.direction == hidsim::Direction::Out)
            AppendLog("out " + who + (entry.ok ? " ok " : " fail ") + (entry.rejected ? "rejected " : "accepted ") +
                      Hex(entry.bytes));
        else
            AppendLog("in " + who + " " + Hex(entry.bytes));
    }
}

bool ReadWholeFile(const std::wstring& path, std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got != 0)
        text.append(chunk, got);
    CloseHandle(file);
    return true;
}

bool ReadControl(Control& control)
{
    std::string text;
    if (!ReadWholeFile(State().folder + L"hidsim-control.txt", text))
        return false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "generation") {
            words >> control.generation;
        } else if (kind == "device") {
            WantedDevice d;
            std::string type;
            words >> d.id >> std::hex >> d.vid >> d.pid >> std::dec >> d.interfaceNumber >> type >> d.present;
            d.numpad = type == "numpad";
            control.devices.push_back(d);
        } else if (kind == "fault") {
            long seq = 0;
            int id = 0;
            std::string action;
            hidsim::Fault fault;
            words >> seq >> id >> action >> fault.command >> fault.skip >> fault.times >> fault.delayMs;
            static const std::map<std::string, hidsim::FaultAction> actions = {
                {"noreply", hidsim::FaultAction::NoReply},   {"nak", hidsim::FaultAction::NegativeReply},
                {"late", hidsim::FaultAction::LateReply},    {"failwrite", hidsim::FaultAction::FailWrite},
                {"vanish", hidsim::FaultAction::Vanish},
            };
            const auto found = actions.find(action);
            if (found != actions.end()) {
                fault.action = found->second;
                control.faults.push_back({seq, {id, fault}});
            }
        }
    }
    return control.generation >= 0;
}

std::string InterfacePath(const WantedDevice& d, long generation)
{
    char path[160];
    // A fresh instance part per plug, as the system gives a replugged device.
    snprintf(path, sizeof path,
             "\\\\?\\hid#vid_%04x&pid_%04x&mi_%02d#7&%lx&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}", d.vid, d.pid,
             d.interfaceNumber, 0x1a2b00L + generation);
    return path;
}

struct Change
{
    bool arrival;
    int id;
    std::string path;
};

// Applies a control state; returns the plug changes to announce.
std::vector<Change> Apply(const Control& control)
{
    DllState& s = State();
    std::vector<Change> changes;
    for (const WantedDevice& d : control.devices) {
        const bool plugged = s.indexOfId.count(d.id) != 0;
        if (d.present && !plugged) {
            const std::string path = InterfacePath(d, control.generation);
            const int index = hidsim::AddDevice(d.numpad ? hidsim::NumpadConfig(d.vid, d.pid, path)
                                                         : hidsim::KeyboardConfig(d.vid, d.pid, path));
            s.indexOfId[d.id] = index;
            s.idOfIndex[index] = d.id;
            s.pathOfId[d.id] = path;
            changes.push_back({true, d.id, path});
        } else if (!d.present && plugged) {
            hidsim::Unplug(s.indexOfId[d.id]);
            s.indexOfId.erase(d.id);
            changes.push_back({false, d.id, s.pathOfId[d.id]});
        }
    }
    for (const auto& fault : control.faults) {
        if (s.armedFaults.count(fault.first) != 0)
            continue;
        const auto index = s.indexOfId.find(fault.second.first);
        if (index == s.indexOfId.end())
            continue;
        hidsim::AddFault(index->second, fault.second.second);
        s.armedFaults[fault.first] = true;
    }
    s.generation = control.generation;
    AppendLog("applied " + std::to_string(control.generation));
    return changes;
}

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM windows)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId())
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

void Broadcast(const Change& change)
{
    std::vector<HWND> windows;
    EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<uint8_t> buffer(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + (change.path.size() + 1) * sizeof(wchar_t));
    auto* message = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    message->dbcc_size = static_cast<DWORD>(buffer.size());
    message->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    static const GUID hidClass = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    message->dbcc_classguid = hidClass;
    for (size_t i = 0; i <= change.path.size(); ++i)
        message->dbcc_name[i] = static_cast<wchar_t>(i < change.path.size() ? change.path[i] : 0);
    const WPARAM event = change.arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    int reached = 0;
    for (HWND window : windows) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(message), SMTO_ABORTIFHUNG,
                                kBroadcastTimeoutMs, &result))
            ++reached;
    }
    AppendLog(std::string("broadcast ") + (change.arrival ? "arrival " : "removal ") + std::to_string(change.id) +
              " " + std::to_string(reached));
}

// Reads the control file; applies it when its generation is new. The
// broadcasts go out after the lock is released.
std::vector<Change> PollControl(bool initial)
{
    DllState& s = State();
    Control control;
    if (!ReadControl(control)) {
        if (!initial)
            return {};
        // No file: one keyboard, as the product's catalogue describes it.
        control.generation = 0;
        control.devices.push_back({1, 0x3151, 0x4010, 2, false, true});
    }
    if (control.generation == s.generation)
        return {};
    return Apply(control);
}

DWORD WINAPI PollThread(void*)
{
    DllState& s = State();
    while (s.stop == 0) {
        Sleep(kPollMs);
        std::vector<Change> changes;
        {
            std::lock_guard<std::recursive_mutex> held(s.lock);
            changes = PollControl(false);
        }
        for (const Change& change : changes)
            Broadcast(change);
    }
    return 0;
}

// The first call of the program sets the devices up before it sees any.
void EnsureStarted()
{
    DllState& s = State();
    if (s.started)
        return;
    s.started = true;
    s.folder = DllFolder();
    AppendLog("init");
    PollControl(true);  // the devices present at start need no broadcast
    s.thread = CreateThread(nullptr, 0, &PollThread, nullptr, 0, nullptr);
}

} // namespace

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    EnsureStarted();
    return simcore_hid_init();
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    AppendLog("exit");
    return simcore_hid_exit();
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    EnsureStarted();
    hid_device_info* list = simcore_hid_enumerate(vendor_id, product_id);
    int count = 0;
    for (hid_device_info* info = list; info != nullptr; info = info->next)
        ++count;
    AppendLog("enumerate " + std::to_string(count));
    return list;
}

hid_device HID_API_EXPORT* HID_API_CALL hid_open_path(const char* path)
{
    DllState& s = State();
    std::lock_guard<std::recursive_mutex> held(s.lock);
    EnsureStarted();
    hid_device* device = simcore_hid_open_path(path);
    int id = -1;
    for (const auto& entry : s.pathOfId)
        if (path != nullptr && entry.second == path)
            id = entry.first;
    AppendLog("open " + std::to_string(id) + (device != nullptr ? " ok" : " fail"));
    return device;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    // A keyboard in an animated mode shows new colours all the time: each
    // pass of live reads (its first chunk) finds the colours one step on.
    if (data != nullptr && length > REQ_OFFSET_HI && data[REQ_COMMAND] == CMD_READ_LIVE_COLORS &&
        data[REQ_OFFSET_LO] == 0 && data[REQ_OFFSET_HI] == 0) {
        for (const auto& plugged : State().indexOfId)
            for (uint8_t& byte : hidsim::Memory(plugged.second).liveColors)
                byte = static_cast<uint8_t>(byte + 1);
    }
    int result = simcore_hid_write(dev, data, length);
    FlushLog();
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int ms)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    int result = simcore_hid_read_timeout(dev, data, length, ms);
    FlushLog();
    return result;
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    std::lock_guard<std::recursive_mutex> held(State().lock);
    int result = simcore_hid_read(dev, data, length);
    FlushLog();
    return result;
}

} // extern "C"
