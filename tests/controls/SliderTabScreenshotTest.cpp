// Renders the sliders, spin box, tab strips, pictures, progress bar and level
// control on the product theme into screenshots/sliders_tabs.png of the build
// folder.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "tests/controls/ScreenshotSheet.h"
#include "ui/controls/Picture.h"
#include "ui/controls/Progress.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SpinButton.h"
#include "ui/controls/TabCtrl.h"

using namespace VREL;

namespace {

using screenshot::Box;
using screenshot::Sheet;

constexpr int kWidth = 640;
constexpr int kHeight = 300;
constexpr char kOutput[] = "sliders_tabs.png";

} // namespace

TEST(Screenshot, SlidersTabsPicturesAndBarsOnTheProductTheme)
{
    Sheet sheet(kWidth, kHeight);

    // Row 1: the horizontal tab strip with its select bar, the vertical one
    // with icons (the close strip stands in for tab icons).
    auto* tabs = sheet.Add<MTabCtrl>(Box(20, 20, 400, 40), 1, 1);
    tabs->SetTabCtrlHeight(40);
    tabs->SetFontWidth(15);
    for (const wchar_t* caption : {L"Keys", L"Lighting", L"Macro", L"Settings"})
        tabs->InsertItem(0, caption, L"", nullptr, -1, 0);
    tabs->SetItemWidth(100, 100, 1);
    tabs->SetSelectItem(1);
    auto* icons = sheet.Add<MTabCtrl>(Box(560, 20, 40, 130), 1, 1);
    icons->SetTabType(TAB_TYPE_VERTICAL);
    icons->SetTabCtrlWidth(40);
    icons->SetTabCtrlHeight(40);
    for (int i = 0; i < 3; ++i)
        icons->InsertItem(static_cast<UINT>(i), L"", L"img_sys_close.png", nullptr, 4, 0);
    icons->SetSelectItem(2);
    icons->OnMouseMove(0, CPoint(580, 40));

    // Row 2: the sliders and the spin box.
    auto* slider = sheet.Add<MSlider>(Box(20, 80, 216, 40), 1, 1);
    slider->SetMaxProgress(100);
    slider->SetProgress(42);
    auto* bar = sheet.Add<MSlider2>(Box(260, 80, 160, 26), 1, 1);
    bar->SetMaxProgress(5);
    bar->SetProgress(3);
    auto* spin = sheet.Add<MSpinButton>(Box(440, 80, 60, 24), 1, 1);
    spin->SetRange(0, 255);
    spin->SetCurValue(128);
    spin->SetImage(L"img_tip_bk.png", 1);

    // Row 3: progress and level.
    auto* progress = sheet.Add<MProgress>(Box(20, 140, 300, 20), 1, 1);
    progress->SetProgress(40);
    auto* level = sheet.Add<MLevelCtrl>(Box(20, 175, 300, 20), 1, 1);
    level->SetLevelValue(6);

    // Row 4: pictures: a nine-grid, a tiled strip and the loading animation.
    auto* grid = sheet.Add<MPicture>(Box(20, 210, 160, 70), 1, 1);
    grid->SetImage(L"img_tip_bk.png", 1);
    grid->SetShowMode(SHOW_MODE_FRAME, 8);
    auto* tiles = sheet.Add<MPicture>(Box(200, 210, 130, 70), 1, 1);
    tiles->SetImage(L"img_sys_close.png", 4);
    tiles->SetShowMode(SHOW_MODE_TILE, 0);
    auto* gif = sheet.Add<CGifPicture>(Box(350, 210, 232, 58), 1, 1);
    gif->SetImage(L"loading\\loading.gif", 1);

    sheet.Paint();
    ASSERT_EQ(sheet.WritePng(kOutput), 0u);

    // Something of every row was drawn over the window colour.
    std::set<uint32_t> colours;
    for (int y : {40, 90, 150, 245})
        for (int x = 20; x < 420; x += 3)
            colours.insert(sheet.Canvas().Rgb(x, y));
    EXPECT_GT(colours.size(), 4u);
    sheet.Manager().ClearImgResInfo();
}
