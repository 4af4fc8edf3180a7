// Looks kept from one render to the next: a control asked for a new look
// shows its old cells again only while nothing they were rendered from has
// changed. Each case changes one input of a control that has rendered once,
// asks for a new look, and compares the picture with that of a control made
// with the changed input from the start: a kept look that missed the change
// shows the old picture.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tests/controls/ButtonTestSupport.h"
#include "tests/support/DibCanvas.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/MText.h"
#include "ui/controls/Progress.h"
#include "ui/controls/PushButtons.h"
#include "ui/controls/SpinButton.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MenuItem.h"
#include "ui/framework/PaintManager.h"

using ButtonTest::RecordingOwner;

namespace {

constexpr uint32_t kWindow = 0xFF1A1A1A;
constexpr uint32_t kOtherWindow = 0xFF2060A0;
const CRect kSmall(0, 0, 24, 24);
const CRect kWide(0, 0, 120, 30);
const CRect kField(0, 0, 160, 120);

using Picture = std::vector<uint32_t>;

// The control drawn on a window freshly filled with back.
Picture DrawOn(VREL::MControl& control, DibCanvas& window, uint32_t back)
{
    window.Fill(back);
    const CRect rect = control.GetRect();
    control.Draw(window.Dc(), rect);
    Picture picture;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            picture.push_back(window.Pixel(x, y));
    return picture;
}

using Make = std::function<std::unique_ptr<VREL::MControl>(VREL::MObject*)>;
using Change = std::function<void(VREL::MControl&)>;

template <class T>
T& As(VREL::MControl& control)
{
    return dynamic_cast<T&>(control);
}

Make Swatch()
{
    return [](VREL::MObject* owner) {
        auto swatch = std::make_unique<VREL::CColorButton>(owner, 7, kSmall, 1, 1);
        swatch->SetColor(0x0000FF);
        return swatch;
    };
}

Make ArrowButton()
{
    return [](VREL::MObject* owner) { return std::make_unique<VREL::CImageButton>(owner, 7, kSmall, L"", 1, 1); };
}

Make Label()
{
    return [](VREL::MObject* owner) {
        auto label = std::make_unique<VREL::MText>(owner, 7, kWide, L"Lighting", 1);
        label->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
        return label;
    };
}

Make Level()
{
    return [](VREL::MObject* owner) {
        auto level = std::make_unique<VREL::MLevelCtrl>(owner, 7, kWide, 1, 1);
        level->SetLevelValue(3);
        return level;
    };
}

Make Spin()
{
    return [](VREL::MObject* owner) {
        auto spin = std::make_unique<VREL::MSpinButton>(owner, 7, CRect(0, 0, 60, 24), 1, 1);
        spin->SetRange(0, 255);
        spin->SetCurValue(128);
        return spin;
    };
}

Make Field()
{
    return [](VREL::MObject* owner) { return std::make_unique<VREL::MPalette>(owner, 7, kField, 1); };
}

Make Row()
{
    return [](VREL::MObject* owner) { return std::make_unique<VREL::MenuItem>(owner, 7, kWide, L"Open", 1, 1); };
}

TEST(KeptLooks, AKeptLookFollowsEveryChangeOfItsInputsAndOfTheWindowUnderIt)
{
    const Gdiplus::Color selectColour = VREL::Manager::m_select_color;
    struct Case
    {
        const char* name;
        Make make;
        // Applied to a bound control; null when only the window changes.
        Change change;
        uint32_t backAfter;
    };
    const Case cases[] = {
        {"swatch colour", Swatch(), [](VREL::MControl& c) { As<VREL::CColorButton>(c).SetColor(0x00FF00); }, kWindow},
        {"swatch border", Swatch(), [](VREL::MControl& c) { As<VREL::CColorButton>(c).SetVisibleBorder(true); },
         kWindow},
        {"swatch window", Swatch(), nullptr, kOtherWindow},
        {"arrow strip", ArrowButton(),
         [](VREL::MControl& c) { As<VREL::CImageButton>(c).SetImage(L"img_spin_down.png", 4); }, kWindow},
        {"label title", Label(), [](VREL::MControl& c) { As<VREL::MText>(c).SetTitle(L"Lightness"); }, kWindow},
        {"label colour", Label(),
         [](VREL::MControl& c) { As<VREL::MText>(c).SetTextColor(Gdiplus::Color(0xFF00FF00)); }, kWindow},
        {"label mark", Label(), [](VREL::MControl& c) { As<VREL::MText>(c).SetMarkText(L"ght"); }, kWindow},
        {"label shadow", Label(), [](VREL::MControl& c) { As<VREL::MText>(c).EnableShadow(1); }, kWindow},
        {"label alignment", Label(), [](VREL::MControl& c) { As<VREL::MText>(c).SetAlignment(2); }, kWindow},
        {"label size", Label(), [](VREL::MControl& c) { As<VREL::MText>(c).SetFontWidth(20); }, kWindow},
        {"label back", Label(),
         [](VREL::MControl& c) { As<VREL::MText>(c).EnableTextBack(1, Gdiplus::Color(0xFF800000)); }, kWindow},
        {"label window", Label(), nullptr, kOtherWindow},
        {"level value", Level(), [](VREL::MControl& c) { As<VREL::MLevelCtrl>(c).SetLevelValue(9); }, kWindow},
        {"level range", Level(), [](VREL::MControl& c) { As<VREL::MLevelCtrl>(c).SetRangeValue(1, 5); }, kWindow},
        {"level select colour", Level(),
         [](VREL::MControl&) { VREL::Manager::m_select_color = Gdiplus::Color(0xFFFF0000); }, kWindow},
        {"spin value", Spin(), [](VREL::MControl& c) { As<VREL::MSpinButton>(c).SetCurValue(7); }, kWindow},
        {"spin colour", Spin(),
         [](VREL::MControl& c) { As<VREL::MSpinButton>(c).SetTextColor(Gdiplus::Color(0xFFFF0000)); }, kWindow},
        {"spin focus", Spin(), [](VREL::MControl& c) { As<VREL::MSpinButton>(c).SetControlFocus(1); }, kWindow},
        {"spin window", Spin(), nullptr, kOtherWindow},
        {"field colour", Field(), [](VREL::MControl& c) { As<VREL::MPalette>(c).SetSelectColor(0x2040C0); },
         kWindow},
        {"field disabled", Field(), [](VREL::MControl& c) { As<VREL::MPalette>(c).SetControlEnabled(0); }, kWindow},
        {"menu row title", Row(), [](VREL::MControl& c) { As<VREL::MenuItem>(c).SetTitle(L"Save"); }, kWindow},
        {"menu row colour", Row(),
         [](VREL::MControl& c) { As<VREL::MenuItem>(c).SetTextColor(Gdiplus::Color(0xFF00FF00)); }, kWindow},
        {"menu row inset", Row(), [](VREL::MControl& c) { As<VREL::MenuItem>(c).SetTextInset(4); }, kWindow},
        {"menu row window", Row(), nullptr, kOtherWindow},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        VREL::Manager::m_select_color = selectColour;
        RecordingOwner owner;
        VREL::PaintManager manager;
        DibCanvas window(kField.Width(), kField.Height());

        auto kept = c.make(&owner);
        kept->SetManager(&manager);
        const Picture before = DrawOn(*kept, window, kWindow);
        kept->SetUpdate(0, 0);
        ASSERT_EQ(before, DrawOn(*kept, window, kWindow)) << "a new look of unchanged inputs differs";
        if (c.change)
            c.change(*kept);
        kept->SetUpdate(0, 0);
        const Picture after = DrawOn(*kept, window, c.backAfter);

        auto fresh = c.make(&owner);
        fresh->SetManager(&manager);
        if (c.change)
            c.change(*fresh);
        const Picture expected = DrawOn(*fresh, window, c.backAfter);
        EXPECT_NE(before, expected) << "the change does not show: the case proves nothing";
        EXPECT_EQ(expected, after) << "the kept look is stale";
    }
    VREL::Manager::m_select_color = selectColour;
}

} // namespace
