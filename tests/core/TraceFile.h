// A trace target on a fresh file in the temp folder, set for as long as the object lives.
#pragma once

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Trace.h"

class TraceFile {
public:
    TraceFile() {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        snprintf(target_.path, sizeof target_.path, "%szorv-trace-%lu.log", temp, GetCurrentProcessId());
        file_ = target_.path;
        DeleteFileA(file_.c_str());
        target_.enabled = 1;
        setTraceTarget(&target_);
    }
    ~TraceFile() {
        setTraceTarget(nullptr);
        DeleteFileA(file_.c_str());
    }
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // The file, even after a test has changed the target's path.
    const char* path() const { return file_.c_str(); }
    TraceTarget& target() { return target_; }
    bool exists() const { return GetFileAttributesA(file_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // The file's bytes as they are on disk.
    std::string raw() const {
        std::ifstream file(file_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // The messages, each without its time stamp ("hh:mm:ss.mmmm: ") and line end.
    std::vector<std::string> messages() const {
        std::vector<std::string> lines;
        const std::string content = raw();
        size_t start = 0, end;
        while ((end = content.find("\r\n", start)) != std::string::npos) {
            const std::string line = content.substr(start, end - start);
            lines.push_back(line.size() >= kStamp ? line.substr(kStamp) : "(short) " + line);
            start = end + 2;
        }
        if (start < content.size()) lines.push_back("(unterminated) " + content.substr(start));
        return lines;
    }

private:
    static const size_t kStamp = sizeof "hh:mm:ss.mmmm: " - 1;
    TraceTarget target_ = {};
    std::string file_;
};
