// Simulated keyboard and keypad behind hidapi's C interface. Each device keeps
// its blocks, answers every well-formed request with an acknowledged reply,
// refuses malformed ones and live colour reads outside a BEGIN ... END
// stream, and can be scripted to misbehave. Like the real
// ones it answers in order: a reply held back keeps the later ones behind it.

#include "tests/device/sim/HidSimulator.h"

#include <hidapi/hidapi.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <memory>
#include <mutex>
#include <set>

#include "tests/device/sim/FakeClock.h"

struct hid_device_ {
    int device = -1;  // index into the simulator's device list; -1 once the list was reset
    bool nonblocking = false;
    hid_device_info info{};
    std::wstring lastError;
};

namespace hidsim {
namespace {

constexpr const wchar_t* SUCCESS_TEXT = L"Success";

struct PendingReport {
    uint32_t at = 0;
    std::vector<uint8_t> bytes;
};

struct ScriptedFault {
    Fault fault;
    int seen = 0;
    int struck = 0;
};

struct SimDevice {
    DeviceConfig config;
    DeviceMemory memory;
    DeviceMemory factory;
    std::vector<ScriptedFault> faults;
    std::deque<PendingReport> input;
    // When the last reply queued leaves the device: it answers in the order
    // the requests came, so a reply still in flight holds back the next ones.
    uint32_t lastReplyAt = 0;
    bool hasReplied = false;
    bool unplugged = false;
    int rejected = 0;
    // Between a BEGIN and its END: the only time the device answers live
    // colour reads.
    bool streamOpen = false;
};

struct SimState {
    std::mutex lock;
    std::vector<std::unique_ptr<SimDevice>> devices;
    std::vector<LogEntry> log;
    std::set<hid_device*> handles;
    FakeClock* clock = nullptr;
    int deviceCalls = 0;
    int inits = 0;
    int exits = 0;
    std::wstring globalError = SUCCESS_TEXT;
};

SimState& State()
{
    static SimState state;
    return state;
}

using Lock = std::unique_lock<std::mutex>;

uint32_t NowLocked(SimState& s)
{
    return s.clock != nullptr ? s.clock->Now() : ::GetTickCount();
}

// Waits `ms`. On the real clock the lock is released meanwhile so that other
// threads can use their own handles.
void WaitLocked(SimState& s, Lock& held, uint32_t ms)
{
    if (ms == 0)
        return;
    if (s.clock != nullptr) {
        s.clock->Advance(ms);
        return;
    }
    held.unlock();
    ::Sleep(ms);
    held.lock();
}

SimDevice* DeviceOf(SimState& s, hid_device* dev)
{
    if (dev == nullptr || s.handles.count(dev) == 0 || dev->device < 0 ||
        dev->device >= static_cast<int>(s.devices.size()))
        return nullptr;
    return s.devices[static_cast<size_t>(dev->device)].get();
}

SimDevice* PresentDevice(SimState& s, hid_device* dev)
{
    SimDevice* device = DeviceOf(s, dev);
    if (device == nullptr) {
        if (dev != nullptr && s.handles.count(dev) != 0)
            dev->lastError = L"The device is not connected.";
        return nullptr;
    }
    if (device->unplugged) {
        dev->lastError = L"The device is not connected.";
        return nullptr;
    }
    dev->lastError = SUCCESS_TEXT;
    return device;
}

struct Block {
    uint8_t* data = nullptr;
    size_t size = 0;
};

Block BlockOf(DeviceMemory& memory, uint8_t command)
{
    switch (command) {
    case CMD_READ_SETTINGS:
    case CMD_WRITE_SETTINGS:
        return {memory.settings.data(), memory.settings.size()};
    case CMD_READ_KEYMAP:
    case CMD_WRITE_KEYMAP:
        return {memory.keyMap.data(), memory.keyMap.size()};
    case CMD_WRITE_KEY_COLORS:
        return {memory.userColors.data(), memory.userColors.size()};
    case CMD_WRITE_MACROS:
        return {memory.macros.data(), memory.macros.size()};
    case CMD_WRITE_LIVE_COLORS:
    case CMD_READ_LIVE_COLORS:
        return {memory.liveColors.data(), memory.liveColors.size()};
    default:
        return {};
    }
}

bool IsReadCommand(uint8_t command)
{
    return command == CMD_READ_SETTINGS || command == CMD_READ_KEYMAP || command == CMD_READ_LIVE_COLORS;
}

bool IsFrameCommand(uint8_t command)
{
    return command == CMD_BEGIN || command == CMD_END || command == CMD_FACTORY_RESET;
}

size_t ChunkOffset(const HidReport& frame)
{
    return frame[REQ_OFFSET_LO] | (static_cast<size_t>(frame[REQ_OFFSET_HI]) << 8);
}

bool IsWellFormed(SimDevice& device, const HidReport& frame)
{
    if (frame[REQ_REPORT_ID] != REPORT_ID || frame[REQ_MARKER] != REPORT_MARKER)
        return false;
    // The frame is zero-padded to its full size, so summing to its end equals
    // summing to the last byte that was sent.
    if (frame[REQ_CHECKSUM] != ReportChecksum(frame, REPORT_SIZE))
        return false;
    const uint8_t command = frame[REQ_COMMAND];
    const size_t length = frame[REQ_LENGTH];
    const size_t offset = ChunkOffset(frame);
    if (IsFrameCommand(command))
        return length == 0 && offset == 0;
    const Block block = BlockOf(device.memory, command);
    if (block.data == nullptr)
        return false;
    return length > 0 && length <= CHUNK_DATA_SIZE && offset + length <= block.size;
}

// Carries out a well-formed request and returns the device's reply.
std::vector<uint8_t> Execute(SimDevice& device, const HidReport& frame)
{
    const uint8_t command = frame[REQ_COMMAND];
    const size_t length = frame[REQ_LENGTH];
    const size_t offset = ChunkOffset(frame);
    std::vector<uint8_t> reply(REPLY_SIZE, 0);
    reply[REPLY_ACK] = REPORT_ACK;
    reply[REQ_COMMAND - REPLY_TO_REQUEST_SHIFT] = command;
    reply[REQ_FLAG - REPLY_TO_REQUEST_SHIFT] =
        command == CMD_READ_SETTINGS ? device.config.settingsStatus : frame[REQ_FLAG];
    reply[REQ_LENGTH - REPLY_TO_REQUEST_SHIFT] = static_cast<uint8_t>(length);
    reply[REQ_OFFSET_LO - REPLY_TO_REQUEST_SHIFT] = frame[REQ_OFFSET_LO];
    reply[REQ_OFFSET_HI - REPLY_TO_REQUEST_SHIFT] = frame[REQ_OFFSET_HI];

    const Block block = BlockOf(device.memory, command);
    if (command == CMD_BEGIN || command == CMD_END)
        device.streamOpen = command == CMD_BEGIN;
    if (command == CMD_FACTORY_RESET) {
        device.memory = device.factory;
        device.streamOpen = false;
    } else if (IsReadCommand(command)) {
        // A read returns a whole chunk; bytes past the block's end read as
        // the device's fill value.
        for (size_t i = 0; i < CHUNK_DATA_SIZE; ++i)
            reply[REPLY_DATA + i] = offset + i < block.size ? block.data[offset + i] : device.config.pastEndFill;
    } else if (block.data != nullptr) {
        std::copy_n(frame.begin() + REQ_PAYLOAD, length, block.data + offset);
    }
    uint32_t sum = 0;
    for (size_t i = REQ_CHECKSUM; i < REPLY_SIZE; ++i)
        sum += reply[i];
    reply[REQ_CHECKSUM - REPLY_TO_REQUEST_SHIFT] = static_cast<uint8_t>(sum & 0xFF);
    return reply;
}

void Queue(SimDevice& device, uint32_t at, std::vector<uint8_t> bytes)
{
    auto it = std::upper_bound(device.input.begin(), device.input.end(), at,
                               [](uint32_t t, const PendingReport& p) { return t < p.at; });
    device.input.insert(it, PendingReport{at, std::move(bytes)});
}

// A reply leaves no earlier than the one before it: a late answer reaches
// the host ahead of the answers to the requests sent after it.
void QueueReply(SimDevice& device, uint32_t at, std::vector<uint8_t> bytes)
{
    if (device.hasReplied && static_cast<int32_t>(device.lastReplyAt - at) > 0)
        at = device.lastReplyAt;
    device.lastReplyAt = at;
    device.hasReplied = true;
    Queue(device, at, std::move(bytes));
}

// The first scripted fault that strikes this request, if any. Every fault
// counts the requests it matches; only the one that strikes uses up a strike.
const Fault* StrikingFault(SimDevice& device, uint8_t command)
{
    const Fault* striking = nullptr;
    for (ScriptedFault& scripted : device.faults) {
        const Fault& f = scripted.fault;
        if (f.command != ANY_COMMAND && f.command != command)
            continue;
        ++scripted.seen;
        if (scripted.seen <= f.skip)
            continue;
        if (f.times != ALWAYS && scripted.struck >= f.times)
            continue;
        if (striking == nullptr) {
            ++scripted.struck;
            striking = &scripted.fault;
        }
    }
    return striking;
}

void LogReport(SimState& s, int device, Direction direction, bool ok, bool rejected,
               const uint8_t* bytes, size_t size)
{
    LogEntry entry;
    entry.time = NowLocked(s);
    entry.device = device;
    entry.direction = direction;
    entry.ok = ok;
    entry.rejected = rejected;
    entry.bytes.assign(bytes, bytes + size);
    s.log.push_back(std::move(entry));
}

wchar_t* DupWide(const std::wstring& text)
{
    return _wcsdup(text.c_str());
}

void FillInfo(hid_device_info& info, const SimDevice& device)
{
    info.path = _strdup(device.config.path.c_str());
    info.vendor_id = device.config.vendorId;
    info.product_id = device.config.productId;
    info.serial_number = DupWide(L"");
    info.release_number = device.config.releaseNumber;
    info.manufacturer_string = DupWide(device.config.manufacturer);
    info.product_string = DupWide(device.config.product);
    info.usage_page = device.config.usagePage;
    info.usage = device.config.usage;
    info.interface_number = device.config.interfaceNumber;
    info.next = nullptr;
    info.bus_type = HID_API_BUS_USB;
}

void FreeInfoStrings(hid_device_info& info)
{
    std::free(info.path);
    std::free(info.serial_number);
    std::free(info.manufacturer_string);
    std::free(info.product_string);
    info = hid_device_info{};
}

int CopyString(const std::wstring& text, wchar_t* out, size_t maxlen)
{
    if (out == nullptr || maxlen == 0)
        return -1;
    std::wcsncpy(out, text.c_str(), maxlen);
    out[maxlen - 1] = L'\0';
    return 0;
}

}  // namespace

// ---- control interface ------------------------------------------------------

void Reset()
{
    SimState& s = State();
    Lock held(s.lock);
    for (hid_device* dev : s.handles)
        dev->device = -1;
    s.devices.clear();
    s.log.clear();
    s.clock = nullptr;
    s.deviceCalls = 0;
    s.inits = 0;
    s.exits = 0;
    s.globalError = SUCCESS_TEXT;
}

void SetClock(FakeClock* clock)
{
    SimState& s = State();
    Lock held(s.lock);
    s.clock = clock;
}

int AddDevice(const DeviceConfig& config)
{
    SimState& s = State();
    Lock held(s.lock);
    auto device = std::make_unique<SimDevice>();
    device->config = config;
    device->factory = device->memory;
    s.devices.push_back(std::move(device));
    return static_cast<int>(s.devices.size()) - 1;
}

DeviceConfig KeyboardConfig(uint16_t vendorId, uint16_t productId, const std::string& path)
{
    DeviceConfig config;
    config.vendorId = vendorId;
    config.productId = productId;
    config.product = L"Keyboard";
    config.manufacturer = L"Simulated";
    config.path = path;
    return config;
}

DeviceConfig NumpadConfig(uint16_t vendorId, uint16_t productId, const std::string& path)
{
    DeviceConfig config = KeyboardConfig(vendorId, productId, path);
    config.product = L"PLMO3-RX";
    return config;
}

void AddFault(int device, const Fault& fault)
{
    SimState& s = State();
    Lock held(s.lock);
    s.devices.at(static_cast<size_t>(device))->faults.push_back(ScriptedFault{fault});
}

void InjectInput(int device, const std::vector<uint8_t>& report, uint32_t delayMs)
{
    SimState& s = State();
    Lock held(s.lock);
    std::vector<uint8_t> bytes(report);
    bytes.resize(REPLY_SIZE, 0);
    Queue(*s.devices.at(static_cast<size_t>(device)), NowLocked(s) + delayMs, std::move(bytes));
}

void Unplug(int device)
{
    SimState& s = State();
    Lock held(s.lock);
    s.devices.at(static_cast<size_t>(device))->unplugged = true;
}

DeviceMemory& Memory(int device)
{
    SimState& s = State();
    Lock held(s.lock);
    return s.devices.at(static_cast<size_t>(device))->memory;
}

void SetFactoryMemory(int device, const DeviceMemory& memory)
{
    SimState& s = State();
    Lock held(s.lock);
    s.devices.at(static_cast<size_t>(device))->factory = memory;
}

const std::vector<LogEntry>& Log()
{
    return State().log;
}

std::vector<HidReport> Requests(int device)
{
    SimState& s = State();
    Lock held(s.lock);
    std::vector<HidReport> requests;
    for (const LogEntry& entry : s.log) {
        if (entry.device != device || entry.direction != Direction::Out || !entry.ok)
            continue;
        HidReport report{};
        std::copy_n(entry.bytes.begin(), std::min(entry.bytes.size(), report.size()), report.begin());
        requests.push_back(report);
    }
    return requests;
}

std::vector<uint8_t> Commands(int device)
{
    std::vector<uint8_t> commands;
    for (const HidReport& request : Requests(device))
        commands.push_back(request[REQ_COMMAND]);
    return commands;
}

void ClearLog()
{
    SimState& s = State();
    Lock held(s.lock);
    s.log.clear();
}

int RejectedCount(int device)
{
    SimState& s = State();
    Lock held(s.lock);
    return s.devices.at(static_cast<size_t>(device))->rejected;
}

int OpenHandleCount()
{
    SimState& s = State();
    Lock held(s.lock);
    return static_cast<int>(s.handles.size());
}

int DeviceCallCount()
{
    SimState& s = State();
    Lock held(s.lock);
    return s.deviceCalls;
}

int InitCount()
{
    return State().inits;
}

int ExitCount()
{
    return State().exits;
}

}  // namespace hidsim

// ---- hidapi's C interface -----------------------------------------------------

using namespace hidsim;

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    SimState& s = State();
    Lock held(s.lock);
    ++s.inits;
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    SimState& s = State();
    Lock held(s.lock);
    ++s.exits;
    return 0;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    SimState& s = State();
    Lock held(s.lock);
    hid_device_info* first = nullptr;
    hid_device_info** tail = &first;
    for (const auto& device : s.devices) {
        if (device->unplugged)
            continue;
        if (vendor_id != 0 && device->config.vendorId != vendor_id)
            continue;
        if (product_id != 0 && device->config.productId != product_id)
            continue;
        auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
        if (info == nullptr)
            break;
        FillInfo(*info, *device);
        *tail = info;
        tail = &info->next;
    }
    return first;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs)
{
    while (devs != nullptr) {
        hid_device_info* next = devs->next;
        FreeInfoStrings(*devs);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path)
{
    SimState& s = State();
    Lock held(s.lock);
    if (path == nullptr)
        return nullptr;
    for (size_t i = 0; i < s.devices.size(); ++i) {
        const SimDevice& device = *s.devices[i];
        if (device.unplugged || device.config.path != path)
            continue;
        if (device.config.failOpen) {
            s.globalError = L"Access is denied.";
            return nullptr;
        }
        auto* dev = new hid_device_;
        dev->device = static_cast<int>(i);
        dev->lastError = SUCCESS_TEXT;
        FillInfo(dev->info, device);
        s.handles.insert(dev);
        s.globalError = SUCCESS_TEXT;
        return dev;
    }
    s.globalError = L"The system cannot find the file specified.";
    return nullptr;
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t* /*serial_number*/)
{
    std::string path;
    {
        SimState& s = State();
        Lock held(s.lock);
        for (const auto& device : s.devices) {
            if (!device->unplugged && device->config.vendorId == vendor_id &&
                device->config.productId == product_id) {
                path = device->config.path;
                break;
            }
        }
    }
    return path.empty() ? nullptr : hid_open_path(path.c_str());
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    SimState& s = State();
    Lock held(s.lock);
    SimDevice* device = PresentDevice(s, dev);
    if (device == nullptr || data == nullptr || length == 0)
        return -1;
    ++s.deviceCalls;
    if (length > REPORT_SIZE) {
        dev->lastError = L"The parameter is incorrect.";
        return -1;
    }
    // Like the system's HID stack, a short report goes out padded with zeros.
    HidReport frame{};
    std::copy_n(data, length, frame.begin());

    const Fault* fault = StrikingFault(*device, frame[REQ_COMMAND]);
    const FaultAction action = fault != nullptr ? fault->action : FaultAction::NoReply;
    if (fault != nullptr && (action == FaultAction::Vanish || action == FaultAction::FailWrite)) {
        if (action == FaultAction::Vanish)
            device->unplugged = true;
        LogReport(s, dev->device, Direction::Out, false, false, frame.data(), frame.size());
        dev->lastError = L"The device is not connected.";
        return -1;
    }

    const bool wellFormed = IsWellFormed(*device, frame);
    // Live colours are answered only inside a stream: a read before any
    // BEGIN, or after the END of a command sequence, is refused.
    const bool outsideStream = wellFormed && frame[REQ_COMMAND] == CMD_READ_LIVE_COLORS && !device->streamOpen;
    LogReport(s, dev->device, Direction::Out, true, !wellFormed || outsideStream, frame.data(), frame.size());
    std::vector<uint8_t> reply;
    if (wellFormed && !outsideStream) {
        if (fault != nullptr && action == FaultAction::NegativeReply) {
            reply.assign(REPLY_SIZE, 0);
            reply[REPLY_ACK] = REPLY_NAK;
            reply[REQ_COMMAND - REPLY_TO_REQUEST_SHIFT] = frame[REQ_COMMAND];
        } else {
            reply = Execute(*device, frame);
        }
    } else {
        if (!wellFormed)
            ++device->rejected;
        reply.assign(REPLY_SIZE, 0);
        reply[REPLY_ACK] = REPLY_NAK;
        reply[REQ_COMMAND - REPLY_TO_REQUEST_SHIFT] = frame[REQ_COMMAND];
    }

    const uint32_t now = NowLocked(s);
    if (fault == nullptr || action == FaultAction::NegativeReply)
        QueueReply(*device, now + device->config.replyLatencyMs, std::move(reply));
    else if (action == FaultAction::LateReply)
        QueueReply(*device, now + fault->delayMs, std::move(reply));
    // NoReply: the request was carried out, but nothing comes back.
    return static_cast<int>(REPORT_SIZE);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                                 int milliseconds)
{
    SimState& s = State();
    Lock held(s.lock);
    SimDevice* device = PresentDevice(s, dev);
    if (device == nullptr || data == nullptr)
        return -1;
    ++s.deviceCalls;
    const uint32_t now = NowLocked(s);
    const bool forever = milliseconds < 0;
    const uint32_t timeout = forever ? 0 : static_cast<uint32_t>(milliseconds);
    const int32_t ahead =
        device->input.empty() ? INT32_MAX : static_cast<int32_t>(device->input.front().at - now);
    // A blocking read with nothing on its way would wait for ever; here it
    // comes back empty instead.
    if (device->input.empty() || (!forever && ahead > static_cast<int32_t>(timeout))) {
        const int index = dev->device;
        WaitLocked(s, held, timeout);
        // The handle may have been closed while the lock was released.
        return DeviceOf(s, dev) != nullptr && dev->device == index ? 0 : -1;
    }
    if (ahead > 0) {
        WaitLocked(s, held, static_cast<uint32_t>(ahead));
        device = PresentDevice(s, dev);
        if (device == nullptr || device->input.empty())
            return device == nullptr ? -1 : 0;
    }
    PendingReport report = std::move(device->input.front());
    device->input.pop_front();
    const size_t count = std::min(length, report.bytes.size());
    std::copy_n(report.bytes.begin(), count, data);
    LogReport(s, dev->device, Direction::In, true, false, report.bytes.data(), report.bytes.size());
    return static_cast<int>(count);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    bool nonblocking = false;
    {
        SimState& s = State();
        Lock held(s.lock);
        if (DeviceOf(s, dev) != nullptr)
            nonblocking = dev->nonblocking;
    }
    return hid_read_timeout(dev, data, length, nonblocking ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device* dev, int nonblock)
{
    SimState& s = State();
    Lock held(s.lock);
    if (DeviceOf(s, dev) == nullptr)
        return -1;
    dev->nonblocking = nonblock != 0;
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device* dev, const unsigned char*, size_t)
{
    SimState& s = State();
    Lock held(s.lock);
    if (PresentDevice(s, dev) != nullptr)
        dev->lastError = L"Feature reports are not supported.";
    return -1;
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device* dev, unsigned char*, size_t)
{
    return hid_send_feature_report(dev, nullptr, 0);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device* dev, unsigned char*, size_t)
{
    return hid_send_feature_report(dev, nullptr, 0);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev)
{
    SimState& s = State();
    Lock held(s.lock);
    if (dev == nullptr || s.handles.erase(dev) == 0)
        return;
    FreeInfoStrings(dev->info);
    delete dev;
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device* dev, wchar_t* string, size_t maxlen)
{
    SimState& s = State();
    Lock held(s.lock);
    const SimDevice* device = PresentDevice(s, dev);
    return device != nullptr ? CopyString(device->config.manufacturer, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen)
{
    SimState& s = State();
    Lock held(s.lock);
    const SimDevice* device = PresentDevice(s, dev);
    return device != nullptr ? CopyString(device->config.product, string, maxlen) : -1;
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device* dev, wchar_t* string, size_t maxlen)
{
    SimState& s = State();
    Lock held(s.lock);
    return PresentDevice(s, dev) != nullptr ? CopyString(L"", string, maxlen) : -1;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_get_device_info(hid_device* dev)
{
    SimState& s = State();
    Lock held(s.lock);
    return PresentDevice(s, dev) != nullptr ? &dev->info : nullptr;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device* dev, int, wchar_t*, size_t)
{
    return hid_send_feature_report(dev, nullptr, 0);
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev)
{
    SimState& s = State();
    Lock held(s.lock);
    if (dev == nullptr || s.handles.count(dev) == 0)
        return s.globalError.c_str();
    return dev->lastError.c_str();
}

HID_API_EXPORT const struct hid_api_version* HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char* HID_API_CALL hid_version_str(void)
{
    return HID_API_VERSION_STR;
}
