// Proves the cross-built codec libraries and Wine's codec manager work:
// each test pushes a short sine through a real encoder and decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <ogg/ogg.h>
#include <speex/speex.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> Sine(int rate, double hz, int frames, float amplitude = 0.5f) {
    std::vector<float> out(frames);
    for (int i = 0; i < frames; ++i) out[i] = amplitude * float(std::sin(2 * kPi * hz * i / rate));
    return out;
}

// Frequency estimate from rising zero crossings; enough to tell a tone survived.
double EstimateHz(const std::vector<float>& x, int rate) {
    int crossings = 0;
    for (size_t i = 1; i < x.size(); ++i)
        if (x[i - 1] < 0 && x[i] >= 0) ++crossings;
    return crossings * double(rate) / double(x.size());
}

double Rms(const std::vector<float>& x) {
    double sum = 0;
    for (float v : x) sum += double(v) * v;
    return x.empty() ? 0 : std::sqrt(sum / double(x.size()));
}

struct OggBytes {
    std::vector<unsigned char> data;
    void Append(const ogg_page& page) {
        data.insert(data.end(), page.header, page.header + page.header_len);
        data.insert(data.end(), page.body, page.body + page.body_len);
    }
};

OggBytes EncodeVorbis(const std::vector<float>& pcm, int rate) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    EXPECT_EQ(0, vorbis_encode_init_vbr(&vi, 1, rate, 0.4f));
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet h0, h1, h2;
    vorbis_analysis_headerout(&vd, &vc, &h0, &h1, &h2);
    ogg_stream_packetin(&os, &h0);
    ogg_stream_packetin(&os, &h1);
    ogg_stream_packetin(&os, &h2);
    OggBytes out;
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) out.Append(page);

    auto feed = [&](long frames) {
        if (frames > 0) {
            float** buf = vorbis_analysis_buffer(&vd, int(frames));
            std::memcpy(buf[0], pcm.data(), sizeof(float) * size_t(frames));
        }
        vorbis_analysis_wrote(&vd, int(frames));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &page)) out.Append(page);
            }
        }
    };
    feed(long(pcm.size()));
    feed(0);  // end of stream
    while (ogg_stream_flush(&os, &page)) out.Append(page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::vector<float> DecodeVorbis(const OggBytes& in) {
    ogg_sync_state oy;
    ogg_sync_init(&oy);
    char* buf = ogg_sync_buffer(&oy, long(in.data.size()));
    std::memcpy(buf, in.data.data(), in.data.size());
    ogg_sync_wrote(&oy, long(in.data.size()));

    vorbis_info vi;
    vorbis_info_init(&vi);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    ogg_stream_state os{};
    vorbis_dsp_state vd{};
    vorbis_block vb{};
    std::vector<float> out;
    int packets = 0;
    bool streamReady = false;
    ogg_page page;
    while (ogg_sync_pageout(&oy, &page) == 1) {
        if (!streamReady) {
            ogg_stream_init(&os, ogg_page_serialno(&page));
            streamReady = true;
        }
        ogg_stream_pagein(&os, &page);
        ogg_packet op;
        while (ogg_stream_packetout(&os, &op) == 1) {
            if (packets < 3) {
                EXPECT_EQ(0, vorbis_synthesis_headerin(&vi, &vc, &op));
                if (++packets == 3) {
                    vorbis_synthesis_init(&vd, &vi);
                    vorbis_block_init(&vd, &vb);
                }
                continue;
            }
            if (vorbis_synthesis(&vb, &op) == 0) vorbis_synthesis_blockin(&vd, &vb);
            float** pcm;
            int frames;
            while ((frames = vorbis_synthesis_pcmout(&vd, &pcm)) > 0) {
                out.insert(out.end(), pcm[0], pcm[0] + frames);
                vorbis_synthesis_read(&vd, frames);
            }
        }
    }
    if (packets == 3) {
        vorbis_block_clear(&vb);
        vorbis_dsp_clear(&vd);
    }
    if (streamReady) ogg_stream_clear(&os);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    ogg_sync_clear(&oy);
    return out;
}

}  // namespace

TEST(CodecSmoke, VorbisRoundTripKeepsTheTone) {
    std::printf("libvorbis: %s\n", vorbis_version_string());
    const int rate = 44100;
    auto pcm = Sine(rate, 1000, rate);
    OggBytes ogg = EncodeVorbis(pcm, rate);
    ASSERT_GT(ogg.data.size(), 1000u);
    auto decoded = DecodeVorbis(ogg);
    ASSERT_NEAR(double(decoded.size()), double(pcm.size()), 2048);
    EXPECT_NEAR(EstimateHz(decoded, rate), 1000, 20);
    EXPECT_NEAR(Rms(decoded), Rms(pcm), 0.05);
}

TEST(CodecSmoke, SpeexNarrowBandRoundTripKeepsTheTone) {
    const char* version = nullptr;
    speex_lib_ctl(SPEEX_LIB_GET_VERSION_STRING, &version);
    std::printf("libspeex: %s\n", version ? version : "?");
    const int rate = 8000;
    void* enc = speex_encoder_init(&speex_nb_mode);
    void* dec = speex_decoder_init(&speex_nb_mode);
    int frameSize = 0, quality = 8;
    speex_encoder_ctl(enc, SPEEX_GET_FRAME_SIZE, &frameSize);
    speex_encoder_ctl(enc, SPEEX_SET_QUALITY, &quality);
    ASSERT_EQ(160, frameSize);

    auto pcm = Sine(rate, 500, rate, 0.3f);
    SpeexBits bits;
    speex_bits_init(&bits);
    std::vector<float> decoded;
    std::vector<float> in(frameSize), out(frameSize);
    char packet[200];
    for (size_t pos = 0; pos + frameSize <= pcm.size(); pos += frameSize) {
        for (int i = 0; i < frameSize; ++i) in[i] = pcm[pos + i] * 32767.0f;
        speex_bits_reset(&bits);
        speex_encode(enc, in.data(), &bits);
        int bytes = speex_bits_write(&bits, packet, sizeof packet);
        ASSERT_GT(bytes, 0);
        speex_bits_read_from(&bits, packet, bytes);
        ASSERT_EQ(0, speex_decode(dec, &bits, out.data()));
        for (float v : out) decoded.push_back(v / 32767.0f);
    }
    speex_bits_destroy(&bits);
    speex_encoder_destroy(enc);
    speex_decoder_destroy(dec);

    std::vector<float> steady(decoded.begin() + 1600, decoded.end());
    EXPECT_NEAR(EstimateHz(steady, rate), 500, 15);
    EXPECT_GT(Rms(steady), 0.1);
}
