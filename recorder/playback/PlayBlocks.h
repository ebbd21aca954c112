// The sizes and order of the playback blocks: how much of the file one
// buffer plays, the speed steps, and in which ring order decoded blocks of
// a compressed file go to the device and are read again.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>

#include "recorder/capture/CaptureBuffers.h"

// A block larger than a ring buffer is cut to this at speed.
constexpr uint32_t kLargestPlayBlock = 449900;
constexpr float kSlowestRate = 0.2f;
constexpr float kFastestRate = 2.0f;
// Playback starts from the beginning when the position is this near the end.
constexpr uint32_t kNearEndBytes = 300;

// The bytes of a file in `format` one playback buffer reads at `position`
// of `length`: a fifth of a second (times the speed factor at speed, cut to
// kLargestPlayBlock above a ring block), whole sample blocks (one at
// least), no more than is left.
uint32_t PlayBlockBytes(const WAVEFORMATEX& format, bool atSpeed, float rate, uint32_t position,
                        uint32_t length);
// The bytes of 16-bit PCM one buffer of a file that decodes by itself (Ogg
// Vorbis, Speex) asks for: a fifth of a second, whatever the speed.
uint32_t DecodedPlayBlockBytes(const WAVEFORMATEX& format);

// One speed step up or down, kept within 0.2 .. 2.0.
float SpeedStepUp(float rate);
float SpeedStepDown(float rate);

// The ring slots whose decoded blocks go to the device, in order: from the
// slot after `queued`, each whose conversion is done (decoded and not yet
// queued: the window clears the mark as it queues one) and whose playback
// header is free, up to and including `decoded`. Returns the count.
int QueueOrder(int queued, int decoded, const std::array<bool, kRingSlots>& converted,
               const std::array<bool, kRingSlots>& headerFree, std::array<int, kRingSlots>& slots);
// The conversion records to read and decode again: from the slot after
// `decoded` up to (not including) `done`, the slot returned last.
int RefillOrder(int decoded, int done, std::array<int, kRingSlots>& slots);
