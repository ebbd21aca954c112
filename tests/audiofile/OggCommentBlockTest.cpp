#include "audiofile/OggCommentBlock.h"

#include <gtest/gtest.h>

#include "audiofile/RecFile.h"

namespace {

const unsigned char kPrefix[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};

OggCommentBlock SampleBlock() {
    OggCommentBlock block;
    block.SetVendor("test vendor");
    block.Add("bar", "foofoo");
    block.Add("url", "http://x/?a=b");
    return block;
}

std::string ValueOf(const OggCommentBlock& block, const std::string& key) {
    const auto found = block.Find(key);
    return found.empty() ? "<none>" : found.front().value;
}

TEST(OggCommentBlockTest, PaddedPacketRoundTripsAtItsFixedSize) {
    OggCommentBlock block = SampleBlock();
    block.Add(kAnnotationKey, "TIMECODE first\r\n");
    ASSERT_TRUE(block.SetPadded(2000, kAnnotationKey, '\n'));
    EXPECT_EQ(block.PacketSize(), 2000u);
    const OggOwnedPacket plain = block.SerializeCommentPacket(nullptr, 0);
    const OggOwnedPacket vorbis = block.SerializeCommentPacket(kPrefix, sizeof kPrefix);
    EXPECT_EQ(plain.packet.bytes, 2000);
    EXPECT_EQ(vorbis.packet.bytes, 2007);
    EXPECT_EQ(plain.data.back(), 1);  // framing byte

    OggCommentBlock parsed;
    ASSERT_TRUE(parsed.ParseCommentPacket(vorbis.data.data(), vorbis.data.size(), sizeof kPrefix));
    EXPECT_EQ(parsed.Vendor(), "test vendor");
    ASSERT_EQ(parsed.Count(), 3);
    EXPECT_EQ(parsed.EntryAt(1).value, "http://x/?a=b");  // split at the first '='
    EXPECT_EQ(parsed.EntryAt(2).name, kAnnotationKey);    // the padded entry is last

    // Padding again with a shorter text: the old pad goes, the size stays.
    parsed.Remove(kAnnotationKey);
    parsed.Add(kAnnotationKey, "x");
    ASSERT_TRUE(parsed.SetPadded(2000, kAnnotationKey, '\n'));
    EXPECT_EQ(parsed.PacketSize(), 2000u);
    const std::string value = ValueOf(parsed, kAnnotationKey);
    EXPECT_EQ(value[0], 'x');
    EXPECT_EQ(value.find_first_not_of('\n', 1), std::string::npos);
}

TEST(OggCommentBlockTest, NamesAreCaseBlindAndRemoveTakesOneEntry) {
    OggCommentBlock block = SampleBlock();
    block.Add("BAR", "second");
    EXPECT_EQ(block.Find("Bar").size(), 2u);
    EXPECT_EQ(ValueOf(block, "bAr"), "foofoo");
    EXPECT_TRUE(block.Remove("bar"));
    EXPECT_EQ(ValueOf(block, "bar"), "second");
    std::string name, value;
    EXPECT_TRUE(OggCommentBlock::SplitNameValue("a=b=c", name, value));
    EXPECT_EQ(name, "a");
    EXPECT_EQ(value, "b=c");
    EXPECT_FALSE(OggCommentBlock::SplitNameValue("novalue", name, value));
}

TEST(OggCommentBlockTest, MalformedPacketsLeaveTheBlockAsItWas) {
    OggCommentBlock source = SampleBlock();
    const OggOwnedPacket good = source.SerializeCommentPacket(nullptr, 0);
    OggCommentBlock block;
    block.SetVendor("kept");

    std::vector<unsigned char> noFraming(good.data.begin(), good.data.end() - 1);
    EXPECT_FALSE(block.ParseCommentPacket(noFraming.data(), noFraming.size(), 0));
    std::vector<unsigned char> zeroFraming = good.data;
    zeroFraming.back() = 0;
    EXPECT_FALSE(block.ParseCommentPacket(zeroFraming.data(), zeroFraming.size(), 0));
    // Where the framing byte is optional (Speex), a byte after the comments must still be it.
    EXPECT_FALSE(block.ParseCommentPacket(zeroFraming.data(), zeroFraming.size(), 0, true));
    // A length that would wrap a 32-bit sum.
    std::vector<unsigned char> huge = good.data;
    WriteLE32(huge.data(), 0xFFFFFFF0u);
    EXPECT_FALSE(block.ParseCommentPacket(huge.data(), huge.size(), 0));
    OggCommentBlock withoutEquals;
    withoutEquals.Add("", "");
    OggOwnedPacket bad = withoutEquals.SerializeCommentPacket(nullptr, 0);
    // Turn the one comment "=" into "x".
    bad.data[bad.data.size() - 2] = 'x';
    EXPECT_FALSE(block.ParseCommentPacket(bad.data.data(), bad.data.size(), 0));
    EXPECT_EQ(block.Vendor(), "kept");
    EXPECT_EQ(block.Count(), 0);
    EXPECT_TRUE(block.ParseCommentPacket(good.data.data(), good.data.size(), 0));
    EXPECT_EQ(block.Count(), 2);
}

TEST(OggCommentBlockTest, TextLongerThanTheRoomIsRefusedNotCut) {
    OggCommentBlock block = SampleBlock();
    const std::string text(1990, 'a');
    block.Add(kAnnotationKey, text);
    EXPECT_FALSE(block.SetPadded(2000, kAnnotationKey, '\n'));
    EXPECT_EQ(ValueOf(block, kAnnotationKey), text);
    EXPECT_FALSE(block.SetPadded(10, kAnnotationKey, '\n'));
}

}  // namespace
