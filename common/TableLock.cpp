#include "TableLock.h"

#include <sddl.h>

#include "ThreadLocal.h"
#include "Trace.h"

namespace {
// A holder that hangs costs the update this long, never the result.
const DWORD kWaitMs = 5000;
// All that waiting and letting go take: a mutex made by another user's process gives no more.
constexpr DWORD kRights = SYNCHRONIZE | MUTEX_MODIFY_STATE;
// Everyone (WD) has those rights and no others, so no one but its owner may change the mutex.
const char kEveryoneMayWait[] = "D:(A;;0x00100001;;;WD)";
static_assert(kRights == 0x00100001, "the rights the descriptor gives");

struct Box {
    const char* text;
    UINT flags;
};
const Box kBoxes[] = {{"No ZORV Worlds are installed", MB_OK},
                      {"Unable to save game stat info!", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST}};

// The innermost lock of each thread: a box waits for its own thread's lock alone.
const ThreadLocal<TableLock*> innermost;

// Opened first: creating asks for every right, which a mutex made by another user's process does
// not give. Made when missing, and opened again should another process have made it meanwhile.
HANDLE openOrCreate() {
    HANDLE mutex = OpenMutexA(kRights, FALSE, kScoreTableLock);
    if (mutex) return mutex;
    LocalMemory descriptor;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(kEveryoneMayWait, SDDL_REVISION_1, descriptor.receive(),
                                                             nullptr)) {
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), FALSE};
        mutex = CreateMutexA(&attributes, FALSE, kScoreTableLock);
    }
    return mutex ? mutex : OpenMutexA(kRights, FALSE, kScoreTableLock);
}
}  // namespace

TableLock::TableLock() : mutex_(openOrCreate()), outer_(innermost.get()) {
    innermost.set(this);
    if (!mutex_) {
        traceMessage("WARNING could not open the score table lock, updating without it");
        return;
    }
    // An abandoned lock is had: its holder ended, and the update reads what it left.
    const DWORD waited = WaitForSingleObject(mutex_.get(), kWaitMs);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!owned_) traceMessage("WARNING could not take the score table lock in 5 s, updating without it");
}

TableLock::~TableLock() {
    if (owned_) ReleaseMutex(mutex_.get());
    mutex_.reset();
    innermost.set(outer_);
    // A box's own loop may let the host call in again, and lock and hold boxes of its own.
    for (int i = 0; i < heldCount_; ++i) showErrorBox(held_[i]);
}

void showErrorBox(ErrorBox box) {
    TableLock* lock = innermost.get();
    if (!lock)
        MessageBoxA(nullptr, kBoxes[box].text, "ZORV Error", kBoxes[box].flags);
    else if (lock->heldCount_ < static_cast<int>(sizeof lock->held_ / sizeof *lock->held_))
        lock->held_[lock->heldCount_++] = box;
}
