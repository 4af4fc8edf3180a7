#include "app/device/HidDeviceManager.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

const wchar_t* const NUMPAD_PRODUCT_STRING = L"PLMO3-RX";

namespace {

constexpr int FIRST_NUMPAD_KEY = 83;  // Num Lock
constexpr int LAST_NUMPAD_KEY = 99;   // keypad period

// Interface paths are ANSI text from the system; the pattern is compared
// against the upper-cased wide form.
std::wstring UpperWidePath(const char* path)
{
    std::wstring wide;
    const int chars = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (chars > 1) {
        wide.resize(static_cast<size_t>(chars));
        MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], chars);
        wide.resize(static_cast<size_t>(chars - 1));
    }
    for (wchar_t& c : wide)
        c = static_cast<wchar_t>(std::towupper(c));
    return wide;
}

size_t ClampLength(int length)
{
    return static_cast<size_t>(std::clamp(length, 0, static_cast<int>(REPORT_SIZE)));
}

}  // namespace

DeviceKind DeviceKindOfKey(int keyCode)
{
    return keyCode >= FIRST_NUMPAD_KEY && keyCode <= LAST_NUMPAD_KEY ? DEVICE_KIND_NUMPAD
                                                                      : DEVICE_KIND_KEYBOARD;
}

void HidDeviceCloser::operator()(hid_device* handle) const
{
    if (handle != nullptr)
        hid_close(handle);
}

HidDeviceManager::HidDeviceManager(Clock& clock) : clock_(clock)
{
    hid_init();
}

HidDeviceManager::~HidDeviceManager()
{
    CloseAll();
    hid_exit();
}

void HidDeviceManager::AddKnownDevice(int vendorId, int productId, const std::wstring& productName,
                                      const std::wstring& pathPattern)
{
    known_.push_back(KnownHidDevice{vendorId, productId, productName, pathPattern});
}

void HidDeviceManager::ScanDevices()
{
    // Under Wine the enumeration fails (a configuration-manager call it relies
    // on is missing) and returns no entry: the scan then simply finds nothing.
    hid_device_info* entries = hid_enumerate(0, 0);
    for (const hid_device_info* entry = entries; entry != nullptr; entry = entry->next) {
        if (entry->path == nullptr)
            continue;
        const wchar_t* listedProduct = entry->product_string != nullptr ? entry->product_string : L"";
        if (!IsKnownDevice(entry->vendor_id, entry->product_id, listedProduct))
            continue;
        const std::wstring pattern = GetPathPattern(entry->vendor_id, entry->product_id);
        if (UpperWidePath(entry->path).find(pattern) == std::wstring::npos)
            continue;

        HidDeviceHandle handle(hid_open_path(entry->path));
        if (!handle)
            continue;

        wchar_t manufacturer[STRING_BUFFER_CHARS] = {};
        wchar_t product[STRING_BUFFER_CHARS] = {};
        hid_get_manufacturer_string(handle.get(), manufacturer, STRING_BUFFER_CHARS);
        hid_get_product_string(handle.get(), product, STRING_BUFFER_CHARS);
        manufacturer[STRING_BUFFER_CHARS - 1] = L'\0';
        product[STRING_BUFFER_CHARS - 1] = L'\0';

        auto record = std::make_unique<HidDeviceRecord>();
        record->listIndex = static_cast<int>(devices_.size());
        record->kind = std::wstring(product) == NUMPAD_PRODUCT_STRING ? DEVICE_KIND_NUMPAD
                                                                      : DEVICE_KIND_KEYBOARD;
        record->vendorId = entry->vendor_id;
        record->productId = entry->product_id;
        record->path = entry->path;
        record->manufacturer = manufacturer;
        record->product = product;
        record->handle = std::move(handle);
        record->releaseNumber = entry->release_number;
        devices_.push_back(std::move(record));
    }
    hid_free_enumeration(entries);
}

void HidDeviceManager::CloseAll()
{
    // Every listed handle is closed whatever the ready flag says: a scan that
    // ran before the flag was set must not leave its interfaces open.
    ready_ = 0;
    devices_.clear();
}

hid_device* HidDeviceManager::FindByKind(int kind) const
{
    for (const auto& record : devices_) {
        if (record->kind == kind)
            return record->handle.get();
    }
    return nullptr;
}

bool HidDeviceManager::IsKnownDevice(int vendorId, int productId, const wchar_t* productString) const
{
    const wchar_t* product = productString != nullptr ? productString : L"";
    for (const KnownHidDevice& known : known_) {
        if (known.vendorId != vendorId || known.productId != productId)
            continue;
        if (known.productName.empty() || known.productName == product)
            return true;
    }
    return false;
}

std::wstring HidDeviceManager::GetPathPattern(int vendorId, int productId) const
{
    for (const KnownHidDevice& known : known_) {
        if (known.vendorId == vendorId && known.productId == productId)
            return known.pathPattern;
    }
    return std::wstring();
}

hid_device* HidDeviceManager::OpenHandle(int kind) const
{
    return ready_ != 0 ? FindByKind(kind) : nullptr;
}

bool HidDeviceManager::ReadAnswer(hid_device* handle, const HidReport& request, HidReport& reply, size_t length,
                                  int timeoutMs)
{
    const uint32_t start = clock_.Now();
    for (int reads = 0; reads < ANSWER_MAX_REPORTS; ++reads) {
        const int elapsed = static_cast<int>(clock_.Now() - start);
        if (reads > 0 && elapsed >= timeoutMs)
            break;
        HidReport report = reply;
        if (hid_read_timeout(handle, report.data(), length, std::max(timeoutMs - elapsed, 0)) <= 0)
            break;
        if (IsReplyTo(report, request)) {
            reply = report;
            return true;
        }
    }
    return false;
}

bool HidDeviceManager::Transfer(HidReport& buffer, int length, int kind)
{
    hid_device* handle = OpenHandle(kind);
    if (handle == nullptr)
        return false;
    const size_t sent = ClampLength(length);

    clock_.Sleep(TRANSFER_PRE_SLEEP_MS);
    buffer[REQ_CHECKSUM] = ReportChecksum(buffer, sent);
    HidReport work = buffer;
    if (hid_write(handle, work.data(), sent) <= 0) {
        clock_.Sleep(TRANSFER_RETRY_SLEEP_MS);
        work = buffer;
        if (hid_write(handle, work.data(), sent) <= 0)
            return true;
    }
    if (!ReadAnswer(handle, buffer, work, sent, TRANSFER_READ_TIMEOUT_MS) || !IsAcknowledged(work)) {
        clock_.Sleep(TRANSFER_REREAD_SLEEP_MS);
        ReadAnswer(handle, buffer, work, sent, TRANSFER_READ_TIMEOUT_MS);
    }
    buffer = work;
    return true;
}

bool HidDeviceManager::TransferQuick(HidReport& buffer, int length, int kind)
{
    hid_device* handle = OpenHandle(kind);
    if (handle == nullptr)
        return false;
    const size_t sent = ClampLength(length);

    buffer[REQ_CHECKSUM] = ReportChecksum(buffer, sent);
    HidReport work = buffer;
    if (hid_write(handle, work.data(), sent) <= 0) {
        clock_.Sleep(QUICK_RETRY_SLEEP_MS);
        work = buffer;
        if (hid_write(handle, work.data(), sent) <= 0)
            return IsAcknowledged(buffer);
    }
    if (ReadAnswer(handle, buffer, work, sent, QUICK_READ_TIMEOUT_MS) && IsAcknowledged(work))
        buffer = work;
    return IsAcknowledged(buffer);
}

int HidDeviceManager::DrainInput(int kind)
{
    hid_device* handle = OpenHandle(kind);
    if (handle == nullptr)
        return 0;
    HidReport scratch{};
    int dropped = 0;
    while (hid_read_timeout(handle, scratch.data(), REPORT_FRAME_SIZE, DRAIN_READ_TIMEOUT_MS) > 0) {
        if (++dropped >= DRAIN_MAX_READS)
            break;
        clock_.Sleep(DRAIN_SLEEP_MS);
    }
    return dropped;
}

bool HidDeviceManager::TransferDrained(HidReport& buffer, int /*length*/, int kind)
{
    hid_device* handle = OpenHandle(kind);
    if (handle == nullptr)
        return false;

    clock_.Sleep(DRAINED_PRE_SLEEP_MS);
    buffer[REQ_CHECKSUM] = ReportChecksum(buffer, REPORT_FRAME_SIZE);
    DrainInput(kind);

    if (hid_write(handle, buffer.data(), REPORT_FRAME_SIZE) <= 0) {
        clock_.Sleep(DRAINED_RETRY_SLEEP_MS);
        if (hid_write(handle, buffer.data(), REPORT_FRAME_SIZE) <= 0)
            return IsAcknowledged(buffer);
    }
    const HidReport request = buffer;
    for (int attempt = 0; attempt < DRAINED_READ_ATTEMPTS; ++attempt) {
        if (attempt > 0)
            clock_.Sleep(DRAINED_REREAD_SLEEP_MS);
        ReadAnswer(handle, request, buffer, REPORT_FRAME_SIZE, DRAINED_READ_TIMEOUT_MS);
        if (IsAcknowledged(buffer))
            break;
    }
    return IsAcknowledged(buffer);
}

bool HidDeviceManager::SendToAll(const HidReport& buffer)
{
    if (ready_ == 0)
        return false;
    bool sent = false;
    for (DeviceKind kind : DEVICE_KIND_ORDER) {
        if (FindByKind(kind) == nullptr)
            continue;
        HidReport copy = buffer;
        sent = Transfer(copy, static_cast<int>(REPORT_SIZE), kind) || sent;
    }
    return sent;
}

HidDeviceManager& GetHidDeviceManager()
{
    static HidDeviceManager manager(GetSystemClock());
    return manager;
}
