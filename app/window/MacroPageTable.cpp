// The macro page and the settings page. Where a row sets a font size twice,
// the second is the page layout's, which runs after creation and wins.

#include "app/window/PageTables.h"

namespace tarnwell {

using namespace setup;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kPanel = 0xE6242526;
constexpr uint32_t kDivider = 0xE6050505;
constexpr uint32_t kBox = 0xE6333435;
constexpr uint32_t kHeadingBar = 0xE6515151;
constexpr uint32_t kDescription = 0xFFB4B4B4;
constexpr uint32_t kWarning = 0xFFFF0000;
constexpr COLORREF kFieldBack = 0x535837;

std::vector<SetupOp> Heading() { return {PageColour(), FontSize(16), FontSize(16)}; }
std::vector<SetupOp> Column() { return {PageColour(), FontSize(16), FontSize(14)}; }
std::vector<SetupOp> Button14() { return {Image(L"btn_apply.png", 4), FontSize(14)}; }

std::vector<SetupOp> Radio(const wchar_t* group) { return {Image(L"btn_radiobox.png", 8), Group(group)}; }

std::vector<SetupOp> With(std::vector<SetupOp> ops, std::initializer_list<SetupOp> more)
{
    ops.insert(ops.end(), more);
    return ops;
}

std::vector<SetupOp> LockSwitch() { return {SwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4)}; }
std::vector<SetupOp> SettingTitle() { return {TextColour(kWhite), FontSize(16)}; }
std::vector<SetupOp> SettingNote(uint32_t colour) { return {TextColour(colour), FontSize(14), MultiLine()}; }

constexpr RECT kRecordTextRect = {0, 0, 160, 26};
constexpr RECT kRecordIconRect = {10, 7, 37, 19};

} // namespace

const std::vector<ControlRow>& MacroRows()
{
    static const std::vector<ControlRow> rows = {
        {76, L"CRoundArea", Kind::Area, NoText(), {Fill(kPanel)}, PlaceAt(At(1), At(80), FromR(-1), FromB(-5))},
        {77, L"CRoundArea", Kind::Area, NoText(), {Fill(kDivider)}, PlaceAt(At(1), At(120), FromR(-10), At(121))},
        // The repeat box right of the settings: a caption strip over its radios.
        {78, L"MPicture", Kind::Area, NoText(), {Image(L"img_area_caption.png", 1), ShowMode(3, 10)},
         Fixed(1040, 140, 1334, 176)},
        {79, L"MPicture", Kind::Area, NoText(), {Image(L"img_area_content.png", 1), ShowMode(3, 10)},
         Fixed(1040, 180, 1334, 290)},
        {80, L"MText", Kind::Area, Text(352), Heading(), Fixed(36, 80, 186, 116)},
        {81, L"CRoundArea", Kind::Area, NoText(), {Fill(kBox)}, Fixed(36, 130, 291, 710)},
        {82, L"MacroList", Kind::Control, NoText(),
         {PageColour(), ShowEdit(1), Image(L"img_list_bkg.png", 2), EditImage(L"btn_more.png", 4), FontSize(14)},
         Fixed(38, 132, 289, 708)},
        {83, L"MButton", Kind::Control, Text(353), Button14(), Fixed(36, 730, 156, 760)},
        {84, L"MButton", Kind::Control, Text(30), Button14(), Fixed(171, 730, 291, 760)},
        {85, L"CRoundArea", Kind::Area, NoText(), {Fill(kBox)}, Fixed(310, 130, 710, 710)},
        {86, L"MText", Kind::Area, Text(355), Heading(), Fixed(320, 80, 460, 116)},
        {87, L"CRoundArea", Kind::Area, NoText(), {Fill(kBox)}, Fixed(1030, 130, 1344, 500)},
        {88, L"CRoundArea", Kind::Area, NoText(), {Fill(kHeadingBar), Round(0)}, Fixed(310, 130, 710, 160)},
        {89, L"MText", Kind::Area, Text(388), Column(), Fixed(320, 130, 440, 160)},
        {90, L"MText", Kind::Area, Text(389), Column(), Fixed(395, 130, 480, 160)},
        {91, L"MText", Kind::Area, Text(390), Column(), Fixed(500, 130, 620, 160)},
        {92, L"CRecordList", Kind::Control, NoText(),
         {Image(L"icon\\icon_list.png", 8), ItemImage(L"img_list_bkg.png", 2), MoreImage(L"btn_more.png", 4),
          FontSize(14)},
         Fixed(312, 161, 708, 710)},
        {93, L"MButton", Kind::Control, Text(39), {Image(L"btn_apply.png", 4)}, Fixed(450, 730, 530, 758)},
        {94, L"MButton", Kind::Control, Text(357), Button14(), Fixed(630, 730, 710, 758)},
        {95, L"MButton", Kind::Control, Text(404), Button14(), Fixed(540, 730, 620, 758)},
        {96, L"CRoundArea", Kind::Area, NoText(), {Fill(kBox)}, Fixed(730, 130, 1010, 500)},
        {98, L"CIconButton", Kind::Control, Text(358),
         {Image(L"btn_apply.png", 4), IconImage(L"icon\\icon_rec.png", 1), TextRect(kRecordTextRect, kRecordIconRect),
          FontSize(14)},
         Fixed(750, 166, 910, 194)},
        {99, L"MText", Kind::Area, Text(360), {PageColour(), FontSize(16)}, Fixed(750, 216, 850, 246)},
        {100, L"CRadioButton", Kind::Control, Text(361), With(Radio(L"IDC_MACRO_STC_DELAYSET"), {FontSize(14)}),
         Fixed(750, 246, 910, 276)},
        {101, L"CRadioButton", Kind::Control, Text(362),
         With(Radio(L"IDC_MACRO_STC_DELAYSET"), {Check(1), FontSize(14)}), Fixed(750, 276, 910, 306)},
        {102, L"CRadioButton", Kind::Control, Text(363), With(Radio(L"IDC_MACRO_STC_DELAYSET"), {FontSize(14)}),
         Fixed(750, 306, 875, 336)},
        {103, L"CArea", Kind::Area, NoText(), {Transparent(0, 0, kFieldBack)}, Fixed(890, 308, 950, 334)},
        {104, L"MEdit", Kind::Control, EmptyText(),
         {PageColour(), Title(L"10"), NumberOnly(), EditBack(kFieldBack), Align(1), LimitText(5), Enabled(0),
          FontSize(14)},
         Fixed(885, 308, 955, 334)},
        {105, L"MText", Kind::Area, Literal(L"ms"), {PageColour(), FontSize(12), FontSize(14)},
         Fixed(950, 308, 980, 334)},
        {106, L"MText", Kind::Area, Text(364), {PageColour()}, Fixed(1056, 140, 1320, 176)},
        {107, L"CRadioButton", Kind::Control, Text(365), Radio(L"IDC_MACRO_RADIO_LOOP1"),
         Fixed(1056, 188, 1320, 218)},
        {108, L"CRadioButton", Kind::Control, Text(366), Radio(L"IDC_MACRO_RADIO_LOOP1"),
         Fixed(1056, 218, 1320, 248)},
        {109, L"CRadioButton", Kind::Control, Text(367), With(Radio(L"IDC_MACRO_RADIO_LOOP1"), {Check(1)}),
         Fixed(1056, 248, 1180, 278)},
        {110, L"MEdit", Kind::Control, EmptyText(),
         {Image(L"img_edit.png", 4), PageColour(), Title(L"1"), NumberOnly(), EditBack(kFieldBack), Align(1),
          LimitText(3)},
         Fixed(1190, 250, 1260, 276)},
        // The event editor, below the repeat box in the same frame: each
        // label above its field, so that longer words still fit.
        {97, L"MPicture", Kind::Area, NoText(), {Image(L"img_area_content.png", 1), ShowMode(3, 10), Visible(0)},
         Fixed(1040, 300, 1334, 490)},
        {111, L"MText", Kind::Area, Text(391), {PageColour(), Visible(0)}, Fixed(1056, 308, 1318, 334)},
        {112, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), PageColour(), Align(1), CurSel(0), Visible(0)},
         Fixed(1056, 336, 1318, 366)},
        {115, L"MText", Kind::Area, Text(392), {PageColour(), Visible(0)}, Fixed(1056, 374, 1318, 400)},
        {114, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), TextColour(kWhite), Align(1), AddItem(106, 1), AddItem(107, 3),
          AddItem(108, 2), AddItem(109, 7), AddItem(110, 8), CurSel(0), Visible(0)},
         Fixed(1056, 402, 1318, 432)},
        {113, L"MEdit", Kind::Control, EmptyText(),
         {Image(L"img_edit.png", 4), TextColour(kWhite), NumberOnly(), EditBack(kFieldBack), Align(1), LimitText(5),
          Visible(0)},
         Fixed(1056, 402, 1318, 432)},
        {116, L"MButton", Kind::Control, NoText(), {Image(L"img_recorditem_up.png", 4), FrameSize(8), Visible(0)},
         Fixed(1056, 448, 1084, 476)},
        {117, L"MButton", Kind::Control, NoText(), {Image(L"img_recorditem_down.png", 4), FrameSize(8), Visible(0)},
         Fixed(1092, 448, 1120, 476)},
    };
    return rows;
}

const std::vector<ControlRow>& SettingsRows()
{
    static const std::vector<ControlRow> rows = {
        {177, L"CRoundArea", Kind::Area, NoText(), {Fill(kPanel)}, PlaceAt(At(300), At(80), FromR(-300), FromB(-10))},
        // Wide enough for the label and the keyboard's firmware number.
        {178, L"MText", Kind::Area, Text(500), SettingTitle(), Fixed(330, 200, 930, 230)},
        {179, L"MText", Kind::Area, Text(501), SettingNote(kDescription), Fixed(330, 230, 930, 266)},
        {180, L"MButton", Kind::Control, Text(502), {Image(L"btn_apply.png", 4), FontSize(16)},
         Fixed(960, 200, 1040, 230)},
        {191, L"MText", Kind::Area, Text(505), {PageColour()}, Fixed(330, 290, 480, 320)},
        {192, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), PageColour(), AddSleepItem(2, 2), AddSleepItem(5, 5), AddSleepItem(10, 10),
          AddSleepItem(30, 30), AddSleepItem(0, 0), CurSel(0)},
         Fixed(960, 290, 1040, 320)},
        {182, L"MText", Kind::Area, Text(510), SettingTitle(), Fixed(330, 350, 530, 380)},
        {185, L"MText", Kind::Area, Text(511), SettingNote(kDescription), Fixed(330, 380, 930, 420)},
        {188, L"CSwitchButton", Kind::Control, EmptyText(), LockSwitch(), Fixed(960, 380, 1020, 410)},
        {183, L"MText", Kind::Area, Text(512), SettingTitle(), Fixed(330, 440, 530, 470)},
        {186, L"MText", Kind::Area, Text(513), SettingNote(kDescription), Fixed(330, 470, 930, 510)},
        {189, L"CSwitchButton", Kind::Control, EmptyText(), LockSwitch(), Fixed(960, 470, 1020, 500)},
        {184, L"MText", Kind::Area, Text(514), SettingTitle(), Fixed(330, 530, 530, 560)},
        {187, L"MText", Kind::Area, Text(515), SettingNote(kDescription), Fixed(330, 560, 930, 600)},
        {190, L"CSwitchButton", Kind::Control, EmptyText(), LockSwitch(), Fixed(960, 560, 1020, 590)},
        {193, L"MText", Kind::Area, Text(520), SettingTitle(), Fixed(330, 640, 480, 670)},
        {194, L"MText", Kind::Area, Text(521), SettingNote(kWarning), Fixed(330, 670, 930, 706)},
        {195, L"MButton", Kind::Control, Text(522), {Image(L"btn_apply.png", 4), FontSize(16), TextColour(kWarning)},
         Fixed(960, 640, 1040, 670)},
    };
    return rows;
}

} // namespace tarnwell
