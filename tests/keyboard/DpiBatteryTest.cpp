// The DPI stage cards (grouping, children and their double reports) and the
// battery (charge to fill, text, charging, the multimedia tick).

#include <gtest/gtest.h>

#include "tests/keyboard/PeripheralTestSupport.h"
#include "tests/support/WindowInput.h"
#include "ui/controls/CheckButtons.h"
#include "ui/framework/NotifyCode.h"
#include "ui/keyboard/DpiBatteryCtrl.h"

using namespace VREL;
using peripheraltest::Bench;
using testsupport::HostDialog;
using testsupport::Report;

namespace {

constexpr UINT kBatteryId = 80;
constexpr uint32_t kLevelFill = 0xFF0000;  // frame 0 of the test theme
const wchar_t kLevelImage[] = L"battery\\img_battery_level.png";
const wchar_t kChargingImage[] = L"battery\\img_battery_charging.png";

} // namespace

// Pressing a card checks it and unchecks the checked cards of its group
// only; SetCheck leaves the group alone.
TEST(DpiCard, CardsOfAGroupExcludeEachOther)
{
    HostDialog dialog;
    dialog.Open(600, 200);
    auto* first = dialog.Add(new DPIControl(&dialog, 11, CRect(10, 10, 130, 110), 1));
    auto* second = dialog.Add(new DPIControl(&dialog, 12, CRect(140, 10, 260, 110), 1));
    auto* other = dialog.Add(new DPIControl(&dialog, 13, CRect(270, 10, 390, 110), 1));
    other->SetGroupName(L"Other");
    other->SetCheck(1);

    EXPECT_EQ(first->SetCheck(1), 1);
    EXPECT_EQ(second->SetCheck(1), 1);
    EXPECT_EQ(first->GetCheck(), 1) << "SetCheck leaves the group alone";

    first->OnControlLButtonDown(MK_LBUTTON, CPoint(70, 20));
    EXPECT_EQ(first->GetCheck(), 1);
    EXPECT_EQ(second->GetCheck(), 0);
    EXPECT_EQ(other->GetCheck(), 1) << "another group is not affected";

    second->OnControlLButtonDown(MK_LBUTTON, CPoint(200, 20));
    EXPECT_EQ(first->GetCheck(), 0);
    EXPECT_EQ(second->GetCheck(), 1);

    // A press outside the card changes nothing.
    first->OnControlLButtonDown(MK_LBUTTON, CPoint(500, 150));
    EXPECT_EQ(first->GetCheck(), 0);

    DPIControl loose(nullptr, 14, CRect(0, 0, 100, 100), 1);
    EXPECT_EQ(loose.ResetGroupCheck(), 0) << "without an owner";
}

// The card makes its check box (30) and colour button (31), both checked,
// places them at its edges, and reports their notifications twice.
TEST(DpiCard, ChildrenAreMadePlacedAndReportedTwice)
{
    HostDialog dialog;
    HWND hwnd = dialog.Open(400, 200);
    auto* card = dialog.Add(new DPIControl(&dialog, 11, CRect(20, 20, 160, 120), 1));
    ASSERT_NE(card->GetCheckBox(), nullptr);
    ASSERT_NE(card->GetColorButton(), nullptr);
    EXPECT_EQ(card->GetCheckBox()->GetControlID(), DPIControl::kCheckBoxId);
    EXPECT_EQ(card->GetColorButton()->GetControlID(), DPIControl::kColorButtonId);
    EXPECT_EQ(card->GetCheckBox()->GetCheck(), 1);
    EXPECT_EQ(card->GetColorButton()->GetCheck(), 1);
    EXPECT_EQ(card->GetCheckBox()->GetRect(), CRect(20, 50, 44, 120));
    EXPECT_EQ(card->GetColorButton()->GetRect(), CRect(140, 55, 160, 115));

    card->SetColor(RGB(10, 200, 30));
    EXPECT_EQ(card->GetColorButton()->GetColor(), RGB(10, 200, 30));
    card->SetDPIValue(1600);
    EXPECT_EQ(card->GetDPIValue(), 1600);

    testsupport::Click(hwnd, 30, 80);
    const std::vector<Report> expected = {{11, NC_CLICKED, 0, 1}, {DPIControl::kCheckBoxId, NC_CLICKED, 0, 0}};
    EXPECT_EQ(testsupport::WithCode(dialog.reports, NC_CLICKED), expected);
    EXPECT_EQ(card->GetCheckBox()->GetCheck(), 0) << "the click went to the check box";

    dialog.reports.clear();
    card->OnBaseMessage(DPIControl::kColorButtonId, NC_CLICKED, 5, 6);
    const std::vector<Report> fromColour = {{11, NC_CLICKED, 0, 2}, {DPIControl::kColorButtonId, NC_CLICKED, 5, 6}};
    EXPECT_EQ(dialog.reports, fromColour);
}

// The fill is the left part of the fill image in proportion to the charge,
// never less than none nor more than all of it.
TEST(Battery, ChargeToFill)
{
    struct Case
    {
        const char* what;
        int percent;
        int filledX;  // -1: no pixel must be filled
        // Clear of the text, which is centred on the left edge (no body).
        int emptyX;
        const wchar_t* title;
    };
    const Case cases[] = {
        {"half", 50, 30, 34, L"50%"},
        {"full", 100, 55, -1, L"100%"},
        {"empty: no fill, no text", 0, -1, 10, L""},
        {"above full is full", 150, 55, -1, L"150%"},
        {"below empty is empty", -20, -1, 40, L"-20%"},
    };
    for (const Case& c : cases)
    {
        Bench bench;
        auto* battery = bench.Add<BatteryCtrl>(kBatteryId, CRect(0, 0, 100, 28), 1, 1);
        EXPECT_EQ(battery->SetBatteryIcon(kLevelImage, kChargingImage), 1);
        battery->SetBatteryInfo(c.percent, 0);
        DibCanvas canvas(110, 28, peripheraltest::kWindowArgb);
        Bench::DrawOn(*battery, canvas);
        if (c.filledX >= 0)
        {
            EXPECT_EQ(canvas.Rgb(c.filledX, 14), kLevelFill) << c.what;
        }
        if (c.emptyX >= 0)
        {
            EXPECT_EQ(canvas.Rgb(c.emptyX, 14), peripheraltest::kWindowRgb) << c.what;
        }
        EXPECT_EQ(canvas.Rgb(66, 14), peripheraltest::kWindowRgb) << c.what << ": nothing past the fill image";
        EXPECT_EQ(battery->GetTitle(), CString(c.title)) << c.what;
    }
}

TEST(Battery, ChargingShowsTheIconKeepsTheTextAndClimbsOnTicks)
{
    Bench bench;
    auto* battery = bench.Add<BatteryCtrl>(kBatteryId, CRect(0, 0, 100, 28), 1, 1);
    EXPECT_EQ(battery->SetImage(L"battery\\img_battery_body.png", 1), 1);
    EXPECT_EQ(battery->SetImage(L"battery\\none.png", 1), 0);
    EXPECT_EQ(battery->SetImage(L"battery\\img_battery_body.png", 1), 1);
    battery->SetBatteryIcon(kLevelImage, kChargingImage);
    battery->SetBatteryInfo(40, 0);
    DibCanvas canvas(110, 28, peripheraltest::kWindowArgb);
    Bench::DrawOn(*battery, canvas);
    EXPECT_EQ(battery->GetTitle(), CString(L"40%"));

    bench.owner.Clear();
    battery->SetBatteryInfo(40, 0);
    EXPECT_TRUE(bench.owner.repaints.empty()) << "nothing changed";
    battery->SetBatteryInfo(60, 1);
    EXPECT_FALSE(bench.owner.repaints.empty());
    canvas.Fill(peripheraltest::kWindowArgb);
    Bench::DrawOn(*battery, canvas);
    EXPECT_EQ(battery->GetTitle(), CString(L"40%")) << "while charging the title keeps its last text";
    // The charging icon right of the body (64 + 5), vertically centred.
    EXPECT_NE(canvas.Rgb(75, 14), peripheraltest::kWindowRgb);

    // The fill climbs from the charge on the window's tick and starts again
    // once full.
    EXPECT_EQ(battery->GetChargingLevel(), 60);
    std::vector<int> levels;
    for (int tick = 0; tick < 25 * 6; ++tick)
    {
        bench.manager.OnMTimer(bench.manager.GetTickTimerId());
        if ((tick + 1) % 25 == 0)
            levels.push_back(battery->GetChargingLevel());
    }
    EXPECT_EQ(levels, (std::vector<int>{70, 80, 90, 100, 60, 70}));
}

// The battery is on its manager's tick list from binding until it is
// deleted: a deleted battery is never ticked.
TEST(Battery, LeavesTheTickListWhenDeleted)
{
    VREL::PaintManager manager;
    testsupport::RecordingOwner owner;
    auto* battery = new BatteryCtrl(&owner, kBatteryId, CRect(0, 0, 100, 28), 1, 1);
    battery->SetManager(&manager);
    battery->SetManager(&manager);
    EXPECT_EQ(manager.DeleteMTimer(battery), 1) << "registered once when bound";
    EXPECT_EQ(manager.DeleteMTimer(battery), 0) << "binding again does not register twice";
    manager.AddMTimer(battery);
    battery->SetBatteryInfo(10, 1);
    const void* gone = battery;
    delete battery;
    EXPECT_EQ(manager.DeleteMTimer(static_cast<MControl*>(const_cast<void*>(gone))), 0);
    // A tick after the delete reaches nothing.
    manager.OnMTimer(manager.GetTickTimerId());
}
