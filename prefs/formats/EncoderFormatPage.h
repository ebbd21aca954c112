// The common part of the Vorbis and Speex pages: mono or stereo, a sample
// rate, a quality on a track bar, the data rate these give, and the box that
// makes the page's file type the default. The pages differ only in the
// parameters below.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "core/SMsg.h"
#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"
#include "prefs/formats/EncoderStorage.h"

struct EncoderPageParams {
    int dialog;
    int mono, stereo, rate, track, qualityText, readout, defaultBox;
    const char* const* rates;
    size_t rateCount;
    int qualityOffset;   // track-bar position = quality + offset
    int lastPosition;    // the track bar runs from 0 to this
    int fileType;        // the default-format code of the page's files
    long (*bitRate)(int quality, long samplesPerSec, int channels);  // bits per second
    const EncoderPage& storage;  // keys and fields of the settings record
};

class EncoderFormatPage : public TPropertyPage, public SMsg, public ContextHelpWin {
public:
    // "%.3f MB/min    %ld kbit/sec" for a bit rate in bits per second.
    static std::string RateText(long bitsPerSecond);
    static constexpr long kMaxSampleRate = 100000;

    HWND MsgOwner() const override { return GetHandle(); }
    void SetupWindow() override;
    int SetActive() override;
    // A sample rate from 1 to 100000 that the encoder can take.
    bool CanClose() override;
    int Apply() override;
    bool Dispatch(Message& m) override;

    void Refresh();

protected:
    // defaultType: the sheet's shared default file type (may be null).
    EncoderFormatPage(const EncoderPageParams& params, int* defaultType);

private:
    void ReadControls();
    void ShowQuality(int position);
    void EvHScroll(UINT code, int position, HWND control);
    bool EvCommand(Message& m);
    LRESULT EvRefresh(WPARAM, LPARAM);

    const EncoderPageParams& params_;
    int* defaultType_;
    TRadioButton mono_, stereo_;
    TComboBox rate_;
    TSlider quality_;
    TStatic qualityText_, readout_;
    TCheckBox defaultBox_;
    int channels_ = 1;
    int qualityValue_ = 0;
    long sampleRate_ = 0;
    long bitRate_ = 0;
    static const MsgEntry<EncoderFormatPage> kMessages[];
};
