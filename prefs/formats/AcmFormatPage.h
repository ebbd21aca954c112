// The common part of the Wave and MP3 pages: a sample rate, channels and a
// list of the codec formats that the installed codecs make from that PCM
// format, found by enumerating every codec format through the ACM service.
//
// The formats themselves live in a table of 50 slots of the largest format
// size the codec manager reports; slot 0 is never used, so a list entry's
// item data is its slot and 0 means "no codec format" (plain PCM, or the MP3
// page's placeholder). A slot is free while its format tag is 0.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "core/ContextHelpWin.h"
#include "core/SMsg.h"
#include "framework/Control.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"

// The ids of the controls both pages have.
struct AcmPageIds {
    int dialog;
    int defaultBox;  // "Use ... as default audio recording format"
    int mono, stereo;
    int rate;        // combo with edit
    int readout;     // the data rate
    int formatLabel;
    int formats;     // the codec formats
};

class AcmFormatPage : public TPropertyPage, public SMsg, public ContextHelpWin {
public:
    static constexpr int kSlots = 50;       // slot 0 unused, 1..49 hold formats
    static constexpr int kNoFreeSlot = kSlots;

    // Splits a list entry at its first two blanks in a row into the format-tag
    // name and the format name; without them the whole text is the tag name
    // and the format name is empty. "No compression" (any case) is PCM: both
    // empty.
    static void SplitEntry(const std::string& text, char (&tagName)[kTextFieldSize],
                           char (&formatName)[kTextFieldSize]);

    // The format enumeration's callback: the instance value is the page.
    // Always goes on with the enumeration.
    static bool FormatEnumCallback(HACMDRIVERID driverId, const ACMFORMATDETAILSA& details,
                                   DWORD support, AcmFormatPage* page);

    HWND MsgOwner() const override { return GetHandle(); }
    bool CanClose() override;
    int SetActive() override;
    bool Dispatch(Message& m) override;

    // Rebuilds the format list for the PCM format the controls show.
    void UpdateFormats();
    // The rate combo's text settles after its notification: the list is
    // rebuilt from a posted message (never by pumping messages here, which
    // could run this handler again inside itself).
    void CbnRateChange();
    virtual void UpdateByteRate() = 0;

    // Read-only views for tests and the pages.
    int SlotSize() const { return slotSize_; }
    const WAVEFORMATEX* SlotFormat(int slot) const;
    // The bytes of the slot's format (18 + extra), never more than the slot.
    size_t SlotRecordBytes(int slot) const;

protected:
    // defaultType: the sheet's shared choice of the default file type (may
    // be null); convertOnly: list only formats a stream from the PCM format
    // can be opened to.
    AcmFormatPage(const AcmPageIds& ids, const HelpPair* help, int* defaultType, bool convertOnly);
    ~AcmFormatPage() override;

    // Set-up shared by both pages: the rate list and text, the channels, the
    // codec switch. Then the page's own, then UpdateFormats.
    void SetupCommon(const char* const* rates, size_t rateCount, int sampleRate, bool stereo);

    // --- what the pages do differently ---
    virtual WORD PcmBits() const = 0;
    virtual DWORD MaxSampleRate() const = 0;
    // Called with the list emptied; the Wave page adds "No compression".
    virtual void BeginList() = 0;
    // Before the enumeration; the MP3 page adds its placeholder.
    virtual void BeforeEnumeration() {}
    // The page's own test of an enumerated format (after the common ones).
    virtual bool Accepts(const WAVEFORMATEX&) const { return true; }
    // Adds text for the format in the scratch buffer, which may take slot.
    virtual void Place(const std::string& text, int slot) = 0;
    // The fixed suggestions used instead of the enumeration (/S).
    virtual void ListSuggested() = 0;
    virtual int DefaultChoiceFor(bool checked) const = 0;
    virtual bool DefaultChecked(int choice) const = 0;

    // --- helpers for the pages ---
    int FirstFreeSlot() const;
    // Adds the entry with slot as item data; a slot from 1 to 49 receives
    // the scratch format. The entry's index.
    int AddEntry(const std::string& text, int slot);
    // Asks the codec manager for a format of tag from the PCM source and
    // stores it in the first free slot; the slot, or 0 when none came.
    int SuggestFormat(WORD tag, std::string& tagName);
    // The selected entry's slot; 0 when nothing or no codec format is chosen.
    int SelectedSlot() const;
    // The first n bytes of slot and format are equal (n bounded by the slot).
    bool SlotEquals(int slot, const WAVEFORMATEX* format, size_t n) const;
    DWORD RateFromText(size_t maxChars) const;
    void ShowMbPerMinute(DWORD bytesPerSecond);
    // Stores the chosen slot's format and names into the given fields; false
    // when no codec format is chosen (the caller stores its fallback).
    bool StoreChosen(FormatBuffer& format, int formatSize, char (&tagName)[kTextFieldSize],
                     char (&formatName)[kTextFieldSize]);
    void ClearTable();
    void BnDefaultFormat();
    void PostSelChange();

    const WAVEFORMATEX& PcmSource() const { return pcmSource_; }
    const WAVEFORMATEX* Scratch() const { return reinterpret_cast<const WAVEFORMATEX*>(scratch_.data()); }

    AcmPageIds ids_;
    int* defaultType_;
    bool convertOnly_;
    TCheckBox defaultBox_;
    TRadioButton mono_, stereo_;
    TComboBox rate_;
    TStatic readout_;
    TStatic formatLabel_;
    TComboBox formats_;

    // The PCM format of the controls, into the PCM source and the template.
    void UpdatePcmSource();

private:
    // What one listing learns of a driver. Asking a codec driver anything
    // opens it, which takes milliseconds (a codec that offers hundreds of
    // formats took seconds when it was opened for each). So each driver is
    // opened once per listing, its details and each tag's name are kept once
    // given, and it is closed when the listing ends. A question that failed
    // is asked again for the next format.
    struct ListingDriver {
        HACMDRIVER handle = nullptr;  // null when it would not open
        bool described = false;
        std::map<WORD, std::string> tagNames;
    };
    ListingDriver& DriverOfListing(HACMDRIVERID driverId);
    void EndListing();

    void Enumerate(DWORD bufferBytes);
    void OfferFormat(HACMDRIVERID driverId, const ACMFORMATDETAILSA& details, DWORD support);
    LRESULT EvDeferredSelChange(WPARAM, LPARAM);
    LRESULT EvDeferredUpdateFormats(WPARAM, LPARAM);
    BYTE* Slot(int slot) { return table_.data() + size_t(slot) * size_t(slotSize_); }
    const BYTE* Slot(int slot) const { return table_.data() + size_t(slot) * size_t(slotSize_); }

    static const MsgEntry<AcmFormatPage> kMessages[];

    std::map<HACMDRIVERID, ListingDriver> listing_;
    // The drivers whose formats this listing has offered.
    std::set<HACMDRIVERID> offeredBy_;

    int slotSize_;
    std::vector<BYTE> template_;  // the PCM format, the enumeration's filter
    std::vector<BYTE> scratch_;   // the format being looked at
    std::vector<BYTE> table_;     // kSlots slots of slotSize_ bytes
    WAVEFORMATEX pcmSource_{};
};
