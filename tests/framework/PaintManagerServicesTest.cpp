// The paint manager's services on a real window: control timers and their
// window timer ids, the message and progress overlay, the drawn caret, the
// image cache, the tooltip and the balloon.

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "tests/framework/CoreTestSupport.h"
#include "tests/framework/TestTheme.h"
#include "tests/support/DibCanvas.h"
#include "ui/framework/AirBladder.h"
#include "ui/framework/CaretOwner.h"
#include "ui/framework/ImgResInfo.h"
#include "ui/framework/Render.h"

using namespace coretest;

namespace {

class ServicesTest : public PopupFixture<>
{
protected:
    ServicesTest() : PopupFixture(400, 300) {}

    // A control bound to the manager (so that it withdraws its timers when
    // it goes) but in none of its lists.
    std::unique_ptr<Probe> MakeProbe(UINT id = 1)
    {
        auto probe = std::make_unique<Probe>(&dialog, id, CRect(0, 0, 10, 10));
        probe->SetManager(&Manager());
        return probe;
    }

    // Runs the window's messages until done() or the timeout.
    template <class Done> bool PumpUntil(Done done, DWORD timeoutMs)
    {
        const DWORD start = ::GetTickCount();
        while (!done())
        {
            if (::GetTickCount() - start > timeoutMs)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
        return true;
    }
};

} // namespace

// ---- control timers -----------------------------------------------------------------------

TEST_F(ServicesTest, ARunningTimerKeepsItsPeriodAndRestartsUnderItsId)
{
    auto probe = MakeProbe();
    ASSERT_EQ(Manager().SetTimer(probe.get(), 7, 1000), 1);
    // The first id of a window: the counter starts at 4096.
    EXPECT_EQ(Manager().GetControlTimerId(probe.get(), 7), 17u);
    EXPECT_EQ(Manager().SetTimer(probe.get(), 7, 10), 0);
    EXPECT_EQ(Manager().KillTimer(probe.get(), 7), 1);
    EXPECT_EQ(Manager().KillTimer(probe.get(), 7), 0);
    EXPECT_EQ(Manager().SetTimer(probe.get(), 7, 1000), 1);
    EXPECT_EQ(Manager().GetControlTimerId(probe.get(), 7), 17u);
    EXPECT_EQ(Manager().SetTimer(probe.get(), 8, 1000), 1);
    EXPECT_EQ(Manager().GetControlTimerId(probe.get(), 8), 18u);
}

TEST_F(ServicesTest, TimerTicksReachTheControlThroughTheWindow)
{
    auto probe = MakeProbe();
    ASSERT_EQ(Manager().SetTimer(probe.get(), 1, 10), 1);
    EXPECT_TRUE(PumpUntil([&] { return probe->ticks >= 3; }, 3000));
    Manager().KillTimer(probe.get(), 1);
    const int ticks = probe->ticks;
    ::Sleep(50);
    Pump();
    EXPECT_EQ(probe->ticks, ticks);
}

// Ids go round below 240; once round they skip the manager's own ids and
// every id a record still holds, and only run out when all are taken.
TEST_F(ServicesTest, ControlTimerIdsAvoidReservedAndLiveIds)
{
    std::vector<std::unique_ptr<Probe>> probes;
    std::set<UINT> ids;
    for (int i = 0; i < 236; ++i)
    {
        probes.push_back(MakeProbe());
        ASSERT_EQ(Manager().SetTimer(probes.back().get(), 1, 60000), 1) << i;
        ids.insert(Manager().GetControlTimerId(probes.back().get(), 1));
    }
    EXPECT_EQ(ids.size(), 236u);
    for (UINT reserved : {0u, 66u, 88u, 99u})
        EXPECT_EQ(ids.count(reserved), 0u) << reserved;
    EXPECT_LT(*ids.rbegin(), 240u);

    auto extra = MakeProbe();
    EXPECT_EQ(Manager().SetTimer(extra.get(), 1, 60000), 0);
    // A control that goes frees its id for the next one.
    const UINT freed = Manager().GetControlTimerId(probes[100].get(), 1);
    probes[100].reset();
    ASSERT_EQ(Manager().SetTimer(extra.get(), 1, 60000), 1);
    EXPECT_EQ(Manager().GetControlTimerId(extra.get(), 1), freed);
}

namespace {

// A control whose tick stops its own timer and deletes another control.
class Stopper : public Probe
{
public:
    using Probe::Probe;
    int OnControlTimer() override
    {
        Probe::OnControlTimer();
        GetManager()->KillTimer(this);
        victim.reset();
        return 1;
    }
    std::unique_ptr<Probe> victim;
};

} // namespace

TEST_F(ServicesTest, ATickThatRemovesTimersEndsCleanly)
{
    Stopper stopper(&dialog, 1, CRect(0, 0, 10, 10));
    stopper.SetManager(&Manager());
    stopper.victim = MakeProbe(2);
    Probe* victim = stopper.victim.get();
    ASSERT_EQ(Manager().SetTimer(&stopper, 1, 60000), 1);
    ASSERT_EQ(Manager().SetTimer(victim, 1, 60000), 1);
    const UINT stopperId = Manager().GetControlTimerId(&stopper, 1);

    Manager().OnTimer(stopperId);
    EXPECT_EQ(stopper.ticks, 1);
    EXPECT_EQ(stopper.victim, nullptr);
    EXPECT_EQ(Manager().GetControlTimerId(&stopper, 1), 0u);
    Manager().OnTimer(stopperId);
    EXPECT_EQ(stopper.ticks, 1);
}

// ---- message and progress overlay ------------------------------------------------------

TEST_F(ServicesTest, AMessageHoldsThenFadesInStepsOfTen)
{
    Manager().SetMessage(L"saved", CRect(50, 50, 250, 120), VREL::MSG_LEVEL_INFO);
    EXPECT_EQ(Manager().GetOverlayAlpha(), 255);
    Manager().OnTimer(VREL::TIMER_MESSAGE_HOLD);
    EXPECT_EQ(Manager().GetOverlayAlpha(), 255);

    std::vector<int> alphas;
    while (Manager().GetOverlayAlpha() > 0 && alphas.size() < 40)
    {
        Manager().OnTimer(VREL::TIMER_MESSAGE_FADE);
        alphas.push_back(Manager().GetOverlayAlpha());
    }
    ASSERT_GE(alphas.size(), 2u);
    EXPECT_EQ(alphas[0], 245);
    EXPECT_EQ(alphas[alphas.size() - 2], 25);
    EXPECT_EQ(alphas.back(), 0);

    // A new message during a fade starts again at full strength.
    Manager().SetMessage(L"again", CRect(50, 50, 250, 120), VREL::MSG_LEVEL_INFO);
    Manager().OnTimer(VREL::TIMER_MESSAGE_FADE);
    Manager().SetMessage(L"again", CRect(50, 50, 250, 120), VREL::MSG_LEVEL_WARNING);
    EXPECT_EQ(Manager().GetOverlayAlpha(), 255);
}

TEST_F(ServicesTest, ProgressRunsUpInStepsOfTwoAndThenFades)
{
    Manager().SetProgress(0, L"loading", CRect());
    Manager().SetProgress(100, L"loading", CRect());
    // An empty rectangle puts the overlay in a band at the bottom.
    EXPECT_EQ(Manager().GetOverlayRect(), CRect(0, 240, 400, 298));
    EXPECT_EQ(Manager().GetShownProgress(), 0);

    std::vector<int> shown;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (shown.empty() || shown.back() != Manager().GetShownProgress())
                shown.push_back(Manager().GetShownProgress());
            return Manager().GetOverlayAlpha() == 0;
        },
        8000));
    // Several ticks may pass between two looks; each adds 2.
    for (size_t i = 1; i + 1 < shown.size(); ++i)
    {
        EXPECT_GT(shown[i], shown[i - 1]) << i;
        EXPECT_EQ((shown[i] - shown[i - 1]) % 2, 0) << i;
    }
    EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), 100);
    EXPECT_EQ(Manager().GetShownProgress(), 0);
}

TEST_F(ServicesTest, TheSameProgressTwiceDoesNothingAlsoAfterAFade)
{
    Manager().SetProgress(50, L"half", CRect(0, 0, 200, 60));
    Manager().OnTimer(VREL::TIMER_PROGRESS);
    EXPECT_EQ(Manager().GetShownProgress(), 2);
    for (int i = 1; i < 25; ++i)
        Manager().OnTimer(VREL::TIMER_PROGRESS);
    EXPECT_EQ(Manager().GetShownProgress(), 50);

    Manager().SetMessage(L"note", CRect(0, 0, 200, 60), VREL::MSG_LEVEL_INFO);
    Manager().OnTimer(VREL::TIMER_MESSAGE_HOLD);
    while (Manager().GetOverlayAlpha() > 0)
        Manager().OnTimer(VREL::TIMER_MESSAGE_FADE);

    Manager().SetProgress(50, L"half", CRect(0, 0, 200, 60));
    EXPECT_EQ(Manager().GetOverlayAlpha(), 0);
    EXPECT_EQ(Manager().GetShownProgress(), 0);
}

TEST_F(ServicesTest, TheOverlayIsDrawnOnlyWhileVisible)
{
    Manager().SetMessage(L"hello", CRect(10, 10, 110, 70), VREL::MSG_LEVEL_INFO);
    DibCanvas shown(200, 100, 0xFF000000);
    {
        Gdiplus::Graphics graphics(shown.Dc());
        Manager().DrawOverlay(graphics);
    }
    EXPECT_EQ(shown.Rgb(10, 10), 0x49FFE6u);
    EXPECT_EQ(shown.Rgb(13, 65), 0x515151u);
    EXPECT_EQ(shown.Rgb(150, 50), 0u);

    Manager().OnTimer(VREL::TIMER_MESSAGE_HOLD);
    while (Manager().GetOverlayAlpha() > 0)
        Manager().OnTimer(VREL::TIMER_MESSAGE_FADE);
    DibCanvas gone(200, 100, 0xFF000000);
    {
        Gdiplus::Graphics graphics(gone.Dc());
        Manager().DrawOverlay(graphics);
    }
    EXPECT_EQ(gone.Rgb(10, 10), 0u);
}

// ---- caret -----------------------------------------------------------------------------------

namespace {

// Stands in for the rich edit that owns the caret.
constexpr COLORREF kCaretColour = RGB(10, 200, 30);

VREL::MControl* CaretControl(VREL::MRichEdit* owner) { return reinterpret_cast<Probe*>(owner); }
COLORREF CaretColour(VREL::MRichEdit*) { return kCaretColour; }

class CaretOwnerStandIn
{
public:
    CaretOwnerStandIn() : m_previous(VREL::SetCaretOwnerAccess({&CaretControl, &CaretColour})) {}
    ~CaretOwnerStandIn() { VREL::SetCaretOwnerAccess(m_previous); }

private:
    VREL::CaretOwnerAccess m_previous;
};

bool CaretDrawn(VREL::PaintManager& manager)
{
    DibCanvas canvas(40, 40, 0xFF000000);
    manager.DrawCaret(canvas.Dc(), CRect(0, 0, 40, 40));
    return NearColor(canvas.Rgb(5, 6), 0x0AC81E) && NearColor(canvas.Rgb(6, 15), 0x0AC81E) &&
           canvas.Rgb(7, 6) == 0u;
}

} // namespace

TEST_F(ServicesTest, TheCaretBlinksOnItsTimerWhileItsOwnerHasTheFocus)
{
    CaretOwnerStandIn standIn;
    ::SetForegroundWindow(hwnd);
    ::SetFocus(hwnd);
    ASSERT_EQ(::GetFocus(), hwnd);
    auto owner = MakeProbe();
    owner->SetKeyFocus(1);
    auto* edit = reinterpret_cast<VREL::MRichEdit*>(owner.get());

    EXPECT_EQ(Manager().CreateCaret(nullptr, 2, 10), 1);
    ASSERT_EQ(Manager().SetCaretPos(edit, 5, 6), 1);
    EXPECT_EQ(Manager().GetCaretRect(), CRect(5, 6, 7, 16));
    EXPECT_EQ(Manager().GetCurrentCaretObject(), edit);
    EXPECT_FALSE(CaretDrawn(Manager()));

    Manager().ShowCaret(1);
    EXPECT_TRUE(CaretDrawn(Manager()));
    Manager().OnTimer(VREL::TIMER_CARET_BLINK);
    EXPECT_FALSE(CaretDrawn(Manager()));
    Manager().OnTimer(VREL::TIMER_CARET_BLINK);
    EXPECT_TRUE(CaretDrawn(Manager()));

    // Losing the focus stops the caret at the next paint.
    owner->SetKeyFocus(0);
    EXPECT_FALSE(CaretDrawn(Manager()));
    owner->SetKeyFocus(1);
    EXPECT_FALSE(CaretDrawn(Manager()));

    // The owner going takes the caret's owner with it.
    owner.reset();
    EXPECT_EQ(Manager().GetCurrentCaretObject(), nullptr);
    ::DestroyCaret();
}

// ---- images --------------------------------------------------------------------------------------

TEST_F(ServicesTest, AnImageIsLoadedOnceWithItsFirstFrameCount)
{
    VREL::ImgResInfo* first = Manager().AddImgResInfo(TestTheme::kStrip4, TestTheme::kStrip4Frames);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->frameWidth, TestTheme::kStrip4Width);
    EXPECT_EQ(first->frameHeight, TestTheme::kStrip4Height);
    EXPECT_EQ(Manager().AddImgResInfo(TestTheme::kStrip4, 2), first);
    EXPECT_EQ(first->frameCount, TestTheme::kStrip4Frames);

    EXPECT_EQ(Manager().AddImgResInfo(L"no_such_image.png", 1), nullptr);
    EXPECT_EQ(Manager().AddImgResInfo(TestTheme::kGrid, 0), nullptr);
}

TEST_F(ServicesTest, ResourceImagesOfTheLibraryAndTheApplicationAreKeptApart)
{
    VREL::ImgResInfo* library = Manager().AddImgResInfo(101, L"PNG", 1, 0);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->resourceId, 101u);
    EXPECT_EQ(library->frameWidth, 22);
    // The test program has no image 101 of its own.
    EXPECT_EQ(Manager().AddImgResInfo(101, L"PNG", 1, 1), nullptr);
    EXPECT_EQ(Manager().AddImgResInfo(101, L"PNG", 3, 0), library);
}

// Each load copies the resource; the copy must go with the image.
TEST(ResourceImages, TheCopyOfTheResourceIsFreedWithTheImage)
{
    HMODULE library = ::GetModuleHandleW(L"vrel.dll");
    ASSERT_NE(library, nullptr);
    // The library's font resource: large, and no image, so nothing but the
    // copy stays behind when a load leaks.
    HRSRC font = ::FindResourceW(library, MAKEINTRESOURCEW(106), L"ttf");
    ASSERT_NE(font, nullptr);
    const SIZE_T copySize = ::SizeofResource(library, font);
    ASSERT_GT(copySize, 100000u);

    auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
        return counters.WorkingSetSize;
    };
    delete VREL::MRender::LoadImageFromIDResource(106, L"ttf", library);
    const SIZE_T before = workingSet();
    constexpr int kLoads = 40;
    for (int i = 0; i < kLoads; ++i)
        delete VREL::MRender::LoadImageFromIDResource(106, L"ttf", library);
    const SIZE_T after = workingSet();
    EXPECT_LT(after, before + copySize * kLoads / 4);
}

// ---- tooltip and balloon ---------------------------------------------------------------------

namespace {

struct TooltipSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTooltip(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wstring(name) == L"tooltips_class32" && ::GetWindow(window, GW_OWNER) == search->owner)
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTooltipOf(HWND owner)
{
    TooltipSearch search{owner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST_F(ServicesTest, AnEmptyTooltipHidesTheToolWithoutDestroyingIt)
{
    Manager().SetTooltip(L"first", CRect());
    HWND tooltip = FindTooltipOf(hwnd);
    ASSERT_NE(tooltip, nullptr);
    Manager().SetTooltip(L"", CRect());
    Manager().SetTooltip(L"second", CRect());
    EXPECT_EQ(FindTooltipOf(hwnd), tooltip);
    Manager().SetTooltipCtrlID(4);
    Manager().ClearTooltip();
    EXPECT_EQ(Manager().GetTooltipCtrlID(), 0);
    EXPECT_TRUE(::IsWindow(tooltip));
}

TEST_F(ServicesTest, OnlyTheKindThatShowedTheBalloonMayHideIt)
{
    EXPECT_EQ(Manager().ShowAirBladder(SW_SHOW, 3), 0);
    POINT point = {200, 200};
    ::ClientToScreen(hwnd, &point);
    Manager().SetAirBladderMsg(L"hint", point, VREL::AIRBLADDER_TYPE_STAY, VREL::AIRBLADDER_MODE_BELOW);
    VREL::MAirBladder* balloon = Manager().GetAirBladder();
    ASSERT_NE(balloon, nullptr);

    Manager().ShowAirBladder(SW_SHOW, 3);
    EXPECT_TRUE(::IsWindowVisible(balloon->GetSafeHwnd()));
    EXPECT_EQ(Manager().ShowAirBladder(SW_HIDE, 5), 0);
    EXPECT_TRUE(::IsWindowVisible(balloon->GetSafeHwnd()));
    Manager().ShowAirBladder(SW_HIDE, 0);
    EXPECT_FALSE(::IsWindowVisible(balloon->GetSafeHwnd()));
    EXPECT_EQ(::GetWindow(balloon->GetSafeHwnd(), GW_OWNER), hwnd);
}
