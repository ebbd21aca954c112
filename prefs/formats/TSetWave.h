// The "Wave" preference page (dialog 271): the format of new WAV recordings,
// the sample rate, 8 or 16 bits, mono or stereo, and plain PCM ("No
// compression") or one of the codec formats made from that PCM format. Its
// box makes WAV the default file type of new recordings.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <string>

#include "prefs/formats/AcmFormatPage.h"

class TSetWave : public AcmFormatPage {
public:
    // defaultType: the sheet's shared default file type, or null (no box);
    // convertOnly: list only formats a stream from the PCM format reaches.
    explicit TSetWave(int* defaultType = nullptr, bool convertOnly = true);

    // Section "Wave" of the INI file when ini is non-empty, else values
    // under the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The format of a missing or unusable "WaveFormat": PCM, mono, 8000
    // samples per second, 8 bits.
    static WAVEFORMATEX DefaultFormat();

    void SetupWindow() override;
    // The sample rate must lie from 1 to 1000000.
    int Apply() override;
    bool Dispatch(Message& m) override;
    void UpdateByteRate() override;

private:
    WORD PcmBits() const override { return bits16_.IsChecked() ? 16 : 8; }
    DWORD MaxSampleRate() const override { return 1000000; }
    void BeginList() override;
    void Place(const std::string& text, int slot) override;
    void ListSuggested() override;
    // Box ticked: WAV (0); cleared: MP3 (1).
    int DefaultChoiceFor(bool checked) const override { return checked ? 0 : 1; }
    bool DefaultChecked(int choice) const override { return choice == 0; }

    TRadioButton bits8_, bits16_;
    static const MsgEntry<TSetWave> kMessages[];
};
