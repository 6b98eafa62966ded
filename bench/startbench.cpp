// Start-up timer: how long programs take from their start to a visible popup
// menu (a window of class "#32768" of their process).
//
//   startbench.exe RUNS NAME_A "COMMAND LINE A" NAME_B "COMMAND LINE B" ...
//
// The programs take turns, one warm-up start each first. For every start the
// time to the process's first window (shown or not) and to its menu are
// taken; then the menu is closed with a posted Escape (a terminated process
// as the last resort) and the program's end is awaited. Prints every start,
// then the median, quartiles and extremes per program, and the ratio of the
// first program's median menu time to the last one's.
//
// A NAME of the form NAME=FILE deletes FILE before each start of that
// program (an icon cache, so that every start writes it anew). Each start
// runs with TAVRIK_TIMING naming a file; a program that appends its
// start-up phases there has their medians printed beside its totals:
// "name=ms" is a point of its run, counted from its creation and shifted
// here onto the harness's clock (from the CreateProcess call, as the totals),
// "name+ms" time spent in some work.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string name;
    std::string command_line;
    std::string remove;  // a file deleted before each start
    std::vector<double> window_ms;
    std::vector<double> menu_ms;
    std::map<std::string, std::vector<double>> phases;  // in the order of names below
    std::vector<std::string> phase_names;
    int forced = 0;  // starts that had to be terminated
};

const char kTimingFile[] = "startbench-phases.txt";

// The phases a start appended, kept by name in their first order; points of
// the run are moved by created_ms, the process's creation on our clock.
void take_phases(Program &program, double created_ms) {
    FILE *file = fopen(kTimingFile, "rb");
    if (!file) return;
    char line[2048];
    if (fgets(line, sizeof line, file)) {
        if (program.phase_names.empty()) program.phase_names.push_back("created");
        program.phases["created"].push_back(created_ms);
        for (char *pair = strtok(line, " \r\n"); pair; pair = strtok(nullptr, " \r\n")) {
            size_t name_length = strcspn(pair, "=+");
            if (!pair[name_length]) continue;
            double ms = atof(pair + name_length + 1) + (pair[name_length] == '=' ? created_ms : 0);
            std::string name(pair, name_length);
            if (pair[name_length] == '+') name += "+";
            std::vector<double> &values = program.phases[name];
            if (values.empty()) program.phase_names.push_back(name);
            values.push_back(ms);
        }
    }
    fclose(file);
}

struct Search {
    DWORD process;
    HWND any_window;
    HWND menu;
};

BOOL CALLBACK visit_window(HWND window, LPARAM data) {
    Search *search = (Search *)data;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process) return TRUE;
    if (!search->any_window) search->any_window = window;
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window)) {
        search->menu = window;
        return FALSE;
    }
    return TRUE;
}

long long file_time(const FILETIME &t) {
    return (long long)(((unsigned long long)t.dwHighDateTime << 32) | t.dwLowDateTime);
}

double elapsed_ms(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// One start; false when no menu showed within the time limit.
bool time_start(Program &program, bool keep) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::vector<char> command(program.command_line.begin(), program.command_line.end());
    command.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!program.remove.empty()) DeleteFileA(program.remove.c_str());
    DeleteFileA(kTimingFile);
    FILETIME started_at;
    // Wine now and then refuses a start (an internal error); a second try
    // a moment later goes through.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt) Sleep(500);
        GetSystemTimePreciseAsFileTime(&started_at);
        QueryPerformanceCounter(&start);
        started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info);
    }
    if (!started) {
        fprintf(stderr, "cannot start %s (error %lu)\n", program.command_line.c_str(),
                GetLastError());
        return false;
    }
    Search search = {info.dwProcessId, nullptr, nullptr};
    double window_ms = -1, menu_ms = -1;
    for (;;) {
        EnumWindows(visit_window, (LPARAM)&search);
        QueryPerformanceCounter(&now);
        double ms = elapsed_ms(start, now, frequency);
        if (search.any_window && window_ms < 0) window_ms = ms;
        if (search.menu) {
            menu_ms = ms;
            break;
        }
        if (ms > 20000 || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }

    bool ended = false;
    if (search.menu) {
        for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
            PostMessageA(search.menu, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(search.menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            ended = WaitForSingleObject(info.hProcess, 3000) == WAIT_OBJECT_0;
        }
    }
    if (!ended && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
        ++program.forced;
    }
    CloseHandle(info.hThread);
    if (menu_ms < 0) {
        CloseHandle(info.hProcess);
        fprintf(stderr, "%s: no menu showed\n", program.name.c_str());
        return false;
    }
    if (keep) {
        program.window_ms.push_back(window_ms);
        program.menu_ms.push_back(menu_ms);
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        take_phases(program, (double)(file_time(created) - file_time(started_at)) / 1e4);
    }
    CloseHandle(info.hProcess);
    return true;
}

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    double position = q * (double)(values.size() - 1);
    size_t below = (size_t)position;
    size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (position - (double)below);
}

void summarise(const Program &p) {
    const std::vector<double> &m = p.menu_ms;
    printf(
        "%-8s menu:   median %7.1f ms  quartiles %7.1f .. %7.1f  min %7.1f  max %7.1f  (%zu starts",
        p.name.c_str(), quantile(m, 0.5), quantile(m, 0.25), quantile(m, 0.75), quantile(m, 0.0),
        quantile(m, 1.0), m.size());
    if (p.forced) printf(", %d terminated", p.forced);
    printf(")\n");
    printf("%-8s window: median %7.1f ms  (process start to its first window)\n", p.name.c_str(),
           quantile(p.window_ms, 0.5));
    if (p.phase_names.empty()) return;
    printf("%-8s phases (medians, ms from the process's start; sums of work):\n        ",
           p.name.c_str());
    for (const std::string &name : p.phase_names)
        printf(" %s %.1f", name.c_str(), quantile(p.phases.at(name), 0.5));
    printf(" visible %.1f\n", quantile(p.menu_ms, 0.5));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 4 || (argc - 2) % 2 != 0) {
        fprintf(stderr, "usage: %s RUNS NAME \"COMMAND LINE\" [NAME \"COMMAND LINE\"]...\n",
                argv[0]);
        return 2;
    }
    int runs = atoi(argv[1]);
    if (runs < 1) runs = 1;
    std::vector<Program> programs;
    SetEnvironmentVariableA("TAVRIK_TIMING", kTimingFile);
    for (int i = 2; i + 1 < argc; i += 2) {
        Program p;
        p.name = argv[i];
        size_t equals = p.name.find('=');
        if (equals != std::string::npos) {
            p.remove = p.name.substr(equals + 1);
            p.name.resize(equals);
        }
        p.command_line = argv[i + 1];
        programs.push_back(p);
    }

    for (Program &p : programs) {
        if (!time_start(p, false)) return 1;  // warm-up: caches, fonts, the session
    }
    printf("%4s  %-8s %10s %10s\n", "run", "program", "window ms", "menu ms");
    for (int run = 1; run <= runs; ++run) {
        for (Program &p : programs) {
            if (!time_start(p, true)) return 1;
            printf("%4d  %-8s %10.1f %10.1f\n", run, p.name.c_str(), p.window_ms.back(),
                   p.menu_ms.back());
            fflush(stdout);
        }
    }
    printf("\n");
    for (const Program &p : programs) summarise(p);
    if (programs.size() >= 2) {
        double first = quantile(programs.front().menu_ms, 0.5);
        double last = quantile(programs.back().menu_ms, 0.5);
        printf("ratio of medians (%s / %s): %.2f\n", programs.front().name.c_str(),
               programs.back().name.c_str(), first / last);
    }
    return 0;
}
