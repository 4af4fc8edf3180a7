#pragma once

// Profiles without a window: the profile file (UTF-8 XML, CRLF lines, every
// value an attribute), its reading with every value checked, the rows of a
// new profile, and the names the profile list shows.

#include <set>
#include <vector>

#include "app/store/ConfigRows.h"
#include "app/window/KeyAssign.h"
#include "ui/framework/CString.h"

class ConfigDB;

namespace tarnwell {

// What a profile file carries. Key rows, light rows and key colours belong
// to no profile until they are merged into a new one.
struct ProfileFileData {
    CString name;
    std::vector<MacroImportData> macros;
    std::vector<KeyMacroData> keys;
    std::vector<LightData> lights;
    std::vector<UserLightRgbData> keyColours;
};

// Why a file was not read. Each has its own message text.
enum class ProfileFileError {
    None = 0,
    Unreadable,     // missing, unreadable or larger than a profile can be
    NotUtf8,        // bytes that are not UTF-8
    NotXml,         // not well-formed, or not one root element
    NotAProfile,    // a root other than "profile"
    TooManyItems,   // more keys, lights, colours, macros or events than a profile can hold
    StoreFailed,    // the store refused the new profile; nothing of it was kept
};

// Limits of what a profile file may hold; a file over any of them is
// refused whole.
constexpr long long kMaxProfileFileBytes = 8LL * 1024 * 1024;
constexpr size_t kMaxKeyItems = 2048;
constexpr size_t kMaxLightItems = 256;
constexpr size_t kMaxKeyColourItems = 1024;
constexpr size_t kMaxMacroItems = 1024;
constexpr size_t kMaxMacroEvents = 4096;
// Longest name or key text kept; longer ones are cut.
constexpr int kMaxProfileText = 64;
// A name or text read from a file, cut to kMaxProfileText characters; the
// macro files' names and event texts are cut the same way.
CString CutFileText(CString text);

// The file's text: declaration, CRLF, one element per line.
CString BuildProfileXml(const ProfileFileData& data);
// Writes BuildProfileXml's text as UTF-8 without a byte-order mark.
bool WriteProfileFile(const wchar_t* path, const ProfileFileData& data);

// Reads the text of a profile file. Every number is clamped to its range;
// items with an unknown Fn layer, key code, key type, event type or colour
// text are dropped. `data` is filled only on success.
ProfileFileError ReadProfileXml(const CString& text, ProfileFileData& data);
// The same from a file: UTF-8 (with or without its mark) or UTF-16 with its mark.
ProfileFileError ReadProfileFile(const wchar_t* path, ProfileFileData& data);

// Language text number of the message shown for a refused file.
int ProfileFileErrorText(ProfileFileError error);

// "#RRGGBB" as a COLORREF; missing digits count as 0, a text of 1 or more
// than 6 digits after the mark gives 0.
int ParseColorValue(const CString& text);
// A COLORREF as "#RRGGBB".
CString FormatColorValue(int colorref);
// True for "#" followed by 2 to 6 hexadecimal digits.
bool IsColorText(const CString& text);

// The 16 light rows of a new profile, in their order; mode 0 is the active one.
std::vector<LightData> DefaultLightRows();

// The rows of a new profile made of a profile file: the seeded key rows and
// default light rows, with the file's values on the keys and modes the new
// profile has (others are dropped), and the file's colours of keys the
// layout has. `layoutKeys` lists the codes the layout knows.
NewProfileRows MergeProfileFile(const ProfileFileData& file, const std::vector<KeyMacroData>& seededKeys,
                                const std::set<int>& layoutKeys);

// The first "<base> NN" (NN from 01 to 1000) that no name of the list has;
// the one for 1000 when all are taken.
CString MakeProfileName(const CString& base, const std::vector<CString>& names);

// The name the list shows: a stored default name follows the current
// language's text. A default name is "Profile" or its Chinese counterpart
// followed by anything, or one of otherLanguageTexts (the profile text of the
// other languages the program offers, under which the name may have been
// made) alone or followed by a space and anything.
CString ProfileDisplayName(const CString& stored, const CString& languageText,
                           const std::vector<CString>& otherLanguageTexts = {});

// ---- with the settings store ------------------------------------------------------------

// What the file of a stored profile holds: `name`, every macro of the store
// with its events, and the profile's key rows, light rows and key colours.
ProfileFileData CollectProfile(ConfigDB& store, int profile, const CString& name);

// A new profile with seeded key rows (from the picture's keys), the default
// light rows and configuration; the new id, 0 when the store refused it.
int CreateSeededProfile(ConfigDB& store, const CString& name, const std::vector<PictureKey>& keys, bool makeActive);

// Reads a profile file and stores it as a new, active profile, all in one
// transaction. The keys of the picture seed the new profile; file entries
// for keys it lacks are dropped. `newId` is set on success only.
ProfileFileError ImportProfileFile(ConfigDB& store, const wchar_t* path, const std::vector<PictureKey>& keys,
                                   int& newId);

} // namespace tarnwell
