// The program's private window messages, numbered from WM_USER. Every sender
// and handler takes the numbers from here.
#pragma once

#include <windows.h>

// First parameter of every message posted by a second copy of the program.
constexpr WPARAM REMOTE_WPARAM = 33;

constexpr UINT WM_TRAYNOTIFY            = WM_USER + 0x11;
constexpr UINT WM_TRAYCLICK             = WM_USER + 0x3B;
constexpr UINT WM_REPOSITION            = WM_USER + 0x4E;
constexpr UINT WM_STOPTRANSPORT         = WM_USER + 0x4F;
constexpr UINT WM_COOLBUTTONGROUP       = WM_USER + 0x50;
constexpr UINT WM_TOGGLERECORD          = WM_USER + 0x57;
constexpr UINT WM_TOGGLEPLAY            = WM_USER + 0x58;
constexpr UINT WM_FILELIMIT             = WM_USER + 0x5B;
constexpr UINT WM_SETTINGSCHANGED       = WM_USER + 0x5D;
constexpr UINT WM_STOPANDSAVE           = WM_USER + 0x5E;
constexpr UINT WM_STOPTHENPLAY          = WM_USER + 0x61;
constexpr UINT WM_STOPTHENRECORD        = WM_USER + 0x62;
constexpr UINT WM_SPLITFILE             = WM_USER + 0x63;
constexpr UINT WM_DEFERREDSELCHANGE     = WM_USER + 0x7C;
constexpr UINT WM_DEFERREDUPDATEFORMATS = WM_USER + 0x7E;
constexpr UINT WM_REWIND                = WM_USER + 0x98;  // RCButton 152: WM_USER + control id
constexpr UINT WM_FASTFORWARD           = WM_USER + 0x99;  // RCButton 153
constexpr UINT WM_SEGMENTENDED          = WM_USER + 0x12B;
constexpr UINT WM_LISTENSTART           = WM_USER + 0x141;
constexpr UINT WM_RECORDSTATECHANGED    = WM_USER + 0x172;
constexpr UINT WM_RESTARTRECORDING      = WM_USER + 0x179;
constexpr UINT WM_FLUSHFILES            = WM_USER + 0x18E;
constexpr UINT WM_UPDATEESTIMATE        = WM_USER + 0x409;
// Sent by outside programs to the frame: open the Getting Started topic.
constexpr UINT WM_SHOWGETTINGSTARTED    = WM_USER + 0x190;
// Posted by the recorder window to itself: open the file a request from
// outside left while the transport was busy.
constexpr UINT WM_OPENFILEREQUEST       = WM_USER + 0x191;
// Posted by the recorder window to itself: Windows ended the session while a
// start or stop was under way; the recording is finished when it is done.
constexpr UINT WM_ENDSESSIONREQUEST     = WM_USER + 0x19A;
// Posted by the recorder window to itself: a schedule event that fell due
// while a modal step ran (lParam: its serial number) runs now, late.
constexpr UINT WM_LATESCHEDULE          = WM_USER + 0x19B;
// Add further messages here, each with the number its users agree on.

// Codes of the WM_COPYDATA messages a second copy sends to the running one
// (COPYDATASTRUCT::dwData); the text is the payload.
constexpr ULONG_PTR COPYDATA_ADDCOMMENT   = 0;    // /O: add a comment
constexpr ULONG_PTR COPYDATA_GOTOCOMMENT  = 901;  // /Z: go to a comment
constexpr ULONG_PTR COPYDATA_OPENFILE     = 902;  // /H: open a file
constexpr ULONG_PTR COPYDATA_LOADSETTINGS = 903;  // /F with /I: reload settings from a file
