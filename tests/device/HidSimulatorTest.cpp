#include <hidapi/hidapi.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "tests/device/SimulatedDevices.h"

namespace {

// The simulated device must refuse what a real one would not understand,
// or every "nothing was refused" check of the other tests proves nothing.
class SimulatedDeviceChecks : public SimulatedDevices {
protected:
    void SetUp() override
    {
        SimulatedDevices::SetUp();
        device = AddKeyboard();
        handle = hid_open_path(InterfacePath(2).c_str());
        ASSERT_NE(handle, nullptr);
    }

    void TearDown() override
    {
        hid_close(handle);
        SimulatedDevices::TearDown();
    }

    // Writes the request (checksum set unless told otherwise) and returns the reply.
    HidReport Exchange(HidReport request, bool setChecksum = true)
    {
        if (setChecksum)
            request[REQ_CHECKSUM] = ReportChecksum(request, REPORT_SIZE);
        EXPECT_GT(hid_write(handle, request.data(), request.size()), 0);
        HidReport reply{};
        EXPECT_GT(hid_read_timeout(handle, reply.data(), REPLY_SIZE, 0), 0);
        return reply;
    }

    int device = -1;
    hid_device* handle = nullptr;
};

TEST_F(SimulatedDeviceChecks, RefusesMalformedRequestsAndKeepsItsMemory)
{
    uint8_t payload[CHUNK_DATA_SIZE];
    std::fill(std::begin(payload), std::end(payload), uint8_t{0x5A});
    struct Case {
        const char* name;
        std::function<HidReport()> build;
        bool setChecksum;
    };
    const Case cases[] = {
        {"wrong marker", [&] { auto r = MakeChunkRequest(CMD_WRITE_KEYMAP, payload, 56, 56, 0); r[1] = 0x54; return r; }, true},
        {"wrong checksum", [&] { auto r = MakeChunkRequest(CMD_WRITE_KEYMAP, payload, 56, 56, 0); r[4] = 1; return r; }, false},
        {"length over 56", [&] { auto r = MakeChunkRequest(CMD_WRITE_KEYMAP, payload, 56, 56, 0); r[5] = 57; return r; }, true},
        {"past the block", [&] { return MakeRequest(CMD_WRITE_KEYMAP, 56, KEYMAP_SIZE - 40); }, true},
        {"unknown command", [&] { return MakeRequest(static_cast<DeviceCommand>(0x33)); }, true},
        {"framing with a length", [&] { return MakeRequest(CMD_BEGIN, 4); }, true},
    };
    const hidsim::DeviceMemory before = hidsim::Memory(device);
    int refused = 0;
    for (const Case& c : cases) {
        const HidReport reply = Exchange(c.build(), c.setChecksum);
        EXPECT_EQ(reply[0], hidsim::REPLY_NAK) << c.name;
        EXPECT_EQ(hidsim::RejectedCount(device), ++refused) << c.name;
    }
    EXPECT_EQ(hidsim::Memory(device).keyMap, before.keyMap);

    // The same chunk, well formed, is taken at its offset.
    const HidReport reply = Exchange(MakeChunkRequest(CMD_WRITE_KEYMAP, payload, 56, KEYMAP_SIZE, 0));
    EXPECT_EQ(reply[0], REPORT_ACK);
    EXPECT_EQ(hidsim::Memory(device).keyMap[55], 0x5A);
    EXPECT_EQ(hidsim::Memory(device).keyMap[56], 0);
}

// Live colours come only inside a stream: the program must begin it again
// after any command sequence has ended it.
TEST_F(SimulatedDeviceChecks, AnswersLiveReadsOnlyBetweenBeginAndEnd)
{
    const auto liveRead = [&] { return Exchange(MakeRequest(CMD_READ_LIVE_COLORS, 56, 0))[0]; };
    const struct {
        const char* name;
        DeviceCommand before;  // CMD_READ_LIVE_COLORS: none
        uint8_t answer;
    } steps[] = {
        {"before any BEGIN", CMD_READ_LIVE_COLORS, hidsim::REPLY_NAK},
        {"after BEGIN", CMD_BEGIN, REPORT_ACK},
        {"still inside", CMD_READ_LIVE_COLORS, REPORT_ACK},
        {"after END", CMD_END, hidsim::REPLY_NAK},
        {"begun again", CMD_BEGIN, REPORT_ACK},
        {"after a factory reset", CMD_FACTORY_RESET, hidsim::REPLY_NAK},
    };
    for (const auto& step : steps) {
        if (step.before != CMD_READ_LIVE_COLORS) {
            EXPECT_EQ(Exchange(MakeRequest(step.before))[0], REPORT_ACK) << step.name;
        }
        EXPECT_EQ(liveRead(), step.answer) << step.name;
    }
    // A refused read is no malformed request.
    EXPECT_EQ(hidsim::RejectedCount(device), 0);
}

}  // namespace
