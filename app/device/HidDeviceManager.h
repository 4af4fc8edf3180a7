#pragma once

#include <hidapi/hidapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/device/Clock.h"
#include "app/device/DeviceReport.h"

// The two HID devices a command can address.
enum DeviceKind : int {
    DEVICE_KIND_KEYBOARD = 101,
    DEVICE_KIND_NUMPAD = 102,
};

// Product string that marks the numeric keypad (compared exactly).
extern const wchar_t* const NUMPAD_PRODUCT_STRING;

// Command sequences visit the kinds in this order.
constexpr DeviceKind DEVICE_KIND_ORDER[] = {DEVICE_KIND_KEYBOARD, DEVICE_KIND_NUMPAD};

// Key codes Num Lock (83) to keypad period (99) live on the keypad; every
// other key code lives on the keyboard.
DeviceKind DeviceKindOfKey(int keyCode);

// One model from the configuration file's catalogue.
struct KnownHidDevice {
    int vendorId = 0;
    int productId = 0;
    std::wstring productName;  // empty: any product string
    std::wstring pathPattern;  // searched in the upper-cased path; empty: any path
};

struct HidDeviceCloser {
    void operator()(hid_device* handle) const;
};
using HidDeviceHandle = std::unique_ptr<hid_device, HidDeviceCloser>;

// One opened interface.
struct HidDeviceRecord {
    int listIndex = 0;
    int kind = DEVICE_KIND_KEYBOARD;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;  // as enumerated, whole and not upper-cased
    std::wstring manufacturer;
    std::wstring product;
    std::wstring reserved;  // always empty
    HidDeviceHandle handle;
    int releaseNumber = 0;  // the main window shows record 0's as firmware version
};

// Finds the keyboard and keypad among the HID interfaces, opens them and
// exchanges request and reply reports with them. It has no lock: every scan
// and transfer runs on the main window's worker thread.
class HidDeviceManager {
public:
    // Read time-outs, pauses and bounds of the transfers, in milliseconds.
    static constexpr int TRANSFER_PRE_SLEEP_MS = 5;
    static constexpr int TRANSFER_RETRY_SLEEP_MS = 10;
    static constexpr int TRANSFER_READ_TIMEOUT_MS = 100;
    static constexpr int TRANSFER_REREAD_SLEEP_MS = 2;
    static constexpr int QUICK_RETRY_SLEEP_MS = 2;
    static constexpr int QUICK_READ_TIMEOUT_MS = 20;
    static constexpr int DRAINED_PRE_SLEEP_MS = 10;
    static constexpr int DRAIN_READ_TIMEOUT_MS = 1;
    static constexpr int DRAIN_SLEEP_MS = 10;
    static constexpr int DRAIN_MAX_READS = 32;  // a device that never stops talking cannot hang the worker
    static constexpr int DRAINED_RETRY_SLEEP_MS = 10;
    static constexpr int DRAINED_READ_TIMEOUT_MS = 50;
    static constexpr int DRAINED_REREAD_SLEEP_MS = 10;
    static constexpr int DRAINED_READ_ATTEMPTS = 3;
    // Reports one read takes while it waits for its answer; the stray ones
    // are dropped, and a device that never stops talking cannot hang the worker.
    static constexpr int ANSWER_MAX_REPORTS = 32;
    static constexpr size_t STRING_BUFFER_CHARS = 512;

    // The clock paces every transfer; it must outlive the manager.
    explicit HidDeviceManager(Clock& clock);  // hid_init
    ~HidDeviceManager();                      // CloseAll, hid_exit
    HidDeviceManager(const HidDeviceManager&) = delete;
    HidDeviceManager& operator=(const HidDeviceManager&) = delete;

    void AddKnownDevice(int vendorId, int productId, const std::wstring& productName,
                        const std::wstring& pathPattern);

    // Opens every known interface. Run CloseAll first: there is no duplicate check.
    void ScanDevices();
    // Closes every listed interface and clears the ready flag.
    void CloseAll();

    hid_device* FindByKind(int kind) const;
    bool IsKnownDevice(int vendorId, int productId, const wchar_t* productString) const;
    std::wstring GetPathPattern(int vendorId, int productId) const;

    // Every transfer takes as the reply only the answer to its own request
    // (IsReplyTo): reports that answer something else are dropped, and the
    // read goes on within the same time-out.
    //
    // General exchange: length is 65 or 64. Returns true when that kind was
    // open; the buffer then holds the reply, or the request when none came.
    bool Transfer(HidReport& buffer, int length, int kind);
    // One short attempt for streaming; true when the reply was acknowledged.
    bool TransferQuick(HidReport& buffer, int length, int kind);
    // Discards pending input, then sends 64 bytes and reads the reply into the
    // buffer; true when acknowledged. `length` is not used.
    bool TransferDrained(HidReport& buffer, int length, int kind);
    // The request to the keyboard and then the keypad, each when open; true
    // when at least one was. The buffer is not changed; replies are dropped.
    bool SendToAll(const HidReport& buffer);

    // Reads and drops input reports already waiting on that kind's interface,
    // at most DRAIN_MAX_READS of them. Returns how many were dropped.
    int DrainInput(int kind);

    int GetReady() const { return ready_; }
    void SetReady(int ready) { ready_ = ready; }

    const std::vector<std::unique_ptr<HidDeviceRecord>>& GetDevices() const { return devices_; }
    bool IsConnected() const { return !devices_.empty(); }
    const std::vector<KnownHidDevice>& GetKnownDevices() const { return known_; }

    Clock& GetClock() const { return clock_; }

private:
    hid_device* OpenHandle(int kind) const;
    // Reads until the answer to `request` comes or timeoutMs have passed.
    // True with the answer's `length` bytes in `reply`, whose other bytes keep
    // what they held; false leaves `reply` as it was.
    bool ReadAnswer(hid_device* handle, const HidReport& request, HidReport& reply, size_t length,
                    int timeoutMs);

    Clock& clock_;
    int ready_ = 0;
    std::vector<std::unique_ptr<HidDeviceRecord>> devices_;
    std::vector<KnownHidDevice> known_;
};

// The process-wide manager, built on first use with the system clock.
HidDeviceManager& GetHidDeviceManager();
