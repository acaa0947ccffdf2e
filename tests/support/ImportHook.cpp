#include "ImportHook.h"

#include <cstdio>
#include <cstring>

namespace {
template <typename T>
T* at(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

IMAGE_IMPORT_DESCRIPTOR* imports(HMODULE module) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = at<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    return dir.VirtualAddress ? at<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress) : nullptr;
}

void writeSlot(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

template <typename Visit>
void forEachImport(HMODULE module, Visit visit) {
    for (IMAGE_IMPORT_DESCRIPTOR* d = imports(module); d && d->Name; ++d) {
        const char* dll = at<char>(module, d->Name);
        auto* names = at<IMAGE_THUNK_DATA>(module, d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk);
        auto* slots = at<IMAGE_THUNK_DATA>(module, d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* function =
                reinterpret_cast<char*>(at<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData)->Name);
            if (!visit(dll, function, reinterpret_cast<void**>(&slots->u1.Function))) return;
        }
    }
}
}  // namespace

ImportHook::ImportHook(HMODULE module, const char* dll, const char* function, const void* replacement) {
    if (!module) return;
    forEachImport(module, [&](const char* d, const char* f, void** slot) {
        if (_stricmp(d, dll) != 0 || strcmp(f, function) != 0) return true;
        slot_ = slot;
        original_ = *slot;
        writeSlot(slot, const_cast<void*>(replacement));
        return false;
    });
}

ImportHook::~ImportHook() {
    if (slot_) writeSlot(slot_, original_);
}

int listImports(HMODULE module, char names[][64], int capacity) {
    int count = 0;
    forEachImport(module, [&](const char* dll, const char* function, void**) {
        if (count < capacity) snprintf(names[count], 64, "%s!%s", dll, function);
        ++count;
        return true;
    });
    return count;
}
