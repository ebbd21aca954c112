// The recorder window's message table: every message and command it takes,
// each wired to its handler (handlers not built yet are stubs, see
// TAppDialogStubs.cpp). Searched in order; where an id stands twice the
// first entry answers. After this table come the dialog's and the window's.
#include "recorder/window/TAppDialog.h"

#include "core/PrivateMessages.h"

const MsgEntry<TAppDialog> TAppDialog::kMessages[] = {
    // Edit menu: marks, cut, copy, paste
    OnCommand(CM_MARKSELECTION, &TAppDialog::CmMarkSelection),
    OnEnable(CM_MARKSELECTION, &TAppDialog::CeMarkSelection),
    OnCommand(CM_CLEARMARK, &TAppDialog::CmClearMark),
    OnEnable(CM_CLEARMARK, &TAppDialog::CeClearMark),
    OnCommand(CM_CUT, &TAppDialog::CmCut),
    OnEnable(CM_CUT, &TAppDialog::CeCut),
    OnCommand(CM_COPY, &TAppDialog::CmCopy),
    OnEnable(CM_COPY, &TAppDialog::CeCopy),
    OnCommand(CM_PASTEINSERT, &TAppDialog::CmPasteInsert),
    OnEnable(CM_PASTEINSERT, &TAppDialog::CePasteInsert),
    OnCommand(CM_PASTETOFILE, &TAppDialog::CmPasteToFile),
    OnEnable(CM_PASTETOFILE, &TAppDialog::CePasteToFile),
    OnCommand(CM_PASTEFROMFILE, &TAppDialog::CmPasteFromFile),
    OnEnable(CM_PASTEFROMFILE, &TAppDialog::CePasteFromFile),
    OnCommand(CM_RECORDOVERWRITE, &TAppDialog::CmRecordOverwrite),
    OnEnable(CM_RECORDOVERWRITE, &TAppDialog::CeRecordOverwrite),
    OnCommand(CM_RECORDINSERT, &TAppDialog::CmRecordInsert),
    OnEnable(CM_RECORDINSERT, &TAppDialog::CeRecordInsert),
    // Annotations and position
    OnCommand(CM_INSERTANNOTATION, &TAppDialog::CmInsertAnnotation),
    OnEnable(CM_INSERTANNOTATION, &TAppDialog::CeInsertAnnotation),
    OnCommand(CM_ENDANNOTATION, &TAppDialog::CmEndAnnotation),
    OnEnable(CM_ENDANNOTATION, &TAppDialog::CeEndAnnotation),
    OnCommand(CM_DELETEANNOTATION, &TAppDialog::CmDeleteAnnotation),
    OnEnable(CM_DELETEANNOTATION, &TAppDialog::CeDeleteAnnotation),
    OnCommand(CM_POSITION, &TAppDialog::CmPosition),
    OnEnable(CM_POSITION, &TAppDialog::CePosition),
    // File menu
    OnCommand(CM_OPEN, &TAppDialog::CmOpen),
    OnCommand(CM_SAVEAS, &TAppDialog::CmSaveAs),
    OnEnable(CM_SAVEAS, &TAppDialog::CeSave),
    OnCommand(CM_SAVE, &TAppDialog::CmSave),
    OnEnable(CM_SAVE, &TAppDialog::CeSave),
    OnCommand(CM_NEWDEFAULTFILE, &TAppDialog::CmNewDefaultFile),
    OnCommand(CM_NEWMP3FILE, &TAppDialog::CmNewMp3File),
    OnCommand(CM_NEWWAVEFILE, &TAppDialog::CmNewWaveFile),
    OnCommand(CM_NEWVORBISFILE, &TAppDialog::CmNewVorbisFile),
    OnCommand(CM_NEWSPEEXFILE, &TAppDialog::CmNewSpeexFile),
    OnCommand(CM_PROPERTIES, &TAppDialog::CmProperties),
    OnEnable(CM_PROPERTIES, &TAppDialog::CeProperties),
    OnCommand(CM_PRIVATECLIPBOARD, &TAppDialog::CmPrivateClipboard),
    OnEnable(CM_PRIVATECLIPBOARD, &TAppDialog::CePrivateClipboard),
    OnCommand(CM_LOGFILE, &TAppDialog::CmLogFile),
    // Transport (menu, accelerators and the buttons)
    OnCommand(CM_PLAY, &TAppDialog::CmPlay),
    OnCommand(CM_RECORD, &TAppDialog::Listen),
    OnEnable(CM_RECORD, &TAppDialog::CeRecord),
    OnCommand(CM_STOP, &TAppDialog::CmStop),
    OnCommand(CM_REWIND, &TAppDialog::CmRewind),
    OnCommand(CM_FASTFORWARD, &TAppDialog::CmFastForward),
    OnCommand(CM_FORWARD1SECOND, &TAppDialog::CmForward1Second),
    OnCommand(CM_FORWARD1SEGMENT, &TAppDialog::CmForward1Segment),
    OnCommand(CM_BACK1SECOND, &TAppDialog::CmBack1Second),
    OnCommand(CM_BACK1SEGMENT, &TAppDialog::CmBack1Segment),
    OnCommand(CM_FORWARD1MINUTE, &TAppDialog::CmForward1Minute),
    OnCommand(CM_BACK1MINUTE, &TAppDialog::CmBack1Minute),
    OnEnable(CM_BACK1MINUTE, &TAppDialog::CeBack1Minute),
    OnEnable(CM_FORWARD1MINUTE, &TAppDialog::CeForward1Minute),
    OnEnable(CM_BACK1SEGMENT, &TAppDialog::CeBack1Segment),
    OnEnable(CM_FORWARD1SEGMENT, &TAppDialog::CeForward1Segment),
    OnCommand(CM_FORWARD1COMMENT, &TAppDialog::CmForward1Comment),
    OnCommand(CM_BACK1COMMENT, &TAppDialog::CmBack1Comment),
    OnCommand(CM_TOGGLEPLAY, &TAppDialog::CmTogglePlay),
    OnCommand(CM_PLAYATSPEED, &TAppDialog::CmPlayAtSpeed),
    OnEnable(CM_PLAYATSPEED, &TAppDialog::CePlayAtSpeed),
    OnCommand(CM_SPEEDUP, &TAppDialog::CmSpeedUp),
    OnCommand(CM_SPEEDDOWN, &TAppDialog::CmSpeedDown),
    // Enter, Esc and command 103 close nothing.
    OnCommand(CM_RESERVED103, &TAppDialog::CmIgnore),
    OnCommand(IDCANCEL, &TAppDialog::CmCancel),
    OnCommand(IDOK, &TAppDialog::CmOk),
    // Devices and timers
    OnMessage(MM_WIM_DATA, &TAppDialog::EvMmWimData),
    OnMessage(MM_ACM_DONE, &TAppDialog::EvMmAcmDone),
    OnMessage(MM_WOM_DONE, &TAppDialog::EvMmWomDone),
    OnTimer(&TAppDialog::EvTimer),
    // Mouse, private messages of the frame and of the window itself
    OnChild(CM_PLAY, BN_DOUBLECLICKED, &TAppDialog::BnPlayDoubleClicked),
    OnMessage(WM_LBUTTONDBLCLK, &TAppDialog::EvLButtonDblClk),
    OnMessage(WM_TOGGLERECORD, &TAppDialog::EvToggleRecord),
    OnMessage(WM_TOGGLEPLAY, &TAppDialog::EvTogglePlay),
    OnMessage(WM_STOPTRANSPORT, &TAppDialog::EvStopTransport),
    OnMessage(WM_REPOSITION, &TAppDialog::EvReposition),
    OnMessage(WM_FILELIMIT, &TAppDialog::EvFileLimit),
    OnMessage(WM_SETTINGSCHANGED, &TAppDialog::EvSettingsChanged),
    OnMessage(WM_STOPTHENPLAY, &TAppDialog::EvStopThenPlay),
    OnMessage(WM_STOPANDSAVE, &TAppDialog::EvStopAndSave),
    OnMessage(WM_STOPTHENRECORD, &TAppDialog::EvStopThenRecord),
    OnMessage(WM_SPLITFILE, &TAppDialog::EvSplitFile),
    OnMessage(WM_RESTARTRECORDING, &TAppDialog::EvRestartRecording),
    OnMessage(WM_OPENFILEREQUEST, &TAppDialog::EvOpenFileRequest),
    OnMessage(WM_ENDSESSIONREQUEST, &TAppDialog::EvEndSessionRequest),
    OnMessage(WM_LATESCHEDULE, &TAppDialog::EvLateSchedule),
    // Sliders: the threshold slider is vertical (WM_VSCROLL); the position
    // slider's notifications are declined so WM_HSCROLL reaches EvHScroll.
    OnChildAll(IDC_VOXSLIDER, &TAppDialog::EvVoxLevelNotify),
    OnChildAll(IDC_POSITIONSLIDER, &TAppDialog::EvSliderNotify),
    OnHScroll(&TAppDialog::EvHScroll),
    OnClose(&TAppDialog::EvClose),
    OnMessage(MM_JOY1BUTTONDOWN, &TAppDialog::EvJoyButton),
    OnMessage(MM_JOY1BUTTONUP, &TAppDialog::EvJoyButton),
    OnMessage(WM_REWIND, &TAppDialog::EvRewind),
    OnMessage(WM_FASTFORWARD, &TAppDialog::EvFastForward),
    OnMessage(WM_FLUSHFILES, &TAppDialog::EvFlushFiles),
    OnCommand(CM_CLOSE, &TAppDialog::CmClose),
    OnEnable(CM_CLOSE, &TAppDialog::CeClose),
    // Recording sources (no menu sends them)
    OnCommand(CM_LINEIN, &TAppDialog::CmLineIn),
    OnEnable(CM_LINEIN, &TAppDialog::CeInputSource),
    OnCommand(CM_MICROPHONE, &TAppDialog::CmMicrophone),
    OnCommandRange(CM_INPUTSOURCEFIRST, CM_INPUTSOURCELAST, &TAppDialog::CmInputSource),
    OnMessage(WM_DROPFILES, &TAppDialog::EvDropFiles),
    OnMessage(WM_DEVICECHANGE, &TAppDialog::EvDeviceChange),
};

// While an edit runs most messages are refused or kept first; then the own
// table, the context-help mix-in's, the dialog's and the window's.
bool TAppDialog::Dispatch(Message& m) {
    return RefuseWhileEditing(m) || DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) ||
           TDialog::Dispatch(m);
}
