// The stand-in host's read-only commands, run as a separate process the way a user runs them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "Installation.h"
#include "RegistrySandbox.h"

namespace {
struct HostRun {
    DWORD exitCode;
    std::string output;  // stdout, line ends as \n
};

HostRun runHost(const char* arguments) {
    HostRun run = {0xdeadbeef, ""};
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string commandLine = std::string("zorvhost.exe ") + arguments;
    const BOOL started =
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got)
            for (DWORD i = 0; i < got; ++i)
                if (chunk[i] != '\r') run.output += chunk[i];
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    EXPECT_TRUE(started) << "cannot start zorvhost.exe, error " << GetLastError();
    return run;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TEST(HostScores, PrintsEveryTableOfTheCurrentWorldExactlyAsStoredAndChangesNothing) {
    Installation host;
    // A current world whose movie is missing: the plug-ins would search and move on to There.
    host.addWorld("dZORV_Here", false);
    host.addWorld("dZORV_There");
    host.setCurrentWorld("dZORV_Here");
    const std::pair<const char*, const char*> here[] = {
        {"OrvanedefaultName1", "ACE"},    {"OrvanedefaultLevel1", "3"},   {"OrvanedefaultScore1", "1500"},
        {"OrvanedefaultName2", ""},       {"OrvanedefaultLevel2", "2"},   {"OrvanedefaultScore2", " 0042"},
        {"OrvanedefaultName3", "Q\"\\t"}, {"OrvanedefaultLevel3", "one"}, {"OrvanedefaultScore3", "12abc"},
        {"QuibbixrandomName1", "BOUNCE"}, {"QuibbixRandomLevel1", "4"},   {"QuibbixrandomScore1", "3000"},
        {"QuibbixrandomScore2", "-5"},    {"OrvanedefaultScore4", "99"},  {"OrvaneNotes", "not a table"},
        {"QuibbixuserName3", "LAST\x01"},
    };
    for (const auto& [name, text] : here) reg::setString("dZORV_Here", name, text, REG_SZ, false);
    reg::setDword("dZORV_Here", "NoShowOrvaneInfoDlg", 1);
    reg::setString("dZORV_There", "OrvanehardName1", "ELSEWHERE");
    const std::string before = reg::dump();

    const HostRun run = runHost("scores");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(
        "Current world: dZORV_Here\n"
        "\n"
        "Orvane, mode \"default\"\n"
        "  Rank  Name      Level  Score\n"
        "  1     \"ACE\"     \"3\"    \"1500\"\n"
        "  2     \"\"        \"2\"    \" 0042\"\n"
        "  3     \"Q\\\"\\\\t\"  \"one\"  \"12abc\"\n"
        "\n"
        "Quibbix, mode \"Random\"\n"
        "  Rank  Name      Level  Score\n"
        "  1     \"BOUNCE\"  \"4\"    \"3000\"\n"
        "  2     -         -      \"-5\"\n"
        "  3     -         -      -\n"
        "\n"
        "Quibbix, mode \"user\"\n"
        "  Rank  Name        Level  Score\n"
        "  1     -           -      -\n"
        "  2     -           -      -\n"
        "  3     \"LAST\\x01\"  -      -\n",
        run.output);
    EXPECT_EQ(before, reg::dump());
}

TEST(HostScores, SaysWhatIsMissingAndCreatesNothing) {
    {
        RegistrySandbox nothingInstalled;
        const HostRun run = runHost("scores");
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ("Zorv is not installed: there is no key HKEY_LOCAL_MACHINE\\SOFTWARE\\ZORV.\n", run.output);
        EXPECT_EQ("(no key)", reg::dump());
    }
    {
        Installation host;
        host.addWorld("dZORV_Only");
        const std::string before = reg::dump();
        HostRun run = runHost("scores");
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ("There is no current world: CurrMovie is not set.\n", run.output);

        host.setCurrentWorld("dZORV_Gone");
        run = runHost("scores");
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ("Current world: dZORV_Gone\nIts key HKEY_LOCAL_MACHINE\\SOFTWARE\\ZORV\\dZORV_Gone does not exist.\n",
                  run.output);

        host.setCurrentWorld("dZORV_Only");
        const std::string withWorld = reg::dump();
        run = runHost("scores");
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ("Current world: dZORV_Only\n\nNo hall of fame is stored in this world.\n", run.output);
        EXPECT_EQ(withWorld, reg::dump());
        EXPECT_NE(before, withWorld);
    }
}

TEST(HostSample, IsInstalledOnlyWhereNoHostIs) {
    Installation scratch;  // its folder goes when the test ends, and the host key is sandboxed
    const std::string dir = scratch.dir() + "Zorv";
    const std::string command = "--setup-sample \"" + dir + "\"";
    const std::string before = reg::dump();
    HostRun run = runHost(command.c_str());
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(exists(dir));
    EXPECT_EQ(before, reg::dump());

    reg::deleteTree("");
    run = runHost(command.c_str());
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ(dir, reg::text("", "MainDir"));
    const std::string world = reg::text("", "CurrMovie");
    EXPECT_TRUE(exists(dir + "\\Desktops\\" + world + "\\" + world + ".dcr")) << world;
    for (const char* levels : {"Neon Grid", "Brick Garden"})
        EXPECT_TRUE(exists(dir + "\\games\\quibbix\\" + levels)) << levels;
    run = runHost("scores");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0u, run.output.find("Current world: " + world + "\n\nOrvane, mode \"default\"\n")) << run.output;
}

TEST(HostUsage, OffersItsCommandsAndRefusesAnUnknownOne) {
    Installation host("dZORV_Here");
    const std::string before = reg::dump();

    HostRun run = runHost("--help");
    EXPECT_EQ(0u, run.exitCode);
    for (const char* command : {"zorvhost [GAME...]", "zorvhost scores", "zorvhost --setup-sample [DIR]"})
        EXPECT_NE(std::string::npos, run.output.find(command)) << command << " missing in:\n" << run.output;

    // An unknown command gets the usage, and the host key stays as it was.
    run = runHost("--frobnicate");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(0u, run.output.find("usage: zorvhost")) << run.output;
    EXPECT_EQ(before, reg::dump());
}
