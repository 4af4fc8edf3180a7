// The profile file: its exact form, reading it back, every value checked,
// and the names of the profile list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/ProfileFile.h"
#include "tests/store/StoreTestSupport.h"

namespace {

using namespace tarnwell;

ProfileFileData Sample()
{
    ProfileFileData data;
    data.name = L"Gaming <1> & \x0141\x00F3d\x017A";
    MacroImportData macro;
    macro.macro.macro_id = 3;
    macro.macro.name = L"Combo";
    macro.macro.play_type = 2;  // not written
    macro.macro.play_times = 4;
    macro.macro.delay_type = 1;
    macro.macro.delay_time = 50;
    MacroRecordData down;
    down.type = 2;
    down.value = 4;
    down.delay_time = 10;
    down.desc = L"A";
    MacroRecordData up = down;
    up.type = 3;
    macro.records = {down, up};
    MacroImportData empty;
    empty.macro.macro_id = 5;
    empty.macro.name = L"Empty";
    empty.macro.play_times = 1;
    data.macros = {macro, empty};

    KeyMacroData key;
    key.fn_layer = 1;
    key.key_code = 4;
    key.macro_type = 5;
    key.macro_value = 233;
    key.macro_desc = L"Volume up";
    data.keys.push_back(key);

    LightData light;
    light.mode = 2;
    light.brightness = 4;
    light.speed = 1;
    light.direction = 1;
    light.colorful = 0;
    light.colorindex = 3;
    light.color_value1 = 0x00FF8000;
    light.status = 1;
    LightData off = light;
    off.mode = 255;  // never written
    data.lights = {light, off};

    UserLightRgbData colour;
    colour.key_code = 4;
    colour.key_rgb = 0x00563412;  // blue 0x56, green 0x34, red 0x12
    data.keyColours.push_back(colour);
    return data;
}

TEST(ProfileFile, WritesTheFormatLineByLine)
{
    const std::wstring text = BuildProfileXml(Sample()).GetStdString();
    const std::wstring expected =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        L"<profile>\r\n"
        L"<info name=\"Gaming &lt;1&gt; &amp; \x0141\x00F3d\x017A\">\r\n"
        L"<macro_info>\r\n"
        L"<macro_item macro_id=\"3\" name=\"Combo\" times=\"4\" type=\"1\" delaytime=\"50\">\r\n"
        L"<record_item>\r\n"
        L"<item desc=\"A\" type=\"2\" value=\"4\" delay_time=\"10\"/>\r\n"
        L"<item desc=\"A\" type=\"3\" value=\"4\" delay_time=\"10\"/>\r\n"
        L"</record_item>\r\n"
        L"</macro_item>\r\n"
        L"<macro_item macro_id=\"5\" name=\"Empty\" times=\"1\" type=\"0\" delaytime=\"0\"/>\r\n"
        L"</macro_info>\r\n"
        L"<key_info>\r\n"
        L"<item fn_layer=\"1\" key_code=\"4\" layout_desc=\"4\" macro_type=\"5\" macro_value=\"233\" "
        L"macro_value2=\"0\" macro_value3=\"0\" macro_desc=\"Volume up\"/>\r\n"
        L"</key_info>\r\n"
        L"<light_mode>\r\n"
        L"<item mode=\"2\" brightness=\"4\" speed=\"1\" direction=\"1\" colorful=\"0\" colorindex=\"3\" "
        L"color_value=\"16744448\" status=\"1\"/>\r\n"
        L"</light_mode>\r\n"
        L"<key_light>\r\n"
        L"<item key_name=\"A\" key_code=\"4\" key_rgb=\"#123456\"/>\r\n"
        L"</key_light>\r\n"
        L"</info>\r\n"
        L"</profile>\r\n";
    EXPECT_EQ(text, expected);
}

TEST(ProfileFile, FileIsUtf8WithoutMarkAndReadsBackTheSameValues)
{
    testsupport::TempFolder folder;
    const std::wstring path = folder.Path() + L"p.xml";
    ASSERT_TRUE(WriteProfileFile(path.c_str(), Sample()));

    FILE* file = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(file, nullptr);
    char head[64] = {};
    fread(head, 1, sizeof(head) - 1, file);
    fclose(file);
    EXPECT_EQ(std::string(head).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>", 0), 0u);

    ProfileFileData read;
    ASSERT_EQ(ReadProfileFile(path.c_str(), read), ProfileFileError::None);
    const ProfileFileData sample = Sample();
    EXPECT_EQ(read.name, sample.name);
    ASSERT_EQ(read.macros.size(), 2u);
    EXPECT_EQ(read.macros[0].macro.macro_id, 3);
    EXPECT_EQ(read.macros[0].macro.play_type, 0);
    EXPECT_EQ(read.macros[0].macro.play_times, 4);
    EXPECT_EQ(read.macros[0].macro.delay_type, 1);
    EXPECT_EQ(read.macros[0].macro.delay_time, 50);
    ASSERT_EQ(read.macros[0].records.size(), 2u);
    EXPECT_EQ(read.macros[0].records[1].type, 3);
    EXPECT_EQ(read.macros[0].records[1].record_index, 1);
    EXPECT_EQ(read.macros[0].records[1].delay_time, 10);
    EXPECT_TRUE(read.macros[1].records.empty());
    ASSERT_EQ(read.keys.size(), 1u);
    EXPECT_EQ(read.keys[0].fn_layer, 1);
    EXPECT_EQ(read.keys[0].macro_type, 5);
    EXPECT_EQ(read.keys[0].macro_value, 233);
    EXPECT_EQ(read.keys[0].macro_desc, CString(L"Volume up"));
    ASSERT_EQ(read.lights.size(), 1u);
    EXPECT_EQ(read.lights[0].mode, 2);
    EXPECT_EQ(read.lights[0].color_value1, 0x00FF8000);
    EXPECT_EQ(read.lights[0].colorindex, 3);
    ASSERT_EQ(read.keyColours.size(), 1u);
    EXPECT_EQ(read.keyColours[0].key_rgb, 0x00563412);
}

TEST(ProfileFile, ColourTexts)
{
    const struct {
        const wchar_t* text;
        int value;
        bool valid;
    } cases[] = {
        {L"#123456", 0x563412, true}, {L"#FFFFFF", 0xFFFFFF, true}, {L"#12", 0x12, true},
        {L"#123", 0x0312, true},      {L"#1234", 0x3412, true},     {L"#12345", 0x053412, true},
        {L"#1", 0, false},            {L"#1234567", 0, false},      {L"", 0, false},
        {L"#GG0000", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        EXPECT_EQ(ParseColorValue(c.text), c.value);
        EXPECT_EQ(IsColorText(c.text), c.valid);
    }
    EXPECT_EQ(FormatColorValue(0x00563412), CString(L"#123456"));
}

TEST(ProfileFile, NamesOfTheProfileList)
{
    EXPECT_EQ(MakeProfileName(L"Profile", {}), CString(L"Profile 01"));
    EXPECT_EQ(MakeProfileName(L"Profile", {L"Profile 01", L"Profile 02"}), CString(L"Profile 03"));
    EXPECT_EQ(MakeProfileName(L"Profile", {L"Profile 02"}), CString(L"Profile 01"));
    EXPECT_EQ(MakeProfileName(L"Profile", {L"profile 01"}), CString(L"Profile 01"));  // case counts

    // A default name made under any offered language follows the current one.
    const std::vector<CString> offered = {L"Profile", L"Profil"};
    struct Case
    {
        const wchar_t* stored;
        const wchar_t* current;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Profile 02", L"Profil", L"Profil 02"},
        {L"\x914D\x7F6E\x65B9\x6848 03", L"Profil", L"Profil 03"},
        {L"My keys", L"Profil", L"My keys"},
        {L"Profil 01", L"Profile", L"Profile 01"},  // made under Polish, shown in English
        {L"Profil", L"Profile", L"Profile"},
        {L"Profile 01", L"Profile", L"Profile 01"},  // not "Profil" and "e 01"
        {L"Profilowy", L"Profile", L"Profilowy"},   // a typed name that only begins like it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(ProfileDisplayName(c.stored, c.current, offered), CString(c.shown));
    }
    // Without the offered languages only the fixed prefixes count.
    EXPECT_EQ(ProfileDisplayName(L"Profil 01", L"Profile"), CString(L"Profil 01"));
}

// ---- hostile files ----------------------------------------------------------------------------------

std::string Wrap(const std::string& inside)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile><info name=\"H\">" + inside + "</info></profile>";
}

std::string ManyKeys(int count)
{
    std::string items;
    for (int i = 0; i < count; ++i)
        items += "<item fn_layer=\"0\" key_code=\"" + std::to_string(4 + i % 100) + "\" macro_type=\"2\" macro_value=\"5\"/>";
    return Wrap("<key_info>" + items + "</key_info>");
}

struct Hostile {
    const char* name;
    std::string bytes;
    ProfileFileError error;
    // Checked when the file is read.
    void (*check)(const ProfileFileData& data);
};

TEST(ProfileFile, HostileFilesAreRefusedOrReadWithCheckedValues)
{
    const Hostile cases[] = {
        {"empty", "", ProfileFileError::NotXml, nullptr},
        {"truncated", Wrap("<key_info><item fn_layer=\"0\" key_code=\"4\"").substr(0, 90),
         ProfileFileError::NotXml, nullptr},
        {"not xml", "PK\x03\x04 binary", ProfileFileError::NotXml, nullptr},
        {"other root", "<macro><info name=\"x\"/></macro>", ProfileFileError::NotAProfile, nullptr},
        {"invalid utf-8", Wrap("") + "\xC3\x28\xFF", ProfileFileError::NotUtf8, nullptr},
        {"latin-1 name", "<profile><info name=\"Caf\xE9\"/></profile>", ProfileFileError::NotUtf8, nullptr},
        {"ten thousand keys", ManyKeys(10000), ProfileFileError::TooManyItems, nullptr},
        {"wrong types",
         Wrap("<key_info><item fn_layer=\"zero\" key_code=\"4\" macro_type=\"2\"/>"
              "<item fn_layer=\"1\" key_code=\"A\" macro_type=\"2\"/>"
              "<item fn_layer=\"1\" key_code=\"5\" macro_type=\"two\" macro_value=\"x\"/></key_info>"),
         ProfileFileError::None,
         [](const ProfileFileData& d) {
             // "zero" reads as 0, a valid layer; "A" as code 0 and "two" as
             // type 0: dropped and kept as the format reads them.
             ASSERT_EQ(d.keys.size(), 2u);
             EXPECT_EQ(d.keys[0].fn_layer, 0);
             EXPECT_EQ(d.keys[1].key_code, 5);
             EXPECT_EQ(d.keys[1].macro_type, 0);
             EXPECT_EQ(d.keys[1].macro_value, 0);
         }},
        {"out of range",
         Wrap("<macro_info><macro_item macro_id=\"3\" times=\"-5\" type=\"9\" delaytime=\"99999999999\">"
              "<record_item><item type=\"2\" value=\"70000\" delay_time=\"-1\"/><item type=\"9\" value=\"1\"/>"
              "</record_item></macro_item><macro_item macro_id=\"-2\"/></macro_info>"
              "<key_info><item fn_layer=\"2\" key_code=\"4\" macro_type=\"2\"/>"
              "<item fn_layer=\"0\" key_code=\"4\" macro_type=\"2\" macro_value=\"300\" macro_value2=\"-1\" "
              "macro_value3=\"2147483648\"/>"
              "<item fn_layer=\"0\" key_code=\"70000\" macro_type=\"2\"/></key_info>"
              "<light_mode><item mode=\"1\" brightness=\"99\" speed=\"-3\" colorful=\"7\" color_value=\"-1\"/>"
              "<item mode=\"4096\"/></light_mode>"
              "<key_light><item key_code=\"4\" key_rgb=\"#12\"/><item key_code=\"5\" key_rgb=\"red\"/>"
              "<item key_code=\"-4\" key_rgb=\"#000000\"/></key_light>"),
         ProfileFileError::None,
         [](const ProfileFileData& d) {
             ASSERT_EQ(d.macros.size(), 1u);
             EXPECT_EQ(d.macros[0].macro.play_times, 1);
             EXPECT_EQ(d.macros[0].macro.delay_type, 2);
             EXPECT_EQ(d.macros[0].macro.delay_time, 10000);
             ASSERT_EQ(d.macros[0].records.size(), 1u);
             EXPECT_EQ(d.macros[0].records[0].value, 0xFFFF);
             EXPECT_EQ(d.macros[0].records[0].delay_time, 0);
             ASSERT_EQ(d.keys.size(), 1u);
             EXPECT_EQ(d.keys[0].macro_value, 255);
             EXPECT_EQ(d.keys[0].macro_value2, 0);
             EXPECT_EQ(d.keys[0].macro_value3, 0xFFFF);
             ASSERT_EQ(d.lights.size(), 1u);
             EXPECT_EQ(d.lights[0].brightness, 5);
             EXPECT_EQ(d.lights[0].speed, 0);
             EXPECT_EQ(d.lights[0].colorful, 1);
             EXPECT_EQ(d.lights[0].color_value1, 0);
             ASSERT_EQ(d.keyColours.size(), 1u);
             EXPECT_EQ(d.keyColours[0].key_rgb, 0x12);
         }},
        {"unknown key types",
         Wrap("<key_info><item fn_layer=\"0\" key_code=\"4\" macro_type=\"3\"/>"
              "<item fn_layer=\"0\" key_code=\"5\" macro_type=\"99\"/>"
              "<item fn_layer=\"0\" key_code=\"6\" macro_type=\"12\" macro_value=\"7\"/></key_info>"),
         ProfileFileError::None,
         [](const ProfileFileData& d) {
             ASSERT_EQ(d.keys.size(), 1u);
             EXPECT_EQ(d.keys[0].key_code, 6);
         }},
        {"long name", "<profile><info name=\"" + std::string(5000, 'n') + "\"/></profile>", ProfileFileError::None,
         [](const ProfileFileData& d) { EXPECT_EQ(d.name.GetLength(), kMaxProfileText); }},
        {"sections under the root", "<profile><info name=\"N\"/><key_info><item fn_layer=\"0\" key_code=\"4\" "
                                    "macro_type=\"5\"/></key_info></profile>",
         ProfileFileError::None,
         [](const ProfileFileData& d) {
             EXPECT_EQ(d.name, CString(L"N"));
             EXPECT_TRUE(d.keys.empty());
         }},
        {"utf-16 with its mark", std::string("\xFF\xFE<\0p\0r\0o\0f\0i\0l\0e\0/\0>\0", 22), ProfileFileError::None,
         nullptr},
        {"utf-8 with its mark", "\xEF\xBB\xBF<profile><info name=\"\xC5\x81\"/></profile>", ProfileFileError::None,
         [](const ProfileFileData& d) { EXPECT_EQ(d.name, CString(L"\x0141")); }},
    };

    testsupport::TempFolder folder;
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.Path() + L"hostile.xml";
        WriteFileBytes(CString(path.c_str()), c.bytes);
        ProfileFileData data;
        data.name = L"untouched";
        const ProfileFileError error = ReadProfileFile(path.c_str(), data);
        EXPECT_EQ(error, c.error);
        if (error != ProfileFileError::None) {
            EXPECT_EQ(data.name, CString(L"untouched"));
            EXPECT_NE(ProfileFileErrorText(error), 0);
        } else if (c.check != nullptr) {
            c.check(data);
        }
    }

    ProfileFileData data;
    EXPECT_EQ(ReadProfileFile((folder.Path() + L"missing.xml").c_str(), data), ProfileFileError::Unreadable);
}

} // namespace
