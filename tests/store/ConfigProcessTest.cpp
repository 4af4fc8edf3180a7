// Two programs on one settings file at once, as a second instance or a
// database browser would be: each runs rounds of a batch, a single write and
// reads. Afterwards the file holds every write reported saved, and no batch in
// part. The other program is this test program started again with
// kPartnerSwitch; it writes what it was told into a report file.

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "app/store/ConfigDB.h"
#include "app/store/Utf8Convert.h"
#include "StoreTestSupport.h"

namespace {

constexpr wchar_t kPartnerSwitch[] = L"--store-partner";
constexpr wchar_t kReaderSwitch[] = L"--store-reader";
constexpr wchar_t kKeyboard[] = L"Shared";
constexpr wchar_t kReportName[] = L"partner-report.txt";
constexpr int kRounds = 300;
constexpr int kBatchRows = 5;
constexpr int kTestTag = 1;
constexpr int kPartnerTag = 2;
constexpr DWORD kPartnerStartMs = 30000;
constexpr DWORD kPartnerRunMs = 240000;

int BatchMacroId(int tag, int round)
{
    return tag * 100000 + round;
}

CString MacroName(int tag, int round)
{
    CString name;
    name.Format(L"writer %d round %d", tag, round);
    return name;
}

// What one program was told by its store.
struct Outcome {
    std::vector<int> batchSaved;  // per round, 1 when the batch reported success
    std::vector<int> macroIds;    // per round, the new macro's id; 0 when the insert failed
    int partialReads = 0;         // reads that saw a batch of the other program in part
};

Outcome RunRounds(ConfigDB& store, int tag)
{
    const int other = tag == kTestTag ? kPartnerTag : kTestTag;
    Outcome outcome;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<MacroRecordData> rows(kBatchRows);
        for (int i = 0; i < kBatchRows; ++i) {
            rows[i].macro_id = BatchMacroId(tag, round);
            rows[i].type = 1;
            rows[i].record_index = i;
            rows[i].value = round;
        }
        outcome.batchSaved.push_back(store.InsertMacroRecords(rows) ? 1 : 0);
        outcome.macroIds.push_back(store.AddMacro(MacroName(tag, round)));

        std::vector<MacroRecordData*> seen;
        const int count = store.GetMacroRecords(BatchMacroId(other, round), seen);
        if (count != 0 && count != kBatchRows)
            ++outcome.partialReads;
        FreeRows(seen);
        // A longer read, stepping over every macro: its shared lock is what a
        // commit of the other program runs into.
        std::vector<MacroData*> macros;
        store.GetMacroList(macros);
        FreeRows(macros);
    }
    return outcome;
}

bool WriteReport(const std::wstring& path, const Outcome& outcome)
{
    FILE* file = _wfopen(path.c_str(), L"w");
    if (!file)
        return false;
    std::fprintf(file, "%d\n", outcome.partialReads);
    for (size_t round = 0; round < outcome.batchSaved.size(); ++round)
        std::fprintf(file, "%d %d\n", outcome.batchSaved[round], outcome.macroIds[round]);
    return std::fclose(file) == 0;
}

bool ReadReport(const std::wstring& path, Outcome& outcome)
{
    FILE* file = _wfopen(path.c_str(), L"r");
    if (!file)
        return false;
    bool ok = std::fscanf(file, "%d", &outcome.partialReads) == 1;
    int saved = 0;
    int id = 0;
    while (ok && std::fscanf(file, "%d %d", &saved, &id) == 2) {
        outcome.batchSaved.push_back(saved);
        outcome.macroIds.push_back(id);
    }
    std::fclose(file);
    return ok && outcome.batchSaved.size() == static_cast<size_t>(kRounds);
}

std::wstring ReadyEventName(DWORD processId)
{
    return L"Local\\tarnwell-store-partner-" + std::to_wstring(processId);
}

// The partner: arguments are the data folder and the name of the event that
// tells the test the partner has its store open.
int RunPartner(const std::wstring& folderArgument, const std::wstring& readyEvent)
{
    const std::wstring folder = folderArgument + L"\\";
    ConfigDB store;
    if (!store.OpenDB(folder.c_str(), kKeyboard))
        return 2;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
    if (!ready)
        return 3;
    SetEvent(ready);
    CloseHandle(ready);
    const Outcome outcome = RunRounds(store, kPartnerTag);
    if (!store.CloseDB())
        return 4;
    return WriteReport(folder + kReportName, outcome) ? 0 : 5;
}

// The reader: a second program in the middle of reading the file, as a
// second instance or a database browser would be. Arguments: the file, the
// event it sets once it holds its read, and the event that ends the read.
int RunReader(const std::wstring& file, const std::wstring& readyEvent, const std::wstring& doneEvent)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(CStringToUtf8(file.c_str()).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 2;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT * FROM t_key_macro_data", -1, &statement, nullptr) != SQLITE_OK ||
        sqlite3_step(statement) != SQLITE_ROW)
        return 3;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
    HANDLE done = OpenEventW(SYNCHRONIZE, FALSE, doneEvent.c_str());
    if (!ready || !done)
        return 4;
    SetEvent(ready);
    WaitForSingleObject(done, kPartnerRunMs);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return 0;
}

std::wstring WithoutTrailingBackslash(const std::wstring& folder)
{
    return !folder.empty() && folder.back() == L'\\' ? folder.substr(0, folder.size() - 1) : folder;
}

class Partner {
public:
    ~Partner()
    {
        if (m_info.hProcess) {
            if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_info.hProcess, 1);
            CloseHandle(m_info.hProcess);
            CloseHandle(m_info.hThread);
        }
    }

    bool Start(const std::wstring& folder, const std::wstring& readyEvent)
    {
        // A backslash before a closing quote would escape the quote.
        return StartWith(std::wstring(kPartnerSwitch) + L" \"" + WithoutTrailingBackslash(folder) + L"\" \"" +
                         readyEvent + L"\"");
    }

    bool StartWith(const std::wstring& arguments)
    {
        wchar_t self[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
        std::vector<wchar_t> line(command.begin(), command.end());
        line.push_back(L'\0');
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &m_info) != 0;
    }

    // The exit code, or -1 when the partner did not end in time.
    long WaitForExit(DWORD timeoutMs)
    {
        if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return static_cast<long>(code);
    }

    HANDLE Process() const { return m_info.hProcess; }

private:
    PROCESS_INFORMATION m_info = {};
};

// Compares one program's outcome with the file: the rounds whose batch is
// not as reported (all rows when saved, none otherwise), and the rounds whose
// reported macro is missing.
void CheckFile(const CString& file, int tag, const Outcome& outcome)
{
    std::map<int, int> batchRows;
    for (const std::string& row : QueryFile(file, "SELECT macro_id, count(*) FROM t_macrorecord GROUP BY macro_id")) {
        const size_t bar = row.find('|');
        batchRows[std::stoi(row.substr(0, bar))] = std::stoi(row.substr(bar + 1));
    }
    std::map<int, std::string> macroNames;
    for (const std::string& row : QueryFile(file, "SELECT macro_id, name FROM t_macro_data")) {
        const size_t bar = row.find('|');
        macroNames[std::stoi(row.substr(0, bar))] = row.substr(bar + 1);
    }

    std::vector<int> batchNotAsReported, macroLost, batchFailed, macroFailed;
    int macrosReported = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int rows = batchRows.count(BatchMacroId(tag, round)) ? batchRows[BatchMacroId(tag, round)] : 0;
        if (rows != (outcome.batchSaved[round] ? kBatchRows : 0))
            batchNotAsReported.push_back(round);
        if (!outcome.batchSaved[round])
            batchFailed.push_back(round);
        const int id = outcome.macroIds[round];
        if (id > 0) {
            ++macrosReported;
            if (macroNames[id] != CStringToUtf8(MacroName(tag, round)))
                macroLost.push_back(round);
        } else {
            macroFailed.push_back(round);
        }
    }
    int macrosInFile = 0;
    const std::string prefix = "writer " + std::to_string(tag) + " ";
    for (const auto& macro : macroNames)
        macrosInFile += macro.second.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;

    EXPECT_EQ(std::vector<int>{}, batchNotAsReported) << "rounds whose batch the file holds otherwise than reported";
    EXPECT_EQ(std::vector<int>{}, macroLost) << "rounds whose macro was reported saved but is not in the file";
    EXPECT_EQ(macrosReported, macrosInFile) << "macros in the file that were reported failed";
    EXPECT_EQ(0, outcome.partialReads) << "reads that saw part of a batch";
    // The other program only ever holds the file for one short statement or
    // batch: waiting for it must be enough.
    EXPECT_EQ(std::vector<int>{}, batchFailed) << "rounds whose batch reported failure";
    EXPECT_EQ(std::vector<int>{}, macroFailed) << "rounds whose macro reported failure";
}

TEST(ConfigProcessTest, TwoProgramsOnOneFileKeepEverySavedWriteAndNoBatchInPart)
{
    ScratchFolder folder;
    ConfigDB store;
    // The file exists with its schema before the partner opens it.
    ASSERT_TRUE(store.OpenDB(folder.Path(), kKeyboard));

    const std::wstring eventName = ReadyEventName(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(nullptr, ready);
    Partner partner;
    ASSERT_TRUE(partner.Start(folder.Path().GetString(), eventName));
    HANDLE started[] = {ready, partner.Process()};
    const DWORD wait = WaitForMultipleObjects(2, started, FALSE, kPartnerStartMs);
    CloseHandle(ready);
    ASSERT_EQ(WAIT_OBJECT_0, wait) << "the partner did not open the store";

    const Outcome mine = RunRounds(store, kTestTag);
    ASSERT_EQ(0, partner.WaitForExit(kPartnerRunMs));
    Outcome theirs;
    ASSERT_TRUE(ReadReport(std::wstring(folder.Path().GetString()) + kReportName, theirs));
    ASSERT_TRUE(store.CloseDB());

    const CString file = folder.DbFile(kKeyboard);
    {
        SCOPED_TRACE("this program");
        CheckFile(file, kTestTag, mine);
    }
    {
        SCOPED_TRACE("the partner");
        CheckFile(file, kPartnerTag, theirs);
    }
}

// Another program in the middle of reading the file refuses a key-map
// batch's commit. The batch reports failure, and from then on the program's
// own reads show what the file holds, not the rows that never got there.
TEST(ConfigProcessTest, AfterABatchTheReaderRefusedTheProgramReadsWhatTheFileHolds)
{
    ScratchFolder folder;
    ConfigDB store;
    ASSERT_TRUE(store.OpenDB(folder.Path(), kKeyboard));
    std::vector<KeyMacroData> keys(178);
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i].profile = 1;
        keys[i].key_code = static_cast<int>(4 + i);
        keys[i].macro_desc = L"key";
    }
    ASSERT_TRUE(store.InsertKeyMacros(keys));
    store.GetDB().SetBusyTimeoutMs(200);  // the reader does not let go

    const std::wstring ready = ReadyEventName(GetCurrentProcessId()) + L"-reader";
    const std::wstring done = ReadyEventName(GetCurrentProcessId()) + L"-done";
    HANDLE readyEvent = CreateEventW(nullptr, TRUE, FALSE, ready.c_str());
    HANDLE doneEvent = CreateEventW(nullptr, TRUE, FALSE, done.c_str());
    Partner reader;
    const std::wstring file = folder.DbFile(kKeyboard).GetString();
    ASSERT_TRUE(reader.StartWith(std::wstring(kReaderSwitch) + L" \"" + file + L"\" \"" + ready + L"\" \"" + done +
                                 L"\""));
    HANDLE started[] = {readyEvent, reader.Process()};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, started, FALSE, kPartnerStartMs))
        << "the reader did not take hold of the file";

    std::vector<KeyMacroData> layer(30);
    for (size_t i = 0; i < layer.size(); ++i) {
        layer[i].profile = 1;
        layer[i].fn_layer = 1;
        layer[i].key_code = static_cast<int>(4 + i);
        layer[i].macro_desc = L"layer";
    }
    EXPECT_FALSE(store.InsertKeyMacros(layer));
    const std::vector<std::string> inFile = QueryFile(folder.DbFile(kKeyboard), "SELECT count(*) FROM t_key_macro_data");
    EXPECT_EQ(std::vector<std::string>{"178"}, inFile);
    EXPECT_EQ(178, store.CountKeyMacros(1)) << "the program reads rows the file never got";
    std::vector<KeyMacroData*> rows;
    EXPECT_EQ(0, store.GetLayerKeyMacros(1, 1, rows));
    FreeRows(rows);

    SetEvent(doneEvent);
    EXPECT_EQ(0, reader.WaitForExit(kPartnerStartMs));
    CloseHandle(readyEvent);
    CloseHandle(doneEvent);
    EXPECT_EQ(178, store.CountKeyMacros(1));
    ASSERT_TRUE(store.CloseDB());
    EXPECT_EQ(std::vector<std::string>{"178"}, QueryFile(folder.DbFile(kKeyboard), "SELECT count(*) FROM t_key_macro_data"));
}

}  // namespace

int main(int argc, char** argv)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args && count == 5 && std::wstring(args[1]) == kReaderSwitch) {
        const int code = RunReader(args[2], args[3], args[4]);
        LocalFree(args);
        return code;
    }
    if (args && count >= 2 && std::wstring(args[1]) == kPartnerSwitch) {
        // Never the tests again: a partner that ran them would start partners of its own.
        const int code = count == 4 ? RunPartner(args[2], args[3]) : 1;
        LocalFree(args);
        return code;
    }
    LocalFree(args);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
