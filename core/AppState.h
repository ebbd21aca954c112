// The one program-wide settings and state record. Every persisted setting of
// every preference page, the two audio format buffers, the values of the
// command-line switches and the run-time flags shared by the frame and the
// recorder window live here; all code reads and writes the fields directly.
//
// The settings key of a persisted field is its name. Defaults are applied by
// the settings loaders, never here: after Reset() every flag is off, every
// number 0, every text and list empty.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/TimerEvent.h"

// The largest format record (with its extra bytes) that a format buffer takes.
constexpr int kMaxFormatSize = 2000;
// Each format buffer is a little larger than that, as callers have always
// allocated it.
constexpr std::size_t kFormatBufferBytes = 2040;
// Size of every fixed text field: 259 characters and the terminating zero.
constexpr std::size_t kTextFieldSize = 260;

// A WAVEFORMATEX with room for kMaxFormatSize bytes of extra data.
struct FormatBuffer {
    alignas(WAVEFORMATEX) BYTE bytes[kFormatBufferBytes];

    WAVEFORMATEX* get() { return reinterpret_cast<WAVEFORMATEX*>(bytes); }
    const WAVEFORMATEX* get() const { return reinterpret_cast<const WAVEFORMATEX*>(bytes); }
    WAVEFORMATEX* operator->() { return get(); }
    const WAVEFORMATEX* operator->() const { return get(); }
};

// One codec driver that offers MPEG Layer-3, found by the recorder's probe.
struct CodecDriverRecord {
    HACMDRIVERID driverId = nullptr;
    char formatTagName[kTextFieldSize] = {};
};

// Everything of the record that is plain data: value-initialising it gives
// the all-zero start state.
struct AppStateValues {
    // --- format buffers (the recording formats of WAV and MP3 files) ---
    FormatBuffer WaveFormat;
    FormatBuffer Mp3Format;
    int WaveFormatSize;  // bytes that WaveFormat takes: kMaxFormatSize
    int Mp3FormatSize;   // the same for Mp3Format

    // --- "Setup" values of the application ---
    int SoundLevel;       // voice-activation threshold, percent of full scale
    float PlayRate;       // playback speed factor, 1.0 = normal
    bool UseWinClip;      // exchange audio through the Windows clipboard
    int WindowX, WindowY; // main window's left and top at start
    int TimeOffset;       // added in the time read-out
    char RecSource[kTextFieldSize];  // mixer recording source (INI only)
    int RecLevel;                    // mixer recording level, -1 = leave as is

    // --- command-line switches ---
    bool ListenAtStart, PlayAtStart, StopAtStart;  // /L /P /T
    int RepositionArg;                             // /X
    bool ForwardToRunning;                         // /F
    int RecordChannel;                             // /C: -1 left, 0 both, +1 right
    bool MinimizeAtStart;                          // /M
    bool ForceFormatSuggest, NoCodecs;             // /S /D
    HWND NotifyWindow;                             // /N
    bool PropertiesOnly;                           // /R
    int UnalignedPositions;                        // /Q
    char WindowClassName[kTextFieldSize];          // /J
    char IniPath[kTextFieldSize];                  // /I, full path
    char SaveCommand[kTextFieldSize];              // /E
    char WaveInDriverOverride[kTextFieldSize];     // /W
    char CommandLineFile[kTextFieldSize];          // file argument, full path

    // --- run-time values ---
    bool FirstInstance;      // no other copy was running at start
    bool CodecsAvailable;    // codec formats may be offered (off with /D)
    WORD SelectedFormatTag;  // format tag the Wave page marks again; not stored
    char LogPath[kTextFieldSize];
    char HelpFile[kTextFieldSize];
    char HelpPopupSource[kTextFieldSize];
    char WinHelpFile[kTextFieldSize];

    // --- Start page ---
    bool AlwaysStart, MinimizeOnStart, ListenOnStart, OnTop, TrayIcon;

    // --- Wave page ---
    int SampleRate;
    bool Resolution;  // 16-bit
    bool Stereo;
    char ACMDriver[kTextFieldSize];  // chosen format-tag name, empty for PCM
    char ACMFormat[kTextFieldSize];  // chosen format name
    WORD ACMFormatTag;

    // --- MP3 page ---
    int Mp3SampleRate;
    bool Mp3Stereo;
    char Mp3ACMDriver[kTextFieldSize];
    char Mp3ACMFormat[kTextFieldSize];
    int DefaultAudioFormat;  // file-type code of new recordings
    bool Mp3EnableTag;

    // --- Vorbis and Speex pages ---
    int VorSampleRate, VorStereo, VorQ, VorByteRate;
    int SpxSampleRate, SpxStereo, SpxQ, SpxByteRate;

    // --- Playback and Record pages ---
    int SoundByte;  // seconds played at each segment start in SoundByte mode
    int RecordMode, TalkOff;

    // --- File page ---
    int FileSize, FileSizeSel, FileDuration, FileAction;
    char DefaultDirectory[kTextFieldSize];
    char ImprovedFilePrefix[kTextFieldSize];
    bool AutoName, AutoPrompt;
    int LHMode;  // bit 0: instance number only when required; bit 1: swap back/forward steps

    // --- Vox page ---
    bool VoxHide, VoxDisable, VoxDiscard, VoxFilter;
    int TalkOff2;  // seconds of silence before recording stops
    int Pretrigger;
    int VoxDiscardTimeTenths, VoxFilterTimeTenths;

    // --- Driver page ---
    char WaveOutDriver[kTextFieldSize];
    char WaveInDriver[kTextFieldSize];

    // --- Joystick page ---
    int JoyButton1, JoyButton2, JoyButton3, JoyButton4;
    bool JoyEnable;

    // --- Hot-key page (low byte virtual key, high byte HOTKEYF_ flags) ---
    WORD KeyPlay, KeyRecord, KeyActivate;

    // --- Timer page ---
    bool TimerEnable;
    int EventCount;
};

struct AppStateRecord : AppStateValues {
    AppStateRecord() : AppStateValues() { Reset(); }

    // The start state: every value zero or empty, the lists cleared. The
    // buffers' sizes are set, since the buffers always exist.
    void Reset();

    std::string VoxCommand;  // /A: run when voice activation detects sound
    EventList Events;        // the live schedule
    std::vector<CodecDriverRecord> CodecDriverList;
};

extern AppStateRecord AppState;

// Copies text into a fixed text field, cut to 259 characters.
void CopyTextField(char (&field)[kTextFieldSize], const char* text);
