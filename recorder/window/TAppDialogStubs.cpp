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


// Not yet built (playback: start playing).
void TAppDialog::CmPlay() { NotYetBuilt("CmPlay"); }

// Not yet built (playback: back one step).
void TAppDialog::CmRewind() { NotYetBuilt("CmRewind"); }

// Not yet built (playback: forward one step).
void TAppDialog::CmFastForward() { NotYetBuilt("CmFastForward"); }

// Not yet built (playback: forward 1 second).
void TAppDialog::CmForward1Second() { NotYetBuilt("CmForward1Second"); }

// Not yet built (playback: forward 1 segment).
void TAppDialog::CmForward1Segment() { NotYetBuilt("CmForward1Segment"); }

// Not yet built (playback: back 1 second).
void TAppDialog::CmBack1Second() { NotYetBuilt("CmBack1Second"); }

// Not yet built (playback: back 1 segment).
void TAppDialog::CmBack1Segment() { NotYetBuilt("CmBack1Segment"); }

// Not yet built (playback: forward 1 minute).
void TAppDialog::CmForward1Minute() { NotYetBuilt("CmForward1Minute"); }

// Not yet built (playback: back 1 minute).
void TAppDialog::CmBack1Minute() { NotYetBuilt("CmBack1Minute"); }

// Not yet built (playback: forward 1 comment).
void TAppDialog::CmForward1Comment() { NotYetBuilt("CmForward1Comment"); }

// Not yet built (playback: back 1 comment).
void TAppDialog::CmBack1Comment() { NotYetBuilt("CmBack1Comment"); }

// Not yet built (playback: play at speed).
void TAppDialog::CmPlayAtSpeed() { NotYetBuilt("CmPlayAtSpeed"); }

// Not yet built (playback: play-at-speed enabler).
void TAppDialog::CePlayAtSpeed(TCommandEnabler& ce) { ce.Enable(false); }

// Not yet built (playback: faster).
void TAppDialog::CmSpeedUp() { NotYetBuilt("CmSpeedUp"); }

// Not yet built (playback: slower).
void TAppDialog::CmSpeedDown() { NotYetBuilt("CmSpeedDown"); }

// Not yet built (playback: queue decoded buffers).
bool TAppDialog::QueuePlayBuffers() {
    NotYetBuilt("QueuePlayBuffers");
    return false;
}

// Not yet built (playback: a played buffer came back).
LRESULT TAppDialog::EvMmWomDone(WPARAM, LPARAM) {
    NotYetBuilt("EvMmWomDone");
    return 0;
}

// Not yet built (playback: conversion done (never arrives)).
LRESULT TAppDialog::EvMmAcmDone(WPARAM, LPARAM) {
    NotYetBuilt("EvMmAcmDone");
    return 0;
}

// Not yet built (keys: toggle play).
void TAppDialog::CmTogglePlay() { NotYetBuilt("CmTogglePlay"); }

// Not yet built (keys: SoundByte play).
void TAppDialog::BnPlayDoubleClicked() { NotYetBuilt("BnPlayDoubleClicked"); }

// Not yet built (messages: toggle playing).
LRESULT TAppDialog::EvTogglePlay(WPARAM, LPARAM) {
    NotYetBuilt("EvTogglePlay");
    return 0;
}

// Not yet built (messages: move by seconds).
LRESULT TAppDialog::EvReposition(WPARAM, LPARAM) {
    NotYetBuilt("EvReposition");
    return 0;
}

// Not yet built (messages: settings changed).
LRESULT TAppDialog::EvSettingsChanged(WPARAM, LPARAM) {
    NotYetBuilt("EvSettingsChanged");
    return 0;
}

// Not yet built (messages: stop, then play).
LRESULT TAppDialog::EvStopThenPlay(WPARAM, LPARAM) {
    NotYetBuilt("EvStopThenPlay");
    return 0;
}

// Not yet built (messages: stop, then record).
LRESULT TAppDialog::EvStopThenRecord(WPARAM, LPARAM) {
    NotYetBuilt("EvStopThenRecord");
    return 0;
}

// Not yet built (joystick: button pressed or released).
LRESULT TAppDialog::EvJoyButton(WPARAM, LPARAM) {
    NotYetBuilt("EvJoyButton");
    return 0;
}

// Not yet built (messages: Rew button repeat).
LRESULT TAppDialog::EvRewind(WPARAM, LPARAM) {
    NotYetBuilt("EvRewind");
    return 0;
}

// Not yet built (messages: Forw button repeat).
LRESULT TAppDialog::EvFastForward(WPARAM, LPARAM) {
    NotYetBuilt("EvFastForward");
    return 0;
}

// Not yet built (files: close the current file).
void TAppDialog::CmClose() { NotYetBuilt("CmClose"); }

// Not yet built (files: close enabler).
void TAppDialog::CeClose(TCommandEnabler& ce) { ce.Enable(false); }

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
