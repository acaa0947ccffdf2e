// How long each dialog of the plug-ins takes to become visible, next to the same template shown
// bare by DialogBoxParamA, and next to its floor: the bare templates making the platform calls
// the entry point made, recorded from it once; how the cost grows with the level-set folders and
// the games played; the registry calls of each entry point; the size and imports of each DLL.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CallLedger.h"
#include "Floor.h"
#include "Installation.h"
#include "Plugin.h"
#include "Recorder.h"

namespace {
const char* const kWorld = "dZORV_Bench";
const int kWarmUp = 3;
const int kRuns = 25;

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return 1000.0 * count.QuadPart / frequency.QuadPart;
}

// ---- Seeing a dialog appear, on the thread that shows it, and answering it.
//
// Hooks on the calling thread note each dialog as it is created, and at every message a loop
// takes from the queue look for those that have turned visible since: the modal loop shows its
// dialog when it first finds the queue empty, and the next message it takes is the dialog's own
// painting or activation. The answer is posted at once: no polling thread competes for the
// processor. These hooks see no sent messages: Wine runs a WH_CALLWNDPROC hook through its
// server at every message sent, about 0.17 ms for each CB_ADDSTRING, which would be charged to
// every message a plug-in sends.

struct Watch {
    std::string target;   // caption whose showing is timed
    std::string clickOn;  // when this one shows, its button 104 is clicked and the clock starts
    double start = 0, shown = 0;
    HWND clicked = nullptr;
    std::vector<HWND> hidden;  // dialogs created and not seen visible yet
};
Watch watch;

std::string captionOf(HWND window) {
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool isDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return strcmp(name, "#32770") == 0;
}

void post(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void onShown(HWND dialog, double at) {
    const std::string caption = captionOf(dialog);
    if (caption == watch.target && !watch.shown) watch.shown = at;
    if (caption == watch.clickOn && !watch.clicked) {
        watch.clicked = dialog;
        watch.start = now();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(104, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, 104)));
        return;
    }
    // The notice and the name entry are accepted, everything else cancelled.
    const bool accept = caption.find("Info") != std::string::npos || caption.find("Of Fame") != std::string::npos;
    post(dialog, accept ? IDOK : IDCANCEL);
}

LRESULT CALLBACK onTaken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const double at = now();
        auto& hidden = watch.hidden;
        for (size_t i = 0; i < hidden.size();) {
            if (!IsWindowVisible(hidden[i])) {
                ++i;
                continue;
            }
            const HWND shown = hidden[i];
            hidden.erase(hidden.begin() + i);
            onShown(shown, at);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK onWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && isDialog(window)) {
        watch.hidden.push_back(window);
    } else if (code == HCBT_DESTROYWND && isDialog(window)) {
        auto& hidden = watch.hidden;
        hidden.erase(std::remove(hidden.begin(), hidden.end(), window), hidden.end());
        // The nested dialog is gone: close the one it came from.
        if (watch.clicked && window != watch.clicked) post(watch.clicked, IDCANCEL);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Milliseconds from the start of action (or the click) to the target dialog showing.
double timeShowing(const char* target, const char* clickOn, const std::function<void()>& action) {
    watch = Watch();
    watch.target = target;
    watch.clickOn = clickOn ? clickOn : "";
    HHOOK windows = SetWindowsHookExA(WH_CBT, onWindow, nullptr, GetCurrentThreadId());
    HHOOK taken = SetWindowsHookExA(WH_GETMESSAGE, onTaken, nullptr, GetCurrentThreadId());
    watch.start = now();
    action();
    UnhookWindowsHookEx(taken);
    UnhookWindowsHookEx(windows);
    return watch.shown ? watch.shown - watch.start : -1;
}

// ---- The bare templates: no initialisation work at all; optionally one nested template,
// opened from the outer one's initialisation or from a click on its button 104.

struct Bare {
    HMODULE module;
    int outer, inner;
    bool innerOnClick;
};
const Bare* bare = nullptr;

INT_PTR CALLBACK bareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool outer = lParam == 1;
    if (message == WM_INITDIALOG) {
        if (outer && bare->inner && !bare->innerOnClick)
            DialogBoxParamA(bare->module, MAKEINTRESOURCEA(bare->inner), GetActiveWindow(), bareProc, 0);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == 104 && bare->innerOnClick) {
        DialogBoxParamA(bare->module, MAKEINTRESOURCEA(bare->inner), GetActiveWindow(), bareProc, 0);
        return TRUE;
    }
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
    return id == IDOK || id == IDCANCEL;
}

void showBare(const Bare& what) {
    bare = &what;
    DialogBoxParamA(what.module, MAKEINTRESOURCEA(what.outer), nullptr, bareProc, 1);
}

// ---- The dialogs measured.

struct Statistics {
    double median, q1, q3;
};

Statistics statisticsOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    auto at = [&](double fraction) { return samples[static_cast<size_t>(fraction * (n - 1) + 0.5)]; };
    return {at(0.5), at(0.25), at(0.75)};
}

struct Flow {
    const char* dialog;
    const char* dll;
    const char* caption;
    const char* clickOn;          // nested behind a click on this dialog's button 104
    std::function<void()> setUp;  // registry state before each run
    std::function<void(Plugin&)> call;
    int templateId;     // the dialog's own template
    int outerTemplate;  // the template it is nested in, or 0
};

// ---- One entry-point call recorded at the plug-in's own imports.

struct Recording {
    Script script;
    int opens, queries, sets, closes, searches;
};

Recording record(const Flow& flow, Plugin& plugin) {
    flow.setUp();
    Recorder recorder(plugin.module);
    timeShowing(flow.caption, flow.clickOn, [&] { flow.call(plugin); });
    return {recorder.script(),
            recorder.count(Api::RegOpenKeyExA),
            recorder.count(Api::RegQueryValueExA),
            recorder.count(Api::RegSetValueExA),
            recorder.count(Api::RegCloseKey),
            recorder.count(Api::FindFirstFileA) + recorder.count(Api::FindFirstFileW)};
}

void printScript(const char* dialog, const Script& script) {
    printf("\n%s: %zu calls\n", dialog, script.steps.size());
    int phase = -1;
    for (size_t i = 0; i < script.steps.size(); ++i) {
        const Step& step = script.steps[i];
        if (step.phase != phase) printf("  in %s:\n", script.describe(phase = step.phase).c_str());
        printf("    #%-3zu %s\n", i, describe(step).c_str());
    }
}

// ---- The DLL files.

struct FileSize {
    DWORD total, resources;
};

FileSize sizeOf(const char* dll) {
    FileSize size = {0, 0};
    FILE* file = fopen(dll, "rb");
    if (!file) return size;
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    size.total = static_cast<DWORD>(bytes.size());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    const auto* section = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (strncmp(reinterpret_cast<const char*>(section->Name), ".rsrc", 8) == 0)
            size.resources = section->SizeOfRawData;
    return size;
}

std::string importsOf(HMODULE module) {
    static char names[256][64];
    const int count = std::min(listImports(module, names, 256), 256);
    std::string list, dll;
    for (int i = 0; i < count; ++i) {
        const std::string entry = names[i];
        const size_t bang = entry.find('!');
        if (entry.substr(0, bang) != dll) {
            dll = entry.substr(0, bang);
            list += "\n    " + dll + ":";
        }
        list += " " + entry.substr(bang + 1);
    }
    return std::to_string(count) + " functions" + list;
}

void resetWorld(DWORD noticeFlag) {
    reg::deleteTree(kWorld);
    reg::createKey(kWorld);
    reg::setDword(kWorld, "NoShowOrvaneInfoDlg", noticeFlag);
}

void score(Plugin& plugin, const char* text) {
    char buffer[32];
    strcpy(buffer, text);
    plugin.score(buffer, 0);
}

void start(Plugin& plugin) {
    char buffer[300];
    plugin.start(buffer, 0);
}

void printStatistics(const Statistics& s) { printf(" %6.2f [%6.2f %6.2f]", s.median, s.q1, s.q3); }

// ---- Growth: with more level-set folders, and after more games in one process. Each size
// has its floor beside it in the same loop, recorded at that size: what the platform's part of
// the growth is, and a check on the machine's own drift.

const int kGrowthWarmUp = 2;
const int kGrowthRuns = 15;

void printGrowthHeading(const char* what, const char* size) {
    printf("\n%s (%d runs):\n", what, kGrowthRuns);
    printf("  %6s %24s %24s %5s\n", size, "plug-in", "floor", "ratio");
}

struct Paired {
    std::vector<double> real, floor;
};

// The entry point and its floor, interleaved, the setting up (if any) before each.
Paired timePaired(const Flow& flow, Plugin& plugin, Floor& floor, const std::function<void()>& setUp, int warmUp) {
    Paired times;
    for (int run = 0; run < warmUp + kGrowthRuns; ++run) {
        double took[2] = {};
        for (int k = 0; k < 2; ++k) {
            const int which = (run + k) % 2;
            if (setUp) setUp();
            took[which] = which ? timeShowing(flow.caption, flow.clickOn, [&] { floor.run(); })
                                : timeShowing(flow.caption, flow.clickOn, [&] { flow.call(plugin); });
        }
        if (run < warmUp) continue;
        times.real.push_back(took[0]);
        times.floor.push_back(took[1]);
    }
    return times;
}

void printGrowthRow(int size, const Paired& times) {
    const Statistics r = statisticsOf(times.real), f = statisticsOf(times.floor);
    printf("  %6d", size);
    printStatistics(r);
    printStatistics(f);
    printf(" %5.2f\n", r.median / f.median);
}

void customLevelsGrowth(Installation& install, const Flow& flow, Plugin& quibbix) {
    printGrowthHeading("Custom levels selection, from the click on User to visible, by level-set folders", "sets");
    int sets = 3;  // Alpha, beta and zeta
    for (int wanted : {10, 100, 1000}) {
        for (; sets < wanted; ++sets) install.addFolder(("games\\quibbix\\Set" + std::to_string(1000 + sets)).c_str());
        const Recording recording = record(flow, quibbix);
        Floor floor(recording.script);
        printGrowthRow(sets, timePaired(flow, quibbix, floor, flow.setUp, kGrowthWarmUp));
    }
}

// Games of both modes with scores spread so that some make the table (and ask for a name) and
// most do not; each timed one scores 0, shows the tables and asks nothing.
void hallOfFameGrowth(const Flow& flow, Plugin& quibbix) {
    printGrowthHeading("Quibbix hall of fame, time to visible after games played in this process (each run a game)",
                       "games");
    const Recording recording = record(flow, quibbix);
    Floor floor(recording.script);
    int played = 1;
    unsigned seed = 12345;
    for (int wanted : {1, 100, 1000}) {
        for (; played < wanted; ++played) {
            seed = seed * 1103515245u + 12345u;
            char text[32];
            snprintf(text, sizeof text, "%s*%u*%u", played % 2 ? "user" : "random", (seed >> 8) % 1000,
                     1 + (seed >> 20) % 9);
            timeShowing(flow.caption, nullptr, [&] { score(quibbix, text); });
        }
        printGrowthRow(wanted, timePaired(flow, quibbix, floor, nullptr, 0));
        played += kGrowthRuns;
    }
}

// ---- The table.

// One dialog beside its bare template, bare chain and floor: the samples of each.
struct Measured {
    explicit Measured(const Flow& f) : flow(f), plugin(f.dll) {}
    const Flow& flow;
    Plugin plugin;
    Recording recording;
    std::unique_ptr<Floor> floor;
    std::vector<double> times[4];
};

// One run of the four, each after the registry state is set up, in an order that turns with
// every run so that none always comes first.
void measureOnce(Measured& m, int run) {
    const Flow& flow = m.flow;
    const Bare alone = {m.plugin.module, flow.templateId, 0, false};
    const Bare chain = {m.plugin.module, flow.outerTemplate, flow.templateId, flow.clickOn != nullptr};
    const Bare& bareAlone = flow.clickOn ? chain : alone;  // a click away either way
    const std::function<void()> actions[4] = {
        [&] { flow.call(m.plugin); },
        [&] { showBare(bareAlone); },
        [&] { showBare(chain); },
        [&] { m.floor->run(); },
    };
    double took[4] = {};
    for (int k = 0; k < 4; ++k) {
        const int which = (run + k) % 4;
        if (which == 2 && !flow.outerTemplate) continue;  // the chain is the template itself
        flow.setUp();
        took[which] = timeShowing(flow.caption, flow.clickOn, actions[which]);
        if (took[which] < 0) printf("%s: a dialog did not show\n", flow.dialog);
    }
    if (!flow.outerTemplate) took[2] = took[1];
    if (run < kWarmUp) return;
    for (int k = 0; k < 4; ++k) m.times[k].push_back(took[k]);
}

// Each dialog beside its bare template, bare chain and floor, with the problems the recording
// and the floors met.
void printTable(const std::vector<Flow>& flows) {
    printf("Time to visible, ms: median [interquartile range] of %d runs after %d warm-up runs\n", kRuns, kWarmUp);
    printf(
        "(bare: the same template by DialogBoxParamA with no work; chain: the bare templates it is nested in too;\n"
        " floor: the bare chain making the platform calls the entry point made, recorded from it once;\n"
        " paired: the median of each run's plug-in / floor)\n\n");
#if defined(__i386__)
    const char* const target = "i686";
#else
    const char* const target = "x86_64";
#endif
    printf("%-21s %24s %24s %5s %24s %5s %24s %5s %6s %5s  %s\n", target, "plug-in", "bare template", "ratio",
           "bare chain", "ratio", "floor", "ratio", "paired", "<1.10", "registry o/q/s/c, searches");
    std::vector<std::unique_ptr<Measured>> all;
    for (const Flow& flow : flows) {
        auto m = std::make_unique<Measured>(flow);
        if (!m->plugin.module) {
            printf("%-21s cannot load %s\n", flow.dialog, flow.dll);
            continue;
        }
        m->recording = record(flow, m->plugin);
        m->floor = std::make_unique<Floor>(m->recording.script);
        all.push_back(std::move(m));
    }
    // Each run goes through every dialog: other work on the machine, which comes in bursts,
    // then falls on all of them alike rather than on one.
    for (int run = 0; run < kWarmUp + kRuns; ++run)
        for (auto& m : all) measureOnce(*m, run);
    std::vector<std::string> problems;
    for (const auto& m : all) {
        const Statistics real = statisticsOf(m->times[0]), floor = statisticsOf(m->times[3]);
        const Statistics bareOne = statisticsOf(m->times[1]), chain = statisticsOf(m->times[2]);
        // The median of each run's plug-in / floor: the machine's drift between runs cancels.
        std::vector<double> ratios;
        for (size_t i = 0; i < m->times[0].size(); ++i) ratios.push_back(m->times[0][i] / m->times[3][i]);
        const Recording& r = m->recording;
        printf("%-21s", m->flow.dialog);
        printStatistics(real);
        printStatistics(bareOne);
        printf(" %5.2f", real.median / bareOne.median);
        printStatistics(chain);
        printf(" %5.2f", real.median / chain.median);
        printStatistics(floor);
        const double ratio = real.median / floor.median;
        printf(" %5.2f %6.2f %5s  %d/%d/%d/%d, %d\n", ratio, statisticsOf(ratios).median, ratio <= 1.10 ? "yes" : "no",
               r.opens, r.queries, r.sets, r.closes, r.searches);
        for (const std::string& problem : r.script.problems)
            problems.push_back(std::string(m->flow.dialog) + ": recorded " + problem);
        for (const std::string& difference : m->floor->differences())
            problems.push_back(std::string(m->flow.dialog) + ": floor " + difference);
    }
    for (const std::string& problem : problems) printf("  %s\n", problem.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    const bool listCalls = argc > 1 && strcmp(argv[1], "--calls") == 0;
    const bool growthOnly = argc > 1 && strcmp(argv[1], "--growth") == 0;
    Installation install;
    install.addWorld(kWorld);
    install.setCurrentWorld(kWorld);
    install.addFolder("games");
    install.addFolder("games\\quibbix");
    for (const char* set : {"Alpha", "beta", "zeta"})
        install.addFolder((std::string("games\\quibbix\\") + set).c_str());
    // Stored tables to show, and a table full enough that a score of 0 asks for no name.
    auto stored = [] {
        resetWorld(1);
        const char* names[] = {"ACE", "BOB", "CY"};
        for (const char* prefix : {"Orvanedefault", "QuibbixRandom", "QuibbixUser"}) {
            for (int rank = 1; rank <= 3; ++rank) {
                const std::string r = std::to_string(rank);
                reg::setString(kWorld, (prefix + std::string("Name") + r).c_str(), names[rank - 1]);
                reg::setString(kWorld, (prefix + std::string("Level") + r).c_str(), r.c_str());
                reg::setString(kWorld, (prefix + std::string("Score") + r).c_str(),
                               std::to_string(400 - 100 * rank).c_str());
            }
        }
    };
    auto flagSet = [] { resetWorld(1); };
    auto flagClear = [] { resetWorld(0); };

    const std::vector<Flow> flows = {
        {"Orvane start", "orvane.dll", "Orvane Start Game Dialog", nullptr, flagSet, start, 101, 0},
        {"Slow-system notice", "orvane.dll", "Orvane Info", nullptr, flagClear, start, 131, 101},
        {"Orvane hall of fame", "orvane.dll", "Orvane Hall of Fame", nullptr, stored,
         [](Plugin& p) { score(p, "default*0*1"); }, 107, 0},
        {"Name entry", "orvane.dll", "Orvane Hall Of Fame", nullptr, flagSet,
         [](Plugin& p) { score(p, "default*1500*3"); }, 123, 107},
        {"Quibbix start", "quibbix.dll", "Quibbix Start Game Dialog", nullptr, flagSet, start, 128, 0},
        {"Custom levels", "quibbix.dll", "Quibbix Custom Levels Selection", "Quibbix Start Game Dialog", flagSet, start,
         131, 128},
        {"Quibbix hall of fame", "quibbix.dll", "Quibbix Hall of Fame", nullptr, stored,
         [](Plugin& p) { score(p, "random*0*1"); }, 107, 0},
    };

    if (listCalls) {
        for (const Flow& flow : flows) {
            Plugin plugin(flow.dll);
            if (plugin.module) printScript(flow.dialog, record(flow, plugin).script);
        }
        return 0;
    }

    if (!growthOnly) printTable(flows);
    {
        Plugin quibbix("quibbix.dll");
        customLevelsGrowth(install, flows[5], quibbix);
        hallOfFameGrowth(flows[6], quibbix);
    }
    if (growthOnly) return 0;
    printf("\n%-12s %10s %10s %16s\n", "DLL", "bytes", ".rsrc", "without .rsrc");
    for (const char* dll : {"orvane.dll", "quibbix.dll"}) {
        const FileSize size = sizeOf(dll);
        printf("%-12s %10lu %10lu %16lu\n", dll, size.total, size.resources, size.total - size.resources);
    }
    for (const char* dll : {"orvane.dll", "quibbix.dll"}) {
        Plugin plugin(dll);
        printf("\nImports of %s: %s\n", dll, importsOf(plugin.module).c_str());
    }
    return 0;
}
