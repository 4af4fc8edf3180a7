// The device tile (states, reports, picture) and the device strip (records,
// selection, layout of connected tiles, hover and click report, the image
// placement rule).

#include <gtest/gtest.h>

#include "tests/keyboard/PeripheralTestSupport.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"
#include "ui/keyboard/DeviceCtrl.h"

using namespace VREL;
using peripheraltest::Bench;
using testsupport::Report;

namespace {

constexpr UINT kTileId = 61;
constexpr UINT kListId = 62;

CString Skin(const wchar_t* name) { return GetSkinFolder() + name; }

} // namespace

// The tile answers the mouse only while its device is connected; a press
// inside reports NC_PRESSED, a release inside NC_CLICKED, and a release
// outside keeps the pressed frame. State changes keep the cached frames.
TEST(DeviceTile, StatesAndReportsFollowTheMouseWhileConnected)
{
    struct Step
    {
        const char* what;
        int action;  // 0 move, 1 press, 2 release
        CPoint pt;
        int state;
        std::vector<UINT> codes;
    };
    const CRect rect(100, 100, 300, 250);
    const CPoint inside(150, 150), outside(20, 20);
    const Step steps[] = {
        {"move in", 0, inside, CDeviceCtrl::TILE_HOVER, {}},
        {"move out", 0, outside, CDeviceCtrl::TILE_NORMAL, {}},
        {"press inside", 1, inside, CDeviceCtrl::TILE_PRESSED, {NC_PRESSED}},
        {"moving while pressed", 0, outside, CDeviceCtrl::TILE_PRESSED, {}},
        {"release outside", 2, outside, CDeviceCtrl::TILE_PRESSED, {}},
        {"release inside", 2, inside, CDeviceCtrl::TILE_NORMAL, {NC_CLICKED}},
    };
    Bench bench;
    auto* tile = bench.Add<CDeviceCtrl>(kTileId, rect, 1, 1);
    tile->SetDeviceStatus(1);
    for (const Step& step : steps)
    {
        bench.owner.Clear();
        const int before = tile->GetState();
        const int handled = step.action == 0   ? tile->OnControlMouseMove(0, step.pt)
                            : step.action == 1 ? tile->OnControlLButtonDown(MK_LBUTTON, step.pt)
                                               : tile->OnControlLButtonUp(0, step.pt);
        EXPECT_EQ(handled, 1) << step.what;
        EXPECT_EQ(tile->GetState(), step.state) << step.what;
        std::vector<UINT> codes;
        for (const Report& r : bench.owner.reports)
        {
            EXPECT_EQ(r.id, kTileId);
            codes.push_back(r.code);
        }
        EXPECT_EQ(codes, step.codes) << step.what;
        // A change of frame only: the cached picture stays valid.
        for (const auto& repaint : bench.owner.repaints)
            EXPECT_EQ(repaint.redraw, 0) << step.what;
        EXPECT_EQ(bench.owner.repaints.size(), before != step.state ? 1u : 0u) << step.what;
    }

    // Not connected: the tile ignores the mouse and never reports.
    tile->SetDeviceStatus(0);
    bench.owner.Clear();
    EXPECT_EQ(tile->OnControlMouseMove(0, inside), 0);
    EXPECT_EQ(tile->OnControlLButtonDown(MK_LBUTTON, inside), 0);
    EXPECT_EQ(tile->OnControlLButtonUp(0, inside), 0);
    EXPECT_TRUE(bench.owner.reports.empty());
    EXPECT_EQ(tile->GetState(), CDeviceCtrl::TILE_NORMAL);
}

TEST(DeviceTile, ShowModeRepaintsOnlyOnAChange)
{
    Bench bench;
    auto* tile = bench.Add<CDeviceCtrl>(kTileId, CRect(0, 0, 100, 100), 1, 1);
    tile->SetShowMode(0);
    EXPECT_TRUE(bench.owner.repaints.empty());
    tile->SetShowMode(1);
    ASSERT_EQ(bench.owner.repaints.size(), 1u);
    EXPECT_EQ(bench.owner.repaints[0].redraw, 1);
}

// The picture is read from the path as given; a frame count below 1 counts
// as one frame instead of dividing by it.
TEST(DeviceTile, PictureFramesFromThePathAsGiven)
{
    struct Case
    {
        const char* what;
        CString path;
        int frames;
        int result;
        CSize frame;
    };
    const Case cases[] = {
        {"one frame", Skin(L"keyboard\\img_keyboard.png"), 1, 1, CSize(620, 220)},
        {"two frames", Skin(L"keyboard\\img_keyboard.png"), 2, 1, CSize(310, 220)},
        {"no frame count", Skin(L"keyboard\\img_keyboard.png"), 0, 1, CSize(620, 220)},
        {"negative frame count", Skin(L"keyboard\\img_keyboard.png"), -3, 1, CSize(620, 220)},
        {"below the skin folder is not looked in", L"keyboard\\img_keyboard.png", 1, 0, CSize(0, 0)},
        {"missing file", Skin(L"keyboard\\none.png"), 1, 0, CSize(0, 0)},
    };
    for (const Case& c : cases)
    {
        Bench bench;
        auto* tile = bench.Add<CDeviceCtrl>(kTileId, CRect(0, 0, 700, 300), 1, 1);
        EXPECT_EQ(tile->SetImage(c.path, c.frames), c.result) << c.what;
        EXPECT_EQ(tile->GetImageSize(), c.frame) << c.what;
    }
}

// Only shrinks, keeps the aspect and centres; a side exactly as long as the
// box's leaves the image as it is.
TEST(DeviceList, ImageRectShrinksToTheBox)
{
    struct Case
    {
        const char* what;
        int width, height;
        CRect box;
        CRect expected;
    };
    const Case cases[] = {
        {"wide image in a square", 300, 100, CRect(0, 0, 150, 150), CRect(0, 50, 150, 100)},
        {"tall image", 100, 300, CRect(10, 10, 160, 160), CRect(60, 10, 110, 160)},
        {"both larger, wider than the box", 400, 200, CRect(0, 0, 100, 100), CRect(0, 25, 100, 75)},
        {"both larger, taller than the box", 200, 400, CRect(0, 0, 100, 100), CRect(25, 0, 75, 100)},
        {"fits: centred at its size", 40, 20, CRect(0, 0, 100, 100), CRect(30, 40, 70, 60)},
        {"exactly as tall and wider keeps its size", 300, 150, CRect(0, 0, 150, 150), CRect(-75, 0, 225, 150)},
        {"no image", 0, 0, CRect(0, 0, 100, 100), CRect(50, 50, 50, 50)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CDeviceList::GetImageRect(c.width, c.height, c.box), c.expected) << c.what;
}

TEST(DeviceList, RecordsStatesAndSelection)
{
    Bench bench;
    auto* list = bench.Add<CDeviceList>(kListId, CRect(0, 0, 600, 150), 1, 1);
    EXPECT_EQ(list->GetSelectDevice(), 0) << "empty list";
    const CString board = Skin(L"device\\img_device_keyboard.png");
    const CString boardLit = Skin(L"device\\img_device_keyboard_sel.png");
    EXPECT_EQ(list->AddDevice(L"Board", 7, board, boardLit), 0);
    EXPECT_EQ(list->AddDevice(L"Pad", 9, Skin(L"device\\img_device_keypad.png"), L"missing.png"), 1);
    EXPECT_EQ(list->AddDevice(L"Board 2", 7, board, boardLit), 2);
    EXPECT_EQ(list->GetItemCount(), 3);

    // Lookups by id take the first record with it.
    list->SetDeviceState(7, 1);
    EXPECT_EQ(list->GetDeviceState(7), 1);
    EXPECT_EQ(list->GetDeviceState(9), 0);
    EXPECT_EQ(list->GetDeviceState(42), 0);

    struct Case
    {
        const char* what;
        int id;
        int selected;
    };
    list->SetDeviceState(9, 1);
    const Case cases[] = {
        {"a connected id", 9, 1},
        {"an unknown id: the first connected", 42, 0},
    };
    for (const Case& c : cases)
    {
        list->SetSelectDevice(c.id);
        EXPECT_EQ(list->GetSelectItem(), c.selected) << c.what;
    }
    list->SetDeviceState(9, 0);
    list->SetSelectDevice(9);
    EXPECT_EQ(list->GetSelectItem(), 0) << "a disconnected id: the first connected";

    // Nothing connected: no selection, which the getter turns into the
    // first record.
    list->SetAllDeviceState(0);
    list->SetSelectDevice(7);
    EXPECT_EQ(list->GetSelectItem(), -1);
    EXPECT_EQ(list->GetSelectDevice(), 7);
    EXPECT_EQ(list->GetSelectItem(), 0);

    list->ClearList();
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetHoverItem(), -1);
    EXPECT_EQ(list->GetSelectDevice(), 0);
}

// Connected devices get 200-pixel tiles 220 apart; a release over a
// connected tile selects it and reports NC_CLICKED.
TEST(DeviceList, ConnectedTilesAreLaidOutHoveredAndClicked)
{
    Bench bench;
    const CRect rect(10, 20, 710, 220);
    auto* list = bench.Add<CDeviceList>(kListId, rect, 1, 1);
    const CString board = Skin(L"device\\img_device_keyboard.png");
    const CString boardLit = Skin(L"device\\img_device_keyboard_sel.png");
    for (int id : {1, 2, 3})
        list->AddDevice(L"Board", id, board, boardLit);
    list->SetDeviceState(1, 1);
    list->SetDeviceState(3, 1);
    DibCanvas canvas(720, 230, peripheraltest::kWindowArgb);
    Bench::DrawOn(*list, canvas);

    const int tileHeight = rect.Height() - list->GetFontWidth();
    EXPECT_EQ(list->GetItemRect(0), CRect(0, 0, 200, tileHeight));
    EXPECT_TRUE(list->GetItemRect(1).IsRectEmpty()) << "a disconnected device takes no room";
    EXPECT_EQ(list->GetItemRect(2), CRect(220, 0, 420, tileHeight));

    struct Case
    {
        const char* what;
        CPoint pt;
        int hover;
        bool reported;
    };
    const Case cases[] = {
        {"over the second connected tile", CPoint(rect.left + 300, rect.top + 50), 2, true},
        {"in the gap between tiles", CPoint(rect.left + 210, rect.top + 50), -1, false},
        {"over the first tile", CPoint(rect.left + 5, rect.top + 5), 0, true},
        {"outside the control", CPoint(5, 5), -1, false},
    };
    for (const Case& c : cases)
    {
        bench.owner.Clear();
        list->OnControlMouseMove(0, c.pt);
        EXPECT_EQ(list->GetHoverItem(), c.hover) << c.what;
        list->OnControlLButtonUp(0, c.pt);
        EXPECT_EQ(bench.owner.CountCode(NC_CLICKED), c.reported ? 1 : 0) << c.what;
        if (c.reported)
        {
            EXPECT_EQ(list->GetSelectItem(), c.hover) << c.what;
        }
    }

    // Everything fits: the wheel passes on.
    EXPECT_EQ(list->OnControlScroll(0, 1, CPoint(rect.left + 5, rect.top + 5)), 0);
}
