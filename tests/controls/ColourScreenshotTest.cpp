// Renders the colour controls, the image editor and the edit field on the
// product theme into screenshots/colour_controls.png of the build folder, for
// people to look at. The program runs from that folder, which holds the
// product skins.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/controls/ColourTestSupport.h"
#include "tests/framework/DibCanvas.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/ImageView.h"
#include "ui/framework/Manager.h"
#include "ui/framework/PaintManager.h"
#include "ui/lists/MEdit.h"

namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 460;
constexpr uint32_t kWindowArgb = 0xFF1A1A1A;
constexpr char kOutput[] = "colour_controls.png";

class Sheet
{
public:
    Sheet() : m_canvas(kWidth, kHeight, kWindowArgb) {}

    template <class T, class... Args>
    T* Add(Args&&... args)
    {
        auto control = std::make_unique<T>(&m_owner, static_cast<UINT>(m_controls.size() + 1),
                                           std::forward<Args>(args)...);
        T* raw = control.get();
        raw->SetManager(&m_manager);
        m_controls.push_back(std::move(control));
        return raw;
    }

    void Paint()
    {
        HDC dc = m_canvas.Dc();
        for (auto& control : m_controls)
            control->Draw(dc, CRect(0, 0, kWidth, kHeight));
    }

    unsigned WritePng(const char* path)
    {
        std::vector<unsigned char> rgba;
        rgba.reserve(static_cast<size_t>(kWidth) * kHeight * 4);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                const uint32_t p = m_canvas.Pixel(x, y);
                rgba.push_back(static_cast<unsigned char>(p >> 16));
                rgba.push_back(static_cast<unsigned char>(p >> 8));
                rgba.push_back(static_cast<unsigned char>(p));
                rgba.push_back(0xFF);
            }
        return lodepng::encode(path, rgba, kWidth, kHeight);
    }

    DibCanvas& Canvas() { return m_canvas; }

private:
    VREL::PaintManager m_manager;
    colourtest::RecordingOwner m_owner;
    DibCanvas m_canvas;
    // Destroyed before the manager they are bound to.
    std::vector<std::unique_ptr<VREL::MControl>> m_controls;
};

CRect Box(int x, int y, int w, int h) { return CRect(x, y, x + w, y + h); }

} // namespace

TEST(Screenshot, ColourControlsOnTheProductTheme)
{
    VREL::Manager::SetDeviceName(L"Tarnwell Screenshot");
    Sheet sheet;
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
    EXPECT_TRUE(colourtest::Near(sheet.Canvas().Rgb(30, 35), 0x551B00, 24)) << std::hex << sheet.Canvas().Rgb(30, 35);
    EXPECT_EQ(sheet.WritePng(kOutput), 0u);
}
