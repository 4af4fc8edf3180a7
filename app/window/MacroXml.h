#pragma once

// The two macro file formats: A holds one macro (<macro><macroinfo/>
// <macroitems><item/>...</macroitems></macro>), B every macro
// (<macro><macro_item><record_item><item/>...</record_item></macro_item>...
// </macro>). Reading checks what a file may bring into the store; importing
// is all or nothing.

#include <vector>

#include "app/store/ConfigRows.h"
#include "ui/framework/CString.h"

class ConfigDB;

namespace tarnwell {

enum class MacroFileFormat
{
    Single,  // A
    All,     // B
};

struct MacroFileEvent
{
    CString desc;
    int index = 0;
    int type = 0;
    int value = 0;
    int timestamp = 0;
};

// One macro of a file; macro.macro_id is not part of the file.
struct MacroFileEntry
{
    MacroData macro;
    std::vector<MacroFileEvent> events;
    // The file held more events than one macro keeps: the rest were left out.
    bool eventsCut = false;
};

// The document text of the entries (format A writes the first entry only).
CString WriteMacroXml(MacroFileFormat format, const std::vector<MacroFileEntry>& entries);

enum class MacroFileStatus
{
    Read,
    Unreadable,     // the file cannot be read
    NotXml,         // not a well-formed XML document
    NotAMacroFile,  // without the macro root, or (format A) without its macroinfo
    TooMany,        // more macros than the keyboard holds
};

// Reads a document text. Events of types the keyboard does not know are
// skipped; each macro keeps at most its first kMaxEventRows events in index
// order, renumbered from 0. Names and event texts are cut as the profile
// file's are. Nothing is returned unless the result is Read.
MacroFileStatus ReadMacroXml(MacroFileFormat format, const CString& text, std::vector<MacroFileEntry>& entries);

// The store's macro with its events; false when there is no such macro.
bool ReadStoredMacro(ConfigDB& store, int macroId, MacroFileEntry& entry);
// Every stored macro, in the store's order.
std::vector<MacroFileEntry> ReadStoredMacros(ConfigDB& store);

enum class MacroImportResult
{
    Imported,
    TooMany,      // the store would hold more than kMaxMacros: nothing imported
    StoreFailed,  // an insert failed: what was inserted is removed again
};

struct ImportedMacro
{
    int id;
    CString name;
};

// Inserts every entry with its events, or none. existingCount: the macros
// the store holds now.
MacroImportResult ImportMacros(ConfigDB& store, const std::vector<MacroFileEntry>& entries, int existingCount,
                               std::vector<ImportedMacro>& imported);

// What importing a macro file came to.
struct MacroFileImport
{
    MacroFileStatus read = MacroFileStatus::Read;
    MacroImportResult stored = MacroImportResult::Imported;
    // Some macro of the file lost the events past kMaxEventRows.
    bool eventsCut = false;
    std::vector<ImportedMacro> imported;
};

// Reads the file at path and imports all of it into the store, or nothing.
MacroFileImport ImportMacroFile(ConfigDB& store, MacroFileFormat format, const wchar_t* path);

// The language text that tells the user what an import came to (the macro
// limit's own text for too many macros); 0 when it went as asked.
int MacroFileImportText(const MacroFileImport& result);
// The title of that message.
constexpr int kImportMacrosTitleText = 1105;
// The event limit in the text about cut events stands where this mark is.
constexpr wchar_t kEventLimitMark[] = L"%d";

} // namespace tarnwell
