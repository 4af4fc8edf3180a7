// The profile list as the program fills it after a few profiles were added and
// one imported, with one of them being renamed in place, written to
// screenshots/profile_list.png of the build folder. The main window's layout
// gives the list no place, so it is drawn here on the product theme.

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

using namespace VREL;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 330;
constexpr uint32_t kWindowArgb = 0xFF1A1A1A;
constexpr char kOutput[] = "profile_list.png";

CRect Box(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

} // namespace

TEST(Screenshot, ProfileListWithOneProfileBeingRenamed)
{
    testsupport::HostDialog dialog;
    const HWND hwnd = dialog.Open(kWidth, kHeight);
    ASSERT_NE(hwnd, nullptr);
    DibCanvas canvas(kWidth, kHeight, kWindowArgb);
    std::vector<MControl*> shown;

    auto* caption = dialog.Add(new MText(&dialog, 0, Box(20, 14, 260, 24), L"Profiles", 1));
    caption->SetFontWidth(15);
    caption->SetTextColor(Gdiplus::Color(0xFFE6E6E6));
    shown.push_back(caption);

    // Default names follow the language; the imported profile keeps the
    // exported one's name, so two rows may read the same.
    auto* profiles = dialog.Add(new ProfileList(&dialog, 46, Box(20, 50, 260, 260), 1, 1));
    ASSERT_EQ(profiles->SetImage(L"icon\\icon_profile_edit.png", 2), 1);
    profiles->SetFontWidth(14);
    int data = 1;
    for (const wchar_t* name : {L"Profile 01", L"Profile 02", L"Profile 03", L"Gaming", L"Profile 01"})
        profiles->AddItem(name, data++, L"");
    profiles->SetScrollPos(0);
    profiles->SetSelectItem(0);
    shown.push_back(profiles);

    auto paint = [&] {
        HDC dc = canvas.Dc();
        canvas.Fill(kWindowArgb);
        for (MControl* control : shown)
            control->Draw(dc, CRect(0, 0, kWidth, kHeight));
    };

    // "Gaming" is being renamed: its box is open with the new text typed.
    profiles->SetSelectItem(3);
    profiles->ShowEdit();
    CEditWindow* box = profiles->GetEditWindow();
    ASSERT_NE(box, nullptr);
    ::SetWindowTextW(box->GetSafeHwnd(), L"Gaming night");
    paint();

    // The rename box is a real window: it draws itself where it lies.
    RECT where;
    ::GetWindowRect(box->GetSafeHwnd(), &where);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&where), 2);
    const CRect renamed = profiles->GetRowClientRect(3);
    EXPECT_TRUE(renamed.PtInRect(CPoint((where.left + where.right) / 2, (where.top + where.bottom) / 2)))
        << "the rename box is not on its row";
    {
        HDC dc = canvas.Dc();
        POINT old;
        ::SetViewportOrgEx(dc, where.left, where.top, &old);
        ::SendMessageW(box->GetSafeHwnd(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                       PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
    ASSERT_EQ(WriteCanvasPng(canvas, kOutput), 0u);

    // Every row drew text over the list's background, the renamed one
    // included (its box's text).
    for (int row = 0; row < 5; ++row)
    {
        std::set<uint32_t> colours;
        const CRect area = profiles->GetRowClientRect(row);
        for (int y = area.top; y < area.bottom; y += 2)
            for (int x = area.left; x < area.right; x += 2)
                colours.insert(canvas.Rgb(x, y));
        EXPECT_GT(colours.size(), 3u) << "row " << row;
    }
    dialog.Manager().ClearImgResInfo();
}
