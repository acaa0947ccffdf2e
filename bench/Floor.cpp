#include "Floor.h"

#include <algorithm>

namespace {
Floor* playing = nullptr;

// The flags the plug-in's centring passes.
const UINT kCentringFlags = SWP_NOZORDER;

BOOL CALLBACK firstOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner != static_cast<DWORD>(processId);
}
}  // namespace

Floor::Floor(const Script& script)
    : script_(script),
      byPhase_(script.phases.size()),
      handles_(script.steps.size()),
      windows_(script.frames + 1),
      fonts_(script.frames + 1),
      reported_(script.steps.size()) {
    DWORD largest = 0;
    for (size_t i = 0; i < script.steps.size(); ++i) {
        byPhase_[script.steps[i].phase].push_back(static_cast<int>(i));
        if (script.steps[i].kind == Step::QueryValue || script.steps[i].kind == Step::GetObject)
            largest = std::max(largest, script.steps[i].size);
    }
    buffer_.resize(largest + 1);
}

void Floor::run() {
    Floor* outer = playing;
    playing = this;
    std::fill(windows_.begin(), windows_.end(), nullptr);
    play(0);
    playing = outer;
}

int Floor::phaseOf(int frame, UINT message, WORD id) const {
    const auto& phases = script_.phases;
    for (size_t i = 0; i < phases.size(); ++i)
        if (phases[i].frame == frame && phases[i].message == message && phases[i].id == id) return static_cast<int>(i);
    return -1;
}

void Floor::play(int phase) {
    if (phase < 0) return;
    for (int index : byPhase_[phase]) make(index);
}

void Floor::differs(int index, const char* what) {
    if (reported_[index]) return;
    reported_[index] = true;
    differences_.push_back(std::string(what) + ": " + describe(script_.steps[index]));
}

void Floor::make(int index) {
    const Step& s = script_.steps[index];
    HANDLE handle = s.made >= 0 ? handles_[s.made] : s.frameFont ? fonts_[script_.phases[s.phase].frame] : s.fixed;
    const char* text = s.hasText ? s.text.c_str() : nullptr;
    const char* name = s.hasText ? text : MAKEINTRESOURCEA(s.resource);
    LONG_PTR result = 0;
    switch (s.kind) {
        case Step::OpenKey: {
            HKEY key = nullptr;
            result = RegOpenKeyExA(static_cast<HKEY>(handle), text, s.options, s.access, &key);
            handles_[index] = key;
            break;
        }
        case Step::QueryValue: {
            DWORD type = 0, size = s.size;
            result = RegQueryValueExA(static_cast<HKEY>(handle), text, nullptr, s.typeOut ? &type : nullptr,
                                      s.dataOut ? buffer_.data() : nullptr, s.sizeOut ? &size : nullptr);
            break;
        }
        case Step::SetValue:
            result =
                RegSetValueExA(static_cast<HKEY>(handle), text, 0, s.type, s.dataOut ? s.data.data() : nullptr, s.size);
            break;
        case Step::CloseKey:
            result = RegCloseKey(static_cast<HKEY>(handle));
            break;
        case Step::FindFirst: {
            WIN32_FIND_DATAA found;
            handles_[index] = FindFirstFileA(text, &found);
            if ((handles_[index] == INVALID_HANDLE_VALUE) !=
                (s.result == reinterpret_cast<LONG_PTR>(INVALID_HANDLE_VALUE)))
                differs(index, "found otherwise");
            return;
        }
        case Step::FindFirstWide: {
            wchar_t pattern[2 * MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, text, -1, pattern, 2 * MAX_PATH - 1);
            WIN32_FIND_DATAW found;
            handles_[index] = FindFirstFileW(pattern, &found);
            if ((handles_[index] == INVALID_HANDLE_VALUE) !=
                (s.result == reinterpret_cast<LONG_PTR>(INVALID_HANDLE_VALUE)))
                differs(index, "found otherwise");
            return;
        }
        case Step::FindNext: {
            WIN32_FIND_DATAW found;
            result = FindNextFileW(handle, &found);
            break;
        }
        case Step::FindClose:
            result = FindClose(handle);
            break;
        case Step::LoadImage:
            handles_[index] = LoadImageA(s.instance, name, s.type, s.cx, s.cy, s.flags);
            if (!handles_[index] != !s.result) differs(index, "loaded otherwise");
            return;
        case Step::CreateFont:
            handles_[index] = CreateFontIndirectA(&s.font);
            if (!handles_[index] != !s.result) differs(index, "made otherwise");
            return;
        case Step::GetObject:
            result = GetObjectA(handle, static_cast<int>(s.size), s.dataOut ? buffer_.data() : nullptr);
            break;
        case Step::DeleteObject:
            result = DeleteObject(static_cast<HGDIOBJ>(handle));
            break;
        case Step::EnumWindows:
            EnumWindows(firstOfProcess, static_cast<LPARAM>(GetCurrentProcessId()));
            return;
        case Step::Centre: {
            HWND window = windows_[s.frame];
            RECT desktop = {}, own = {};
            GetWindowRect(GetDesktopWindow(), &desktop);
            GetWindowRect(window, &own);
            const int width = own.right - own.left, height = own.bottom - own.top;
            const int x = (desktop.right - desktop.left) / 2 - width / 2;
            const int y = (desktop.bottom - desktop.top) / 2 - height / 2;
            SetWindowPos(window, nullptr, x, y, width, height, kCentringFlags);
            if (x != s.moved.left || y != s.moved.top) differs(index, "moved elsewhere");
            return;
        }
        case Step::ListEntry: {
            // The control is looked up once, as the plug-in does when it attaches it.
            if (s.made < 0) handles_[index] = GetDlgItem(windows_[s.frame], s.id);
            const auto control = static_cast<HWND>(s.made < 0 ? handles_[index] : handle);
            result = SendMessageA(control, s.message, s.wParam, reinterpret_cast<LPARAM>(text));
            break;
        }
        case Step::Dialog: {
            HWND owner = s.ownerFrame ? windows_[s.ownerFrame] : s.owner;
            opening_ = s.frame;
            result = DialogBoxParamA(s.instance, name, owner, procedure, s.frame);
            break;
        }
        case Step::Kinds:
            return;
    }
    if (result != s.result) differs(index, "ended otherwise");
}

INT_PTR CALLBACK Floor::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Floor& f = *playing;
    if (message == WM_SETFONT) {  // before WM_INITDIALOG, while the dialog is being opened
        f.fonts_[f.opening_] = reinterpret_cast<HFONT>(wParam);
        return FALSE;
    }
    if (message == WM_INITDIALOG) {
        const int frame = static_cast<int>(lParam);
        f.windows_[frame] = window;
        f.play(f.phaseOf(frame, WM_INITDIALOG, 0));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    // The latest first: a gone dialog's handle may have come back for a later one.
    const auto found = std::find(f.windows_.rbegin(), f.windows_.rend(), window);
    if (found == f.windows_.rend()) return FALSE;
    const WORD id = LOWORD(wParam);
    f.play(f.phaseOf(static_cast<int>(f.windows_.rend() - found) - 1, WM_COMMAND, id));
    if (id == IDOK || id == IDCANCEL) EndDialog(window, id);
    return TRUE;
}
