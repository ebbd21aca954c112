// The example of a new file's name the File page and the pattern dialog
// show. Windowless.
#pragma once

#include <ctime>
#include <string>

// pattern ("rec" when empty), "_1" when appendInstance, the extension of the
// file type (".mp3" 1, ".ogg" 3, else ".wav"), expanded as a time pattern
// for time. Empty when the pattern holds a code strftime does not know.
std::string FileNamePreview(const std::string& pattern, bool appendInstance, int fileType,
                            const std::tm& time);
