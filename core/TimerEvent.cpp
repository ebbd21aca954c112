#include "core/TimerEvent.h"

#include <utility>

EventList PageEvents;

void TimerEvent::Normalize(TimerEvent& event) {
    if (!event.HasStop()) return;
    event.stopDays = event.days;
    // Equal minutes are not rotated: such an event stops on its own day.
    if (event.HasStart() && event.StopMinuteOfDay() < event.StartMinuteOfDay()) {
        event.stopDays <<= 1;
        const int pastSaturday = kDaySaturday << 1;
        if (event.stopDays & pastSaturday) {
            event.stopDays = (event.stopDays & ~pastSaturday) | kDaySunday;
        }
    }
}

TimerEvent* EventList::Get(int i) {
    return InRange(i) ? &events_[static_cast<size_t>(i)] : nullptr;
}

const TimerEvent* EventList::Get(int i) const {
    return InRange(i) ? &events_[static_cast<size_t>(i)] : nullptr;
}

void EventList::Set(int i, const TimerEvent& event) {
    if (InRange(i)) events_[static_cast<size_t>(i)] = event;
}

void EventList::Add(const TimerEvent* event) {
    if (!event) return;
    // Copy first: event may point into events_, which push_back may move.
    TimerEvent copy = *event;
    events_.push_back(std::move(copy));
}

void EventList::Erase(int i) {
    if (InRange(i)) events_.erase(events_.begin() + i);
}
