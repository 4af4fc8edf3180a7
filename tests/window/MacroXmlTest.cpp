// The two macro file formats: writing and reading them back, what a hostile
// file may bring in, and importing all of a file into the store or nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/window/MacroEditing.h"
#include "app/window/MacroXml.h"
#include "app/window/ProfileFile.h"
#include "tests/store/StoreTestSupport.h"

using namespace tarnwell;

namespace {

MacroFileEntry Entry(const wchar_t* name, int playType, int playTimes, int delayType, int delayTime,
                     std::vector<MacroFileEvent> events)
{
    MacroFileEntry entry;
    entry.macro.name = name;
    entry.macro.play_type = playType;
    entry.macro.play_times = playTimes;
    entry.macro.delay_type = delayType;
    entry.macro.delay_time = delayTime;
    entry.events = std::move(events);
    return entry;
}

std::vector<MacroFileEvent> PressOfA(int timestamp)
{
    return {{L"\x2193  A", 0, 2, 'A', timestamp},
            {L"120 ms", 1, 1, 120, timestamp + 1},
            {L"\x2191  A", 2, 3, 'A', timestamp + 2}};
}

void ExpectSame(const MacroFileEntry& a, const MacroFileEntry& b)
{
    EXPECT_EQ(a.macro.name, b.macro.name);
    EXPECT_EQ(a.macro.play_type, b.macro.play_type);
    EXPECT_EQ(a.macro.play_times, b.macro.play_times);
    EXPECT_EQ(a.macro.delay_type, b.macro.delay_type);
    EXPECT_EQ(a.macro.delay_time, b.macro.delay_time);
    ASSERT_EQ(a.events.size(), b.events.size());
    for (size_t i = 0; i < a.events.size(); ++i) {
        EXPECT_EQ(a.events[i].desc, b.events[i].desc);
        EXPECT_EQ(a.events[i].index, b.events[i].index);
        EXPECT_EQ(a.events[i].type, b.events[i].type);
        EXPECT_EQ(a.events[i].value, b.events[i].value);
        EXPECT_EQ(a.events[i].timestamp, b.events[i].timestamp);
    }
}

size_t Find(const CString& text, const wchar_t* what) { return text.GetStdString().find(what); }

TEST(MacroXml, FormatAWritesOneMacroAndReadsItBack)
{
    const std::vector<MacroFileEntry> written = {
        Entry(L"Mäcro <1> & \"quoted\"", 1, 3, 2, 40, PressOfA(5000)),
        Entry(L"not written", 0, 1, 1, 0, {}),
    };
    const CString text = WriteMacroXml(MacroFileFormat::Single, written);

    EXPECT_EQ(Find(text, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"), 0u);
    const size_t info = Find(text, L"<macroinfo macro_name=");
    ASSERT_NE(info, std::wstring::npos);
    EXPECT_LT(info, Find(text, L"macro_type=\"1\""));
    EXPECT_LT(Find(text, L"macro_type="), Find(text, L"play_times=\"3\""));
    EXPECT_LT(Find(text, L"play_times="), Find(text, L"delay_type=\"2\""));
    EXPECT_LT(Find(text, L"delay_type="), Find(text, L"delay_time=\"40\""));
    EXPECT_LT(info, Find(text, L"<macroitems"));
    EXPECT_NE(Find(text, L"<item desc=\"\x2193  A\" index=\"0\" type=\"2\" value=\"65\" timestamp=\"5000\""),
              std::wstring::npos);
    EXPECT_EQ(Find(text, L"not written"), std::wstring::npos);

    std::vector<MacroFileEntry> read;
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::Single, text, read), MacroFileStatus::Read);
    ASSERT_EQ(read.size(), 1u);
    ExpectSame(read[0], written[0]);
}

TEST(MacroXml, FormatBWritesEveryMacroAndOnlyTheRecordsThatExist)
{
    const std::vector<MacroFileEntry> written = {
        Entry(L"first", 0, 5, 0, 0, PressOfA(1)),
        Entry(L"empty", 2, 1, 1, 0, {}),
        Entry(L"third", 1, 1, 2, 10000, {{L"50 ms", 0, 1, 50, 9}}),
    };
    const CString text = WriteMacroXml(MacroFileFormat::All, written);
    size_t records = 0;
    for (size_t at = Find(text, L"<record_item"); at != std::wstring::npos;
         at = text.GetStdString().find(L"<record_item", at + 1))
        ++records;
    EXPECT_EQ(records, 2u);

    std::vector<MacroFileEntry> read;
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::All, text, read), MacroFileStatus::Read);
    ASSERT_EQ(read.size(), written.size());
    for (size_t i = 0; i < read.size(); ++i)
        ExpectSame(read[i], written[i]);

    // Each format is its own: the other reader finds nothing it knows.
    EXPECT_EQ(ReadMacroXml(MacroFileFormat::Single, text, read), MacroFileStatus::NotAMacroFile);
    EXPECT_TRUE(read.empty());
}

std::wstring Items(int count, int firstIndex, int step, int type = 2)
{
    std::wstring items;
    for (int i = 0; i < count; ++i) {
        items += L"<item desc=\"r\" index=\"" + std::to_wstring(firstIndex + i * step) + L"\" type=\"" +
                 std::to_wstring(type) + L"\" value=\"" + std::to_wstring(firstIndex + i * step) +
                 L"\" timestamp=\"1\"/>";
    }
    return items;
}

std::wstring MacroItems(int count, const std::wstring& records = L"")
{
    std::wstring items;
    for (int i = 0; i < count; ++i)
        items += L"<macro_item macro_name=\"m" + std::to_wstring(i) + L"\" macro_type=\"0\" play_times=\"1\" "
                 L"delay_type=\"1\" delay_time=\"0\">" + records + L"</macro_item>";
    return L"<macro>" + items + L"</macro>";
}

std::wstring SingleMacro(const std::wstring& info, const std::wstring& items)
{
    return L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro><macroinfo " + info + L"/><macroitems>" + items +
           L"</macroitems></macro>";
}

TEST(MacroXml, HostileFilesAreRefusedOrBroughtWithinTheLimits)
{
    const std::wstring info = L"macro_name=\"m\" macro_type=\"1\" play_times=\"2\" delay_type=\"2\" delay_time=\"30\"";
    struct Case
    {
        const char* what;
        MacroFileFormat format;
        std::wstring text;
        MacroFileStatus status;
        std::vector<size_t> eventsPerMacro;  // when read
    } cases[] = {
        {"not XML at all", MacroFileFormat::Single, L"hello", MacroFileStatus::NotXml, {}},
        {"empty", MacroFileFormat::All, L"", MacroFileStatus::NotXml, {}},
        {"cut short", MacroFileFormat::Single,
         L"<macro><macroinfo macro_name=\"a\"/><macroitems><item type=\"2\"", MacroFileStatus::NotXml, {}},
        {"cut short after whole macros", MacroFileFormat::All, MacroItems(2).substr(0, 120),
         MacroFileStatus::NotXml, {}},
        {"another root", MacroFileFormat::Single, L"<profile><macroinfo/></profile>", MacroFileStatus::NotAMacroFile,
         {}},
        {"no macroinfo", MacroFileFormat::Single, L"<macro><macroitems/></macro>", MacroFileStatus::NotAMacroFile,
         {}},
        {"two roots", MacroFileFormat::All, MacroItems(1) + MacroItems(1), MacroFileStatus::NotXml, {}},
        {"unknown event types skipped", MacroFileFormat::Single,
         SingleMacro(info, Items(1, 0, 1, 0) + Items(1, 1, 1, 6) + Items(1, 2, 1, -1) + Items(1, 3, 1, 2) +
                               Items(1, 4, 1, 5) + Items(1, 5, 1, 99)),
         MacroFileStatus::Read, {2}},
        {"events cut at the list's limit", MacroFileFormat::Single, SingleMacro(info, Items(250, 0, 1)),
         MacroFileStatus::Read, {200}},
        {"33 macros", MacroFileFormat::All, MacroItems(33), MacroFileStatus::TooMany, {}},
        {"32 macros", MacroFileFormat::All, MacroItems(32, L"<record_item>" + Items(3, 0, 1) + L"</record_item>"),
         MacroFileStatus::Read, std::vector<size_t>(32, 3)},
        {"no events", MacroFileFormat::Single, SingleMacro(info, L""), MacroFileStatus::Read, {0}},
        {"a macro list without macros", MacroFileFormat::All, L"<macro/>", MacroFileStatus::Read, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<MacroFileEntry> read(1);
        EXPECT_EQ(ReadMacroXml(c.format, CString(c.text.c_str()), read), c.status);
        std::vector<size_t> events;
        for (const MacroFileEntry& entry : read)
            events.push_back(entry.events.size());
        EXPECT_EQ(events, c.eventsPerMacro);
    }
}

TEST(MacroXml, EventsComeInIndexOrderAndValuesThatAreNoNumbersReadAsZero)
{
    // 250 events written from the highest index down: the 200 lowest are kept.
    std::vector<MacroFileEntry> read;
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::Single,
                           CString(SingleMacro(L"macro_name=\"m\"", Items(250, 249, -1)).c_str()), read),
              MacroFileStatus::Read);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].events.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(read[0].events[static_cast<size_t>(i)].value, i);
        EXPECT_EQ(read[0].events[static_cast<size_t>(i)].index, i);
    }

    // Missing play_times reads as 0; values the page never stores read as its defaults.
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::Single,
                           CString(SingleMacro(L"macro_name=\"m\" macro_type=\"9\" delay_type=\"7\" delay_time=\"-3\"",
                                               L"<item desc=\"x\" index=\"0\" type=\"1\" value=\"ten\" "
                                               L"timestamp=\"1\"/>")
                                       .c_str()),
                           read),
              MacroFileStatus::Read);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].macro.play_times, 0);
    EXPECT_EQ(read[0].macro.play_type, 0);
    EXPECT_EQ(read[0].macro.delay_type, DELAY_RECORDED);
    EXPECT_EQ(read[0].macro.delay_time, kDefaultFixedDelayMs);
    ASSERT_EQ(read[0].events.size(), 1u);
    EXPECT_EQ(read[0].events[0].value, 0);
}

// ---- the store ---------------------------------------------------------------------------

class MacroImportTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(store_.OpenDB(folder_.Path(), L"macrofiles")); }
    void TearDown() override { store_.CloseDB(); }

    int MacroCount()
    {
        StoreRows<MacroData> macros;
        return store_.GetMacroList(macros.Out());
    }

    ScratchFolder folder_;
    ConfigDB store_;
};

TEST_F(MacroImportTest, ExportingAMacroAndImportingItAgainMakesAnEqualSecondMacro)
{
    const int id = store_.AddMacro(L"copy me");
    MacroData settings;
    ASSERT_TRUE(store_.GetMacro(id, settings));
    settings.delay_type = 2;
    settings.delay_time = 25;
    settings.play_type = 0;
    settings.play_times = 4;
    store_.UpdateMacro(id, settings);
    std::vector<MacroRecordData> records;
    for (const MacroFileEvent& event : PressOfA(123456)) {
        MacroRecordData record;
        record.macro_id = id;
        record.type = event.type;
        record.record_index = event.index;
        record.value = event.value;
        record.delay_time = event.timestamp;
        record.desc = event.desc;
        records.push_back(record);
    }
    store_.InsertMacroRecords(records);

    MacroFileEntry stored;
    ASSERT_TRUE(ReadStoredMacro(store_, id, stored));
    const CString text = WriteMacroXml(MacroFileFormat::Single, {stored});
    std::vector<MacroFileEntry> read;
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::Single, text, read), MacroFileStatus::Read);
    std::vector<ImportedMacro> imported;
    ASSERT_EQ(ImportMacros(store_, read, MacroCount(), imported), MacroImportResult::Imported);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_NE(imported[0].id, id);
    EXPECT_EQ(imported[0].name, L"copy me");

    MacroFileEntry copy;
    ASSERT_TRUE(ReadStoredMacro(store_, imported[0].id, copy));
    ExpectSame(copy, stored);

    // Format B of the whole store holds both.
    std::vector<MacroFileEntry> all;
    ASSERT_EQ(ReadMacroXml(MacroFileFormat::All, WriteMacroXml(MacroFileFormat::All, ReadStoredMacros(store_)), all),
              MacroFileStatus::Read);
    ASSERT_EQ(all.size(), 2u);
    ExpectSame(all[1], stored);
}

TEST_F(MacroImportTest, AnImportThatWouldPassTheKeyboardsMacrosImportsNothing)
{
    for (int i = 0; i < 30; ++i)
        store_.AddMacro(L"m");
    const std::vector<MacroFileEntry> three(3, Entry(L"new", 0, 1, 1, 0, PressOfA(1)));
    std::vector<ImportedMacro> imported;
    EXPECT_EQ(ImportMacros(store_, three, MacroCount(), imported), MacroImportResult::TooMany);
    EXPECT_TRUE(imported.empty());
    EXPECT_EQ(MacroCount(), 30);

    const std::vector<MacroFileEntry> two(2, Entry(L"new", 0, 1, 1, 0, PressOfA(1)));
    EXPECT_EQ(ImportMacros(store_, two, MacroCount(), imported), MacroImportResult::Imported);
    EXPECT_EQ(MacroCount(), kMaxMacros);
}

TEST_F(MacroImportTest, AFailedInsertTakesBackWhatTheImportHadInserted)
{
    store_.AddMacro(L"kept");
    // The store refuses one event of the second macro.
    ASSERT_TRUE(ExecStore(store_, "CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord WHEN NEW.value = 666 "
                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
    std::vector<MacroFileEntry> entries = {Entry(L"a", 0, 1, 1, 0, PressOfA(1)),
                                           Entry(L"b", 0, 1, 1, 0, {{L"x", 0, 2, 666, 1}}),
                                           Entry(L"c", 0, 1, 1, 0, PressOfA(1))};
    std::vector<ImportedMacro> imported;
    EXPECT_EQ(ImportMacros(store_, entries, MacroCount(), imported), MacroImportResult::StoreFailed);
    EXPECT_TRUE(imported.empty());
    EXPECT_EQ(MacroCount(), 1);
    EXPECT_EQ(QueryStore(store_, "SELECT count(*) FROM t_macrorecord"), (std::vector<std::string>{"0"}));
}

// A file that cannot be read, parsed or taken whole, in either format, is
// told with its reason, the way a refused profile file is; a file taken only
// in part says what was kept; names are bounded as the profile file's are.
TEST_F(MacroImportTest, EveryFileNotTakenWholeSaysWhyAndNamesAreBounded)
{
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    std::string deep = declaration + "<macro>";
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    std::string binary(3000, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 37 + 11);
    auto items = [](int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "<item desc=\"r\" index=\"" + std::to_string(i) + "\" type=\"1\" value=\"5\" timestamp=\"1\"/>";
        return text;
    };
    const std::string longName(1000000, 'n');
    const std::string singleLong = declaration + "<macro><macroinfo macro_name=\"" + longName +
                                   "\"/><macroitems>" + items(10000) + "</macroitems></macro>";
    const std::string allLong = declaration + "<macro><macro_item macro_name=\"" + longName +
                                "\"><record_item>" + items(10000) + "</record_item></macro_item></macro>";

    const struct
    {
        const char* what;
        MacroFileFormat format;
        const std::string* bytes;  // null: no file at the path
        int text;
        size_t imported;
    } cases[] = {
        {"A: no file", MacroFileFormat::Single, nullptr, 1100, 0},
        {"B: no file", MacroFileFormat::All, nullptr, 1100, 0},
        {"A: cut short", MacroFileFormat::Single, &singleLong, 1101, 0},  // cut below
        {"B: cut short", MacroFileFormat::All, &allLong, 1101, 0},
        {"A: binary", MacroFileFormat::Single, &binary, 1101, 0},
        {"B: binary", MacroFileFormat::All, &binary, 1101, 0},
        {"A: nested 200,000 deep", MacroFileFormat::Single, &deep, 1101, 0},
        {"B: nested 200,000 deep", MacroFileFormat::All, &deep, 1101, 0},
        {"A: 10,000 events", MacroFileFormat::Single, &singleLong, 1104, 1},
        {"B: 10,000 events", MacroFileFormat::All, &allLong, 1104, 1},
    };
    int file = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CString path = folder_.Path() + CString(std::to_wstring(++file).c_str()) + L".xml";
        if (c.bytes != nullptr) {
            std::string bytes = *c.bytes;
            if (std::string(c.what).find("cut short") != std::string::npos)
                bytes.resize(bytes.size() / 2);
            WriteFileBytes(path, bytes);
        }
        const int before = MacroCount();
        const MacroFileImport result = ImportMacroFile(store_, c.format, path);
        EXPECT_EQ(MacroFileImportText(result), c.text);
        ASSERT_EQ(result.imported.size(), c.imported);
        EXPECT_EQ(MacroCount(), before + static_cast<int>(c.imported));
        if (c.imported == 0)
            continue;
        MacroFileEntry stored;
        ASSERT_TRUE(ReadStoredMacro(store_, result.imported[0].id, stored));
        EXPECT_EQ(stored.events.size(), static_cast<size_t>(kMaxEventRows));
        EXPECT_EQ(stored.macro.name.GetLength(), kMaxProfileText);
        EXPECT_EQ(result.imported[0].name, stored.macro.name);
    }

    // The macros the keyboard holds, and a store that refuses: said too.
    ASSERT_TRUE(ExecStore(store_, "CREATE TRIGGER refuse BEFORE INSERT ON t_macro_data "
                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
    const CString small = folder_.Path() + L"small.xml";
    WriteFileBytes(small, declaration + "<macro><macroinfo macro_name=\"m\"/><macroitems/></macro>");
    EXPECT_EQ(MacroFileImportText(ImportMacroFile(store_, MacroFileFormat::Single, small)), 1103);
    ASSERT_TRUE(ExecStore(store_, "DROP TRIGGER refuse"));
    while (MacroCount() < kMaxMacros)
        store_.AddMacro(L"m");
    EXPECT_EQ(MacroFileImportText(ImportMacroFile(store_, MacroFileFormat::Single, small)), 421);
    // A file taken whole says nothing.
    StoreRows<MacroData> macros;
    store_.GetMacroList(macros.Out());
    store_.DeleteMacro(macros.Rows().back()->macro_id);
    EXPECT_EQ(MacroFileImportText(ImportMacroFile(store_, MacroFileFormat::Single, small)), 0);
}

} // namespace
