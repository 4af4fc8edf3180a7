// Draws the shell and every page, built from the tables on a plain dialog,
// on the product theme into screenshots/pages_preview/<view>_<language>.png
// of the build folder, in English and in Polish, for people to look at.
// Classes the library does not build yet are simply absent.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/PageBuilder.h"
#include "tests/support/DibCanvasPng.h"
#include "tests/window/PagesTestSupport.h"
#include "ui/framework/MControl.h"

using namespace tarnwell;

namespace {

constexpr uint32_t kWindowArgb = 0xFF161718;
constexpr char kFolder[] = "pages_preview";

// Which controls a view shows, as the main dialog's page switching leaves them.
struct View
{
    const char* name;
    int panel;
    bool deviceView;  // the caption bar and the tab strip show
};

const View kViews[] = {
    {"home", kIdHomePanel, false},     {"keys", kIdKeysPanel, true},
    {"lighting", kIdLightingPanel, true}, {"macro", kIdMacroPanel, true},
    {"settings", kIdSettingsPanel, true}, {"system_settings", kIdSystemPanel, false},
};

} // namespace

TEST(PagesPreview, EveryViewInEnglishAndPolish)
{
    ::CreateDirectoryA(kFolder, nullptr);
    pagestest::ForEachLanguage([](pagestest::PagesDialog& dialog, int language) {
        for (const View& view : kViews)
        {
            SCOPED_TRACE(view.name);
            pagestest::ShowPage(dialog.controls, view.panel, view.deviceView);
            DibCanvas canvas(pagestest::kWindowWidth, pagestest::kWindowHeight, kWindowArgb);
            dialog.GetPaintManager()->DrawControl(canvas.Dc(),
                                                  CRect(0, 0, pagestest::kWindowWidth, pagestest::kWindowHeight));
            const std::string path =
                std::string(kFolder) + "/" + view.name + "_" + std::to_string(language) + ".png";
            EXPECT_EQ(WriteCanvasPng(canvas, path), 0u) << path;
        }
    });
}
