// Opening the Wave and MP3 pages in a preferences sheet, timed inside the
// process: the first opening (the codecs' libraries not yet loaded) and the
// least of ROUNDS later ones, for each rate and channel count the pages
// offer; and, as the floor under the Wave page, the codec manager's own
// enumeration with the page's filter. Run once with LAME's codec driver
// installed and once without it (format_page.sh prints the ratios).
//   format_page_bench.exe [ROUNDS]
// One line per measurement: "NAME first SECONDS least SECONDS entries N".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "framework/PropertySheet.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/formats/TSetWave.h"
#include "recorder/files/CodecStreamOpen.h"
#include "sound/CodecDriverProbe.h"
#include "sound/AcmServices.h"
#include "resources/ResourceIds.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds from making the sheet to the page's list being built; the
// entries the list holds.
template <class Page>
double OpenOnce(int formatsId, int& entries) {
    int defaultType = 0;
    const double start = Now();
    TPropertySheet sheet(nullptr, "Options", true, false);
    auto& page = static_cast<Page&>(sheet.AddPage(std::make_unique<Page>(&defaultType, true)));
    if (!sheet.Create()) return -1;
    const double took = Now() - start;
    entries = static_cast<int>(SendMessageA(GetDlgItem(page.GetHandle(), formatsId), CB_GETCOUNT, 0, 0));
    return took;
}

template <class Page>
void Measure(const std::string& name, int formatsId, int rounds) {
    int entries = 0;
    const double first = OpenOnce<Page>(formatsId, entries);
    double least = first;
    for (int i = 0; i < rounds; ++i) {
        const double took = OpenOnce<Page>(formatsId, entries);
        if (took >= 0 && took < least) least = took;
    }
    std::printf("%s first %.4f least %.4f entries %d\n", name.c_str(), first, least, entries);
}

// The floor under the Wave page: the codec manager's own enumeration with
// the page's filter and a callback that does nothing.
void MeasureEnumeration(const std::string& name, int rounds) {
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = static_cast<WORD>(AppState.Stereo ? 2 : 1);
    pcm.nSamplesPerSec = static_cast<DWORD>(AppState.SampleRate);
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = static_cast<WORD>(pcm.nChannels * 2);
    pcm.nAvgBytesPerSec = pcm.nBlockAlign * pcm.nSamplesPerSec;
    std::vector<BYTE> buffer(2000);
    double least = -1;
    int offered = 0;
    for (int i = 0; i <= rounds; ++i) {
        std::fill(buffer.begin(), buffer.end(), BYTE{0});
        std::memcpy(buffer.data(), &pcm, sizeof pcm);
        ACMFORMATDETAILSA details{};
        details.cbStruct = sizeof details;
        details.pwfx = reinterpret_cast<LPWAVEFORMATEX>(buffer.data());
        details.cbwfx = static_cast<DWORD>(buffer.size());
        offered = 0;
        const double start = Now();
        (void)Acm().FormatEnum(nullptr, details, [&offered](HACMDRIVERID, const ACMFORMATDETAILSA&, DWORD) {
            ++offered;
            return true;
        }, ACM_FORMATENUMF_CONVERT | ACM_FORMATENUMF_NSAMPLESPERSEC | ACM_FORMATENUMF_NCHANNELS);
        const double took = Now() - start;
        if (least < 0 || took < least) least = took;
    }
    std::printf("%s first %.4f least %.4f entries %d\n", name.c_str(), least, least, offered);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    // As the program runs: codecs on, the drivers that offer MP3 probed at
    // start, formats listed only when a stream from the PCM format opens.
    AppState.Reset();
    AppState.CodecsAvailable = true;
    AppState.WaveFormatSize = AppState.Mp3FormatSize = 2000;
    AppState.CodecDriverList = ProbeCodecDrivers();
    std::printf("mp3 drivers %d\n", static_cast<int>(AppState.CodecDriverList.size()));
    // The program's first settings (8000 Hz 8-bit mono, MP3 16000 Hz mono),
    // then CD quality.
    for (int rate : {8000, 16000, 22050, 44100}) {
        for (bool stereo : {false, true}) {
            const std::string shape = std::to_string(rate) + (stereo ? "-stereo" : "-mono");
            AppState.SampleRate = rate;
            AppState.Resolution = true;
            AppState.Stereo = stereo;
            Measure<TSetWave>("wave-" + shape, IDC_WAVEFORMATS, rounds);
            MeasureEnumeration("enum-" + shape, rounds);
            if (rate < 16000) continue;  // the MP3 page offers no lower rate
            AppState.Mp3SampleRate = rate;
            AppState.Mp3Stereo = stereo;
            Measure<TSetMp3>("mp3-" + shape, IDC_MP3FORMATS, rounds);
        }
    }
    std::fflush(stdout);
    return 0;
}
