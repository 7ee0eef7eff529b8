#pragma once
// Driving tavrel.exe from another process, as a person's input would reach it: the
// program runs in a temporary program folder of its own, its windows are found by
// polling, and it is driven through control ids and window messages.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::e2e {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

inline constexpr auto kTimeout = 20s;

// Polls `done` every few milliseconds until it holds or `timeout` has passed.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = kTimeout);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Visible top-level windows of a process.
std::vector<HWND> TopLevelWindows(DWORD processId);
// Child windows, in the order the dialog manager created them.
std::vector<HWND> Children(HWND parent);
// The texts of all child windows, concatenated with '\n'.
std::wstring ChildTexts(HWND parent);
// A dialog's top-level window of the process with this caption and owner, or null.
HWND FindDialog(DWORD processId, const std::wstring& caption, std::optional<HWND> owner = {});

// The colour that dominates the icon a message box shows, read from the screen.
// What the screen shows in `rect`, as 32-bit BGRA pixels, top row first; empty on failure.
std::vector<std::uint8_t> ScreenPixels(const RECT& rect);

enum class IconColour { None, Red, Blue, Other };
IconColour MessageBoxIconColour(HWND box);

// What an address control shows: its four fields joined with dots ("..." when blank).
std::wstring AddressText(HWND address);

// Typing: one WM_CHAR per UTF-16 code unit, as the keyboard delivers them.
void Type(HWND control, const std::wstring& text);
// A key press (WM_KEYDOWN then WM_KEYUP), posted to the control's message queue.
void PostKey(HWND control, WPARAM virtualKey);
// Puts text on the clipboard and pastes it with Ctrl+V.
void Paste(HWND edit, const std::wstring& text);
// A mouse click on a button: sent (returns when handled) or posted (for buttons that
// open a modal window, which would block a sender).
void Click(HWND button);
void PostClick(HWND button);
// A person's click: the mouse moved onto the middle of the window on screen and its left
// button pressed and released, as input that the system routes (a window that is
// disabled, or covered by another there, does not get it).
void ClickOnScreen(HWND window);

// Files, by Windows path.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
std::optional<Bytes> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);
bool FileExists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
// A fixture of tests/data.
Bytes Fixture(const std::wstring& name);
// The folder that holds this program (and tavrel.exe beside it).
std::wstring OwnFolder();
// A new empty folder under the temporary folder.
std::wstring MakeTemporaryFolder(const std::wstring& prefix);
// The shell's Desktop folder, where the folder browser starts.
std::wstring DesktopFolder();

// One tavrel.exe, copied into a temporary program folder of its own.
class Program {
public:
    // With `stored`, device_config.dat in the program folder holds these bytes.
    explicit Program(std::optional<Bytes> stored = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring StoredFile() const { return JoinPath(folder_, L"device_config.dat"); }

    // Starts the program; false when it could not be started.
    bool Start();
    // The settings window, once it shows and the program waits for input; null on timeout.
    HWND WaitForSettings();
    HWND Settings() const { return settings_; }
    HWND Item(int id) const { return GetDlgItem(settings_, id); }
    DWORD ProcessId() const { return process_.dwProcessId; }
    HANDLE Process() const { return process_.hProcess; }
    // Waits until the program waits for input again (after a posted message).
    void WaitUntilIdle() const;
    bool WaitForExit(std::chrono::milliseconds timeout = kTimeout);
    bool Running() const;

private:
    std::wstring folder_;
    PROCESS_INFORMATION process_{};
    HWND settings_ = nullptr;
};

inline constexpr wchar_t kSettingsCaption[] = L"Tavrel(Build 20220103)";

}  // namespace tavrel::e2e
