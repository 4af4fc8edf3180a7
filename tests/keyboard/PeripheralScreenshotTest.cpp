// Renders the peripheral widgets on the product theme into
// screenshots/peripherals.png of the build folder: the home page's device
// tile connected and not connected, a device strip of two keyboards, the
// key-test widgets with keys pressed, DPI stage cards, the battery at several
// levels, the grouped function picker, the function type and value grids,
// and the extended menu open with its list.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "tests/controls/ScreenshotSheet.h"
#include "tests/support/WindowInput.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MenuExWnd.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/DeviceCtrl.h"
#include "ui/keyboard/DpiBatteryCtrl.h"
#include "ui/keyboard/KeyFuncCtrl.h"
#include "ui/keyboard/KeyFuncLists.h"
#include "ui/keyboard/KeyTestCtrl.h"

using namespace VREL;

namespace {

using screenshot::Box;
using screenshot::Sheet;

constexpr int kWidth = 1400;
constexpr int kHeight = 1240;
constexpr char kOutput[] = "peripherals.png";
constexpr UINT kMenuMessage = WM_USER + 77;

const Gdiplus::Color kLight(0xFFE6E6E6);

void Label(Sheet& sheet, int x, int y, const wchar_t* text)
{
    auto* label = sheet.Add<MText>(Box(x, y, 600, 20), text, 1);
    label->SetTextColor(Gdiplus::Color(0xFF9A9A9A));
}

struct MenuEntry
{
    const wchar_t* text;
    int data;
    const wchar_t* icon;
};

// Opens the extended menu at a screen point, hovers its second row and
// copies what the window shows into the sheet at (x, y).
void ShootMenu(Sheet& sheet, int x, int y)
{
    const MenuEntry entries[] = {
        {L"Key", 1, L"icon\\icon_functype_key.png"},
        {L"Media", 2, L"icon\\icon_functype_media.png"},
        {L"Macro", 3, L"icon\\icon_functype_macro.png"},
        {L"Function keys", 4, L""},
        {L"Lighting", 5, L"icon\\icon_functype_light.png"},
        {L"System", 6, L"icon\\icon_functype_system.png"},
    };
    const CRect place(60, 60, 160, 60 + 360);
    auto* menu = new MenuExWnd(nullptr);
    ASSERT_EQ(menu->Create(nullptr, place, kMenuMessage, L"img_menuex_bk.png"), 1);
    for (const MenuEntry& e : entries)
        menu->AddItem(e.text, L"", e.data, e.icon);
    HWND hwnd = menu->GetSafeHwnd();
    menu->ShowWindow(SW_SHOWNOACTIVATE);
    testsupport::Pump();
    testsupport::Move(hwnd, 50, 90);
    ::UpdateWindow(hwnd);
    testsupport::Pump();
    HDC windowDc = ::GetDC(hwnd);
    ::BitBlt(sheet.Canvas().Dc(), x, y, place.Width(), place.Height(), windowDc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, windowDc);
    menu->CloseWindow();
    testsupport::Pump();
}

} // namespace

TEST(Screenshot, PeripheralWidgetsOnTheProductTheme)
{
    Sheet sheet(kWidth, kHeight);

    // The home page's device tile, connected (hovered) and not connected.
    Label(sheet, 20, 10, L"Device tile: connected (hover) and not connected");
    const CString picture = GetSkinFolder() + L"keyboard\\img_keyboard.png";
    auto* connected = sheet.Add<CDeviceCtrl>(Box(20, 35, 660, 290), 1, 1);
    connected->SetImage(picture, 1);
    connected->SetTitle(L"Keyboard");
    connected->SetDeviceStatus(1);
    connected->OnControlMouseMove(0, CPoint(300, 150));
    auto* absent = sheet.Add<CDeviceCtrl>(Box(700, 35, 660, 290), 1, 1);
    absent->SetImage(picture, 1);
    absent->SetTitle(L"Keyboard");
    absent->SetDeviceStatus(0);

    // A strip of two keyboards (and a keypad that is not connected).
    Label(sheet, 20, 335, L"Device list");
    auto* devices = sheet.Add<CDeviceList>(Box(20, 360, 660, 150), 1, 1);
    const CString device = GetSkinFolder() + L"device\\";
    devices->AddDevice(L"Keyboard", 1, device + L"img_device_keyboard.png", device + L"img_device_keyboard_sel.png");
    devices->AddDevice(L"Keypad", 3, device + L"img_device_keypad.png", device + L"img_device_keypad_sel.png");
    devices->AddDevice(L"Keyboard 2", 2, device + L"img_device_keyboard.png",
                       device + L"img_device_keyboard_sel.png");
    devices->SetDeviceState(1, 1);
    devices->SetDeviceState(2, 1);
    devices->SetSelectDevice(2);

    // Key-test widgets: keys held down, and a test keyboard with results.
    Label(sheet, 700, 335, L"Key test");
    auto* pressed = sheet.Add<CKeyTestCtrl>(Box(700, 360, 320, 150), 1, 1);
    for (const wchar_t* key : {L"W", L"A", L"S", L"D", L"Space", L"Shift"})
        pressed->AddKey(key, 0);
    auto* board = sheet.Add<KeyboardTestCtrl>(Box(1030, 360, 350, 150), 1);
    board->SetTextColor(Gdiplus::Color(0xFF232323));
    const wchar_t* rows[3][6] = {{L"Esc", L"1", L"2", L"3", L"4", L"5"},
                                 {L"Tab", L"Q", L"W", L"E", L"R", L"T"},
                                 {L"Caps", L"A", L"S", L"D", L"F", L"G"}};
    int code = 1;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c, ++code)
            board->AddKeyItem(rows[r][c], code, L"", CRect(c * 44, r * 44, c * 44 + 40, r * 44 + 40));
    board->SetWidthAndHeight(6 * 44 - 4, 3 * 44 - 4);
    for (int tested : {1, 2, 3, 8, 9, 14})
        board->SetKeyState(tested, KeyboardTestCtrl::KEY_STATE_2);
    board->SetKeyState(10, KeyboardTestCtrl::KEY_STATE_1);

    // DPI stage cards, the second one selected.
    Label(sheet, 20, 525, L"DPI stages");
    const int stages[] = {400, 800, 1600, 3200};
    const COLORREF colours[] = {RGB(230, 70, 70), RGB(73, 255, 230), RGB(253, 182, 55), RGB(120, 120, 255)};
    for (int i = 0; i < 4; ++i)
    {
        auto* card = sheet.Add<DPIControl>(Box(20 + i * 150, 550, 140, 100), 1);
        card->SetImage(L"img_dpi_card.png", 2);
        wchar_t title[16];
        swprintf(title, 16, L"Stage %d", i + 1);
        card->SetTitle(title);
        card->SetTextColor(kLight);
        card->SetDPIValue(stages[i]);
        card->SetColor(colours[i]);
        card->SetCheck(i == 1 ? 1 : 0);
    }

    // The battery at several levels, and charging.
    Label(sheet, 700, 525, L"Battery: 100, 60, 15, 0 and charging");
    const int levels[][2] = {{100, 0}, {60, 0}, {15, 0}, {0, 0}, {45, 1}};
    for (int i = 0; i < 5; ++i)
    {
        auto* battery = sheet.Add<BatteryCtrl>(Box(700 + i * 130, 570, 110, 28), 1, 1);
        battery->SetImage(L"battery\\img_battery_body.png", 1);
        battery->SetBatteryIcon(L"battery\\img_battery_level.png", L"battery\\img_battery_charging.png");
        battery->SetFontWidth(12);
        battery->SetBatteryInfo(levels[i][0], levels[i][1]);
    }

    // The grouped picker: characters and special functions open, one key
    // picked and one hovered.
    Label(sheet, 20, 665, L"Grouped function picker");
    auto* picker = sheet.Add<KeyFuncCtrl>(Box(20, 690, 703, 540), 1);
    picker->InitItemInfo();
    picker->SetImage(L"img_keyfunc_arrow.png", 4);
    picker->SetItemText(0, L"Character keys");
    picker->SetItemText(1, L"Other keys");
    picker->SetItemText(2, L"Special functions");
    sheet.Paint();
    picker->OnControlLButtonUp(0, picker->GetGroupHeaderRect(2).TopLeft() + CPoint(120, 705));
    sheet.Paint();
    picker->SetRect(picker->GetRect());
    const CRect picked = picker->GetKeyItemRect(0, 4) + CPoint(20, 690);
    picker->OnControlMouseMove(0, picked.CenterPoint());
    picker->OnControlLButtonUp(0, picked.CenterPoint());
    const CRect hovered = picker->GetKeyItemRect(2, 4) + CPoint(20, 690);
    picker->OnControlMouseMove(0, hovered.CenterPoint());

    // The function type grid and the value grid.
    Label(sheet, 740, 665, L"Function types and values");
    auto* types = sheet.Add<KeyFuncType>(Box(740, 690, 270, 170), 1, 1);
    const MenuEntry typeItems[] = {
        {L"Key", 1, L"icon\\icon_functype_key.png"},        {L"Media", 2, L"icon\\icon_functype_media.png"},
        {L"Macro", 3, L"icon\\icon_functype_macro.png"},    {L"Lighting", 4, L"icon\\icon_functype_light.png"},
        {L"System", 5, L"icon\\icon_functype_system.png"},  {L"Disable", 6, L"icon\\icon_functype_disable.png"},
    };
    for (const MenuEntry& e : typeItems)
        types->AddItem(e.text, e.data, e.icon);
    types->SetAllItemHeight(170);
    types->SetRect(types->GetRect());
    types->SetCurData(3);
    types->OnControlMouseMove(0, CPoint(740 + 40, 690 + 30));
    auto* values = sheet.Add<KeyFuncValue>(Box(740, 880, 270, 140), 1, 1);
    for (const wchar_t* value : {L"Copy", L"Paste", L"Cut", L"Undo", L"Redo", L"Select all", L"Find", L"Save"})
        values->AddItem(value, 0, L"");
    values->SetSelectItem(1);

    sheet.Paint();
    Label(sheet, 1030, 665, L"Extended menu");
    sheet.Paint();
    ShootMenu(sheet, 1030, 690);

    // The device strip drew its two connected tiles only.
    EXPECT_EQ(devices->GetItemRect(0).left, 0);
    EXPECT_EQ(devices->GetItemRect(2).left, 220);
    EXPECT_TRUE(devices->GetItemRect(1).IsRectEmpty());
    EXPECT_EQ(sheet.WritePng(kOutput), 0u);
}
