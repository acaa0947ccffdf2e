// The lock every process on the machine takes to read, decide and write a hall of fame, and the
// error boxes, which wait until it is let go: nobody waits on a player.
#pragma once

#include "Handles.h"

// Taken for as long as it lives, with a bounded wait. A lock that cannot be had costs the
// update nothing but that wait: the update goes on without it, and the trace says so.
class TableLock {
public:
    TableLock();
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

private:
    KernelObject mutex_;
    bool owned_ = false;
};

// The player's two "ZORV Error" boxes.
enum ErrorBox { kNoWorldsBox, kNotSavedBox };
// At once; while a TableLock lives, once it is let go.
void showErrorBox(ErrorBox box);
