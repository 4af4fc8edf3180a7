// Renders the colour controls, the image editor and the edit field on the
// product theme into screenshots/colour_controls.png of the build folder.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "tests/controls/ColourTestSupport.h"
#include "tests/controls/ScreenshotSheet.h"
#include "tests/support/DibCanvas.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/ImageView.h"
#include "ui/framework/Manager.h"
#include "ui/lists/MEdit.h"

namespace {

using screenshot::Box;
using screenshot::Sheet;

constexpr int kWidth = 860;
constexpr int kHeight = 460;
constexpr char kOutput[] = "colour_controls.png";

// The image editor keeps working copies in a folder named after the device:
// the screenshot runs under a device name of its own and removes them after.
class ScreenshotDevice
{
public:
    ScreenshotDevice() : m_previous(VREL::Manager::GetDeviceName())
    {
        VREL::Manager::SetDeviceName(L"Tarnwell Screenshot");
    }
    ~ScreenshotDevice()
    {
        colourtest::RemoveWorkingCopies();
        VREL::Manager::SetDeviceName(m_previous);
    }
    ScreenshotDevice(const ScreenshotDevice&) = delete;
    ScreenshotDevice& operator=(const ScreenshotDevice&) = delete;

private:
    CString m_previous;
};

} // namespace

TEST(Screenshot, ColourControlsOnTheProductTheme)
{
    const ScreenshotDevice device;  // outlives the sheet and its editor
    Sheet sheet(kWidth, kHeight);
    const Gdiplus::Color light(0xFFE6E6E6);

    // The full picker, its preset column, the wheel and the swatch grid.
    auto* picker = sheet.Add<VREL::CColorPalette>(Box(20, 20, 330, 230), 1);
    picker->SetImage(L"img_edit.png", 4);
    picker->SetTextColor(light);
    auto* select = sheet.Add<VREL::CColorSelect>(Box(370, 20, 30, 200), 1);
    select->SetColorIndex(2);
    auto* wheel = sheet.Add<VREL::CirclePalette>(Box(420, 20, 160, 160), 1, 1);
    wheel->SetImage(L"img_palette.png", 1);
    wheel->MoveThumbPos(CPoint(540, 80));
    auto* grid = sheet.Add<VREL::ColorView>(Box(600, 20, 240, 190), 1, 1);
    grid->InitColorView();
    grid->OnMouseMove(0, CPoint(600 + 11 + 28 * 3 + 5, 20 + 10 + 28 * 2 + 5));

    // A field on its own in another colour, and one disabled.
    auto* field = sheet.Add<VREL::MPalette>(Box(20, 270, 260, 160), 1);
    field->SetThumbImage(L"img_palette_thumb.png");
    field->SetSelectColor(RGB(200, 40, 90));
    auto* disabled = sheet.Add<VREL::MPalette>(Box(600, 300, 240, 140), 1);
    disabled->SetPalletHeight(130);
    disabled->SetRect(Box(600, 300, 240, 140));
    disabled->SetEnabled(0);

    // The image editor over the wheel image with a stroke, a text and the grid.
    auto* editor = sheet.Add<VREL::ImageView>(Box(300, 270, 280, 170), 1, 1);
    editor->SetImage(GetSkinFolder() + L"img_palette.png");
    editor->SetPenSize(4);
    editor->SetColorValue(RGB(255, 255, 255));
    editor->OnControlLButtonDown(MK_LBUTTON, CPoint(380, 320));
    editor->OnControlMouseMove(MK_LBUTTON, CPoint(440, 380));
    editor->OnControlMouseMove(MK_LBUTTON, CPoint(500, 330));
    editor->OnControlLButtonUp(0, CPoint(500, 330));
    editor->AddText(L"Tarnwell");
    editor->SetShowGridLine(1);

    // Edit fields: text, tip only, password, disabled.
    const wchar_t* titles[] = {L"Profile 1", L"", L"secret", L"Disabled"};
    for (int i = 0; i < 4; ++i)
    {
        const CRect box = Box(600 + (i % 2) * 125, 220 + (i / 2) * 36, 115, 28);
        auto* edit = sheet.Add<VREL::MEdit>(box, L"Type a name", 1, 1);
        edit->SetImage(L"img_edit.png", 4);
        edit->SetTextColor(light);
        edit->SetTitle(titles[i]);
        if (i == 2)
            edit->EnablePassWord(1);
        if (i == 3)
            edit->SetEnabled(0);
    }

    sheet.Paint();
    // The picker's preset row is drawn: its first swatch's colour shows.
    EXPECT_TRUE(NearColor(sheet.Canvas().Rgb(30, 35), 0x551B00, 24)) << std::hex << sheet.Canvas().Rgb(30, 35);
    EXPECT_EQ(sheet.WritePng(kOutput), 0u);
}
