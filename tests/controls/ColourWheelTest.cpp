// The colour wheel picks the wheel image's own colour under the point,
// whatever lies over it on the screen; points off the wheel change nothing.
// The swatch grid selects on release.

#include <gtest/gtest.h>

#include "tests/controls/ColourTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/controls/ColorControls.h"
#include "ui/framework/Manager.h"
#include "ui/framework/NotifyCode.h"

using namespace colourtest;
using VREL::CirclePalette;
using VREL::ColorView;

namespace {

constexpr UINT kWheelId = 30;
// The wheel image is 160 x 160, drawn 1:1; its centre is (100, 100).
const CRect kWheelRect(20, 20, 180, 180);
constexpr int kCentre = 100;
constexpr wchar_t kWheelImage[] = L"img_palette.png";

struct WheelHost
{
    WheelHost()
    {
        hwnd = dialog.Open(220, 220);
        VREL::MControl* made = dialog.CreateControl(L"CirclePalette", kWheelId, kWheelRect, nullptr, 1, 1);
        wheel = dynamic_cast<CirclePalette*>(made);
    }
    HostDialog dialog;
    HWND hwnd = nullptr;
    CirclePalette* wheel = nullptr;
};

// The wheel image's colour at a client point of the host, as COLORREF.
COLORREF WheelColourAt(const Png& image, int x, int y)
{
    const uint32_t rgb =
        image.Rgb(static_cast<unsigned>(x - kWheelRect.left), static_cast<unsigned>(y - kWheelRect.top));
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

TEST(ColourWheel, PicksTheWheelsOwnColourEvenUnderAnotherWindow)
{
    Png image;
    ASSERT_TRUE(ReadPng(std::wstring(GetSkinFolder().GetString()) + kWheelImage, image));
    ASSERT_EQ(image.width, 160u);
    WheelHost h;
    ASSERT_NE(h.wheel, nullptr);
    ASSERT_EQ(h.wheel->SetImage(kWheelImage, 1), 1);

    // A black window over the whole wheel, with the cursor on it.
    RECT screen = kWheelRect;
    ::MapWindowPoints(h.hwnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    HWND cover = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | SS_BLACKRECT,
                                   screen.left, screen.top, screen.right - screen.left,
                                   screen.bottom - screen.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    ::ShowWindow(cover, SW_SHOWNOACTIVATE);
    ::UpdateWindow(cover);

    struct Step
    {
        const char* name;
        int x, y;
    };
    const Step steps[] = {{"right: red side", kCentre + 60, kCentre}, {"upper left", kCentre - 40, kCentre - 50},
                          {"near the centre", kCentre + 3, kCentre + 4}};
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.name);
        h.dialog.reports.clear();
        POINT cursor = {s.x, s.y};
        ::ClientToScreen(h.hwnd, &cursor);
        ::SetCursorPos(cursor.x, cursor.y);
        Click(h.hwnd, s.x, s.y);
        const COLORREF expected = WheelColourAt(image, s.x, s.y);
        EXPECT_EQ(h.wheel->GetSelectColor(), expected);
        const LPARAM colour = static_cast<LPARAM>(expected);
        EXPECT_EQ(h.dialog.reports,
                  (std::vector<Report>{{kWheelId, VREL::NC_COLOR, 0, colour}, {kWheelId, VREL::NC_CLICKED, 0, colour}}));
    }
    ::DestroyWindow(cover);
}

TEST(ColourWheel, OffTheWheelNothingChangesButTheReleaseStillReports)
{
    WheelHost h;
    ASSERT_NE(h.wheel, nullptr);
    h.wheel->SetImage(kWheelImage, 1);
    const CRect thumb = h.wheel->GetThumbRect();
    EXPECT_EQ(h.wheel->GetDistanse(CPoint(kCentre + 80, kCentre)), 80);
    EXPECT_EQ(h.wheel->GetDistanse(CPoint(kCentre + 57, kCentre + 58)), 81);

    Click(h.hwnd, kCentre + 57, kCentre + 58);
    EXPECT_EQ(h.wheel->GetThumbRect(), thumb);
    EXPECT_EQ(h.wheel->GetSelectColor(), static_cast<COLORREF>(0x0000FF));
    EXPECT_EQ(h.dialog.reports, (std::vector<Report>{{kWheelId, VREL::NC_CLICKED, 0, 0x0000FF}}));
}

TEST(ColourWheel, DragMovesTheThumbOnlyInStepsOfMoreThanFivePixels)
{
    WheelHost h;
    ASSERT_NE(h.wheel, nullptr);
    h.wheel->SetImage(kWheelImage, 1);
    Press(h.hwnd, kCentre, kCentre + 20);
    h.dialog.reports.clear();
    ::SendMessageW(h.hwnd, WM_MOUSEMOVE, MK_LBUTTON, Pack(kCentre + 5, kCentre + 20));
    EXPECT_TRUE(h.dialog.reports.empty());
    ::SendMessageW(h.hwnd, WM_MOUSEMOVE, MK_LBUTTON, Pack(kCentre + 6, kCentre + 20));
    EXPECT_EQ(WithCode(h.dialog.reports, VREL::NC_COLOR).size(), 1u);
    EXPECT_EQ(h.wheel->GetThumbRect(), CRect(kCentre + 1, kCentre + 15, kCentre + 11, kCentre + 25));
    Up(h.hwnd, kCentre + 6, kCentre + 20);
}

// A colour chosen elsewhere moves the thumb to where the wheel shows it (at
// full brightness), silently; a darker shade of a colour sits on the same
// point, black on the white centre.
TEST(ColourWheel, AColourSetFromOutsideMovesTheThumbToItsPlaceOnTheWheel)
{
    Png image;
    ASSERT_TRUE(ReadPng(std::wstring(GetSkinFolder().GetString()) + kWheelImage, image));
    WheelHost h;
    ASSERT_NE(h.wheel, nullptr);
    ASSERT_EQ(h.wheel->SetImage(kWheelImage, 1), 1);
    struct Case
    {
        const char* name;
        COLORREF colour;
        COLORREF onTheWheel;
    };
    const Case cases[] = {
        {"red", RGB(255, 0, 0), RGB(255, 0, 0)},
        {"green", RGB(0, 255, 0), RGB(0, 255, 0)},
        {"blue", RGB(0, 0, 255), RGB(0, 0, 255)},
        {"pale orange", RGB(255, 200, 150), RGB(255, 200, 150)},
        {"dark teal", RGB(0, 60, 60), RGB(0, 255, 255)},
        {"black", RGB(0, 0, 0), RGB(255, 255, 255)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        h.dialog.reports.clear();
        h.wheel->SetSelectColor(c.colour);
        EXPECT_EQ(h.wheel->GetSelectColor(), c.colour);
        const CRect thumb = h.wheel->GetThumbRect();
        const CPoint centre(thumb.left + thumb.Width() / 2, thumb.top + thumb.Height() / 2);
        EXPECT_LE(h.wheel->GetDistanse(centre), 80);
        const COLORREF under = WheelColourAt(image, centre.x, centre.y);
        EXPECT_TRUE(NearColor(under, c.onTheWheel, 20)) << std::hex << under;
        EXPECT_TRUE(h.dialog.reports.empty());
    }
}

TEST(SwatchGrid, ReleaseOnASwatchSelectsItsColour)
{
    RecordingOwner owner;
    ColorView view(&owner, 8, CRect(100, 50, 340, 230), 1, 1);
    view.InitColorView();
    EXPECT_EQ(view.GetItemCount(), 48);
    view.InitColorView();
    EXPECT_EQ(view.GetItemCount(), 96);
    view.ClearAllItem();
    EXPECT_EQ(view.GetItemCount(), 0);
    view.InitColorView();

    // Row 1, column 2 (ARGB FF283492) spans (67, 38)-(89, 60) of the view.
    const CPoint onSwatch(100 + 70, 50 + 40);
    view.OnControlMouseMove(0, onSwatch);
    EXPECT_EQ(view.GetHoverIndex(), 10);
    view.OnControlLButtonDown(MK_LBUTTON, onSwatch);
    view.OnControlLButtonUp(0, onSwatch);
    EXPECT_EQ(view.GetSelectIndex(), 10);
    EXPECT_EQ(static_cast<COLORREF>(view.GetSelectColor()), RGB(0x28, 0x34, 0x92));
    EXPECT_EQ(owner.reports, (std::vector<Report>{{8, VREL::NC_CLICKED, 0, 0}}));

    // Between swatches nothing is hovered and a release picks nothing.
    owner.reports.clear();
    view.OnControlMouseMove(0, CPoint(100 + 36, 50 + 40));
    EXPECT_EQ(view.GetHoverIndex(), -1);
    view.OnControlLButtonUp(0, CPoint(100 + 36, 50 + 40));
    EXPECT_TRUE(owner.reports.empty());
}

TEST(SwatchGrid, HoveredAndSelectedSwatchesWearTheHighlightBorder)
{
    testsupport::ManagerLikeOwner owner;
    const CRect rect(0, 0, 240, 180);
    ColorView view(&owner, 8, rect, 1, 1);
    view.SetManager(nullptr);
    view.InitColorView();
    DibCanvas canvas(rect.Width(), rect.Height());
    auto at = [&](int x, int y) {
        view.DrawControl(canvas.Dc(), rect);
        return canvas.Rgb(x, y);
    };
    // Swatch k of row 0 spans x = 11 + 28k to 33 + 28k, y = 10 to 32; its
    // left border is sampled half-way down.
    auto border = [&](int k) { return at(11 + 28 * k, 21); };
    constexpr uint32_t kHighlight = 0xFBC93E;

    view.OnControlMouseMove(0, CPoint(20, 20));
    EXPECT_EQ(at(5, 5), 0x1A1A1Au);
    EXPECT_EQ(at(0, 90), 0x646464u);
    EXPECT_EQ(at(rect.Width() - 1, 90), 0x646464u);
    EXPECT_EQ(at(22, 21), 0xB71C1Cu);
    EXPECT_TRUE(NearColor(border(0), kHighlight, 24)) << std::hex << border(0);
    EXPECT_TRUE(NearColor(border(1), 0x4A148D, 24)) << std::hex << border(1);

    // Picked, then left for its neighbour: both wear the highlight.
    view.OnControlLButtonUp(0, CPoint(20, 20));
    view.OnControlMouseMove(0, CPoint(48, 20));
    ASSERT_EQ(view.GetHoverIndex(), 1);
    EXPECT_TRUE(NearColor(border(0), kHighlight, 24)) << std::hex << border(0);
    EXPECT_TRUE(NearColor(border(1), kHighlight, 24)) << std::hex << border(1);
    EXPECT_TRUE(NearColor(border(2), 0x1B237E, 24)) << std::hex << border(2);
}
