#pragma once

#include <cstdint>
#include <map>
#include <vector>

// One key of the lighting page's keyboard picture, copied out of the picture.
struct KeyColorEntry {
    int keyCode = 0;
    uint32_t color = 0;  // COLORREF, 0x00BBGGRR; 0 is dark
};

// What the device-link commands read from (and write back to) the main
// dialog. KeyboardDlg implements it; tests give a plain fake. Every call comes
// from the worker thread.
class DeviceLinkHost {
public:
    virtual ~DeviceLinkHost() = default;

    // Id of the active profile.
    virtual int GetCurrentProfileId() = 0;

    // Mode of the active light row, or LIGHT_MODE_OFF while the profile's
    // lighting is switched off.
    virtual int GetCurrentLightMode() = 0;
    virtual void SetCurrentLightMode(int mode) = 0;

    // config_func of the current mode's light row.
    virtual int GetLightFlagWord() = 0;

    // Key code -> key position, from the key_index of every key in the layout file.
    virtual const std::map<int, int>& GetLayoutKeyMap() = 0;

    // 1 while "enable_light" of the current profile is "1".
    virtual int GetLightEnabled() = 0;

    // 1 when the layout has per-key RGB lighting, 0 for a one-colour keyboard.
    virtual int GetPerKeyRgb() = 0;

    // The lighting picture's keys as (key code, colour) pairs in the order the
    // keys were added, copied under the picture's key-list lock: the UI thread
    // may free the key records while the worker streams their colours.
    virtual std::vector<KeyColorEntry> GetLightingKeyColors() = 0;

    // Paints colours on the lighting picture: for each entry, the first key
    // with that code takes the colour. Applied under the key-list lock, then
    // one repaint is requested.
    virtual void SetLightingKeyColors(const std::vector<KeyColorEntry>& colors) = 0;
};

constexpr int LIGHT_MODE_OFF = 255;
// The mode the settings block carries while lighting is off.
constexpr int LIGHT_MODE_WHEN_OFF = 6;
