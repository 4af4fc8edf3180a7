#include "app/store/ConfigSchema.h"

// The files carry no schema version: every statement is "IF NOT EXISTS" and
// existing files are never migrated.
const char* const kSchemaStatements[] = {
    "CREATE TABLE IF NOT EXISTS t_config_data(config_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, key TEXT, value TEXT);",

    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, "
    "type INTEGER, name TEXT, status INTEGER);",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",

    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, fn_layer INTEGER, key_code INTEGER, macro_type INTEGER, macro_value INTEGER, "
    "macro_value2 INTEGER, macro_value3 INTEGER, macro_desc TEXT);",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",

    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_desc TEXT, param TEXT, type INTEGER);",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",

    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "name TEXT, play_type INTEGER, play_times INTEGER, delay_type INTEGER, delay_time INTEGER);",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",

    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER);",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",

    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, "
    "colorful INTEGER, colorindex INTEGER, color_value1 INTEGER, color_value2 INTEGER, "
    "color_value3 INTEGER, color_value4 INTEGER, color_value5 INTEGER, color_value6 INTEGER, "
    "color_value7 INTEGER, color_value8 INTEGER, config_func INTEGER, reserved INTEGER, status INTEGER);",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",

    "CREATE TABLE IF NOT EXISTS t_userlight_data(userlight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, speed INTEGER, brightness INTEGER, status INTEGER);",
    "CREATE INDEX IF NOT EXISTS userlightindex ON t_userlight_data(userlight_id)",

    "CREATE TABLE IF NOT EXISTS t_userlightrgb_data(userlightrgb_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, userlight_id INTEGER, key_code INTEGER, key_rgb INTEGER);",
    "CREATE INDEX IF NOT EXISTS userlightrgbindex ON t_userlightrgb_data(userlightrgb_id)",

    "CREATE TABLE IF NOT EXISTS t_customlight_data(customlight_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, speed INTEGER, brightness INTEGER, status INTEGER);",
    "CREATE INDEX IF NOT EXISTS customlightindex ON t_customlight_data(customlight_id)",

    "CREATE TABLE IF NOT EXISTS t_customrgb_data(customrgb_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "customlight_id INTEGER, keycode INTEGER, rgbvalue INTEGER, light_mode INTEGER, colortype INTEGER, "
    "light_type INTEGER);",
    "CREATE INDEX IF NOT EXISTS customrgbindex ON t_customrgb_data(customrgb_id)",

    "CREATE TABLE IF NOT EXISTS t_musiclayer_data(layer_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, name TEXT, deviceindex INTEGER, foremode INTEGER, fore_amplitude INTEGER, "
    "backmode INTEGER, backb_right INTEGER, sel INTEGER);",
    "CREATE INDEX IF NOT EXISTS musiclayerindex ON t_musiclayer_data(layer_id)",

    "CREATE TABLE IF NOT EXISTS t_ledlayer_data(led_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "profile INTEGER, type INTEGER, name TEXT, frame_size INTEGER, file_dir TEXT, first_file TEXT);",

    "CREATE TABLE IF NOT EXISTS t_ledframe_data(frame_id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "led_id INTEGER, name TEXT, delay_time INTEGER, frame_index INTEGER, file_name TEXT);",
};
const size_t kSchemaStatementCount = sizeof(kSchemaStatements) / sizeof(kSchemaStatements[0]);

const DefaultConfigRow kDefaultConfigRows[] = {
    {"version", "1.0.1"},
    {"keyboard_layout", "1"},
    {"fn_layer", "0"},
    {"fn_switch", "0"},
    {"lightmode", "1"},
    {"sleep_time", "2"},
    {"key_respondtime", "2"},
    {"sleep_light", "0"},
    {"userlight", "2"},
    {"customlight", "0"},
    {"customlight_run", "0"},
    {"enable_light", "1"},
    {"enable_music", "0"},
    {"gamemode", "0"},
    {"disable_alttab", "0"},
    {"disable_altf4", "0"},
    {"disable_win", "0"},
    {"default_color1", "8331093"},
    {"default_color2", "4114939"},
    {"default_color3", "65280"},
    {"default_color4", "16776960"},
    {"default_color5", "255"},
    {"default_color6", "14237951"},
    {"default_color7", "14237951"},
    {"default_color8", "16777215"},
    {"perf_rapidtrigger_mode", "0"},
    {"perf_sensitivity_mode", "1"},
    {"perf_continuerapidtrigger_mode", "0"},
    {"global_key_actuation", "100"},
    {"global_sensitivity_pos", "10"},
    {"global_rt1_pos", "10"},
    {"global_rt2_pos", "10"},
    {"tick_rate", "0"},
    {"debounce_level", "0"},
    {"reporte_rate", "4"},
    {"perf_tachyon_mode", "0"},
    {"perf_bottomrapidtrigger_mode", "1"},
    {"perf_trigger_mode", "0"},
    {"dead_zone", "0"},
    {"dead_zone_topvalue", "12"},
    {"dead_zone_bottomvalue", "12"},
    {"actuation_check", "0"},
    {"debug_mode", "0"},
    {"switch_type", "0"},
};
const size_t kDefaultConfigRowCount = sizeof(kDefaultConfigRows) / sizeof(kDefaultConfigRows[0]);
