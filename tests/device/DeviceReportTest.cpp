#include <gtest/gtest.h>

#include "app/device/DeviceReport.h"

namespace {

TEST(DeviceReport, ChecksumSumsFromByteFiveToTheLastByteSent)
{
    HidReport report{};
    for (size_t i = 0; i < report.size(); ++i)
        report[i] = static_cast<uint8_t>(i * 7 + 3);
    uint32_t upTo63 = 0;
    for (size_t i = 5; i <= 63; ++i)
        upTo63 += report[i];
    EXPECT_EQ(ReportChecksum(report, 64), static_cast<uint8_t>(upTo63));
    EXPECT_EQ(ReportChecksum(report, 65), static_cast<uint8_t>(upTo63 + report[64]));
    // The header bytes before the length field never count.
    report[0] = report[1] = report[2] = report[3] = report[4] = 0xFF;
    EXPECT_EQ(ReportChecksum(report, 64), static_cast<uint8_t>(upTo63));
}

TEST(DeviceReport, FactoryResetIsMarkerCommandAndZeros)
{
    HidReport expected{};
    expected[1] = 0x55;
    expected[2] = 0xEE;
    EXPECT_EQ(MakeFactoryResetRequest(), expected);
}

TEST(DeviceReport, ChunksCarryOffsetLengthAndFiftySixBytesOfTheBuffer)
{
    uint8_t buffer[784] = {};
    for (size_t i = 0; i < sizeof(buffer); ++i)
        buffer[i] = static_cast<uint8_t>(i);

    EXPECT_EQ(ChunkCount(KEYMAP_SIZE), 14u);
    EXPECT_EQ(ChunkCount(64), 2u);
    EXPECT_EQ(ChunkCount(56), 1u);

    const HidReport last = MakeChunkRequest(CMD_WRITE_KEYMAP, buffer, sizeof(buffer), KEYMAP_SIZE, 13);
    EXPECT_EQ(last[1], 0x55);
    EXPECT_EQ(last[2], CMD_WRITE_KEYMAP);
    EXPECT_EQ(last[5], 40);
    EXPECT_EQ(last[6] | (last[7] << 8), 13 * 56);
    EXPECT_EQ(last[8], 0);
    // The payload runs past the block's 768 bytes into the sender's buffer.
    for (size_t i = 0; i < 56; ++i)
        EXPECT_EQ(last[9 + i], buffer[13 * 56 + i]) << i;

    // A source shorter than the chunk leaves the rest of the payload zero.
    const uint8_t small[60] = {1, 2, 3};
    const HidReport second = MakeChunkRequest(CMD_WRITE_MACROS, small, sizeof(small), 60, 1);
    EXPECT_EQ(second[5], 4);
    EXPECT_EQ(second[6], 56);
    EXPECT_EQ(second[9], small[56]);
    EXPECT_EQ(second[13], 0);
}

}  // namespace
