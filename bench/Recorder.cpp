#include "Recorder.h"

#include <algorithm>
#include <cstdio>

namespace {
Recorder* active = nullptr;

const char* const kKindNames[] = {
    "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegCloseKey",         "FindFirstFileA", "FindFirstFileW",
    "FindNextFileW", "FindClose",        "LoadImageA",     "CreateFontIndirectA", "GetObjectA",     "DeleteObject",
    "EnumWindows",   "centring",         "SendMessageA",   "DialogBoxParamA"};
static_assert(sizeof kKindNames / sizeof *kKindNames == Step::Kinds, "a name for each kind");

bool isListEntry(UINT message) {
    return message == CB_ADDSTRING || message == CB_INSERTSTRING || message == LB_ADDSTRING ||
           message == LB_INSERTSTRING;
}

bool predefined(HANDLE handle) {
    const auto value = static_cast<ULONG_PTR>(reinterpret_cast<LONG_PTR>(handle)) & 0xffffffffu;
    return value >= 0x80000000u && value <= 0x80000006u;
}

std::string quoted(const Step& step) { return step.hasText ? "\"" + step.text + "\"" : std::string("null"); }

std::string handleOf(const Step& step) {
    char text[48];
    if (step.made >= 0)
        snprintf(text, sizeof text, "#%d", step.made);
    else if (step.frameFont)
        snprintf(text, sizeof text, "font of frame");
    else
        snprintf(text, sizeof text, "%p", step.fixed);
    return text;
}
}  // namespace

const char* kindName(Step::Kind kind) { return kKindNames[kind]; }

std::string describe(const Step& s) {
    char text[512];
    switch (s.kind) {
        case Step::OpenKey:
            snprintf(text, sizeof text, "%s(%s, %s, %lu, 0x%lx) = %ld", kindName(s.kind), handleOf(s).c_str(),
                     quoted(s).c_str(), s.options, s.access, static_cast<long>(s.result));
            break;
        case Step::QueryValue:
            snprintf(text, sizeof text, "%s(%s, %s, type%s, data%s, size %lu%s) = %ld", kindName(s.kind),
                     handleOf(s).c_str(), quoted(s).c_str(), s.typeOut ? "" : " null", s.dataOut ? "" : " null", s.size,
                     s.sizeOut ? "" : " null", static_cast<long>(s.result));
            break;
        case Step::SetValue:
            snprintf(text, sizeof text, "%s(%s, %s, type %lu, %lu bytes) = %ld", kindName(s.kind), handleOf(s).c_str(),
                     quoted(s).c_str(), s.type, s.size, static_cast<long>(s.result));
            break;
        case Step::FindFirst:
        case Step::FindFirstWide:
            snprintf(text, sizeof text, "%s(%s) = %s", kindName(s.kind), quoted(s).c_str(),
                     s.result == reinterpret_cast<LONG_PTR>(INVALID_HANDLE_VALUE) ? "none" : "search");
            break;
        case Step::LoadImage:
            if (s.hasText)
                snprintf(text, sizeof text, "%s(%s, type %lu, %d x %d, 0x%x)", kindName(s.kind), quoted(s).c_str(),
                         s.type, s.cx, s.cy, s.flags);
            else
                snprintf(text, sizeof text, "%s(#%lu, type %lu, %d x %d, 0x%x)", kindName(s.kind),
                         static_cast<unsigned long>(s.resource), s.type, s.cx, s.cy, s.flags);
            break;
        case Step::CreateFont:
            snprintf(text, sizeof text, "%s(%s, height %ld, weight %ld)", kindName(s.kind), s.font.lfFaceName,
                     s.font.lfHeight, s.font.lfWeight);
            break;
        case Step::GetObject:
            snprintf(text, sizeof text, "%s(%s, %lu bytes)", kindName(s.kind), handleOf(s).c_str(), s.size);
            break;
        case Step::Centre:
            snprintf(text, sizeof text,
                     "centring frame %d: GetDesktopWindow, GetWindowRect x2, SetWindowPos to "
                     "(%ld, %ld) %ld x %ld",
                     s.frame, s.moved.left, s.moved.top, s.moved.right - s.moved.left, s.moved.bottom - s.moved.top);
            break;
        case Step::ListEntry:
            snprintf(text, sizeof text, "%s(control %d of frame %d, 0x%x, %ld, %s) = %ld", kindName(s.kind), s.id,
                     s.frame, s.message, static_cast<long>(s.wParam), quoted(s).c_str(), static_cast<long>(s.result));
            break;
        case Step::Dialog:
            snprintf(text, sizeof text, "%s(template %lu, owner %s) opens frame %d", kindName(s.kind),
                     static_cast<unsigned long>(s.resource),
                     s.ownerFrame ? ("frame " + std::to_string(s.ownerFrame)).c_str() : (s.owner ? "a window" : "none"),
                     s.frame);
            break;
        case Step::EnumWindows:
            snprintf(text, sizeof text, "%s(first window of this process)", kindName(s.kind));
            break;
        default:
            snprintf(text, sizeof text, "%s(%s)", kindName(s.kind), handleOf(s).c_str());
            break;
    }
    return text;
}

int Script::count(Step::Kind kind) const {
    return static_cast<int>(std::count_if(steps.begin(), steps.end(), [&](const Step& s) { return s.kind == kind; }));
}

std::string Script::describe(int index) const {
    const Phase& p = phases[index];
    if (!p.frame) return "outside the dialogs";
    char text[64];
    if (p.message == WM_INITDIALOG)
        snprintf(text, sizeof text, "WM_INITDIALOG of frame %d", p.frame);
    else
        snprintf(text, sizeof text, "WM_COMMAND %u of frame %d", p.id, p.frame);
    return text;
}

Recorder::Recorder(HMODULE module) : LedgerView(module) {
    active = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, onMessage, nullptr, GetCurrentThreadId());
}

Recorder::~Recorder() {
    if (hook_) UnhookWindowsHookEx(hook_);
    active = nullptr;
}

int Recorder::add(Step::Kind kind) {
    Step step;
    step.kind = kind;
    step.phase = phase_;
    script_.steps.push_back(step);
    return static_cast<int>(script_.steps.size()) - 1;
}

void Recorder::refer(Step& step, HANDLE handle) {
    for (auto it = live_.rbegin(); it != live_.rend(); ++it) {
        if (it->first != handle) continue;
        step.made = it->second;
        return;
    }
    const Frame& frame = frames_[script_.phases[phase_].frame];
    if (frame.font && handle == frame.font) {
        step.frameFont = true;
        return;
    }
    step.fixed = handle;
    if (!predefined(handle) && handle)
        script_.problems.push_back("a handle the plug-in did not get from a call: " + ::describe(step));
}

void Recorder::made(int index, HANDLE handle) {
    if (handle && handle != INVALID_HANDLE_VALUE) live_.push_back({handle, index});
}

void Recorder::released(HANDLE handle) {
    auto found = std::find_if(live_.rbegin(), live_.rend(), [&](const auto& held) { return held.first == handle; });
    if (found != live_.rend()) live_.erase(std::next(found).base());
}

int Recorder::frameOf(HWND window) {
    for (size_t i = 1; i < frames_.size(); ++i)
        if (frames_[i].window == window && !frames_[i].gone) return static_cast<int>(i);
    // The first message of a dialog not seen yet: the one opened last that has no window.
    for (size_t i = frames_.size() - 1; i > 0; --i) {
        if (frames_[i].window) continue;
        frames_[i].window = window;
        return static_cast<int>(i);
    }
    return 0;
}

int Recorder::phaseOf(int frame, UINT message, WORD id) {
    auto& phases = script_.phases;
    for (size_t i = 0; i < phases.size(); ++i)
        if (phases[i].frame == frame && phases[i].message == message && phases[i].id == id) return static_cast<int>(i);
    phases.push_back({frame, message, id});
    return static_cast<int>(phases.size()) - 1;
}

INT_PTR CALLBACK Recorder::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& r = *active;
    const int frame = r.frameOf(window);
    const DLGPROC original = r.frames_[frame].procedure;
    if (!original) return FALSE;
    if (message == WM_SETFONT) r.frames_[frame].font = reinterpret_cast<HFONT>(wParam);
    if (message == WM_NCDESTROY) r.frames_[frame].gone = true;
    if (message != WM_INITDIALOG && message != WM_COMMAND) return original(window, message, wParam, lParam);
    const int outer = r.phase_;
    r.phase_ = r.phaseOf(frame, message, message == WM_COMMAND ? LOWORD(wParam) : 0);
    const INT_PTR result = original(window, message, wParam, lParam);
    r.phase_ = outer;
    return result;
}

int Recorder::frameOfControl(HWND control) const {
    const HWND dialog = GetParent(control);
    for (size_t i = frames_.size() - 1; i > 0; --i)
        if (frames_[i].window == dialog && !frames_[i].gone) return static_cast<int>(i);
    return 0;
}

// Two messages stand for work the ledger does not see. A move of the dialog whose WM_INITDIALOG
// runs is the plug-in's centring (SetWindowPos); an entry put into a list of a dialog is the
// list's fill, which grows with what a search found.
LRESULT CALLBACK Recorder::onMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code != HC_ACTION || !active) return CallNextHookEx(nullptr, code, wParam, lParam);
    Recorder& r = *active;
    const Phase& phase = r.script_.phases[r.phase_];
    if (message->message == WM_WINDOWPOSCHANGING) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(message->lParam);
        if (phase.message == WM_INITDIALOG && r.frames_[phase.frame].window == message->hwnd &&
            !(position->flags & SWP_NOMOVE)) {
            Step& step = r.script_.steps[r.add(Step::Centre)];
            step.frame = phase.frame;
            step.moved = {position->x, position->y, position->x + position->cx, position->y + position->cy};
            step.flags = position->flags;
        }
    } else if (isListEntry(message->message) && phase.frame) {
        const int frame = r.frameOfControl(message->hwnd);
        if (frame) {
            const int index = r.add(Step::ListEntry);
            Step& step = r.script_.steps[index];
            step.frame = frame;
            step.id = GetDlgCtrlID(message->hwnd);
            step.message = message->message;
            step.wParam = message->wParam;
            step.hasText = true;
            step.text = reinterpret_cast<const char*>(message->lParam);
            step.result = message->lResult;
            for (int i = 0; i < index && step.made < 0; ++i) {
                const Step& earlier = r.script_.steps[i];
                if (earlier.kind == Step::ListEntry && earlier.made < 0 && earlier.frame == frame &&
                    earlier.id == step.id)
                    step.made = i;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LONG Recorder::openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    const int index = add(Step::OpenKey);
    {
        Step& s = script_.steps[index];
        refer(s, parent);
        s.hasText = subkey != nullptr;
        if (subkey) s.text = subkey;
        s.options = options;
        s.access = access;
    }
    const LONG status = LedgerView::openKey(parent, subkey, options, access, result);
    script_.steps[index].result = status;
    if (status == ERROR_SUCCESS && result) made(index, *result);
    return status;
}

LONG Recorder::queryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    const int index = add(Step::QueryValue);
    {
        Step& s = script_.steps[index];
        refer(s, key);
        s.hasText = name != nullptr;
        if (name) s.text = name;
        s.typeOut = type != nullptr;
        s.dataOut = data != nullptr;
        s.sizeOut = size != nullptr;
        s.size = size ? *size : 0;
        if (reserved) script_.problems.push_back("a reserved argument: " + ::describe(s));
    }
    const LONG status = LedgerView::queryValue(key, name, reserved, type, data, size);
    script_.steps[index].result = status;
    return status;
}

LONG Recorder::setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    const int index = add(Step::SetValue);
    {
        Step& s = script_.steps[index];
        refer(s, key);
        s.hasText = name != nullptr;
        if (name) s.text = name;
        s.type = type;
        s.size = size;
        s.dataOut = data != nullptr;
        // The narrow call reads a text's terminator past the size it is given.
        if (data) s.data.assign(data, data + size + (type == REG_SZ ? 1 : 0));
    }
    const LONG status = LedgerView::setValue(key, name, reserved, type, data, size);
    script_.steps[index].result = status;
    return status;
}

// A call that gives a handle back: booked before it is made, as the handle may be reused after.
template <typename Release>
auto Recorder::release(Step::Kind kind, HANDLE handle, Release call) {
    const int index = add(kind);
    refer(script_.steps[index], handle);
    released(handle);
    const auto result = call();
    script_.steps[index].result = result;
    return result;
}

LONG Recorder::closeKey(HKEY key) {
    return release(Step::CloseKey, key, [&] { return LedgerView::closeKey(key); });
}

HANDLE Recorder::findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    const int index = add(Step::FindFirst);
    script_.steps[index].hasText = pattern != nullptr;
    if (pattern) script_.steps[index].text = pattern;
    HANDLE search = LedgerView::findFirst(pattern, data);
    script_.steps[index].result = reinterpret_cast<LONG_PTR>(search);
    made(index, search);
    return search;
}

HANDLE Recorder::findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    const int index = add(Step::FindFirstWide);
    script_.steps[index].hasText = pattern != nullptr;
    if (pattern) {
        char narrow[2 * MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, pattern, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        script_.steps[index].text = narrow;
    }
    HANDLE search = LedgerView::findFirstWide(pattern, data);
    script_.steps[index].result = reinterpret_cast<LONG_PTR>(search);
    made(index, search);
    return search;
}

BOOL Recorder::findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) {
    const int index = add(Step::FindNext);
    refer(script_.steps[index], search);
    const BOOL found = LedgerView::findNextWide(search, data);
    script_.steps[index].result = found;
    return found;
}

BOOL Recorder::findClose(HANDLE search) {
    return release(Step::FindClose, search, [&] { return LedgerView::findClose(search); });
}

HANDLE Recorder::loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    const int index = add(Step::LoadImage);
    {
        Step& s = script_.steps[index];
        s.instance = instance;
        if (IS_INTRESOURCE(name)) {
            s.resource = reinterpret_cast<ULONG_PTR>(name);
        } else {
            s.hasText = true;
            s.text = name;
        }
        s.type = type;
        s.cx = cx;
        s.cy = cy;
        s.flags = flags;
    }
    HANDLE image = LedgerView::loadImage(instance, name, type, cx, cy, flags);
    script_.steps[index].result = reinterpret_cast<LONG_PTR>(image);
    made(index, image);
    return image;
}

HFONT Recorder::createFont(const LOGFONTA* description) {
    const int index = add(Step::CreateFont);
    if (description)
        script_.steps[index].font = *description;
    else
        script_.problems.push_back("a font made from no description");
    HFONT font = LedgerView::createFont(description);
    script_.steps[index].result = reinterpret_cast<LONG_PTR>(font);
    made(index, font);
    return font;
}

int Recorder::getObject(HANDLE object, int size, LPVOID buffer) {
    const int index = add(Step::GetObject);
    refer(script_.steps[index], object);
    script_.steps[index].size = static_cast<DWORD>(size);
    script_.steps[index].dataOut = buffer != nullptr;
    const int got = LedgerView::getObject(object, size, buffer);
    script_.steps[index].result = got;
    return got;
}

BOOL Recorder::deleteObject(HGDIOBJ object) {
    return release(Step::DeleteObject, object, [&] { return LedgerView::deleteObject(object); });
}

int Recorder::messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) {
    script_.problems.push_back(std::string("a message box: ") + (text ? text : "(null)"));
    return LedgerView::messageBox(owner, text, title, flags);
}

INT_PTR Recorder::dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC original, LPARAM param) {
    const int index = add(Step::Dialog);
    frames_.push_back(Frame());
    frames_.back().procedure = original;
    {
        Step& s = script_.steps[index];
        s.instance = instance;
        if (IS_INTRESOURCE(name)) {
            s.resource = reinterpret_cast<ULONG_PTR>(name);
        } else {
            s.hasText = true;
            s.text = name;
        }
        s.frame = ++script_.frames;
        for (size_t i = 1; i + 1 < frames_.size(); ++i)
            if (owner && frames_[i].window == owner) s.ownerFrame = static_cast<int>(i);
        if (!s.ownerFrame) s.owner = owner;
    }
    const INT_PTR result = LedgerView::dialogBox(instance, name, owner, procedure, param);
    script_.steps[index].result = result;
    return result;
}

BOOL Recorder::enumWindows(WNDENUMPROC callback, LPARAM param) {
    add(Step::EnumWindows);
    return LedgerView::enumWindows(callback, param);
}

FILE* Recorder::openFile(const char* path, const char* mode) {
    script_.problems.push_back(std::string("a file opened: ") + (path ? path : "(null)"));
    return LedgerView::openFile(path, mode);
}
