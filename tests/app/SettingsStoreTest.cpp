#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "tests/fakes/ScratchSettings.h"

namespace {

// The same operations must give the same values through either store.
struct StorePair {
    ScratchKey key;
    ScratchIni ini;
    SettingsStore registry{key.get(), "", "Test"};
    SettingsStore file{nullptr, ini.path(), "Test"};
};

TEST(SettingsStoreTest, TextsAndNumbersRoundTripThroughBothStores) {
    StorePair stores;
    for (const SettingsStore* store : {&stores.registry, &stores.file}) {
        SCOPED_TRACE(store->UsesIni() ? "INI" : "registry");
        ASSERT_TRUE(store->SetString("Name", "Monitor of Null Output"));
        ASSERT_TRUE(store->SetInt("Rate", -44100));
        ASSERT_TRUE(store->SetFormatted("Rate2", "%2.2f", 1.5));
        char text[SettingsStore::kTextSize] = {};
        EXPECT_TRUE(store->GetString("Name", text));
        EXPECT_STREQ("Monitor of Null Output", text);
        EXPECT_EQ(-44100, store->GetInt("Rate", 7));
        std::string rate;
        EXPECT_TRUE(store->GetStdString("Rate2", rate));
        EXPECT_EQ("1.50", rate);
        EXPECT_EQ(7, store->GetInt("Missing", 7));
        // A missing value gives the default text and success; without a
        // default, failure.
        EXPECT_TRUE(store->GetString("Missing", text, "dflt"));
        EXPECT_STREQ("dflt", text);
        EXPECT_FALSE(store->GetString("Missing", text));
    }
}

TEST(SettingsStoreTest, EmptyNamesAndMissingStoresFail) {
    SettingsStore none(nullptr, "", "Test");
    char text[SettingsStore::kTextSize] = {};
    EXPECT_FALSE(none.GetString("Name", text, "x"));
    EXPECT_FALSE(none.SetString("Name", "x"));
    StorePair stores;
    EXPECT_FALSE(stores.registry.GetString("", text, "x"));
    EXPECT_FALSE(stores.registry.SetString("", "x"));
    EXPECT_FALSE(stores.registry.SetString("Name", nullptr));
}

TEST(SettingsStoreTest, RegistryTextsAreCutTerminatedAndOfStringType) {
    StorePair stores;
    std::string longText(300, 'x');
    stores.key.SetText("Long", longText.c_str());
    // No terminating zero stored, and a binary value of the same kind.
    stores.key.SetBytes("Unterminated", "abc", 3, REG_SZ);
    stores.key.SetBytes("Binary", "abc", 4, REG_BINARY);
    char text[SettingsStore::kTextSize];
    std::memset(text, 'Z', sizeof text);
    EXPECT_TRUE(stores.registry.GetString("Long", text));
    EXPECT_EQ(std::string(259, 'x'), text);
    std::memset(text, 'Z', sizeof text);
    EXPECT_TRUE(stores.registry.GetString("Unterminated", text));
    EXPECT_STREQ("abc", text);
    EXPECT_TRUE(stores.registry.GetString("Binary", text, "dflt"));
    EXPECT_STREQ("dflt", text);
}

TEST(SettingsStoreTest, SmallNumbersKeepTheirHighBitsAndOldBytesStillLoad) {
    StorePair stores;
    const long values[] = {0, 1, 255, 256, 600, 0x0161, -1, 100000};
    for (long value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(stores.registry.SetSmall("N", value));
        ASSERT_TRUE(stores.file.SetSmall("N", value));
        long back = 12345;
        EXPECT_TRUE(stores.registry.GetSmall("N", back));
        EXPECT_EQ(value, back);
        EXPECT_TRUE(stores.file.GetSmall("N", back));
        EXPECT_EQ(value, back);
    }
    // Values that fit are written as the single byte older versions read.
    stores.registry.SetSmall("Byte", 200);
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(stores.key.Raw("Byte", type, raw));
    EXPECT_EQ(std::string(1, '\xC8'), raw);
    // A one-byte value of an older version reads unsigned.
    stores.key.SetBytes("Old", "\xFF", 1);
    EXPECT_EQ(255, stores.registry.SmallOr("Old", 0));
    EXPECT_EQ(9, stores.registry.SmallOr("Missing", 9));
    // A damaged INI number is missing, not 0.
    stores.ini.Write("Test", "Junk", "junk");
    long kept = 7;
    EXPECT_FALSE(stores.file.GetLong("Junk", kept));
    EXPECT_EQ(7, kept);
    EXPECT_EQ(9, stores.file.SmallOr("Junk", 9));
}

TEST(SettingsStoreTest, UnsignedIniTextWrapsBackToNegative) {
    StorePair stores;
    stores.file.SetUnsigned("Button", static_cast<unsigned long>(-1));
    EXPECT_EQ("4294967295", stores.ini.Read("Test", "Button"));
    EXPECT_EQ(-1, stores.file.GetInt("Button", 0));
}

TEST(SettingsStoreTest, BlobsRoundTripEveryByte) {
    StorePair stores;
    std::vector<unsigned char> blob(40);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<unsigned char>(i * 37 + 1);
    for (const SettingsStore* store : {&stores.registry, &stores.file}) {
        SCOPED_TRACE(store->UsesIni() ? "INI" : "registry");
        ASSERT_TRUE(store->SetBlob("Blob", blob.data(), blob.size()));
        std::vector<unsigned char> back(blob.size(), 0);
        EXPECT_EQ(blob.size(), store->GetBlob("Blob", back.data(), back.size()));
        EXPECT_EQ(blob, back);  // the last byte too
    }
    EXPECT_EQ(80u, stores.ini.Read("Test", "Blob").size());
    EXPECT_EQ("01", stores.ini.Read("Test", "Blob").substr(0, 2));
    // A text with an odd digit at the end gives its whole pairs.
    stores.ini.Write("Test", "Odd", "0a0b0");
    unsigned char few[4] = {};
    EXPECT_EQ(2u, stores.file.GetBlob("Odd", few, sizeof few));
    EXPECT_EQ(0x0b, few[1]);
}

}  // namespace
