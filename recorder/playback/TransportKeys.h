// What the Back and Forward buttons step by, chosen from the keys held,
// and what each joystick button does on press and release.
#pragma once

#include <cstdint>

// The step of a reposition.
enum class RepositionStep : int { Minute = 0, Second = 1, Segment = 2, Comment = 3 };

// Shift: second; Ctrl: segment; both: comment; none: minute. With bit 1 of
// the File page's mode word the plain and Ctrl steps change places.
RepositionStep StepForKeys(bool shift, bool ctrl, int lhMode);

// The menu text of the minute and segment moves, with the key that makes
// each: Left/Right alone or with Ctrl, as StepForKeys chooses (the keys go
// through the same step choice as the buttons).
const char* MoveMenuText(RepositionStep step, bool forward, int lhMode);

// A key counts as held when any of the bits 0xFFF0 of its state
// (GetKeyState's answer) is set.
bool KeyHeld(short keyState);

enum class JoyAction { None, Record, Play, Stop, Back3Seconds, Forward3Seconds };

// The action of a button set to `setting` (0 none, 1-4 normally open:
// record, play, rewind, fast-forward; 5-8 the same normally closed) when it
// is pressed or released. Values outside 1-8 do nothing.
JoyAction JoyButtonAction(int setting, bool pressed);

// The change and state bits of joystick button 1..4 in MM_JOY1BUTTON*'s wParam.
constexpr uint32_t JoyChangeBit(int button) { return 0x100u << (button - 1); }
constexpr uint32_t JoyStateBit(int button) { return 1u << (button - 1); }
