#include "app/window/MacroXml.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "app/device/StoreRows.h"
#include "app/store/ConfigDB.h"
#include "app/store/XmlDoc.h"
#include "app/window/MacroEditing.h"
#include "app/window/ProfileFile.h"

namespace tarnwell {

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Numbers as the files have always been read: anything that is not a
// number reads as 0.
int ReadNumber(const XmlDoc& doc, const wchar_t* name)
{
    const CString text = doc.GetAttribute(name);
    const long long value = std::wcstoll(text.GetString(), nullptr, 10);
    return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

int InRange(int value, int minimum, int maximum, int otherwise)
{
    return value >= minimum && value <= maximum ? value : otherwise;
}

void ReadMacroAttributes(const XmlDoc& doc, MacroData& macro)
{
    macro.name = CutFileText(doc.GetAttribute(L"macro_name"));
    // Settings the page could never have stored are read as its defaults, so
    // that the radios and the player always meet a mode they know.
    macro.play_type = InRange(ReadNumber(doc, L"macro_type"), 0, 2, 0);
    macro.play_times = InRange(ReadNumber(doc, L"play_times"), 0, kMaxPlayCount, 1);
    macro.delay_type = InRange(ReadNumber(doc, L"delay_type"), DELAY_NONE, DELAY_FIXED, DELAY_RECORDED);
    macro.delay_time = InRange(ReadNumber(doc, L"delay_time"), 0, kMaxDelayMs, kDefaultFixedDelayMs);
}

// The items of the current element's level, from its first child.
void ReadItems(XmlDoc& doc, std::vector<MacroFileEvent>& events)
{
    while (doc.FindElement(L"item")) {
        MacroFileEvent event;
        event.desc = CutFileText(doc.GetAttribute(L"desc"));
        event.index = ReadNumber(doc, L"index");
        event.type = ReadNumber(doc, L"type");
        event.value = ReadNumber(doc, L"value");
        event.timestamp = ReadNumber(doc, L"timestamp");
        if (IsKnownRowType(event.type))
            events.push_back(event);
    }
}

// Index order, at most the rows one list holds, numbered from 0.
void SettleEvents(MacroFileEntry& entry)
{
    std::vector<MacroFileEvent>& events = entry.events;
    std::stable_sort(events.begin(), events.end(),
                     [](const MacroFileEvent& a, const MacroFileEvent& b) { return a.index < b.index; });
    if (events.size() > static_cast<size_t>(kMaxEventRows)) {
        events.resize(static_cast<size_t>(kMaxEventRows));
        entry.eventsCut = true;
    }
    for (size_t i = 0; i < events.size(); ++i)
        events[i].index = static_cast<int>(i);
}

// Language texts of the macro import's messages.
constexpr int kUnreadableText = 1100;
constexpr int kNotXmlText = 1101;
constexpr int kNotAMacroFileText = 1102;
constexpr int kNotStoredText = 1103;
constexpr int kEventsCutText = 1104;
constexpr int kMacrosFullText = 421;  // the macro page's own "at most 32 macros"

void WriteMacroAttributes(XmlDoc& doc, const MacroData& macro)
{
    doc.SetAttribute(L"macro_name", macro.name.GetString());
    doc.SetAttribute(L"macro_type", macro.play_type);
    doc.SetAttribute(L"play_times", macro.play_times);
    doc.SetAttribute(L"delay_type", macro.delay_type);
    doc.SetAttribute(L"delay_time", macro.delay_time);
}

void WriteItems(XmlDoc& doc, const std::vector<MacroFileEvent>& events)
{
    for (const MacroFileEvent& event : events) {
        doc.AddElement(L"item");
        doc.SetAttribute(L"desc", event.desc.GetString());
        doc.SetAttribute(L"index", event.index);
        doc.SetAttribute(L"type", event.type);
        doc.SetAttribute(L"value", event.value);
        doc.SetAttribute(L"timestamp", event.timestamp);
    }
}

} // namespace

CString WriteMacroXml(MacroFileFormat format, const std::vector<MacroFileEntry>& entries)
{
    XmlDoc doc;
    doc.SetText(kDeclaration);
    doc.AddElement(L"macro");
    doc.Descend();
    if (format == MacroFileFormat::Single) {
        if (!entries.empty()) {
            doc.AddElement(L"macroinfo");
            WriteMacroAttributes(doc, entries.front().macro);
            doc.AddElement(L"macroitems");
            doc.Descend();
            WriteItems(doc, entries.front().events);
            doc.Ascend();
        }
        return doc.GetText();
    }
    for (const MacroFileEntry& entry : entries) {
        doc.AddElement(L"macro_item");
        WriteMacroAttributes(doc, entry.macro);
        if (!entry.events.empty()) {
            doc.Descend();
            doc.AddElement(L"record_item");
            doc.Descend();
            WriteItems(doc, entry.events);
            doc.Ascend();
            doc.Ascend();
        }
    }
    return doc.GetText();
}

MacroFileStatus ReadMacroXml(MacroFileFormat format, const CString& text, std::vector<MacroFileEntry>& entries)
{
    entries.clear();
    XmlDoc doc;
    // A file cut short or otherwise broken imports nothing rather than the
    // part that happens to stand before the fault.
    if (!doc.SetText(text.GetString()))
        return MacroFileStatus::NotXml;
    if (!doc.FindElement(L"macro") || !doc.Descend())
        return MacroFileStatus::NotAMacroFile;

    std::vector<MacroFileEntry> read;
    if (format == MacroFileFormat::Single) {
        if (!doc.FindElement(L"macroinfo"))
            return MacroFileStatus::NotAMacroFile;
        MacroFileEntry entry;
        ReadMacroAttributes(doc, entry.macro);
        if (doc.FindElement(L"macroitems") && doc.Descend())
            ReadItems(doc, entry.events);
        read.push_back(std::move(entry));
    } else {
        while (doc.FindElement(L"macro_item")) {
            if (read.size() >= static_cast<size_t>(kMaxMacros))
                return MacroFileStatus::TooMany;
            MacroFileEntry entry;
            ReadMacroAttributes(doc, entry.macro);
            if (doc.Descend()) {
                if (doc.FindElement(L"record_item") && doc.Descend()) {
                    ReadItems(doc, entry.events);
                    doc.Ascend();
                }
                doc.Ascend();
            }
            read.push_back(std::move(entry));
        }
    }
    for (MacroFileEntry& entry : read)
        SettleEvents(entry);
    entries = std::move(read);
    return MacroFileStatus::Read;
}

bool ReadStoredMacro(ConfigDB& store, int macroId, MacroFileEntry& entry)
{
    entry = MacroFileEntry();
    if (!store.GetMacro(macroId, entry.macro))
        return false;
    StoreRows<MacroRecordData> records;
    store.GetMacroRecords(macroId, records.Out());
    for (const MacroRecordData* record : records.Rows())
        entry.events.push_back({record->desc, record->record_index, record->type, record->value, record->delay_time});
    return true;
}

std::vector<MacroFileEntry> ReadStoredMacros(ConfigDB& store)
{
    std::vector<MacroFileEntry> entries;
    StoreRows<MacroData> macros;
    store.GetMacroList(macros.Out());
    for (const MacroData* macro : macros.Rows()) {
        MacroFileEntry entry;
        if (ReadStoredMacro(store, macro->macro_id, entry))
            entries.push_back(std::move(entry));
    }
    return entries;
}

MacroImportResult ImportMacros(ConfigDB& store, const std::vector<MacroFileEntry>& entries, int existingCount,
                               std::vector<ImportedMacro>& imported)
{
    imported.clear();
    if (existingCount < 0 || static_cast<size_t>(existingCount) + entries.size() > static_cast<size_t>(kMaxMacros))
        return MacroImportResult::TooMany;

    bool failed = false;
    for (const MacroFileEntry& entry : entries) {
        const int id = store.InsertMacro(entry.macro);
        if (id <= 0) {
            failed = true;
            break;
        }
        imported.push_back({id, entry.macro.name});
        for (const MacroFileEvent& event : entry.events) {
            MacroRecordData record;
            record.macro_id = id;
            record.type = event.type;
            record.record_index = event.index;
            record.value = event.value;
            record.delay_time = event.timestamp;
            record.desc = event.desc;
            if (store.InsertMacroRecord(record) <= 0) {
                failed = true;
                break;
            }
        }
        if (failed)
            break;
    }
    if (!failed)
        return MacroImportResult::Imported;
    for (const ImportedMacro& macro : imported)
        store.DeleteMacro(macro.id);
    imported.clear();
    return MacroImportResult::StoreFailed;
}

MacroFileImport ImportMacroFile(ConfigDB& store, MacroFileFormat format, const wchar_t* path)
{
    MacroFileImport result;
    CString text;
    if (path == nullptr || !XmlDoc::ReadTextFile(text, nullptr, path, nullptr)) {
        result.read = MacroFileStatus::Unreadable;
        return result;
    }
    std::vector<MacroFileEntry> entries;
    result.read = ReadMacroXml(format, text, entries);
    if (result.read != MacroFileStatus::Read)
        return result;
    for (const MacroFileEntry& entry : entries)
        result.eventsCut = result.eventsCut || entry.eventsCut;
    StoreRows<MacroData> existing;
    const int count = store.GetMacroList(existing.Out());
    result.stored = ImportMacros(store, entries, count, result.imported);
    return result;
}

int MacroFileImportText(const MacroFileImport& result)
{
    switch (result.read) {
    case MacroFileStatus::Unreadable:
        return kUnreadableText;
    case MacroFileStatus::NotXml:
        return kNotXmlText;
    case MacroFileStatus::NotAMacroFile:
        return kNotAMacroFileText;
    case MacroFileStatus::TooMany:
        return kMacrosFullText;
    case MacroFileStatus::Read:
        break;
    }
    switch (result.stored) {
    case MacroImportResult::TooMany:
        return kMacrosFullText;
    case MacroImportResult::StoreFailed:
        return kNotStoredText;
    case MacroImportResult::Imported:
        break;
    }
    return result.eventsCut ? kEventsCutText : 0;
}

} // namespace tarnwell
