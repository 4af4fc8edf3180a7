// Every view of the window, built from the tables with the keyboard's layout
// file in its pictures, in English and in Polish: no two shown controls
// overlap, and every shown text fits the room its control gives it.
//
// What may lie on what: a page panel holds its page; a background (an area
// that draws no text: a picture, a filled or framed rectangle) lies behind
// whatever lies wholly inside it, or frames the one control it lies wholly
// inside; a static text takes only the part of its rectangle that its text
// covers at its alignment. A background that cuts a control at its edge, and
// any two other shown controls that share a pixel, are faults.
//
// A text fits when it measures, in its control's font, no wider and no
// taller than its control's text box: the control's rectangle less what the
// control draws beside the text (the strip of a check or radio button, an
// icon, a combo's arrow). A multi-line text wraps at the box's width and must
// fit its height. Combo items and tab items count as shown texts: any of
// them may be the one shown.

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/window/KeyboardLayout.h"
#include "app/window/LayoutPicture.h"
#include "app/window/PageBuilder.h"
#include "tests/window/PagesTestSupport.h"
#include "ui/controls/TabCtrl.h"
#include "ui/framework/MControlFont.h"
#include "ui/framework/Render.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/ComboBox.h"

using namespace tarnwell;

namespace {

// What the controls draw beside their text.
constexpr int kCheckTitleGap = 8;   // a check or radio button's strip to its title
constexpr int kTextIconGap = 5;     // a static text's icon to its text
constexpr int kComboTextRoom = 37;  // a combo's arrow and edges

// A view as the main dialog's page switching and the page loaders leave it:
// the panel shown, whether the caption bar, tab strip and profile bar show,
// and the controls a page shows or hides by the state it shows.
struct View
{
    const char* name;
    int panel;
    bool deviceView;
    std::vector<int> shown;
    std::vector<int> hidden;
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

// The lighting page's editors: brightness, speed and direction (125-133),
// colourful (134, 135), colour circle, fields and cells (136-168).
const std::vector<int> kLightEditors = Range(125, 168);
const std::vector<int> kMusicControls = Range(169, 176);

const std::vector<View>& Views()
{
    static const std::vector<View> views = {
        {"home", kIdHomePanel, false, {}, {}},
        // The key picker shows; the value list only for the other categories.
        {"keys", kIdKeysPanel, true, {}, {}},
        {"keys_values", kIdKeysPanel, true, {75}, {74}},
        // A mode with every editor: the left/right direction pair, or the
        // up/down pair on the same places.
        {"lighting", kIdLightingPanel, true, {}, {132, 133}},
        {"lighting_up_down", kIdLightingPanel, true, {}, {130, 131}},
        {"lighting_music", kIdLightingPanel, true, kMusicControls, kLightEditors},
        {"macro", kIdMacroPanel, true, {}, {}},
        {"settings", kIdSettingsPanel, true, {}, {}},
        {"system_settings", kIdSystemPanel, false, {}, {}},
    };
    return views;
}

const int kPanels[] = {kIdKeysPanel, kIdLightingPanel, kIdMacroPanel, kIdSettingsPanel, kIdSystemPanel, kIdHomePanel};

void Show(const PageControls& controls, const View& view)
{
    pagestest::ShowPage(controls, view.panel, view.deviceView);
    for (int id : view.hidden)
        if (VREL::MControl* control = controls.Get(id))
            control->SetVisible(0);
    for (int id : view.shown)
        if (VREL::MControl* control = controls.Get(id))
            control->SetVisible(1);
}

struct Shown
{
    const ControlRow* row;
    VREL::MControl* control;
    CRect rect;
};

bool IsBackground(const ControlRow& row)
{
    const std::wstring name = row.className;
    return row.kind == Kind::Area && row.title.source == TextSource::None &&
           (name == L"MPicture" || name == L"CRoundArea" || name == L"CArea");
}

// The rows a view shows: a control whose own flag is set, that has a place,
// and whose panel is the one shown (or that lies on the window itself).
std::vector<Shown> ShownControls(const PageControls& controls, const View& view)
{
    std::vector<Shown> shown;
    for (const PageTable& table : AllPageTables())
    {
        if (table.panelId != kOnWindow && table.panelId != view.panel)
            continue;
        for (const ControlRow& row : *table.rows)
        {
            VREL::MControl* control = controls.Get(row.id);
            if (!control || !control->IsVisible())
                continue;
            const bool panel = std::find(std::begin(kPanels), std::end(kPanels), row.id) != std::end(kPanels);
            const CRect rect = control->GetRect();
            if (panel || rect.IsRectEmpty())
                continue;
            shown.push_back({&row, control, rect});
        }
    }
    return shown;
}

bool Contains(const CRect& outer, const CRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Str(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
        out += text[i] < 128 ? static_cast<char>(text[i]) : '?';
    return out;
}

bool HasOp(const ControlRow& row, Op op)
{
    for (const SetupOp& setup : row.setup)
        if (setup.op == op)
            return true;
    return false;
}

// The overlaps of a view, one line each; `taken` is the part of each shown
// control's rectangle that it draws on.
std::vector<std::string> Overlaps(const std::vector<Shown>& shown, const std::vector<CRect>& taken)
{
    std::vector<std::string> faults;
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
        {
            const Shown& a = shown[i];
            const Shown& b = shown[j];
            CRect common;
            if (!common.IntersectRect(taken[i], taken[j]))
                continue;
            const bool nested = Contains(a.rect, b.rect) || Contains(b.rect, a.rect);
            if (nested && (IsBackground(*a.row) || IsBackground(*b.row)))
                continue;
            faults.push_back(std::to_string(a.row->id) + " at " + Str(a.rect) + " and " + std::to_string(b.row->id) +
                             " at " + Str(b.rect));
        }
    return faults;
}

// Measures single-line texts in a control's font.
class TextMeasure
{
public:
    TextMeasure() : m_dc(CreateCompatibleDC(nullptr)), m_graphics(m_dc)
    {
        m_graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
        m_format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    }
    ~TextMeasure() { DeleteDC(m_dc); }

    // Single-line, or wrapped at `wrapWidth` when it is above 0.
    Gdiplus::SizeF Measure(VREL::MControlFont& control, const CString& text, int wrapWidth = 0)
    {
        const CString name = control.GetTextFont();
        const Gdiplus::FontFamily* family = control.GetFontFamily(name);
        std::unique_ptr<Gdiplus::FontFamily> own;
        if (!family)
        {
            own.reset(VREL::MRender::CreateFontFamily(name));
            family = own.get();
        }
        const Gdiplus::Font font(family, static_cast<Gdiplus::REAL>(control.GetFontWidth()), control.GetFontStyle(),
                                 Gdiplus::UnitPixel);
        Gdiplus::RectF box;
        if (wrapWidth > 0)
        {
            Gdiplus::StringFormat wrapping;
            wrapping.SetFormatFlags(Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
            const Gdiplus::RectF layout(0, 0, static_cast<Gdiplus::REAL>(wrapWidth), 10000.0f);
            m_graphics.MeasureString(text.GetString(), text.GetLength(), &font, layout, &wrapping, &box);
        }
        else
        {
            m_graphics.MeasureString(text.GetString(), text.GetLength(), &font, Gdiplus::PointF(0, 0), &m_format,
                                     &box);
        }
        return Gdiplus::SizeF(box.Width, box.Height);
    }

private:
    HDC m_dc;
    Gdiplus::Graphics m_graphics;
    Gdiplus::StringFormat m_format;
};

// The room a control's title gets.
CSize TitleRoom(const ControlRow& row, VREL::MControlFont& control, const CRect& rect)
{
    const std::wstring name = row.className;
    const int strip = control.GetImageSize().cx;
    int width = rect.Width();
    if (name == L"CCheckButton" || name == L"CRadioButton")
        width -= strip + kCheckTitleGap;
    else if (name == L"MText" && control.GetImagePath() && *control.GetImagePath())
        width -= strip + kTextIconGap;
    else if (name == L"MComboBox" || name == L"MComboBox2")
        width -= kComboTextRoom;
    return CSize(width, rect.Height());
}

// The part of its rectangle a shown control draws on: a single-line static
// text only its text's width at its alignment, everything else all of it.
std::vector<CRect> TakenParts(const std::vector<Shown>& shown, TextMeasure& measure)
{
    std::vector<CRect> taken;
    for (const Shown& s : shown)
    {
        CRect part = s.rect;
        auto* text = dynamic_cast<VREL::MControlFont*>(s.control);
        if (text && std::wstring(s.row->className) == L"MText" && !HasOp(*s.row, Op::MultiLine))
        {
            const CSize room = TitleRoom(*s.row, *text, s.rect);
            const int width = std::min(static_cast<int>(measure.Measure(*text, text->GetTitle()).Width + 0.99f),
                                       static_cast<int>(room.cx));
            UINT horizontal = 0, vertical = 0;
            text->GetAlignment(horizontal, vertical);
            const int right = s.rect.right;
            if (horizontal == 1)
                part.left = s.rect.left + (s.rect.Width() - width) / 2;
            else if (horizontal == 2)
                part.left = right - width;
            else
                part.left = right - room.cx;
            part.right = part.left + width;
        }
        // A field drawn on a background area of its own (the macro page's
        // fixed delay) shows only that area; its wider rectangle draws nothing
        // beyond it.
        if (std::wstring(s.row->className) == L"MEdit")
            for (const Shown& field : shown)
                if (&field != &s && IsBackground(*field.row) && Contains(s.rect, field.rect))
                    part = field.rect;
        taken.push_back(part);
    }
    return taken;
}

// The texts of a view that do not fit, one line each.
std::vector<std::string> CutTexts(const std::vector<Shown>& shown, TextMeasure& measure)
{
    std::vector<std::string> faults;
    auto check = [&](const Shown& s, VREL::MControlFont& font, const CString& text, CSize room) {
        if (text.IsEmpty())
            return;
        const int wrap = HasOp(*s.row, Op::MultiLine) ? room.cx : 0;
        const Gdiplus::SizeF size = measure.Measure(font, text, wrap);
        if (size.Width > room.cx || size.Height > room.cy)
            faults.push_back(std::to_string(s.row->id) + " \"" + Narrow(text) + "\" needs " +
                             std::to_string(static_cast<int>(size.Width + 0.99f)) + " x " +
                             std::to_string(static_cast<int>(size.Height + 0.99f)) + ", has " +
                             std::to_string(room.cx) + " x " + std::to_string(room.cy));
    };
    for (const Shown& s : shown)
    {
        auto* font = dynamic_cast<VREL::MControlFont*>(s.control);
        if (!font)
            continue;
        const CSize room = TitleRoom(*s.row, *font, s.rect);
        if (auto* combo = dynamic_cast<VREL::MComboBoxBase*>(s.control))
        {
            for (int i = 0; i < combo->GetItemCount(); ++i)
                check(s, *font, combo->GetItemText(i), room);
            continue;
        }
        if (auto* tabs = dynamic_cast<VREL::MTabCtrl*>(s.control))
        {
            for (int i = 0; i < tabs->GetItemCount(); ++i)
                if (const VREL::TabItemInfo* item = tabs->GetItemInfo(i))
                    check(s, *font, item->strText, CSize(item->rcItem.right - item->rcItem.left, s.rect.Height()));
            continue;
        }
        check(s, *font, font->GetTitle(), room);
    }
    return faults;
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

} // namespace

namespace {

// Builds the window in each language and checks every view of the list.
void CheckViews(const std::vector<View>& views)
{
    KeyboardLayout layout;
    const std::wstring layoutFile = std::wstring(pagestest::BinFolder()) + L"layouts\\TK104.xml";
    ASSERT_TRUE(layout.Read(layoutFile.c_str())) << "the keyboard's layout file";
    TextMeasure measure;
    pagestest::ForEachLanguage([&](pagestest::PagesDialog& dialog, int language) {
        for (int id : {63, 118})
        {
            auto* picture = dialog.controls.As<VREL::KeyboardCtrl>(id);
            ASSERT_NE(picture, nullptr) << id;
            ShowLayoutInPicture(*picture, layout, {});
        }
        // The tab strip lays its items out while it shows.
        if (VREL::MControl* strip = dialog.controls.Get(kIdTabStrip))
            strip->SetVisible(1);
        PageBuilder::Place(dialog.controls, CRect(0, 0, pagestest::kWindowWidth, pagestest::kWindowHeight));
        for (const View& view : views)
        {
            SCOPED_TRACE(std::string(view.name) + " in " + std::to_string(language));
            Show(dialog.controls, view);
            const std::vector<Shown> shown = ShownControls(dialog.controls, view);
            EXPECT_GT(shown.size(), 3u);
            const std::vector<std::string> overlaps = Overlaps(shown, TakenParts(shown, measure));
            EXPECT_TRUE(overlaps.empty()) << "controls that overlap:" << Lines(overlaps);
            const std::vector<std::string> cut = CutTexts(shown, measure);
            EXPECT_TRUE(cut.empty()) << "texts that do not fit:" << Lines(cut);
        }
    });
}

} // namespace

TEST(PageLayout, NoShownControlsOverlapAndEveryTextFitsInBothLanguages) { CheckViews(Views()); }
