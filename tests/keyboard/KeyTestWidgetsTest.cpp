// The pressed-key tiles (fading on timer ticks, newest first, clipped at the
// bottom) and the test keyboard (layout centring, test states lighting the
// keys).

#include <gtest/gtest.h>

#include "tests/keyboard/PeripheralTestSupport.h"
#include "ui/keyboard/KeyTestCtrl.h"

using namespace VREL;
using peripheraltest::Bench;

namespace {

constexpr UINT kId = 70;

int Ticks(CKeyTestCtrl& control, int n)
{
    int ticked = 0;
    for (int i = 0; i < n; ++i)
        ticked += control.OnControlTimer();
    return ticked;
}

} // namespace

// A key added twice shows two tiles; each RemoveKey starts the fade of the
// oldest held one, which is gone on the 41st tick after it.
TEST(KeyTest, ReleasedKeysFadeOutOnTicksOnly)
{
    Bench bench;
    auto* keys = bench.Add<CKeyTestCtrl>(kId, CRect(0, 0, 400, 200), 1, 1);
    keys->AddKey(L"A", 4);
    keys->AddKey(L"A", 4);
    keys->AddKey(L"B", 5);
    keys->RemoveKey(4);
    EXPECT_EQ(keys->GetItem(0).level, 251);
    EXPECT_EQ(keys->GetItem(1).level, CKeyTestCtrl::kHeldLevel) << "the newer tile is still held";
    keys->RemoveKey(42);
    EXPECT_EQ(keys->GetItemCount(), 3) << "a code that is not shown changes nothing";

    // Without ticks nothing disappears.
    EXPECT_EQ(keys->GetItemCount(), 3);
    EXPECT_EQ(Ticks(*keys, 40), 40);
    EXPECT_EQ(keys->GetItemCount(), 3) << "still there after 40 ticks";
    bench.owner.Clear();
    Ticks(*keys, 1);
    ASSERT_EQ(keys->GetItemCount(), 2) << "gone on the 41st";
    EXPECT_FALSE(bench.owner.repaints.empty());
    EXPECT_EQ(keys->GetItem(0).name, CString(L"A"));
    EXPECT_EQ(keys->GetItem(0).level, CKeyTestCtrl::kHeldLevel);

    // Held keys never fade.
    Ticks(*keys, 100);
    EXPECT_EQ(keys->GetItemCount(), 2);
    keys->RemoveKey(4);
    keys->RemoveKey(4);
    Ticks(*keys, 41);
    EXPECT_EQ(keys->GetItemCount(), 1);

    // An invisible control does not tick.
    keys->SetControlVisible(0);
    EXPECT_EQ(keys->OnControlTimer(), 0);
}

// Two keys released together: one tile goes per tick, and a removal ends
// the walk, so the tile after it is counted down one tick later.
TEST(KeyTest, OneTileGoesPerTick)
{
    Bench bench;
    auto* keys = bench.Add<CKeyTestCtrl>(kId, CRect(0, 0, 400, 200), 1, 1);
    keys->AddKey(L"A", 4);
    keys->AddKey(L"B", 5);
    keys->RemoveKey(4);
    keys->RemoveKey(5);
    Ticks(*keys, 41);
    ASSERT_EQ(keys->GetItemCount(), 1);
    EXPECT_EQ(keys->GetItem(0).code, 5);
    EXPECT_EQ(keys->GetItem(0).level, 51);
    Ticks(*keys, 1);
    EXPECT_EQ(keys->GetItemCount(), 0);
}

// Newest first from (25, 10), 65 apart; rows that would start below the
// bottom margin are not drawn.
TEST(KeyTest, TilesNewestFirstClippedAtTheBottom)
{
    Bench bench;
    // Four tiles a row (x 25, 90, 155, 220), two rows (y 10, 75) fit.
    auto* keys = bench.Add<CKeyTestCtrl>(kId, CRect(0, 0, 300, 140), 1, 1);
    for (int code = 0; code < 10; ++code)
        keys->AddKey(CString(L"K"), code);
    DibCanvas canvas(300, 140, peripheraltest::kWindowArgb);
    Bench::DrawOn(*keys, canvas);
    EXPECT_EQ(keys->GetItem(9).rect, CRect(25, 10, 75, 60)) << "the newest first";
    EXPECT_EQ(keys->GetItem(8).rect, CRect(90, 10, 140, 60));
    EXPECT_EQ(keys->GetItem(5).rect, CRect(25, 75, 75, 125)) << "the fifth starts the second row";
    EXPECT_EQ(keys->GetItem(2).rect, CRect(220, 75, 270, 125));
    EXPECT_TRUE(keys->GetItem(1).rect.IsRectEmpty()) << "below the bottom margin: not drawn";
    EXPECT_TRUE(NearColor(canvas.Rgb(25, 35), 0x49FFE6, 40)) << std::hex << canvas.Rgb(25, 35);
}

TEST(KeyboardTest, LayoutIsCentredOnceBothSizesAreKnown)
{
    Bench bench;
    auto* board = bench.Add<KeyboardTestCtrl>(kId, CRect(0, 0, 400, 200), 1);
    EXPECT_EQ(board->GetDrawOffset(), CPoint(6, 6)) << "before the layout size";
    board->SetRect(CRect(0, 0, 500, 300));
    EXPECT_EQ(board->GetDrawOffset(), CPoint(6, 6));
    board->SetWidthAndHeight(300, 100);
    EXPECT_EQ(board->GetDrawOffset(), CPoint(100, 100));
    board->SetRect(CRect(20, 20, 420, 220));
    EXPECT_EQ(board->GetDrawOffset(), CPoint(50, 50));
    EXPECT_EQ(board->GetRealRect(CRect(0, 0, 40, 40)), CRect(50, 50, 90, 90));
}

// Each test state marks a key's outline and corner in its colour.
TEST(KeyboardTest, TestStatesLightTheirKeys)
{
    struct Case
    {
        const char* what;
        int state;
        uint32_t outline;
        bool corner;
    };
    const Case cases[] = {
        {"untested", KeyboardTestCtrl::KEY_UNTESTED, 0x646464, false},
        {"state 1", KeyboardTestCtrl::KEY_STATE_1, 0xE74250, true},
        {"state 2", KeyboardTestCtrl::KEY_STATE_2, 0x21A939, true},
    };
    for (const Case& c : cases)
    {
        Bench bench;
        auto* board = bench.Add<KeyboardTestCtrl>(kId, CRect(0, 0, 300, 120), 1);
        board->SetWidthAndHeight(200, 40);
        // Offset (50, 40): key 4 at (50, 40, 90, 80), key 5 at (100, 40, 140, 80).
        board->AddKeyItem(L"A", 4, L"", CRect(0, 0, 40, 40));
        board->AddKeyItem(L"B", 5, L"", CRect(50, 0, 90, 40));
        board->SetKeyState(4, c.state);
        board->SetKeyState(99, KeyboardTestCtrl::KEY_STATE_1);
        DibCanvas canvas(300, 120, peripheraltest::kWindowArgb);
        Bench::DrawOn(*board, canvas);
        EXPECT_TRUE(NearColor(canvas.Rgb(52, 60), c.outline, 30)) << c.what << std::hex << canvas.Rgb(52, 60);
        EXPECT_EQ(NearColor(canvas.Rgb(86, 45), c.outline, 30), c.corner) << c.what << std::hex
                                                                           << canvas.Rgb(86, 45);
        EXPECT_TRUE(NearColor(canvas.Rgb(102, 60), 0x646464, 30)) << c.what << ": the other key stays untested";
        EXPECT_EQ(board->GetKeyState(4), c.state) << c.what;
    }

    Bench bench;
    auto* board = bench.Add<KeyboardTestCtrl>(kId, CRect(0, 0, 300, 120), 1);
    board->AddKeyItem(L"A", 4, L"", CRect(0, 0, 40, 40));
    board->SetKeyState(4, KeyboardTestCtrl::KEY_STATE_2);
    board->ResetKeyState();
    EXPECT_EQ(board->GetKeyState(4), KeyboardTestCtrl::KEY_UNTESTED);
    board->ClearItem();
    EXPECT_EQ(board->GetItemCount(), 0);
}
