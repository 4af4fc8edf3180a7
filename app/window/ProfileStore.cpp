// Profiles between the profile file and the settings store.

#include <set>

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/window/ProfileFile.h"

namespace tarnwell {

ProfileFileData CollectProfile(ConfigDB& store, int profile, const CString& name)
{
    ProfileFileData data;
    data.name = name;

    StoreRows<MacroData> macros;
    store.GetMacroList(macros.Out());
    for (const MacroData* macro : macros.Rows()) {
        MacroImportData item;
        item.macro = *macro;
        StoreRows<MacroRecordData> records;
        store.GetMacroRecords(macro->macro_id, records.Out());
        for (const MacroRecordData* record : records.Rows())
            item.records.push_back(*record);
        data.macros.push_back(item);
    }

    StoreRows<KeyMacroData> keys;
    store.GetProfileKeyMacros(profile, keys.Out());
    for (const KeyMacroData* key : keys.Rows())
        data.keys.push_back(*key);

    StoreRows<LightData> lights;
    store.GetLightList(profile, lights.Out());
    for (const LightData* light : lights.Rows())
        data.lights.push_back(*light);

    StoreRows<UserLightRgbData> colours;
    store.GetProfileUserLightRgbs(profile, colours.Out());
    for (const UserLightRgbData* colour : colours.Rows())
        data.keyColours.push_back(*colour);
    return data;
}

int CreateSeededProfile(ConfigDB& store, const CString& name, const std::vector<PictureKey>& keys, bool makeActive)
{
    NewProfileRows rows;
    rows.name = name;
    rows.makeActive = makeActive;
    rows.keys = SeedKeyRows(0, keys);
    rows.lights = DefaultLightRows();
    return store.CreateProfile(rows);
}

ProfileFileError ImportProfileFile(ConfigDB& store, const wchar_t* path, const std::vector<PictureKey>& keys,
                                   int& newId)
{
    ProfileFileData file;
    const ProfileFileError error = ReadProfileFile(path, file);
    if (error != ProfileFileError::None)
        return error;
    std::set<int> layoutKeys;
    for (const PictureKey& key : keys)
        layoutKeys.insert(key.code);
    const int id = store.CreateProfile(MergeProfileFile(file, SeedKeyRows(0, keys), layoutKeys));
    if (id <= 0)
        return ProfileFileError::StoreFailed;
    newId = id;
    return ProfileFileError::None;
}

} // namespace tarnwell
