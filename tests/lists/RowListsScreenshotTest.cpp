// Renders the four row lists on the product theme, filled as the program
// fills them, into screenshots/row_lists.png of the build folder: macros,
// the events of one macro in their key-down, delay and key-up groups,
// profiles with one being renamed, and the light-mode tiles.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>


#include <cstdint>
#include <set>
#include <vector>

#include "tests/support/DibCanvasPng.h"
#include "tests/support/Recorders.h"
#include "ui/controls/MText.h"
#include "ui/lists/CEditWindow.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

using namespace VREL;

namespace {

constexpr int kWidth = 1290;
constexpr int kHeight = 440;
constexpr uint32_t kWindowArgb = 0xFF1A1A1A;
constexpr Gdiplus::ARGB kPageTextArgb = 0xFFB8D3EF;
constexpr char kOutput[] = "row_lists.png";

CRect Box(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

struct Event
{
    const wchar_t* text;
    int type;
    int value;
    int timestamp;
};

} // namespace

TEST(Screenshot, RowListsOnTheProductTheme)
{
    testsupport::HostDialog dialog;
    const HWND hwnd = dialog.Open(kWidth, kHeight);
    ASSERT_NE(hwnd, nullptr);
    DibCanvas canvas(kWidth, kHeight, kWindowArgb);
    std::vector<MControl*> shown;

    const struct
    {
        const wchar_t* text;
        int x;
    } captions[] = {{L"Macros", 20}, {L"Events of \"Build wall\"", 320}, {L"Profiles", 740}, {L"Light mode", 980}};
    for (const auto& caption : captions)
    {
        auto* text = dialog.Add(new MText(&dialog, 0, Box(caption.x, 14, 300, 24), caption.text, 1));
        text->SetFontWidth(15);
        text->SetTextColor(Gdiplus::Color(0xFFE6E6E6));
        shown.push_back(text);
    }

    // The macro page's list: names, the selected one and one under the mouse.
    auto* macros = dialog.Add(new MacroList(&dialog, 82, Box(20, 50, 280, 360), 1));
    macros->SetTextColor(Gdiplus::Color(kPageTextArgb));
    macros->EnableShowEdit(1);
    ASSERT_EQ(macros->SetImage(L"img_list_bkg.png", 2), 1);
    ASSERT_EQ(macros->SetEditImage(L"btn_more.png", 4), 1);
    macros->SetFontWidth(14);
    macros->SetRect(macros->GetRect());
    long id = 1;
    for (const wchar_t* name : {L"Reload cancel", L"Build wall", L"Quick scope", L"Sprint jump", L"Crouch spam",
                                L"Copy & paste", L"Screenshot", L"Mute Discord"})
        macros->AddString(name, id++, 0);
    macros->SetCurSel(1);
    shown.push_back(macros);

    // Its events: key down, delay, key up, with a Shift held around a key.
    auto* events = dialog.Add(new CRecordList(&dialog, 92, Box(320, 50, 396, 360), 1));
    events->SetTextColor(Gdiplus::Color(kPageTextArgb));
    ASSERT_EQ(events->SetImage(L"icon\\icon_list.png", 8), 1);
    ASSERT_EQ(events->SetItemImage(L"img_list_bkg.png", 2), 1);
    ASSERT_EQ(events->SetMoreImage(L"btn_more.png", 4), 1);
    events->SetFontWidth(14);
    events->SetRect(events->GetRect());
    const Event rows[] = {
        {L"\x2193  Q", 2, 0x51, 1},         {L"35 ms", 1, 35, 2},          {L"\x2191  Q", 3, 0x51, 3},
        {L"60 ms", 1, 60, 4},               {L"\x2193  Left button", 4, 1, 5}, {L"\x2191  Left button", 5, 1, 5},
        {L"120 ms", 1, 120, 6},             {L"\x2193  Shift", 2, 225, 7}, {L"\x2193  F", 2, 0x46, 8},
        {L"25 ms", 1, 25, 9},               {L"\x2191  F", 3, 0x46, 10},   {L"\x2191  Shift", 3, 225, 11},
    };
    for (const Event& e : rows)
        events->AddString(e.text, e.type, e.value, e.timestamp);
    events->UpdateTimeStamp(3, 0x51, 1);  // Q down and up become one group
    events->SetCurSel(2);
    events->SetTimeStampSelect(1);
    shown.push_back(events);

    // The profiles, one of them being renamed.
    auto* profiles = dialog.Add(new ProfileList(&dialog, 46, Box(740, 50, 220, 360), 1, 1));
    ASSERT_EQ(profiles->SetImage(L"icon\\icon_profile_edit.png", 2), 1);
    profiles->SetFontWidth(14);
    int data = 1;
    for (const wchar_t* name : {L"Default", L"FPS", L"MOBA", L"Office", L"Streaming"})
        profiles->AddItem(name, data++, L"");
    profiles->SetScrollPos(0);
    profiles->SetSelectItem(0);
    shown.push_back(profiles);

    // The lighting page's light modes.
    auto* tiles = dialog.Add(new MListBoxEx(&dialog, 123, Box(980, 50, 290, 360), 1, 1));
    tiles->SetTextColor(Gdiplus::Color(0xFFE6E6E6));
    ASSERT_EQ(tiles->SetImage(L"btn_apply.png", 4), 1);
    tiles->SetFontWidth(14);
    tiles->SetAllItemHeight(293);
    tiles->SetRect(tiles->GetRect());
    int mode = 0;
    for (const wchar_t* name : {L"Static", L"Breathing", L"Wave", L"Ripple", L"Reactive", L"Spectrum",
                                L"Starlight", L"Rain", L"Music", L"Custom"})
        tiles->AddItem(name, mode++, L"");
    tiles->SetCurData(2);
    shown.push_back(tiles);

    auto paint = [&] {
        HDC dc = canvas.Dc();
        canvas.Fill(kWindowArgb);
        for (MControl* control : shown)
            control->Draw(dc, CRect(0, 0, kWidth, kHeight));
    };
    paint();
    // The pointer over a macro, an event, a profile's edit icon and a tile.
    macros->OnMouseMove(0, CPoint(60, 50 + 36 * 4 + 18));
    events->OnMouseMove(0, CPoint(400, 50 + 36 * 8 + 18));
    const CPoint editIcon(740 + 214 - 13, 50 + 36 * 3 + 15);
    profiles->OnMouseMove(0, editIcon);
    profiles->OnMouseMove(0, editIcon);
    tiles->OnMouseMove(0, tiles->GetRowClientRect(5).CenterPoint());

    // Rename "FPS".
    profiles->SetSelectItem(1);
    profiles->ShowEdit();
    CEditWindow* box = profiles->GetEditWindow();
    ASSERT_NE(box, nullptr);
    ::SetWindowTextW(box->GetSafeHwnd(), L"FPS Tournament");
    paint();

    // The rename box is a real window: it draws itself where it lies.
    RECT where;
    ::GetWindowRect(box->GetSafeHwnd(), &where);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&where), 2);
    {
        HDC dc = canvas.Dc();
        POINT old;
        ::SetViewportOrgEx(dc, where.left, where.top, &old);
        ::SendMessageW(box->GetSafeHwnd(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                       PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    ASSERT_EQ(WriteCanvasPng(canvas, kOutput), 0u);

    // Every list drew over the window colour.
    for (const CRect& area : {Box(20, 50, 280, 200), Box(320, 50, 396, 300), Box(740, 50, 220, 180),
                              Box(980, 50, 290, 180)})
    {
        std::set<uint32_t> colours;
        for (int y = area.top; y < area.bottom; y += 3)
            for (int x = area.left; x < area.right; x += 3)
                colours.insert(canvas.Rgb(x, y));
        EXPECT_GT(colours.size(), 4u);
    }
    dialog.Manager().ClearImgResInfo();
}
