// Damaged settings: an INI file and registry values of the settings key
// (with the schedule's events among them) load without a crash, a hang or an
// oversize allocation, never write back while loading, and never keep more
// events than the loader's cap.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "app/AppSettings.h"
#include "core/AppState.h"
#include "core/SMsg.h"
#include "prefs/timer/TSetTimer.h"
#include "tests/fakes/ScratchSettings.h"
#include "tests/prefs/EventBuilder.h"
#include "tests/hostile/Hostile.h"

namespace hostile {
namespace {

constexpr int kSuiteCases = 300;

void AddEvent(const TimerEvent& e) { AppState.Events.Add(&e); }

// The settings record as a user leaves it: defaults and a few events.
void PrepareState() {
    AppState.Reset();
    AddEvent(Event(kWeekdays, 8, 30, 9, 0, true, "morning"));
    AddEvent(Event(kEveryDay, 23, 50, 0, 10, true, "midnight"));
    AddEvent(Event(kWeekend, -1, 0, 12, 0, false, "stop only"));
    AppState.EventCount = AppState.Events.Count();
}

void CheckLoaded() {
    EXPECT_LE(AppState.Events.Count(), TSetTimer::kMaxStoredEvents);
    EXPECT_LT(std::strlen(AppState.DefaultDirectory), sizeof AppState.DefaultDirectory);
}

// ---- INI files

std::string IniSeed() {
    ScopedCurrentFolder keepFolder;
    PrepareState();
    ScratchIni ini;
    SaveSettingsTo(nullptr, ini.path(), nullptr, SMsg());
    AppState.Reset();
    return ReadBytes(ini.path());
}

TEST(Hostile, SettingsIniFiles) {
    constexpr int kIniCases = 150;  // every case loads every page: the slowest reader
    const std::string saved = IniSeed();
    ASSERT_NE(saved.find("[Timer]"), std::string::npos);
    Reader reader;
    reader.name = "ini";
    reader.seeds = {saved,
                    "[Timer]\r\nEventCount=2147483647\r\nEvent0=127 8 0 9 0 1\r\nEventName0=x\r\n",
                    "[Wave]\r\nWaveFormat=" + std::string(5000, 'f') + "\r\n[Setup]\r\nTrayIcon=1\r\n"};
    reader.mutations = &TextMutations();
    reader.maxBytes = 256 << 10;
    reader.exercise = [](const std::string& bytes, const std::string& folder, uint32_t) {
        ScopedCurrentFolder keepFolder;
        const std::string path = folder + "\\input.ini";
        WriteBytes(path, bytes);
        AppState.Reset();
        LoadSettingsFrom(nullptr, path);
        CheckLoaded();
        TSetTimer::Load(nullptr, path);
        CheckLoaded();
        EXPECT_EQ(ReadBytes(path), bytes) << "loading wrote to the settings file";
        AppState.Reset();
    };
    const int cases = CaseCount(kIniCases);
    ExpectClean(RunReader(reader, cases), cases);
}

// ---- registry values: the seed is the value table, one record a value

struct Value {
    std::string name;
    DWORD type;
    std::string data;
};

std::string Serialize(const std::vector<Value>& values) {
    std::string out;
    for (const Value& v : values) {
        const uint32_t header[3] = {static_cast<uint32_t>(v.name.size()), v.type,
                                    static_cast<uint32_t>(v.data.size())};
        out.append(reinterpret_cast<const char*>(header), sizeof header);
        out += v.name + v.data;
    }
    return out;
}

std::vector<Value> Deserialize(const std::string& bytes) {
    std::vector<Value> values;
    for (size_t at = 0; at + 12 <= bytes.size();) {
        uint32_t header[3];
        std::memcpy(header, bytes.data() + at, sizeof header);
        at += 12;
        if (header[0] > bytes.size() - at || header[2] > bytes.size() - at - header[0])
            break;
        values.push_back({bytes.substr(at, header[0]), header[1], bytes.substr(at + header[0], header[2])});
        at += header[0] + header[2];
    }
    return values;
}

std::vector<Value> ReadValues(HKEY key) {
    std::vector<Value> values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameSize = sizeof name;
        RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
        values.push_back({std::string(name, nameSize), type, data});
    }
    return values;
}

// One value of the table damaged the way the registry allows: another type,
// another length, a text without its zero, noise, a huge number.
std::string DamageValue(const std::string& in, Prng& rng) {
    std::vector<Value> values = Deserialize(in);
    if (values.empty())
        return in;
    for (uint32_t n = 1 + rng.Below(3); n; --n) {
        Value& v = values[rng.Below(static_cast<uint32_t>(values.size()))];
        switch (rng.Below(7)) {
        case 0: {
            static const DWORD types[] = {REG_SZ, REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_MULTI_SZ, REG_NONE};
            v.type = types[rng.Below(6)];
            break;
        }
        case 1: v.data.resize(rng.Below(static_cast<uint32_t>(v.data.size() + 1))); break;
        case 2: v.data.append(rng.Below(5000), static_cast<char>('0' + rng.Below(60))); break;
        case 3:
            while (!v.data.empty() && v.data.back() == '\0')
                v.data.pop_back();
            break;
        case 4:
            for (char& c : v.data)
                if (rng.OneIn(4))
                    c = static_cast<char>(rng.Next());
            break;
        case 5: {
            static const char* const numbers[] = {"2147483647", "-2147483648", "4294967296", "99999999999999999999"};
            v.data = std::string(numbers[rng.Below(4)]) + '\0';
            v.type = REG_SZ;
            break;
        }
        default: v.data = std::string(4, '\xff'); break;
        }
    }
    return Serialize(values);
}

const std::vector<Mutation>& RegistryMutations() {
    static const std::vector<Mutation> all = {{"value", DamageValue}};
    return all;
}

TEST(Hostile, SettingsRegistryValues) {
    std::string seed;
    {
        ScopedCurrentFolder keepFolder;
        PrepareState();
        ScratchKey key;
        SaveSettingsTo(key.get(), "", nullptr, SMsg());
        AppState.Reset();
        seed = Serialize(ReadValues(key.get()));
    }
    std::vector<Value> counts = Deserialize(seed);
    ASSERT_GT(counts.size(), 10u);
    // The schedule's count claims far more events than the key holds.
    counts.push_back({"EventCount", REG_SZ, std::string("2147483647") + '\0'});
    Reader reader;
    reader.name = "registry";
    reader.seeds = {seed, Serialize(counts)};
    reader.mutations = &RegistryMutations();
    reader.exercise = [](const std::string& bytes, const std::string&, uint32_t) {
        ScopedCurrentFolder keepFolder;
        ScratchKey key;
        for (const Value& v : Deserialize(bytes))
            key.SetBytes(v.name.c_str(), v.data.data(), static_cast<DWORD>(v.data.size()), v.type);
        const std::string stored = Serialize(ReadValues(key.get()));
        AppState.Reset();
        LoadSettingsFrom(key.get(), "");
        CheckLoaded();
        TSetTimer::Load(key.get(), "");
        CheckLoaded();
        EXPECT_EQ(Serialize(ReadValues(key.get())), stored) << "loading wrote to the settings key";
        AppState.Reset();
    };
    const int cases = CaseCount(kSuiteCases);
    ExpectClean(RunReader(reader, cases), cases);
}

}  // namespace
}  // namespace hostile
