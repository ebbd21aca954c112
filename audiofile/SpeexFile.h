// A Speex recording: 16-bit PCM in, encoded frame by frame with libspeex in
// an Ogg stream; decoded back for playback and editing.
#pragma once

#include <speex/speex.h>
#include <speex/speex_callbacks.h>
#include <speex/speex_stereo.h>

#include <vector>

#include "audiofile/OggFile.h"

constexpr WORD kSpeexFormatTag = 0xA109;

// 0 narrow band (up to 12500 Hz), 1 wide band (up to 25000 Hz), 2 ultra-wide.
int SpeexModeForRate(long samplesPerSec);
// Bit rate (bits per second) of the encoder at quality 0..10.
long SpeexBitrateFor(int quality, long samplesPerSec, int channels);
// Lowest quality giving at least wanted bits per second; -1 when none does.
int SpeexQualityForBitrate(long wanted, long samplesPerSec, int channels);

class SpeexFile : public OggFile {
public:
    // quality 0..10; negative: chosen from the format's byte rate.
    SpeexFile(const char* name, const WAVEFORMATEX* format, int quality, uint32_t openMode);
    ~SpeexFile() override;

    bool Open() override;
    bool Close() override;
    bool Update() override;
    int GetFileType() const override { return ftSpeex; }
    // Bytes accepted (all of them; a part frame waits for the next call),
    // or kSamplesFailed.
    uint32_t WriteSamples(const int16_t* pcm, uint32_t bytes) override;
    uint32_t ReadSamples(int16_t* pcm, uint32_t bytes) override;
    int Quality() const { return quality_; }
    int FrameSize() const { return frameSize_; }

    static constexpr uint32_t kSamplesFailed = 0xFFFFFFFFu;

protected:
    int HeaderPacketCount() const override { return 2; }
    const unsigned char* CommentPrefix(size_t& length) const override;
    void RestartDecoder() override;
    bool ReadPacket(ogg_packet& packet) override;

private:
    bool WriteNewHeaders();
    bool ParseHeaders(const std::vector<OggOwnedPacket>& headers);
    bool EncodePacket(const int16_t* samples, int64_t granule);
    bool FinishPending();
    void ReleaseCodec();

    void* encoder_ = nullptr;
    void* decoder_ = nullptr;
    SpeexBits encoderBits_{};
    SpeexBits decoderBits_{};
    SpeexCallback stereoCallback_{};
    SpeexStereoState* stereo_ = nullptr;
    int framesPerPacket_ = 1;
    int frameSize_ = 0;
    int decoderFrameSize_ = 0;
    int mode_ = 0;
    int quality_;
    bool writeFailed_ = false;
    std::vector<int16_t> pendingPcm_;     // samples waiting for a whole packet
    std::vector<int16_t> decoded_;        // a decoded frame not yet handed out
    size_t decodedOffset_ = 0;
};
