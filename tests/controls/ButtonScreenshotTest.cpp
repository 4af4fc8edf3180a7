// Renders one of each basic control, in several of its looks, on the
// product theme into screenshots/buttons.png of the build folder.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "tests/controls/ScreenshotSheet.h"
#include "ui/controls/Areas.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/MText.h"
#include "ui/controls/PushButtons.h"

namespace {

using screenshot::Box;
using screenshot::Sheet;

constexpr int kWidth = 760;
constexpr int kHeight = 420;
constexpr char kOutput[] = "buttons.png";

// Puts a push button into a look: 0 normal, 1 hover, 2 pressed, 3 disabled.
void ShowLook(VREL::MControl& button, int look)
{
    const CPoint centre = button.GetRect().CenterPoint();
    if (look == 1)
        button.OnMouseMove(0, centre);
    else if (look == 2)
        button.OnLButtonDown(MK_LBUTTON, centre);
    else if (look == 3)
        button.SetEnabled(0);
}

TEST(Screenshot, BasicControlsOnTheProductTheme)
{
    Sheet sheet(kWidth, kHeight);
    const Gdiplus::Color white(0xFFFFFFFF);

    // Backgrounds first, as areas are.
    sheet.Add<VREL::CArea>(Box(500, 220, 240, 80), 1, 1)->SetTransparent(0, 0, 0x2B2B2B);
    sheet.Add<VREL::CRoundArea>(Box(500, 320, 240, 80), 1, 1)->SetFrame(1, Gdiplus::Color(0xFF49FFE6), 1);

    // Row 1: MButton in its four looks, MButton2 with an icon.
    for (int look = 0; look < 4; ++look)
    {
        auto* button = sheet.Add<VREL::MButton>(Box(20 + look * 130, 20, 120, 30), L"Apply", 1, 1);
        button->SetImage(L"btn_apply.png", 4);
        ShowLook(*button, look);
    }
    auto* button2 = sheet.Add<VREL::MButton2>(Box(540, 20, 120, 30), L"  Record", 1, 1);
    button2->SetImage(L"btn_apply.png", 4);
    button2->SetIconImage(L"icon\\icon_rec.png", 1);

    // Row 2: image buttons, text buttons, the badge and the progress.
    const wchar_t* sysButtons[] = {L"sysbtn_setting.png", L"sysbtn_min.png", L"btn_max.png", L"sysbtn_close.png"};
    for (int i = 0; i < 4; ++i)
    {
        auto* image = sheet.Add<VREL::CImageButton>(Box(20 + i * 34, 70, 30, 30), L"", 1, 1);
        image->SetImage(sysButtons[i], 4);
        ShowLook(*image, i == 3 ? 1 : 0);
    }
    for (int look = 0; look < 2; ++look)
    {
        auto* more = sheet.Add<VREL::MImageButton>(Box(170 + look * 34, 70, 30, 30), 1, 1);
        more->SetImage(L"icon_btn_moreprofile.png", 1);
        ShowLook(*more, look);
    }
    for (int look = 0; look < 2; ++look)
    {
        auto* text = sheet.Add<VREL::CTextButton>(Box(250 + look * 90, 70, 85, 30), L"Website", 1, 1);
        text->SetAlignment(1);
        text->SetFontStyle(Gdiplus::FontStyleUnderline);
        ShowLook(*text, look);
    }
    auto* upgrade = sheet.Add<VREL::UpgradeButton>(Box(440, 70, 120, 30), L"Upgrade", 1, 1);
    upgrade->SetImage(L"btn_apply.png", 4);
    upgrade->SetUpgradeStatus(1);
    auto* download = sheet.Add<VREL::DownloadButton>(Box(580, 70, 160, 30), L"Download", 1, 1);
    download->SetImage(L"btn_apply.png", 4);
    download->SetDownloadProcess(42);

    // Row 3: icon button, timer button (running, focused), help button, the
    // return buttons.
    auto* icon = sheet.Add<VREL::CIconButton>(Box(20, 120, 160, 28), L"Record", 1, 1);
    icon->SetImage(L"btn_apply.png", 4);
    icon->SetIconImage(L"icon\\icon_rec.png", 1);
    icon->SetTextRect(CRect(0, 0, 160, 28), CRect(10, 7, 37, 19));
    auto* timer = sheet.Add<VREL::CTimerButton>(Box(200, 120, 120, 30), L"Restart", 1, 1);
    timer->SetImage(L"btn_apply.png", 4);
    timer->SetRun(1);
    timer->SetControlFocus(1);
    auto* help = sheet.Add<VREL::CHelpButton>(Box(340, 124, 20, 20), L"Help", 1, 1);
    help->SetImage(L"icon_btn_defaultprofile.png", 1);
    auto* back = sheet.Add<VREL::CImageButton>(Box(380, 120, 80, 50), L"", 1, 1);
    back->SetImage(L"img_return.png", 4);
    for (int i = 0; i < 2; ++i)
    {
        auto* step = sheet.Add<VREL::MButton>(Box(480 + i * 30, 124, 24, 24), L"", 1, 1);
        step->SetImage(i ? L"img_recorditem_down.png" : L"img_recorditem_up.png", 4);
    }

    // Row 4: check boxes and radio buttons in their looks.
    const struct
    {
        int check;
        int look;
    } checkLooks[] = {{0, 0}, {0, 1}, {1, 0}, {1, 3}};
    for (int i = 0; i < 4; ++i)
    {
        auto* box = sheet.Add<VREL::CCheckButton>(Box(20 + i * 120, 190, 115, 30), L"Autorun", 1, 1);
        box->SetImage(L"btn_checkbox.png", 8);
        box->SetCheck(checkLooks[i].check);
        ShowLook(*box, checkLooks[i].look);
    }
    auto* textCheck = sheet.Add<VREL::TextCheckButton>(Box(500, 190, 100, 30), L"Text check", 1, 1);
    textCheck->SetCheck(1);
    for (int i = 0; i < 3; ++i)
    {
        auto* radio = sheet.Add<VREL::CRadioButton>(Box(20 + i * 120, 230, 115, 30), L"English", 1, 1);
        radio->SetImage(L"btn_radiobox.png", 8);
        radio->SetGroupName(L"LANGUAGE");
        radio->SetControlCheck(i == 1);
        ShowLook(*radio, i == 2 ? 3 : 0);
    }

    // Row 5: direction radios, layer tabs, selector, swatches, switches.
    const wchar_t* directions[] = {L"Left", L"Right"};
    for (int i = 0; i < 2; ++i)
    {
        auto* radio2 = sheet.Add<VREL::CRadioButton2>(Box(20 + i * 160, 280, 150, 20), directions[i], 1, 1);
        radio2->SetImage(L"img_direction.png", 8);
        radio2->SetTextColor(Gdiplus::Color(0xFF050505));
        radio2->SetControlCheck(i == 0);
    }
    const wchar_t* layers[] = {L"FN1", L"FN2"};
    for (int i = 0; i < 2; ++i)
        sheet.Add<VREL::KeyLayerButton>(Box(360 + i * 60, 275, 55, 30), layers[i], 1, 1)->SetControlCheck(i == 0);
    const COLORREF swatches[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x37B6FD};
    for (int i = 0; i < 4; ++i)
    {
        auto* swatch = sheet.Add<VREL::CColorButton>(Box(20 + i * 34, 320, 30, 30), 1, 1);
        swatch->SetColor(swatches[i]);
        swatch->SetVisibleBorder(i == 3);
        swatch->SetControlCheck(i == 1);
    }
    auto* select = sheet.Add<VREL::CSelectButton>(Box(170, 320, 110, 30), L"Select", 1, 1);
    select->SetImage(L"btn_radiobox.png", 4);
    select->SetControlCheck(1);
    for (int i = 0; i < 2; ++i)
    {
        auto* toggle = sheet.Add<VREL::CSwitchButton>(Box(300 + i * 60, 320, 50, 30), 1, 1);
        toggle->SetImage(L"img_switch_on.png", L"img_switch_off.png", 4);
        toggle->SetCheck(i == 0);
    }

    // Static text, a text box, a marked text.
    auto* text = sheet.Add<VREL::MText>(Box(510, 230, 220, 30), L"Static text", 1);
    text->SetTextColor(white);
    auto* marked = sheet.Add<VREL::MText>(Box(510, 260, 220, 30), L"Find the mark here", 1);
    marked->SetAlignment(0, 0);
    marked->SetMarkText(L"mark", Gdiplus::Color(0xFFED801B), 0);
    marked->EnableShadow(1);
    auto* textBox = sheet.Add<VREL::CTextArea>(Box(520, 340, 200, 40), L"Text area", 1, 1);
    textBox->SetTransparent(0, 0, 0x232323);
    textBox->SetFrame(1, Gdiplus::Color(0xFFFDB637), 0);

    sheet.Paint();
    ASSERT_EQ(0u, sheet.WritePng(kOutput));

    // Each control left something of its own on the window.
    for (const auto& control : sheet.Controls())
    {
        const CRect r = control->GetRect();
        bool drawn = false;
        for (int y = r.top; y < r.bottom && !drawn; ++y)
            for (int x = r.left; x < r.right && !drawn; ++x)
                drawn = sheet.Canvas().Pixel(x, y) != screenshot::kWindowArgb;
        EXPECT_TRUE(drawn) << "control " << control->GetControlID();
    }
}

} // namespace
