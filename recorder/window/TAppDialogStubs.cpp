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

// Not yet built (editing: mark).
void TAppDialog::CmMarkSelection() { NotYetBuilt("CmMarkSelection"); }

// Not yet built (editing: mark enabler).
void TAppDialog::CeMarkSelection(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: clear the mark).
void TAppDialog::CmClearMark() { NotYetBuilt("CmClearMark"); }

// Not yet built (editing: clear-mark enabler).
void TAppDialog::CeClearMark(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: cut).
void TAppDialog::CmCut() { NotYetBuilt("CmCut"); }

// Not yet built (editing: cut enabler).
void TAppDialog::CeCut(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: copy).
void TAppDialog::CmCopy() { NotYetBuilt("CmCopy"); }

// Not yet built (editing: copy enabler).
void TAppDialog::CeCopy(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: paste insert).
void TAppDialog::CmPasteInsert() { NotYetBuilt("CmPasteInsert"); }

// Not yet built (editing: paste-insert enabler).
void TAppDialog::CePasteInsert(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: paste from file).
void TAppDialog::CmPasteFromFile() { NotYetBuilt("CmPasteFromFile"); }

// Not yet built (editing: paste-from-file enabler).
void TAppDialog::CePasteFromFile(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: record-insert).
void TAppDialog::CmRecordInsert() { NotYetBuilt("CmRecordInsert"); }

// Not yet built (editing: record-insert enabler).
void TAppDialog::CeRecordInsert(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: record-overwrite).
void TAppDialog::CmRecordOverwrite() { NotYetBuilt("CmRecordOverwrite"); }

// Not yet built (editing: record-overwrite enabler).
void TAppDialog::CeRecordOverwrite(TCommandEnabler& ce) { ce.Enable(false); }








