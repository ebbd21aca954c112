#include "recorder/files/FileFormats.h"

#include <cstring>

#include "audiofile/PcmFormat.h"
#include "sound/AcmServices.h"

const char* const kPcmCodecReadout = "PCM    ";

namespace {

// The type named by the last four characters, or -1 for none of ours.
int TypeOfEnding(const char* name, bool wavCounts) {
    const size_t length = std::strlen(name);
    const char* ending = name + length - 4;
    if (lstrcmpiA(ending, ".mp3") == 0) return 1;
    if (lstrcmpiA(ending, ".ogg") == 0 || lstrcmpiA(ending, ".oga") == 0) return 3;
    if (lstrcmpiA(ending, ".spx") == 0) return 4;
    if (wavCounts && lstrcmpiA(ending, ".wav") == 0) return 0;
    return -1;
}

WAVEFORMATEX OwnCodecFormat(WORD tag, int stereo, int sampleRate, DWORD bytesPerSecond) {
    WAVEFORMATEX format{};
    format.wFormatTag = tag;
    format.nChannels = static_cast<WORD>(stereo ? 2 : 1);
    format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 1;
    format.nAvgBytesPerSec = bytesPerSecond;
    format.cbSize = 0;
    return format;
}

WORD PcmBits(bool sixteenBit) { return sixteenBit ? 16 : 8; }

}  // namespace

std::string FormatReadoutText(const WAVEFORMATEX& format, int recordChannel) {
    std::string text = format.nSamplesPerSec <= 999
                           ? std::to_string(format.nSamplesPerSec) + "Hz"
                           : std::to_string(format.nSamplesPerSec / 1000) + "kHz";
    if (format.wFormatTag == WAVE_FORMAT_PCM) {
        if (format.wBitsPerSample == 8) text += " 8 bit";
        if (format.wBitsPerSample == 16) text += " 16 bit";
    }
    if (format.nChannels == 2)
        text += " ST";
    else if (recordChannel < 0)
        text += " Left";
    else if (recordChannel > 0)
        text += " Right";
    // In 64 bits: a damaged header's byte rate must not wrap around.
    const unsigned long long kbps = static_cast<unsigned long long>(format.nAvgBytesPerSec) * 8 / 1000;
    return text + " " + std::to_string(kbps) + "kbps";
}

std::string CodecReadoutName(const std::string& tagName) {
    return lstrcmpiA(tagName.c_str(), "Lame MP3") == 0 ? "MP3" : tagName;
}

int FileTypeForOpen(const char* name, int type) {
    if (!name || std::strlen(name) <= 4)
        return type;
    const int named = TypeOfEnding(name, true);
    return named >= 0 ? named : type;
}

int FileTypeForFactory(const char* name, int type) {
    if (!name || std::strlen(name) < 4)
        return type;
    const int named = TypeOfEnding(name, false);
    return named >= 0 ? named : 0;
}

WAVEFORMATEX CaptureFormatFor(const WAVEFORMATEX& fileFormat) {
    const WORD bits = fileFormat.wFormatTag == WAVE_FORMAT_PCM ? fileFormat.wBitsPerSample : 16;
    return PcmFormat(fileFormat.nChannels, fileFormat.nSamplesPerSec, bits);
}

NewFileFormats FormatsForNewFile(int fileType, const AppStateValues& settings) {
    NewFileFormats formats;
    switch (fileType) {
    case 1:
        formats.fileFormat.Assign(settings.Mp3Format.bytes, sizeof settings.Mp3Format.bytes);
        formats.captureFormat = PcmFormat(settings.Mp3Stereo ? 2 : 1,
                                          static_cast<DWORD>(settings.Mp3SampleRate), 16);
        formats.codecCheck = NewFileCodecCheck::PlainThenSuggest;
        return formats;
    case 3:
        // The byte rate the Vorbis page derived from its quality, so the
        // read-outs can show length and limits of a new Vorbis recording.
        formats.fileFormat.Assign(OwnCodecFormat(kFormatTagVorbis, settings.VorStereo,
                                                 settings.VorSampleRate,
                                                 static_cast<DWORD>(settings.VorByteRate)));
        formats.codecReadout = "Vorbis";
        break;
    case 4:
        formats.fileFormat.Assign(OwnCodecFormat(kFormatTagSpeex, settings.SpxStereo,
                                                 settings.SpxSampleRate,
                                                 static_cast<DWORD>(settings.SpxByteRate)));
        formats.codecReadout = "Speex";
        break;
    default: {
        formats.captureFormat = PcmFormat(settings.Stereo ? 2 : 1,
                                          static_cast<DWORD>(settings.SampleRate),
                                          PcmBits(settings.Resolution));
        const bool compressed = settings.ACMDriver[0] != '\0' &&
                                lstrcmpiA(settings.ACMDriver, "No compression") != 0;
        if (!compressed) {
            formats.fileFormat.Assign(formats.captureFormat);
            formats.codecReadout = kPcmCodecReadout;
            return formats;
        }
        formats.fileFormat.Assign(settings.WaveFormat.bytes, sizeof settings.WaveFormat.bytes);
        if (settings.ACMFormatTag != 0)
            formats.fileFormat->wFormatTag = settings.ACMFormatTag;
        formats.codecCheck = NewFileCodecCheck::SuggestOnly;
        return formats;
    }
    }
    formats.captureFormat = PcmFormat(formats.fileFormat->nChannels,
                                      formats.fileFormat->nSamplesPerSec, 16);
    return formats;
}
