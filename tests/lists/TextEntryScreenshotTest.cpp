// Renders the combo boxes (one with its list open), the colour swatch, the
// framed and logon edits and the spin box on the product theme into
// screenshots/text_entry.png of the build folder.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "tests/controls/ScreenshotSheet.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/Render.h"
#include "ui/lists/ComboBox.h"
#include "ui/lists/ComboDropDown.h"
#include "ui/lists/RichEditControls.h"

using namespace VREL;

namespace {

using screenshot::Box;
using screenshot::Sheet;

constexpr int kWidth = 640;
constexpr int kHeight = 340;
constexpr char kOutput[] = "text_entry.png";
const Gdiplus::Color kLightText(0xFF, 0xE6, 0xE6, 0xE6);

template <class Combo>
Combo* AddCombo(Sheet& sheet, CRect rect, const wchar_t* image, int frames)
{
    auto* combo = sheet.Add<Combo>(rect, 1, 1);
    combo->SetImage(image, frames);
    combo->SetFontWidth(14);
    for (const wchar_t* text : {L"Profile 1", L"Profile 2", L"Gaming", L"Office", L"Streaming", L"Night"})
        combo->AddItem(text, 0);
    combo->SetCurSel(0);
    return combo;
}

} // namespace

TEST(Screenshot, TextEntryOnTheProductTheme)
{
    Sheet sheet(kWidth, kHeight);

    // Column 1: a combo whose list is open below it. The drop-down's
    // background and its list are drawn where the popup would stand.
    auto* open = AddCombo<MComboBox>(sheet, Box(20, 20, 200, 32), L"img_combobox.png", 4);
    open->SetCurSel(2);
    const CRect dropRect = Box(20, 54, 200, open->DropDownHeight(open->GetItemCount()));
    ImgResInfo* back = sheet.Manager().AddImgResInfo(L"img_combobox_bkg.png", 1);
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->image, nullptr);
    auto* list = sheet.Add<CComboBoxList>(CRect(dropRect.left + 2, dropRect.top + 2, dropRect.right - 2,
                                                dropRect.bottom - 2),
                                          1, 1);
    for (int i = 0; i < open->GetItemCount(); ++i)
        list->AddItem(open->GetItemText(i), i, L"", 0xFF000000);
    list->SetFont(L"Segoe UI", 14, Gdiplus::FontStyleRegular);

    // Column 2: combos in their looks, the device selector and the swatch.
    auto* idle = AddCombo<MComboBox>(sheet, Box(260, 20, 160, 32), L"img_combobox.png", 4);
    idle->SetCurSel(1);
    auto* hover = AddCombo<MComboBox>(sheet, Box(260, 64, 160, 32), L"img_combobox.png", 4);
    hover->SetCurSel(3);
    hover->OnMouseMove(0, CPoint(300, 80));
    auto* disabled = AddCombo<MComboBox>(sheet, Box(260, 108, 160, 32), L"img_combobox.png", 4);
    disabled->SetCurSel(4);
    disabled->SetEnabled(0);
    auto* device = AddCombo<MComboBox2>(sheet, Box(260, 152, 160, 32), L"combobox_device_dropdown.png", 1);
    device->SetTextColor(kLightText);
    device->SetCurSel(5);
    auto* swatch = sheet.Add<CColorCombo>(Box(440, 20, 60, 32), 1, 1);
    swatch->SetAreaColor(0xFF49FFE6);
    auto* offSwatch = sheet.Add<CColorCombo>(Box(520, 20, 60, 32), 1, 1);
    offSwatch->SetAreaColor(0xFFFDB637);
    offSwatch->SetEnabled(0);

    // Column 3: the framed edit, the logon edits (tip only, and with text
    // under its shrunk label) and the spin box.
    auto* framed = sheet.Add<MEditEx>(Box(440, 70, 180, 32), L"Macro name", 1, 1);
    framed->SetImage(L"img_edit.png", 4);
    framed->SetTextColor(kLightText);
    framed->SetTitle(L"Fire burst");
    auto* tipOnly = sheet.Add<MEditEx>(Box(440, 112, 180, 32), L"Search keys", 1, 1);
    tipOnly->SetImage(L"img_edit.png", 4);
    auto* logonEmpty = sheet.Add<CLogonEdit>(Box(260, 210, 180, 46), L"User", 1, 1);
    logonEmpty->SetIconImage(L"icon/icon_logon_user.png", 1);
    auto* logon = sheet.Add<CLogonEdit>(Box(260, 270, 180, 46), L"User", 1, 1);
    logon->SetIconImage(L"icon/icon_logon_user.png", 1);
    logon->SetTextColor(kLightText);
    logon->SetTitle(L"player_one");
    auto* spin = sheet.Add<CSpinButton>(Box(440, 160, 90, 30), 1, 1);
    spin->SetImage(L"img_edit.png", 4);
    spin->SetTextColor(kLightText);
    spin->SetRange(0, 255);
    spin->SetCurValue(128);

    // The drop-down's background under its list, then every control.
    {
        Gdiplus::Graphics graphics(sheet.Canvas().Dc());
        MRender::DrawImageFrame(graphics, back->image, dropRect, 0, 0, back->frameWidth, back->frameHeight, 6);
    }
    sheet.Paint();
    list->OnMouseMove(0, CPoint(60, dropRect.top + 2 + 30 + 15));
    list->SetUpdate(0, 0);
    {
        Gdiplus::Graphics graphics(sheet.Canvas().Dc());
        MRender::DrawImageFrame(graphics, back->image, dropRect, 0, 0, back->frameWidth, back->frameHeight, 6);
    }
    sheet.Paint();
    ASSERT_EQ(sheet.WritePng(kOutput), 0u);

    // Something was drawn in every part of the sheet.
    std::set<uint32_t> colours;
    for (int y : {36, 120, 175, 240, 290})
        for (int x = 20; x < 620; x += 3)
            colours.insert(sheet.Canvas().Rgb(x, y));
    EXPECT_GT(colours.size(), 6u);
    // The open list shows its rows' text over its background.
    std::set<uint32_t> listColours;
    for (int x = dropRect.left + 4; x < dropRect.left + 80; ++x)
        listColours.insert(sheet.Canvas().Rgb(x, dropRect.top + 2 + 15));
    EXPECT_GT(listColours.size(), 2u);
    sheet.Manager().ClearImgResInfo();
}
