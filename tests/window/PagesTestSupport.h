#pragma once

// A plain dialog that builds the main window's shell and pages on itself, as
// the main dialog does, and the folders the page tests read.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/window/LanguageTexts.h"
#include "app/window/PageBuilder.h"
#include "ui/framework/MControl.h"
#include "ui/framework/MDialog.h"

namespace pagestest {

// The run-time folder of the source tree (language files, product skins),
// with a trailing slash; set by the build.
inline const wchar_t* BinFolder() { return L"" TARNWELL_BIN_FOLDER; }
// The product theme's file list (make_skins.py --list), one a line.
inline const wchar_t* ProductSkinList() { return L"" TARNWELL_PRODUCT_SKIN_LIST; }

constexpr int kWindowWidth = 1380;
constexpr int kWindowHeight = 800;

// Shows one page panel as the main dialog's page switching leaves it: the
// other panels hidden, and the caption bar, the tab strip and the profile
// bar (31, 52, 44-50) shown with the device pages only.
inline void ShowPage(const tarnwell::PageControls& controls, int panel, bool deviceView)
{
    using namespace tarnwell;
    const int panels[] = {kIdKeysPanel, kIdLightingPanel, kIdMacroPanel, kIdSettingsPanel, kIdSystemPanel, kIdHomePanel};
    const int deviceChrome[] = {31, kIdTabStrip, 44, 45, 46, 47, 48, 49, 50};
    for (int id : panels)
        if (VREL::MControl* control = controls.Get(id))
            control->SetVisible(id == panel);
    for (int id : deviceChrome)
        if (VREL::MControl* control = controls.Get(id))
            control->SetVisible(deviceView);
}

class PagesDialog : public VREL::MDialog
{
public:
    PagesDialog(const tarnwell::LanguageTexts& texts, tarnwell::PageState state) : m_texts(texts), m_state(state) {}

    HWND CreateMain()
    {
        return Create(nullptr, L"Tarnwell", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                      CRect(0, 0, kWindowWidth, kWindowHeight));
    }

    void InitUI(CRect client) override
    {
        tarnwell::PageBuilder builder(m_texts);
        controls = builder.Build(*this, client, m_state);
    }

    void UISize(CRect client) override { tarnwell::PageBuilder::Place(controls, client); }

    LRESULT OnMessage(UINT id, UINT code, WPARAM, LPARAM) override
    {
        ++notifications;
        lastId = id;
        lastCode = code;
        return 0;
    }

    tarnwell::PageControls controls;
    int notifications = 0;
    UINT lastId = 0;
    UINT lastCode = 0;

private:
    const tarnwell::LanguageTexts& m_texts;
    tarnwell::PageState m_state;
};

// Builds the shell and pages on a plain dialog in English, then in Polish,
// and hands each built dialog to `body` with its language; the dialog is
// destroyed after. A fatal failure ends the run there, as it would the test.
template <class Body>
void ForEachLanguage(Body body)
{
    for (int language : {1033, 1045})
    {
        tarnwell::PageState state;
        state.language = language;
        tarnwell::LanguageTexts texts(BinFolder(), language);
        PagesDialog dialog(texts, state);
        ASSERT_NE(dialog.CreateMain(), nullptr);
        body(dialog, language);
        dialog.DestroyWindow();
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace pagestest
