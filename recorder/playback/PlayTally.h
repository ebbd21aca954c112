// What became of the buffers one playback handed to the output device,
// counted as the capture tally counts the input's: every buffer handed over
// comes back played, is cut short by a stop before the end (still with the
// device when it was reset), or is lost: the device refused it, or never
// gave it back although it gave back one handed over after it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "recorder/capture/CaptureBuffers.h"

struct PlayTally {
    uint32_t handed = 0;
    uint32_t played = 0;
    uint32_t stopped = 0;
    uint32_t lost = 0;
};

class PlayBufferTally {
public:
    // A playback starts: nothing is with the device.
    void Begin();
    // The ring buffer in slot was handed over (accepted) or refused.
    void Handed(int slot, bool accepted);
    // The device gave the buffer in slot back.
    void Returned(int slot);
    // The playback ends before the device is reset; done tells which ring
    // buffers the device has marked done meanwhile (their notices not yet
    // handled). Every buffer still counted as with the device is settled.
    void End(const std::array<bool, kRingSlots>& done);
    const PlayTally& Tally() const { return tally_; }

private:
    PlayTally tally_;
    std::array<uint32_t, kRingSlots> handedAs_{};  // order handed over; 0: not with the device
    uint32_t handOrder_ = 0;
    uint32_t newestReturned_ = 0;
};

// The log line for a playback's tally.
std::string PlayTallyText(const PlayTally& tally);
