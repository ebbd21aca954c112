#include "audiofile/SpeexFile.h"

#include <speex/speex_header.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kDefaultQuality = 8;
constexpr int kComplexity = 3;

const SpeexMode* ModeObject(int mode) { return speex_lib_get_mode(mode); }

std::string SpeexVendor() {
    const char* version = nullptr;
    speex_lib_ctl(SPEEX_LIB_GET_VERSION_STRING, &version);
    char text[129];
    std::snprintf(text, sizeof text, "Encoded with Speex %s", version ? version : "");
    return text;
}

}  // namespace

int SpeexModeForRate(long samplesPerSec) {
    if (samplesPerSec <= 12500)
        return 0;
    return samplesPerSec <= 25000 ? 1 : 2;
}

long SpeexBitrateFor(int quality, long samplesPerSec, int /*channels*/) {
    void* state = speex_encoder_init(ModeObject(SpeexModeForRate(samplesPerSec)));
    if (!state)
        return 0;
    spx_int32_t rate = static_cast<spx_int32_t>(samplesPerSec), value = quality, complexity = kComplexity;
    spx_int32_t bitrate = 0;
    speex_encoder_ctl(state, SPEEX_SET_SAMPLING_RATE, &rate);
    speex_encoder_ctl(state, SPEEX_SET_QUALITY, &value);
    speex_encoder_ctl(state, SPEEX_SET_COMPLEXITY, &complexity);
    speex_encoder_ctl(state, SPEEX_GET_BITRATE, &bitrate);
    speex_encoder_destroy(state);
    return bitrate;
}

int SpeexQualityForBitrate(long wanted, long samplesPerSec, int channels) {
    for (int quality = 0; quality <= 10; ++quality)
        if (SpeexBitrateFor(quality, samplesPerSec, channels) >= wanted)
            return quality;
    return -1;
}

SpeexFile::SpeexFile(const char* name, const WAVEFORMATEX* format, int quality, uint32_t openMode)
    : OggFile(name, openMode), quality_(quality) {
    speex_bits_init(&encoderBits_);
    speex_bits_init(&decoderBits_);
    if (format) {
        SetFormat(format);
    } else {
        format_->wFormatTag = kSpeexFormatTag;
        format_->nChannels = 1;
        format_->nSamplesPerSec = 8000;
        format_->nAvgBytesPerSec = 1000;
        format_->nBlockAlign = 160;
        format_->wBitsPerSample = 16;
        format_->cbSize = 0;
    }
}

SpeexFile::~SpeexFile() {
    Close();
    speex_bits_destroy(&encoderBits_);
    speex_bits_destroy(&decoderBits_);
}

const unsigned char* SpeexFile::CommentPrefix(size_t& length) const {
    length = 0;
    return nullptr;
}

bool SpeexFile::WriteNewHeaders() {
    SpeexHeader header;
    speex_init_header(&header, static_cast<int>(format_->nSamplesPerSec), format_->nChannels,
                      ModeObject(SpeexModeForRate(static_cast<long>(format_->nSamplesPerSec))));
    header.frames_per_packet = 1;
    header.vbr = 0;
    header.bitrate = static_cast<spx_int32_t>(format_->nAvgBytesPerSec * 8);
    int size = 0;
    char* bytes = speex_header_to_packet(&header, &size);
    if (!bytes)
        return false;
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(bytes);
    packet.bytes = size;
    packet.b_o_s = 1;
    bool ok = WritePacket(packet, true) && Flush();
    speex_header_free(bytes);

    comments_.Clear();
    comments_.SetVendor(SpeexVendor());
    comments_.Add("bar", "foo");
    comments_.SetPadded(kOggCommentLimit, kAnnotationKey, '\n');
    OggOwnedPacket comment = comments_.SerializeCommentPacket(nullptr, 0);
    comment.packet.packetno = 1;
    return ok && WritePacket(comment.packet, true) && Flush();
}

bool SpeexFile::ParseHeaders(const std::vector<OggOwnedPacket>& headers) {
    SpeexHeader* header = speex_packet_to_header(
        reinterpret_cast<char*>(const_cast<unsigned char*>(headers[0].data.data())),
        static_cast<int>(headers[0].data.size()));
    if (!header)
        return false;
    // A header of another encoder is checked before anything divides by it.
    const bool sane = header->frames_per_packet >= 1 && header->frames_per_packet <= 10 &&
                      header->frame_size >= 80 && header->frame_size <= 640 && header->nb_channels >= 1 &&
                      header->nb_channels <= 2 && header->rate >= 1000 && header->rate <= 96000 &&
                      header->mode >= 0 && header->mode <= 2;
    if (sane) {
        format_->nBlockAlign = static_cast<WORD>(header->frame_size);
        frameSize_ = header->frame_size;
        format_->nAvgBytesPerSec = header->bitrate > 0 ? static_cast<DWORD>(header->bitrate / 8) : 0;
        framesPerPacket_ = header->frames_per_packet;
        format_->nChannels = static_cast<WORD>(header->nb_channels);
        format_->nSamplesPerSec = static_cast<DWORD>(header->rate);
        mode_ = header->mode;
    }
    speex_header_free(header);
    if (!sane)
        return false;
    // Other encoders end the packet after the last comment, without the
    // framing byte: their vendor and comments are kept beside ours.
    comments_.ParseCommentPacket(headers[1].data.data(), headers[1].data.size(), 0, true);
    return true;
}

bool SpeexFile::Open() {
    if (IsOpen())
        return true;
    bool newFile = false;
    if (!OpenStreams(newFile))
        return false;
    encoderActive_ = false;
    writeFailed_ = false;
    pendingPcm_.clear();
    decoded_.clear();
    decodedOffset_ = 0;
    const int channels = format_->nChannels;
    if (newFile) {
        if (channels < 1 || channels > 2 || format_->nSamplesPerSec == 0) {
            CloseStreams();
            SetStatus(statusCannotOpen);
            return false;
        }
        const long rate = static_cast<long>(format_->nSamplesPerSec);
        framesPerPacket_ = 1;
        if (quality_ < 0 && format_->nAvgBytesPerSec != 0) {
            quality_ = SpeexQualityForBitrate(static_cast<long>(format_->nAvgBytesPerSec) * 8, rate, channels);
            if (quality_ < 0)
                quality_ = 10;
        }
        if (quality_ < 0)
            quality_ = kDefaultQuality;
        if (quality_ > 10)
            quality_ = 10;
        format_->nAvgBytesPerSec = static_cast<DWORD>(SpeexBitrateFor(quality_, rate, channels) / 8);
        if (!WriteNewHeaders()) {
            CloseStreams();
            SetStatus(statusCannotOpen);
            return false;
        }
        encoderActive_ = true;
        RereadHeaders();
    } else {
        std::vector<OggOwnedPacket> headers;
        if (!ReadHeaderPackets(headers, 2) || !ParseHeaders(headers)) {
            CloseStreams();
            SetStatus(statusNoFormat);
            return false;
        }
        ScanToEnd();
        RereadHeaders();
        if (highestGranule_ != 0) {
            const int64_t estimate =
                int64_t{bytesWritten_} * 8 * format_->nSamplesPerSec / highestGranule_;
            format_->nAvgBytesPerSec = static_cast<DWORD>(estimate / 8);
            quality_ = SpeexQualityForBitrate(static_cast<long>(estimate), static_cast<long>(format_->nSamplesPerSec),
                                              format_->nChannels);
            if (quality_ < 0)
                quality_ = 10;
        }
        if (quality_ < 0)
            quality_ = kDefaultQuality;
    }
    mode_ = SpeexModeForRate(static_cast<long>(format_->nSamplesPerSec));
    encoder_ = speex_encoder_init(ModeObject(mode_));
    decoder_ = speex_decoder_init(ModeObject(mode_));
    if (!encoder_ || !decoder_) {
        ReleaseCodec();
        CloseStreams();
        SetStatus(statusCannotOpen);
        return false;
    }
    spx_int32_t rate = static_cast<spx_int32_t>(format_->nSamplesPerSec), complexity = kComplexity;
    spx_int32_t quality = quality_, enhance = 1, frame = 0;
    speex_encoder_ctl(encoder_, SPEEX_SET_SAMPLING_RATE, &rate);
    speex_decoder_ctl(decoder_, SPEEX_SET_SAMPLING_RATE, &rate);
    speex_encoder_ctl(encoder_, SPEEX_SET_COMPLEXITY, &complexity);
    if (format_->nChannels == 2) {
        stereo_ = speex_stereo_state_init();
        stereoCallback_.callback_id = SPEEX_INBAND_STEREO;
        stereoCallback_.func = speex_std_stereo_request_handler;
        stereoCallback_.data = stereo_;
        speex_decoder_ctl(decoder_, SPEEX_SET_HANDLER, &stereoCallback_);
    }
    speex_encoder_ctl(encoder_, SPEEX_SET_QUALITY, &quality);
    speex_decoder_ctl(decoder_, SPEEX_SET_ENH, &enhance);
    speex_encoder_ctl(encoder_, SPEEX_GET_FRAME_SIZE, &frame);
    if (newFile || frameSize_ <= 0)
        frameSize_ = frame;
    speex_decoder_ctl(decoder_, SPEEX_GET_FRAME_SIZE, &frame);
    decoderFrameSize_ = frame;
    if (!newFile && frameSize_ != decoderFrameSize_)
        appendAllowed_ = false;  // frames of another size than this mode's
    RecFile::Open();
    return IsOpen();
}

bool SpeexFile::ReadPacket(ogg_packet& packet) {
    if (!OggFile::ReadPacket(packet))
        return false;
    if (packet.granulepos == -1 && frameSize_ > 0 && packet.packetno >= 2) {
        currentGranule_ += int64_t{frameSize_} * framesPerPacket_;
        packet.granulepos = currentGranule_;
        if (currentGranule_ > highestGranule_)
            highestGranule_ = currentGranule_;
    }
    return true;
}

bool SpeexFile::EncodePacket(const int16_t* samples, int64_t granule) {
    const int channels = format_->nChannels;
    const size_t frameSamples = static_cast<size_t>(frameSize_) * channels;
    std::vector<int16_t> frame(frameSamples);
    speex_bits_reset(&encoderBits_);
    for (int f = 0; f < framesPerPacket_; ++f) {
        // The stereo step folds the frame to mono in place: work on a copy.
        std::memcpy(frame.data(), samples + f * frameSamples, frameSamples * sizeof(int16_t));
        if (channels == 2)
            speex_encode_stereo_int(frame.data(), frameSize_, &encoderBits_);
        speex_encode_int(encoder_, frame.data(), &encoderBits_);
    }
    speex_bits_insert_terminator(&encoderBits_);
    char out[4000];
    const int bytes = speex_bits_write(&encoderBits_, out, sizeof out);
    ogg_packet packet{};
    packet.packet = reinterpret_cast<unsigned char*>(out);
    packet.bytes = bytes;
    packet.granulepos = granule;
    packet.packetno = writeState_.packetno;
    return WritePacket(packet, true);
}

uint32_t SpeexFile::WriteSamples(const int16_t* pcm, uint32_t bytes) {
    if (!IsOpen() || readOnly_ || !pcm || !encoder_)
        return kSamplesFailed;
    if (!BeginWriting())
        return kSamplesFailed;
    const int channels = format_->nChannels;
    const uint32_t samples = bytes / 2 / static_cast<uint32_t>(channels) * static_cast<uint32_t>(channels);
    if (samples == 0)
        return 0;
    const size_t packetSamples = static_cast<size_t>(frameSize_) * channels * framesPerPacket_;
    const int64_t packetFrames = int64_t{frameSize_} * framesPerPacket_;
    pendingPcm_.insert(pendingPcm_.end(), pcm, pcm + samples);
    size_t at = 0;
    for (; pendingPcm_.size() - at >= packetSamples; at += packetSamples)
        if (!EncodePacket(pendingPcm_.data() + at, highestGranule_ + packetFrames))
            writeFailed_ = true;
    pendingPcm_.erase(pendingPcm_.begin(), pendingPcm_.begin() + static_cast<std::ptrdiff_t>(at));
    modified_ = true;
    return writeFailed_ ? kSamplesFailed : samples * 2;
}

bool SpeexFile::FinishPending() {
    if (pendingPcm_.empty())
        return true;
    const int channels = format_->nChannels;
    const int64_t frames = static_cast<int64_t>(pendingPcm_.size()) / channels;
    pendingPcm_.resize(static_cast<size_t>(frameSize_) * channels * framesPerPacket_, 0);
    // The padding is silence past the end: the granule counts only real frames.
    const bool ok = EncodePacket(pendingPcm_.data(), highestGranule_ + frames);
    pendingPcm_.clear();
    return ok;
}

uint32_t SpeexFile::ReadSamples(int16_t* pcm, uint32_t bytes) {
    if (!pcm)
        return 0;
    std::memset(pcm, 0, bytes);
    if (!IsOpen() || !decoder_ || decoderFrameSize_ <= 0)
        return 0;
    const int channels = format_->nChannels;
    const size_t wanted = bytes / 2 / static_cast<size_t>(channels) * static_cast<size_t>(channels);
    size_t produced = 0;
    while (produced < wanted) {
        if (decodedOffset_ < decoded_.size()) {
            const size_t n = std::min(decoded_.size() - decodedOffset_, wanted - produced);
            std::memcpy(pcm + produced, decoded_.data() + decodedOffset_, n * sizeof(int16_t));
            produced += n;
            decodedOffset_ += n;
            continue;
        }
        ogg_packet packet;
        if (!ReadPacket(packet))
            break;
        if (packet.bytes == 0 || packet.packetno < 2)
            continue;
        speex_bits_read_from(&decoderBits_, reinterpret_cast<char*>(packet.packet), static_cast<int>(packet.bytes));
        decoded_.clear();
        decodedOffset_ = 0;
        std::vector<int16_t> frame(static_cast<size_t>(decoderFrameSize_) * 2);
        for (int f = 0; f < framesPerPacket_; ++f) {
            if (speex_bits_remaining(&decoderBits_) < 0)
                break;
            if (speex_decode_int(decoder_, &decoderBits_, frame.data()) != 0)
                break;
            if (channels == 2)
                speex_decode_stereo_int(frame.data(), decoderFrameSize_, stereo_);
            decoded_.insert(decoded_.end(), frame.begin(),
                            frame.begin() + static_cast<std::ptrdiff_t>(decoderFrameSize_) * channels);
        }
    }
    return static_cast<uint32_t>(produced * 2);
}

void SpeexFile::RestartDecoder() {
    decoded_.clear();
    decodedOffset_ = 0;
    if (decoder_)
        speex_decoder_ctl(decoder_, SPEEX_RESET_STATE, nullptr);
}

bool SpeexFile::Update() {
    if (!IsOpen())
        return true;
    const bool flushed = Flush();
    return RecFile::Update() && flushed;
}

void SpeexFile::ReleaseCodec() {
    if (encoder_)
        speex_encoder_destroy(encoder_);
    if (decoder_)
        speex_decoder_destroy(decoder_);
    if (stereo_)
        speex_stereo_state_destroy(stereo_);
    encoder_ = decoder_ = nullptr;
    stereo_ = nullptr;
}

bool SpeexFile::Close() {
    if (!IsOpen())
        return true;
    bool ok = true;
    if (encoderActive_) {
        if (!FinishPending() || !Flush() || !WriteEndOfStream() || !Flush())
            ok = false;
    }
    const bool wasModified = modified_;
    if (!Update())
        ok = false;
    UpdateAnnotationInPlace();
    ReleaseCodec();
    if (!CloseStreams())
        ok = false;
    encoderActive_ = false;
    readOnly_ = false;
    if (temporary_) {
        if (wasModified)
            return false;
        DeleteFileA(path_.c_str());
        DiscardJournal();
    }
    return ok && !writeFailed_;
}
