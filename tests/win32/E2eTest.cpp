// tavrel.exe end to end: the real program in a temporary program folder, driven through
// its windows as a person's clicks and keystrokes would reach it.
#include "Driver.h"
// Driver.h brings <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialog/resource.h"
#include "generated/Version.h"

using namespace tavrel::e2e;

namespace {

constexpr std::array<int, 5> kAddressIds{IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_GATEWAY,
                                         IDC_OTHER_DNS, IDC_PREFERRED_DNS};
constexpr wchar_t kMessageCaption[] = L"參數設置";
constexpr wchar_t kFileCreated[] =
    L"設定參數檔案已產生，請將產生的檔案複製到USB隨身碟或設備上的SD卡再插入設備";
constexpr wchar_t kWriteFailed[] = L"設定參數檔案無法寫入，未產生任何檔案：";
constexpr wchar_t kBrowserTitle[] = L"選擇要將產生的設定檔存放的位置";
constexpr wchar_t kAboutCaption[] = L"關於Tavrel";
constexpr wchar_t kFileName[] = L"device_config.dat";

// What the form shows.
struct Form {
    bool automatic = false;
    bool fixed = false;
    std::array<bool, 5> enabled{};
    std::array<std::wstring, 5> addresses;  // 1002..1006
    int guard = 0;
    std::wstring guardText, ring, push, key;
};

Form ReadForm(const Program& p) {
    Form f;
    f.automatic = SendMessageW(p.Item(IDC_AUTO_IP), BM_GETCHECK, 0, 0) == BST_CHECKED;
    f.fixed = SendMessageW(p.Item(IDC_FIXED_IP), BM_GETCHECK, 0, 0) == BST_CHECKED;
    for (std::size_t i = 0; i < kAddressIds.size(); ++i) {
        f.enabled[i] = IsWindowEnabled(p.Item(kAddressIds[i])) != FALSE;
        f.addresses[i] = AddressText(p.Item(kAddressIds[i]));
    }
    f.guard = static_cast<int>(SendMessageW(p.Item(IDC_LINE_GUARD), CB_GETCURSEL, 0, 0));
    f.guardText = WindowText(p.Item(IDC_LINE_GUARD));
    f.ring = WindowText(p.Item(IDC_RING_LIMIT));
    f.push = WindowText(p.Item(IDC_PUSH_ADDRESS));
    f.key = WindowText(p.Item(IDC_CIPKEY));
    return f;
}

void SetAddress(const Program& p, int id, BYTE a, BYTE b, BYTE c, BYTE d) {
    SendMessageW(p.Item(id), IPM_SETADDRESS, 0, MAKEIPADDRESS(a, b, c, d));
}

// The values of tests/data/full-form.dat, entered as a person would.
void EnterFullForm(const Program& p) {
    Click(p.Item(IDC_FIXED_IP));
    SetAddress(p, IDC_IP_ADDRESS, 192, 168, 0, 20);
    SetAddress(p, IDC_SUBNET_MASK, 255, 255, 255, 0);
    SetAddress(p, IDC_GATEWAY, 192, 168, 0, 1);
    SetAddress(p, IDC_OTHER_DNS, 8, 8, 4, 4);
    SetAddress(p, IDC_PREFERRED_DNS, 8, 8, 8, 8);
    Type(p.Item(IDC_PUSH_ADDRESS), L"http://push.example.com/call\r中文推送");
    SendMessageW(p.Item(IDC_LINE_GUARD), WM_KEYDOWN, VK_DOWN, 1);  // "關閉" -> "開啟"
    Type(p.Item(IDC_RING_LIMIT), L"3");
    Type(p.Item(IDC_CIPKEY), L"密鑰Key123");
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// How far a window's centre lies from the centre of an area, in pixels.
long CentreOffset(HWND window, const RECT& area) {
    const RECT w = WindowRect(window);
    return std::max(std::abs((w.left + w.right) - (area.left + area.right)) / 2,
                    std::abs((w.top + w.bottom) - (area.top + area.bottom)) / 2);
}

Bytes WithMode(Bytes record, std::uint8_t mode) {
    record.at(0) = mode;
    return record;
}

class E2e : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
            GTEST_SKIP() << "needs an X display (DISPLAY)";
        }
        // Only a folder choice gone wrong writes to the Desktop itself.
        DeleteFileW(JoinPath(DesktopFolder(), kFileName).c_str());
    }

    void TearDown() override {
        programs_.clear();
        for (const std::wstring& folder : desktopFolders_) {
            RemoveTree(folder);
        }
        EXPECT_FALSE(FileExists(JoinPath(DesktopFolder(), kFileName)))
            << "a file was written to the Desktop instead of the chosen folder";
        DeleteFileW(JoinPath(DesktopFolder(), kFileName).c_str());
    }

    // Starts a program (with a stored file) and waits for its settings window.
    Program& Launch(std::optional<Bytes> stored = {}) {
        programs_.push_back(std::make_unique<Program>(std::move(stored)));
        Program& p = *programs_.back();
        EXPECT_TRUE(p.Start());
        EXPECT_NE(p.WaitForSettings(), nullptr) << "the settings window did not show";
        return p;
    }

    // Starts the program again on the same program folder.
    static void Relaunch(Program& p) {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForSettings(), nullptr);
    }

    // A new folder on the Desktop, where the folder browser starts; removed afterwards.
    std::wstring DesktopTarget() {
        const std::wstring name = L"tavrel-target-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"-" + std::to_wstring(desktopFolders_.size());
        const std::wstring folder = JoinPath(DesktopFolder(), name);
        RemoveTree(folder);  // left by an interrupted run
        CreateDirectoryW(folder.c_str(), nullptr);
        desktopFolders_.push_back(folder);
        return folder;
    }

    // The folder browsers that are open: dialogs owned by the settings window, with the
    // browser's tree in them.
    static std::vector<HWND> Browsers(const Program& p) {
        std::vector<HWND> browsers;
        for (HWND w : TopLevelWindows(p.ProcessId())) {
            if (ClassName(w) == L"#32770" && GetWindow(w, GW_OWNER) == p.Settings() &&
                BrowserTree(w) != nullptr) {
                browsers.push_back(w);
            }
        }
        return browsers;
    }

    // Presses 確定 and returns the folder browser that opens.
    static HWND OpenBrowser(const Program& p, bool onScreen = false) {
        HWND browser = nullptr;
        const auto opened = [&](std::chrono::milliseconds timeout) {
            return WaitFor(
                [&] {
                    const std::vector<HWND> browsers = Browsers(p);
                    browser = browsers.empty() ? nullptr : browsers.front();
                    return browser != nullptr;
                },
                timeout);
        };
        if (!onScreen) {
            PostClick(p.Item(IDOK));
            opened(kTimeout);
            return browser;
        }
        // A click on the screen is lost when it comes before the window takes input (a
        // loaded machine); clicking again is safe, since an open browser disables the
        // settings window and a click on it then does nothing.
        for (int attempt = 0; attempt < 3 && browser == nullptr; ++attempt) {
            p.WaitUntilIdle();
            ClickOnScreen(p.Item(IDOK));
            opened(kTimeout / 3);
        }
        return browser;
    }

    static HWND BrowserTree(HWND browser) {
        for (HWND child : Children(browser)) {
            if (ClassName(child) == L"SysTreeView32") {
                return child;
            }
        }
        return nullptr;
    }

    // Picks a folder of the Desktop by typing its name in the browser's tree, then OK.
    static void ChooseInBrowser(HWND browser, const std::wstring& folder) {
        const std::wstring name = folder.substr(folder.rfind(L'\\') + 1);
        Type(BrowserTree(browser), name);
        PostClick(GetDlgItem(browser, IDOK));
    }

    static HWND WaitForMessageBox(const Program& p) {
        HWND box = nullptr;
        WaitFor([&] {
            box = FindDialog(p.ProcessId(), kMessageCaption, p.Settings());
            return box != nullptr;
        });
        return box;
    }

    static void CloseMessageBox(const Program& p, HWND box) {
        PostClick(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
        p.WaitUntilIdle();
    }

    // Confirms the form into `folder` and closes the information message; the text of
    // that message comes back.
    std::wstring ConfirmInto(const Program& p, const std::wstring& folder) {
        HWND browser = OpenBrowser(p);
        EXPECT_NE(browser, nullptr) << "no folder browser";
        if (browser == nullptr) {
            return {};
        }
        ChooseInBrowser(browser, folder);
        HWND box = WaitForMessageBox(p);
        EXPECT_NE(box, nullptr) << "no message after the folder was chosen";
        if (box == nullptr) {
            return {};
        }
        const std::wstring text = ChildTexts(box);
        CloseMessageBox(p, box);
        return text;
    }

    std::vector<std::unique_ptr<Program>> programs_;
    std::vector<std::wstring> desktopFolders_;
};

TEST_F(E2e, WineRunsWithTheTraditionalChineseCodePage) {
    // The key "密鑰Key123" of the fixtures is code page 950 text.
    EXPECT_EQ(GetACP(), 950u) << "run under tools/wine-run (LANG=zh_TW.UTF-8, locale generated)";
}

namespace {

// The version record of one of the executables: the numbers and texts of the project
// version, and the names and copyright of that file.
void ExpectVersionRecord(const std::wstring& fileName, const std::wstring& description) {
    SCOPED_TRACE(fileName);
    const std::wstring exe = JoinPath(OwnFolder(), fileName);
    DWORD ignored = 0;
    std::vector<std::uint8_t> version(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    constexpr DWORD kNumbers[] = {TAVREL_VERSION_NUMBERS};
    EXPECT_EQ(fixed->dwFileVersionMS, kNumbers[0] << 16 | kNumbers[1]);
    EXPECT_EQ(fixed->dwFileVersionLS, kNumbers[2] << 16 | kNumbers[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    const std::wstring internalName = fileName.substr(0, fileName.size() - 4);
    for (const auto& [name, expected] :
         {std::pair{L"ProductName", std::wstring(L"Tavrel")},
          std::pair{L"FileDescription", description},
          std::pair{L"Comments", std::wstring(L"Tavrel")},
          std::pair{L"FileVersion", std::wstring(L"" TAVREL_VERSION_TEXT)},
          std::pair{L"ProductVersion", std::wstring(L"" TAVREL_VERSION_TEXT)},
          std::pair{L"InternalName", internalName}, std::pair{L"OriginalFilename", fileName},
          std::pair{L"LegalCopyright",
                    std::wstring(L"Copyright (c) 2026 The Tavrel developers")}}) {
        wchar_t* value = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040404b0\\") + name;
        ASSERT_TRUE(
            VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&value), &size))
            << key;
        EXPECT_EQ(std::wstring(value), expected) << key;
    }
}

// The icon group IDI_APP of an executable loaded as data: nine images, 48, 32 and 16
// pixels in 4, 8 and 32 bits.
void ExpectAppIcon(HMODULE module) {
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(dir, nullptr);
    const int count = dir[4] | (dir[5] << 8);
    std::vector<std::pair<int, int>> images;  // size, bits
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* entry = dir + 6 + 14 * i;
        images.emplace_back(entry[0], entry[6] | (entry[7] << 8));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(
        images,
        (std::vector<std::pair<int, int>>{
            {16, 4}, {16, 8}, {16, 32}, {32, 4}, {32, 8}, {32, 32}, {48, 4}, {48, 8}, {48, 32}}));
}

// An executable beside the test, loaded as data for its resources.
HMODULE LoadAsData(const wchar_t* fileName) {
    return LoadLibraryExW(JoinPath(OwnFolder(), fileName).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE);
}

}  // namespace

TEST(Executable, TheCommandLineProgramCarriesItsOwnVersionRecordAndTheIcon) {
    ExpectVersionRecord(L"tavrel-cli.exe", L"Tavrel command line");
    HMODULE module = LoadAsData(L"tavrel-cli.exe");
    ASSERT_NE(module, nullptr);
    ExpectAppIcon(module);
    FreeLibrary(module);
}

TEST(Executable, CarriesItsVersionRecordIconsAndManifest) {
    ExpectVersionRecord(L"tavrel.exe", L"Tavrel");
    HMODULE module = LoadAsData(L"tavrel.exe");
    ASSERT_NE(module, nullptr);
    ExpectAppIcon(module);
    // The manifest asks for common controls 6 and per-monitor DPI awareness.
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    FreeLibrary(module);
}

TEST_F(E2e, FirstStartWithoutStoredFileShowsTheDefaults) {
    Program& p = Launch();
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_LE(CentreOffset(p.Settings(), workArea), 1) << "centred in the work area";
    const Form f = ReadForm(p);
    EXPECT_TRUE(f.automatic);
    EXPECT_FALSE(f.fixed);
    EXPECT_EQ(f.enabled, (std::array<bool, 5>{true, true, true, true, true}));
    EXPECT_EQ(f.addresses,
              (std::array<std::wstring, 5>{L"...", L"255.255.255.0", L"...", L"...", L"..."}));
    EXPECT_EQ(f.guard, 0);
    EXPECT_EQ(f.guardText, L"關閉");
    EXPECT_EQ(f.ring, L"");
    EXPECT_EQ(f.push, L"");
    EXPECT_EQ(f.key, L"");
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(p.Settings(), nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, p.Item(IDOK)) << "the confirm button, the first tab stop, has focus";
}

TEST_F(E2e, StoredFileFillsTheFormInBothAddressModes) {
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic ? "automatic mode" : "fixed mode");
        Program& p = Launch(WithMode(Fixture(L"full-form.dat"), automatic ? 1 : 0));
        const Form f = ReadForm(p);
        EXPECT_EQ(f.automatic, automatic);
        EXPECT_EQ(f.fixed, !automatic);
        EXPECT_EQ(f.enabled, (std::array<bool, 5>{!automatic, !automatic, !automatic, !automatic,
                                                  !automatic}));
        // The gateway comes from offset 196, the other DNS server from offset 132.
        EXPECT_EQ(f.addresses,
                  (std::array<std::wstring, 5>{L"192.168.0.20", L"255.255.255.0", L"192.168.0.1",
                                               L"8.8.4.4", L"8.8.8.8"}));
        EXPECT_EQ(f.guard, 1);
        EXPECT_EQ(f.guardText, L"開啟");
        EXPECT_EQ(f.ring, L"3");
        EXPECT_EQ(f.push, L"http://push.example.com/call\r\n中文推送");
        EXPECT_EQ(f.key, L"密鑰Key123");
    }
}

TEST_F(E2e, AddressModeRadiosEnableAndDisableTheFieldsKeepingTheirValues) {
    Program& p = Launch();
    SetAddress(p, IDC_IP_ADDRESS, 10, 0, 0, 7);
    const std::array<bool, 5> allOn{true, true, true, true, true};
    const std::array<bool, 5> allOff{};

    Click(p.Item(IDC_AUTO_IP));
    Form f = ReadForm(p);
    EXPECT_EQ(f.enabled, allOff);
    EXPECT_TRUE(f.automatic);

    Click(p.Item(IDC_FIXED_IP));
    f = ReadForm(p);
    EXPECT_EQ(f.enabled, allOn);
    EXPECT_TRUE(f.fixed);
    EXPECT_FALSE(f.automatic);
    EXPECT_EQ(f.addresses[0], L"10.0.0.7");
    EXPECT_EQ(f.addresses[1], L"255.255.255.0");

    Click(p.Item(IDC_AUTO_IP));
    f = ReadForm(p);
    EXPECT_EQ(f.enabled, allOff);
    EXPECT_EQ(f.addresses[0], L"10.0.0.7");
}

TEST_F(E2e, ConfirmWritesTheChosenFolderAndTheStoredCopyAndTheNextStartShowsThem) {
    Program& p = Launch();
    EnterFullForm(p);
    const std::wstring target = DesktopTarget();

    HWND browser = OpenBrowser(p);
    ASSERT_NE(browser, nullptr);
    EXPECT_NE(ChildTexts(browser).find(kBrowserTitle), std::wstring::npos)
        << "the browser shows the title";
    ChooseInBrowser(browser, target);
    HWND box = WaitForMessageBox(p);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(ChildTexts(box).find(kFileCreated), std::wstring::npos);
    EXPECT_TRUE(WaitFor([&] { return MessageBoxIconColour(box) == IconColour::Blue; }, 3s))
        << "the information icon";
    CloseMessageBox(p, box);

    EXPECT_TRUE(p.Running()) << "the dialog stays open after confirming";
    EXPECT_TRUE(IsWindowVisible(p.Settings()));
    EXPECT_EQ(ReadFileBytes(JoinPath(target, kFileName)), Fixture(L"full-form.dat"));
    EXPECT_EQ(ReadFileBytes(p.StoredFile()), Fixture(L"full-form.dat"));

    PostClick(p.Item(IDCANCEL));
    ASSERT_TRUE(p.WaitForExit());
    Relaunch(p);
    const Form f = ReadForm(p);
    EXPECT_TRUE(f.fixed);
    EXPECT_EQ(f.addresses[2], L"192.168.0.1");
    EXPECT_EQ(f.guardText, L"開啟");
    EXPECT_EQ(f.ring, L"3");
    EXPECT_EQ(f.push, L"http://push.example.com/call\r\n中文推送");
    EXPECT_EQ(f.key, L"密鑰Key123");
}

// A foreign file saves the values it shows; lone CR and LF in the push address stay.
TEST_F(E2e, AnUntouchedFormSavesTheFreshRecordAndAForeignFileSavesItsShownValues) {
    struct Case {
        const wchar_t* stored;  // nullptr: no stored file
        const wchar_t* expected;
    };
    for (const Case c :
         {Case{nullptr, L"fresh-form.dat"}, Case{L"foreign.dat", L"foreign-saved.dat"},
          Case{L"line-breaks.dat", L"line-breaks.dat"}}) {
        SCOPED_TRACE(c.expected);
        Program& p = c.stored ? Launch(Fixture(c.stored)) : Launch();
        if (c.stored != nullptr && std::wstring(c.stored) == L"foreign.dat") {
            // Guard 5 selects no entry; the key and ring count show as stored.
            const Form f = ReadForm(p);
            EXPECT_EQ(f.guard, CB_ERR);
            EXPECT_EQ(f.guardText, L"");
            EXPECT_EQ(f.ring, L"-5");
            EXPECT_TRUE(f.automatic);
        }
        const std::wstring target = DesktopTarget();
        EXPECT_NE(ConfirmInto(p, target).find(kFileCreated), std::wstring::npos);
        EXPECT_EQ(ReadFileBytes(JoinPath(target, kFileName)), Fixture(c.expected));
    }
}

TEST_F(E2e, CancellingTheFolderBrowserWritesNothing) {
    Program& p = Launch();
    const std::wstring target = DesktopTarget();
    HWND browser = OpenBrowser(p);
    ASSERT_NE(browser, nullptr);
    PostClick(GetDlgItem(browser, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
    p.WaitUntilIdle();
    EXPECT_EQ(TopLevelWindows(p.ProcessId()), std::vector<HWND>{p.Settings()}) << "no message";
    EXPECT_FALSE(FileExists(p.StoredFile()));
    EXPECT_FALSE(FileExists(JoinPath(DesktopFolder(), kFileName)));
    EXPECT_TRUE(p.Running());
}

// The browser is modal over the settings window: clicks on 確定 and 退出 reach nothing
// while it is open, and afterwards the window works as before.
TEST_F(E2e, TheFolderBrowserIsModalOverTheSettingsWindow) {
    Program& p = Launch();
    const std::wstring target = DesktopTarget();
    HWND browser = OpenBrowser(p, true);  // the same on-screen click works while it is shut
    ASSERT_NE(browser, nullptr);
    EXPECT_FALSE(IsWindowEnabled(p.Settings())) << "the settings window takes no input";

    // Out of the way of the buttons, so that a click there finds the settings window.
    const RECT form = WindowRect(p.Settings());
    const RECT seen = WindowRect(browser);
    SetWindowPos(browser, nullptr, form.right, seen.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    p.WaitUntilIdle();
    for (const int button : {IDOK, IDCANCEL}) {
        ClickOnScreen(p.Item(button));
        Sleep(300);
        p.WaitUntilIdle();
    }
    EXPECT_EQ(Browsers(p), std::vector<HWND>{browser}) << "no second browser";
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindowVisible(p.Settings())) << "退出 did not close the window";

    ChooseInBrowser(browser, target);
    HWND box = WaitForMessageBox(p);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(ChildTexts(box).find(kFileCreated), std::wstring::npos);
    CloseMessageBox(p, box);
    EXPECT_EQ(ReadFileBytes(JoinPath(target, kFileName)), Fixture(L"fresh-form.dat"));
    EXPECT_TRUE(IsWindowEnabled(p.Settings()));

    // As before: 確定 opens one browser, and 退出 ends the program.
    browser = OpenBrowser(p, true);
    ASSERT_NE(browser, nullptr);
    PostClick(GetDlgItem(browser, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
    p.WaitUntilIdle();
    EXPECT_TRUE(IsWindowEnabled(p.Settings()));
    ClickOnScreen(p.Item(IDCANCEL));
    EXPECT_TRUE(p.WaitForExit());
}

TEST_F(E2e, AFailedWriteIsReportedAndLeavesTheOldFilesAlone) {
    // A folder named device_config.dat stands where the file should go.
    Program& p = Launch(Fixture(L"full-form.dat"));
    const std::wstring target = DesktopTarget();
    const std::wstring blocked = JoinPath(target, kFileName);
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    SetWindowTextW(p.Item(IDC_RING_LIMIT), L"");
    Type(p.Item(IDC_RING_LIMIT), L"7");

    HWND browser = OpenBrowser(p);
    ASSERT_NE(browser, nullptr);
    ChooseInBrowser(browser, target);
    HWND box = WaitForMessageBox(p);
    ASSERT_NE(box, nullptr);
    const std::wstring text = ChildTexts(box);
    EXPECT_NE(text.find(kWriteFailed), std::wstring::npos) << "the error message";
    EXPECT_NE(text.find(blocked), std::wstring::npos) << "names the path";
    EXPECT_EQ(text.find(kFileCreated), std::wstring::npos) << "claims no success";
    EXPECT_TRUE(WaitFor([&] { return MessageBoxIconColour(box) == IconColour::Red; }, 3s))
        << "the error icon";
    CloseMessageBox(p, box);

    EXPECT_TRUE(p.Running());
    const DWORD attributes = GetFileAttributesW(blocked.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    EXPECT_EQ(ReadFileBytes(p.StoredFile()), Fixture(L"full-form.dat"))
        << "the stored copy is not touched";
}

TEST_F(E2e, TheKeyTakesAtMost63BytesInTheCodePage) {
    Program& p = Launch();
    HWND key = p.Item(IDC_CIPKEY);

    Type(key, std::wstring(63, L'a'));
    EXPECT_EQ(WindowText(key), std::wstring(63, L'a'));
    Type(key, L"b");
    EXPECT_EQ(WindowText(key), std::wstring(63, L'a')) << "the 64th byte is refused";

    // Chinese characters take two bytes each: 31 of them are 62 bytes.
    SetWindowTextW(key, L"");
    Type(key, std::wstring(31, L'密'));
    Type(key, L"鑰");
    EXPECT_EQ(WindowText(key), std::wstring(31, L'密')) << "64 bytes would not fit";
    Type(key, L"x");
    EXPECT_EQ(WindowText(key), std::wstring(31, L'密') + L"x");

    // A paste inserts as much as fits, whole characters only.
    SetWindowTextW(key, L"");
    Type(key, std::wstring(60, L'k'));
    Paste(key, L"ab中文");
    EXPECT_EQ(WindowText(key), std::wstring(60, L'k') + L"ab") << "中 would take 64 bytes";
    Paste(key, L"z");
    EXPECT_EQ(WindowText(key), std::wstring(60, L'k') + L"ab" + L"z");
    SetWindowTextW(key, L"");
    Paste(key, std::wstring(70, L'p'));
    EXPECT_EQ(WindowText(key), std::wstring(63, L'p'));
}

TEST_F(E2e, ALongerStoredKeyIsShownWholeAndSavedCutAtTheLimit) {
    Bytes stored = Fixture(L"full-form.dat");
    const std::string longKey(100, 'q');
    std::fill(stored.begin() + 908, stored.end(), 0);
    std::copy(longKey.begin(), longKey.end(), stored.begin() + 908);
    Program& p = Launch(stored);
    HWND key = p.Item(IDC_CIPKEY);
    EXPECT_EQ(WindowText(key), std::wstring(100, L'q'));
    Type(key, L"x");
    EXPECT_EQ(WindowText(key), std::wstring(100, L'q')) << "nothing can be added";

    const std::wstring target = DesktopTarget();
    ConfirmInto(p, target);
    const std::optional<Bytes> written = ReadFileBytes(JoinPath(target, kFileName));
    ASSERT_TRUE(written);
    ASSERT_EQ(written->size(), 1036u);
    EXPECT_EQ(std::string(written->begin() + 908, written->begin() + 908 + 64),
              std::string(63, 'q') + '\0');
}

TEST_F(E2e, TheRingCountTakesAtMostNineDigitsTypedOrPasted) {
    Program& p = Launch();
    HWND ring = p.Item(IDC_RING_LIMIT);
    Type(ring, L"1a2-3 ");
    EXPECT_EQ(WindowText(ring), L"123");
    Paste(ring, L"45x");
    EXPECT_EQ(WindowText(ring), L"123") << "a paste with a non-digit is refused";
    Paste(ring, L"456789012");
    EXPECT_EQ(WindowText(ring), L"123456789");
    Type(ring, L"0");
    EXPECT_EQ(WindowText(ring), L"123456789");
}

TEST_F(E2e, TheSystemMenuOpensTheAboutBoxForCommands0x10To0x1F) {
    Program& p = Launch(Fixture(L"full-form.dat"));
    const Form before = ReadForm(p);

    for (const WPARAM command : {WPARAM{0x0010}, WPARAM{0x001F}}) {
        SCOPED_TRACE(command);
        PostMessageW(p.Settings(), WM_SYSCOMMAND, command, 0);
        HWND about = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            about = FindDialog(p.ProcessId(), kAboutCaption, p.Settings());
            return about != nullptr;
        }));
        EXPECT_NE(ChildTexts(about).find(L"Tavrel Version 1.0"), std::wstring::npos);
        EXPECT_LE(CentreOffset(about, WindowRect(p.Settings())), 1) << "centred over its owner";
        EXPECT_FALSE(IsWindowEnabled(p.Settings())) << "the settings window takes no input";
        if (command == 0x0010) {
            PostClick(GetDlgItem(about, IDOK));
        } else {
            PostKey(GetDlgItem(about, IDOK), VK_ESCAPE);
        }
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
        p.WaitUntilIdle();
        EXPECT_TRUE(IsWindowEnabled(p.Settings()));
    }

    SendMessageW(p.Settings(), WM_SYSCOMMAND, 0x0020, 0);
    EXPECT_EQ(TopLevelWindows(p.ProcessId()), std::vector<HWND>{p.Settings()});

    const Form after = ReadForm(p);
    EXPECT_EQ(after.addresses, before.addresses);
    EXPECT_EQ(after.key, before.key);
    EXPECT_EQ(after.push, before.push);
}

TEST_F(E2e, ExitButtonEscapeAndCloseEndTheProgramWritingNothing) {
    enum class Way { ExitButton, Escape, CloseCommand };
    for (const Way way : {Way::ExitButton, Way::Escape, Way::CloseCommand}) {
        SCOPED_TRACE(static_cast<int>(way));
        Program& p = Launch();
        Type(p.Item(IDC_RING_LIMIT), L"5");
        switch (way) {
            case Way::ExitButton:
                PostClick(p.Item(IDCANCEL));
                break;
            case Way::Escape:
                PostKey(p.Item(IDOK), VK_ESCAPE);
                break;
            case Way::CloseCommand:
                PostMessageW(p.Settings(), WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
        }
        EXPECT_TRUE(p.WaitForExit());
        EXPECT_FALSE(FileExists(p.StoredFile()));
    }
    EXPECT_FALSE(FileExists(JoinPath(DesktopFolder(), kFileName)));
}

}  // namespace
