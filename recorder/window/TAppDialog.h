// TAppDialog: the recorder window. A modeless dialog (IDD_TAPP) that is the
// frame's client and owns everything the recorder does: the transport
// buttons, the level meter, the sliders and read-outs, capture, playback,
// the current recording and its editing.
//
// One class, many files. TAppDialog.cpp holds construction, set-up,
// tear-down, the closing path, keyboard pre-processing, the timers and the
// message table; each concern has its own file (capture, voice activation,
// playback, status, files, editing, recording modes, clipboard) and its own
// section below.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ContextHelpWin.h"
#include "core/SMsg.h"
#include "core/TimerEvent.h"
#include "audiofile/RecFile.h"
#include "framework/Dialog.h"
#include "framework/ModalSteps.h"
#include "sound/AcmStream.h"
#include "schedule/ScheduleClock.h"
#include "recorder/capture/CaptureSession.h"
#include "recorder/capture/FileLimits.h"
#include "recorder/playback/PlayTally.h"
#include "recorder/playback/SpeedConvert.h"
#include "sound/WaveDevice.h"
#include "sound/WaveFormatBuffer.h"
#include "resources/ResourceIds.h"

class AudioEdit;
class CoolButton;
class EditProgress;
class RCButton;
class SMeter;
class TransferProgress;
class TReportFrame;

// Timers of the recorder window.
constexpr UINT_PTR TIMER_PLAYSTART = 39;        // queue the playback buffers
constexpr UINT_PTR TIMER_PLAYTAIL = 41;         // close the device that finishes a played file
constexpr UINT_PTR TIMER_SCHEDULER = 42;        // scheduler poll
constexpr UINT_PTR TIMER_PROPERTIESWATCH = 43;  // /R: end with the properties report
constexpr UINT kSchedulerFirstMs = 1000;        // first poll after set-up or a settings change
constexpr UINT kSchedulerPeriodMs = 2000;       // every later poll
constexpr UINT kPropertiesWatchMs = 1000;
// How long the output device stays open after the last buffer of a file came
// back: a device may return a buffer while its sound is still queued in the
// sound server (under Wine up to about a second), and closing it then would
// cut the end of the file.
constexpr UINT kPlayTailMs = 1500;
// After the file's last block the device is given this much silence, and the
// play ends when the silence comes back: a device reports a block done before
// it is heard, and Wine's output drops what the sound server still holds as
// soon as no block is left with it.
constexpr UINT kEndSilenceMs = 500;

// The settings record's and the file's format buffers always have room for
// the largest format record; the codec manager's own answer (18 bytes under
// /D, 50 under Wine) only says how large its formats are.
constexpr int kFormatBufferRoomBytes = static_cast<int>(kMaxFormatBytes);

// F1 and a right click on a control show its help pop-up (ContextHelpWin;
// each control's id is its help id).
class TAppDialog : public TDialog, public SMsg, public ContextHelpWin {
public:
    // parent: the frame (or null in tests); module: where IDD_TAPP lives.
    explicit TAppDialog(TWindow* parent, HINSTANCE module = nullptr);
    ~TAppDialog() override;

    // ---- framework slots (TAppDialog.cpp) ----
    bool Create() override;
    bool PreProcessMsg(MSG& msg) override;
    bool IdleAction(long idleCount) override;
    bool CanClose() override;
    void SetupWindow() override;
    bool Dispatch(Message& m) override;
    HWND MsgOwner() const override { return GetHandle(); }

    // Enter and Esc must never close the recorder window.
    void CmOk() override {}
    void CmCancel() override {}
    void CmIgnore() {}  // command 103

    // ---- window shell: timers and closing (TAppDialog.cpp) ----
    void EvTimer(UINT timerId);
    void EvClose();
    // Arms the scheduler timer at 1000 ms (set-up, settings change).
    void SpinTimer();
    // Stop check, then start check of the schedule; re-arms timer 42.
    void SchedulerPoll();

    // ---- transport buttons and window controls (TAppDialog.cpp) ----
    std::unique_ptr<CoolButton> RecordButton;  // 150, group 150-154
    std::unique_ptr<CoolButton> StopButton;    // 154
    std::unique_ptr<CoolButton> PlayButton;    // 151
    std::unique_ptr<RCButton> RewindButton;    // 152, repeats WM_REWIND every 200 ms
    std::unique_ptr<RCButton> ForwardButton;   // 153, repeats WM_FASTFORWARD
    std::unique_ptr<SMeter> Meter;             // 116, placed over 109 at set-up
    HWND VoxSlider() const { return GetDlgItem(IDC_VOXSLIDER); }
    HWND PositionSlider() const { return GetDlgItem(IDC_POSITIONSLIDER); }
    // Repaints the five transport buttons.
    void RepaintTransportButtons();
    // Shows (and enables) or hides the threshold slider, its label and read-out.
    void ShowVoxControls(bool show);

    // ---- transport (TAppDialogTransport.cpp, TAppDialogPlay*.cpp) ----
    int Recording = 0;    // capture is running
    BYTE Playing = 0;     // playback is running
    WaveDevice hWaveIn{WaveDirection::Input};    // the open input device, if any
    WaveDevice hWaveOut{WaveDirection::Output};  // the open output device, if any
    WaveDevice PlayTail{WaveDirection::Output};  // the device letting out the end of a played file
    bool PlayReachedEnd = false;                 // the playback ran to the end of the file
    bool EndSilenceLent = false;                 // the silence after the last block went to the device
    AcmStream hAcmStream;                        // the open conversion stream, if any
    int AcmMode = 0;          // 1 encode, 2 decode, 0 none
    int SpeedMode = 0;        // 0 normal, 2 requested, 1 playing at speed
    int PlayDoneIndex = -1;   // playback ring index returned last
    // ---- playback (TAppDialogPlay.cpp, TAppDialogPlayMove.cpp) ----
    int PlayQueuedIndex = -1;      // ring index written to the device last (compressed files)
    int PlayDecodedIndex = -1;     // conversion record decoded last (compressed files)
    uint32_t PlayedPosition = 0;   // file position at the end of the buffer heard last
    uint32_t PlayPeak[5] = {};     // peak level of each playback buffer
    std::unique_ptr<uint8_t[]> SpeedWork;  // copy of a block for the speed conversion
    SpeedBalance PlaySpeedBalance;         // what this play at this speed took in and gave out
    PlayBufferTally PlayCount;     // the buffers this playback handed to the device
    void BnPlay();
    void StartPlayTimer(UINT ms);
    uint32_t ReadPlayData(void* buffer);
    void DecodePlayBuffer(int index);
    // atSpeed false: the block plays as it is (the silence after the end).
    void MmOutData(int index, bool atSpeed = true);
    void SpeedConvert(int index);
    void MmOutDone(WAVEHDR& header, int index);
    // Settles and logs the playback's buffer tally; before the device is reset.
    void EndPlayTally();
    // Closes the device of a played file when its tail has been let out (or
    // at once, before the output is opened again).
    void ClosePlayTail();
    void LogPlayDeviceClosed(const WaveCloseResult& closed);
    // Reposition by minute (0), second (1), segment (2) or comment (3).
    void Reposition(int mode, bool forward, int count);
    void PositionPrevSegment(bool previous);
    // Moves the position by seconds (negative: back), as the joystick does.
    void StepSeconds(int seconds);
    void PositionCommand(UINT id, int mode, bool forward);
    void MoveByKeys(bool forward);
    void CmPlay();
    // Stop (TAppDialogTransport.cpp): the Stop button's look and the focus,
    // then BnStop, which ends recording and playback and brings the file
    // and the read-outs up to date. Kept for later while the transport is busy.
    void CmStop();
    void BnStop();
    // Moves the current file to position (whole blocks, at most its length)
    // and the read-outs with it.
    void Position(uint32_t position, bool moveSlider);
    void CmRewind();
    void CmFastForward();
    void CmForward1Second();
    void CmForward1Segment();
    void CmBack1Second();
    void CmBack1Segment();
    void CmForward1Minute();
    void CmBack1Minute();
    void CmForward1Comment();
    void CmBack1Comment();
    void CeBack1Minute(TCommandEnabler& ce);
    void CeForward1Minute(TCommandEnabler& ce);
    void CeBack1Segment(TCommandEnabler& ce);
    void CeForward1Segment(TCommandEnabler& ce);
    void CmPlayAtSpeed();
    void CePlayAtSpeed(TCommandEnabler& ce);
    void CmSpeedUp();
    void CmSpeedDown();
    bool QueuePlayBuffers();
    LRESULT EvMmWomDone(WPARAM wParam, LPARAM lParam);
    LRESULT EvMmAcmDone(WPARAM wParam, LPARAM lParam);

    // ---- capture (TAppDialogCapture.cpp) ----
    int LastWaveIndex = -1;  // ring slot processed last
    AudioRing Ring;          // the five buffers capture and playback share
    CaptureSession Capture{hWaveIn, Ring};
    // Listen, a restart and the capture part of stopping are under way
    // (they nest); requests that arrive meanwhile are kept and posted again
    // when the outermost one ends, so a pump inside cannot run them at once.
    struct TransportRequest {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        HWND target = nullptr;  // another window's request kept in its place; null: this window's
    };
    int TransportBusyDepth = 0;
    std::vector<TransportRequest> DeferredRequests;
    bool IsTransportBusy() const { return TransportBusyDepth > 0; }
    void BeginTransportBusy() { ++TransportBusyDepth; }
    void EndTransportBusy();
    // The transport is busy for the life of the scope (every return included).
    class TransportBusyScope {
    public:
        explicit TransportBusyScope(TAppDialog& window) : window_(window) { window_.BeginTransportBusy(); }
        ~TransportBusyScope() { window_.EndTransportBusy(); }
        TransportBusyScope(const TransportBusyScope&) = delete;
        TransportBusyScope& operator=(const TransportBusyScope&) = delete;

    private:
        TAppDialog& window_;
    };
    bool RestartPending = false;  // WM_RESTARTRECORDING posted, not yet handled
    bool TraceCapture = false;    // per-buffer log lines (uncounted), off unless asked for
    void InitDat();
    void FreeDat();
    void Listen();
    void CeRecord(TCommandEnabler& ce);
    LRESULT EvMmWimData(WPARAM wParam, LPARAM lParam);
    LRESULT EvRestartRecording(WPARAM wParam, LPARAM lParam);
    void ListenError(int stringId, bool stop);
    void PostRestart();
    // The capture part of stopping: stops and resets the input device, writes
    // every buffer it gave back with audio in it, flushes the codec into the
    // file, closes the device, tells the /N window of an open segment and
    // refreshes the marks. Idempotent; the transport's stop calls it.
    void StopCapture();
    // While the transport is busy or a modal step runs: keeps the request
    // for later and returns true.
    bool DeferIfTransportBusy(UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- modal steps (TAppDialogModalSteps.cpp) ----
    // While any modal step runs (a message box, dialog, file dialog or sheet,
    // the progress of a clipboard transfer), its loop delivers the
    // scheduler's tick, a second copy's requests, the joystick, hot keys,
    // the tray and the file limit. Whatever would stop, save, switch or
    // close the current file is kept with the transport's requests and
    // posted again, in its order, when the outermost step has ended; a
    // schedule event falling due meanwhile runs then and is logged as late.
    // What keeps the capture alive runs under the step. The end of the
    // Windows session cannot wait: it ends the step and stops at once.
    bool IsHoldingRequests() const;
    // The restart, the ceiling split and the end of the session wait only
    // for the transport.
    static bool NeverWaitsForADialog(UINT msg);
    bool DeferWhileTransportBusy(UINT msg, WPARAM wParam, LPARAM lParam);
    // Set while the end of the session stops and closes the recording.
    bool EndingSession = false;
    // Posts what was kept, once neither the transport nor a modal step holds it.
    void ReleaseHeldRequests();
    // The log tells what waited for a dialog, and when it ran.
    void LogHeldRequest(UINT msg, WPARAM wParam);
    bool HeldForDialog = false;  // something waits for a modal step
    // Another window's message (the application's copy of a second copy's
    // request) kept in its place among this window's requests; false when
    // nothing holds them now.
    bool HoldInOrder(HWND target, UINT msg, WPARAM wParam, LPARAM lParam);
    void PostHeld(const TransportRequest& request);
    struct LateScheduleEvent {
        LPARAM serial;     // the kept request's lParam
        bool start;        // a start (else a stop)
        int number;        // the event's number in the list, as the log shows it
        TimerEvent event;  // as it was when it fell due
        WallClockTime due;
        bool forDialog;    // kept for a modal step (else for a busy transport)
    };
    std::vector<LateScheduleEvent> LateScheduleEvents;
    LPARAM LateScheduleSerial = 0;
    void HoldScheduledEvent(bool start, int eventNumber);
    LRESULT EvLateSchedule(WPARAM wParam, LPARAM lParam);
    std::unique_ptr<ModalStepWatch> ModalStepsEnd;
    void WatchModalSteps();  // at construction

    // ---- voice activation (TAppDialogVox.cpp) ----
    // The counters live in Capture.Vox(); the pre-trigger sound in the
    // capture writer (PCM in memory, whatever the file's format).
    bool MarksFlag = false;             // the last value given to RefreshMarks
    uint32_t OverwriteSegmentStart = 0; // where the record-overwrite segment began
    int64_t OverwriteSegmentTime = 0;   // and its clock time
    void EvVoxLevelNotify(UINT code);
    void VoxSegmentStarted();
    void VoxSegmentEnded(const VoxEvents& events, bool marked, uint32_t markPosition);
    void RefreshMarks(bool flag);

    // ---- private messages, joystick and keys (TAppDialogMessages.cpp) ----
    void CmTogglePlay();
    void BnPlayDoubleClicked();
    LRESULT EvLButtonDblClk(WPARAM modifiers, LPARAM point);
    LRESULT EvToggleRecord(WPARAM wParam, LPARAM lParam);
    LRESULT EvTogglePlay(WPARAM wParam, LPARAM lParam);
    LRESULT EvStopTransport(WPARAM wParam, LPARAM lParam);
    LRESULT EvReposition(WPARAM wParam, LPARAM lParam);
    LRESULT EvFileLimit(WPARAM wParam, LPARAM lParam);
    LRESULT EvSettingsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT EvStopThenPlay(WPARAM wParam, LPARAM lParam);
    LRESULT EvStopAndSave(WPARAM wParam, LPARAM lParam);
    LRESULT EvStopThenRecord(WPARAM wParam, LPARAM lParam);
    LRESULT EvSplitFile(WPARAM wParam, LPARAM lParam);
    LRESULT EvJoyButton(WPARAM wParam, LPARAM lParam);
    LRESULT EvRewind(WPARAM wParam, LPARAM lParam);
    LRESULT EvFastForward(WPARAM wParam, LPARAM lParam);
    LRESULT EvFlushFiles(WPARAM wParam, LPARAM lParam);
    void CmClose();
    void CeClose(TCommandEnabler& ce);
    // Windows ends the session: the recording is finished in its file and
    // the file closed (kept under a temporary name if it has no other).
    // Inside a start or stop it waits until that is done.
    void EndSession();
    LRESULT EvEndSessionRequest(WPARAM wParam, LPARAM lParam);

    // ---- status read-outs and disk space (TAppDialogStatus.cpp) ----
    // Disk space: GetDiskFreeSpaceExA looked up at construction.
    HMODULE Kernel32Library = nullptr;
    using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    GetDiskFreeSpaceExFn DiskFreeSpaceEx = nullptr;
    bool DiskFreeSpaceExFound = false;
    // Declines, so the slider's WM_HSCROLL goes on to EvHScroll.
    bool EvSliderNotify(UINT code);
    void EvHScroll(UINT code, int thumb, HWND control);
    uint32_t LastPeakShown = 0xFFFFFFFFu;
    int ShownSegmentIndex = -1;   // the segment read-out as shown last
    int ShownSegmentCount = 0;    // 0: no segment shown
    int StatusCounter = 0;        // size and disk space every fifth update
    bool LimitPosted = false;     // WM_FILELIMIT posted during this recording
    bool SplitPending = false;    // WM_SPLITFILE posted at the file ceiling
    bool SliderLineStep = false, SliderDragged = false, ResumeAfterDrag = false;
    void ShowLevel(uint32_t peak);
    void ShowTime(uint32_t position, bool flag = false);
    void ShowSegment(uint32_t position);  // kNoPosition: the file's position
    void ShowSize();
    void ShowDiskSpace();
    void UpdateStatus(int reserved, bool showSegment);
    void ShowPlayPosition(const WAVEHDR& header);
    void SeekRecordPosition();
    void SetPositionSlider(int value);
    // How far a file has come towards its limit (the write position while a
    // looping file overwrites its start).
    static FileProgress FileProgressOf(const RecFile& file);

    // ---- files: naming, opening, saving, commands (TAppDialogFiles.cpp) ----
    std::unique_ptr<RecFile> CurrentFile;        // the current recording, or none
    std::unique_ptr<RecFile> SecondaryFile;      // second file object of the file code
    std::unique_ptr<RecFile> TempFile;           // during a record-insert: the recording set aside
    std::unique_ptr<RecFile> ContinuationFile;   // a looped recording's lap before the wrap
    std::unique_ptr<RecFile> PretriggerStore;    // sound kept before a voice trigger
    WaveFormatBuffer FileFormat;                 // the format the file stores
    DWORD CodecFormatBytes = 0;                  // largest codec format (acmMetrics), 18 without codecs
    WAVEFORMATEX CaptureFormat{};                // PCM the devices capture and play
    // The file-open dialog's filter (shared by Open and Save As).
    static const char kOpenFilter[];
    void OpenFile(const char* name, int type = -1);
    // Opening asked for from outside the window (a second copy, the recent
    // files): while the transport is busy the path is kept and opened when
    // it ends, so the file under a starting capture is never closed.
    void RequestOpenFile(const char* name);
    std::optional<std::string> PendingOpenPath;  // the latest kept request
    LRESULT EvOpenFileRequest(WPARAM wParam, LPARAM lParam);
    bool SaveFile(const char* newName, bool close);
    // Where the last save that closed the file left it (after any rename);
    // empty when that save deleted it.
    std::string SavedRecordingPath;
    bool FileCanClose();
    void SetTitle(const char* name, bool temporary);
    bool NewFileName(const char* base, std::string& out, bool temporary, int type);
    bool CheckDefaultDirectory();
    void ProbeMp3Codec();
    bool MakeFileName(const char* base, std::string& out, bool temporary, const char* extension);
    // The conversion stream (TAppDialogCodec.cpp): mode 1 encodes
    // CaptureFormat into FileFormat, 2 decodes; suggest asks the codec for
    // the file format. Messages for failures are shown here.
    bool AcmOpen(bool suggest, int mode);
    void AcmClose();
    void ShowFormat();
    // Lets the current file go without saving; no file afterwards.
    void DiscardFile();
    void CmOpen();
    void CmSave();
    void CmSaveAs();
    void CeSave(TCommandEnabler& ce);
    void CmNewDefaultFile();
    void CmNewWaveFile();
    void CmNewMp3File();
    void CmNewVorbisFile();
    void CmNewSpeexFile();
    void CmLogFile();
    void CmLineIn();
    void CmMicrophone();
    void CmInputSource(UINT id);
    void CeInputSource(TCommandEnabler& ce);
    LRESULT EvDropFiles(WPARAM drop, LPARAM lParam);
    LRESULT EvDeviceChange(WPARAM event, LPARAM data);

    // ---- modes ----
    BYTE OverwriteMode = 0;  // a record-overwrite is running
    BYTE SoundByteMode = 0;  // play the start of each segment

    // ---- record-insert, record-overwrite, the looping file (TAppDialogRecordModes.cpp) ----
    bool RecordInsertActive = false;  // recording into TempFile's place, to be inserted at the stop
    uint32_t WrapPoint = 0;           // where a looping recording last went back to the start
    // The File page's loop action: the recording goes on over the start of
    // the file; the lap before the wrap keeps its marks in ContinuationFile.
    bool LoopToFileStart();
    // At the stop, once the input device is closed: the looped file is put
    // in time order, then the record-insert or record-overwrite ends.
    void FinishRecordingModes();
    bool ReorderFile();
    void EndRecordInsert();
    void EndOverwrite();
    // A record-insert or record-overwrite is running: the File page's
    // limits do not apply to it.
    bool InEditRecording() const { return RecordInsertActive || OverwriteMode; }

    // ---- editing, marks and enablers (TAppDialogEdit.cpp, TAppDialogEditBusy.cpp) ----
    uint32_t MarkPosition = kNoPosition;  // one end of the selection; kNoPosition = no mark
    bool SelRangeShown = false;           // the position slider shows its selection range
    // Shows the selection between the mark and the thumb on the position
    // slider, or hides it (and drops a mark on a missing or empty file).
    void SetSliderRange();
    // A mark away from the current position, on a recording an edit can
    // rebuild (Cut also needs it editable).
    bool HasSelection() const;
    bool StopForSelection(uint32_t& start, uint32_t& end);
    bool CanPasteInsert();
    bool CanInsertFile() const;
    // Runs one edit on the current file under the edit-busy state; its result.
    int RunEdit(const std::function<int(AudioEdit&)>& operation);
    void ShowAfterPaste();
    // While an edit runs: refuses or keeps what could touch the recording.
    bool RefuseWhileEditing(Message& m);
    void CmMarkSelection();
    void CeMarkSelection(TCommandEnabler& ce);
    void CmClearMark();
    void CeClearMark(TCommandEnabler& ce);
    void CmCut();
    void CeCut(TCommandEnabler& ce);
    void CmCopy();
    void CeCopy(TCommandEnabler& ce);
    void CmPasteInsert();
    void CePasteInsert(TCommandEnabler& ce);
    void CmPasteFromFile();
    void CePasteFromFile(TCommandEnabler& ce);
    void CmPosition();
    void CePosition(TCommandEnabler& ce);
    void CmRecordInsert();
    void CeRecordInsert(TCommandEnabler& ce);
    void CmRecordOverwrite();
    void CeRecordOverwrite(TCommandEnabler& ce);

    // ---- clipboard (TAppDialogClipboard.cpp) ----
    void CmPasteToFile();
    void CePasteToFile(TCommandEnabler& ce);
    void CmPrivateClipboard();
    void CePrivateClipboard(TCommandEnabler& ce);
    // Whole files to and from the Windows clipboard, with progress: the
    // record-insert's audio onto it, the clipboard's audio into a file (the
    // room on the default directory's drive is checked first).
    bool FileToClipboard(const char* path);
    bool ClipboardToFile(const char* path);
    // Saves what a paste would insert (the clipboard, or the paste buffer
    // under the private clipboard) under a name; null asks for one.
    void PasteToFile(const char* name);
    // More than that many bytes free on the default directory's drive (true
    // when the free space cannot be asked).
    bool DiskFreeBytes(uint64_t bytes) const;
    // The same on the drive of the current recording (of the temporary
    // folder without one), where an edit builds the file that replaces it.
    bool DiskFreeBesideRecording(uint64_t bytes) const;
    // The window that owns the clipboard and the file dialogs: the main window.
    HWND ClipboardOwner();

    // ---- file commands: new, open, drop, log, sources (TAppDialogFileCommands.cpp) ----
    // A named, empty recording made less than 3 seconds ago.
    bool IsFreshFile() const;
    // Seconds since 1 January 1970 of a file time (100 ns units since 1601).
    static int64_t FileTimeToUnixSeconds(const FILETIME& time);

    // ---- annotations and the properties report (TAppDialogAnnotations.cpp) ----
    HWND PropertiesWindow = nullptr;  // the properties report opened last, while it exists
    std::vector<std::unique_ptr<TReportFrame>> ReportFrames;  // every report still open
    // The comment text the annotation field shows (a copy; none = empty).
    std::optional<std::string> LastAnnotationText;
    // Shows the comment at position (kNoPosition: the file's position) in
    // the annotation field; redrawn only when the text changes.
    void ShowAnnotation(uint32_t position = kNoPosition);
    // The current file holds data and its segments carry clock times.
    bool CanChoosePosition() const;
    // Runs the position dialog on the current file; true when it moved the file.
    bool RunPositionDialog();
    void CmInsertAnnotation();
    void CeInsertAnnotation(TCommandEnabler& ce);
    void CmEndAnnotation();
    void CeEndAnnotation(TCommandEnabler& ce);
    void CmDeleteAnnotation();
    void CeDeleteAnnotation(TCommandEnabler& ce);
    void CmProperties();
    void CeProperties(TCommandEnabler& ce);

protected:
    // Timers go through here so tests can see what was armed.
    virtual bool ArmTimer(UINT_PTR timerId, UINT periodMs) { return SetTimer(timerId, periodMs); }
    virtual void DisarmTimer(UINT_PTR timerId) { KillTimer(timerId); }
    // Files: the modal steps of saving go through here so tests can answer.
    // The category dialog; false when cancelled (category emptied).
    virtual bool AskCategory(std::string& category);
    // Between the blocks of a Save As copy: shows the percentage; false cancels.
    virtual bool ReportCopyProgress(int percent);
    // The five conversion records the stream prepares (null where none).
    virtual void ConversionRecords(ACMSTREAMHEADER* (&records)[5]);
    // A temporary recording named after a category (TAppDialogSave.cpp).
    bool NameByCategory(bool close);
    // Clipboard and file commands: the clock of IsFreshFile (seconds since
    // 1970) and the progress of a clipboard transfer.
    virtual int64_t CurrentUnixSeconds() const;
    virtual std::unique_ptr<TransferProgress> MakeTransferProgress();
    // The progress of an edit (a TProgress dialog).
    virtual std::unique_ptr<EditProgress> MakeEditProgress();
    // A new scratch file of the recording's kind (a record-insert's audio, a
    // looped lap's marks); null when it cannot be made.
    virtual std::unique_ptr<RecFile> MakeScratchRecording(const RecFile& like);

private:
    // Capture (TAppDialogCapture.cpp), voice activation and status.
    template <class Work> void WithCaptureSink(Work work);
    bool PrepareFileForRecording();
    void CheckLimitAtStart();
    void StartCapture();
    bool OpenEncoder(CaptureRequest& request);
    bool OpenEncodeStream();
    void StartCaptureSession(const CaptureRequest& request);
    void SetRecordingSource();
    void TraceRing() const;
    void TakeBackAfterBusy();
    void CutShortSegment(bool marked, uint32_t markPosition);
    bool FreeBytesForCurrentFile(uint64_t& freeBytes) const;
    void CheckFileLimitWhileRecording();

    void SetupFormatBuffers();
    void LookUpDiskFreeSpaceEx();
    void ReleaseFiles();
    void SetupButtonImages();
    void SetupMeter();
    void SetupSliders();
    void SetupToolTips();
    void SetupJoystick();
    void OpenStartupFile();
    void RelayToToolTip(MSG& msg) const;
    void PostFocusShortcut(const MSG& msg);
    void StopRecordingPart();
    void StopPlaybackPart();
    void ScheduledStop(bool newFile);
    void ScheduledStart(bool newFile, const std::string& eventName);
    void OpenEventFile(const std::string& eventName);
    void DropCurrentFileKeepingData();
    void ContinueInNewFileAtLimit();  // the File page's "New File" action
    bool NextFileTakesSameAudio() const;
    bool SwitchRecordingFile();
    void StopCaptureForSave();
    void NewFileCommand(UINT command, int type);
    void SelectInputSource(const std::string& name);
    // Playback (TAppDialogPlay.cpp).
    void ShowPlaySpeed();
    bool OpenPlayDevice();
    bool FillPlayRing();
    bool DecodesItself() const;    // Ogg Vorbis and Speex: the file gives PCM
    bool PlaysThroughCodec() const;  // other compressed files: the codec stream decodes
    int BuffersWithPlayDevice() const;
    void EndOfPlayback();
    void RefillPlayHeader(int index);
    bool LendEndSilence(int index, uint32_t position);
    bool PlayAfterRecording();
    bool PlayedToTheEnd(const WAVEHDR& returned) const;
    // At speed: the work buffer made, the balance of the play started anew.
    void EnsureSpeedWork();
    // Ends a playback completely (recording is about to start).
    void StopPlaying();
    void EndPlaySpeed();  // the Play button loses its speed caption

    static const MsgEntry<TAppDialog> kMessages[];
};
