// The program's directory and the shell's folder browser.
#include <cwchar>
#include <optional>

#include "platform/Shell.h"
#include "platform/Window.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Handles.h"

namespace tavrel::ui {

using win32::Utf16;
using win32::Wide;

namespace {

// The longest path the file system takes, terminator included.
constexpr DWORD kMaxLongPath = 32768;

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= kMaxLongPath) {
            return {};  // cut short: no trustworthy path
        }
        path.resize(path.size() * 2);
    }
}

// The volume and file index that identify a folder, however its path is spelled.
struct FolderIdentity {
    DWORD volume, indexHigh, indexLow;
    bool operator==(const FolderIdentity&) const = default;
};

std::optional<FolderIdentity> IdentifyFolder(std::u16string_view path) {
    const std::wstring name = Wide(path);
    const win32::UniqueFileHandle folder(
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder || !GetFileInformationByHandle(folder.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::nullopt;
    }
    return FolderIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM /*lParam*/, LPARAM data) {
    const auto* initialFolder = reinterpret_cast<const wchar_t*>(data);
    if (message == BFFM_INITIALIZED && initialFolder != nullptr && *initialFolder != L'\0') {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

}  // namespace

char16_t PathSeparator() {
    return u'\\';
}

std::u16string GetProgramDirectory(std::u16string_view /*programName*/) {
    const std::wstring path = ExecutablePath();
    const std::size_t separator = path.rfind(L'\\');
    if (separator == std::wstring::npos) {
        return {};
    }
    return Utf16(std::wstring_view(path).substr(0, separator));
}

bool IsSameFolder(std::u16string_view a, std::u16string_view b) {
    const std::optional<FolderIdentity> first = IdentifyFolder(a);
    return first && first == IdentifyFolder(b);
}

bool CreateFolders(std::u16string_view path) {
    const std::wstring name = Wide(path);
    const int result = SHCreateDirectoryExW(nullptr, name.c_str(), nullptr);
    if (result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS && result != ERROR_FILE_EXISTS) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::u16string> BrowseForFolder(const CWnd& owner, std::u16string_view title,
                                              std::u16string_view initialFolder) {
    const win32::UniqueComApartment com = win32::InitializeCom();
    const std::wstring titleText = Wide(title);
    const std::wstring initial = Wide(initialFolder);
    wchar_t displayName[MAX_PATH] = {};

    BROWSEINFOW info{};
    // Owned, the browser disables the settings window while it runs: no second confirm
    // and no closing the window under a browser that still waits to write a file.
    info.hwndOwner = win32::Hwnd(owner.GetSafeHwnd());
    info.pidlRoot = nullptr;  // the browser starts at the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = titleText.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initial.c_str());

    const win32::UniqueItemIdList item(SHBrowseForFolderW(&info));
    if (!item) {
        return std::nullopt;  // cancelled
    }
    // An item without a file-system path counts as not chosen.
    std::wstring path(kMaxLongPath, L'\0');
    if (!SHGetPathFromIDListEx(item.Get(), path.data(), kMaxLongPath, GPFIDL_DEFAULT)) {
        return std::nullopt;
    }
    path.resize(std::wcslen(path.c_str()));
    if (path.empty()) {
        return std::nullopt;
    }
    return Utf16(path);
}

}  // namespace tavrel::ui
