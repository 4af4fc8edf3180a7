#pragma once

// End-to-end harness: runs the real Tarnwell.exe from a copy of bin/ in which
// the simulated keyboard stands in for hidapi.dll, drives it from outside as
// a user does, and reads what happened (the simulator's log, the registry,
// the settings database, the exit code, screenshots).
//
// Every wait polls a condition against a time-out; nothing sleeps a fixed
// time. A journey test derives its fixture from ProgramJourney.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Generous: the program runs under an emulator on a shared machine.
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kTimeoutMs = 20000;

// Places in the 1380 x 800 main window: the tab strip of the device pages,
// which is drawn once the pages exist, and its tabs (keys 0, lighting 1,
// macros 2, settings 3).
constexpr RECT kTabStrip = {450, 5, 930, 45};
constexpr POINT TabPlace(int index) { return POINT{450 + 120 * index + 60, 25}; }
// The keys page's profile bar: the rows of its list (from 0) and their edit
// icons, the add icon in its header, its four buttons and the default
// profile's button; the layout preset combo beside the layer tabs, and a row
// of a combo's drop-down in the drop-down's own client coordinates.
constexpr POINT ProfileRow(int index) { return POINT{80, 108 + 36 * index + 15}; }
constexpr POINT ProfileEditIcon(int index) { return POINT{163, 108 + 36 * index + 15}; }
constexpr POINT kAddProfileIcon = {162, 87};
constexpr POINT kNewProfileButton = {51, 310};
constexpr POINT kDeleteProfileButton = {136, 310};
constexpr POINT kImportProfileButton = {51, 344};
constexpr POINT kExportProfileButton = {136, 344};
constexpr POINT kDefaultProfileButton = {164, 377};
constexpr POINT kPresetCombo = {1270, 291};
constexpr POINT DropDownRow(int index) { return POINT{40, 2 + 30 * index + 15}; }
// In the 500 x 260 message box: OK and Cancel side by side, OK alone centred.
constexpr POINT kBoxOk = {180, 228};
constexpr POINT kBoxCancel = {320, 228};
constexpr POINT kBoxOnlyOk = {250, 228};

// Polls the condition every few milliseconds until it holds or the time is
// up; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

// ---- the run folder ----------------------------------------------------------------

// The copy of bin/ a journey runs in, with the simulated keyboard's DLL in
// place of hidapi.dll. Made once per test program; the files are linked
// rather than copied where the file system allows.
const std::wstring& RunFolder();

// Where the program keeps its data and settings (the device name's).
std::wstring DataFolder();
std::wstring RegistryKey();
// Deletes the registry key and the data folder: a first start.
void ClearUserState();
// A data file of the run folder (path relative to it) replaced by these
// bytes, removed, or put back as bin/ has it. The run folder's files are
// links to bin/'s: the link is broken before anything is written.
bool ReplaceRunFile(const std::wstring& relative, const std::string& bytes);
void RemoveRunFile(const std::wstring& relative);
bool RestoreRunFile(const std::wstring& relative);

// ---- the simulated keyboard ----------------------------------------------------------

struct SimDevice
{
    int id = 1;
    unsigned vid = 0x3151;
    unsigned pid = 0x4010;
    int interfaceNumber = 2;
    bool numpad = false;
    bool present = true;
};

struct SimEvent
{
    DWORD tick = 0;
    std::string kind;   // init, exit, applied, enumerate, open, out, in, broadcast
    std::vector<std::string> words;  // the rest of the line
    std::vector<uint8_t> bytes;      // out and in: the report
    int device = -1;                 // open, out, in, broadcast: the device id
};

// Writes the control file and reads the log of the simulator in the run folder.
class SimulatedKeyboard
{
public:
    // Starts a fresh log and the given devices (before the program starts).
    void Reset(const std::vector<SimDevice>& devices);
    // Changes the devices while the program runs; waits until the simulator
    // has applied the change (its broadcast has been delivered).
    bool SetDevices(const std::vector<SimDevice>& devices);
    const std::vector<SimDevice>& Devices() const { return m_devices; }

    std::vector<SimEvent> Events() const;
    int Count(const std::string& kind) const;
    // Requests written and accepted, with their command byte, in order.
    std::vector<uint8_t> Commands(int device) const;
    // Empty when every BEGIN the device saw was followed by its END before
    // the next BEGIN and by the end of the log (the live colour read-back's
    // BEGIN, followed by live reads only, needs none); else what was wrong.
    std::string UnbalancedBeginEnd() const;

private:
    void Write();
    std::vector<SimDevice> m_devices;
    long m_generation = 0;
};

// ---- the program ---------------------------------------------------------------------

class Program
{
public:
    ~Program();
    // Starts Tarnwell.exe from the run folder; false when it could not start.
    // Only a program started this way answers SendControlNotify and
    // QueryProgramState.
    bool Start(const std::wstring& arguments = L"");
    // Starts it as any other program would: without the test channel.
    bool StartPlain(const std::wstring& arguments = L"");
    // The main window: the top-level window with the device name's property
    // that belongs to this process.
    HWND WaitForWindow(DWORD timeoutMs = kStartTimeoutMs);
    HWND Window() const { return m_window; }
    // Waits for the process to end; its exit code, or -1 on time-out.
    long WaitForExit(DWORD timeoutMs = kTimeoutMs);
    bool Running() const;
    DWORD ProcessId() const { return m_info.dwProcessId; }
    // Why the last start failed (a system error code); 0 after a start.
    DWORD StartError() const { return m_startError; }
    // Ends the process if it still runs (a failed journey).
    void Kill();

private:
    bool Launch(const std::wstring& arguments, bool testChannel);
    PROCESS_INFORMATION m_info = {};
    DWORD m_startError = 0;
    HWND m_window = nullptr;
};

// The first top-level window of a process carrying the named property.
HWND FindProgramWindow(DWORD processId, const wchar_t* property);
bool IsShown(HWND window);
// A visible top-level window of a process with that caption, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* caption);
// The program's message box that is shown now, or null. An answered box may
// stay a moment, hidden, beside the next one; it is passed over.
HWND ShownMessageBox();
// Waits for a shown message box; null when none showed in time.
HWND WaitForMessageBox();
// The visible system dialog (#32770) of a process, or null.
HWND FindProcessDialog(DWORD processId);
// Waits for the process's file dialog and answers it with the path, as a user
// types it; kindShown (when given) gets the file kind its filter offers. True
// once the dialog closed.
bool AnswerFileDialog(DWORD processId, const std::wstring& path, std::wstring* kindShown = nullptr);
// A visible window of a class among a window's children, or null.
HWND FindChildOfClass(HWND parent, const wchar_t* className);
// The program's open menu once it has painted its rows, or null.
HWND WaitForMenu(DWORD processId);
// Clicks a row of the program's open menu (width: the menu's width; rows
// below a 12-pixel margin, 30 pixels each); true once the menu closed.
bool ChooseMenuRow(DWORD processId, int width, int row);
// Waits until a box stands centred on the window (within 2 pixels). A box
// is shown where it is made and only then centred: a picture taken before
// shows whatever lay at the first place.
bool WaitCentredOn(HWND box, HWND window);

// ---- input -----------------------------------------------------------------------------

// A left click at a client point, posted (the cursor does not move).
void Click(HWND window, int x, int y);
// A double click at a client point, posted.
void DoubleClick(HWND window, int x, int y);
// A tray icon callback with the given mouse message.
void TrayMessage(HWND window, UINT mouseMessage);
// A control's notification (id, code, wParam, lParam) delivered to the main
// window as the control would send it; returns the handler's result. This is
// how journeys reach controls the layout does not place.
LRESULT SendControlNotify(HWND window, UINT id, UINT code, WPARAM wParam = 0, LPARAM lParam = 0);
void PressKey(HWND window, UINT virtualKey);
// Characters typed into a window as the system delivers key presses to it
// once translated (one WM_CHAR each, backspace included).
void TypeText(HWND window, const std::wstring& text);
// The window that has the keyboard focus on the thread of a window, or null.
HWND FocusedWindow(HWND window);
// The window that holds the mouse capture on the thread of a window: the
// window itself while a button is held on it, the system's drag loop while
// dragging; null for none.
HWND MouseCapture(HWND window);

// ---- what happened ---------------------------------------------------------------------

// The program's answer to its state query message (wParam the query), or
// -2 when the window did not answer.
long QueryProgramState(HWND window, WPARAM query);

// A REG_SZ value under the program's key; false when missing.
bool ReadRegistryValue(const wchar_t* name, std::wstring& value);
void WriteRegistryValue(const wchar_t* name, const wchar_t* value);
// The program's value under the user's Run key; false when missing.
bool ReadAutorunValue(std::wstring& value);
bool FileExists(const std::wstring& path);
// The file is there, not empty, and nothing holds it open for writing.
bool FileWritten(const std::wstring& path);
// The settings database of the model in use (the data folder's one
// db\*_data.db), empty when there is none yet.
std::wstring SettingsDatabase();
// The first column of the first row of a query on a database file, or -1.
long long QueryDatabase(const std::wstring& file, const char* sql);
// The window's pixels in a client rectangle, taken from the screen after the
// window has painted.
std::vector<DWORD> Capture(HWND window, const RECT& area);
// Distinct colours in an area (counting stops past 64): one for a plain
// background, many where words or pictures are drawn.
size_t Colours(const std::vector<DWORD>& pixels);
// Saves the window's pixels (copied from the screen) as
// build/screenshots/pages/<name>.png; the saved path, empty on failure.
std::wstring SaveScreenshot(HWND window, const std::wstring& name);

// A fixture with a clean user state, a simulated keyboard and a program
// that is killed if a journey leaves it running.
class ProgramJourney : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the program and waits for its window; fails the test otherwise.
    HWND StartProgram(const std::wstring& arguments = L"");

    SimulatedKeyboard sim;
    std::unique_ptr<Program> program;
};

} // namespace e2e
