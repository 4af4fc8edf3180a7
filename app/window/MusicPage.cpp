// Music lighting: the visualizer's settings and the frames sent to the keyboard.

#include "app/window/KeyboardDlg.h"

#include "app/store/ConfigDB.h"
#include "ui/framework/MControl.h"
#include "ui/controls/Slider.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/lists/ComboBox.h"

namespace {

constexpr UINT ID_FOREGROUND_LIST = 170;
constexpr UINT ID_SENSITIVITY_SLIDER = 172;
constexpr UINT ID_BACKGROUND_LIST = 174;
constexpr UINT ID_BACKGROUND_BRIGHTNESS_SLIDER = 176;

// The render thread looks at its active flag at least this often while it
// draws; a setting is written only once it has let go of the last one.
constexpr DWORD RENDER_PAUSE_MS = 150;
constexpr int GAIN_PER_SENSITIVITY = 10;
constexpr int RESET_SENSITIVITY = 60;
constexpr int RESET_BACKGROUND_BRIGHTNESS = 100;

} // namespace

void KeyboardDlg::SetVisualizerParameter(std::atomic<int>& parameter, int value)
{
    m_visualizer.active = 0;
    Sleep(RENDER_PAUSE_MS);
    parameter = value;
    m_visualizer.active = 1;
}

LRESULT KeyboardDlg::OnMusicSetting(const ControlNotify& n)
{
    int value = 0;
    if (n.id == ID_FOREGROUND_LIST || n.id == ID_BACKGROUND_LIST) {
        auto* list = dynamic_cast<VREL::MComboBoxBase*>(Control(n.id));
        if (list == nullptr)
            return 0;
        value = static_cast<int>(list->GetCurData());
    } else {
        auto* slider = dynamic_cast<VREL::MSliderBase*>(Control(n.id));
        if (slider == nullptr)
            return 0;
        value = slider->GetProgress();
    }

    MusicLayerData row;
    const bool stored = GetConfigDB().GetMusicLayer(m_profileId, row);
    switch (n.id) {
    case ID_FOREGROUND_LIST:
        SetVisualizerParameter(m_visualizer.foregroundEffect, value);
        row.foremode = value;
        break;
    case ID_SENSITIVITY_SLIDER:
        SetVisualizerParameter(m_visualizer.gain, value * GAIN_PER_SENSITIVITY);
        row.fore_amplitude = value;
        break;
    case ID_BACKGROUND_LIST:
        SetVisualizerParameter(m_visualizer.backgroundEffect, value);
        row.backmode = value;
        break;
    case ID_BACKGROUND_BRIGHTNESS_SLIDER:
        SetVisualizerParameter(m_visualizer.backgroundBrightness, value);
        row.backb_right = value;
        break;
    default:
        return 0;
    }
    // A profile without its music row keeps none: nothing is written.
    if (stored)
        GetConfigDB().UpdateMusicLayer(m_profileId, row);
    return 1;
}

void KeyboardDlg::ResetMusicPage(int profile)
{
    auto* foreground = dynamic_cast<VREL::MComboBoxBase*>(Control(ID_FOREGROUND_LIST));
    auto* background = dynamic_cast<VREL::MComboBoxBase*>(Control(ID_BACKGROUND_LIST));
    auto* sensitivity = dynamic_cast<VREL::MSliderBase*>(Control(ID_SENSITIVITY_SLIDER));
    auto* brightness = dynamic_cast<VREL::MSliderBase*>(Control(ID_BACKGROUND_BRIGHTNESS_SLIDER));
    if (foreground != nullptr)
        foreground->SetCurSel(0);
    if (background != nullptr)
        background->SetCurSel(0);
    if (sensitivity != nullptr)
        sensitivity->SetProgress(RESET_SENSITIVITY);
    if (brightness != nullptr)
        brightness->SetProgress(RESET_BACKGROUND_BRIGHTNESS);

    m_visualizer.active = 0;
    Sleep(RENDER_PAUSE_MS);

    MusicLayerData row;
    if (!GetConfigDB().GetMusicLayer(profile, row))
        return;
    if (foreground != nullptr)
        foreground->SelectData(row.foremode);
    if (background != nullptr)
        background->SelectData(row.backmode);
    if (sensitivity != nullptr)
        sensitivity->SetProgress(row.fore_amplitude);
    if (brightness != nullptr)
        brightness->SetProgress(row.backb_right);
    m_visualizer.endpointIndex = 0;
    m_visualizer.StartCapture();
    m_visualizer.foregroundEffect = row.foremode;
    m_visualizer.gain = row.fore_amplitude * GAIN_PER_SENSITIVITY;
    m_visualizer.backgroundEffect = row.backmode;
    m_visualizer.backgroundBrightness = row.backb_right;
    // The active flag stays clear: the lighting page sets it from the mode.
}

void KeyboardDlg::BuildMusicGrid() { m_musicGrid.Build(); }

void KeyboardDlg::SendMusicFrame()
{
    if (m_musicGrid.IsEmpty())
        return;
    std::vector<KeyColorEntry> colours;
    m_musicGrid.Sample(m_visualizer.FrontImage(), colours);
    // Paints the lighting picture's keys (one repaint), then the picture's
    // colours go to the keyboard as one live frame.
    SetLightingKeyColors(colours);
    m_link->WriteLiveColors();
}
