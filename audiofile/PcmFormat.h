// The one place a PCM format record is built: block align and byte rate are
// always derived from channels, rate and sample size, never typed by hand.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// Tag 1, no extra bytes; nBlockAlign = channels x whole bytes per sample
// (bits rounded up to bytes), nAvgBytesPerSec = nBlockAlign x rate.
WAVEFORMATEX PcmFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample);
