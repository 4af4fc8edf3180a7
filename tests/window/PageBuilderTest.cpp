// The window built from the tables on a plain dialog: what exists, where it
// is, the start view, the system settings state and the language texts.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/window/PageBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/window/PagesTestSupport.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/PushButtons.h"
#include "ui/controls/TabCtrl.h"
#include "ui/keyboard/KeyLists.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/ComboBox.h"
#include "ui/framework/ControlFactory.h"
#include "ui/framework/MControlFont.h"

using namespace tarnwell;
using pagestest::PagesDialog;

namespace {

std::wstring TitleOf(const PageControls& controls, int id)
{
    auto* font = controls.As<VREL::MControlFont>(id);
    return font ? std::wstring(font->GetTitle().GetString()) : L"<none>";
}

std::wstring TooltipOf(const PageControls& controls, int id)
{
    VREL::MControl* control = controls.Get(id);
    return control ? std::wstring(control->GetTooltip()) : L"<none>";
}

int Checked(const PageControls& controls, int id)
{
    auto* check = controls.As<VREL::CCheckButton>(id);
    return check ? check->GetCheck() : -1;
}

std::string Str(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool Contains(const std::vector<CString>& list, const wchar_t* entry)
{
    for (const CString& item : list)
        if (std::wstring(item.GetString()) == entry)
            return true;
    return false;
}

// A stand-in for a combo class the library does not build yet: it records the
// items the hooks give it.
class FakeCombo : public VREL::MControlFont
{
public:
    FakeCombo(VREL::MObject* owner, UINT id, CRect rect, int visible, int enabled)
        : MControlFont(owner, id, rect, nullptr, visible, enabled, 1)
    {
    }
    void DrawControl(HDC&, CRect) override {}
    std::vector<std::wstring> items;
    std::vector<int> data;
};

bool ApplyFakeCombo(VREL::MControl* control, const SetupOp& op, const CString& text)
{
    auto* combo = dynamic_cast<FakeCombo*>(control);
    if (!combo || (op.op != Op::AddItem && op.op != Op::AddSleepItem && op.op != Op::CurSel))
        return false;
    if (op.op != Op::CurSel)
    {
        combo->items.push_back(text.GetString());
        combo->data.push_back(static_cast<int>(op.op == Op::AddSleepItem ? op.v[1] : op.v[0]));
    }
    return true;
}

bool SetFakeComboItem(VREL::MControl* control, int index, const CString& text)
{
    auto* combo = dynamic_cast<FakeCombo*>(control);
    if (!combo || index < 0 || index >= static_cast<int>(combo->items.size()))
        return false;
    combo->items[static_cast<size_t>(index)] = text.GetString();
    return true;
}

// Builds the window with the English file of the source tree.
struct Built
{
    explicit Built(PageState state = PageState{}, const wchar_t* folder = pagestest::BinFolder())
        : texts(folder, state.language), dialog(texts, state)
    {
        hwnd = dialog.CreateMain();
    }
    ~Built()
    {
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
    }
    LanguageTexts texts;
    PagesDialog dialog;
    HWND hwnd = nullptr;
};

} // namespace

TEST(PageBuilder, BuildsEveryBuiltClassAndRecordsTheClassesNotYetBuilt)
{
    Built built;
    ASSERT_NE(built.hwnd, nullptr);
    const PageControls& controls = built.dialog.controls;

    // Each row either exists on the window or is recorded as missing, and
    // only classes that the library cannot construct are missing.
    const auto constructible = VREL::ControlFactory::ConstructibleNames(VREL::FACTORY_PANEL);
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
        {
            SCOPED_TRACE(row.id);
            bool canBuild = false;
            for (const CString& name : constructible)
                canBuild = canBuild || std::wstring(name.GetString()) == row.className;
            EXPECT_EQ(controls.Get(row.id) != nullptr, canBuild);
            if (controls.Get(row.id) && table.panelId == kOnWindow)
            {
                EXPECT_NE(built.dialog.GetControl(row.id), nullptr);
            }
        }
    for (const CString& missing : controls.Missing())
        EXPECT_EQ(controls.Get(_wtoi(missing.GetString())), nullptr);

    // Controls of a page belong to its panel.
    ASSERT_NE(controls.Get(198), nullptr);
    EXPECT_EQ(controls.Get(198)->GetParantObject(), controls.Get(kIdSystemPanel));

    // Places and the kept empty rectangle of a row without a place.
    EXPECT_EQ(Str(controls.Get(35)->GetRect()), "1330,10,1360,40");
    EXPECT_EQ(Str(controls.Get(200)->GetRect()), "450,236,600,266");
    EXPECT_TRUE(controls.Get(36)->GetRect().IsRectEmpty());
    EXPECT_TRUE(controls.Get(41)->GetRect().IsRectEmpty());
    // Both language radios can be reached, side by side.
    EXPECT_EQ(Str(controls.Get(kIdLanguageOther)->GetRect()), "620,236,770,266");
}

TEST(PageBuilder, StartsOnTheHomePageWithoutRunningThePageSwitch)
{
    Built built;
    const PageControls& controls = built.dialog.controls;
    EXPECT_TRUE(controls.Get(kIdHomePanel)->IsVisible());
    for (int id : {kIdKeysPanel, kIdLightingPanel, kIdMacroPanel, kIdSettingsPanel, kIdSystemPanel, kIdTabStrip})
        EXPECT_FALSE(controls.Get(id)->IsVisible()) << id;
    EXPECT_EQ(built.dialog.notifications, 0);

    // The strip still selects the keys tab first and reports later choices.
    auto* strip = controls.As<VREL::MTabCtrl>(kIdTabStrip);
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->GetItemCount(), 4);
    EXPECT_EQ(strip->GetSelectItem(), 0);
    const UINT ids[] = {1, 3, 2, 5};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(strip->GetItemID(i), ids[i]);
    strip->SetSelectItem(1);
    EXPECT_EQ(built.dialog.lastId, static_cast<UINT>(kIdTabStrip));
    EXPECT_EQ(built.dialog.lastCode, 2u);
    EXPECT_TRUE(controls.Get(kIdLightingPanel)->IsVisible());
    EXPECT_FALSE(controls.Get(kIdKeysPanel)->IsVisible());
}

TEST(PageBuilder, SystemSettingsShowTheLanguageAutorunAndExitModeOfTheState)
{
    struct Case
    {
        int language;
        bool autorun;
        int autorunMinimize;
        int exitMode;
        int radio199, radio200, check202, check203, enabled203, radio207, radio208;
        const wchar_t* closeTooltip;
    };
    const Case cases[] = {
        // The other language's radio stands for 1045, the language it selects.
        {1045, false, 0, 1, 1, 0, 0, 0, 0, 1, 0, L"Zamknij"},
        {1033, true, 1, 2, 0, 1, 1, 1, 1, 0, 1, L"Exit"},
        // No file for 2052: the built-in text.
        {2052, true, 0, 0, 0, 1, 1, 0, 1, 0, 1, L"Close"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.language);
        PageState state;
        state.language = c.language;
        state.autorun = c.autorun;
        state.autorunMinimize = c.autorunMinimize;
        state.exitMode = c.exitMode;
        Built built(state);
        const PageControls& controls = built.dialog.controls;
        EXPECT_EQ(Checked(controls, 199), c.radio199);
        EXPECT_EQ(Checked(controls, 200), c.radio200);
        EXPECT_EQ(Checked(controls, 202), c.check202);
        EXPECT_EQ(Checked(controls, 203), c.check203);
        EXPECT_EQ(controls.Get(203)->IsEnabled(), c.enabled203);
        EXPECT_EQ(Checked(controls, 207), c.radio207);
        EXPECT_EQ(Checked(controls, 208), c.radio208);
        EXPECT_EQ(TooltipOf(controls, 35), c.closeTooltip);
    }
    EXPECT_EQ(PageBuilder::LanguageRadioFor(1045), 199);
    EXPECT_EQ(PageBuilder::LanguageRadioFor(2052), 200);
}

TEST(PageBuilder, LanguageSwitchSetsEveryTextAndComesBack)
{
    Built built;
    const PageControls& controls = built.dialog.controls;
    LanguageTexts& texts = built.texts;
    PageBuilder builder(texts);
    PageState state;

    struct Probe
    {
        int id;
        bool tooltip;
        const wchar_t* english;
        const wchar_t* polish;
    };
    const Probe probes[] = {
        {198, false, L"Language", L"J\x0119zyk"},
        {195, false, L"Reset", L"Resetuj"},
        {83, false, L"New", L"Nowe"},
        {206, false, L"On close", L"Zamykanie"},
        {39, true, L"Settings", L"Ustawienia"},
        {51, true, L"Home", L"Strona g\x0142\x00f3wna"},
        // The profile bar, shown on the keys page, follows the language too.
        {47, false, L"New", L"Nowy"},
        {49, false, L"Import", L"Importuj"},
        {65, false, L"Default profile", L"Profil domy\x015blny"},
        {64, true, L"More profiles", L"Wi\x0119" L"cej profili"},
        // Fixed texts and the texts of creation stay.
        {200, false, L"English", L"English"},
        {138, false, L"R", L"R"},
        {213, false, L"Support", L"Support"},
    };
    auto check = [&](bool polish) {
        for (const Probe& p : probes)
        {
            SCOPED_TRACE(p.id);
            EXPECT_EQ(p.tooltip ? TooltipOf(controls, p.id) : TitleOf(controls, p.id), polish ? p.polish : p.english);
        }
        auto* strip = controls.As<VREL::MTabCtrl>(kIdTabStrip);
        ASSERT_NE(strip, nullptr);
        ASSERT_NE(strip->GetItemInfo(1), nullptr);
        EXPECT_EQ(std::wstring(strip->GetItemInfo(1)->strText.GetString()),
                  polish ? L"\x015awiat\x0142o" : L"Lighting");
    };
    check(false);
    texts.SetLanguage(1045);
    builder.ApplyTexts(controls, state);
    check(true);
    texts.SetLanguage(1033);
    builder.ApplyTexts(controls, state);
    check(false);

    // The enter button names the keyboard's state.
    EXPECT_EQ(TitleOf(controls, kIdEnterButton), L"No keyboard connected");
    state.connected = true;
    builder.ApplyTexts(controls, state);
    EXPECT_EQ(TitleOf(controls, kIdEnterButton), L"Customize");
}

TEST(PageBuilder, WithoutALanguageFileNoCaptionIsEmpty)
{
    testsupport::TempFolder empty;
    PageState state;
    Built built(state, empty.Path().c_str());
    const PageControls& controls = built.dialog.controls;
    PageBuilder(built.texts).ApplyTexts(controls, state);
    int checked = 0;
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
        {
            if (row.title.source != TextSource::Dialog && row.title.source != TextSource::Caption)
                continue;
            if (!controls.As<VREL::MControlFont>(row.id))
                continue;
            EXPECT_FALSE(TitleOf(controls, row.id).empty()) << row.id;
            ++checked;
        }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(TooltipOf(controls, 37), L"Minimize");
}

TEST(PageBuilder, ClassSetUpGoesThroughTheFamilysHooksAndItemsFollowTheLanguage)
{
    VREL::ControlConstructor previous = nullptr;
    ASSERT_TRUE(VREL::ControlFactory::Register(
        VREL::MakeControlClass<FakeCombo, VREL::ControlForm::VisibleEnabled>(L"MComboBox"), &previous));
    RegisterWidgetHooks(L"MComboBox", WidgetHooks{&ApplyFakeCombo, &SetFakeComboItem});
    {
        PageState state;
        state.rgbKeyboard = false;
        Built built(state);
        const PageControls& controls = built.dialog.controls;
        auto* sleep = controls.As<FakeCombo>(192);
        auto* music = controls.As<FakeCombo>(170);
        ASSERT_NE(sleep, nullptr);
        ASSERT_NE(music, nullptr);
        EXPECT_EQ(sleep->items, (std::vector<std::wstring>{L"2 min", L"5 min", L"10 min", L"30 min", L"Never"}));
        EXPECT_EQ(sleep->data, (std::vector<int>{2, 5, 10, 30, 0}));
        ASSERT_EQ(music->items.size(), 11u);
        EXPECT_EQ(music->items[0], L"Green to red");
        EXPECT_FALSE(Contains(controls.Skipped(), L"192 MComboBox AddItem"));
        EXPECT_FALSE(controls.Get(170)->IsVisible());

        built.texts.SetLanguage(1045);
        PageBuilder builder(built.texts);
        builder.ApplyTexts(controls, state);
        EXPECT_EQ(sleep->items.back(), L"Nigdy");
        EXPECT_EQ(sleep->items[0], L"2 min");
        // The music effects follow the language only on a keyboard with per-key colours.
        EXPECT_EQ(music->items[0], L"Green to red");
        state.rgbKeyboard = true;
        builder.ApplyTexts(controls, state);
        EXPECT_EQ(music->items[0], L"Od zielonego do czerwonego");
        EXPECT_EQ(music->items[10], L"Niebieski");
    }
    UnregisterWidgetHooks(L"MComboBox");
    VREL::ControlFactory::Restore(L"MComboBox", previous);

    // Without hooks the class's own calls are recorded, nothing else breaks.
    ASSERT_TRUE(VREL::ControlFactory::Register(
        VREL::MakeControlClass<FakeCombo, VREL::ControlForm::VisibleEnabled>(L"MComboBox"), &previous));
    {
        Built built;
        EXPECT_TRUE(Contains(built.dialog.controls.Skipped(), L"192 MComboBox AddSleepItem"));
        EXPECT_TRUE(built.dialog.controls.As<FakeCombo>(192)->items.empty());
    }
    VREL::ControlFactory::Restore(L"MComboBox", previous);
}

TEST(PageBuilder, PlacingBeforeTheCloseButtonExistsDoesNothing)
{
    Built built;
    PageControls& controls = built.dialog.controls;
    const CRect before = controls.Get(198)->GetRect();
    PageControls partial;
    PageBuilder::Place(partial, RECT{0, 0, 500, 400});
    // A bigger client moves the edge-anchored controls with it.
    PageBuilder::Place(controls, RECT{0, 0, 1600, 900});
    EXPECT_EQ(Str(controls.Get(35)->GetRect()), "1550,10,1580,40");
    EXPECT_EQ(Str(controls.Get(52)->GetRect()), "560,5,1040,45");
    EXPECT_EQ(Str(controls.Get(198)->GetRect()), Str(before));
}

TEST(PageBuilder, WithTheProgramsHooksEveryRowIsBuiltAndEverySetUpCallMade)
{
    RegisterPageWidgetHooks();
    {
        PageState state;
        Built built(state);
        const PageControls& controls = built.dialog.controls;
        for (const CString& missing : controls.Missing())
            ADD_FAILURE() << "not built: " << std::string(missing.GetString(), missing.GetString() + missing.GetLength());
        for (const CString& skipped : controls.Skipped())
            ADD_FAILURE() << "not made: " << std::string(skipped.GetString(), skipped.GetString() + skipped.GetLength());

        // The class's own calls reached the widgets.
        auto* sleep = controls.As<VREL::MComboBoxBase>(192);
        ASSERT_NE(sleep, nullptr);
        ASSERT_EQ(sleep->GetItemCount(), 5);
        EXPECT_EQ(std::wstring(sleep->GetItemText(4).GetString()), L"Never");
        EXPECT_EQ(sleep->GetItemData(2), 10);
        EXPECT_EQ(sleep->GetCurSel(), 0);
        EXPECT_EQ(std::wstring(sleep->GetTitle().GetString()), L"2 min");
        auto* layers = controls.As<VREL::KeyLayerCtrl>(70);
        ASSERT_NE(layers, nullptr);
        EXPECT_EQ(layers->GetSelectKeyLayerID(), 0);
        auto* keys = controls.As<VREL::KeyboardCtrl>(63);
        auto* lights = controls.As<VREL::KeyboardCtrl>(118);
        ASSERT_NE(keys, nullptr);
        ASSERT_NE(lights, nullptr);
        EXPECT_EQ(keys->GetKeyboardCtrlMode(), 101);
        EXPECT_EQ(lights->GetKeyboardCtrlMode(), 102);

        // A language switch renames the items and the shown selection with them.
        built.texts.SetLanguage(1045);
        PageBuilder(built.texts).ApplyTexts(controls, state);
        EXPECT_EQ(std::wstring(sleep->GetItemText(4).GetString()), L"Nigdy");
        auto* mouse = controls.As<VREL::MComboBoxBase>(114);
        ASSERT_NE(mouse, nullptr);
        EXPECT_EQ(std::wstring(mouse->GetTitle().GetString()), L"Lewy przycisk");
    }
    for (const wchar_t* name : {L"MComboBox", L"MComboBox2", L"KeyboardCtrl", L"KeyLayerCtrl", L"KeyTypeTab",
                                L"KeyFuncControl", L"MacroList", L"CRecordList", L"MListBoxEx"})
        UnregisterWidgetHooks(name);
}

namespace {

// A dialog that builds as the program does: the shell and the home page
// with the window, the other pages later, a few rows a step.
class StagedDialog : public PagesDialog
{
public:
    StagedDialog(const LanguageTexts& texts, PageState state) : PagesDialog(texts, state), m_texts(texts), m_state(state)
    {
    }
    void InitUI(CRect client) override
    {
        builder = std::make_unique<PageBuilder>(m_texts);
        controls = builder->BuildShell(*this, client, m_state);
        builder->BuildHome(controls, *this, client);
    }
    bool Step(int rows) { return builder->BuildMore(controls, *this, m_clientRect, rows); }
    std::unique_ptr<PageBuilder> builder;

private:
    const LanguageTexts& m_texts;
    PageState m_state;
};

// What a user could tell apart in one control.
std::string Describe(const PageControls& controls, int id)
{
    VREL::MControl* control = controls.Get(id);
    if (!control)
        return "none";
    std::string text = std::string(typeid(*control).name()) + " at " + Str(control->GetRect()) + " shown " +
                       std::to_string(control->IsVisible()) + " enabled " + std::to_string(control->IsEnabled()) +
                       " check " + std::to_string(Checked(controls, id));
    const std::wstring wide = TitleOf(controls, id) + L" | " + TooltipOf(controls, id);
    for (wchar_t c : wide)
        text += c < 128 ? static_cast<char>(c) : '?';
    if (auto* owner = dynamic_cast<VREL::MControl*>(control->GetParantObject()))
    {
        // The owner and the place among its children: the drawing order.
        text += " in " + std::to_string(owner->GetControlID()) + " as ";
        const auto& siblings = *owner->GetControls();
        text += std::to_string(std::find(siblings.begin(), siblings.end(), control) - siblings.begin());
    }
    return text;
}

std::vector<std::wstring> Wide(const std::vector<CString>& list)
{
    std::vector<std::wstring> out;
    for (const CString& item : list)
        out.push_back(item.GetString());
    return out;
}

} // namespace

// The window shows with the shell and home page; the other pages follow a
// few rows at a time, each joining whole, and end up as if built at once.
TEST(PageBuilder, AWindowBuiltInStagesEndsAsOneBuiltAtOnce)
{
    RegisterPageWidgetHooks();
    for (const PageState state : {PageState{}, PageState{1045, 1, true, true, 1, false}})
    {
        SCOPED_TRACE(state.language);
        LanguageTexts texts(pagestest::BinFolder(), state.language);
        Built atOnce(state);
        StagedDialog staged(texts, state);
        ASSERT_NE(staged.CreateMain(), nullptr);
        PageControls& controls = staged.controls;

        auto isFirst = [](const PageTable& table) { return table.rows == &ShellRows() || table.rows == &HomeRows(); };
        int laterRows = 0;
        for (const PageTable& table : AllPageTables())
            for (const ControlRow& row : *table.rows)
            {
                if (isFirst(table))
                    EXPECT_EQ(Describe(controls, row.id), Describe(atOnce.dialog.controls, row.id)) << row.id;
                else
                {
                    EXPECT_EQ(controls.Get(row.id), nullptr) << row.id;
                    ++laterRows;
                }
            }
        EXPECT_FALSE(staged.builder->Finished());

        // One row made: the keys page has begun but is not there yet.
        EXPECT_FALSE(staged.Step(1));
        EXPECT_EQ(controls.Get(KeysRows().front().id), nullptr);
        int steps = 1;
        while (!staged.Step(3))
            ++steps;
        EXPECT_EQ(steps, 1 + (laterRows - 1 + 2) / 3 - 1);
        EXPECT_TRUE(staged.builder->Finished());
        EXPECT_TRUE(staged.Step(3));

        for (const PageTable& table : AllPageTables())
            for (const ControlRow& row : *table.rows)
                EXPECT_EQ(Describe(controls, row.id), Describe(atOnce.dialog.controls, row.id)) << row.id;
        EXPECT_EQ(Wide(controls.Missing()), Wide(atOnce.dialog.controls.Missing()));
        EXPECT_EQ(Wide(controls.Skipped()), Wide(atOnce.dialog.controls.Skipped()));
        staged.DestroyWindow();
    }
    for (const wchar_t* name : {L"MComboBox", L"MComboBox2", L"KeyboardCtrl", L"KeyLayerCtrl", L"KeyTypeTab",
                                L"KeyFuncControl", L"MacroList", L"CRecordList", L"MListBoxEx"})
        UnregisterWidgetHooks(name);
}

// The strip starts hidden; once shown, a click on a tab selects its page.
TEST(PageBuilder, AClickOnAShownTabSelectsItsPage)
{
    Built built;
    const PageControls& controls = built.dialog.controls;
    ::ShowWindow(built.hwnd, SW_SHOW);
    controls.Get(kIdTabStrip)->SetVisible(1);
    auto* strip = controls.As<VREL::MTabCtrl>(kIdTabStrip);
    ASSERT_NE(strip, nullptr);
    struct Case
    {
        int x;
        int selected;
        int panel;
    };
    // Each tab is 120 wide from the strip's left edge at 450.
    for (const Case& c : {Case{630, 1, kIdLightingPanel}, Case{750, 2, kIdMacroPanel}, Case{870, 3, kIdSettingsPanel}})
    {
        SCOPED_TRACE(c.x);
        const LPARAM at = MAKELPARAM(c.x, 25);
        ::SendMessageW(built.hwnd, WM_MOUSEMOVE, 0, at);
        ::SendMessageW(built.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(built.hwnd, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(strip->GetSelectItem(), c.selected);
        EXPECT_EQ(built.dialog.lastId, static_cast<UINT>(kIdTabStrip));
        EXPECT_TRUE(controls.Get(c.panel)->IsVisible());
    }
}
