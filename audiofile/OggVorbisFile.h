// An Ogg Vorbis recording: 16-bit PCM in, encoded by libvorbis; decoded back
// for playback and editing.
#pragma once

#include <vorbis/codec.h>

#include "audiofile/OggFile.h"

// Format tag of Vorbis recordings.
constexpr WORD kVorbisFormatTag = 6771;

// Nominal bit rate (bits per second) of quality-mode encoding at quality
// (tenths, -1..10); 0 when libvorbis refuses the combination.
long VorbisBitrateFor(int quality, long samplesPerSec, int channels);

class OggVorbisFile : public OggFile {
public:
    // quality in tenths; below -4 encodes at the format's byte rate
    // (bit-rate managed). format null: mono 8000 Hz.
    OggVorbisFile(const char* name, const WAVEFORMATEX* format, int quality, uint32_t openMode);
    ~OggVorbisFile() override;

    bool Open() override;
    bool Close() override;
    bool Update() override;
    int GetFileType() const override { return ftOgg; }
    // Bytes of PCM accepted, or kSamplesFailed.
    uint32_t WriteSamples(const int16_t* pcm, uint32_t bytes) override;
    uint32_t ReadSamples(int16_t* pcm, uint32_t bytes) override;
    const WAVEFORMATEX& PcmFormatOut() const { return pcmFormat_; }
    // The quality that gives this file's own setup header (below -4: bit-rate
    // managed at its byte rate), so a new file can take its packets as they
    // are; meaningful while CanAppend.
    int AppendQuality() const { return appendQuality_; }

    static constexpr uint32_t kSamplesFailed = 0xFFFFFFFFu;

protected:
    int HeaderPacketCount() const override { return 3; }
    const unsigned char* CommentPrefix(size_t& length) const override;
    void RestartDecoder() override;
    bool BeginWriting() override;
    void AfterRawWrite() override;

private:
    bool SetUpNewEncoder();
    bool WriteNewHeaders();
    bool ReadExistingHeaders();
    void SetUpAppendEncoder(const std::vector<OggOwnedPacket>& headers);
    bool Drain();
    void DerivePcmFormat();
    void ReleaseCodec();

    int quality_;
    int appendQuality_;
    WAVEFORMATEX pcmFormat_{};
    vorbis_info encoderInfo_{};
    vorbis_info decoderInfo_{};
    vorbis_comment comment_{};
    vorbis_dsp_state encoder_{};
    vorbis_dsp_state decoder_{};
    vorbis_block encoderBlock_{};
    vorbis_block decoderBlock_{};
    bool encoderReady_ = false;
    bool decoderReady_ = false;
    bool writeFailed_ = false;
};
