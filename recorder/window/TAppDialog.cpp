// The recorder window's shell: construction, set-up, tear-down, the closing
// path and keyboard pre-processing. Timers live in TAppDialogTimers.cpp, the
// message table in TAppDialogTable.cpp.
#include "recorder/window/TAppDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "core/AppState.h"
#include "framework/FrameWindow.h"
#include "framework/UserInteraction.h"
#include "recorder/annotations/TReportFrame.h"
#include "sound/AcmCodecs.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/controls/RCButton.h"
#include "recorder/controls/SMeter.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/AudioReorder.h"
#include "recorder/editing/EditBusy.h"

namespace {

constexpr UINT kRepeatMs = 200;   // Rew and Forw repeat while held
constexpr int kMeterWidth = 32;   // pixels, over the meter's place holder
constexpr int kJoystickPeriodMs = 100;

// GetDiskFreeSpaceExA exists from Windows 95 OSR2 (build above 1000) and on
// every NT system; older systems only have GetDiskFreeSpaceA.
bool SystemHasDiskFreeSpaceEx() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"  // the only way to tell 9x builds apart
    if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT || LOWORD(version.dwBuildNumber) > 1000;
}

}  // namespace

const char TAppDialog::kOpenFilter[] =
    "Audio files (*.wav,*.mp3,*.ogg,*.spx)|*.wav;*.mp3;*.ogg;*.spx|Wave files (*.wav)|*.wav|"
    "MP3 files (*.mp3)|*.mp3|Vorbis files (*.ogg)|*.ogg|Speex files (*.spx)|*.spx|";

TAppDialog::TAppDialog(TWindow* parent, HINSTANCE module)
    : TDialog(parent, IDD_TAPP, module),
      RecordButton(std::make_unique<CoolButton>(this, CM_RECORD, CM_RECORD, CM_STOP)),
      StopButton(std::make_unique<CoolButton>(this, CM_STOP, CM_RECORD, CM_STOP)),
      PlayButton(std::make_unique<CoolButton>(this, CM_PLAY, CM_RECORD, CM_STOP)),
      RewindButton(std::make_unique<RCButton>(this, CM_REWIND, kRepeatMs)),
      ForwardButton(std::make_unique<RCButton>(this, CM_FASTFORWARD, kRepeatMs)),
      Meter(std::make_unique<SMeter>(this, IDC_METER)) {
    SetupFormatBuffers();
    if (SystemHasDiskFreeSpaceEx()) LookUpDiskFreeSpaceEx();
    WatchModalSteps();
}

// The codec manager is usable unless /D switched it off. Whatever size it
// reports, the format buffers keep room for the largest record: a file's or
// a setting's format (an MP3 format has 12 extra bytes) is copied into them
// whole, and every copy is bounded by that room.
void TAppDialog::SetupFormatBuffers() {
    AppState.CodecsAvailable = !AppState.NoCodecs;
    CodecFormatBytes = LargestFormatBytes(AppState.CodecsAvailable);
    AppState.WaveFormatSize = kFormatBufferRoomBytes;
    AppState.Mp3FormatSize = kFormatBufferRoomBytes;
    FileFormat = WaveFormatBuffer();
    CaptureFormat = WAVEFORMATEX{};
}

void TAppDialog::LookUpDiskFreeSpaceEx() {
    Kernel32Library = LoadLibraryA("Kernel32.Dll");
    if (!Kernel32Library) return;
    DiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExFn>(
        reinterpret_cast<void*>(GetProcAddress(Kernel32Library, "GetDiskFreeSpaceExA")));
    DiskFreeSpaceExFound = DiskFreeSpaceEx != nullptr;
    if (!DiskFreeSpaceExFound) {
        FreeLibrary(Kernel32Library);
        Kernel32Library = nullptr;
    }
}

TAppDialog::~TAppDialog() {
    if (GetHandle()) DragAcceptFiles(GetHandle(), FALSE);
    // A window that goes while recording (no close asked first) still ends
    // the recording in its file: the buffers the device holds go in before
    // the file is closed.
    StopCapture();
    ReleaseFiles();
    if (DiskFreeSpaceExFound && Kernel32Library) FreeLibrary(Kernel32Library);
    ReportFrames.clear();  // the reports go with the window
    PropertiesWindow = nullptr;
    Log("program closed");
}

// The current file is closed as it stands; the helper files are scratch
// space and leave the disk with their objects.
void TAppDialog::ReleaseFiles() {
    if (RecordInsertActive) {
        // No stop ended the record-insert: the recording set aside is the
        // file to close, the audio meant for it a scratch file.
        std::swap(CurrentFile, TempFile);
        RecordInsertActive = false;
    }
    // A looped file never put in order keeps the marks of its older lap.
    if (CurrentFile && ContinuationFile && CurrentFile->GetOverwrite()) {
        FoldContinuation(*CurrentFile, *ContinuationFile, WrapPoint);
        CurrentFile->SetOverwrite(false);
        (void)CurrentFile->Update();
    }
    CurrentFile.reset();
    DiscardPasteBuffer();  // the private clipboard's scratch file leaves with the program
    if (TempFile && TempFile->IsTemporary()) (void)TempFile->Delete();
    TempFile.reset();
    if (ContinuationFile) (void)ContinuationFile->Delete();
    ContinuationFile.reset();
    if (PretriggerStore) (void)PretriggerStore->Delete();
    PretriggerStore.reset();
    SecondaryFile.reset();
}

bool TAppDialog::Create() { return TDialog::Create(); }

void TAppDialog::SetupWindow() {
    TDialog::SetupWindow();  // attaches the buttons to their items
    ProbeMp3Codec();
    SetupButtonImages();
    SetupMeter();
    SetupSliders();
    SetupToolTips();
    InitDat();
    SetupJoystick();
    CheckDefaultDirectory();
    SpinTimer();
    DragAcceptFiles(GetHandle(), TRUE);
    OpenStartupFile();
    Log("program started");
}

void TAppDialog::SetupButtonImages() {
    struct Images {
        CoolButton* button;
        int normal, checked, disabled;
    };
    const Images images[] = {
        {PlayButton.get(), IDB_PLAY, IDB_PLAY_CHECKED, IDB_PLAY_DISABLED},
        {StopButton.get(), IDB_STOP, IDB_STOP_CHECKED, IDB_STOP_DISABLED},
        {RecordButton.get(), IDB_RECORD, IDB_RECORD_CHECKED, IDB_RECORD_DISABLED},
        {RewindButton.get(), IDB_REWIND, IDB_REWIND_CHECKED, IDB_REWIND_DISABLED},
        {ForwardButton.get(), IDB_FORWARD, IDB_FORWARD_CHECKED, IDB_FORWARD_DISABLED},
    };
    for (const Images& entry : images) {
        entry.button->SetBitmap(entry.checked, 1);
        entry.button->SetBitmap(entry.normal, 0);
        entry.button->SetBitmap(entry.disabled, 2);
        entry.button->Invalidate(false);
    }
    StopButton->SetState(CoolButton::kPressed, false);
    StopButton->Invalidate(false);
}

// The meter takes the place holder's area, kMeterWidth pixels wide; the
// place holder itself is hidden.
void TAppDialog::SetupMeter() {
    Meter->SetRange(0, 100);
    Meter->SetLed(5, 80);
    HWND placeHolder = GetDlgItem(IDC_METERFRAME);
    if (!placeHolder) return;
    RECT area{};
    GetWindowRect(placeHolder, &area);
    MapWindowPoints(nullptr, GetHandle(), reinterpret_cast<POINT*>(&area), 2);
    Meter->Place(area.left, area.top, kMeterWidth, area.bottom - area.top);
    ShowWindow(placeHolder, SW_HIDE);
    ::EnableWindow(placeHolder, FALSE);
}

void TAppDialog::SetupSliders() {
    if (AppState.VoxHide) ShowVoxControls(false);
    HWND vox = VoxSlider();
    ::SendMessageA(vox, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    ::SendMessageA(vox, TBM_SETPOS, TRUE, 100 - AppState.SoundLevel);
    EvVoxLevelNotify(TB_ENDTRACK);
    HWND position = PositionSlider();
    ::SendMessageA(position, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1000));
    ::SendMessageA(position, TBM_SETPOS, TRUE, 0);
}

void TAppDialog::ShowVoxControls(bool show) {
    HWND vox = VoxSlider();
    ShowWindow(vox, show ? SW_SHOW : SW_HIDE);
    ::EnableWindow(vox, show);
    ShowWindow(GetDlgItem(IDC_VOXLEVEL), show ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(IDC_VOXLABEL), show ? SW_SHOW : SW_HIDE);
}

void TAppDialog::SetupToolTips() {
    auto* frame = dynamic_cast<TFrameWindow*>(GetParent());
    if (!frame) return;
    const std::pair<int, int> tips[] = {
        {CM_RECORD, IDS_TIP_RECORD}, {CM_STOP, IDS_TIP_STOP},       {CM_PLAY, IDS_TIP_PLAY},
        {CM_REWIND, IDS_TIP_REWIND}, {CM_FASTFORWARD, IDS_TIP_FORWARD},
    };
    for (const auto& [control, text] : tips) frame->AddTool(GetDlgItem(control), TextOf(text));
}

void TAppDialog::SetupJoystick() {
    if (!AppState.JoyEnable) return;
    if (joySetCapture(GetHandle(), JOYSTICKID1, kJoystickPeriodMs, FALSE) != JOYERR_NOERROR)
        Error(IDS_NOJOYSTICK, MB_ICONEXCLAMATION);
}

// The file named on the command line; with /R the program only shows that
// file's properties and ends when the report is closed.
void TAppDialog::OpenStartupFile() {
    if (AppState.CommandLineFile[0] == '\0') return;
    OpenFile(AppState.CommandLineFile);
    if (!AppState.PropertiesOnly) return;
    // A file that did not open has no report: once its message is answered
    // the watch finds none and ends the hidden program.
    if (CurrentFile) CmProperties();
    ArmTimer(TIMER_PROPERTIESWATCH, kPropertiesWatchMs);
}

void TAppDialog::RepaintTransportButtons() {
    const TWindow* buttons[] = {RecordButton.get(), StopButton.get(), PlayButton.get(), RewindButton.get(),
                                ForwardButton.get()};
    for (const TWindow* button : buttons) button->Invalidate(false);
}

bool TAppDialog::CanClose() {
    // An edit is replacing the recording: no close until it has ended.
    if (IsEditBusy()) return false;
    // Inside a start or stop the file is the capture's: the close comes back
    // when the transport is free.
    if (DeferIfTransportBusy(WM_CLOSE, 0, 0)) return false;
    // A recording ends in its file, the buffers the device still holds
    // included, before the file is saved or let go.
    if (Recording || hWaveIn.IsOpen()) CmStop();
    const bool mayClose = FileCanClose();
    if (mayClose) FreeDat();
    return mayClose;
}

// Closing the recorder window closes the program: stop a recording first,
// then ask the frame (which asks the application and then this window). The
// dialog's own handling of WM_CLOSE, a Cancel, does nothing here.
void TAppDialog::EvClose() {
    // Inside a start or stop the close waits until the transport is free,
    // so the recording is stopped before the window and its buffers go.
    if (DeferIfTransportBusy(WM_CLOSE, 0, 0)) return;
    if (Recording) CmStop();
    if (TWindow* frame = GetParent()) frame->CloseWindow(0);
}

bool TAppDialog::IdleAction(long idleCount) {
    TDialog::IdleAction(idleCount);
    return false;
}

bool TAppDialog::PreProcessMsg(MSG& msg) {
    RelayToToolTip(msg);
    if (msg.message != WM_NEXTDLGCTL) PostFocusShortcut(msg);
    // The frame's accelerators, then the dialog keys.
    return TDialog::PreProcessMsg(msg);
}

void TAppDialog::RelayToToolTip(MSG& msg) const {
    auto* frame = dynamic_cast<TFrameWindow*>(GetParent());
    HWND tooltip = frame ? frame->GetTooltip() : nullptr;
    if (tooltip) ::SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

// Alt+N and Alt+V ("Positio&n", "&Vox ") move the focus to the position and
// threshold sliders. Only the key press itself counts, so a held key does not
// keep posting focus moves.
void TAppDialog::PostFocusShortcut(const MSG& msg) {
    if (msg.message != WM_SYSKEYDOWN || !(msg.lParam & (1 << 29))) return;
    HWND target = nullptr;
    if (msg.wParam == 'N') target = PositionSlider();
    else if (msg.wParam == 'V') target = VoxSlider();
    if (target) PostMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}
