#include "recorder/capture/StatusTexts.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* format, ...)
{
    char text[300];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

}  // namespace

std::string ElapsedText(uint64_t seconds)
{
    const unsigned long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h == 0)
        return Printf("  %llu:%2.2llu", seconds / 60, s);
    return Printf("  %llu:%2.2llu:%2.2llu", h, m, s);
}

std::string ClockTimeText(int64_t timeCode, int offsetHours, uint64_t elapsedSeconds)
{
    const __time64_t t = timeCode + int64_t{offsetHours} * 3600;
    const char* text = t >= 0 ? _ctime64(&t) : nullptr;
    if (!text)
        return ElapsedText(elapsedSeconds);
    return std::string(text).substr(0, 259);
}

std::string SegmentText(int index, int count)
{
    return Printf("%d of %d", index + 1, count);
}

std::string SizeText(uint64_t bytes, bool withLength, uint64_t seconds)
{
    const double mb = double(bytes) / 1048576.0;
    std::string text = mb < 1.0 ? Printf("%.3fMB", mb) : mb < 100.0 ? Printf("%.2fMB", mb)
                                                                     : Printf("%.0fMB", mb);
    if (withLength)
        text += ElapsedText(seconds);
    return text;
}

std::string DiskSpaceText(double freeMb, const std::string& drive, bool withLimit, double restMb)
{
    std::string text = freeMb >= 1000.0 ? Printf(">1GB free on %s", drive.c_str())
                                        : Printf("%.0fMB free on %s", freeMb, drive.c_str());
    if (withLimit)
        text += restMb > 100.0 ? Printf("  %.0fMB to file limit", restMb)
                               : Printf("  %.1fMB to file limit", restMb);
    return text;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string VolumeLabel(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if (path.rfind("\\\\", 0) == 0) {
        const size_t server = path.find('\\', 2);
        const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        return path.substr(0, share);
    }
    return std::string();
}
