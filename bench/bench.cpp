// How long each dialog of the plug-ins takes to become visible, next to the same template shown
// bare by DialogBoxParamA, and next to its floor: the bare templates making the platform calls
// the entry point made, recorded from it once; how the cost grows with the level-set folders and
// the games played; the registry calls of each entry point.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Floor.h"
#include "Games.h"
#include "Installation.h"
#include "Plugin.h"
#include "StoredTables.h"

namespace {
const char* const kWorld = "dZORV_Bench";
const int kWarmUp = 3, kRuns = 25;
const int kGrowthWarmUp = 2, kGrowthRuns = 15;

// Milliseconds, from the performance counter.
double now() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// ---- Seeing a dialog appear and answering it, on the thread that shows it: hooks note each dialog
// created, and at every message taken from the queue look for those turned visible (the modal
// loop shows its dialog when the queue first runs empty); the driver's answer is posted at once.
// No hook sees sent messages: Wine runs those through its server, 0.17 ms a CB_ADDSTRING.

struct Watch {
    const char* target = nullptr;         // the caption whose showing is timed
    const GameDialog* clickOn = nullptr;  // when it shows, its button is pressed and the clock starts
    double start = 0, shown = 0;
    HWND clicked = nullptr;
    std::vector<HWND> hidden;  // dialogs created and not seen visible yet
};
Watch watch;

void onShown(HWND dialog, double at) {
    char caption[128] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    if (strcmp(caption, watch.target) == 0 && !watch.shown) watch.shown = at;
    if (watch.clickOn && strcmp(caption, watch.clickOn->caption) == 0 && !watch.clicked) {
        watch.clicked = dialog;
        watch.start = now();
        driver::press(dialog, watch.clickOn->button);
        return;
    }
    driver::cancel(dialog);
}

LRESULT CALLBACK onTaken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const double at = now();
        auto& hidden = watch.hidden;
        const auto visible =
            std::stable_partition(hidden.begin(), hidden.end(), [](HWND w) { return !IsWindowVisible(w); });
        const std::vector<HWND> shown(visible, hidden.end());
        hidden.erase(visible, hidden.end());
        for (HWND dialog : shown) onShown(dialog, at);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK onWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && driver::isDialog(window)) {
        watch.hidden.push_back(window);
    } else if (code == HCBT_DESTROYWND && driver::isDialog(window)) {
        auto& hidden = watch.hidden;
        hidden.erase(std::remove(hidden.begin(), hidden.end(), window), hidden.end());
        // The nested dialog is gone: close the one it came from.
        if (watch.clicked && window != watch.clicked) driver::cancel(watch.clicked);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Milliseconds from the start of action (or the press) to the target dialog showing.
double timeShowing(const char* target, const GameDialog* clickOn, const std::function<void()>& action) {
    watch = Watch();
    watch.target = target;
    watch.clickOn = clickOn;
    HHOOK windows = SetWindowsHookExA(WH_CBT, onWindow, nullptr, GetCurrentThreadId());
    HHOOK taken = SetWindowsHookExA(WH_GETMESSAGE, onTaken, nullptr, GetCurrentThreadId());
    watch.start = now();
    action();
    UnhookWindowsHookEx(taken);
    UnhookWindowsHookEx(windows);
    return watch.shown ? watch.shown - watch.start : -1;
}

// ---- The dialogs measured, and one entry-point call of each recorded at the plug-in's imports.

double quantile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<size_t>(fraction * (samples.size() - 1) + 0.5)];
}

// Prints the median and the quartiles; gives the median.
double printed(const std::vector<double>& samples) {
    printf(" %6.2f [%6.2f %6.2f]", quantile(samples, 0.5), quantile(samples, 0.25), quantile(samples, 0.75));
    return quantile(samples, 0.5);
}

struct Flow {
    const char* name;
    const Game& game;
    const GameDialog& dialog;           // the one timed
    const GameDialog* outer;            // the one it is nested in, or null
    bool behindClick;                   // opened by the outer one's button, not by its initialisation
    std::function<void()> setUp;        // registry state before each run
    std::function<void(Plugin&)> call;  // the entry point

    const GameDialog* clickOn() const { return behindClick ? outer : nullptr; }
    double time(const std::function<void()>& action) const { return timeShowing(dialog.caption, clickOn(), action); }
};

Script record(const Flow& flow, Plugin& plugin) {
    flow.setUp();
    return ::record(plugin.module, [&] { flow.time([&] { flow.call(plugin); }); });
}

// The calls of these functions that a script holds.
int calls(const Script& script, std::initializer_list<Api> apis) {
    return static_cast<int>(std::count_if(script.steps.begin(), script.steps.end(), [&](const Step& step) {
        return std::find(apis.begin(), apis.end(), step.kind) != apis.end();
    }));
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

// The entry point and floors of its flow: each run times them all, each after the setting up,
// in an order that turns with every run so that none always comes first.
struct Contest {
    const Flow& flow;
    Plugin& plugin;
    std::vector<Floor*> floors;
    std::vector<std::vector<double>> times;  // the plug-in's, then each floor's

    void timeOnce(int run, bool warmingUp, bool setUp = true) {
        std::vector<double> took(floors.size() + 1);
        for (size_t k = 0; k < took.size(); ++k) {
            const size_t which = (run + k) % took.size();
            if (setUp) flow.setUp();
            took[which] = which ? flow.time([&] { floors[which - 1]->run(); }) : flow.time([&] { flow.call(plugin); });
            if (took[which] < 0) printf("%s: a dialog did not show\n", flow.name);
        }
        times.resize(took.size());
        for (size_t k = 0; k < took.size() && !warmingUp; ++k) times[k].push_back(took[k]);
    }
};

// ---- Growth: with more level-set folders, and after more games in one process; each size beside
// its floor recorded at that size, the platform's part of the growth.

void printGrowthHeading(const char* what, const char* size) {
    printf("\n%s (%d runs):\n  %6s %24s %24s %5s\n", what, kGrowthRuns, size, "plug-in", "floor", "ratio");
}

void timeGrowth(int size, const Flow& flow, Plugin& plugin, const Script& script, bool setUp, int warmUp) {
    Floor floor(script);
    Contest contest = {flow, plugin, {&floor}, {}};
    for (int run = 0; run < warmUp + kGrowthRuns; ++run) contest.timeOnce(run, run < warmUp, setUp);
    printf("  %6d", size);
    const double real = printed(contest.times[0]);
    printf(" %5.2f\n", real / printed(contest.times[1]));
}

void customLevelsGrowth(Installation& install, const Flow& flow, Plugin& quibbix) {
    printGrowthHeading("Custom levels selection, from the click on User to visible, by level-set folders", "sets");
    int sets = 3;  // Alpha, beta and zeta
    for (int wanted : {10, 100, 1000}) {
        for (; sets < wanted; ++sets) install.addFolder("games\\quibbix\\Set" + std::to_string(1000 + sets));
        timeGrowth(sets, flow, quibbix, record(flow, quibbix), true, kGrowthWarmUp);
    }
}

// Games of both modes with scores spread so that some make the table (and ask for a name) and
// most do not; each timed one scores 0, shows the tables and asks nothing.
void hallOfFameGrowth(const Flow& flow, Plugin& quibbix) {
    printGrowthHeading("Quibbix hall of fame, time to visible after games played in this process (each run a game)",
                       "games");
    const Script script = record(flow, quibbix);
    int played = 1;
    unsigned seed = 12345;
    for (int wanted : {1, 100, 1000}) {
        for (; played < wanted; ++played) {
            seed = seed * 1103515245u + 12345u;
            char text[32];
            snprintf(text, sizeof text, "%s*%u*%u", played % 2 ? "user" : "random", (seed >> 8) % 1000,
                     1 + (seed >> 20) % 9);
            flow.time([&] { score(quibbix, text); });
        }
        timeGrowth(wanted, flow, quibbix, script, false, 0);
        played += kGrowthRuns;
    }
}

// One dialog beside its bare template, bare chain (when it is nested) and floor. The bare ones
// are floors too, of the dialogs alone: the templates by DialogBoxParamA and no other work.
struct Measured {
    Measured(const Flow& f, Plugin& p)
        : recording(record(f, p)),
          chain(recording.bare()),
          alone(f.behindClick ? chain : recording.bare(true)),
          floors{Floor(alone), Floor(chain), Floor(recording)},
          contest{f, p, {&floors[0], &floors[1], &floors[2]}, {}} {
        if (!f.outer) contest.floors.erase(contest.floors.begin() + 1);  // the chain is the template itself
    }
    Script recording;
    Script chain, alone;  // a click away, the template alone is its chain
    Floor floors[3];      // bare template, bare chain, floor
    Contest contest;
};

// Each dialog beside its bare template, bare chain and floor, with the problems the recording
// and the floors met.
void printTable(const std::vector<Flow>& flows, const std::map<const Game*, std::unique_ptr<Plugin>>& plugins) {
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
    for (const Flow& flow : flows) all.push_back(std::make_unique<Measured>(flow, *plugins.at(&flow.game)));
    // Each run goes through every dialog: other work on the machine, which comes in bursts,
    // then falls on all of them alike rather than on one.
    for (int run = 0; run < kWarmUp + kRuns; ++run)
        for (auto& m : all) m->contest.timeOnce(run, run < kWarmUp);
    std::vector<std::string> problems;
    for (const auto& m : all) {
        const auto& times = m->contest.times;
        // The median of each run's plug-in / floor: the machine's drift between runs cancels.
        std::vector<double> ratios;
        for (size_t i = 0; i < times[0].size(); ++i) ratios.push_back(times[0][i] / times.back()[i]);
        const Script& r = m->recording;
        printf("%-21s", m->contest.flow.name);
        const double real = printed(times[0]);
        printf(" %5.2f", real / printed(times[1]));
        printf(" %5.2f", real / printed(times[times.size() - 2]));
        const double ratio = real / printed(times.back());
        printf(" %5.2f %6.2f %5s  %d/%d/%d/%d, %d\n", ratio, quantile(ratios, 0.5), ratio <= 1.10 ? "yes" : "no",
               calls(r, {Api::RegOpenKeyExA}), calls(r, {Api::RegQueryValueExA}), calls(r, {Api::RegSetValueExA}),
               calls(r, {Api::RegCloseKey}), calls(r, {Api::FindFirstFileA, Api::FindFirstFileW}));
        for (const std::string& problem : r.problems)
            problems.push_back(std::string(m->contest.flow.name) + ": recorded " + problem);
        for (const std::string& difference : m->floors[2].differences())
            problems.push_back(std::string(m->contest.flow.name) + ": floor " + difference);
    }
    for (const std::string& problem : problems) printf("  %s\n", problem.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    Installation install(kWorld);
    for (const char* set : {"Alpha", "beta", "zeta"}) install.addFolder(std::string("games\\quibbix\\") + set);
    std::map<const Game*, std::unique_ptr<Plugin>> plugins;
    for (const Game* game : kGames)
        if (!(plugins[game] = std::make_unique<Plugin>(game->dll))->module)
            return printf("%s\n", plugins[game]->error()), 1;
    // Stored tables to show, and a table full enough that a score of 0 asks for no name.
    auto stored = [] {
        resetWorld(1);
        const StoredTable table = {{{"ACE", "1", "300"}, {"BOB", "2", "200"}, {"CY", "3", "100"}}};
        storeTable(kWorld, kOrvane.name, "default", table);
        for (const char* mode : {"Random", "User"}) storeTable(kWorld, kQuibbix.name, mode, table);
    };
    auto flagSet = [] { resetWorld(1); };
    auto flagClear = [] { resetWorld(0); };
    auto scoring = [](const char* text) { return [text](Plugin& p) { score(p, text); }; };
    const std::vector<Flow> flows = {
        {"Orvane start", kOrvane, kOrvane.start, nullptr, false, flagSet, start},
        {"Slow-system notice", kOrvane, kOrvane.notice, &kOrvane.start, false, flagClear, start},
        {"Orvane hall of fame", kOrvane, kOrvane.hallOfFame, nullptr, false, stored, scoring("default*0*1")},
        {"Name entry", kOrvane, kOrvane.nameEntry, &kOrvane.hallOfFame, false, flagSet, scoring("default*1500*3")},
        {"Quibbix start", kQuibbix, kQuibbix.start, nullptr, false, flagSet, start},
        {"Custom levels", kQuibbix, kQuibbix.customLevels, &kQuibbix.start, true, flagSet, start},
        {"Quibbix hall of fame", kQuibbix, kQuibbix.hallOfFame, nullptr, false, stored, scoring("random*0*1")},
    };
    if (argc < 2 || strcmp(argv[1], "--growth") != 0) printTable(flows, plugins);
    // The games played so far are unloaded with the plug-in.
    plugins.clear();
    Plugin quibbix(kQuibbix.dll);
    customLevelsGrowth(install, flows[5], quibbix);
    hallOfFameGrowth(flows[6], quibbix);
    return 0;
}
