// The window shell, the home page and the system settings page.

#include "app/window/PageTables.h"

namespace tarnwell {

using namespace setup;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kCaptionBar = 0xFF272727;

// Every page panel covers the client area below the caption bar.
constexpr Place kPanelPlace = PlaceAt(FromL(1), FromT(60), FromR(-1), FromB(-1));

ControlRow Panel(int id, int visible)
{
    return ControlRow{id, L"MTabLayout", Kind::Control, NoText(), {Visible(visible)}, kPanelPlace};
}

// A white text of size 16 on the system settings page.
std::vector<SetupOp> SystemText() { return {TextColour(kWhite), FontSize(16)}; }

std::vector<SetupOp> SystemRadio(const wchar_t* group)
{
    return {Image(L"btn_radiobox.png", 8), TextColour(kWhite), Group(group), FontSize(16)};
}

std::vector<SetupOp> WebLink() { return {FontSize(20), Align(1), FontStyle(4)}; }

} // namespace

const std::vector<ControlRow>& ShellRows()
{
    static const std::vector<ControlRow> rows = {
        {30, L"MPicture", Kind::Area, NoText(), {Image(L"main_bkg.png", 1), ShowMode(2, 4)},
         PlaceAt(FromL(), FromT(), FromR(), FromB()), kRenderAhead},
        {31, L"CRoundArea", Kind::Area, NoText(), {Fill(kCaptionBar)}, PlaceAt(At(1), At(1), FromR(-1), At(51))},
        {34, L"MPicture", Kind::Area, NoText(), {Image(L"logo\\logo.png", 1)}, NoPlace()},
        {32, L"MText", Kind::Area, CaptionText(1), {PageColour(), Align(1), FontSize(20), FontStyle(1)}, NoPlace()},
        {35, L"CImageButton", Kind::Control, NoText(), {Image(L"sysbtn_close.png", 4), CloseTooltip()},
         PlaceAt(FromR(-50), At(10), FromR(-20), At(40))},
        {36, L"CImageButton", Kind::Control, NoText(), {Image(L"btn_max.png", 4), Tooltip(2)}, NoPlace()},
        {37, L"CImageButton", Kind::Control, NoText(), {Image(L"sysbtn_min.png", 4), Tooltip(3)},
         PlaceAt(FromR(-82), At(10), FromR(-52), At(40))},
        {39, L"CImageButton", Kind::Control, NoText(), {Image(L"sysbtn_setting.png", 4), Tooltip(10)},
         PlaceAt(FromR(-114), At(10), FromR(-84), At(40))},
        Panel(kIdKeysPanel, 0),
        Panel(kIdLightingPanel, 0),
        Panel(kIdMacroPanel, 0),
        Panel(kIdSettingsPanel, 0),
        Panel(kIdSystemPanel, 0),
        Panel(kIdHomePanel, 1),
        {41, L"MComboBox2", Kind::Control, NoText(),
         {Image(L"combobox_device_dropdown.png", 1), AddItem(Literal(L"75"), 101), CurSel(0)}, NoPlace()},
        {51, L"CImageButton", Kind::Control, EmptyText(), {Image(L"btn_returnhome.png", 4), Tooltip(50)},
         Fixed(10, 5, 216, 46)},
        {53, L"MPicture", Kind::Area, NoText(), {Image(L"img_tab_area1.png", 1)}, NoPlace()},
        // The tab strip's items and layout are set by the builder.
        {kIdTabStrip, L"MTabCtrl", Kind::Control, NoText(), {FontSize(15)},
         PlaceAt(FromC(-240), At(5), FromC(240), At(45))},
    };
    return rows;
}

const std::vector<TabItemRow>& TabStripItems()
{
    static const std::vector<TabItemRow> items = {
        {1, 51, L"icon\\tab_key.png", kIdKeysPanel},
        {3, 52, L"icon\\tab_light.png", kIdLightingPanel},
        {2, 53, L"icon\\tab_macro.png", kIdMacroPanel},
        {5, 54, L"icon\\tab_config.png", kIdSettingsPanel},
    };
    return items;
}

const std::vector<ControlRow>& HomeRows()
{
    static const std::vector<ControlRow> rows = {
        {60, L"MPicture", Kind::Area, NoText(), {Image(L"main_bkg.png", 1), ShowMode(2, 4)}, NoPlace()},
        {61, L"CDeviceCtrl", Kind::Control, NoText(), {SkinPathImage(L"keyboard\\img_keyboard.png", 1)},
         PlaceAt(FromC(-400), At(200), FromC(400), At(560))},
        // Text 63 replaces text 60 while no keyboard is connected.
        {kIdEnterButton, L"MButton", Kind::Control, Text(60),
         {Image(L"btn_apply.png", 4), TextColour(kWhite), FontSize(20)},
         PlaceAt(FromC(-150), At(600), FromC(150), At(640))},
        {33, L"MText", Kind::Area, CaptionText(2), {PageColour(), FontSize(20), Align(2)},
         PlaceAt(FromR(-320), FromB(-40), FromR(-20), FromB(-10))},
        // The program version; its text comes with the keyboard catalogue.
        {40, L"MText", Kind::Area, NoText(), {PageColour()}, PlaceAt(At(10), FromB(-40), At(310), FromB(-10))},
    };
    return rows;
}

const std::vector<ControlRow>& SystemSettingsRows()
{
    static const std::vector<ControlRow> rows = [] {
        std::vector<ControlRow> r = {
            {196, L"MPicture", Kind::Area, NoText(), {Image(L"img_area_bkg.png", 1), ShowMode(3, 30)},
             PlaceAt(At(240), At(80), FromR(-240), FromB(-50))},
            {197, L"CImageButton", Kind::Control, NoText(), {Image(L"img_return.png", 4)}, Fixed(260, 100, 340, 150)},
            {198, L"MText", Kind::Area, Text(550), SystemText(), Fixed(450, 200, 550, 236)},
            // The radio that selects Polish names it in its own language and
            // sits beside English, where the user can reach it.
            {kIdLanguageOther, L"CRadioButton", Kind::Control, Literal(L"Polski"),
             SystemRadio(L"IDC_SET_STC_LANGUAGE"), Fixed(620, 236, 770, 266)},
            {kIdLanguageEnglish, L"CRadioButton", Kind::Control, Literal(L"English"),
             SystemRadio(L"IDC_SET_STC_LANGUAGE"), Fixed(450, 236, 600, 266)},
            {201, L"MText", Kind::Area, Text(553), SystemText(), Fixed(450, 296, 650, 332)},
            {kIdAutorun, L"CCheckButton", Kind::Control, Text(554),
             {Image(L"btn_checkbox.png", 8), TextColour(kWhite), Check(0), FontSize(16)}, Fixed(450, 332, 750, 362)},
            {kIdAutorunMinimized, L"CCheckButton", Kind::Control, Text(555),
             {Image(L"btn_checkbox.png", 8), TextColour(kWhite), Check(0), Enabled(0), FontSize(16)},
             Fixed(510, 368, 950, 398)},
            {204, L"CArea", Kind::Area, NoText(), {Transparent(0, 0, 0xe6e6e6)}, NoPlace()},
            {205, L"CArea", Kind::Area, NoText(), {Transparent(0, 0, 0xe6e6e6)}, NoPlace()},
            {206, L"MText", Kind::Area, Text(556), SystemText(), Fixed(450, 428, 570, 464)},
            {kIdExitToTray, L"CRadioButton", Kind::Control, Text(557), SystemRadio(L"IDC_SET_STC_EXITMODE"),
             Fixed(450, 464, 950, 494)},
            {kIdExitProgram, L"CRadioButton", Kind::Control, Text(558), SystemRadio(L"IDC_SET_STC_EXITMODE"),
             Fixed(450, 500, 950, 530)},
            {209, L"MText", Kind::Area, Text(560), SystemText(), NoPlace()},
            {210, L"MButton", Kind::Control, Text(561), {Image(L"btn_apply.png", 4), FontSize(16), TextColour(kWhite)},
             NoPlace()},
            {211, L"MText", Kind::Area, CaptionText(2), {TextColour(kWhite), FontSize(20), Align(1)},
             Fixed(450, 600, 950, 630)},
            {212, L"CTextButton", Kind::Control, Literal(L"https://www.tarnwell.example"), WebLink(), NoPlace()},
            {213, L"CTextButton", Kind::Control, Text(565), WebLink(), NoPlace(), kKeepCreationTexts},
            {214, L"CTextButton", Kind::Control, Text(566), WebLink(), NoPlace(), kKeepCreationTexts},
        };
        return r;
    }();
    return rows;
}

const std::vector<PageTable>& AllPageTables()
{
    static const std::vector<PageTable> tables = {
        {L"shell", kOnWindow, &ShellRows()},
        {L"home", kIdHomePanel, &HomeRows()},
        {L"keys", kIdKeysPanel, &KeysRows()},
        {L"macro", kIdMacroPanel, &MacroRows()},
        {L"lighting", kIdLightingPanel, &LightingRows()},
        {L"music", kIdLightingPanel, &MusicRows()},
        {L"settings", kIdSettingsPanel, &SettingsRows()},
        {L"system", kIdSystemPanel, &SystemSettingsRows()},
    };
    return tables;
}

namespace {

int Value(const Coord& c, const RECT& client)
{
    switch (c.edge)
    {
    case Edge::Left:
        return client.left + c.offset;
    case Edge::Top:
        return client.top + c.offset;
    case Edge::Right:
        return client.right + c.offset;
    case Edge::Bottom:
        return client.bottom + c.offset;
    case Edge::Centre:
        return (client.right - client.left) / 2 + c.offset;
    case Edge::Zero:
    default:
        return c.offset;
    }
}

} // namespace

RECT Resolve(const Place& place, const RECT& client)
{
    if (!place.placed)
        return RECT{0, 0, 0, 0};
    return RECT{Value(place.left, client), Value(place.top, client), Value(place.right, client),
                Value(place.bottom, client)};
}

} // namespace tarnwell
