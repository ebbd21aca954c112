#include "prefs/files/FileNamePreview.h"

#include "core/TimePattern.h"

std::string FileNamePreview(const std::string& pattern, bool appendInstance, int fileType,
                            const std::tm& time) {
    std::string text = pattern.empty() ? "rec" : pattern;
    if (appendInstance) text += "_1";
    text += fileType == 1 ? ".mp3" : fileType == 3 ? ".ogg" : ".wav";
    return ExpandTimePattern(text, time);
}
