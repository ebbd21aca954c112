// The "Mp3" preference page (dialog 3700): the format of new MP3 recordings,
// encoded through a codec's MPEG Layer-3 format: the sample rate, mono or
// stereo and one MPEG Layer-3 format; the ID3v2 tag switch and the box that
// makes MP3 the default file type.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <string>

#include "prefs/formats/AcmFormatPage.h"

class TSetMp3 : public AcmFormatPage {
public:
    explicit TSetMp3(int* defaultType = nullptr, bool convertOnly = true);

    // Section "Mp3" of the INI file when ini is non-empty, else values under
    // the settings key. Missing values take their defaults.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The format of a missing or unusable "Mp3Format": MPEG Layer-3, mono,
    // 16000 samples per second, 32 kbit/s.
    static MPEGLAYER3WAVEFORMAT DefaultFormat();
    // What is stored when no codec format is chosen (18 bytes): MPEG
    // Layer-3, mono, 16000 samples per second, 8000 bytes per second.
    static WAVEFORMATEX FallbackFormat();
    // The bit rates (kbit/s) a listed format may have.
    static bool IsListedBitRate(DWORD kbitPerSecond);

    void SetupWindow() override;
    // The sample rate must lie from 1 to 100000.
    int Apply() override;
    bool Dispatch(Message& m) override;
    void UpdateByteRate() override;

    static constexpr char kPlaceholder[] = "WARNING: Current sample rate not supported by codec";

private:
    WORD PcmBits() const override { return 16; }
    DWORD MaxSampleRate() const override { return 100000; }
    void BeginList() override;
    void BeforeEnumeration() override;
    bool Accepts(const WAVEFORMATEX& format) const override;
    void Place(const std::string& text, int slot) override;
    void ListSuggested() override;
    int DefaultChoiceFor(bool checked) const override { return checked ? 1 : 0; }
    bool DefaultChecked(int choice) const override { return choice == 1; }

    TCheckBox tags_;
    static const MsgEntry<TSetMp3> kMessages[];
};
