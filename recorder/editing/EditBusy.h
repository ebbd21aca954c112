// The program's one "edit busy" state: set while an edit operation (or a
// later re-ordering) rebuilds the current recording and pumps messages
// between its chunks. Whatever could touch the recording meanwhile (file,
// transport and edit commands, the private messages, the scheduler, a
// close) asks IsEditBusy and is refused or kept for later.
#pragma once

bool IsEditBusy();

// Edit busy for the life of the scope (they nest).
class EditBusyScope {
public:
    EditBusyScope();
    ~EditBusyScope();
    EditBusyScope(const EditBusyScope&) = delete;
    EditBusyScope& operator=(const EditBusyScope&) = delete;
};
