#include <algorithm>

#include "Floor.h"

namespace {
class Recorder;
Recorder* active = nullptr;
Floor* playing = nullptr;

// A text argument, which may be null, or a resource named by its number.
struct Text {
    bool null;
    std::string text;
    explicit Text(const char* given) : null(!given || IS_INTRESOURCE(given)), text(null ? "" : given) {}
    const char* get(const char* otherwise = nullptr) const { return null ? otherwise : text.c_str(); }
};

BOOL CALLBACK firstOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner != static_cast<DWORD>(processId);
}

LONG_PTR valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

// Records while it lives; one at a time. Calls pass on unchanged.
class Recorder : public LedgerView {
public:
    Script script;

    explicit Recorder(HMODULE module) : LedgerView(module) {
        active = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, onMessage, nullptr, GetCurrentThreadId());
    }

    ~Recorder() override {
        if (hook_) UnhookWindowsHookEx(hook_);
        active = nullptr;
    }

    LONG_PTR add(Api kind, LONG_PTR outcome, std::function<LONG_PTR(Floor&)> make) {
        script.steps.push_back({kind, phase_, outcome, std::move(make)});
        return outcome;
    }

    // A call that makes a handle: the floor makes its own in its place.
    template <typename Make>
    HANDLE made(Api kind, HANDLE got, Make make) {
        add(kind, valid(got), [=](Floor& f) { return f.made(got, make()); });
        return got;
    }

    int frameOf(HWND window) const {  // 0: none
        for (size_t i = windows_.size() - 1; i > 0; --i)
            if (window && windows_[i] == window) return static_cast<int>(i);
        return 0;
    }

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Recorder& r = *active;
        // A dialog's first message comes before its window is known: it is the one opened last.
        int frame = r.frameOf(window);
        if (!frame) r.windows_[frame = static_cast<int>(r.windows_.size()) - 1] = window;
        if (message == WM_SETFONT) r.script.fonts[frame] = reinterpret_cast<HFONT>(wParam);
        if (message == WM_NCDESTROY) r.windows_[frame] = nullptr;  // its handle may come back for another
        if (message != WM_INITDIALOG && message != WM_COMMAND)
            return r.procedures_[frame](window, message, wParam, lParam);
        const int outer = r.phase_;
        const WORD id = message == WM_COMMAND ? LOWORD(wParam) : 0;
        r.phase_ = r.script.phaseOf(frame, message, id);
        if (r.phase_ < 0) {
            r.script.phases.push_back({frame, message, id});
            r.phase_ = static_cast<int>(r.script.phases.size()) - 1;
        }
        const INT_PTR result = r.procedures_[frame](window, message, wParam, lParam);
        r.phase_ = outer;
        return result;
    }

    // A move of the dialog whose WM_INITDIALOG runs is the plug-in's centring (SetWindowPos); an
    // entry put into a list of a dialog is the list's fill, which grows with what a search found.
    static LRESULT CALLBACK onMessage(int code, WPARAM wParam, LPARAM lParam) {
        const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code != HC_ACTION || !active) return CallNextHookEx(nullptr, code, wParam, lParam);
        Recorder& r = *active;
        const Phase& phase = r.script.phases[r.phase_];
        const auto* to = reinterpret_cast<const WINDOWPOS*>(m->lParam);
        if (m->message == WM_WINDOWPOSCHANGING && phase.message == WM_INITDIALOG &&
            r.windows_[phase.frame] == m->hwnd && !(to->flags & SWP_NOMOVE)) {
            const int frame = phase.frame;
            // The calls of the plug-in's centring, and where they put the dialog.
            r.add(kCentre, MAKELONG(to->x, to->y), [frame](Floor& f) -> LONG_PTR {
                RECT desktop = {}, own = {};
                GetWindowRect(GetDesktopWindow(), &desktop);
                GetWindowRect(f.window(frame), &own);
                const int width = own.right - own.left, height = own.bottom - own.top;
                const int x = (desktop.right - desktop.left) / 2 - width / 2;
                const int y = (desktop.bottom - desktop.top) / 2 - height / 2;
                SetWindowPos(f.window(frame), nullptr, x, y, width, height, SWP_NOZORDER);
                return MAKELONG(x, y);
            });
        }
        const int frame = r.frameOf(GetParent(m->hwnd));
        const UINT message = m->message;
        if ((message == CB_ADDSTRING || message == CB_INSERTSTRING || message == LB_ADDSTRING ||
             message == LB_INSERTSTRING) &&
            phase.frame && frame) {
            const HWND control = m->hwnd;
            const int id = GetDlgCtrlID(control);
            const WPARAM at = m->wParam;
            const Text text(reinterpret_cast<const char*>(m->lParam));
            // The control is looked up once, as the plug-in does when it attaches it.
            r.add(kListEntry, m->lResult, [=](Floor& f) -> LONG_PTR {
                if (!f.known(control)) f.made(control, GetDlgItem(f.window(frame), id));
                return SendMessageA(f.mapped(control), message, at, reinterpret_cast<LPARAM>(text.get()));
            });
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    LONG openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) override {
        const LONG status = LedgerView::openKey(parent, subkey, options, access, result);
        const HKEY got = status == ERROR_SUCCESS && result ? *result : nullptr;
        const Text text(subkey);
        return add(Api::RegOpenKeyExA, status, [=](Floor& f) -> LONG_PTR {
            HKEY key = nullptr;
            const LONG opened = RegOpenKeyExA(f.mapped(parent), text.get(), options, access, &key);
            f.made(got, key);
            return opened;
        });
    }

    LONG queryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) override {
        const DWORD asked = size ? *size : 0;
        const Text text(name);
        const bool typeOut = type, dataOut = data, sizeOut = size;
        return add(Api::RegQueryValueExA, LedgerView::queryValue(key, name, reserved, type, data, size),
                   [=](Floor& f) -> LONG_PTR {
                       DWORD gotType = 0, gotSize = asked;
                       return RegQueryValueExA(f.mapped(key), text.get(), nullptr, typeOut ? &gotType : nullptr,
                                               dataOut ? f.buffer() : nullptr, sizeOut ? &gotSize : nullptr);
                   });
    }

    LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override {
        const Text text(name);
        // The narrow call reads a text's terminator past the size it is given.
        const std::vector<BYTE> stored(data, data ? data + size + (type == REG_SZ ? 1 : 0) : data);
        const bool dataIn = data;
        return add(Api::RegSetValueExA, LedgerView::setValue(key, name, reserved, type, data, size),
                   [=](Floor& f) -> LONG_PTR {
                       return RegSetValueExA(f.mapped(key), text.get(), 0, type, dataIn ? stored.data() : nullptr,
                                             size);
                   });
    }

    LONG closeKey(HKEY key) override {
        return add(Api::RegCloseKey, LedgerView::closeKey(key),
                   [=](Floor& f) -> LONG_PTR { return RegCloseKey(f.mapped(key)); });
    }

    HANDLE findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) override {
        const Text text(pattern);
        return made(Api::FindFirstFileA, LedgerView::findFirst(pattern, data), [=] {
            WIN32_FIND_DATAA found;
            return FindFirstFileA(text.get(), &found);
        });
    }

    HANDLE findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) override {
        const std::wstring text = pattern ? pattern : L"";
        return made(Api::FindFirstFileW, LedgerView::findFirstWide(pattern, data), [=] {
            WIN32_FIND_DATAW found;
            return FindFirstFileW(text.c_str(), &found);
        });
    }

    BOOL findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) override {
        return add(Api::FindNextFileW, LedgerView::findNextWide(search, data), [=](Floor& f) {
            WIN32_FIND_DATAW next;
            return static_cast<LONG_PTR>(FindNextFileW(f.mapped(search), &next));
        });
    }

    BOOL findClose(HANDLE search) override {
        return add(Api::FindClose, LedgerView::findClose(search),
                   [=](Floor& f) -> LONG_PTR { return FindClose(f.mapped(search)); });
    }

    HANDLE loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) override {
        const Text text(name);
        return made(Api::LoadImageA, LedgerView::loadImage(instance, name, type, cx, cy, flags),
                    [=] { return LoadImageA(instance, text.get(name), type, cx, cy, flags); });
    }

    HFONT createFont(const LOGFONTA* description) override {
        if (!description) script.problems.push_back("a font made from no description");
        const LOGFONTA copy = description ? *description : LOGFONTA();
        return static_cast<HFONT>(made(Api::CreateFontIndirectA, LedgerView::createFont(description),
                                       [=] { return static_cast<HANDLE>(CreateFontIndirectA(&copy)); }));
    }

    int getObject(HANDLE object, int size, LPVOID buffer) override {
        const bool dataOut = buffer;
        return add(Api::GetObjectA, LedgerView::getObject(object, size, buffer), [=](Floor& f) -> LONG_PTR {
            return GetObjectA(f.mapped(object), size, dataOut ? f.buffer() : nullptr);
        });
    }

    BOOL deleteObject(HGDIOBJ object) override {
        return add(Api::DeleteObject, LedgerView::deleteObject(object),
                   [=](Floor& f) -> LONG_PTR { return DeleteObject(f.mapped(object)); });
    }

    // Booked before it is made: the calls made in the dialog come after it.
    INT_PTR dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC original, LPARAM param) override {
        const int frame = static_cast<int>(windows_.size()), ownerFrame = frameOf(owner);
        windows_.push_back(nullptr);
        procedures_.push_back(original);
        script.fonts.push_back(nullptr);
        const Text text(name);
        const size_t index = script.steps.size();
        add(Api::DialogBoxParamA, 0, [=](Floor& f) -> LONG_PTR {
            return f.openDialog(instance, text.get(name), ownerFrame ? f.window(ownerFrame) : owner, frame);
        });
        return script.steps[index].outcome = LedgerView::dialogBox(instance, name, owner, procedure, param);
    }

    BOOL enumWindows(WNDENUMPROC callback, LPARAM param) override {
        add(Api::EnumWindows, 0, [](Floor&) -> LONG_PTR {
            EnumWindows(firstOfProcess, static_cast<LPARAM>(GetCurrentProcessId()));
            return 0;
        });
        return LedgerView::enumWindows(callback, param);
    }

private:
    std::vector<HWND> windows_ = {nullptr};        // each frame's; null once it is gone
    std::vector<DLGPROC> procedures_ = {nullptr};  // the plug-in's, for each frame
    int phase_ = 0;
    HHOOK hook_ = nullptr;
};
}  // namespace

std::string Step::name() const {
    return kind == kCentre ? "centring" : kind == kListEntry ? "SendMessageA" : apiName(kind);
}

int Script::phaseOf(int frame, UINT message, WORD id) const {
    for (size_t i = 0; i < phases.size(); ++i)
        if (phases[i].frame == frame && phases[i].message == message && phases[i].id == id) return static_cast<int>(i);
    return -1;
}

Script Script::bare(bool innermost) const {
    Script dialogs = *this;
    dialogs.steps.clear();
    for (const Step& step : steps)
        if (step.kind == Api::DialogBoxParamA) dialogs.steps.push_back(step);
    if (innermost) dialogs.steps = {dialogs.steps.back()};
    if (innermost) dialogs.steps[0].phase = 0;  // owned by no window
    return dialogs;
}

Script record(HMODULE module, const std::function<void()>& call) {
    Recorder recorder(module);
    call();
    for (Api api : {Api::MessageBoxA, Api::fopen})
        if (recorder.count(api))
            recorder.script.problems.push_back(std::string(apiName(api)) + ", which it leaves out");
    return recorder.script;
}

Floor::Floor(const Script& script)
    : script_(script), byPhase_(script.phases.size()), windows_(script.fonts.size()), reported_(script.steps.size()) {
    for (size_t i = 0; i < script.steps.size(); ++i) byPhase_[script.steps[i].phase].push_back(static_cast<int>(i));
}

void Floor::run() {
    Floor* outer = playing;
    playing = this;
    std::fill(windows_.begin(), windows_.end(), nullptr);
    handles_.clear();
    play(0);
    playing = outer;
}

void Floor::play(int phase) {
    if (phase < 0) return;
    for (int index : byPhase_[phase]) {
        const Step& step = script_.steps[index];
        const LONG_PTR outcome = step.make(*this);
        if (outcome == step.outcome || reported_[index]) continue;
        reported_[index] = true;
        differences_.push_back("call #" + std::to_string(index) + ", " + step.name() + ", ended otherwise");
    }
}

INT_PTR Floor::openDialog(HINSTANCE instance, LPCSTR name, HWND owner, int frame) {
    opening_ = frame;
    return DialogBoxParamA(instance, name, owner, procedure, frame);
}

INT_PTR CALLBACK Floor::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Floor& f = *playing;
    if (message == WM_SETFONT) {  // before WM_INITDIALOG, while the dialog is being opened
        f.made(f.script_.fonts[f.opening_], reinterpret_cast<HANDLE>(wParam));
        return FALSE;
    }
    if (message == WM_INITDIALOG) {
        const int frame = static_cast<int>(lParam);
        f.windows_[frame] = window;
        f.play(f.script_.phaseOf(frame, WM_INITDIALOG, 0));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    // The latest first: a gone dialog's handle may have come back for a later one.
    const auto found = std::find(f.windows_.rbegin(), f.windows_.rend(), window);
    if (found == f.windows_.rend()) return FALSE;
    const WORD id = LOWORD(wParam);
    f.play(f.script_.phaseOf(static_cast<int>(f.windows_.rend() - found) - 1, WM_COMMAND, id));
    if (id == IDOK || id == IDCANCEL) EndDialog(window, id);
    return TRUE;
}
