// Every platform call a flow makes, made to fail once, one run per call: the entry point still
// returns, the player sees only the plug-ins' own messages, nothing is left open and no stored
// result is lost. No message is asked for while the table is locked.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Autopilot.h"
#include "CallLedger.h"
#include "CurrentWorld.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"
#include "StoredTables.h"
#include "TraceFile.h"

namespace {
const char* const kWorld = "dZORV_Fault";
using Problems = std::vector<std::string>;

// An unnamed result in the middle, so that the move rule for results without a name is in play;
// and what 1500 at level 3 makes of it, named or not (a name entry that never came).
const StoredTable kRandomTable = {{{"ANN", "9", "500"}, {"", "5", "300"}, {"CY", "2", "100"}}};
const StoredTable kEntered = {{{"ACE", "3", "1500"}, {"ANN", "9", "500"}, {"", "5", "300"}}};
const StoredTable kEnteredUnnamed = {{{"", "3", "1500"}, {"ANN", "9", "500"}, {"", "5", "300"}}};
const StoredTable kUserTable = {{{"DOT", "4", "800"}, {"EVE", "3", "700"}, {"FAY", "1", "600"}}};

// Entered, or under a fault also as it was or entered without a name.
void expectEntered(const char* game, const char* mode, bool baseline, Problems& problems) {
    const StoredTable now = storedTable(kWorld, game, mode);
    if (now == kEntered || (!baseline && (now == kRandomTable || now == kEnteredUnnamed))) return;
    problems.push_back(std::string(game) + " " + mode + " table " + show(now) + ", was " + show(kRandomTable));
}

struct Flow {
    const char* name;
    const char* dll;                             // loaded afresh for every run; null: the shared code this test links
    std::function<void(Installation&)> prepare;  // beyond the current world; may be null
    // Drives the flow and adds what is wrong with its outcome; baseline: nothing was made to fail.
    std::function<Autopilot::Run(HMODULE, bool baseline, Problems&)> run;
    std::string quits = "";  // the game whose quit question it asks
};

Autopilot::Run start(HMODULE module, bool baseline, Problems& problems, std::vector<std::string> allowed) {
    char buffer[300] = {};
    const Autopilot::Run run =
        Autopilot().fly([&] { return exportOf<StartEntryPoint>(module, "fnGameStartDlgzorv")(buffer, 0) ? 1 : 0; });
    bool known = false;
    for (const std::string& text : allowed) known |= text == buffer;
    if (run.result ? !known : baseline) problems.push_back("start gave " + std::to_string(run.result) + " " + buffer);
    return run;
}

// The hall of fame is closed, never replayed, whatever failed.
Autopilot::Run score(HMODULE module, const char* scoreString, Problems& problems) {
    std::string buffer = scoreString;
    const Autopilot::Run run =
        Autopilot().fly([&] { return exportOf<ScoreEntryPoint>(module, "fnGameScoreDlgzorv")(&buffer[0], 0); });
    if (run.result != 0) problems.push_back("score gave " + std::to_string(run.result));
    return run;
}

Autopilot::Run stop(HMODULE module, bool baseline, Problems& problems) {
    const Autopilot::Run run = Autopilot().fly([&] { return exportOf<StopEntryPoint>(module, "fnGameStopDlgzorv")(); });
    if (baseline && !run.result) problems.push_back("Yes did not stop the game");
    return run;
}

std::vector<Flow> flows() {
    return {
        {"orvane start with the notice", "orvane.dll", nullptr,
         [](HMODULE m, bool baseline, Problems& p) { return start(m, baseline, p, {"default"}); }},
        {"orvane score with a name", "orvane.dll",
         [](Installation&) { storeTable(kWorld, "Orvane", "default", kRandomTable); },
         [](HMODULE m, bool baseline, Problems& p) {
             const Autopilot::Run run = score(m, "default*1500*3", p);
             expectEntered("Orvane", "default", baseline, p);
             return run;
         }},
        {"quibbix start with custom levels", "quibbix.dll",
         [](Installation& inst) {
             inst.addFolder("games");
             inst.addFolder("games\\quibbix");
             inst.addFolder("games\\quibbix\\alpha");
         },
         [](HMODULE m, bool baseline, Problems& p) {
             // The folder is not listed when the listing fails; the built-in set is.
             return start(m, baseline, p, {"user*alpha*0", baseline ? "user*alpha*0" : "user*Vellomy*0"});
         }},
        {"quibbix score with a name", "quibbix.dll",
         [](Installation&) {
             storeTable(kWorld, "Quibbix", "Random", kRandomTable);
             storeTable(kWorld, "Quibbix", "User", kUserTable);
         },
         [](HMODULE m, bool baseline, Problems& p) {
             const Autopilot::Run run = score(m, "random*1500*3", p);
             expectEntered("Quibbix", "Random", baseline, p);
             if (storedTable(kWorld, "Quibbix", "User") != kUserTable) p.push_back("the other mode's table changed");
             return run;
         }},
        {"orvane stop", "orvane.dll", nullptr, stop, "Orvane"},
        {"quibbix stop", "quibbix.dll", nullptr, stop, "Quibbix"},
        {"world values with the trace on", nullptr,
         [](Installation&) { reg::setString(kWorld, "OrvanedefaultName1", "ANN"); },
         [](HMODULE, bool baseline, Problems& p) {
             TraceFile trace;
             const Autopilot::Run run = Autopilot().fly([] {
                 writeWorldValue("OrvanedefaultName1", "ZED");
                 char read[16];
                 return readWorldValue("OrvanedefaultName1", read, sizeof read) ? 1 : 0;
             });
             const std::string stored = reg::text(kWorld, "OrvanedefaultName1");
             if (stored != "ZED" && (baseline || stored != "ANN")) p.push_back("stored " + stored);
             if (baseline && trace.messages().empty()) p.push_back("nothing traced");
             return run;
         }},
    };
}

bool allowedBox(const Flow& flow, const std::string& text, const std::string& title, bool unowned) {
    if (title == "ZORV Error")
        return unowned && (text == "No ZORV Worlds are installed" || text == "Unable to save game stat info!");
    return !flow.quits.empty() && text == "Do you want to quit the current game of " + flow.quits + "?" &&
           title == "Quit " + flow.quits + "?";
}

// One run of the flow in a fresh installation, with the call of this index failing (-1: none).
Problems runOnce(const Flow& flow, int failAt, std::vector<CallSite>* sequence, CallSite* failedSite) {
    Problems problems;
    Installation inst;
    inst.addWorld(kWorld);
    inst.setCurrentWorld(kWorld);
    if (flow.prepare) flow.prepare(inst);
    HMODULE module = flow.dll ? LoadLibraryA(flow.dll) : GetModuleHandleA("zorvcore.dll");
    {
        CallLedger ledger(module);
        ledger.failCall(failAt);
        const Autopilot::Run run = flow.run(module, failAt < 0, problems);
        if (run.hung) problems.push_back("hung");
        if (dialogWindowsLeft()) problems.push_back("a dialog outlived the call");
        if (!ledger.holdings().none()) problems.push_back("left " + ledger.holdings().describe());
        for (const BoxCall& box : ledger.boxes())
            if (!allowedBox(flow, box.text, box.title, box.owner == nullptr) || box.locked)
                problems.push_back("asked to show \"" + box.text + "\" / \"" + box.title + "\"" +
                                   (box.locked ? " holding the table lock" : ""));
        for (const Autopilot::Seen& box : run.boxes)
            if (!allowedBox(flow, box.text, box.caption, true))
                problems.push_back("showed \"" + box.text + "\" / \"" + box.caption + "\"");
        if (failAt < 0 && !ledger.boxes().empty() && flow.quits.empty())
            problems.push_back("a message without a fault: " + ledger.boxes()[0].text);
        if (sequence) *sequence = ledger.calls();
        if (failedSite && !ledger.failed(*failedSite)) problems.push_back("the call to fail never came");
    }
    if (flow.dll) FreeLibrary(module);
    return problems;
}

std::string join(const Problems& problems) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "; ") + p;
    return text;
}
}  // namespace

TEST(FaultInjection, EveryCallOfEveryFlowFailsWithoutHarm) {
    int injected = 0, failedRuns = 0;
    std::set<std::pair<std::string, CallSite>> sites, failedSites;
    std::set<Api> reached;
    for (const Flow& flow : flows()) {
        const DWORD began = GetTickCount();
        const std::string module = flow.dll ? flow.dll : "zorvcore.dll";
        std::vector<CallSite> sequence;
        const Problems baseline = runOnce(flow, -1, &sequence, nullptr);
        ASSERT_TRUE(baseline.empty()) << flow.name << ": " << join(baseline);
        for (const CallSite& site : sequence) {
            sites.insert({module, site});
            reached.insert(site.api);
        }
        for (size_t i = 0; i < sequence.size(); ++i) {
            CallSite failed = {};
            Problems problems = runOnce(flow, static_cast<int>(i), nullptr, &failed);
            ++injected;
            if (failed == sequence[i])
                failedSites.insert({module, failed});
            else
                problems.push_back("failed " + describe(failed) + " instead");
            if (problems.empty()) continue;
            if (++failedRuns <= 40)
                ADD_FAILURE() << flow.name << ", call " << i << " " << describe(sequence[i]) << ": " << join(problems);
        }
        printf("%s: %u calls, %.1f s\n", flow.name, static_cast<unsigned>(sequence.size()),
               (GetTickCount() - began) / 1000.0);
    }
    printf("fault injection: %d faults injected, %d runs failed\n", injected, failedRuns);
    EXPECT_EQ(0, failedRuns);
    EXPECT_EQ(sites.size(), failedSites.size()) << "call sites never made to fail";
    for (int api = 0; api < static_cast<int>(Api::Failable); ++api)
        EXPECT_TRUE(reached.count(static_cast<Api>(api))) << apiName(static_cast<Api>(api)) << " is called by no flow";
}
