#include "Driver.h"

#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavrel::e2e {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        Sleep(15);
    }
}

std::wstring WindowText(HWND window) {
    wchar_t text[2048] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

// EnumWindows' callback: a named function, since a lambda has the wrong calling
// convention on 32-bit Windows.
BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window)) {
        search.found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::wstring ChildTexts(HWND parent) {
    std::wstring texts;
    for (HWND child : Children(parent)) {
        texts += WindowText(child);
        texts += L'\n';
    }
    return texts;
}

HWND FindDialog(DWORD processId, const std::wstring& caption, std::optional<HWND> owner) {
    for (HWND window : TopLevelWindows(processId)) {
        if (ClassName(window) == L"#32770" && WindowText(window) == caption &&
            (!owner || GetWindow(window, GW_OWNER) == *owner)) {
            return window;
        }
    }
    return nullptr;
}

std::vector<std::uint8_t> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    // Copied from the screen into a bitmap of our own, then read out as 32-bit pixels.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                                DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (lines != height) {
        return {};
    }
    return pixels;
}

IconColour MessageBoxIconColour(HWND box) {
    HWND icon = nullptr;
    for (HWND child : Children(box)) {
        if (ClassName(child) == L"Static" &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
        }
    }
    if (icon == nullptr) {
        return IconColour::None;
    }
    RECT rect{};
    GetWindowRect(icon, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 512 || height > 512) {
        return IconColour::None;
    }
    const std::vector<std::uint8_t> pixels = ScreenPixels(rect);
    if (pixels.empty()) {
        return IconColour::None;
    }
    int red = 0;
    int blue = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const int b = pixels[i];
        const int r = pixels[i + 2];
        red += r > b + 80 ? 1 : 0;
        blue += b > r + 80 ? 1 : 0;
    }
    const int enough = width * height / 8;
    if (red >= enough && red > 2 * blue) {
        return IconColour::Red;
    }
    if (blue >= enough && blue > 2 * red) {
        return IconColour::Blue;
    }
    return IconColour::Other;
}

std::wstring AddressText(HWND address) {
    std::vector<HWND> fields = Children(address);
    std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
        RECT ra{};
        RECT rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    std::wstring text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text += L'.';
        }
        text += WindowText(fields[i]);
    }
    return text;
}

void Type(HWND control, const std::wstring& text) {
    for (wchar_t c : text) {
        SendMessageW(control, WM_CHAR, c, 1);
    }
}

void PostKey(HWND control, WPARAM virtualKey) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    PostMessageW(control, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(control, WM_KEYUP, virtualKey,
                 1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{3} << 30));
}

void Paste(HWND edit, const std::wstring& text) {
    if (!OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(block)));
        GlobalUnlock(block);
        if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
            GlobalFree(block);
        }
    }
    CloseClipboard();
    SendMessageW(edit, WM_CHAR, 0x16, 1);  // Ctrl+V
}

void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void PostClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickOnScreen(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() != L'\\') {
        return folder + L'\\' + name;
    }
    return folder + name;
}

std::optional<Bytes> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
    std::error_code ec;
    // Read-only files left by a test would stop the removal.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(std::filesystem::path(path), ec);
}

Bytes Fixture(const std::wstring& name) {
    std::wstring folder = TAVREL_TEST_DATA_DIR;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return ReadFileBytes(JoinPath(folder, name)).value_or(Bytes{});
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring own = path;
    return own.substr(0, own.rfind(L'\\'));
}

std::wstring MakeTemporaryFolder(const std::wstring& prefix) {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    for (;;) {
        const std::wstring folder = JoinPath(temp, prefix + std::to_wstring(GetCurrentProcessId()) +
                                                       L"-" + std::to_wstring(++counter));
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
    }
}

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// --- Program

Program::Program(std::optional<Bytes> stored) : folder_(MakeTemporaryFolder(L"tavrel-e2e-")) {
    CopyFileW(JoinPath(OwnFolder(), L"tavrel.exe").c_str(),
              JoinPath(folder_, L"tavrel.exe").c_str(), FALSE);
    if (stored) {
        WriteFileBytes(StoredFile(), *stored);
    }
}

Program::~Program() {
    if (process_.hProcess != nullptr) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RemoveTree(folder_);
}

namespace {

// Every started program belongs to this job, which ends them all when the driver ends,
// also when it crashes.
HANDLE ProgramsJob() {
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

}  // namespace

bool Program::Start() {
    if (process_.hProcess != nullptr) {
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
    std::wstring commandLine = L"\"" + JoinPath(folder_, L"tavrel.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    settings_ = nullptr;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder_.c_str(), &startup, &process_)) {
        process_ = {};
        return false;
    }
    AssignProcessToJobObject(ProgramsJob(), process_.hProcess);
    ResumeThread(process_.hThread);
    return true;
}

HWND Program::WaitForSettings() {
    WaitFor([&] {
        settings_ = FindDialog(ProcessId(), kSettingsCaption);
        return settings_ != nullptr || !Running();
    });
    if (settings_ != nullptr) {
        WaitUntilIdle();
    }
    return settings_;
}

void Program::WaitUntilIdle() const {
    if (settings_ != nullptr) {
        // A sent message is handled only once the program looks for messages again.
        SendMessageTimeoutW(settings_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    }
}

bool Program::WaitForExit(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) ==
           WAIT_OBJECT_0;
}

bool Program::Running() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

}  // namespace tavrel::e2e
