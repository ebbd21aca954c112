#include "app/QuillmoorApp.h"

#include "app/AboutDlg.h"
#include "core/AppState.h"
#include "core/CommandLine.h"
#include "core/HtmlHelp.h"
#include "core/ProgramFolders.h"
#include "app/ProjectRCVersion.h"
#include "app/WebAddress.h"
#include "framework/FrameWindow.h"
#include "framework/UserInteraction.h"
#include "resources/ResourceIds.h"

namespace {
constexpr char kHelpFileName[] = "larkspurpro.chm";
constexpr char kPopupSourceName[] = "CSLarkspurPRO.txt";
}  // namespace

const MsgEntry<QuillmoorApp> QuillmoorApp::kMessages[] = {
    OnCommand(CM_VOLUME, &QuillmoorApp::CmVolume),
    OnCommand(CM_SOUNDCONTROLPANEL, &QuillmoorApp::CmSoundControlPanel),
    OnCommand(CM_PLAYMIXER, &QuillmoorApp::CmPlayMixer),
    OnCommand(CM_RECORDMIXER, &QuillmoorApp::CmRecordMixer),
    OnCommand(CM_HELPCONTENTS, &QuillmoorApp::CmHelpContents),
    OnCommand(CM_ABOUT, &QuillmoorApp::CmAbout),
    OnCommand(CM_CHECKFORUPDATE, &QuillmoorApp::CmCheckForUpdate),
    OnCommand(CM_MAKERWEBSITE, &QuillmoorApp::CmMakerWebSite),
    OnCommand(CM_PRODUCTWEBPAGE, &QuillmoorApp::CmProductWebPage),
};

QuillmoorApp::QuillmoorApp(HINSTANCE instance, int showCommand)
    : TApplication(kProductWindowClass, instance, showCommand) {
    FillHelpPaths(ProgramFolder());
}

bool QuillmoorApp::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m); }

void QuillmoorApp::FillHelpPaths(const std::string& programFolder) {
    const std::string helpFile = programFolder + kHelpFileName;
    const bool exists = GetFileAttributesA(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string file = exists ? helpFile : std::string();
    CopyTextField(AppState.HelpFile, file.c_str());
    CopyTextField(AppState.WinHelpFile, file.c_str());
    const std::string popups = exists ? helpFile + "::/" + kPopupSourceName : std::string();
    CopyTextField(AppState.HelpPopupSource, popups.c_str());
}

HWND QuillmoorApp::MainHandle() const { return GetMainWindow() ? GetMainWindow()->GetHandle() : nullptr; }

DWORD QuillmoorApp::WindowsMajorVersion() const { return LOBYTE(LOWORD(GetVersion())); }

void QuillmoorApp::CmVolume() {
    Ui().Launch(WindowsMajorVersion() < 6 ? "sndvol32.exe /t" : "sndvol.exe -f", SW_SHOWNORMAL);
}

void QuillmoorApp::CmSoundControlPanel() { Ui().Launch("control.exe mmsys.cpl", SW_SHOWNORMAL); }

bool QuillmoorApp::ShowMixerWindow(const char* title) const {
    HWND mixer = FindWindowA("Volume Control", title);
    if (!mixer) return false;
    ShowWindow(mixer, SW_SHOWNORMAL);
    SetWindowPos(mixer, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void QuillmoorApp::CmPlayMixer() {
    if (WindowsMajorVersion() >= 6) {
        Ui().Launch("sndvol.exe", SW_SHOWNORMAL);
        return;
    }
    if (!ShowMixerWindow("Play Control") && !ShowMixerWindow("Volume Control")) {
        Ui().Launch("sndvol32.exe", SW_SHOWNORMAL);
    }
}

void QuillmoorApp::CmRecordMixer() {
    if (WindowsMajorVersion() >= 6) {
        Ui().Launch("control.exe mmsys.cpl,,1", SW_SHOWNORMAL);
        return;
    }
    if (!ShowMixerWindow("Record Control") && !ShowMixerWindow("Recording Control")) {
        Ui().Launch("sndvol32.exe /r", SW_SHOWNORMAL);
    }
}

void QuillmoorApp::CmHelpContents() {
    if (AppState.HelpFile[0] == '\0') return;
    Help().Call(MainHandle(), AppState.HelpFile, kHelpDisplayTopic, 0);
}

void QuillmoorApp::CmAbout() {
    AboutDlg about(GetMainWindow());
    about.Execute();
}

void QuillmoorApp::OpenUrl(const std::string& address) {
    Ui().ShellOpen(MainHandle(), WithWebScheme(address), std::string());
}

void QuillmoorApp::CmCheckForUpdate() {
    const ProjectRCVersion block;
    std::string version;
    if (!block.GetProductVersion(version)) version.clear();
    OpenUrl(UpdatePageAddress(kMakerSite, kProductWindowClass, version));
}

void QuillmoorApp::CmMakerWebSite() { OpenUrl(kMakerSite); }

void QuillmoorApp::CmProductWebPage() { OpenUrl(kProductPage); }
