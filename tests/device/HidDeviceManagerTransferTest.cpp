#include <numeric>
#include <string>
#include <vector>

#include "tests/device/SimulatedDevices.h"

namespace {

using hidsim::Fault;
using hidsim::FaultAction;

enum class Variant { Transfer65, Transfer64, Quick, Drained };

struct FaultCase {
    const char* name;
    Variant variant;
    std::vector<Fault> faults;
    bool result;
    // What the buffer holds afterwards: the device's acknowledged reply, the
    // request itself (checksum set), or the negative reply.
    enum { Reply, Request, Negative } holds;
    std::vector<uint32_t> sleeps;
    uint32_t elapsed;
    size_t accepted;  // requests the device took
};

Fault Make(FaultAction action, int times = 1, uint32_t delay = 0)
{
    Fault f;
    f.action = action;
    f.times = times;
    f.delayMs = delay;
    return f;
}

// A request of the kind each variant carries, with a byte past the 64-byte
// frame set so that a checksum summed over the wrong range is refused.
HidReport RequestFor(Variant variant)
{
    uint8_t source[CHUNK_DATA_SIZE * 2];
    std::iota(source, source + sizeof(source), uint8_t{1});
    switch (variant) {
    case Variant::Transfer65:
        return MakeChunkRequest(CMD_WRITE_KEYMAP, source, sizeof(source), KEYMAP_SIZE, 1);
    case Variant::Transfer64: {
        HidReport r = MakeRequest(CMD_READ_SETTINGS, SETTINGS_READ_LENGTH);
        r[64] = 0x77;
        return r;
    }
    case Variant::Quick:
        return MakeChunkRequest(CMD_WRITE_LIVE_COLORS, source, sizeof(source), COLOR_TABLE_SIZE, 0);
    case Variant::Drained: {
        HidReport r = MakeRequest(CMD_READ_KEYMAP, CHUNK_DATA_SIZE, CHUNK_DATA_SIZE);
        r[64] = 0x77;
        return r;
    }
    }
    return {};
}

class TransferFaults : public SimulatedDevices, public ::testing::WithParamInterface<FaultCase> {
};

TEST_P(TransferFaults, RetriesWaitsAndCopiesBackAsScripted)
{
    const FaultCase& c = GetParam();
    const int keyboard = AddKeyboard();
    for (size_t i = 0; i < hidsim::Memory(keyboard).keyMap.size(); ++i)
        hidsim::Memory(keyboard).keyMap[i] = static_cast<uint8_t>(i * 3);
    ScanAll();
    for (const Fault& f : c.faults)
        hidsim::AddFault(keyboard, f);

    HidReport buffer = RequestFor(c.variant);
    const size_t sentLength = c.variant == Variant::Transfer65 || c.variant == Variant::Quick ? 65 : 64;
    HidReport request = buffer;
    request[4] = ReportChecksum(request, sentLength);

    const uint32_t start = clock.Now();
    bool result = false;
    switch (c.variant) {
    case Variant::Transfer65:
        result = manager->Transfer(buffer, 65, DEVICE_KIND_KEYBOARD);
        break;
    case Variant::Transfer64:
        result = manager->Transfer(buffer, 64, DEVICE_KIND_KEYBOARD);
        break;
    case Variant::Quick:
        result = manager->TransferQuick(buffer, 65, DEVICE_KIND_KEYBOARD);
        break;
    case Variant::Drained:
        result = manager->TransferDrained(buffer, 65, DEVICE_KIND_KEYBOARD);
        break;
    }

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(clock.Sleeps(), c.sleeps);
    EXPECT_EQ(clock.Now() - start, c.elapsed);
    EXPECT_EQ(hidsim::RejectedCount(keyboard), 0) << "checksum or layout refused by the device";
    const std::vector<HidReport> taken = hidsim::Requests(keyboard);
    ASSERT_EQ(taken.size(), c.accepted);
    for (const HidReport& r : taken) {
        for (size_t i = 0; i < sentLength; ++i)
            EXPECT_EQ(r[i], request[i]) << "byte " << i;
    }

    switch (c.holds) {
    case FaultCase::Reply:
        EXPECT_EQ(buffer[0], REPORT_ACK);
        EXPECT_EQ(buffer[1], request[2]);  // the device echoes the command
        if (c.variant == Variant::Drained) {
            for (size_t i = 0; i < CHUNK_DATA_SIZE; ++i)
                EXPECT_EQ(buffer[REPLY_DATA + i], hidsim::Memory(keyboard).keyMap[CHUNK_DATA_SIZE + i]);
        }
        break;
    case FaultCase::Request:
        EXPECT_EQ(buffer, request);
        break;
    case FaultCase::Negative:
        EXPECT_EQ(buffer[0], hidsim::REPLY_NAK);
        break;
    }
}

const Fault kNoReply = Make(FaultAction::NoReply);
const Fault kNak = Make(FaultAction::NegativeReply);
const Fault kFailOnce = Make(FaultAction::FailWrite, 1);
const Fault kFailTwice = Make(FaultAction::FailWrite, 2);

INSTANTIATE_TEST_SUITE_P(
    Transfer, TransferFaults,
    ::testing::Values(
        // Transfer: 5 ms first, reads of 100 ms, a second read 2 ms after a missing or refused reply.
        FaultCase{"GeneralAcknowledged", Variant::Transfer65, {}, true, FaultCase::Reply, {5}, 5, 1},
        FaultCase{"GeneralSixtyFourBytes", Variant::Transfer64, {}, true, FaultCase::Reply, {5}, 5, 1},
        FaultCase{"GeneralNoReply", Variant::Transfer65, {kNoReply}, true, FaultCase::Request, {5, 2}, 207, 1},
        FaultCase{"GeneralNegative", Variant::Transfer65, {kNak}, true, FaultCase::Negative, {5, 2}, 107, 1},
        FaultCase{"GeneralReplyCaughtBySecondRead", Variant::Transfer65,
                  {Make(FaultAction::LateReply, 1, 150)}, true, FaultCase::Reply, {5, 2}, 155, 1},
        FaultCase{"GeneralReplyTooLate", Variant::Transfer64, {Make(FaultAction::LateReply, 1, 300)}, true,
                  FaultCase::Request, {5, 2}, 207, 1},
        FaultCase{"GeneralWriteRetried", Variant::Transfer65, {kFailOnce}, true, FaultCase::Reply, {5, 10}, 15, 1},
        FaultCase{"GeneralWriteFailsTwice", Variant::Transfer65, {kFailTwice}, true, FaultCase::Request, {5, 10},
                  15, 0},
        // TransferQuick: no first pause, one 20 ms read, copy back only an acknowledgement.
        FaultCase{"QuickAcknowledged", Variant::Quick, {}, true, FaultCase::Reply, {}, 0, 1},
        FaultCase{"QuickNoReply", Variant::Quick, {kNoReply}, false, FaultCase::Request, {}, 20, 1},
        FaultCase{"QuickNegativeKeepsRequest", Variant::Quick, {kNak}, false, FaultCase::Request, {}, 0, 1},
        FaultCase{"QuickReplyTooLate", Variant::Quick, {Make(FaultAction::LateReply, 1, 30)}, false,
                  FaultCase::Request, {}, 20, 1},
        FaultCase{"QuickWriteRetried", Variant::Quick, {kFailOnce}, true, FaultCase::Reply, {2}, 2, 1},
        FaultCase{"QuickWriteFailsTwice", Variant::Quick, {kFailTwice}, false, FaultCase::Request, {2}, 2, 0},
        // TransferDrained: 10 ms first, a 1 ms drain read, up to three 50 ms reads 10 ms apart.
        FaultCase{"DrainedAcknowledged", Variant::Drained, {}, true, FaultCase::Reply, {10}, 11, 1},
        FaultCase{"DrainedNoReply", Variant::Drained, {kNoReply}, false, FaultCase::Request, {10, 10, 10}, 181, 1},
        FaultCase{"DrainedNegative", Variant::Drained, {kNak}, false, FaultCase::Negative, {10, 10, 10}, 131, 1},
        FaultCase{"DrainedReplyCaughtBySecondRead", Variant::Drained, {Make(FaultAction::LateReply, 1, 70)}, true,
                  FaultCase::Reply, {10, 10}, 81, 1},
        FaultCase{"DrainedWriteRetried", Variant::Drained, {kFailOnce}, true, FaultCase::Reply, {10, 10}, 21, 1},
        FaultCase{"DrainedWriteFailsTwice", Variant::Drained, {kFailTwice}, false, FaultCase::Request, {10, 10},
                  21, 0}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

using TransferTest = SimulatedDevices;

std::vector<uint8_t> Unsolicited(uint8_t first)
{
    std::vector<uint8_t> report(REPLY_SIZE, 0x11);
    report[0] = first;
    return report;
}

TEST_F(TransferTest, GeneralTransferReadsPastAnUnsolicitedReport)
{
    const int keyboard = AddKeyboard();
    ScanAll();
    hidsim::InjectInput(keyboard, Unsolicited(0x01));
    HidReport buffer = MakeRequest(CMD_BEGIN);
    EXPECT_TRUE(manager->Transfer(buffer, 65, DEVICE_KIND_KEYBOARD));
    EXPECT_EQ(buffer[0], REPORT_ACK);
    EXPECT_EQ(buffer[1], CMD_BEGIN);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{5}));  // within the first read
}

// A report that reaches a read but answers something else: the late reply to
// an earlier request, or for a read the reply to another of its chunks.
struct StrayCase {
    const char* name;
    Variant variant;
    uint8_t strayCommand;
    uint16_t strayOffset;
    uint32_t pause;      // the variant's pause before it writes
    uint32_t timeoutMs;  // its first read's time-out
};

class StrayReplies : public SimulatedDevices, public ::testing::WithParamInterface<StrayCase> {
protected:
    // An acknowledged reply as the device would send it, with its header.
    static std::vector<uint8_t> Reply(uint8_t command, uint16_t offset)
    {
        std::vector<uint8_t> reply(REPLY_SIZE, 0x99);
        reply[REPLY_ACK] = REPORT_ACK;
        reply[REQ_COMMAND - REPLY_TO_REQUEST_SHIFT] = command;
        reply[REQ_LENGTH - REPLY_TO_REQUEST_SHIFT] = CHUNK_DATA_SIZE;
        reply[REQ_OFFSET_LO - REPLY_TO_REQUEST_SHIFT] = static_cast<uint8_t>(offset);
        reply[REQ_OFFSET_HI - REPLY_TO_REQUEST_SHIFT] = static_cast<uint8_t>(offset >> 8);
        return reply;
    }

    bool Run(Variant variant, HidReport& buffer)
    {
        switch (variant) {
        case Variant::Transfer65:
            return manager->Transfer(buffer, 65, DEVICE_KIND_KEYBOARD);
        case Variant::Transfer64:
            return manager->Transfer(buffer, 64, DEVICE_KIND_KEYBOARD);
        case Variant::Quick:
            return manager->TransferQuick(buffer, 65, DEVICE_KIND_KEYBOARD);
        case Variant::Drained:
            return manager->TransferDrained(buffer, 64, DEVICE_KIND_KEYBOARD);
        }
        return false;
    }
};

TEST_P(StrayReplies, AreDroppedAndTheAnswerIsReadWithinTheSameTimeOut)
{
    const StrayCase& c = GetParam();
    hidsim::DeviceConfig config = hidsim::KeyboardConfig(VID, PID, InterfacePath(2));
    config.replyLatencyMs = c.timeoutMs / 2;
    const int keyboard = hidsim::AddDevice(config);
    hidsim::Memory(keyboard).keyMap = {};
    hidsim::Memory(keyboard).keyMap[CHUNK_DATA_SIZE] = 0x42;
    ScanAll();
    // Arrives once the variant has drained and written, before the answer.
    hidsim::InjectInput(keyboard, Reply(c.strayCommand, c.strayOffset), c.pause + 2);

    HidReport buffer = RequestFor(c.variant);
    const uint8_t command = buffer[REQ_COMMAND];
    const uint32_t start = clock.Now();
    EXPECT_TRUE(Run(c.variant, buffer));

    EXPECT_EQ(buffer[REPLY_ACK], REPORT_ACK);
    EXPECT_EQ(buffer[REQ_COMMAND - REPLY_TO_REQUEST_SHIFT], command);
    EXPECT_NE(buffer[REPLY_DATA + 1], 0x99) << "the stray report's data was taken";
    if (c.variant == Variant::Drained) {
        EXPECT_EQ(buffer[REPLY_DATA], 0x42);
    }
    // One read, no second attempt: the answer came within the first time-out.
    EXPECT_EQ(clock.Sleeps(), c.pause != 0 ? std::vector<uint32_t>{c.pause} : std::vector<uint32_t>{});
    EXPECT_EQ(clock.Now() - start, c.pause + (c.variant == Variant::Drained ? 1 : 0) + c.timeoutMs / 2);

    // The stray report alone, with the answer lost: the read gives up as if
    // nothing had come, and the buffer holds no acknowledgement.
    hidsim::ClearLog();
    clock.ClearSleeps();
    hidsim::Fault lost;
    lost.action = FaultAction::NoReply;
    hidsim::AddFault(keyboard, lost);
    hidsim::InjectInput(keyboard, Reply(c.strayCommand, c.strayOffset), c.pause + 2);
    buffer = RequestFor(c.variant);
    Run(c.variant, buffer);
    EXPECT_NE(buffer[REPLY_ACK], REPORT_ACK);
}

INSTANTIATE_TEST_SUITE_P(
    Transfer, StrayReplies,
    ::testing::Values(StrayCase{"GeneralAfterBegin", Variant::Transfer65, CMD_BEGIN, 0, 5, 100},
                      StrayCase{"SettingsReadAfterLiveRead", Variant::Transfer64, CMD_READ_LIVE_COLORS, 0, 5, 100},
                      StrayCase{"QuickAfterAnotherCommand", Variant::Quick, CMD_READ_LIVE_COLORS, 0, 0, 20},
                      StrayCase{"DrainedAfterBegin", Variant::Drained, CMD_BEGIN, 0, 10, 50},
                      StrayCase{"DrainedAfterAnotherChunk", Variant::Drained, CMD_READ_KEYMAP, 0, 10, 50}),
    [](const ::testing::TestParamInfo<StrayCase>& info) { return std::string(info.param.name); });

TEST_F(TransferTest, DrainedTransferDropsEarlierTrafficBeforeItWrites)
{
    const int keyboard = AddKeyboard();
    hidsim::Memory(keyboard).keyMap[0] = 0x42;
    ScanAll();
    // Stale acknowledgements from earlier exchanges.
    hidsim::InjectInput(keyboard, Unsolicited(REPORT_ACK));
    hidsim::InjectInput(keyboard, Unsolicited(REPORT_ACK));

    HidReport buffer = MakeRequest(CMD_READ_KEYMAP, CHUNK_DATA_SIZE, 0);
    EXPECT_TRUE(manager->TransferDrained(buffer, 64, DEVICE_KIND_KEYBOARD));
    EXPECT_EQ(buffer[1], CMD_READ_KEYMAP);
    EXPECT_EQ(buffer[REPLY_DATA], 0x42);
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{10, 10, 10}));  // pause, then one per dropped report
}

TEST_F(TransferTest, DrainStopsAtItsBoundWhenTheDeviceNeverFallsSilent)
{
    const int keyboard = AddKeyboard();
    ScanAll();
    for (int i = 0; i < 500; ++i)
        hidsim::InjectInput(keyboard, Unsolicited(0x01));

    HidReport buffer = MakeRequest(CMD_READ_KEYMAP, CHUNK_DATA_SIZE, 0);
    EXPECT_FALSE(manager->TransferDrained(buffer, 64, DEVICE_KIND_KEYBOARD));
    size_t reads = 0;
    for (const hidsim::LogEntry& e : hidsim::Log())
        reads += e.direction == hidsim::Direction::In ? 1 : 0;
    EXPECT_EQ(reads, static_cast<size_t>(HidDeviceManager::DRAIN_MAX_READS + HidDeviceManager::DRAINED_READ_ATTEMPTS *
                                                                                  HidDeviceManager::ANSWER_MAX_REPORTS));
    EXPECT_EQ(hidsim::Requests(keyboard).size(), 1u);
}

TEST_F(TransferTest, SendToAllGoesToTheKeyboardThenTheKeypadAndKeepsTheBuffer)
{
    const int numpad = AddNumpad(1);  // enumerated first
    const int keyboard = AddKeyboard(2);
    ScanAll();

    HidReport buffer = MakeRequest(CMD_BEGIN);
    const HidReport original = buffer;
    EXPECT_TRUE(manager->SendToAll(buffer));
    EXPECT_EQ(buffer, original);

    const auto& log = hidsim::Log();
    std::vector<int> writers;
    for (const hidsim::LogEntry& e : log)
        if (e.direction == hidsim::Direction::Out)
            writers.push_back(e.device);
    EXPECT_EQ(writers, (std::vector<int>{keyboard, numpad}));
    EXPECT_EQ(clock.Sleeps(), (std::vector<uint32_t>{5, 5}));
    EXPECT_EQ(hidsim::RejectedCount(keyboard) + hidsim::RejectedCount(numpad), 0);
}

TEST_F(TransferTest, SendToAllWithOnlyTheKeyboardOrNothingOpen)
{
    const int keyboard = AddKeyboard();
    ScanAll();
    EXPECT_TRUE(manager->SendToAll(MakeRequest(CMD_END)));
    EXPECT_EQ(hidsim::Commands(keyboard), (std::vector<uint8_t>{CMD_END}));

    hidsim::Reset();
    hidsim::SetClock(&clock);
    ScanAll();  // ready, but nothing found
    EXPECT_FALSE(manager->SendToAll(MakeRequest(CMD_END)));
}

TEST_F(TransferTest, VanishedDeviceFailsFastAndTheGeneralTransferStillReportsOpen)
{
    const int keyboard = AddKeyboard();
    ScanAll();
    hidsim::Unplug(keyboard);
    const uint32_t start = clock.Now();

    HidReport buffer = MakeRequest(CMD_BEGIN);
    EXPECT_TRUE(manager->Transfer(buffer, 65, DEVICE_KIND_KEYBOARD));
    EXPECT_EQ(buffer[0], REPORT_ID);
    EXPECT_EQ(buffer[1], REPORT_MARKER);
    EXPECT_FALSE(manager->TransferQuick(buffer, 65, DEVICE_KIND_KEYBOARD));
    EXPECT_FALSE(manager->TransferDrained(buffer, 64, DEVICE_KIND_KEYBOARD));
    EXPECT_EQ(clock.Now() - start, 5u + 10u + 2u + 10u + 10u);  // only the pauses, no read waits
}

}  // namespace
