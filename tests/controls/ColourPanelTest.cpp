// The colour panels: a colour taken from any child of the full picker
// reaches the others and the owner; the preset column reports its index.

#include <gtest/gtest.h>

#include <functional>

#include "tests/controls/ColourTestSupport.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/SpinButton.h"
#include "ui/framework/NotifyCode.h"
#include "ui/lists/MEdit.h"

using namespace colourtest;
using VREL::CColorPalette;
using VREL::CColorSelect;

namespace {

constexpr UINT kPanelId = 900;
// Panel at (10, 10), 330 x 230: presets along the top, the field below
// them, the swatch, the spin boxes and the hexadecimal field on the right.
const CRect kPanelRect(10, 10, 340, 240);
constexpr int kHexX = 300, kHexY = 168;

struct PaletteHost
{
    PaletteHost()
    {
        hwnd = dialog.Open(400, 300);
        VREL::MControl* made = dialog.CreateControl(L"CColorPalette", kPanelId, kPanelRect, nullptr, 1, 1);
        panel = dynamic_cast<CColorPalette*>(made);
    }
    std::vector<int> Spins() const
    {
        return {panel->GetSpin(0)->GetCurValue(), panel->GetSpin(1)->GetCurValue(), panel->GetSpin(2)->GetCurValue()};
    }
    HostDialog dialog;
    HWND hwnd = nullptr;
    CColorPalette* panel = nullptr;
};

} // namespace

TEST(ColourPicker, StartsInStepWithItsField)
{
    PaletteHost h;
    ASSERT_NE(h.panel, nullptr);
    ASSERT_NE(h.panel->GetSpin(2), nullptr);
    ASSERT_NE(h.panel->GetHexEdit(), nullptr);
    EXPECT_EQ(h.panel->GetSelectColor(), RGB(51, 255, 254));
    EXPECT_EQ(h.panel->GetHexEdit()->GetTitleEx(), L"33FFFE");
    EXPECT_EQ(h.panel->GetHexEdit()->GetLimitText(), 6);
    EXPECT_EQ(h.panel->GetSelectedSwatch()->GetColor(), static_cast<COLORREF>(0x00E1FF));
    EXPECT_TRUE(h.panel->GetSelectedSwatch()->GetCheck());
    EXPECT_EQ(h.panel->GetPalette()->GetPalletHeight(), kPanelRect.Height() - 31 - 2);
}

TEST(ColourPicker, TypingSixHexDigitsSetsEverythingAndFewerReportNothing)
{
    PaletteHost h;
    ASSERT_NE(h.panel, nullptr);
    Click(h.hwnd, kHexX, kHexY);
    const HWND edit = h.panel->GetHexEdit()->GetEditHwnd();
    ASSERT_NE(edit, nullptr);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    h.dialog.reports.clear();

    Type(edit, L"ff000");
    EXPECT_TRUE(WithCode(h.dialog.reports, VREL::NC_COLOR).empty());
    EXPECT_TRUE(WithCode(h.dialog.reports, VREL::NC_TEXT_CHANGED).empty());
    EXPECT_EQ(h.Spins(), (std::vector<int>{255, 255, 255}));

    Type(edit, L"0");
    EXPECT_EQ(h.Spins(), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(h.panel->GetSelectColor(), RGB(255, 0, 0));
    EXPECT_EQ(h.panel->GetSelectedSwatch()->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(h.dialog.reports, (std::vector<Report>{{kPanelId, VREL::NC_COLOR, 0, 0x0000FF},
                                                     {CColorPalette::kHexEditId, VREL::NC_TEXT_CHANGED, 0, 0}}));
}

TEST(ColourPicker, EachChildsColourReachesTheOthersAndTheOwner)
{
    struct Case
    {
        const char* name;
        std::function<void(PaletteHost&)> act;
        COLORREF colour;
        // The child's own report that is passed on (0: none).
        UINT passedId;
        UINT passedCode;
    };
    const Case cases[] = {
        {"preset 2 pressed", [](PaletteHost& h) { Press(h.hwnd, 10 + 50 + 10, 10 + 5 + 10); }, 0x31FEFE,
         CColorPalette::kFirstPreset + 2, VREL::NC_PRESSED},
        {"spin boxes changed",
         [](PaletteHost& h) {
             h.panel->GetSpin(0)->SetCurValue(10);
             h.panel->GetSpin(1)->SetCurValue(20);
             h.panel->GetSpin(2)->SetCurValue(30);
             h.panel->OnMessage(CColorPalette::kGreenSpinId, VREL::NC_SPIN, 0, 0);
         },
         RGB(10, 20, 30), CColorPalette::kGreenSpinId, VREL::NC_SPIN},
        {"selected-colour swatch pressed", [](PaletteHost& h) { Press(h.hwnd, 10 + 280, 10 + 30); }, 0x00E1FF,
         CColorPalette::kSelectedSwatchId, VREL::NC_PRESSED},
        {"field pressed (its own report is not passed on)",
         [](PaletteHost& h) { Press(h.hwnd, 10 + 10, 37 + 10); }, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PaletteHost h;
        ASSERT_NE(h.panel, nullptr);
        h.dialog.reports.clear();
        c.act(h);
        // The field's colour is what it made of its press.
        const COLORREF colour = c.colour ? c.colour : h.panel->GetSelectColor();
        EXPECT_EQ(h.Spins(), (std::vector<int>{GetRValue(colour), GetGValue(colour), GetBValue(colour)}));
        CString hex;
        hex.Format(L"%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        EXPECT_EQ(h.panel->GetHexEdit()->GetTitleEx(), hex);
        EXPECT_EQ(h.panel->GetSelectedSwatch()->GetColor(), colour);

        std::vector<Report> expected = {{kPanelId, VREL::NC_COLOR, 0, static_cast<LPARAM>(colour)}};
        if (c.passedId)
            expected.push_back({c.passedId, c.passedCode, 0, 0});
        EXPECT_EQ(h.dialog.reports, expected);
    }
}

TEST(ColourPicker, MovingThePanelLaysItsChildrenOutAgain)
{
    PaletteHost h;
    ASSERT_NE(h.panel, nullptr);
    const CRect moved(40, 30, 370, 260);
    h.panel->SetRect(moved);
    struct Case
    {
        const char* name;
        VREL::MControl* child;
        CRect rect;
    };
    const int L = moved.left, T = moved.top, B = moved.bottom;
    const Case cases[] = {
        {"last preset", h.panel->GetPreset(7), CRect(L + 175, T + 5, L + 195, T + 25)},
        {"field", h.panel->GetPalette(), CRect(L, T + 27, L + 233, B - 4)},
        {"selected-colour swatch", h.panel->GetSelectedSwatch(), CRect(L + 235, T + 5, L + 320, T + 57)},
        {"blue spin box", h.panel->GetSpin(2), CRect(L + 260, T + 118, L + 320, T + 142)},
        {"hexadecimal field", h.panel->GetHexEdit(), CRect(L + 260, T + 146, L + 320, T + 170)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.child, nullptr);
        EXPECT_EQ(c.child->GetRect(), c.rect);
    }
    // The field's own layout follows its new rectangle.
    EXPECT_EQ(h.panel->GetPalette()->GetFieldRect().left, L);
    EXPECT_EQ(h.panel->GetPalette()->GetFieldRect().top, T + 27);
}

TEST(ColourSelect, PressedSwatchReportsItsIndexAndColourFirst)
{
    HostDialog dialog;
    const HWND hwnd = dialog.Open(200, 240);
    VREL::MControl* made = dialog.CreateControl(L"CColorSelect", 77, CRect(10, 10, 40, 200), nullptr, 1, 1);
    auto* select = dynamic_cast<CColorSelect*>(made);
    ASSERT_NE(select, nullptr);
    // Swatch 4 (magenta) lies at (10, 115)-(30, 135).
    Click(hwnd, 20, 125);
    EXPECT_EQ(dialog.reports, (std::vector<Report>{{77, VREL::NC_COLOR, 4, 0xFF00FF},
                                                   {CColorSelect::kFirstSwatch + 4, VREL::NC_PRESSED, 0, 0},
                                                   {CColorSelect::kFirstSwatch + 4, VREL::NC_CLICKED, 0, 0}}));
}

TEST(ColourSelect, SetColorIndexChecksOneUnchecksAllOrIgnoresTheRest)
{
    HostDialog dialog;
    dialog.Open(200, 240);
    VREL::MControl* made = dialog.CreateControl(L"CColorSelect", 77, CRect(10, 10, 40, 200), nullptr, 1, 1);
    auto* select = dynamic_cast<CColorSelect*>(made);
    ASSERT_NE(select, nullptr);
    auto checks = [&]() {
        std::vector<int> states;
        for (int k = 0; k < CColorSelect::kSwatchCount; ++k)
            states.push_back(select->GetSwatch(k)->GetCheck());
        return states;
    };
    select->SetColorIndex(2);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0}));
    select->SetColorIndex(7);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 1, 0, 0, 0, 0}));
    select->SetColorIndex(5);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 0, 0, 0, 1, 0}));
    select->SetColorIndex(-1);
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(dialog.reports.empty());
}
