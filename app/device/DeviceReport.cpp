#include "app/device/DeviceReport.h"

#include <algorithm>

uint8_t ReportChecksum(const HidReport& report, size_t length)
{
    const size_t end = std::min(length, report.size());
    uint32_t sum = 0;
    for (size_t i = REQ_CHECKSUM_FIRST; i < end; ++i)
        sum += report[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

HidReport MakeRequest(DeviceCommand command, uint8_t length, uint16_t offset)
{
    HidReport report{};
    report[REQ_REPORT_ID] = REPORT_ID;
    report[REQ_MARKER] = REPORT_MARKER;
    report[REQ_COMMAND] = command;
    report[REQ_LENGTH] = length;
    report[REQ_OFFSET_LO] = static_cast<uint8_t>(offset & 0xFF);
    report[REQ_OFFSET_HI] = static_cast<uint8_t>(offset >> 8);
    return report;
}

HidReport MakeChunkRequest(DeviceCommand command, const uint8_t* source, size_t sourceSize,
                           size_t blockLength, size_t chunk)
{
    const size_t offset = chunk * CHUNK_DATA_SIZE;
    const size_t length = blockLength > offset ? std::min(CHUNK_DATA_SIZE, blockLength - offset) : 0;
    HidReport report = MakeRequest(command, static_cast<uint8_t>(length), static_cast<uint16_t>(offset));
    if (source != nullptr && offset < sourceSize) {
        const size_t count = std::min(CHUNK_DATA_SIZE, sourceSize - offset);
        std::copy_n(source + offset, count, report.begin() + REQ_PAYLOAD);
    }
    return report;
}

HidReport MakeFactoryResetRequest()
{
    return MakeRequest(CMD_FACTORY_RESET);
}

bool IsReplyTo(const HidReport& reply, const HidReport& request)
{
    const uint8_t command = request[REQ_COMMAND];
    if (reply[REPLY_COMMAND] != command)
        return false;
    const bool readsData =
        command == CMD_READ_SETTINGS || command == CMD_READ_KEYMAP || command == CMD_READ_LIVE_COLORS;
    if (!readsData || !IsAcknowledged(reply))
        return true;
    return reply[REPLY_OFFSET_LO] == request[REQ_OFFSET_LO] && reply[REPLY_OFFSET_HI] == request[REQ_OFFSET_HI];
}
