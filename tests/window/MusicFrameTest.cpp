// Music frames from the spectrum picture to the simulated keyboard: the key
// grid samples the visualizer's front image and the live colour frame
// carries those colours to each key's place.

#include <algorithm>

#include "app/window/MusicGrid.h"
#include "app/window/Visualizer.h"
#include "tests/device/DeviceLinkTestBed.h"

namespace {

using namespace tarnwell;

// Nothing plays.
class Silence : public SampleSource
{
public:
    void Drain(std::vector<float>&) override {}
};

class MusicFrameTest : public DeviceLinkTestBed
{
protected:
    // A two-row grid of three keys, and where the layout puts them.
    void SetUpGrid()
    {
        uint8_t cells[MusicGrid::MAX_ROWS][MusicGrid::MAX_COLUMNS] = {};
        cells[0][0] = 0x29;
        cells[0][1] = MusicGrid::SKIPPED_CELL;
        cells[1][0] = 0x04;
        cells[1][5] = 0x16;
        grid_.SetCells(2, 6, cells);
        grid_.Build();
        host_.layout = {{0x29, 0}, {0x04, 30}, {0x16, 31}, {0x05, 40}};
    }

    // One frame as the worker's idle step sends it.
    void SendFrame(Visualizer& visualizer)
    {
        std::vector<KeyColorEntry> colours;
        grid_.Sample(visualizer.FrontImage(), colours);
        host_.keys = colours;
        link_->WriteLiveColors();
    }

    static int ColourAt(const std::array<uint8_t, COLOR_TABLE_SIZE>& table, int position)
    {
        const size_t at = static_cast<size_t>(position) * 3;
        return table[at] | (table[at + 1] << 8) | (table[at + 2] << 16);
    }

    MusicGrid grid_;
};

TEST_F(MusicFrameTest, SilenceSendsTheBackgroundToEveryGridKey)
{
    const int keyboard = AddKeyboard();
    SetUpGrid();
    Connect();

    const struct
    {
        int background;
        int brightness;
        int expected;
    } cases[] = {
        {0, 100, 0x000000},
        {6, 100, 0xFDFDFD},
        {7, 50, 0x00007E},
    };
    for (const auto& c : cases) {
        Silence silence;
        Visualizer visualizer;
        visualizer.UseSampleSource(&silence);
        visualizer.backgroundEffect = c.background;
        visualizer.backgroundBrightness = c.brightness;
        visualizer.RenderFrame();
        hidsim::Memory(keyboard).liveColors.fill(0xAA);
        hidsim::ClearLog();
        SendFrame(visualizer);

        const std::vector<HidReport> frames = RequestsOf(keyboard, CMD_WRITE_LIVE_COLORS);
        ASSERT_EQ(frames.size(), 7u) << "background " << c.background;
        const auto& table = hidsim::Memory(keyboard).liveColors;
        for (int position : {0, 30, 31})
            EXPECT_EQ(ColourAt(table, position), c.expected) << "background " << c.background << " at " << position;
        // A key that no cell names is sent dark.
        EXPECT_EQ(ColourAt(table, 40), 0) << "background " << c.background;
    }
}

} // namespace
