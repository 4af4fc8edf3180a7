#pragma once

// Control side of the simulated keyboard and keypad. The simulator implements
// hidapi's C interface (hid_init, hid_enumerate, hid_open_path, hid_write,
// hid_read_timeout, ...) over a list of simulated devices, so an executable
// that links it in place of hidapi drives these devices with its own code.
// Tests configure the devices, script faults, and read the traffic log and
// each device's memory through the functions below.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/device/DeviceReport.h"

class FakeClock;

namespace hidsim {

// First byte of a reply that refuses a request.
constexpr uint8_t REPLY_NAK = 0xEE;
// Status byte the simulated device puts in byte 2 of its settings reply.
constexpr uint8_t DEFAULT_SETTINGS_STATUS = 0x01;

struct DeviceConfig {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::wstring product;       // as enumerated and as read from the open device
    std::wstring manufacturer;
    std::string path;
    int interfaceNumber = 0;
    uint16_t releaseNumber = 0x0100;
    uint16_t usagePage = 0xFF00;
    uint16_t usage = 0x0001;
    bool failOpen = false;      // hid_open_path refuses this interface
    uint32_t replyLatencyMs = 0;  // time from a request to its reply
    uint8_t settingsStatus = DEFAULT_SETTINGS_STATUS;
    uint8_t pastEndFill = 0;    // what a read returns for the bytes of its chunk past the block's end
};

// What the device keeps. Sizes are the device's blocks.
struct DeviceMemory {
    std::array<uint8_t, SETTINGS_BLOCK_SIZE> settings{};
    std::array<uint8_t, KEYMAP_SIZE> keyMap{};
    std::array<uint8_t, MACRO_BUFFER_SIZE> macros{};
    std::array<uint8_t, COLOR_TABLE_SIZE> userColors{};
    std::array<uint8_t, COLOR_TABLE_SIZE> liveColors{};
};

enum class FaultAction {
    NoReply,        // the request is taken but never answered
    NegativeReply,  // answered with REPLY_NAK in byte 0
    LateReply,      // answered after delayMs; later replies follow it, as the device answers in order
    FailWrite,      // hid_write returns -1; the device sees nothing
    Vanish,         // the device is unplugged before this request: every call fails from now on
};

constexpr int ANY_COMMAND = -1;
constexpr int ALWAYS = -1;

struct Fault {
    FaultAction action = FaultAction::NoReply;
    int command = ANY_COMMAND;  // request byte 2 that triggers it, or ANY_COMMAND
    int skip = 0;               // matching requests that pass before it strikes
    int times = 1;              // matching requests it strikes, or ALWAYS
    uint32_t delayMs = 0;       // LateReply only
};

enum class Direction {
    Out,  // a request written by the host (failed writes too, with ok false)
    In,   // a report returned by a read
};

struct LogEntry {
    uint32_t time = 0;
    int device = -1;
    Direction direction = Direction::Out;
    bool ok = true;              // Out: the write was accepted
    bool rejected = false;       // Out: the device refused it (bad marker, checksum, length, offset or command,
                                 // or a live colour read outside a BEGIN ... END stream)
    std::vector<uint8_t> bytes;  // Out: the 65-byte output report as written (padded); In: the 64-byte report
};

// Removes every device, fault, log entry and the clock; clears the call counters.
void Reset();

// Times in the log and waits of reads follow this clock; null means real time.
void SetClock(FakeClock* clock);

// Adds a device at the end of the enumeration order; returns its index.
int AddDevice(const DeviceConfig& config);
// A keyboard (product empty => "Keyboard") or keypad ready to add.
DeviceConfig KeyboardConfig(uint16_t vendorId, uint16_t productId, const std::string& path);
DeviceConfig NumpadConfig(uint16_t vendorId, uint16_t productId, const std::string& path);

void AddFault(int device, const Fault& fault);
// Queues an input report the device sends on its own, delayMs from now.
void InjectInput(int device, const std::vector<uint8_t>& report, uint32_t delayMs = 0);
// Unplugs the device: it leaves the enumeration and every call on its handles fails.
void Unplug(int device);

DeviceMemory& Memory(int device);
// What a factory reset restores; a copy of the memory at AddDevice unless set.
void SetFactoryMemory(int device, const DeviceMemory& memory);

const std::vector<LogEntry>& Log();
// Accepted requests written to one device, in order.
std::vector<HidReport> Requests(int device);
// Their command bytes, for checking a sequence's shape.
std::vector<uint8_t> Commands(int device);
void ClearLog();

// Requests the device refused for a malformed report.
int RejectedCount(int device);
// Handles opened and not yet closed, over all devices.
int OpenHandleCount();
// hid_* calls made on handles since Reset (writes and reads).
int DeviceCallCount();
int InitCount();
int ExitCount();

}  // namespace hidsim
