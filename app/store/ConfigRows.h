#pragma once

// One record per settings table. Integers and strings start at 0 and empty.
// Readers fill a record from a `SELECT *` row by column position; where a
// record's field order differs from its table's column order it says so.

#include <vector>

#include "ui/framework/CString.h"

// t_profile_data
struct ProfileData {
    int profile = 0;
    int type = 0;
    CString name;
    int status = 0;
};

// t_key_macro_data: one assigned key of one Fn layer of a profile.
struct KeyMacroData {
    int key_id = 0;
    int profile = 0;
    int fn_layer = 0;
    int key_code = 0;
    int macro_type = 0;
    int macro_value = 0;
    int macro_value2 = 0;
    int macro_value3 = 0;
    CString macro_desc;
};

// t_light_data: one light mode of a profile; colours are COLORREF values.
struct LightData {
    int light_id = 0;
    int profile = 0;
    CString name;
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorindex = 0;
    int color_value1 = 0;
    int color_value2 = 0;
    int color_value3 = 0;
    int color_value4 = 0;
    int color_value5 = 0;
    int color_value6 = 0;
    int color_value7 = 0;
    int color_value8 = 0;
    int config_func = 0;
    int reserved = 0;
    int status = 0;
};

// t_userlightrgb_data: the colour (COLORREF) of one key.
struct UserLightRgbData {
    int userlightrgb_id = 0;
    int profile = 0;
    int userlight_id = 0;
    int key_code = 0;
    int key_rgb = 0;
};

// t_macro_data: macros belong to no profile.
struct MacroData {
    int macro_id = 0;
    CString name;
    int play_type = 0;
    int play_times = 0;
    int delay_type = 0;
    int delay_time = 0;
};

// t_macrorecord: one event of a macro. The record keeps desc last, while the
// table's columns are record_id, macro_id, type, record_index, desc, value,
// delay_time.
struct MacroRecordData {
    int record_id = 0;
    int macro_id = 0;
    int type = 0;
    int record_index = 0;
    int value = 0;
    int delay_time = 0;
    CString desc;
};

// t_musiclayer_data; the table's last column, sel, is not held.
struct MusicLayerData {
    int layer_id = 0;
    int profile = 0;
    CString name;
    int deviceindex = 0;
    int foremode = 0;
    int fore_amplitude = 0;
    int backmode = 0;
    int backb_right = 0;
};

// A macro of a profile file with the events that replace its own.
struct MacroImportData {
    MacroData macro;
    std::vector<MacroRecordData> records;
};

// Everything a new profile is made of, written by ConfigDB::CreateProfile in
// one go. The rows' profile fields are replaced by the new id.
struct NewProfileRows {
    CString name;
    bool makeActive = false;
    std::vector<KeyMacroData> keys;
    std::vector<LightData> lights;
    int activeLightMode = 0;
    // The music layer row a profile's lighting starts with.
    CString musicLayerName = L"Music";
    int musicForeMode = 4;
    std::vector<UserLightRgbData> keyColours;
    // Macros are global: the ones the store holds are overwritten with their
    // events; ids the store lacks are skipped.
    std::vector<MacroImportData> macros;
};
