// Handlers of the recorder window that are not built yet, one function each.
// Each logs that it was reached and does nothing else; an enabler keeps its
// command grayed, so menus and accelerators never run it. A concern deletes
// the stubs it builds from this file.
#include "recorder/window/TAppDialog.h"

namespace {
void NotYetBuilt(const char* what) {
    OutputDebugStringA("Larkspur-PRO: not yet built: ");
    OutputDebugStringA(what);
    OutputDebugStringA("\n");
}
}  // namespace

// Not yet built (editing: record-insert).
void TAppDialog::CmRecordInsert() { NotYetBuilt("CmRecordInsert"); }

// Not yet built (editing: record-insert enabler).
void TAppDialog::CeRecordInsert(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: record-overwrite).
void TAppDialog::CmRecordOverwrite() { NotYetBuilt("CmRecordOverwrite"); }

// Not yet built (editing: record-overwrite enabler).
void TAppDialog::CeRecordOverwrite(TCommandEnabler& ce) { ce.Enable(false); }
