// The mix-in through which windows report errors to the user (message boxes
// with string-table texts) and write lines to the program's log file.
//
// The log is one text file shared by every SMsg, at AppState.LogPath. It is
// open only while one line is written, emptied when it has grown past
// kMaxLogBytes, and protected against floods: after a reset (each
// construction of any SMsg) at most kMaxCountedLines - 1 counted messages are
// written, then a marker, then nothing until the next reset.
#pragma once

#include <windows.h>

#include <string>

class SMsg {
public:
    static constexpr int kMaxCountedLines = 200;
    static constexpr long kMaxLogBytes = 10000;

    // owner: the window that owns the message boxes; may be null. A window
    // class whose handle exists only later overrides MsgOwner instead.
    explicit SMsg(HWND owner = nullptr);
    virtual ~SMsg() = default;

    virtual HWND MsgOwner() const { return owner_; }

    // Shows the text of stringId (captioned "Larkspur-PRO") with the given
    // MessageBox flags (0 = a plain OK box). Always true.
    bool Error(int stringId, UINT flags = 0) const;
    // The same box for a fixed text that has no string-table entry.
    bool ShowText(const std::string& text, UINT flags = 0) const;
    // Logs the text of stringId, counted. The result of Log.
    bool Warn(int stringId) const;
    // Counted write: true when the text went into the log.
    static bool Log(const std::string& text);
    // One line, uncounted: the text, two blanks and the local time.
    static void WriteLog(const std::string& text);

    // The text of a string-table entry, or "Diagnostic: <id>" when the
    // program has none (at most 259 characters).
    static std::string TextOf(int stringId);

    // The warning count since the last reset (tests).
    static int WarningCount();

private:
    static void OpenLog();
    static void CloseLog();

    HWND owner_;
};
