// A picture of the macro page as the page builder makes it, holding a
// recorded macro, for people to look at in screenshots/pages/.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/window/MacroEditing.h"
#include "tests/support/DibCanvasPng.h"
#include "tests/window/PagesTestSupport.h"
#include "ui/lists/MacroList.h"
#include "ui/lists/RecordList.h"

using namespace tarnwell;

namespace {

// Distinct colours inside an icon's place in a row, in canvas coordinates:
// one or two where nothing is drawn over the row.
size_t ColoursAt(DibCanvas& canvas, const CRect& row, CRect icon)
{
    icon.OffsetRect(row.left, row.top);
    std::set<uint32_t> colours;
    for (int y = icon.top; y < icon.bottom; ++y)
        for (int x = icon.left; x < icon.right; ++x)
            colours.insert(canvas.Rgb(x, y));
    return colours.size();
}

TEST(MacroPagePicture, ARecordedMacro)
{
    // The program's own set-up calls give the lists their row images.
    RegisterPageWidgetHooks();
    PageState state;
    LanguageTexts texts(pagestest::BinFolder(), state.language);
    pagestest::PagesDialog dialog(texts, state);
    ASSERT_NE(dialog.CreateMain(), nullptr);
    for (int id : {kIdKeysPanel, kIdLightingPanel, kIdMacroPanel, kIdSettingsPanel, kIdSystemPanel, kIdHomePanel})
        if (VREL::MControl* panel = dialog.controls.Get(id))
            panel->SetVisible(id == kIdMacroPanel);

    auto* macros = dynamic_cast<VREL::MacroList*>(dialog.controls.Get(82));
    auto* records = dynamic_cast<VREL::CRecordList*>(dialog.controls.Get(92));
    if (macros == nullptr || records == nullptr)
        GTEST_SKIP() << "the macro lists are not built yet";
    macros->AddString(L"Macro 1", 1L, 0);
    macros->AddString(L"Macro 2", 2L, 0);
    macros->SetCurSel(0);
    records->AddString(DownRowText(L"A"), ROW_KEY_DOWN, 'A', 1001);
    records->AddString(DelayRowText(120), ROW_DELAY, 120, 1002);
    records->AddString(UpRowText(L"A"), ROW_KEY_UP, 'A', 1003);
    records->SetCurSel(0);

    DibCanvas canvas(pagestest::kWindowWidth, pagestest::kWindowHeight, 0xFF161718);
    dialog.GetPaintManager()->DrawControl(canvas.Dc(), CRect(0, 0, pagestest::kWindowWidth, pagestest::kWindowHeight));
    const std::string folder = TARNWELL_SCREENSHOT_DIR;
    ::CreateDirectoryA(folder.substr(0, folder.rfind('/')).c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_EQ(WriteCanvasPng(canvas, folder + "/macro_page_recorded.png"), 0u);

    // Every macro row and the selected event show their menu icon.
    ASSERT_FALSE(macros->GetIconRect().IsRectEmpty());
    for (int row : {0, 1})
        EXPECT_GT(ColoursAt(canvas, macros->GetRowClientRect(row), macros->GetIconRect()), 2u) << "macro row " << row;
    ASSERT_FALSE(records->GetMoreRect().IsRectEmpty());
    EXPECT_GT(ColoursAt(canvas, records->GetRowClientRect(0), records->GetMoreRect()), 2u);

    dialog.DestroyWindow();
}

} // namespace
