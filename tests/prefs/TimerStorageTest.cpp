// Round trips of the schedule through a throw-away registry key and INI file
// of the test's Wine prefix.
#include "prefs/TSetTimer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "prefs/TimerEventText.h"

namespace {

TimerEvent Event(int days, int startHour, int startMinute, int stopHour, int stopMinute,
                 bool newFile = false, const char* name = "") {
    TimerEvent e;
    e.days = days, e.startHour = startHour, e.startMinute = startMinute;
    e.stopHour = stopHour, e.stopMinute = stopMinute;
    e.newFile = newFile;
    e.name = name;
    TimerEvent::Normalize(e);
    return e;
}

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
    void SetUp() override {
        AppState.Reset();
        const std::string name = std::string("Software\\LarkspurTimerTest\\") +
                                 testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, name.c_str());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key_, nullptr));
        keyName_ = name;
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        ini_ = std::string(folder) + "timer-" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        DeleteFileA(ini_.c_str());
    }
    void TearDown() override {
        if (key_) RegCloseKey(key_);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName_.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini_.c_str());  // flush the cache
        DeleteFileA(ini_.c_str());
        AppState.Reset();
    }

    std::string RegText(const char* name) const {
        char text[300] = {};
        DWORD size = sizeof text - 1, type = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                ERROR_SUCCESS || type != REG_SZ) {
            return "<missing>";
        }
        return text;
    }
    // A REG_BINARY value as its bytes, lowest first.
    std::vector<int> RegBytes(const char* name) const {
        BYTE bytes[16] = {};
        DWORD size = sizeof bytes, type = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS ||
            type != REG_BINARY) {
            return {-1};
        }
        return std::vector<int>(bytes, bytes + size);
    }
    void SetRegText(const char* name, const std::string& text) const {
        RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    void SetRegBytes(const char* name, std::vector<BYTE> bytes) const {
        RegSetValueExA(key_, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    void SetIni(const char* name, const std::string& text) const {
        WritePrivateProfileStringA("Timer", name, text.c_str(), ini_.c_str());
    }
    std::string IniText(const char* name) const {
        char text[300] = {};
        GetPrivateProfileStringA("Timer", name, "<missing>", text, sizeof text, ini_.c_str());
        return text;
    }

    HKEY key_ = nullptr;
    std::string keyName_;
    std::string ini_;
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
    SetRegText("TimeStartEC", "9:30pm");
    SetRegText("TimeStopEC", "2300");
    SetRegBytes("TimeNewFile", {1});
    SetRegText("TimeNewFilePrefix", "talk");
    SetRegBytes("TimeDay", {62});
    SetRegText("TimeStop2EC", "6:15am");  // no day value: every day
    SetRegBytes("TimerEnable", {1});
    TSetTimer::Load(key_, "");
    EXPECT_EQ("62 21 30 23 0 1 /62 talk\n"
              "127 -1 0 6 15 0 /127 \n",
              Describe(AppState.Events));
    EXPECT_TRUE(AppState.TimerEnable);
    EXPECT_EQ(2, AppState.EventCount);
}

// The older sets hold three events; Event3 .. Event<count-1> the rest.
void StoreEventsFromThree(HKEY key, int count) {
    for (int n = 0; n < 3; ++n) {
        const std::string number = n == 0 ? "" : std::to_string(n + 1);
        const std::string start = "TimeStart" + number + "EC";
        RegSetValueExA(key, start.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("1:00"), 5);
    }
    for (int n = 3; n < count; ++n) {
        const std::string name = "Event" + std::to_string(n);
        const std::string text = "127 " + std::to_string(n % 24) + " 0 -1 0 0";
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
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
    StoreEventsFromThree(key_, 1200);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.countByte);
        SetRegBytes("EventCount", {static_cast<BYTE>(c.countByte)});
        const DWORD longCount = static_cast<DWORD>(c.countLong);
        SetRegBytes("EventCountLong", {static_cast<BYTE>(longCount), static_cast<BYTE>(longCount >> 8),
                                       static_cast<BYTE>(longCount >> 16),
                                       static_cast<BYTE>(longCount >> 24)});
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
    TSetTimer::Save(key_, ini_);
    EXPECT_EQ(7, AppState.EventCount);
    EXPECT_EQ("5", IniText("EventCount"));
    EXPECT_EQ("1", IniText("TimerEnable"));
    EXPECT_EQ("62 -1 0 17 0 1", IniText("Event4"));
    EXPECT_EQ("<missing>", IniText("Event5"));
    EXPECT_EQ("<missing>", RegText("EventCount"));  // the INI form never touches the key

    // Loading replaces what the list held.
    TimerEvent stale = Event(kEveryDay, 1, 0, 2, 0);
    SetEvents({stale});
    TSetTimer::Load(key_, ini_);
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
    TSetTimer::Load(nullptr, ini_);
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
        TSetTimer::Load(nullptr, ini_);
        EXPECT_LE(AppState.Events.Count(), 1);
        EXPECT_LT(GetTickCount() - started, 20000u);
    }
}

}  // namespace
