// An event's name as the literal first part of a recording's file name.
//
// The recorder builds a scheduled recording's base name from the event name
// and the user's naming pattern, and the file-name maker then runs the base
// through the date formatter (strftime) and a printf-style numbering step.
// A name is plain text, not a pattern: it must not add format codes (a "%s"
// would even make the numbering step read a bogus argument) nor folders or
// drives ("..\\", "C:", "/") to the file name. Any file-name code that puts
// user text into a pattern should go through this helper.
#pragma once

#include <string>

// name with every '%', path separator, drive or stream colon, wildcard,
// character that Windows forbids in file names and control character
// replaced by '_'. A reserved device name ("CON", "nul", "COM1", ... also
// before an extension) gets a '_' after it: "con.x" gives "con_.x".
std::string EventNameAsFileName(const std::string& name);
