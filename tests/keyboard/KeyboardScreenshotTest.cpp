// Renders the keyboard widgets on the product theme for people to look at:
// screenshots/keyboard_picture.png shows the keyboard picture with the
// 104-key layout in each of its four modes (coloured keys, a selection and
// checked keys, a rubber band in progress), and keyboard_widgets.png the
// Fn-layer strip, both category tab looks, the value grid and both key
// pickers.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "KeyboardLayouts.h"
#include "tests/controls/ScreenshotSheet.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace VREL;
using screenshot::Box;
using screenshot::Sheet;

namespace {

constexpr int kPictureWidth = layoutfixture::kKb104Width + 2 * layoutfixture::kImageMargin;
constexpr int kPictureHeight = layoutfixture::kKb104Height + 2 * layoutfixture::kImageMargin;
constexpr int kCaptionHeight = 24;
constexpr int kRowPitch = kPictureHeight + kCaptionHeight + 16;

// A hue by the key's place from left to right, as a COLORREF.
COLORREF RainbowAt(int x, int width)
{
    const int sector = x * 6 / (width + 1);
    const int f = (x * 6 * 255 / (width + 1)) % 255;
    switch (sector)
    {
    case 0: return RGB(255, f, 0);
    case 1: return RGB(255 - f, 255, 0);
    case 2: return RGB(0, 255, f);
    case 3: return RGB(0, 255 - f, 255);
    case 4: return RGB(f, 0, 255);
    default: return RGB(255, 0, 255 - f);
    }
}

KeyboardCtrl* AddPicture(Sheet& sheet, int top, int mode, const wchar_t* caption)
{
    auto* title = sheet.Add<MText>(Box(20, top, kPictureWidth, kCaptionHeight), caption, 1);
    title->SetTextColor(Gdiplus::Color(0xFFC8C8C8));
    auto* picture = sheet.Add<KeyboardCtrl>(Box(20, top + kCaptionHeight, kPictureWidth, kPictureHeight), 1);
    picture->SetImage(L"keyboard\\kb_bkg.png", 4);
    picture->SetKeyboardCtrlMode(mode);
    picture->SetWidthAndHeight(layoutfixture::kKb104Width, layoutfixture::kKb104Height);
    for (const layoutfixture::Key& key : layoutfixture::kKb104Keys)
    {
        const CRect rect(key.left, key.top, key.left + key.width, key.top + key.height);
        EXPECT_GE(picture->AddKeyItem(key.name, key.name, key.code, rect, L"", 0), 0) << key.code;
    }
    return picture;
}

// Client centre of the first key with that code.
CPoint CentreOf(KeyboardCtrl* picture, int code) { return picture->GetKeyRect(code).CenterPoint(); }

void Click(KeyboardCtrl* picture, int code)
{
    picture->OnControlMouseMove(0, CentreOf(picture, code));
    picture->OnControlLButtonDown(MK_LBUTTON, CentreOf(picture, code));
    picture->OnControlLButtonUp(0, CentreOf(picture, code));
}

} // namespace

TEST(Screenshot, KeyboardPictureInEveryMode)
{
    Sheet sheet(kPictureWidth + 40, 4 * kRowPitch + 20);

    // None: every key a rounded shape in its colour.
    KeyboardCtrl* none = AddPicture(sheet, 16, KEYBOARD_MODE_NONE, L"Mode 100: keys in their colours");
    for (const KEY_INFO& key : none->GetKeyItems())
        none->SetKeyColor(key.keyCode, RainbowAt(key.rect.left, layoutfixture::kKb104Width) & 0x7F7F7F);

    // Custom (the keys page): the keyboard image, the clicked key and two
    // checked keys outlined.
    KeyboardCtrl* custom = AddPicture(sheet, 16 + kRowPitch, KEYBOARD_MODE_CUSTOM,
                                      L"Mode 101: keyboard image, selected and checked keys");
    custom->SetKeyboardImage(layoutfixture::kKb104Image);
    Click(custom, 41);
    custom->SetKeyCheck(26, 1);
    custom->SetKeyCheck(22, 1);

    // Light (the lighting page): key colours, frame select with a rubber
    // band being dragged over the arrow keys and part of the keypad.
    KeyboardCtrl* light = AddPicture(sheet, 16 + 2 * kRowPitch, KEYBOARD_MODE_LIGHT,
                                     L"Mode 102: key colours and a rubber band in progress");
    for (const KEY_INFO& key : light->GetKeyItems())
        light->SetKeyColor(key.keyCode, RainbowAt(key.rect.left, layoutfixture::kKb104Width));
    light->EnableFrameSelect(1);
    const CRect up = light->GetKeyRect(82);
    const CRect five = light->GetKeyRect(93);
    light->OnControlLButtonDown(MK_LBUTTON, CPoint(up.left - 30, up.top - 8));
    light->OnControlMouseMove(MK_LBUTTON, CPoint(five.right + 6, five.bottom + 60));
    EXPECT_EQ(light->IsBandActive(), 1);
    EXPECT_GT(light->GetCheckItemCount(), 5);

    // UserLight: a user's own colours: the movement keys lit, the rest dim.
    KeyboardCtrl* user = AddPicture(sheet, 16 + 3 * kRowPitch, KEYBOARD_MODE_USERLIGHT,
                                    L"Mode 103: user colours");
    user->ResetAllItemsColor(RGB(20, 40, 90));
    for (int code : {26, 4, 22, 7, 44})
        user->SetKeyColor(code, RGB(250, 120, 20));
    for (int code = 58; code <= 69; ++code)
        user->SetKeyColor(code, RGB(30, 160, 150));

    sheet.Paint();
    ASSERT_EQ(sheet.WritePng("keyboard_picture.png"), 0u);

    // Each picture drew something over the window colour: across its middle
    // at least the key rims and two key colours (the user-colour picture has
    // no more than that there).
    for (int row = 0; row < 4; ++row)
    {
        std::set<uint32_t> colours;
        const int y = 16 + row * kRowPitch + kCaptionHeight + kPictureHeight / 2;
        for (int x = 40; x < kPictureWidth; x += 5)
            colours.insert(sheet.Canvas().Rgb(x, y));
        EXPECT_GE(colours.size(), 3u) << row;  // the window colour alone would be one
    }
    sheet.Manager().ClearImgResInfo();
}

TEST(Screenshot, KeyboardTabsGridAndPickers)
{
    Sheet sheet(1180, 1060);

    auto* layers = sheet.Add<KeyLayerCtrl>(Box(20, 20, 160, 72), 1, 1);
    layers->AddKeyLayer(L"Fn Layer 1", 0);
    layers->AddKeyLayer(L"Fn Layer 2", 1);
    layers->SetSelectKeyLayer(1);

    auto* tabs = sheet.Add<KeyTypeTab>(Box(210, 20, 600, 40), 1, 1);
    for (const wchar_t* name : {L"Keyboard", L"Mouse", L"Multimedia", L"Macro", L"Function"})
        tabs->AddKeyType(name, tabs->GetItemCount());
    tabs->SetSelectKeyType(0);

    auto* tabs2 = sheet.Add<KeyTypeTab2>(Box(840, 26, 300, 28), 1, 1);
    tabs2->SetTextColor(Gdiplus::Color(0xFF141414));
    for (const wchar_t* name : {L"Basic", L"Advanced", L"System"})
        tabs2->AddKeyType(name, tabs2->GetItemCount());
    tabs2->SetSelectKeyType(1);

    auto* grid = sheet.Add<KeyValueList>(Box(20, 110, 640, 230), 1, 1);
    for (const wchar_t* name : {L"Left Click", L"Right Click", L"Middle Click", L"Forward", L"Back", L"Reset",
                                L"Scroll Up", L"Scroll Down", L"Double Click", L"Fire Key"})
        grid->AddKeyInfo(grid->GetItemCount() + 1, name, L"");
    grid->SetSelectKeyValue(2);

    auto* picker = sheet.Add<KeyFuncControl>(Box(20, 370, 1130, 300), 1);
    picker->SetTextColor(Gdiplus::Color(0xFFE6E6E6));
    picker->SetFontWidth(10);
    picker->InitItemInfo();
    picker->SetItemCheckByItemData(41, 0, 0);

    auto* compact = sheet.Add<KeyFuncControl2>(Box(20, 710, 790, 320), 1);
    compact->SetTextColor(Gdiplus::Color(0xFFE6E6E6));
    compact->SetFontWidth(10);
    compact->InitItemInfo();

    sheet.Paint();
    // Hovers need laid-out cells: move after the first painting, then paint
    // again.
    grid->OnControlMouseMove(0, CPoint(20 + 105 * 3 + 50, 110 + 25));
    picker->OnControlMouseMove(0, CPoint(20 + 240, 370 + 100 + 20));
    compact->OnControlMouseMove(0, CPoint(20 + 174 + 200, 710 + 217 + 20));
    sheet.Paint();
    ASSERT_EQ(sheet.WritePng("keyboard_widgets.png"), 0u);

    EXPECT_EQ(grid->GetHoverItem(), 3);
    EXPECT_EQ(picker->GetHoverIndex(), 42);  // "R"
    EXPECT_EQ(compact->GetHoverIndex(), 79);  // "Space"
    sheet.Manager().ClearImgResInfo();
}
