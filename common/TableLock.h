// The lock every process on the machine takes to read, decide and write a hall of fame, and the
// error boxes, which wait until it is let go: nobody waits on a player.
#pragma once

#include "Handles.h"
#include "PluginContract.h"

// The player's two "ZORV Error" boxes.
enum ErrorBox { kNoWorldsBox, kNotSavedBox };
// At once; while a TableLock of this thread lives, once it is let go.
void showErrorBox(ErrorBox box);

// Taken for as long as it lives, with a bounded wait. A lock that cannot be had within the wait is
// passed over, and the trace says so: a holder that hangs costs the update that wait, but one that
// is only slow still writes while the update does, and one result may then overwrite the other.
class TableLock {
public:
    TableLock();
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

private:
    friend void showErrorBox(ErrorBox box);

    KernelObject mutex_;
    bool owned_ = false;
    TableLock* outer_;  // this thread's lock taken before it, if one lives
    // Enough for one locked update: a world search's box for each of its nine reads, and that and
    // a refused write's box for each of its nine writes and eight put back.
    ErrorBox held_[5 * kScoreValues];
    int heldCount_ = 0;
};
