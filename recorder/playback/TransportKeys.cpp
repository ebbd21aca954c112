#include "recorder/playback/TransportKeys.h"

RepositionStep StepForKeys(bool shift, bool ctrl, int lhMode)
{
    const bool swapped = (lhMode & 2) != 0;
    if (shift && ctrl)
        return RepositionStep::Comment;
    if (shift)
        return RepositionStep::Second;
    if (ctrl)
        return swapped ? RepositionStep::Minute : RepositionStep::Segment;
    return swapped ? RepositionStep::Segment : RepositionStep::Minute;
}

const char* MoveMenuText(RepositionStep step, bool forward, int lhMode)
{
    const bool plainKey = StepForKeys(false, false, lhMode) == step;
    if (step == RepositionStep::Minute) {
        if (forward)
            return plainKey ? "&Forward 1 minute\tRight-cursor" : "&Forward 1 minute\tCtrl+Right-cursor";
        return plainKey ? "&Back 1 minute\tLeft-cursor" : "&Back 1 minute\tCtrl+Left-cursor";
    }
    if (forward)
        return plainKey ? "Forward 1 segment\tRight-cursor" : "Forward 1 segment\tCtrl+Right-cursor";
    return plainKey ? "Back 1 segment\tLeft-cursor" : "Back 1 segment\tCtrl+Left-cursor";
}

bool KeyHeld(short keyState)
{
    return (static_cast<unsigned short>(keyState) & 0xFFF0u) != 0;
}

JoyAction JoyButtonAction(int setting, bool pressed)
{
    if (setting < 1 || setting > 8)
        return JoyAction::None;
    // A normally closed button acts on release as a normally open one on press.
    const bool closed = setting > 4;
    const bool acting = closed ? !pressed : pressed;
    switch ((setting - 1) % 4) {
    case 0: return acting ? JoyAction::Record : JoyAction::Stop;
    case 1: return acting ? JoyAction::Play : JoyAction::Stop;
    case 2: return acting ? JoyAction::Back3Seconds : JoyAction::None;
    default: return acting ? JoyAction::Forward3Seconds : JoyAction::None;
    }
}
