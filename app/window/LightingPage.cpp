// The lighting page: the current profile's light mode and that mode's
// parameters, or in the per-key mode the colour of each key. Every change is
// stored at once in the profile's light rows and queued for the keyboard.

#include "app/window/KeyboardDlg.h"

#include <cwchar>

#include "app/store/ConfigDB.h"
#include "app/window/LightModes.h"
#include "ui/controls/CheckButtons.h"
#include "ui/controls/ColorControls.h"
#include "ui/controls/Slider.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/IconLists.h"
#include "ui/lists/MEdit.h"

using namespace tarnwell;

namespace {

constexpr UINT ID_LIGHT_PICTURE = 118;
constexpr UINT ID_LIGHT_SWITCH = 122;
constexpr UINT ID_MODE_LIST = 123;
constexpr UINT ID_BRIGHTNESS_TEXT = 125;
constexpr UINT ID_BRIGHTNESS = 126;
constexpr UINT ID_SPEED_TEXT = 127;
constexpr UINT ID_SPEED = 128;
constexpr UINT ID_DIRECTION_TEXT = 129;
constexpr UINT ID_DIRECTION_LEFT = 130;
constexpr UINT ID_DIRECTION_RIGHT = 131;
constexpr UINT ID_DIRECTION_UP = 132;
constexpr UINT ID_DIRECTION_DOWN = 133;
constexpr UINT ID_COLOURFUL = 134;
constexpr UINT ID_COLOURFUL_TEXT = 135;
// The colourful switch's caption (135) goes with the switch, not with the
// colour editors: a mode without the switch shows no caption for it.
constexpr UINT ID_COLOUR_FIRST = 136;
constexpr UINT ID_COLOUR_LAST = 168;
constexpr UINT ID_WHEEL = 137;
constexpr UINT ID_RED = 141;
constexpr UINT ID_GREEN = 142;
constexpr UINT ID_BLUE = 143;
constexpr UINT ID_MUSIC_FIRST = 169;
constexpr UINT ID_MUSIC_LAST = 176;

constexpr int kClicked = 2;
constexpr int kTextChanged = 26;
constexpr COLORREF kColourfulOffColour = 255;  // red
constexpr DWORD kPerKeyRepaintDelayMs = 100;

} // namespace

CString KeyboardDlg::ColourFieldText(UINT id)
{
    auto* field = dynamic_cast<VREL::MEdit*>(Control(id));
    return field ? field->GetEditText() : CString();
}

void KeyboardDlg::ShowColourBytes(COLORREF colour, bool placeWheel)
{
    const int bytes[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    const UINT ids[3] = {ID_RED, ID_GREEN, ID_BLUE};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[8];
        std::swprintf(text, 8, L"%d", bytes[i]);
        // Stored silently and drawn at once. A native edit opened later
        // starts from the stored text; none is written to here, as this
        // also runs on the worker.
        if (auto* field = dynamic_cast<VREL::MEdit*>(Control(ids[i]))) {
            field->SetEditText(text);
            field->UpdateControl(1, 0);
        }
    }
    if (placeWheel)
        PlaceWheelThumb(colour);
}

void KeyboardDlg::PlaceWheelThumb(COLORREF colour)
{
    if (auto* wheel = dynamic_cast<VREL::CirclePalette*>(Control(ID_WHEEL)))
        wheel->SetSelectColor(colour);
}

void KeyboardDlg::LoadLightPage()
{
    auto* modes = dynamic_cast<VREL::MListBoxEx*>(Control(ID_MODE_LIST));
    if (modes)
        modes->ClearList();
    if (m_profileId <= 0)
        return;
    ConfigDB& store = GetConfigDB();
    std::vector<LightData*> rows;
    store.GetLightList(m_profileId, rows);
    for (LightData* row : rows) {
        if (modes)
            modes->AddItem(Text(_wtoi(row->name.GetString())), row->mode, CString());
        delete row;
    }
    m_lightMode = store.GetActiveLightMode(m_profileId);
    if (modes)
        modes->SetCurData(m_lightMode);

    CString enabled;
    store.GetConfigValue(m_profileId, L"enable_light", enabled);
    m_lightEnabled = enabled == L"1" ? 1 : 0;
    if (auto* lightSwitch = dynamic_cast<VREL::CSwitchButton*>(Control(ID_LIGHT_SWITCH)))
        lightSwitch->SetCheck(m_lightEnabled);
    if (!m_lightEnabled)
        m_lightMode = kLightOffMode;
    // The music page first: its reset pauses the spectrum, and the mode shown
    // decides whether it runs again.
    ResetMusicPage(m_profileId);
    BuildMusicGrid();
    ShowLightMode();
}

void KeyboardDlg::ShowEditors(UINT first, UINT last, bool shown)
{
    for (UINT id = first; id <= last; ++id)
        SetControlVisible(id, shown);
}

void KeyboardDlg::ShowLightMode()
{
    if (m_profileId <= 0)
        return;
    LightData row;
    if (!GetConfigDB().GetLight(m_profileId, m_lightMode, row))
        return;
    m_lightFlags = row.config_func;
    const int flags = row.config_func;

    const struct
    {
        int flag;
        UINT text;
        UINT slider;
        int value;
    } sliders[] = {{LIGHT_BRIGHTNESS, ID_BRIGHTNESS_TEXT, ID_BRIGHTNESS, row.brightness},
                   {LIGHT_SPEED, ID_SPEED_TEXT, ID_SPEED, row.speed}};
    for (const auto& s : sliders) {
        const bool shown = (flags & s.flag) != 0;
        SetControlVisible(s.text, shown);
        SetControlVisible(s.slider, shown);
        if (auto* slider = dynamic_cast<VREL::MSlider2*>(Control(s.slider)))
            slider->SetProgress(shown ? s.value : 0);
    }

    const DirectionEditor direction = DirectionEditorFor(flags, m_lightMode);
    SetControlVisible(ID_DIRECTION_TEXT, direction.shown);
    const UINT first = direction.upDown ? ID_DIRECTION_UP : ID_DIRECTION_LEFT;
    const UINT second = direction.upDown ? ID_DIRECTION_DOWN : ID_DIRECTION_RIGHT;
    for (UINT id = ID_DIRECTION_LEFT; id <= ID_DIRECTION_DOWN; ++id)
        SetControlVisible(id, direction.shown && (id == first || id == second));
    if (direction.shown) {
        if (auto* radio = dynamic_cast<VREL::CRadioButton*>(Control(row.direction ? second : first)))
            radio->SetCheck(1);
        if (auto* radio = dynamic_cast<VREL::CRadioButton*>(Control(row.direction ? first : second)))
            radio->SetCheck(0);
        if (!direction.upDown) {
            if (auto* radio = dynamic_cast<VREL::MControlFont*>(Control(ID_DIRECTION_LEFT)))
                radio->SetControlTitle(Text(direction.firstText));
            if (auto* radio = dynamic_cast<VREL::MControlFont*>(Control(ID_DIRECTION_RIGHT)))
                radio->SetControlTitle(Text(direction.secondText));
        }
    }

    auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE));
    if (flags & LIGHT_COLOURFUL) {
        SetControlVisible(ID_COLOURFUL, true);
        SetControlVisible(ID_COLOURFUL_TEXT, true);
        if (auto* colourful = dynamic_cast<VREL::CSwitchButton*>(Control(ID_COLOURFUL)))
            colourful->SetCheck(row.colorful == 1 ? 1 : 0);
        if (picture)
            picture->SetLightModeColor(row.colorful == 1 ? 1 : 0, static_cast<COLORREF>(row.color_value1));
    } else {
        SetControlVisible(ID_COLOURFUL, false);
        SetControlVisible(ID_COLOURFUL_TEXT, false);
    }

    ShowColorControls((flags & LIGHT_COLOUR) != 0);
    if (flags & LIGHT_COLOUR)
        ShowColourBytes(row.colorful == 1 ? kColourfulOffColour : static_cast<COLORREF>(row.color_value1));
    ShowMusicControls((flags & LIGHT_MUSIC) != 0);

    if (flags & LIGHT_PER_KEY) {
        PaintStoredKeyColours();
    } else if (picture) {
        picture->EnableFrameSelect(0);
    }
}

void KeyboardDlg::ShowColorControls(bool shown) { ShowEditors(ID_COLOUR_FIRST, ID_COLOUR_LAST, shown); }

void KeyboardDlg::ShowMusicControls(bool shown)
{
    ShowEditors(ID_MUSIC_FIRST, ID_MUSIC_LAST, shown);
    m_visualizer.active = shown ? 1 : 0;
}

void KeyboardDlg::PaintStoredKeyColours()
{
    auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE));
    if (!picture)
        return;
    picture->EnableFrameSelect(1);
    picture->SetLightModeColor(0, 0);
    if (m_perKeyRgb) {
        std::vector<UserLightRgbData*> rows;
        GetConfigDB().GetProfileUserLightRgbs(m_profileId, rows);
        for (UserLightRgbData* row : rows) {
            picture->SetKeyColor(row->key_code, static_cast<COLORREF>(row->key_rgb));
            delete row;
        }
    }
    picture->UpdateControl(1, 0);
}

bool KeyboardDlg::StoreKeyColours()
{
    auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE));
    if (!picture || m_profileId <= 0)
        return false;
    std::vector<UserLightRgbData> rows;
    for (const VREL::KEY_INFO& key : picture->GetKeyItems()) {
        UserLightRgbData row;
        row.profile = m_profileId;
        row.key_code = key.keyCode;
        row.key_rgb = static_cast<int>(key.color);
        rows.push_back(row);
    }
    return GetConfigDB().SetProfileUserLightRgbs(m_profileId, rows);
}

LRESULT KeyboardDlg::OnLightModeChanged(const ControlNotify& n)
{
    if (n.code != kClicked || m_profileId <= 0)
        return 0;
    auto* modes = dynamic_cast<VREL::MListBoxEx*>(Control(ID_MODE_LIST));
    if (!modes)
        return 0;
    m_lightMode = modes->GetCurData();
    ConfigDB& store = GetConfigDB();
    store.SetActiveLight(m_profileId, m_lightMode);
    m_lightEnabled = 1;
    ShowLightMode();
    const bool perKey = (m_lightFlags & LIGHT_PER_KEY) != 0;
    if (perKey)
        PushTask(TASK_WRITE_LIGHTING);
    PushTask(TASK_WRITE_SETTINGS);
    if (perKey) {
        ::Sleep(kPerKeyRepaintDelayMs);
        PaintStoredKeyColours();
    }
    store.SetConfigValue(m_profileId, L"enable_light", L"1");
    if (auto* lightSwitch = dynamic_cast<VREL::CSwitchButton*>(Control(ID_LIGHT_SWITCH)))
        lightSwitch->SetCheck(1);
    return 1;
}

LRESULT KeyboardDlg::OnEnableLight(const ControlNotify&)
{
    auto* lightSwitch = dynamic_cast<VREL::CSwitchButton*>(Control(ID_LIGHT_SWITCH));
    if (!lightSwitch || m_profileId <= 0)
        return 1;
    ConfigDB& store = GetConfigDB();
    const int on = lightSwitch->GetCheck() ? 1 : 0;
    if (on) {
        m_lightMode = store.GetActiveLightMode(m_profileId);
        store.SetConfigValue(m_profileId, L"enable_light", L"1");
    } else {
        store.SetConfigValue(m_profileId, L"enable_light", L"0");
        m_lightMode = kLightOffMode;
    }
    m_lightEnabled = on;
    ShowLightMode();
    PushTask(TASK_WRITE_SETTINGS);
    return 1;
}

void KeyboardDlg::ApplyColor(COLORREF colour)
{
    if (m_profileId <= 0)
        return;
    auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE));
    if (m_lightFlags & LIGHT_PER_KEY) {
        if (!picture)
            return;
        picture->SetAllSelectColor(colour);
        StoreKeyColours();
        if (picture->GetCheckItemCount() > 0)
            PushTask(TASK_WRITE_LIGHTING);
        picture->UpdateControl(1, 0);
        return;
    }
    LightData row;
    if (!GetConfigDB().GetLight(m_profileId, m_lightMode, row))
        return;
    if (picture)
        picture->SetLightModeColor(0, colour);
    row.color_value1 = static_cast<int>(colour);
    GetConfigDB().UpdateLight(m_profileId, m_lightMode, row);
    PushTask(TASK_WRITE_SETTINGS);
}

void KeyboardDlg::ApplyColourfulRule()
{
    if (m_lightFlags & LIGHT_PER_KEY)
        return;
    auto* colourful = dynamic_cast<VREL::CSwitchButton*>(Control(ID_COLOURFUL));
    if (colourful && colourful->GetCheck()) {
        colourful->SetCheck(0);
        OnColorfulChanged(ControlNotify{ID_COLOURFUL, 0, 0, 0});
    }
}

LRESULT KeyboardDlg::OnLightKeysChanged(const ControlNotify& n)
{
    if (n.code != kClicked || m_lightMode != kPerKeyMode)
        return 0;
    StoreKeyColours();
    PushTask(TASK_WRITE_LIGHTING);
    return 1;
}

LRESULT KeyboardDlg::OnPaletteColor(const ControlNotify& n)
{
    auto* wheel = dynamic_cast<VREL::CirclePalette*>(Control(ID_WHEEL));
    if (!wheel)
        return 0;
    const COLORREF colour = wheel->GetSelectColor();
    ShowColourBytes(colour, false);
    if (n.code == kClicked) {
        ApplyColor(colour);
        ApplyColourfulRule();
    }
    return 1;
}

LRESULT KeyboardDlg::OnColorCell(const ControlNotify& n)
{
    auto* cell = dynamic_cast<VREL::CColorButton*>(Control(n.id));
    if (!cell)
        return 0;
    const COLORREF colour = cell->GetColor();
    ShowColourBytes(colour);
    ApplyColor(colour);
    ApplyColourfulRule();
    return 1;
}

LRESULT KeyboardDlg::OnRgbEdit(const ControlNotify& n)
{
    if (n.code != kTextChanged)
        return 0;
    auto* field = dynamic_cast<VREL::MEdit*>(Control(n.id));
    if (!field)
        return 0;
    const ColourByte clamped = ClampColourByte(field->GetEditText().GetString());
    // Into the native edit the user types in too, or its text, still the
    // unclamped number, is what the colour is read from.
    if (!clamped.shown.IsEmpty())
        field->SetTitle(clamped.shown);
    ApplyRgbEdits();
    ApplyColourfulRule();
    return 1;
}

void KeyboardDlg::ApplyRgbEdits()
{
    const int red = _wtoi(ColourFieldText(ID_RED).GetString());
    const int green = _wtoi(ColourFieldText(ID_GREEN).GetString());
    const int blue = _wtoi(ColourFieldText(ID_BLUE).GetString());
    const COLORREF colour = ColourOfBytes(red, green, blue);
    PlaceWheelThumb(colour);
    ApplyColor(colour);
}

LRESULT KeyboardDlg::OnColorfulChanged(const ControlNotify& n)
{
    if (m_profileId <= 0)
        return 1;
    LightData row;
    if (!GetConfigDB().GetLight(m_profileId, m_lightMode, row))
        return 1;
    auto* colourful = dynamic_cast<VREL::CSwitchButton*>(Control(ID_COLOURFUL));
    row.colorful = colourful && colourful->GetCheck() ? 1 : 0;
    if (!row.colorful) {
        // Turned off by the user the mode starts from red; turned off by a
        // colour pick it keeps the colour just stored.
        const COLORREF colour = n.code == kClicked ? kColourfulOffColour : static_cast<COLORREF>(row.color_value1);
        row.color_value1 = static_cast<int>(colour);
        ShowColourBytes(colour);
        ApplyColor(colour);
    }
    GetConfigDB().UpdateLight(m_profileId, m_lightMode, row);
    PushTask(TASK_WRITE_SETTINGS);
    return 1;
}

LRESULT KeyboardDlg::UpdateLightField(int LightData::*field, int value)
{
    if (m_profileId <= 0)
        return 1;
    LightData row;
    if (!GetConfigDB().GetLight(m_profileId, m_lightMode, row))
        return 1;
    row.*field = value;
    GetConfigDB().UpdateLight(m_profileId, m_lightMode, row);
    PushTask(TASK_WRITE_SETTINGS);
    return 1;
}

LRESULT KeyboardDlg::OnBrightnessChanged(const ControlNotify&)
{
    auto* slider = dynamic_cast<VREL::MSlider2*>(Control(ID_BRIGHTNESS));
    return slider ? UpdateLightField(&LightData::brightness, slider->GetProgress()) : 1;
}

LRESULT KeyboardDlg::OnSpeedChanged(const ControlNotify&)
{
    auto* slider = dynamic_cast<VREL::MSlider2*>(Control(ID_SPEED));
    return slider ? UpdateLightField(&LightData::speed, slider->GetProgress()) : 1;
}

LRESULT KeyboardDlg::OnDirectionChanged(const ControlNotify& n)
{
    const int direction = n.id == ID_DIRECTION_RIGHT || n.id == ID_DIRECTION_DOWN ? 1 : 0;
    return UpdateLightField(&LightData::direction, direction);
}

// ---- the worker's side: the live colours -------------------------------------------------

std::vector<KeyColorEntry> KeyboardDlg::GetLightingKeyColors()
{
    std::vector<KeyColorEntry> colours;
    if (auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE))) {
        for (const VREL::KEY_COLOR& key : picture->GetKeyColors())
            colours.push_back(KeyColorEntry{key.keyCode, static_cast<uint32_t>(key.color)});
    }
    return colours;
}

void KeyboardDlg::SetLightingKeyColors(const std::vector<KeyColorEntry>& colors)
{
    auto* picture = dynamic_cast<VREL::KeyboardCtrl*>(Control(ID_LIGHT_PICTURE));
    if (!picture)
        return;
    std::vector<VREL::KEY_COLOR> keys;
    keys.reserve(colors.size());
    for (const KeyColorEntry& entry : colors)
        keys.push_back(VREL::KEY_COLOR{entry.keyCode, static_cast<COLORREF>(entry.color)});
    picture->SetKeyColors(keys);
}
