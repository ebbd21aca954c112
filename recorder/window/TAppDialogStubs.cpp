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

// Not yet built (files: open).
void TAppDialog::CmOpen() { NotYetBuilt("CmOpen"); }

// Not yet built (files: new default file).
void TAppDialog::CmNewDefaultFile() { NotYetBuilt("CmNewDefaultFile"); }

// Not yet built (files: new WAV file).
void TAppDialog::CmNewWaveFile() { NotYetBuilt("CmNewWaveFile"); }

// Not yet built (files: new MP3 file).
void TAppDialog::CmNewMp3File() { NotYetBuilt("CmNewMp3File"); }

// Not yet built (files: new Vorbis file).
void TAppDialog::CmNewVorbisFile() { NotYetBuilt("CmNewVorbisFile"); }

// Not yet built (files: new Speex file).
void TAppDialog::CmNewSpeexFile() { NotYetBuilt("CmNewSpeexFile"); }

// Not yet built (files: show the log file).
void TAppDialog::CmLogFile() { NotYetBuilt("CmLogFile"); }

// Not yet built (files: record from line-in).
void TAppDialog::CmLineIn() { NotYetBuilt("CmLineIn"); }

// Not yet built (files: record from the microphone).
void TAppDialog::CmMicrophone() { NotYetBuilt("CmMicrophone"); }

// Not yet built (files: record from a named source).
void TAppDialog::CmInputSource(UINT) { NotYetBuilt("CmInputSource"); }

// Not yet built (files: input source enabler).
void TAppDialog::CeInputSource(TCommandEnabler&) {}

// Not yet built (files: files dropped on the window).
LRESULT TAppDialog::EvDropFiles(WPARAM, LPARAM) {
    NotYetBuilt("EvDropFiles");
    return 0;
}

// Not yet built (files: device arrived or left).
LRESULT TAppDialog::EvDeviceChange(WPARAM, LPARAM) {
    NotYetBuilt("EvDeviceChange");
    return TRUE;
}

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

// Not yet built (editing: position dialog).
void TAppDialog::CmPosition() { NotYetBuilt("CmPosition"); }

// Not yet built (editing: position enabler).
void TAppDialog::CePosition(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: record-insert).
void TAppDialog::CmRecordInsert() { NotYetBuilt("CmRecordInsert"); }

// Not yet built (editing: record-insert enabler).
void TAppDialog::CeRecordInsert(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (editing: record-overwrite).
void TAppDialog::CmRecordOverwrite() { NotYetBuilt("CmRecordOverwrite"); }

// Not yet built (editing: record-overwrite enabler).
void TAppDialog::CeRecordOverwrite(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (clipboard: paste to file).
void TAppDialog::CmPasteToFile() { NotYetBuilt("CmPasteToFile"); }

// Not yet built (clipboard: paste-to-file enabler).
void TAppDialog::CePasteToFile(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (clipboard: private clipboard switch).
void TAppDialog::CmPrivateClipboard() { NotYetBuilt("CmPrivateClipboard"); }

// Not yet built (clipboard: private clipboard enabler).
void TAppDialog::CePrivateClipboard(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (annotations: insert).
void TAppDialog::CmInsertAnnotation() { NotYetBuilt("CmInsertAnnotation"); }

// Not yet built (annotations: insert enabler).
void TAppDialog::CeInsertAnnotation(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (annotations: end).
void TAppDialog::CmEndAnnotation() { NotYetBuilt("CmEndAnnotation"); }

// Not yet built (annotations: end enabler).
void TAppDialog::CeEndAnnotation(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (annotations: delete).
void TAppDialog::CmDeleteAnnotation() { NotYetBuilt("CmDeleteAnnotation"); }

// Not yet built (annotations: delete enabler).
void TAppDialog::CeDeleteAnnotation(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (annotations: properties report).
void TAppDialog::CmProperties() { NotYetBuilt("CmProperties"); }

// Not yet built (annotations: properties enabler).
void TAppDialog::CeProperties(TCommandEnabler& ce) { ce.Enable(false); }
