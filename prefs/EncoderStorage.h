// Settings of the Vorbis and Speex pages: four numbers each, kept as decimal
// text. Older versions wrote them as raw registry binaries that could not be
// read back as text; such values are still taken when no text is there.
#pragma once

#include "app/SettingsStore.h"

struct EncoderKeys {
    const char* stereo;
    const char* sampleRate;
    const char* quality;
    const char* byteRate;
};

struct EncoderValues {
    int stereo;
    int sampleRate;
    int quality;
    int byteRate;
};

EncoderValues LoadEncoderSettings(const SettingsStore& store, const EncoderKeys& keys,
                                  const EncoderValues& defaults);
void SaveEncoderSettings(const SettingsStore& store, const EncoderKeys& keys,
                         const EncoderValues& values);
