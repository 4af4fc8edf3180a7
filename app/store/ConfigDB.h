#pragma once

// The settings store of the selected keyboard model: one SQLite file per
// model, one process-wide object (GetConfigDB), used from the UI thread and
// the worker thread. Every operation holds the store's lock for its whole run,
// so operations from the two threads never interleave. Failures show only in
// results: false, 0, or an empty list.
//
// Batch writers (the ones taking a vector, and InsertDefaultConfig) run their
// rows in one transaction and write all of them or none: true (or the number
// of rows) only when the rows are committed. A file locked by another program
// delays a statement for up to SQLiteDB::kBusyTimeoutMs before it fails; the
// store tries again every millisecond meanwhile, so a program that only holds
// the file in bursts with short pauses between them does not fail a save.

#include <string>
#include <vector>

#include "app/store/ConfigRows.h"
#include "app/store/CritSec.h"
#include "app/store/SQLiteDB.h"
#include "ui/framework/CString.h"

// Why the store cannot keep the selected keyboard's settings, as the last
// OpenDB, CreateDB or RecreateDB found it.
enum class StoreFault {
    None,
    NoFileName,  // the keyboard's name makes no file name
    CannotOpen,  // the file cannot be opened or created (no folder, no access)
    Damaged,     // the file is not a settings database: damaged, foreign or empty
    ReadOnly,    // the file is write-protected
};

// A name that can stand as one file name inside its folder: not empty, not
// "." or "..", no separators, no characters that files cannot carry.
bool IsUsableFileName(const wchar_t* name);

class ConfigDB {
public:
    ConfigDB();
    ~ConfigDB();
    ConfigDB(const ConfigDB&) = delete;
    ConfigDB& operator=(const ConfigDB&) = delete;

    // ---- the database file ----------------------------------------------------
    // The file is `folder` + "db\<keyboard>_data.db"; `folder` ends with a
    // backslash. A missing file is created with the schema and the default
    // rows of profile 0. A connection already held on the same file is kept;
    // one held on another file is closed first. The result is also kept as the
    // open flag.
    //
    // A file the store cannot write to (damaged, foreign, empty or
    // write-protected) is left untouched: no connection is kept on it, the
    // result is false and GetFault says why. So is a keyboard name that makes
    // no file name; an empty name opens nothing and is no fault.
    bool OpenDB(const CString& folder, const CString& keyboard);
    // Creates (or opens) the file named by the last OpenDB and runs the schema;
    // true when every schema statement succeeded.
    bool CreateDB();
    // Closes the connection and clears the open flag; false when SQLite
    // refused to close (the handle is then kept).
    bool CloseDB();
    // Deletes the keyboard's database file, closing the store's connection
    // first when it is on that file. True when the file is gone afterwards.
    bool DeleteDBFile(const CString& folder, const CString& keyboard);
    // Replaces the database file of the last OpenDB with a fresh one (schema
    // and default rows) in one locked step, so no other thread's operation can
    // run between the delete and the reopen. False when no file was opened or
    // the old file could not be removed (it is then left as it was), and when
    // the last open found a fault: that file is kept as it is.
    bool RecreateDB();
    // The 44 default configuration rows of `profile`, in one transaction.
    bool InsertDefaultConfig(int profile);

    bool IsDBOpen() const { return m_bOpen; }
    StoreFault GetFault() const { return m_fault; }
    SQLiteDB& GetDB() { return m_db; }
    // Written by the keyboard selection; nothing in the store reads it.
    void SetDeviceType(int type) { m_deviceType = type; }
    int GetDeviceType() const { return m_deviceType; }

    // ---- configuration (t_config_data) -------------------------------------------
    // Stores the value, adding the row when the profile lacks the key.
    bool SetConfigValue(int profile, const CString& key, const CString& value);
    bool GetConfigValue(int profile, const CString& key, CString& value);

    // ---- profiles (t_profile_data) -------------------------------------------------
    // Only the record's name is used; the new profile has type 1 and status 0.
    // Returns the new profile id, 0 on failure.
    int InsertProfile(const ProfileData& profile);
    // Removes the profile with every row of it in every table, in one
    // transaction. When it was the active one, the first remaining profile
    // becomes active, so the store never points at a profile that is gone.
    // False (and nothing removed) for an unknown profile or a failed statement.
    bool DeleteProfile(int profile);
    // Writes a new profile (type 1) with its key, light, music, configuration
    // and key colour rows and the macros it carries, in one transaction:
    // either everything is stored or nothing is. The new id, 0 on failure.
    int CreateProfile(const NewProfileRows& rows);
    bool RenameProfile(int profile, const CString& name);
    bool GetProfileName(int profile, CString& name);
    int GetProfileList(std::vector<ProfileData*>& list);
    bool SetActiveProfile(int profile);
    int GetActiveProfile();

    // ---- key assignments (t_key_macro_data) ------------------------------------------
    int CountKeyMacros(int profile);
    bool InsertKeyMacros(std::vector<KeyMacroData> rows);
    void UpdateKeyMacro(const KeyMacroData& row);
    bool UpdateKeyMacros(std::vector<KeyMacroData> rows);
    bool UpdateKeyMacroDesc(int profile, int fnLayer, int keyCode, const CString& desc);
    bool GetKeyMacro(int profile, int fnLayer, int keyCode, KeyMacroData& row);
    int GetLayerKeyMacros(int profile, int fnLayer, std::vector<KeyMacroData*>& list);
    int GetProfileKeyMacros(int profile, std::vector<KeyMacroData*>& list);

    // ---- light modes (t_light_data) -----------------------------------------------------
    int CountLights(int profile);
    int InsertLight(const LightData& row);
    // The row is chosen by the record's own profile and `mode`; `profile` is
    // not used. Name, mode and status are not written.
    bool UpdateLight(int profile, int mode, const LightData& row);
    bool SetActiveLight(int profile, int mode);
    int GetActiveLightMode(int profile);
    bool GetLight(int profile, int mode, LightData& row);
    int GetLightList(int profile, std::vector<LightData*>& list);

    // ---- per-key user colours (t_userlightrgb_data) ----------------------------------------
    // Returns the number of rows written: all of them, or 0.
    int InsertUserLightRgbs(std::vector<UserLightRgbData> rows);
    // Deletes every row of user light 1, whatever the argument.
    bool DeleteUserLightRgbs(int unused);
    int GetUserLightRgbs(int userlightId, std::vector<UserLightRgbData*>& list);
    // The key colours of one profile, whatever user light they were written
    // under; the lighting page, the device link and the profile files all
    // take the colours of the current profile from here.
    int GetProfileUserLightRgbs(int profile, std::vector<UserLightRgbData*>& list);
    // Replaces the key colours of one profile (stored under user light 1) in
    // one transaction; false and the old colours kept when a row fails.
    bool SetProfileUserLightRgbs(int profile, std::vector<UserLightRgbData> rows);

    // ---- macros (t_macro_data, t_macrorecord) ------------------------------------------------
    // The inserts return the new id, 0 on failure.
    int AddMacro(const CString& name);
    int InsertMacro(MacroData row);
    bool RenameMacro(int macroId, const CString& name);
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroData& row);
    bool UpdateMacro(int macroId, MacroData row);
    // In ascending macro_id order: a macro's index here is its device slot.
    int GetMacroList(std::vector<MacroData*>& list);
    int InsertMacroRecord(MacroRecordData row);
    bool InsertMacroRecords(std::vector<MacroRecordData> rows);
    int GetMacroRecords(int macroId, std::vector<MacroRecordData*>& list);
    bool DeleteMacroRecords(int macroId);

    // ---- music layer (t_musiclayer_data) ---------------------------------------------------------
    int CountMusicLayers(int profile);
    int InsertMusicLayer(int profile, const CString& name, int foremode);
    bool GetMusicLayer(int profile, MusicLayerData& row);
    bool UpdateMusicLayer(int profile, const MusicLayerData& row);

private:
    // Closes a held connection unless it is on `path`; false when it would not close.
    bool ReleaseConnectionUnlessOn(const std::string& path);
    // Opens the existing file at m_dbPath when the store can write to it;
    // otherwise sets the fault and holds no connection.
    bool OpenExisting(const CString& path);

    SQLiteDB m_db;
    CritSec m_lock;
    std::string m_dbPath;  // UTF-8, as SQLite takes it
    // The files are plain SQLite databases: the key given to every open is empty.
    std::string m_key;
    bool m_bOpen = false;
    StoreFault m_fault = StoreFault::None;
    int m_deviceType = 0;
};

// The process-wide store, constructed on first use and destroyed at exit.
ConfigDB& GetConfigDB();
