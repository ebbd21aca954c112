// Opening the recorder's conversion stream between CaptureFormat (PCM) and
// FileFormat (a codec format): the driver chosen by name from the probed
// driver list, an optional codec-suggested format, the stream, and the five
// prepared conversion records. FileFormat and CaptureFormat change only when
// the stream opened; a failed suggestion or open leaves them as they were.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <string>
#include <vector>

#include "core/AppState.h"
#include "sound/AcmStream.h"
#include "sound/WaveFormatBuffer.h"

constexpr int kConversionRecords = 5;
constexpr DWORD kConversionRecordBytes = 450000;

// Message ids of the stream's failures.
constexpr int kMsgFormatTagUnavailable = 3170;
constexpr int kMsgSuggestFailed = 3171;
constexpr int kMsgStreamOpenFailed = 3172;
constexpr int kMsgPrepareFailed = 3173;

enum class CodecDirection { Encode = 1, Decode = 2 };

struct CodecOpenRequest {
    CodecDirection direction = CodecDirection::Encode;
    bool suggest = false;       // ask the codec for a format
    bool forceSuggest = false;  // /S: always ask
    WORD chosenWaveTag = 0;     // ACMFormatTag: the WAV format needs no suggestion
    std::string driverName;     // the driver to use, by its MP3 tag name; "" = any
    DWORD largestFormatBytes = kMaxFormatBytes;  // acmMetrics, bounded
};

struct CodecOpenResult {
    bool ok = false;
    int failureMessage = 0;      // 3170 or 3172 when not ok
    bool suggestFailed = false;  // 3171: the suggestion failed, the open went on
    int prepareFailures = 0;     // records 3173 is logged for
    std::string codecReadout;    // the tag name to show; "" = leave the read-out
};

// The driver name AcmOpen uses for encoding: Mp3ACMDriver for an MP3 file
// whose format is the stored MP3 format, ACMDriver for another open file
// whose format is the stored WAV format, else none.
std::string CodecDriverNameFor(const std::string& currentPath, bool fileOpen, int fileType,
                               const WaveFormatBuffer& fileFormat, const AppStateValues& settings);

// The first record whose tag name equals name case-blind; null for none.
const CodecDriverRecord* FindCodecDriver(const std::vector<CodecDriverRecord>& drivers,
                                         const std::string& name);

// Opens the stream (closing an open one first) and prepares each non-null
// record that has buffers.
CodecOpenResult OpenCodecStream(const CodecOpenRequest& request,
                                const std::vector<CodecDriverRecord>& drivers,
                                WaveFormatBuffer& fileFormat, WAVEFORMATEX& captureFormat,
                                AcmStream& stream, ACMSTREAMHEADER* const (&records)[kConversionRecords],
                                AcmServices& acm = Acm());
