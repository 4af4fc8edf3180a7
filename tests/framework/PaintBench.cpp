// What a repaint of a small rectangle costs against a repaint of the whole
// window, on a large window full of controls: a live picture repaints a
// small part of the window many times a second. Also what the costliest
// controls cost to paint again once they have been drawn.
//
// Prints the mean time of each kind of paint and their ratio; the ratio is
// what to compare between runs.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/support/Recorders.h"
#include "ui/controls/ColorControls.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/Manager.h"
#include "ui/framework/MControl.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 900;
constexpr int kRounds = 40;
// The small rectangle: a key of the keyboard picture, say.
const CRect kSmall(600, 420, 740, 464);

double MeanPaintMs(HWND hwnd, const RECT* rect)
{
    // One paint first, so that caches are warm in both kinds.
    ::InvalidateRect(hwnd, rect, FALSE);
    ::UpdateWindow(hwnd);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
    {
        ::InvalidateRect(hwnd, rect, FALSE);
        ::UpdateWindow(hwnd);
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / kRounds;
}

// Every tile of a grid over the window gets a control, cycling through the
// classes a settings page is made of.
void Fill(testsupport::HostDialog& host)
{
    const wchar_t* const classes[] = {L"CTextButton", L"CCheckButton", L"MText",  L"CRadioButton",
                                      L"MSlider",     L"CSwitchButton", L"MButton", L"CColorButton"};
    const int tileW = 160;
    const int tileH = 50;
    UINT id = 100;
    int n = 0;
    for (int y = 10; y + tileH <= kHeight; y += tileH + 6)
    {
        for (int x = 10; x + tileW <= kWidth; x += tileW + 6)
        {
            const wchar_t* name = classes[n++ % (sizeof(classes) / sizeof(classes[0]))];
            const VREL::ControlArgs args{&host, id++, CRect(x, y, x + tileW, y + tileH), L"Lighting effect", 1, 1};
            if (VREL::MControl* control = VREL::ControlFactory::Construct(VREL::FACTORY_PAINT_MANAGER, name, args))
                host.Add(control);
        }
    }
}

// The mean time of one control's render and paint after it asked for a
// new look (what a hover, a drag or a value change costs), with only that
// control in the window.
double ControlRenderMs(const wchar_t* name, CRect rect)
{
    testsupport::HostDialog host;
    const HWND hwnd = host.Open(rect.right + 20, rect.bottom + 20);
    const VREL::ControlArgs args{&host, 7, rect, L"Lighting effect", 1, 1};
    VREL::MControl* control = VREL::ControlFactory::Construct(VREL::FACTORY_PANEL, name, args);
    if (!control)
        return -1;
    host.Add(control);
    if (auto* view = dynamic_cast<VREL::ColorView*>(control))
        view->InitColorView();
    ::UpdateWindow(hwnd);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
    {
        control->UpdateControl(1, 0);
        ::UpdateWindow(hwnd);
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / kRounds;
}

} // namespace

int main()
{
    // Unbuffered: a class that fails under the bench must not take the
    // figures before it along.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    VREL::Manager::SetInstance(::GetModuleHandleW(nullptr));
    VREL::Manager::InitGdiplus();
    {
        testsupport::HostDialog host;
        const HWND hwnd = host.Open(kWidth, kHeight);
        Fill(host);
        const double full = MeanPaintMs(hwnd, nullptr);
        const double small = MeanPaintMs(hwnd, &kSmall);
        std::printf("window %dx%d, %d paints each\n", kWidth, kHeight, kRounds);
        std::printf("  full paint              %8.2f ms\n", full);
        std::printf("  %dx%d rectangle paint   %8.2f ms\n", kSmall.Width(), kSmall.Height(), small);
        std::printf("  small / full            %8.3f (at most 0.25 wanted)\n", small / full);
    }
    struct Costly
    {
        const wchar_t* name;
        CRect rect;
    };
    const Costly costly[] = {
        {L"CColorPalette", CRect(10, 10, 330, 250)},
        {L"ColorView", CRect(10, 10, 330, 250)},
        {L"CTextButton", CRect(10, 10, 170, 50)},
        {L"MButton", CRect(10, 10, 170, 50)},
    };
    std::printf("render of one control after it asked for a new look\n");
    for (const Costly& c : costly)
        std::printf("  %-16ls %8.2f ms\n", c.name, ControlRenderMs(c.name, c.rect));

    // Every class the library builds, at a button's size: the ones that cost
    // more than kListedMs, and the costliest.
    constexpr double kListedMs = 2.0;
    const CRect buttonSize(10, 10, 170, 50);
    double worst = 0;
    CString worstName;
    int measured = 0;
    std::printf("every class at %dx%d, those over %.0f ms:\n", buttonSize.Width(), buttonSize.Height(), kListedMs);
    for (const CString& name : VREL::ControlFactory::ConstructibleNames(VREL::FACTORY_PANEL))
    {
        const double ms = ControlRenderMs(name.GetString(), buttonSize);
        if (ms < 0)
            continue;
        ++measured;
        if (ms > kListedMs)
            std::printf("  %-16ls %8.2f ms\n", name.GetString(), ms);
        if (ms > worst)
        {
            worst = ms;
            worstName = name;
        }
    }
    std::printf("  %d classes; the costliest %ls at %.2f ms (at most 5 wanted)\n", measured, worstName.GetString(),
                worst);
    VREL::Manager::UnInitGdiplus();
    return 0;
}
