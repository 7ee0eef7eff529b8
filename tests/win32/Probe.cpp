// tavrel_probe.exe: works a running tavrel.exe for the scripts in tools/ (screenshots,
// start-up measurement). Runs under Wine in the same prefix as the program.
//
//   tavrel_probe settings        wait for the settings window; print "x y width height"
//   tavrel_probe about           open the About box from the system menu; print its place
//   tavrel_probe close           close the About box (if open) and the settings window
//   tavrel_probe startup EXE FLOOR-EXE RUNS
//                                start EXE (with tests/data/full-form.dat stored beside
//                                a copy of it) and FLOOR-EXE (tavrel_startup_floor.exe)
//                                by turns, RUNS times each; print the milliseconds from
//                                process creation to the stored values on screen (to the
//                                floor program's window on screen), and their ratio
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"

using namespace tavrel::e2e;

namespace {

constexpr wchar_t kAboutCaption[] = L"關於Tavrel";
constexpr wchar_t kFloorCaption[] = L"Tavrel start-up floor";
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

// One start of a program copied into a temporary folder (with `stored` beside it, when
// given): the milliseconds from just before process creation until `ready` holds, or a
// negative number when it never did. The program is closed afterwards. `ready` is polled
// about every millisecond, so the figure is not rounded up to a coarse polling step.
double TimeOneStart(const std::wstring& exe, const std::wstring& name,
                    const std::optional<Bytes>& stored, const wchar_t* caption,
                    const std::function<bool(HWND)>& ready) {
    const std::wstring folder = MakeTemporaryFolder(L"tavrel-startup-");
    const std::wstring copy = JoinPath(folder, name);
    CopyFileW(exe.c_str(), copy.c_str(), FALSE);
    if (stored) {
        WriteFileBytes(JoinPath(folder, L"device_config.dat"), *stored);
    }
    std::wstring commandLine = L"\"" + copy + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        RemoveTree(folder);
        return -1;
    }
    timeBeginPeriod(1);
    HWND window = nullptr;
    bool shown = false;
    LARGE_INTEGER end{};
    for (int i = 0; i < 30000 && !shown; ++i) {
        window = FindTopLevel(caption);
        shown = window != nullptr && IsWindowVisible(window) && ready(window);
        QueryPerformanceCounter(&end);
        if (!shown) {
            Sleep(1);
        }
    }
    timeEndPeriod(1);
    if (shown) {
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        std::fprintf(stderr, "tavrel_probe: %ls: window %s%s, process %s\n", name.c_str(),
                     window == nullptr ? "not found" : "found",
                     window != nullptr && !IsWindowVisible(window) ? " but hidden" : "",
                     exitCode == STILL_ACTIVE ? "running" : "ended");
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RemoveTree(folder);
    if (!shown) {
        return -1;
    }
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    return n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

void PrintSummary(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    std::printf("%-8s median %5.1f ms  (min %5.1f, quartiles %5.1f..%5.1f, max %5.1f)\n", name,
                Median(times), times.front(), times[n / 4], times[(3 * n) / 4], times.back());
}

// Starts the floor program and tavrel.exe by turns, RUNS times each, so that both see the
// same machine; prints every run, then medians, spread and tavrel.exe's median over the
// floor's.
int Startup(const std::wstring& exe, const std::wstring& floorExe, int runs) {
    const Bytes stored = Fixture(L"full-form.dat");
    const auto showsStoredValues = [](HWND settings) {
        return AddressText(GetDlgItem(settings, kIpAddressId)) == L"192.168.0.20";
    };
    const auto shows = [](HWND) { return true; };
    std::vector<double> floorTimes;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double floorTime =
            TimeOneStart(floorExe, L"tavrel_startup_floor.exe", std::nullopt, kFloorCaption, shows);
        if (floorTime < 0) {
            std::fprintf(stderr, "tavrel_probe: the floor program's window did not show\n");
            return 1;
        }
        const double time =
            TimeOneStart(exe, L"tavrel.exe", stored, kSettingsCaption, showsStoredValues);
        if (time < 0) {
            std::fprintf(stderr, "tavrel_probe: the stored values did not show\n");
            return 1;
        }
        floorTimes.push_back(floorTime);
        times.push_back(time);
        std::printf("run %2d: floor %5.1f ms, tavrel %5.1f ms\n", run + 1, floorTime, time);
        std::fflush(stdout);
    }
    PrintSummary("floor", floorTimes);
    PrintSummary("tavrel", times);
    const double floorMedian = Median(floorTimes);
    const double median = Median(times);
    std::printf("tavrel / floor: %.2f (%.1f ms above the floor)\n", median / floorMedian,
                median - floorMedian);
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
    if (command == L"startup" && argc > 4) {
        return Startup(argv[2], argv[3], std::max(1, _wtoi(argv[4])));
    }
    std::fprintf(stderr,
                 "usage: tavrel_probe settings | about | close | startup EXE FLOOR-EXE RUNS\n");
    return 2;
}
