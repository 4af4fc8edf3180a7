// The language files against what each text is used for: every menu item,
// list item and notice reads, in English and in Polish, as what it does or
// means, and no text is the text of another use.

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/window/LanguageTexts.h"
#include "app/window/MacroEditing.h"
#include "app/window/MessageTexts.h"
#include "app/window/PageTables.h"
#include "tests/window/PagesTestSupport.h"

using namespace tarnwell;

namespace {

// Lower case in every language (the C library's lowers only ASCII here).
std::wstring Lower(const CString& text)
{
    std::wstring out = text.GetString();
    if (!out.empty())
        ::CharLowerBuffW(&out[0], static_cast<DWORD>(out.size()));
    return out;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// Words that a text must hold (lower case), in each language.
struct Words
{
    std::vector<std::wstring> english;
    std::vector<std::wstring> polish;
};

class TextUses : public ::testing::Test
{
protected:
    LanguageTexts english{pagestest::BinFolder(), 1033};
    LanguageTexts polish{pagestest::BinFolder(), 1045};

    // Both files hold the number, and its texts hold the words of its use.
    void ExpectSays(const std::string& use, int number, const Words& words, const wchar_t* section = kDialogSection)
    {
        SCOPED_TRACE(use + ": text " + std::to_string(number));
        const std::wstring en = Lower(english.ReadFileText(number, section));
        const std::wstring pl = Lower(polish.ReadFileText(number, section));
        ASSERT_FALSE(en.empty()) << "missing in the English file";
        ASSERT_FALSE(pl.empty()) << "missing in the Polish file";
        for (const std::wstring& word : words.english)
            EXPECT_NE(en.find(word), std::wstring::npos) << "\"" << Narrow(en) << "\" does not say " << Narrow(word);
        for (const std::wstring& word : words.polish)
            EXPECT_NE(pl.find(word), std::wstring::npos) << "the Polish text of this use does not say " << Narrow(word);
    }

    // The (text, data) items that the page tables give a control.
    static std::vector<std::pair<int, int>> ItemsOf(int id, Op op)
    {
        std::vector<std::pair<int, int>> items;
        for (const PageTable& table : AllPageTables())
            for (const ControlRow& row : *table.rows)
                if (row.id == id)
                    for (const SetupOp& setup : row.setup)
                        if (setup.op == op && setup.text.source == TextSource::Dialog)
                            items.push_back({setup.text.number, static_cast<int>(setup.v[0])});
        return items;
    }
};

// What a button name of the event rows means.
Words ButtonWords(const wchar_t* name)
{
    const std::map<std::wstring, Words> words = {
        {L"LB", {{L"left"}, {L"lew"}}},
        {L"MB", {{L"middle"}, {L"\x015brodkow"}}},
        {L"RB", {{L"right"}, {L"praw"}}},
        {L"Forward", {{L"forward"}, {L"dalej"}}},
        {L"Backward", {{L"back"}, {L"wstecz"}}},
    };
    const auto found = words.find(name);
    return found != words.end() ? found->second : Words{{L"?unknown button"}, {}};
}

} // namespace

TEST_F(TextUses, EachInsertMenuItemSaysWhatItInserts)
{
    std::set<std::wstring> seen;
    for (const MenuItemText& item : kInsertMenuItems)
    {
        const std::vector<RowInsert> rows = PlanInsertedRows(static_cast<int>(item.item), -1, 0, 1000, 4, L"A");
        ASSERT_FALSE(rows.empty()) << "item " << item.item << " inserts nothing";
        Words words{{L"insert"}, {L"wstaw"}};
        Words what{{L"delay"}, {L"op\x00f3\x017anienie"}};
        for (const RowInsert& row : rows)
        {
            if (row.type == ROW_KEY_DOWN)
                what = Words{{L"key"}, {L"klawisz"}};
            else if (row.type == ROW_MOUSE_DOWN)
            {
                const MouseButton* button = MouseButtonOfValue(row.value);
                ASSERT_NE(button, nullptr);
                what = ButtonWords(button->name);
                what.english.push_back(L"click");
                what.polish.push_back(L"klik");
            }
        }
        words.english.insert(words.english.end(), what.english.begin(), what.english.end());
        words.polish.insert(words.polish.end(), what.polish.begin(), what.polish.end());
        ExpectSays("insert menu item " + std::to_string(item.item), item.text, words);
        EXPECT_TRUE(seen.insert(Lower(english.ReadFileText(item.text))).second) << "two items read the same";
    }
}

TEST_F(TextUses, TheMacroMenuOffersImportAndExportOfAMacro)
{
    // 101 imports a one-macro file, 102 exports the selected macro to one.
    const std::map<UINT, Words> words = {{101, {{L"import", L"macro"}, {L"import", L"makr"}}},
                                         {102, {{L"export", L"macro"}, {L"eksport", L"makr"}}}};
    ASSERT_EQ(std::size(kMacroMenuItems), words.size());
    for (const MenuItemText& item : kMacroMenuItems)
    {
        ASSERT_TRUE(words.count(item.item)) << "the menu has an item " << item.item << " that nothing answers";
        ExpectSays("macro menu item " + std::to_string(item.item), item.text, words.at(item.item));
    }
}

TEST_F(TextUses, ListItemsNameWhatTheirDataMeans)
{
    // The visualizer's effects by number, as they paint the bars or the background.
    const std::map<int, Words> effects = {
        {0, {{L"none"}, {L"brak"}}},
        {1, {{L"green", L"red"}, {L"zielon", L"czerwon"}}},
        {2, {{L"rainbow"}, {L"t\x0119" L"cz"}}},
        {3, {{L"reverse", L"rainbow"}, {L"odwr\x00f3" L"c", L"t\x0119" L"cz"}}},
        {4, {{L"wheel"}, {L"ko\x0142o"}}},
        {5, {{L"cycle"}, {L"zmienn"}}},
        {6, {{L"white"}, {L"bia\x0142"}}},
        {7, {{L"red"}, {L"czerwon"}}},
        {8, {{L"orange"}, {L"pomara\x0144" L"cz"}}},
        {9, {{L"yellow"}, {L"\x017c\x00f3\x0142t"}}},
        {10, {{L"green"}, {L"zielon"}}},
        {11, {{L"blue"}, {L"niebiesk"}}},
    };
    const std::map<int, Words> presets = {{202, {{L"standard"}, {L"standard"}}},
                                          {203, {{L"mac"}, {L"mac"}}},
                                          {205, {{L"dvorak"}, {L"dvorak"}}},
                                          {206, {{L"colemak"}, {L"colemak"}}}};
    const std::map<int, Words> layers = {{0, {{L"standard"}, {L"standard"}}}, {1, {{L"fn"}, {L"fn"}}}};
    struct List
    {
        int id;
        Op op;
        const char* name;
    };
    const List lists[] = {{170, Op::AddItem, "bar effect"},     {174, Op::AddItem, "background effect"},
                          {114, Op::AddItem, "mouse button"},   {67, Op::AddItem, "layout preset"},
                          {70, Op::AddKeyLayer, "layer tab"}};
    for (const List& list : lists)
    {
        const auto items = ItemsOf(list.id, list.op);
        ASSERT_FALSE(items.empty()) << list.name << " list has no items";
        for (const auto& item : items)
        {
            const std::string use = std::string(list.name) + " " + std::to_string(item.second);
            Words words;
            if (list.id == 170 || list.id == 174)
                words = effects.count(item.second) ? effects.at(item.second) : Words{{L"?no such effect"}, {}};
            else if (list.id == 114)
            {
                const MouseButton* button = MouseButtonOfItem(item.second);
                ASSERT_NE(button, nullptr) << use;
                words = ButtonWords(button->name);
            }
            else if (list.id == 67)
                words = presets.count(item.second) ? presets.at(item.second) : Words{{L"?no such preset"}, {}};
            else
                words = layers.count(item.second) ? layers.at(item.second) : Words{{L"?no such layer"}, {}};
            ExpectSays(use, item.first, words);
        }
    }
}

TEST_F(TextUses, NoticesAndSmallWindowsHaveTheirTextsInBothLanguages)
{
    struct Use
    {
        const char* name;
        int number;
        Words words;
        const wchar_t* section;
    };
    const Use uses[] = {
        {"program update title", TEXT_APP_UPDATE, {{L"update"}, {L"aktualizacja"}}, kDialogSection},
        {"firmware update title", TEXT_FIRMWARE_UPDATE, {{L"firmware"}, {L"firmware"}}, kDialogSection},
        {"up to date", TEXT_UP_TO_DATE, {{L"latest"}, {L"najnowsz"}}, kDialogSection},
        {"new version", TEXT_NEW_VERSION, {{L"new version"}, {L"nowa wersja"}}, kDialogSection},
        {"update question", TEXT_ASK_UPDATE, {{L"?"}, {L"?"}}, kDialogSection},
        {"firmware required", TEXT_FIRMWARE_REQUIRED, {{L"firmware", L"?"}, {L"firmware", L"?"}}, kDialogSection},
        {"download failed", TEXT_DOWNLOAD_FAILED, {{L"download", L"nothing"}, {L"pobieran", L"nic"}}, kDialogSection},
        {"package broken", TEXT_PACKAGE_BROKEN, {{L"damaged", L"nothing"}, {L"uszkodzon", L"nic"}}, kDialogSection},
        {"no temp folder", TEXT_NO_TEMP_FOLDER, {{L"folder", L"nothing"}, {L"folder", L"nic"}}, kDialogSection},
        {"launch failed", TEXT_LAUNCH_FAILED, {{L"installer"}, {L"instalator"}}, kDialogSection},
        {"macro file filter", TEXT_MACRO_FILES, {{L"macro"}, {L"makr"}}, kDialogSection},
        {"profile file filter", TEXT_PROFILE_FILES, {{L"profile"}, {L"profil"}}, kDialogSection},
        {"version line", TEXT_VERSION, {{L"version"}, {L"wersja"}}, kDialogSection},
        {"record editor key label", TEXT_RECORD_EDITOR_KEY, {{L"key"}, {L"klawisz"}}, L"LAN"},
        {"factory reset progress", TEXT_RESET_PROGRESS, {{L"factory"}, {L"fabryczn"}}, kDialogSection},
    };
    for (const Use& use : uses)
    {
        ExpectSays(use.name, use.number, use.words, use.section);
        EXPECT_EQ(std::wstring(english.ReadFileText(use.number, use.section).GetString()),
                  std::wstring(LanguageTexts::BuiltIn(use.number, use.section).GetString()))
            << use.name << ": the built-in text is not the English one";
    }
}

TEST_F(TextUses, ProgressTextsTakeTheirPercentWithoutDoubledPunctuation)
{
    // The progress window shows "<text>: <percent>%".
    std::vector<int> numbers = {TEXT_RESET_PROGRESS};
    for (int stage = 0; stage < kUpdateStages; ++stage)
        numbers.push_back(TEXT_STAGE_BASE + stage);
    for (int number : numbers)
        for (const LanguageTexts* texts : {&english, &polish})
        {
            const CString text = texts->ReadFileText(number);
            ASSERT_FALSE(text.IsEmpty()) << number;
            const wchar_t last = text.GetString()[text.GetLength() - 1];
            EXPECT_FALSE(std::iswpunct(last) || std::iswspace(last))
                << "text " << number << " of " << texts->Language() << " ends in punctuation";
        }
}
