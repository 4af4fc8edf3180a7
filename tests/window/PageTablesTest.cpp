// The construction tables against what the window and the run-time folder
// hold: ids, places at the window's size, image files and language texts.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/window/LanguageTexts.h"
#include "app/window/PageBuilder.h"
#include "app/window/PageTables.h"
#include "tests/window/PagesTestSupport.h"

using namespace tarnwell;

namespace {

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

// The skin file names as the theme lists them (forward slashes).
std::string SkinName(const wchar_t* file)
{
    std::string name = Narrow(file);
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

std::set<std::string> ProductSkins()
{
    std::set<std::string> names;
    std::ifstream in(Narrow(pagestest::ProductSkinList()));
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.insert(line);
    }
    return names;
}

bool NamesImage(const SetupOp& op)
{
    switch (op.op)
    {
    case Op::Image:
    case Op::SkinPathImage:
    case Op::SwitchImages:
    case Op::IconImage:
    case Op::EditImage:
    case Op::ItemImage:
    case Op::MoreImage:
        return true;
    default:
        return false;
    }
}

// Every (section, number) the construction looks up.
std::set<std::pair<std::wstring, int>> UsedTextNumbers()
{
    std::set<std::pair<std::wstring, int>> used;
    auto add = [&](const TextRef& ref) {
        if (ref.source == TextSource::Dialog)
            used.insert({kDialogSection, ref.number});
        else if (ref.source == TextSource::Caption)
            used.insert({kCaptionSection, ref.number});
    };
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
        {
            add(row.title);
            for (const SetupOp& op : row.setup)
                add(op.text);
        }
    for (const TabItemRow& item : TabStripItems())
        used.insert({kDialogSection, item.textNumber});
    // Texts the builder chooses by state, and the message box's buttons.
    for (int number : {PageBuilder::CloseTooltipText(0), PageBuilder::CloseTooltipText(2),
                       PageBuilder::EnterButtonText(true), PageBuilder::EnterButtonText(false), 506, 507, 20, 23, 25})
        used.insert({kDialogSection, number});
    return used;
}

} // namespace

TEST(PageTables, EveryIdIsUniqueAcrossTheWindowAndPanelsOwnTheirPages)
{
    std::map<int, std::string> seen;
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
        {
            const auto inserted = seen.emplace(row.id, Narrow(table.name));
            EXPECT_TRUE(inserted.second) << "id " << row.id << " on " << Narrow(table.name) << " is also on "
                                         << inserted.first->second;
        }
    // A page's rows are created on a panel that the shell made before them.
    std::set<int> shellIds;
    for (const ControlRow& row : ShellRows())
        shellIds.insert(row.id);
    for (const PageTable& table : AllPageTables())
        if (table.panelId != kOnWindow)
        {
            EXPECT_TRUE(shellIds.count(table.panelId)) << Narrow(table.name);
        }
    for (const TabItemRow& item : TabStripItems())
        EXPECT_TRUE(shellIds.count(item.panelId));
}

TEST(PageTables, EveryPlaceLiesInsideTheWindowAndMatchesTheLayoutAt1380x800)
{
    const RECT client = {0, 0, pagestest::kWindowWidth, pagestest::kWindowHeight};
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
        {
            if (!row.place.placed)
                continue;
            const RECT r = Resolve(row.place, client);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom &&
                        r.left < r.right && r.top < r.bottom)
                << "id " << row.id << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }

    // Places that the layout rules compute from the edges and the centre.
    struct Case
    {
        int id;
        RECT expected;
    };
    const Case cases[] = {
        {35, {1330, 10, 1360, 40}},   {37, {1298, 10, 1328, 40}},   {39, {1266, 10, 1296, 40}},
        {52, {450, 5, 930, 45}},      {54, {1, 60, 1379, 799}},     {61, {290, 200, 1090, 560}},
        {62, {540, 600, 840, 640}},   {33, {1060, 760, 1360, 790}}, {70, {1210, 90, 1330, 170}},
        {71, {1, 420, 1379, 799}},    {72, {1, 460, 1370, 461}},    {73, {390, 430, 990, 460}},
        {137, {860, 549, 1020, 709}}, {144, {1150, 550, 1184, 584}}, {156, {1230, 630, 1264, 664}},
        {168, {1310, 710, 1344, 744}}, {176, {870, 620, 1130, 646}}, {177, {300, 80, 1080, 790}},
        {196, {240, 80, 1140, 750}},  {199, {620, 236, 770, 266}}, {200, {450, 236, 600, 266}},
    };
    std::map<int, const ControlRow*> rows;
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
            rows[row.id] = &row;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(rows.count(c.id));
        const RECT r = Resolve(rows[c.id]->place, client);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
    // The white colour cell sits in row 3, column 3.
    bool white = false;
    for (const SetupOp& op : rows[156]->setup)
        white = white || (op.op == Op::CellColour && op.v[0] == 0x00FFFFFFu);
    EXPECT_TRUE(white);
}

TEST(PageTables, EveryImageTheTablesNameIsInTheProductTheme)
{
    const std::set<std::string> skins = ProductSkins();
    ASSERT_FALSE(skins.empty()) << Narrow(pagestest::ProductSkinList());
    // The keyboard pictures belong to the keyboard widgets' own images.
    const std::set<std::string> keyboardImages = {"keyboard/img_keyboard.png", "keyboard/kb_bkg.png"};
    std::set<std::string> named = {SkinName(L"bk_prompt.png")};
    for (const PageTable& table : AllPageTables())
        for (const ControlRow& row : *table.rows)
            for (const SetupOp& op : row.setup)
                if (NamesImage(op))
                {
                    named.insert(SkinName(op.file));
                    if (op.file2)
                        named.insert(SkinName(op.file2));
                }
    for (const TabItemRow& item : TabStripItems())
        named.insert(SkinName(item.iconStrip));
    for (const std::string& name : named)
    {
        if (keyboardImages.count(name))
            continue;
        EXPECT_TRUE(skins.count(name)) << name << " is not in the product theme";
    }
}

TEST(PageTables, EveryTextNumberIsInBothLanguageFilesAndBuiltIn)
{
    const LanguageTexts english(pagestest::BinFolder(), 1033);
    const LanguageTexts polish(pagestest::BinFolder(), 1045);
    int compared = 0;
    int differ = 0;
    for (const auto& used : UsedTextNumbers())
    {
        const wchar_t* section = used.first.c_str();
        const int number = used.second;
        SCOPED_TRACE(Narrow(section) + " " + std::to_string(number));
        const CString en = english.ReadFileText(number, section);
        const CString pl = polish.ReadFileText(number, section);
        EXPECT_FALSE(en.IsEmpty());
        EXPECT_FALSE(pl.IsEmpty());
        EXPECT_FALSE(LanguageTexts::BuiltIn(number, section).IsEmpty());
        EXPECT_EQ(std::wstring(en.GetString()), std::wstring(LanguageTexts::BuiltIn(number, section).GetString()));
        ++compared;
        differ += en != pl ? 1 : 0;
    }
    // The Polish file really is another language, read as Unicode.
    EXPECT_GT(differ, compared / 2);
    EXPECT_EQ(std::wstring(polish.GetLanguageText(52).GetString()), L"\x015awiat\x0142o");
}
