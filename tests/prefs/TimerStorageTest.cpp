// Round trips of the schedule through a throw-away registry key and INI file
// of the test's Wine prefix.
#include "prefs/timer/TSetTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AppState.h"
#include "schedule/TimerEventText.h"
#include "tests/fakes/ScratchSettings.h"
#include "tests/prefs/EventBuilder.h"

namespace {

// Every stored field of each event, with stopDays, one line per event.
std::string Describe(const EventList& events) {
    std::string text;
    for (int i = 0; i < events.Count(); ++i) {
        const TimerEvent& e = *events.Get(i);
        text += FormatEventText(e) + " /" + std::to_string(e.stopDays) + " " + e.name + "\n";
    }
    return text;
}

void SetEvents(std::initializer_list<TimerEvent> events) {
    AppState.Events.Clear();
    for (const TimerEvent& e : events) AppState.Events.Add(&e);
}

class TimerStorageTest : public testing::Test {
protected:
    void SetUp() override { AppState.Reset(); }
    void TearDown() override { AppState.Reset(); }

    // A text value, "<missing>" when absent or not a text.
    std::string RegText(const char* name) const {
        DWORD type = 0;
        std::string bytes;
        if (!scratch_.Raw(name, type, bytes) || type != REG_SZ) return "<missing>";
        return bytes.c_str();
    }
    // A REG_BINARY value as its bytes, lowest first.
    std::vector<int> RegBytes(const char* name) const {
        DWORD type = 0;
        std::string bytes;
        if (!scratch_.Raw(name, type, bytes) || type != REG_BINARY) return {-1};
        return std::vector<int>(bytes.begin(), bytes.end());
    }
    void SetRegBytes(const char* name, std::vector<BYTE> bytes) const {
        scratch_.SetBytes(name, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    void SetIni(const char* name, const char* text) const { ini_.Write("Timer", name, text); }
    std::string IniText(const char* name) const { return ini_.Read("Timer", name); }

    ScratchKey scratch_;
    ScratchIni ini_;
    HKEY key_ = scratch_.get();
};

const std::initializer_list<TimerEvent> kFiveEvents = {
    Event(kEveryDay, 7, 0, 8, 30, true, "morning"), Event(kWeekdays, 22, 0, 2, 0, false, "night"),
    Event(kWeekend, 12, 5, 13, 0, true, "lunch"),   Event(1 << 3, 18, 45, 19, 15, false, "wed"),
    Event(kWeekdays, -1, 0, 17, 0, true, "stop only")};

TEST_F(TimerStorageTest, RegistryRoundTripKeepsFiveEventsInOrder) {
    SetEvents(kFiveEvents);
    AppState.TimerEnable = true;
    const std::string saved = Describe(AppState.Events);
    TSetTimer::Save(key_, "");

    EXPECT_EQ("7:00", RegText("TimeStartEC"));
    EXPECT_EQ("2:00", RegText("TimeStop2EC"));
    EXPECT_EQ("lunch", RegText("TimeNewFilePrefix3"));
    EXPECT_EQ(std::vector<int>{65}, RegBytes("TimeDay3"));
    EXPECT_EQ(std::vector<int>{1}, RegBytes("TimeNewFile"));
    EXPECT_EQ("8 18 45 19 15 0", RegText("Event3"));
    EXPECT_EQ("62 -1 0 17 0 1", RegText("Event4"));
    EXPECT_EQ("stop only", RegText("EventName4"));
    EXPECT_EQ(std::vector<int>{5}, RegBytes("EventCount"));
    EXPECT_EQ((std::vector<int>{5, 0, 0, 0}), RegBytes("EventCountLong"));
    EXPECT_EQ(std::vector<int>{1}, RegBytes("TimerEnable"));

    AppState.Reset();
    TSetTimer::Load(key_, "");
    EXPECT_EQ(saved, Describe(AppState.Events));
    EXPECT_TRUE(AppState.TimerEnable);
    EXPECT_EQ(5, AppState.EventCount);
}

TEST_F(TimerStorageTest, RegistryClearsUnusedOlderSetsAndKeepsMissingTimesOut) {
    SetEvents({Event(kEveryDay, 7, 0, -1, 0, false, "start only"), Event(kWeekend, 9, 0, 10, 0)});
    TSetTimer::Save(key_, "");
    EXPECT_EQ("7:00", RegText("TimeStartEC"));
    EXPECT_EQ("", RegText("TimeStopEC"));
    EXPECT_EQ("", RegText("TimeStart3EC"));
    EXPECT_EQ("", RegText("TimeStop3EC"));
    EXPECT_EQ(std::vector<int>{0}, RegBytes("TimeDay3"));
    EXPECT_EQ(std::vector<int>{2}, RegBytes("EventCount"));

    AppState.Events.Clear();
    TSetTimer::Load(key_, "");
    ASSERT_EQ(2, AppState.Events.Count());
    EXPECT_FALSE(AppState.Events.Get(0)->HasStop());
    EXPECT_EQ(7, AppState.Events.Get(0)->startHour);
    EXPECT_EQ("start only", AppState.Events.Get(0)->name);
}

TEST_F(TimerStorageTest, RegistryReadsOlderValuesWrittenByEarlierVersions) {
    scratch_.SetText("TimeStartEC", "9:30pm");
    scratch_.SetText("TimeStopEC", "2300");
    SetRegBytes("TimeNewFile", {1});
    scratch_.SetText("TimeNewFilePrefix", "talk");
    SetRegBytes("TimeDay", {62});
    scratch_.SetText("TimeStop2EC", "6:15am");  // no day value: every day
    SetRegBytes("TimerEnable", {1});
    TSetTimer::Load(key_, "");
    EXPECT_EQ("62 21 30 23 0 1 /62 talk\n"
              "127 -1 0 6 15 0 /127 \n",
              Describe(AppState.Events));
    EXPECT_TRUE(AppState.TimerEnable);
    EXPECT_EQ(2, AppState.EventCount);
}

// The older sets hold three events; Event3 .. Event<count-1> the rest.
void StoreEventsFromThree(const ScratchKey& key, int count) {
    for (const char* start : {"TimeStartEC", "TimeStart2EC", "TimeStart3EC"}) {
        key.SetText(start, "1:00");
    }
    for (int n = 3; n < count; ++n) {
        const std::string text = "127 " + std::to_string(n % 24) + " 0 -1 0 0";
        key.SetText(("Event" + std::to_string(n)).c_str(), text.c_str());
    }
}

TEST_F(TimerStorageTest, RegistryCountsTakeTheLongCountOnlyWhenTheByteWrapped) {
    const struct {
        int countByte;
        long countLong;
        int expected;
    } cases[] = {{44, 300, 300}, {5, 100, 5}, {0, 0, 3}, {120, 120, 120}, {44, -1, 44},
                 // A damaged count reads no more than the cap.
                 {255, 0x7FFFFFFF, TSetTimer::kMaxStoredEvents}};
    StoreEventsFromThree(scratch_, 1200);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.countByte);
        SetRegBytes("EventCount", {static_cast<BYTE>(c.countByte)});
        const DWORD longCount = static_cast<DWORD>(c.countLong);  // little-endian bytes
        scratch_.SetBytes("EventCountLong", &longCount, sizeof longCount);
        TSetTimer::Load(key_, "");
        EXPECT_EQ(c.expected, AppState.Events.Count());
        EXPECT_EQ(c.expected, AppState.EventCount);
    }
}

TEST_F(TimerStorageTest, IniRoundTripSkipsEventsWithoutTimes) {
    SetEvents(kFiveEvents);
    TimerEvent untimed = Event(kEveryDay, -1, 0, -1, 0, true, "never");
    AppState.Events.Add(&untimed);
    AppState.Events.Get(1)->name = "line\r\nEventCount=99";  // must stay one INI line
    const TimerEvent last = *AppState.Events.Get(4);
    AppState.Events.Set(4, untimed);
    AppState.Events.Add(&last);
    AppState.TimerEnable = true;
    TSetTimer::Save(key_, ini_.path());
    EXPECT_EQ(7, AppState.EventCount);
    EXPECT_EQ("5", IniText("EventCount"));
    EXPECT_EQ("1", IniText("TimerEnable"));
    EXPECT_EQ("62 -1 0 17 0 1", IniText("Event4"));
    EXPECT_EQ("<missing>", IniText("Event5"));
    EXPECT_EQ("<missing>", RegText("EventCount"));  // the INI form never touches the key

    // Loading replaces what the list held.
    TimerEvent stale = Event(kEveryDay, 1, 0, 2, 0);
    SetEvents({stale});
    TSetTimer::Load(key_, ini_.path());
    EXPECT_EQ("127 7 0 8 30 1 /127 morning\n"
              "62 22 0 2 0 0 /124 line  EventCount=99\n"
              "65 12 5 13 0 1 /65 lunch\n"
              "8 18 45 19 15 0 /8 wed\n"
              "62 -1 0 17 0 1 /62 stop only\n",
              Describe(AppState.Events));
    EXPECT_TRUE(AppState.TimerEnable);
}

TEST_F(TimerStorageTest, IniEventsStartFromNothing) {
    SetIni("EventCount", "4");
    SetIni("Event0", "62 8 15 17 30 1");
    SetIni("EventName0", "full");
    SetIni("Event1", "65 9");              // short: no stop, minute 0, no new file
    SetIni("Event2", "62 x 0 17 30 1");    // unparseable: no times, skipped
    SetIni("Event3", "62 99999999999 0");  // out of range: skipped
    TSetTimer::Load(nullptr, ini_.path());
    EXPECT_EQ("62 8 15 17 30 1 /62 full\n"
              "65 9 0 -1 0 0 /0 \n",
              Describe(AppState.Events));
    EXPECT_FALSE(AppState.TimerEnable);
}

TEST_F(TimerStorageTest, IniDamagedCountsAreBounded) {
    SetIni("Event0", "127 8 0 9 0 0");
    for (const char* count : {"2147483647", "99999999999999", "-5", "4294967295", "junk"}) {
        SCOPED_TRACE(count);
        SetIni("EventCount", count);
        const DWORD started = GetTickCount();
        TSetTimer::Load(nullptr, ini_.path());
        EXPECT_LE(AppState.Events.Count(), 1);
        EXPECT_LT(GetTickCount() - started, 20000u);
    }
}

}  // namespace
