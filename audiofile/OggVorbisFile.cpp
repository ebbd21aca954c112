#include "audiofile/OggVorbisFile.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstring>

namespace {

const unsigned char kVorbisPrefix[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};
// Quality used when a managed set-up has no byte rate to start from.
constexpr int kDefaultQuality = 3;

}  // namespace

long VorbisBitrateFor(int quality, long samplesPerSec, int channels) {
    vorbis_info info;
    vorbis_info_init(&info);
    long rate = 0;
    if (vorbis_encode_init_vbr(&info, channels, samplesPerSec, static_cast<float>(quality) * 0.1f) == 0)
        rate = info.bitrate_nominal;
    vorbis_info_clear(&info);
    return rate;
}

OggVorbisFile::OggVorbisFile(const char* name, const WAVEFORMATEX* format, int quality, uint32_t openMode)
    : OggFile(name, openMode), quality_(quality), appendQuality_(quality) {
    if (format) {
        SetFormat(format);
    } else {
        format_->wFormatTag = kVorbisFormatTag;
        format_->nChannels = 1;
        format_->nSamplesPerSec = 8000;
        format_->nAvgBytesPerSec = 8000;
        format_->nBlockAlign = 1;
        format_->wBitsPerSample = 16;
        format_->cbSize = 0;
    }
    DerivePcmFormat();
    vorbis_info_init(&encoderInfo_);
    vorbis_info_init(&decoderInfo_);
    vorbis_comment_init(&comment_);
}

OggVorbisFile::~OggVorbisFile() {
    Close();
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&encoderInfo_);
    vorbis_info_clear(&decoderInfo_);
}

const unsigned char* OggVorbisFile::CommentPrefix(size_t& length) const {
    length = sizeof kVorbisPrefix;
    return kVorbisPrefix;
}

void OggVorbisFile::DerivePcmFormat() {
    pcmFormat_ = WAVEFORMATEX{};
    pcmFormat_.wFormatTag = WAVE_FORMAT_PCM;
    pcmFormat_.nChannels = format_->nChannels;
    pcmFormat_.nSamplesPerSec = format_->nSamplesPerSec;
    pcmFormat_.wBitsPerSample = 16;
    pcmFormat_.nBlockAlign = static_cast<WORD>(format_->nChannels * 2);
    pcmFormat_.nAvgBytesPerSec = pcmFormat_.nBlockAlign * format_->nSamplesPerSec;
}

bool OggVorbisFile::SetUpNewEncoder() {
    const int channels = format_->nChannels;
    const long rate = static_cast<long>(format_->nSamplesPerSec);
    if (channels < 1 || channels > 2 || rate <= 0)
        return false;
    if (quality_ < -4) {
        if (format_->nAvgBytesPerSec == 0)
            format_->nAvgBytesPerSec = static_cast<DWORD>(VorbisBitrateFor(kDefaultQuality, rate, channels) / 8);
        for (int attempt = 0; attempt < 16 && format_->nAvgBytesPerSec != 0; ++attempt) {
            if (vorbis_encode_init(&encoderInfo_, channels, rate, -1,
                                   static_cast<long>(format_->nAvgBytesPerSec) * 8, -1) == 0)
                return true;
            vorbis_info_clear(&encoderInfo_);
            vorbis_info_init(&encoderInfo_);
            format_->nAvgBytesPerSec *= 2;
        }
        // No bit rate suits this rate and channel count: encode by quality.
        quality_ = kDefaultQuality;
    }
    format_->nAvgBytesPerSec = static_cast<DWORD>(VorbisBitrateFor(quality_, rate, channels) / 8);
    if (vorbis_encode_init_vbr(&encoderInfo_, channels, rate, static_cast<float>(quality_) * 0.1f) == 0)
        return true;
    vorbis_info_clear(&encoderInfo_);
    vorbis_info_init(&encoderInfo_);
    return false;
}

bool OggVorbisFile::WriteNewHeaders() {
    comments_.Clear();
    comments_.Add("bar", "foofoo");
    comments_.SetVendor(vorbis_version_string());
    comments_.SetPadded(kOggCommentLimit, kAnnotationKey, '\n');
    vorbis_comment_clear(&comment_);
    vorbis_comment_init(&comment_);
    for (int i = 0; i < comments_.Count(); ++i)
        vorbis_comment_add_tag(&comment_, comments_.EntryAt(i).name.c_str(), comments_.EntryAt(i).value.c_str());
    ogg_packet id, theirComment, setup;
    if (vorbis_analysis_headerout(&encoder_, &comment_, &id, &theirComment, &setup) != 0)
        return false;
    bool ok = ogg_stream_packetin(&writeState_, &id) == 0 && Flush();
    OggOwnedPacket ours = comments_.SerializeCommentPacket(kVorbisPrefix, sizeof kVorbisPrefix);
    ours.packet.packetno = 1;
    ok = ok && ogg_stream_packetin(&writeState_, &ours.packet) == 0 && Flush();
    ok = ok && ogg_stream_packetin(&writeState_, &setup) == 0 && Flush();
    // A file just made can be decoded at once.
    vorbis_info_clear(&decoderInfo_);
    vorbis_info_init(&decoderInfo_);
    vorbis_comment header;
    vorbis_comment_init(&header);
    ok = ok && vorbis_synthesis_headerin(&decoderInfo_, &header, &id) == 0 &&
         vorbis_synthesis_headerin(&decoderInfo_, &header, &theirComment) == 0 &&
         vorbis_synthesis_headerin(&decoderInfo_, &header, &setup) == 0;
    vorbis_comment_clear(&header);
    return ok;
}

bool OggVorbisFile::ReadExistingHeaders() {
    std::vector<OggOwnedPacket> headers;
    if (!ReadHeaderPackets(headers, 3))
        return false;
    vorbis_info_clear(&decoderInfo_);
    vorbis_info_init(&decoderInfo_);
    vorbis_comment_clear(&comment_);
    vorbis_comment_init(&comment_);
    for (OggOwnedPacket& header : headers)
        if (vorbis_synthesis_headerin(&decoderInfo_, &comment_, &header.packet) < 0)
            return false;
    // The packet itself first: libvorbis's own list keeps no vendor length
    // and drops what it cannot take.
    if (!comments_.ParseCommentPacket(headers[1].data.data(), headers[1].data.size(), sizeof kVorbisPrefix)) {
        comments_.Clear();
        if (comment_.vendor)
            comments_.SetVendor(comment_.vendor);
        for (int i = 0; i < comment_.comments; ++i) {
            std::string name, value;
            if (OggCommentBlock::SplitNameValue(
                    std::string(comment_.user_comments[i], comment_.comment_lengths[i]), name, value))
                comments_.Add(name, value);
        }
    }
    format_->nChannels = static_cast<WORD>(decoderInfo_.channels);
    format_->nSamplesPerSec = static_cast<DWORD>(decoderInfo_.rate);
    const long nominal = decoderInfo_.bitrate_nominal;
    format_->nAvgBytesPerSec = static_cast<DWORD>(
        nominal > 0 ? nominal / 8 : (decoderInfo_.bitrate_upper + decoderInfo_.bitrate_lower) / 16);
    DerivePcmFormat();
    SetUpAppendEncoder(headers);
    return true;
}

void OggVorbisFile::SetUpAppendEncoder(const std::vector<OggOwnedPacket>& headers) {
    // New audio must be made with the file's own setup header, or it cannot
    // be decoded: find an encoder set-up that gives the same one.
    const int channels = decoderInfo_.channels;
    const long rate = decoderInfo_.rate;
    const OggOwnedPacket& fileSetup = headers[2];
    auto matches = [&]() {
        vorbis_dsp_state probe;
        if (vorbis_analysis_init(&probe, &encoderInfo_) != 0)
            return false;
        vorbis_comment none;
        vorbis_comment_init(&none);
        ogg_packet id, comment, setup;
        const bool same = vorbis_analysis_headerout(&probe, &none, &id, &comment, &setup) == 0 &&
                          setup.bytes == fileSetup.packet.bytes &&
                          std::memcmp(setup.packet, fileSetup.packet.packet, setup.bytes) == 0;
        vorbis_comment_clear(&none);
        vorbis_dsp_clear(&probe);
        return same;
    };
    auto reset = [&]() {
        vorbis_info_clear(&encoderInfo_);
        vorbis_info_init(&encoderInfo_);
    };
    for (int quality = -1; quality <= 10; ++quality) {
        if (decoderInfo_.bitrate_nominal != VorbisBitrateFor(quality, rate, channels))
            continue;
        if (vorbis_encode_init_vbr(&encoderInfo_, channels, rate, static_cast<float>(quality) * 0.1f) == 0 &&
            matches()) {
            quality_ = quality;
            appendQuality_ = quality;
            encoderReady_ = true;
            break;
        }
        reset();
    }
    if (!encoderReady_ && decoderInfo_.bitrate_nominal > 0) {
        if (vorbis_encode_init(&encoderInfo_, channels, rate, -1, decoderInfo_.bitrate_nominal, -1) == 0 &&
            matches()) {
            encoderReady_ = true;
            appendQuality_ = -10;
        }
        else
            reset();
    }
    if (encoderReady_) {
        vorbis_analysis_init(&encoder_, &encoderInfo_);
        vorbis_block_init(&encoder_, &encoderBlock_);
    }
    appendAllowed_ = encoderReady_;
}

bool OggVorbisFile::Open() {
    if (IsOpen())
        return true;
    bool newFile = false;
    if (!OpenStreams(newFile))
        return false;
    encoderActive_ = false;
    writeFailed_ = false;
    if (newFile) {
        if (!SetUpNewEncoder()) {
            CloseStreams();
            SetStatus(statusCannotOpen);
            return false;
        }
        encoderReady_ = true;
        appendQuality_ = quality_;
        vorbis_analysis_init(&encoder_, &encoderInfo_);
        vorbis_block_init(&encoder_, &encoderBlock_);
        if (!WriteNewHeaders()) {
            ReleaseCodec();
            CloseStreams();
            SetStatus(statusCannotOpen);
            return false;
        }
        encoderActive_ = true;
        bytesWritten_ = static_cast<uint32_t>(FileSize(path_));
    } else {
        if (!ReadExistingHeaders()) {
            ReleaseCodec();
            CloseStreams();
            SetStatus(statusNoFormat);
            return false;
        }
        ScanToEnd();
        if (highestGranule_ > 0 && currentGranule_ == 0)
            currentGranule_ = highestGranule_;
        RereadHeaders();
    }
    if (vorbis_synthesis_init(&decoder_, &decoderInfo_) == 0) {
        vorbis_block_init(&decoder_, &decoderBlock_);
        decoderReady_ = true;
    }
    RecFile::Open();
    return IsOpen();
}

bool OggVorbisFile::BeginWriting() {
    if (encoderActive_)
        return true;
    if (!encoderReady_ || !OggFile::BeginWriting())
        return false;
    encoder_.granulepos = highestGranule_;
    encoder_.sequence = writeState_.packetno;
    return true;
}

void OggVorbisFile::AfterRawWrite() {
    if (!encoderReady_)
        return;
    encoder_.granulepos = highestGranule_;
    encoder_.sequence = writeState_.packetno;
}

bool OggVorbisFile::Drain() {
    bool ok = true;
    while (vorbis_analysis_blockout(&encoder_, &encoderBlock_) == 1) {
        vorbis_analysis(&encoderBlock_, nullptr);
        vorbis_bitrate_addblock(&encoderBlock_);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&encoder_, &packet) == 1)
            if (!WritePacket(packet, true))
                ok = false;
    }
    return ok;
}

uint32_t OggVorbisFile::WriteSamples(const int16_t* pcm, uint32_t bytes) {
    if (!IsOpen() || readOnly_ || !pcm)
        return kSamplesFailed;
    if (!BeginWriting())
        return kSamplesFailed;
    const int channels = format_->nChannels;
    const uint32_t frames = bytes / 2 / static_cast<uint32_t>(channels);
    if (frames == 0)
        return 0;
    float** buffer = vorbis_analysis_buffer(&encoder_, static_cast<int>(frames));
    for (uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            buffer[c][i] = static_cast<float>(pcm[i * channels + c]) / 32768.0f;
    vorbis_analysis_wrote(&encoder_, static_cast<int>(frames));
    modified_ = true;
    // The length counts what the encoder was given: its packets trail by its
    // look-ahead, and segment marks, read-outs and limits must not.
    const int64_t given = highestGranule_ + frames;
    if (!Drain())
        writeFailed_ = true;
    if (highestGranule_ < given)
        highestGranule_ = given;
    currentGranule_ = highestGranule_;
    return writeFailed_ ? kSamplesFailed : frames * static_cast<uint32_t>(channels) * 2;
}

uint32_t OggVorbisFile::ReadSamples(int16_t* pcm, uint32_t bytes) {
    if (!IsOpen() || !pcm || bytes == 0 || !decoderReady_)
        return 0;
    const int channels = decoderInfo_.channels;
    const uint32_t roomFrames = bytes / (2 * static_cast<uint32_t>(channels));
    uint32_t frames = 0;
    for (;;) {
        float** decoded = nullptr;
        int offered;
        while (frames < roomFrames && (offered = vorbis_synthesis_pcmout(&decoder_, &decoded)) > 0) {
            const uint32_t take = std::min<uint32_t>(static_cast<uint32_t>(offered), roomFrames - frames);
            for (uint32_t i = 0; i < take; ++i)
                for (int c = 0; c < channels; ++c) {
                    long value = static_cast<long>(std::floor(decoded[c][i] * 32767.0f + 0.5f));
                    value = value > 32767 ? 32767 : value < -32768 ? -32768 : value;
                    pcm[(frames + i) * channels + c] = static_cast<int16_t>(value);
                }
            vorbis_synthesis_read(&decoder_, static_cast<int>(take));
            frames += take;
        }
        if (frames >= roomFrames)
            break;
        ogg_packet packet;
        if (!ReadPacket(packet))
            break;
        if (vorbis_synthesis(&decoderBlock_, &packet) == 0)
            vorbis_synthesis_blockin(&decoder_, &decoderBlock_);
    }
    return frames * 2 * static_cast<uint32_t>(channels);
}

void OggVorbisFile::RestartDecoder() {
    if (decoderReady_)
        vorbis_synthesis_restart(&decoder_);
}

bool OggVorbisFile::Update() {
    if (!IsOpen())
        return true;
    // What was encoded so far goes on disk, so a stopped recording is whole there.
    const bool flushed = !writeStream_ || Flush();
    return RecFile::Update() && flushed;
}

void OggVorbisFile::ReleaseCodec() {
    if (encoderReady_) {
        vorbis_block_clear(&encoderBlock_);
        vorbis_dsp_clear(&encoder_);
    }
    if (decoderReady_) {
        vorbis_block_clear(&decoderBlock_);
        vorbis_dsp_clear(&decoder_);
    }
    encoderReady_ = decoderReady_ = false;
    vorbis_info_clear(&encoderInfo_);
    vorbis_info_init(&encoderInfo_);
}

bool OggVorbisFile::Close() {
    if (!IsOpen())
        return true;
    bool ok = true;
    if (encoderActive_ && encoderReady_) {
        vorbis_analysis_wrote(&encoder_, 0);
        if (!Drain())
            ok = false;
    }
    const bool wasModified = modified_;
    if (!Update())
        ok = false;
    ReleaseCodec();
    UpdateAnnotationInPlace();
    if (!CloseStreams())
        ok = false;
    encoderActive_ = false;
    readOnly_ = false;
    if (temporary_) {
        if (wasModified)
            return false;  // still needs a name
        DeleteFileA(path_.c_str());
        DiscardJournal();
    }
    return ok && !writeFailed_;
}
