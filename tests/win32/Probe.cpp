// tavrel_probe.exe: works a running tavrel.exe for the scripts in tools/ (screenshots,
// start-up measurement). Runs under Wine in the same prefix as the program.
//
//   tavrel_probe settings        wait for the settings window; print "x y width height"
//   tavrel_probe about           open the About box from the system menu; print its place
//   tavrel_probe close           close the About box (if open) and the settings window
//   tavrel_probe startup EXE RUNS  start EXE (with tests/data/full-form.dat stored beside
//                                a copy of it) RUNS times; print the milliseconds from
//                                process creation to the stored values on screen
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Driver.h"

using namespace tavrel::e2e;

namespace {

constexpr wchar_t kAboutCaption[] = L"關於Tavrel";
constexpr int kIpAddressId = 1002;

HWND FindTopLevel(const wchar_t* caption) {
    return FindWindowW(L"#32770", caption);
}

HWND WaitForTopLevel(const wchar_t* caption) {
    HWND window = nullptr;
    WaitFor([&] {
        window = FindTopLevel(caption);
        return window != nullptr && IsWindowVisible(window);
    });
    return window;
}

std::vector<std::uint8_t> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
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
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Waits until the window's pixels on screen have been drawn and stay the same.
void WaitUntilPainted(HWND window) {
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    std::vector<std::uint8_t> last;
    int stable = 0;
    WaitFor(
        [&] {
            std::vector<std::uint8_t> now = ScreenPixels(rect);
            const bool drawn = std::any_of(now.begin(), now.end(), [](auto b) { return b != 0; });
            stable = drawn && now == last ? stable + 1 : 0;
            last = std::move(now);
            return stable >= 3;
        },
        5s);
}

int PrintPlace(HWND window) {
    if (window == nullptr) {
        std::fprintf(stderr, "tavrel_probe: window not found\n");
        return 1;
    }
    SetForegroundWindow(window);  // an active caption, as a person sees it
    WaitUntilPainted(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    return 0;
}

int Startup(const std::wstring& exe, int runs) {
    const Bytes stored = Fixture(L"full-form.dat");
    std::vector<double> times;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        const std::wstring folder = MakeTemporaryFolder(L"tavrel-startup-");
        const std::wstring copy = JoinPath(folder, L"tavrel.exe");
        CopyFileW(exe.c_str(), copy.c_str(), FALSE);
        WriteFileBytes(JoinPath(folder, L"device_config.dat"), stored);
        std::wstring commandLine = L"\"" + copy + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        LARGE_INTEGER start{};
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &process)) {
            std::fprintf(stderr, "tavrel_probe: cannot start the program\n");
            return 1;
        }
        HWND settings = nullptr;
        const bool shown = WaitFor(
            [&] {
                settings = FindTopLevel(kSettingsCaption);
                return settings != nullptr && IsWindowVisible(settings) &&
                       AddressText(GetDlgItem(settings, kIpAddressId)) == L"192.168.0.20";
            },
            30s);
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&end);
        if (shown) {
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
            std::printf("run %d: %.0f ms\n", run + 1, times.back());
            PostMessageW(settings, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        RemoveTree(folder);
        if (!shown) {
            std::fprintf(stderr, "tavrel_probe: the stored values did not show\n");
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("median: %.0f ms over %d runs (min %.0f, max %.0f)\n", times[times.size() / 2],
                runs, times.front(), times.back());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"settings") {
        return PrintPlace(WaitForTopLevel(kSettingsCaption));
    }
    if (command == L"about") {
        HWND settings = WaitForTopLevel(kSettingsCaption);
        if (settings == nullptr) {
            return PrintPlace(nullptr);
        }
        PostMessageW(settings, WM_SYSCOMMAND, 0x0010, 0);
        return PrintPlace(WaitForTopLevel(kAboutCaption));
    }
    if (command == L"close") {
        if (HWND about = FindTopLevel(kAboutCaption)) {
            PostMessageW(about, WM_COMMAND, IDOK, 0);
            WaitFor([&] { return !IsWindow(about); });
        }
        if (HWND settings = FindTopLevel(kSettingsCaption)) {
            PostMessageW(settings, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    }
    if (command == L"startup" && argc > 3) {
        return Startup(argv[2], std::max(1, _wtoi(argv[3])));
    }
    std::fprintf(stderr, "usage: tavrel_probe settings | about | close | startup EXE RUNS\n");
    return 2;
}
