#include "core/TimerEvent.h"

#include <gtest/gtest.h>

#include "tests/prefs/EventBuilder.h"

namespace {

TEST(TimerEventTest, NormalizeDerivesTheStopDays) {
    struct Case {
        const char* what;
        TimerEvent event;
        int stopDaysBefore;
        int expected;
    };
    const Case cases[] = {
        {"weekdays overnight move to Tue..Sat", Event(62, 22, 0, 2, 0), 0, 124},
        {"weekend overnight: Saturday's stop wraps to Sunday", Event(65, 23, 30, 0, 15), 0, 3},
        {"every day overnight stays every day", Event(127, 23, 30, 0, 15), 0, 127},
        {"Friday overnight stops on Saturday", Event(32, 23, 0, 1, 0), 0, 64},
        {"equal start and stop are not rotated", Event(62, 10, 0, 10, 0), 0, 62},
        {"same-day stop", Event(62, 8, 0, 17, 30), 0, 62},
        {"start without stop leaves stopDays", Event(62, 8, 0, -1, 0), 99, 99},
        {"stop without start equals days", Event(65, -1, 0, 18, 0), 99, 65},
        {"no days", Event(0, 22, 0, 2, 0), 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TimerEvent e = c.event;
        e.stopDays = c.stopDaysBefore;
        TimerEvent::Normalize(e);
        EXPECT_EQ(c.expected, e.stopDays);
    }
}

EventList ListOfNames(std::initializer_list<const char*> names) {
    EventList list;
    for (const char* name : names) {
        TimerEvent e;
        e.name = name;
        list.Add(&e);
    }
    return list;
}

std::string NamesOf(const EventList& list) {
    std::string names;
    for (int i = 0; i < list.Count(); ++i) names += list.Get(i)->name;
    return names;
}

TEST(EventListTest, OutOfRangePositionsChangeNothing) {
    EventList list = ListOfNames({"a", "b", "c"});
    const EventList& constList = list;
    EXPECT_EQ(nullptr, list.Get(-1));
    EXPECT_EQ(nullptr, list.Get(3));
    EXPECT_EQ(nullptr, constList.Get(3));
    TimerEvent x;
    x.name = "x";
    list.Set(3, x);
    list.Set(-1, x);
    list.Erase(3);
    list.Erase(-1);
    list.Add(nullptr);
    EXPECT_EQ("abc", NamesOf(list));

    list.Set(1, x);
    list.Erase(0);
    EXPECT_EQ("xc", NamesOf(list));
    list.Clear();
    EXPECT_EQ(0, list.Count());
}

TEST(EventListTest, AddingAnOwnElementAppendsACopyEvenWhenTheListGrows) {
    for (int size = 1; size <= 9; ++size) {
        SCOPED_TRACE(size);
        EventList list;
        for (int i = 0; i < size; ++i) {
            TimerEvent e = Event(i, i, i, i, i);
            e.name = std::string(40, static_cast<char>('a' + i));  // beyond the short-string buffer
            list.Add(&e);
        }
        list.Add(list.Get(0));
        ASSERT_EQ(size + 1, list.Count());
        EXPECT_EQ(std::string(40, 'a'), list.Get(size)->name);
        EXPECT_EQ(0, list.Get(size)->days);
        EXPECT_EQ(std::string(40, 'a'), list.Get(0)->name);
    }
}

}  // namespace
