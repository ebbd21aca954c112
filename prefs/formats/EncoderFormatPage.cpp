#include "prefs/formats/EncoderFormatPage.h"

#include <cstdio>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "prefs/PageText.h"
#include "resources/ResourceIds.h"

const MsgEntry<EncoderFormatPage> EncoderFormatPage::kMessages[] = {
    OnMessage(WM_COMMAND, &EncoderFormatPage::EvCommand),
    OnMessage(WM_DEFERREDUPDATEFORMATS, &EncoderFormatPage::EvRefresh),
    OnHScroll(&EncoderFormatPage::EvHScroll),
};

EncoderFormatPage::EncoderFormatPage(const EncoderPageParams& params, int* defaultType)
    : TPropertyPage(params.dialog),
      params_(params),
      defaultType_(defaultType),
      mono_(this, params.mono),
      stereo_(this, params.stereo),
      rate_(this, params.rate),
      quality_(this, params.track),
      qualityText_(this, params.qualityText),
      readout_(this, params.readout),
      defaultBox_(this, params.defaultBox) {}

bool EncoderFormatPage::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TPropertyPage::Dispatch(m);
}

std::string EncoderFormatPage::RateText(long bitsPerSecond) {
    char text[80];
    const float mbPerMinute = static_cast<float>(bitsPerSecond) / 8.0f * 60.0f / 1048576.0f;
    std::snprintf(text, sizeof text, "%.3f MB/min    %ld kbit/sec", static_cast<double>(mbPerMinute),
                  (bitsPerSecond + 499) / 1000);
    return text;
}

void EncoderFormatPage::SetupWindow() {
    TPropertyPage::SetupWindow();
    for (size_t i = 0; i < params_.rateCount; ++i) rate_.AddString(params_.rates[i]);
    rate_.SetText(std::to_string(AppState.*params_.storage.sampleRate.field));
    (AppState.*params_.storage.stereo.field ? stereo_ : mono_).Check();
    if (!defaultType_) defaultBox_.Show(SW_HIDE);
    defaultBox_.SetCheck(AppState.DefaultAudioFormat == params_.fileType ? BST_CHECKED : BST_UNCHECKED);
    quality_.SetRange(0, params_.lastPosition);
    quality_.SetTicFreq(1);
    quality_.SetPosition(AppState.*params_.storage.quality.field + params_.qualityOffset);
    ShowQuality(quality_.GetPosition());
    Refresh();
}

int EncoderFormatPage::SetActive() {
    // Another format page may have changed the shared choice.
    if (defaultType_)
        defaultBox_.SetCheck(*defaultType_ == params_.fileType ? BST_CHECKED : BST_UNCHECKED);
    return 0;
}

void EncoderFormatPage::ReadControls() {
    channels_ = stereo_.IsChecked() ? 2 : 1;
    qualityValue_ = quality_.GetPosition() - params_.qualityOffset;
    sampleRate_ = ReadDecimal(rate_.GetText().substr(0, 9));
    // An encoder asked about a rate it cannot take answers 0.
    bitRate_ = sampleRate_ >= 1 && sampleRate_ <= kMaxSampleRate
                   ? params_.bitRate(qualityValue_, sampleRate_, channels_)
                   : 0;
}

void EncoderFormatPage::Refresh() {
    ReadControls();
    readout_.SetText(RateText(bitRate_));
}

void EncoderFormatPage::ShowQuality(int position) {
    qualityText_.SetText(std::to_string(position - params_.qualityOffset));
}

void EncoderFormatPage::EvHScroll(UINT code, int position, HWND control) {
    if (control != quality_.GetHandle()) return;
    // While the thumb is dragged only the number follows it.
    if (code == SB_THUMBTRACK) {
        ShowQuality(position);
        return;
    }
    ShowQuality(quality_.GetPosition());
    Refresh();
}

bool EncoderFormatPage::EvCommand(Message& m) {
    const int id = LOWORD(m.wParam);
    const UINT code = HIWORD(m.wParam);
    if (code == BN_CLICKED && (id == params_.mono || id == params_.stereo)) {
        Refresh();
        return true;
    }
    if (id == params_.rate && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
        // The combo holds its new text only after this notification.
        PostMessage(WM_DEFERREDUPDATEFORMATS);
        return true;
    }
    if (code == BN_CLICKED && id == params_.defaultBox) {
        if (defaultType_) *defaultType_ = defaultBox_.IsChecked() ? params_.fileType : 0;
        return true;
    }
    return false;
}

LRESULT EncoderFormatPage::EvRefresh(WPARAM, LPARAM) {
    Refresh();
    return 0;
}

bool EncoderFormatPage::CanClose() {
    ReadControls();
    // A rate the encoder refuses gives no bit rate: storing it would make
    // every recording in this format fail.
    if (bitRate_ <= 0) {
        Error(IDS_RATEOUTOFBOUNDS, MB_ICONHAND);
        return false;
    }
    return TPropertyPage::CanClose();
}

int EncoderFormatPage::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    const EncoderPage& keys = params_.storage;
    AppState.*keys.sampleRate.field = static_cast<int>(sampleRate_);
    if (defaultType_) AppState.DefaultAudioFormat = *defaultType_;
    AppState.*keys.stereo.field = channels_ == 2 ? 1 : 0;
    AppState.*keys.quality.field = qualityValue_;
    AppState.*keys.byteRate.field = static_cast<int>(bitRate_ / 8);
    return checked;
}
