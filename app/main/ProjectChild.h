#pragma once

// A child window of the main window that holds values typed by the user
// until it stores them into the project. Before a menu opens and before
// every command, the main window asks its active child window to store
// them, so that typed values reach the project before a save, a run or a
// switch of units. The data dialogs implement it (table windows commit
// their cell through TTableFormBase::CommitCell).

class TProjectChild {
public:
    virtual ~TProjectChild() = default;
    // Stores the window's values into the project. False when a value is
    // invalid: the window has told the user and keeps the focus, and the
    // command does not run.
    virtual bool StoreFields() = 0;
};
