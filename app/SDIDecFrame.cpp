#include "app/SDIDecFrame.h"

#include "core/AppState.h"
#include "core/CommandLine.h"
#include "app/HotKeys.h"
#include "core/PrivateMessages.h"
#include "core/SMsg.h"
#include "resources/ResourceIds.h"

namespace {
// The taskbar broadcasts this when it is created, so programs add their
// tray icons again (Explorer restarted, or started after us).
constexpr char kTaskbarCreated[] = "TaskbarCreated";
}  // namespace

const MsgEntry<SDIDecFrame> SDIDecFrame::kMessages[] = {
    OnMessage(WM_SYSCOMMAND, &SDIDecFrame::EvSysCommand),
    OnMessage(WM_HOTKEY, &SDIDecFrame::EvHotKey),
    OnMessage(WM_RECORDSTATECHANGED, &SDIDecFrame::EvRecordStateChanged),
    OnMessage(WM_SHOWGETTINGSTARTED, &SDIDecFrame::EvShowGettingStarted),
    OnMessage(WM_HELP, &SDIDecFrame::EvHelp),
    OnMessage(WM_CONTEXTMENU, &SDIDecFrame::EvContextMenu),
    OnMessage(WM_TRAYNOTIFY, &SDIDecFrame::EvTrayNotify),
    OnRegistered(kTaskbarCreated, &SDIDecFrame::EvTaskbarCreated),
    OnCommand(CM_TRAYOPENWINDOW, &SDIDecFrame::CmTrayOpenWindow),
    OnCommand(CM_TRAYNEWFILE, &SDIDecFrame::CmTrayNewFile),
    OnCommand(CM_TRAYTOGGLERECORDING, &SDIDecFrame::CmTrayToggleRecording),
    OnEnable(CM_TRAYTOGGLERECORDING, &SDIDecFrame::CeTrayToggleRecording),
    OnCommand(CM_TRAYABOUT, &SDIDecFrame::CmTrayAbout),
    OnCommand(CM_TRAYEXIT, &SDIDecFrame::CmTrayExit),
    OnTimer(&SDIDecFrame::EvTimer),
    OnMessage(WM_QUERYENDSESSION, &SDIDecFrame::EvQueryEndSession),
    OnMessage(WM_ENDSESSION, &SDIDecFrame::EvEndSession),
    OnMessage(WM_FLUSHFILES, &SDIDecFrame::EvFlushFiles),
    OnMessage(WM_STOPANDSAVE, &SDIDecFrame::EvRelay),
    OnMessage(WM_STOPTHENRECORD, &SDIDecFrame::EvRelay),
    OnMessage(WM_STOPTHENPLAY, &SDIDecFrame::EvRelay),
    OnMessage(WM_STOPTRANSPORT, &SDIDecFrame::EvRelay),
    OnMessage(WM_REPOSITION, &SDIDecFrame::EvRelay),
    OnMessage(WM_DEVICECHANGE, &SDIDecFrame::EvDeviceChange),
    OnDestroy(&SDIDecFrame::EvDestroy),
};

SDIDecFrame::SDIDecFrame(RecorderClient client)
    : TFrameWindow(nullptr, kProductWindowClass, std::move(client.window), true),
      recorder_(client.link),
      linkOwner_(std::move(client.keepAlive)) {
    // Caption, system menu and minimise box; fixed size, no maximise.
    Attr.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}

SDIDecFrame::~SDIDecFrame() {
    // The icon goes before the window that receives its messages.
    tray_.reset();
}

std::string SDIDecFrame::GetClassName() const {
    return AppState.WindowClassName[0] ? std::string(AppState.WindowClassName) : std::string(kProductWindowClass);
}

bool SDIDecFrame::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || TFrameWindow::Dispatch(m);
}

void SDIDecFrame::PostToRecorder(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (recorder_ && recorder_->Window()) ::PostMessageA(recorder_->Window(), msg, wParam, lParam);
}

void SDIDecFrame::SetupWindow() {
    if (AppState.WaveInDriverOverride[0]) CopyTextField(AppState.WaveInDriver, AppState.WaveInDriverOverride);
    TFrameWindow::SetupWindow();
    SetCaption(kProductWindowClass);
    AddSystemMenuItem();
    ApplyWindowSettings();
    EvRecordStateChanged();
    PostStartupActions();
}

void SDIDecFrame::AddSystemMenuItem() {
    HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
    if (!systemMenu) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, SC_TOGGLERECORD, "Toggle Listen");
}

void SDIDecFrame::PostStartupActions() {
    if (AppState.MinimizeAtStart) {
        // Into the tray only when an icon is there to bring the window back.
        PostMessage(WM_SYSCOMMAND, HasTrayIcon() ? SC_CLOSE : SC_MINIMIZE, 0);
    }
    if (AppState.ListenOnStart || AppState.ListenAtStart) {
        PostToRecorder(WM_TOGGLERECORD);
    } else if (AppState.PlayAtStart) {
        PostToRecorder(WM_STOPTHENPLAY);
    }
}

void SDIDecFrame::ApplyWindowSettings() {
    if (AppState.TrayIcon && !tray_) {
        tray_ = std::make_unique<TTrayIcon>(hwnd_, IDM_TRAY);
        tray_->SetWindow(hwnd_, WM_TRAYNOTIFY);
        tray_->SetIcon(IDI_FRAMESMALL);
    } else if (AppState.TrayIcon && !tray_->IsShown()) {
        tray_->Restore();  // the last add failed: the taskbar may be there now
    } else if (!AppState.TrayIcon && tray_) {
        tray_.reset();
    }
    SetWindowPos(hwnd_, AppState.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RegisterHotKeys(hwnd_);
}

LRESULT SDIDecFrame::EvRecordStateChanged(WPARAM, LPARAM) {
    const bool recording = recorder_ && recorder_->InputDeviceOpen();
    const std::string text = SMsg::TextOf(recording ? IDS_STOPRECORDING : IDS_STARTRECORDING);
    HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
    if (systemMenu) ModifyMenuA(systemMenu, SC_TOGGLERECORD, MF_BYCOMMAND | MF_STRING, SC_TOGGLERECORD, text.c_str());
    const int icon = recording ? IDI_RECORDING : IDI_NOTRECORDING;
    SetIconResource(icon, false);
    if (tray_) tray_->SetIcon(icon);
    return 0;
}

LRESULT SDIDecFrame::EvSysCommand(WPARAM command, LPARAM lParam) {
    // The low four bits of a system command are the system's own.
    const WPARAM item = command & 0xFFF0;
    if (item == (SC_TOGGLERECORD & 0xFFF0)) {
        PostToRecorder(WM_TOGGLERECORD);
        return 0;
    }
    Message m;
    m.hwnd = hwnd_;
    m.msg = WM_SYSCOMMAND;
    m.wParam = command;
    m.lParam = lParam;
    const LRESULT result = DefaultProcessing(m);
    if (item == SC_MINIMIZE && AppState.TrayIcon && HasTrayIcon()) ShowWindow(hwnd_, SW_HIDE);
    return result;
}

LRESULT SDIDecFrame::EvHotKey(WPARAM id, LPARAM) {
    switch (static_cast<int>(id)) {
    case HOTKEY_TOGGLEPLAY:
        PostToRecorder(WM_TOGGLEPLAY);
        break;
    case HOTKEY_TOGGLERECORD:
        PostToRecorder(WM_TOGGLERECORD);
        break;
    case HOTKEY_ACTIVATE:
        // Shown first: a window hidden in the tray cannot take the foreground.
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT SDIDecFrame::EvTrayNotify(WPARAM id, LPARAM mouseMessage) {
    return tray_ ? tray_->EvTrayNotify(id, mouseMessage) : 0;
}

LRESULT SDIDecFrame::EvTaskbarCreated(WPARAM, LPARAM) {
    if (tray_) tray_->Restore();
    return 0;
}

void SDIDecFrame::CmTrayOpenWindow() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void SDIDecFrame::CmTrayNewFile() {
    if (recorder_) recorder_->NewDefaultFile();
}

void SDIDecFrame::CmTrayToggleRecording() { PostToRecorder(WM_TOGGLERECORD); }

void SDIDecFrame::CeTrayToggleRecording(TCommandEnabler& ce) {
    const bool recording = recorder_ && recorder_->InputDeviceOpen();
    ce.SetText(SMsg::TextOf(recording ? IDS_STOPRECORDING : IDS_STARTRECORDING));
}

void SDIDecFrame::CmTrayAbout() { SendMessage(WM_COMMAND, MAKEWPARAM(CM_ABOUT, 0), 0); }

void SDIDecFrame::CmTrayExit() {
    SetExitFlag();
    PostMessage(WM_CLOSE);
}

void SDIDecFrame::EvTimer(UINT timerId) {
    if (recorder_) recorder_->Timer(timerId);
}

LRESULT SDIDecFrame::EvQueryEndSession(WPARAM, LPARAM) {
    sessionEnding_ = true;
    return TRUE;
}

LRESULT SDIDecFrame::EvEndSession(WPARAM ending, LPARAM) {
    if (!ending) {
        // Another program refused: the session goes on, and closing the
        // window hides it in the tray again.
        sessionEnding_ = false;
        return 0;
    }
    // Windows ends the process after this returns, without a close request.
    if (OnEndSession) OnEndSession();
    return 0;
}

LRESULT SDIDecFrame::EvFlushFiles(WPARAM wParam, LPARAM lParam) {
    PostToRecorder(WM_FLUSHFILES, wParam, lParam);
    return 0;
}

bool SDIDecFrame::EvRelay(Message& m) {
    if (m.wParam != REMOTE_WPARAM) {
        m.result = 1;
        return true;
    }
    // Handed on at once: posted again, it would fall behind what was posted
    // after it (a command that followed a /X move would run before the move).
    if (recorder_ && recorder_->Window()) ::SendMessageA(recorder_->Window(), m.msg, m.wParam, m.lParam);
    m.result = 0;
    return true;
}

bool SDIDecFrame::EvDestroy() {
    tray_.reset();
    for (int id : {HOTKEY_TOGGLEPLAY, HOTKEY_TOGGLERECORD, HOTKEY_ACTIVATE}) UnregisterHotKey(hwnd_, id);
    return false;
}

LRESULT SDIDecFrame::EvDeviceChange(WPARAM event, LPARAM data) {
    return recorder_ ? recorder_->DeviceChange(event, data) : TRUE;
}
