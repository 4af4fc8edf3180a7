// The keys page and the lighting page with its music-lighting controls.

#include "app/window/PageTables.h"

namespace tarnwell {

using namespace setup;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLowerPanel = 0xE6242526;
constexpr uint32_t kDivider = 0xE6050505;
constexpr uint32_t kDirectionText = 0xFF050505;
constexpr COLORREF kFieldBack = 0x232221;

// The profile bar fills the band between the page's left edge and the
// keyboard picture, above the lower panel.
constexpr int kBarLeft = 12;
constexpr int kBarRight = 176;
constexpr int kBarTop = 72;
constexpr int kHeaderHeight = 30;
constexpr int kProfileRowPitch = 36;
constexpr int kListRows = 5;
// The list keeps room for its scroll bar twice at its right edge; its rows
// end under the header's right end.
constexpr int kListBarRoom = 6;
constexpr int kListTop = kBarTop + kHeaderHeight + 6;
constexpr int kButtonsTop = kListTop + kListRows * kProfileRowPitch + 8;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 6;
constexpr int kButtonWidth = (kBarRight - kBarLeft - kButtonGap) / 2;
constexpr int kDefaultLineTop = kButtonsTop + 2 * kButtonHeight + kButtonGap + 8;

// One of the profile buttons in their two-by-two grid.
ControlRow ProfileButton(int id, int text, int column, int row)
{
    const int left = kBarLeft + column * (kButtonWidth + kButtonGap);
    const int top = kButtonsTop + row * (kButtonHeight + kButtonGap);
    return {id, L"MButton", Kind::Control, Text(text), {Image(L"btn_apply.png", 4), TextColour(kWhite)},
            PlaceAt(At(left), At(top), At(left + kButtonWidth), At(top + kButtonHeight))};
}

std::vector<SetupOp> DirectionRadio()
{
    return {TextColour(kDirectionText), Image(L"img_direction.png", 8), Group(L"GROUP_LIGHT_DIRECTION")};
}

std::vector<SetupOp> ColourField()
{
    return {Image(L"img_edit.png", 4), FontSize(16), PageColour(), NumberOnly(), EditBack(kFieldBack), Align(1),
            LimitText(3)};
}

// The lower panel's background and divider, shared by the keys and lighting pages.
ControlRow LowerPanel(int id) { return {id, L"CRoundArea", Kind::Area, NoText(), {Fill(kLowerPanel)}, PlaceAt(At(1), FromB(-380), FromR(-1), FromB(-1))}; }
ControlRow Divider(int id) { return {id, L"CRoundArea", Kind::Area, NoText(), {Fill(kDivider)}, PlaceAt(At(1), FromB(-340), FromR(-10), FromB(-339))}; }

std::vector<SetupOp> PageText() { return {PageColour()}; }

// The 5 x 5 preset colours of the lighting page (COLORREF), row by row.
constexpr COLORREF kCellColours[25] = {
    0x000CC0FF, 0x000C80FF, 0x000000FF, 0x007508FF, 0x00D705FF,
    0x0012FBFF, 0x0055A3FF, 0x00716EFF, 0x00FF55FB, 0x00FE05FF,
    0x0000FF89, 0x008CFFB8, 0x00FFFFFF, 0x00FF5FB2, 0x00FF077A,
    0x000AFF2A, 0x005CFF4E, 0x00FEFA73, 0x00FF5F4D, 0x00FF0619,
    0x0017FF04, 0x007DFD07, 0x00FDFF05, 0x00FF9109, 0x00FF3704,
};
constexpr int kCellColumns = 5;
constexpr int kCellPitch = 40;
constexpr int kCellSize = 34;

} // namespace

const std::vector<ControlRow>& KeysRows()
{
    static const std::vector<ControlRow> rows = {
        // The profile bar, in the band left of the keyboard picture: a header
        // with the add icon, the list, the four buttons and the default
        // profile's line.
        {64, L"MImageButton", Kind::Control, NoText(), {Image(L"icon_btn_moreprofile.png", 1), Tooltip(38)},
         PlaceAt(At(kBarRight - 22), At(kBarTop + 7), At(kBarRight - 6), At(kBarTop + 23))},
        {65, L"MText", Kind::Area, Text(102), {TextColour(0xFF808788), Align(2)},
         PlaceAt(At(kBarLeft), At(kDefaultLineTop), At(kBarRight - 26), At(kDefaultLineTop + 22))},
        {66, L"MImageButton", Kind::Control, NoText(), {Image(L"icon_btn_defaultprofile.png", 1), Tooltip(103)},
         PlaceAt(At(kBarRight - 20), At(kDefaultLineTop + 3), At(kBarRight - 4), At(kDefaultLineTop + 19))},
        {44, L"CRoundArea", Kind::Area, NoText(), {Fill(0xFF49FFE6)},
         PlaceAt(At(kBarLeft), At(kBarTop), At(kBarRight), At(kBarTop + kHeaderHeight))},
        {45, L"MText", Kind::Area, Text(100), {TextColour(0xFF191919), FontStyle(1), Align(1)},
         PlaceAt(At(kBarLeft + 24), At(kBarTop), At(kBarRight - 24), At(kBarTop + kHeaderHeight))},
        {46, L"ProfileList", Kind::Control, NoText(), {Image(L"icon\\icon_profile_edit.png", 2)},
         PlaceAt(At(kBarLeft), At(kListTop), At(kBarRight + kListBarRoom),
                 At(kListTop + kListRows * kProfileRowPitch))},
        ProfileButton(47, 822, 0, 0),
        ProfileButton(48, 823, 1, 0),
        ProfileButton(50, 824, 1, 1),
        ProfileButton(49, 825, 0, 1),
        {68, L"MButton", Kind::Control, Text(104), {Image(L"btn_apply.png", 4)},
         PlaceAt(FromR(-170), At(320), FromR(-50), At(350))},
        {69, L"MButton", Kind::Control, Text(105), {Image(L"btn_apply.png", 4)},
         PlaceAt(FromR(-170), At(360), FromR(-50), At(390))},
        // The layout presets sit with the other operations on the current
        // layer, between the layer tabs and the reset buttons.
        {kIdPresetLabel, L"MText", Kind::Area, Text(1200), {PageColour()},
         PlaceAt(FromR(-170), At(250), FromR(-50), At(276))},
        {67, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), PageColour(), AddItem(1152, 202), AddItem(1153, 203), AddItem(1154, 205),
          AddItem(1155, 206), CurSel(0)},
         PlaceAt(FromR(-170), At(276), FromR(-50), At(306))},
        // Keys, picture, size and place come from the layout file.
        {63, L"KeyboardCtrl", Kind::Control, NoText(), {KeyboardMode(101), Image(L"keyboard\\kb_bkg.png", 4)}, NoPlace()},
        {70, L"KeyLayerCtrl", Kind::Control, NoText(),
         {AddKeyLayer(1150, 0), AddKeyLayer(1151, 1), SelectKeyLayer(0)},
         PlaceAt(FromR(-170), At(90), FromR(-50), At(170))},
        LowerPanel(71),
        Divider(72),
        {73, L"KeyTypeTab", Kind::Control, NoText(),
         {AddKeyType(120, 0), AddKeyType(121, 1), AddKeyType(122, 2), AddKeyType(125, 3), AddKeyType(126, 4)},
         PlaceAt(FromC(-300), FromB(-370), FromC(300), FromB(-340))},
        {74, L"KeyFuncControl", Kind::Control, NoText(), {PageColour(), FontSize(10), InitItemInfo()},
         PlaceAt(At(100), FromB(-320), FromR(-20), FromB(-10))},
        {75, L"KeyValueList", Kind::Control, NoText(), {PageColour(), FontSize(12), Visible(0)},
         PlaceAt(At(300), FromB(-300), FromR(-300), FromB(-10))},
    };
    return rows;
}

const std::vector<ControlRow>& LightingRows()
{
    static const std::vector<ControlRow> rows = [] {
        std::vector<ControlRow> r = {
            {118, L"KeyboardCtrl", Kind::Control, NoText(), {KeyboardMode(102), Image(L"keyboard\\kb_bkg.png", 4)},
             NoPlace()},
            LowerPanel(119),
            Divider(120),
            {121, L"MText", Kind::Area, Text(200), PageText(), PlaceAt(At(160), FromB(-370), At(390), FromB(-340))},
            {122, L"CSwitchButton", Kind::Control, EmptyText(),
             {SwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4)},
             PlaceAt(At(410), FromB(-370), At(460), FromB(-340))},
            {123, L"MListBoxEx", Kind::Control, NoText(),
             {PageColour(), Image(L"btn_apply.png", 4), AllItemHeight(293)},
             PlaceAt(At(170), FromB(-330), At(460), FromB(-20))},
            {124, L"MText", Kind::Area, Text(201), PageText(), PlaceAt(At(500), FromB(-370), At(700), FromB(-340))},
            {134, L"CSwitchButton", Kind::Control, EmptyText(),
             {SwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4)},
             PlaceAt(At(940), FromB(-370), At(996), FromB(-340))},
            {135, L"MText", Kind::Area, Text(202), PageText(), PlaceAt(At(860), FromB(-370), At(940), FromB(-340))},
            {136, L"CRoundArea", Kind::Area, NoText(), {Fill(0xFFF7F7F7), Frame(1, 0xFFA0A0A0, 1)}, NoPlace()},
            {kIdColourCircle, L"CirclePalette", Kind::Control, NoText(), {Image(L"img_palette.png", 1)},
             PlaceAt(At(860), FromB(-251), At(1020), FromB(-91))},
            {138, L"MText", Kind::Area, Literal(L"R"), {TextColour(0xFFFF0000)},
             PlaceAt(At(1025), FromB(-251), At(1047), FromB(-221))},
            {139, L"MText", Kind::Area, Literal(L"G"), {TextColour(0xFF00FF00)},
             PlaceAt(At(1025), FromB(-201), At(1047), FromB(-171))},
            {140, L"MText", Kind::Area, Literal(L"B"), {TextColour(0xFF0000FF)},
             PlaceAt(At(1025), FromB(-151), At(1047), FromB(-121))},
            // Their values come from the colour circle after creation.
            {kIdRedField, L"MEdit", Kind::Control, EmptyText(), ColourField(),
             PlaceAt(At(1047), FromB(-249), At(1107), FromB(-225))},
            {kIdGreenField, L"MEdit", Kind::Control, EmptyText(), ColourField(),
             PlaceAt(At(1047), FromB(-199), At(1107), FromB(-175))},
            {kIdBlueField, L"MEdit", Kind::Control, EmptyText(), ColourField(),
             PlaceAt(At(1047), FromB(-149), At(1107), FromB(-125))},
            {125, L"MText", Kind::Area, Text(203), PageText(), PlaceAt(At(510), FromB(-330), At(610), FromB(-300))},
            {126, L"MSlider2", Kind::Control, NoText(),
             {Image(L"img_light_brightness.png", 4), PageColour(), ShowText(0), MaxProgress(5), MinProgress(0),
              Progress(5)},
             PlaceAt(At(510), FromB(-300), At(820), FromB(-274))},
            {127, L"MText", Kind::Area, Text(204), PageText(), PlaceAt(At(510), FromB(-260), At(610), FromB(-230))},
            {128, L"MSlider2", Kind::Control, NoText(),
             {Image(L"img_light_speed.png", 4), PageColour(), ShowText(0), MaxProgress(4), MinProgress(0), Progress(3)},
             PlaceAt(At(510), FromB(-230), At(820), FromB(-204))},
            {129, L"MText", Kind::Area, Text(205), PageText(), PlaceAt(At(510), FromB(-190), At(610), FromB(-160))},
            // Two pairs on the same places; the page shows one pair at a time.
            {130, L"CRadioButton2", Kind::Control, Text(209), DirectionRadio(),
             PlaceAt(At(510), FromB(-160), At(660), FromB(-140))},
            {131, L"CRadioButton2", Kind::Control, Text(208), DirectionRadio(),
             PlaceAt(At(670), FromB(-160), At(820), FromB(-140))},
            {132, L"CRadioButton2", Kind::Control, Text(206), DirectionRadio(),
             PlaceAt(At(510), FromB(-160), At(660), FromB(-140))},
            {133, L"CRadioButton2", Kind::Control, Text(207), DirectionRadio(),
             PlaceAt(At(670), FromB(-160), At(820), FromB(-140))},
        };
        for (int k = 0; k < 25; ++k)
        {
            const int row = k / kCellColumns;
            const int column = k % kCellColumns;
            const int dx = kCellPitch * column;
            const int dy = kCellPitch * row;
            r.push_back({kIdFirstColourCell + k, L"CColorButton", Kind::Control, NoText(),
                         {Group(L"IDC_LIGHT_STC_DEFAULTCOLOR"), CellColour(kCellColours[k])},
                         PlaceAt(FromR(-230 + dx), FromB(-250 + dy), FromR(-230 + kCellSize + dx),
                                 FromB(-250 + kCellSize + dy))});
        }
        return r;
    }();
    return rows;
}

const std::vector<ControlRow>& MusicRows()
{
    // All hidden until a music mode is shown.
    static const std::vector<ControlRow> rows = {
        {169, L"MText", Kind::Area, Text(222), {PageColour(), Visible(0)},
         PlaceAt(At(570), FromB(-280), At(730), FromB(-250))},
        {170, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), PageColour(), AddItem(226, 1), AddItem(227, 2), AddItem(228, 3),
          AddItem(229, 4), AddItem(230, 5), AddItem(231, 6), AddItem(232, 7), AddItem(233, 8), AddItem(234, 9),
          AddItem(235, 10), AddItem(238, 11), CurSel(0), Visible(0)},
         PlaceAt(At(570), FromB(-250), At(830), FromB(-220)), kItemsOnlyOnRgbKeyboard},
        {171, L"MText", Kind::Area, Text(223), {PageColour(), Visible(0)},
         PlaceAt(At(570), FromB(-210), At(770), FromB(-180))},
        {172, L"MSlider2", Kind::Control, NoText(),
         {Image(L"img_light_music.png", 4), PageColour(), ShowText(0), MaxProgress(100), MinProgress(0), Visible(0)},
         PlaceAt(At(570), FromB(-180), At(830), FromB(-154))},
        {173, L"MText", Kind::Area, Text(224), {PageColour(), Visible(0)},
         PlaceAt(At(870), FromB(-280), At(1070), FromB(-250))},
        {174, L"MComboBox", Kind::Control, NoText(),
         {Image(L"img_combobox.png", 4), PageColour(), AddItem(237, 0), AddItem(231, 6), AddItem(232, 7),
          AddItem(233, 8), AddItem(234, 9), AddItem(238, 11), AddItem(235, 10), AddItem(226, 1), AddItem(227, 2),
          AddItem(228, 3), AddItem(229, 4), AddItem(230, 5), CurSel(0), Visible(0)},
         PlaceAt(At(870), FromB(-250), At(1130), FromB(-220)), kItemsOnlyOnRgbKeyboard},
        {175, L"MText", Kind::Area, Text(225), {PageColour(), Visible(0)},
         PlaceAt(At(870), FromB(-210), At(1070), FromB(-180))},
        {176, L"MSlider2", Kind::Control, NoText(),
         {Image(L"img_light_brightness.png", 4), PageColour(), ShowText(0), MaxProgress(100), MinProgress(1),
          Progress(50), Visible(0)},
         PlaceAt(At(870), FromB(-180), At(1130), FromB(-154))},
    };
    return rows;
}

} // namespace tarnwell
