#include <gtest/gtest.h>

#include "audiofile/Annotations.h"

namespace {

const std::vector<TimeCodeRec> kSegments = {{0, 0}, {88200, 1000}};
const std::vector<CommentRec> kComments = {{44100, 0, "intro"}};

TEST(AnnotationText, TagBlockGoldenBytes) {
    RecordingSignature signature{};
    for (size_t i = 0; i < signature.size(); ++i)
        signature[i] = static_cast<uint8_t>(i * 13);
    const std::string text = FormatAnnotationLines(AnnotationForm::TagBlock, kSegments, kComments) +
                             FormatSignatureLine(signature);
    EXPECT_EQ(text,
              "SAMPLE TIMECODE\r\n"
              "0 0\r\n"
              "88200 1000\r\n"
              "COMMENT 44100\t0\tintro\r\n"
              "SIGNATURE 000d1a2734414e5b6875828f9ca9b6c3d0ddeaf7\r\n");
}

TEST(AnnotationText, JournalGoldenBytes) {
    const std::string image = BuildJournalImage(kSegments, kComments);
    const std::string expected = std::string("\x01\0\0\0", 4) +
                                 "SAMPLE\tTIMECODE\r\n0\t0\r\n88200\t1000\r\n"
                                 "COMMENT 44100\t0\tintro\r\n" + std::string(1, '\0');
    EXPECT_EQ(image, expected);
}

TEST(AnnotationText, BothFormsReadBackWhatTheyWrite) {
    const std::vector<TimeCodeRec> segments = {{0, 0}, {4000000000u, 4102444800LL}};  // 2100: past 32 bits
    const std::vector<CommentRec> comments = {{1, 2, "one"}, {3, 0, "two words"}};
    RecordingSignature signature{};
    signature[0] = 0xab;
    signature[19] = 0x01;
    for (AnnotationForm form : {AnnotationForm::TagBlock, AnnotationForm::Journal}) {
        SCOPED_TRACE(form == AnnotationForm::TagBlock ? "tag" : "journal");
        std::string text = FormatAnnotationLines(form, segments, comments);
        if (form == AnnotationForm::TagBlock)
            text += FormatSignatureLine(signature);
        const ParsedAnnotations parsed = ParseAnnotationLines(text, form);
        ASSERT_EQ(parsed.segments.size(), 2u);
        EXPECT_EQ(parsed.segments[1].position, 4000000000u);
        EXPECT_EQ(parsed.segments[1].timeCode, 4102444800LL);
        ASSERT_EQ(parsed.comments.size(), 2u);
        EXPECT_EQ(parsed.comments[1].text, "two words");
        EXPECT_EQ(parsed.comments[0].end, 2u);
        EXPECT_EQ(parsed.hasSignature, form == AnnotationForm::TagBlock);
        if (parsed.hasSignature) {
            EXPECT_EQ(parsed.signature, signature);
        }
    }
}

TEST(AnnotationText, LongAndUnsafeCommentTextsKeepTheBlockIntact) {
    const std::vector<CommentRec> comments = {
        {10, 0, std::string(600, 'x')},
        {20, 0, "line\r\nbreak\tand tab"},
        {30, 0, "after"},
    };
    RecordingSignature signature{};
    signature[5] = 7;
    const std::string text = FormatAnnotationLines(AnnotationForm::TagBlock, {}, comments) +
                             FormatSignatureLine(signature);
    // Every line ends in CR LF and stays within the readers' limit.
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_LE(end + 1 - start, kMaxAnnotationLine);
        EXPECT_EQ(text[end - 1], '\r');
    }
    const ParsedAnnotations parsed = ParseAnnotationLines(text, AnnotationForm::TagBlock);
    ASSERT_EQ(parsed.comments.size(), 3u);
    EXPECT_EQ(parsed.comments[1].text, "line  break and tab");
    EXPECT_EQ(parsed.comments[2].text, "after");
    EXPECT_TRUE(parsed.hasSignature);
    EXPECT_EQ(parsed.signature, signature);
}

TEST(AnnotationText, ParsingSkipsKnownKeywordsAndStopsAtOthers) {
    struct Case { const char* text; size_t segments; size_t comments; };
    const Case cases[] = {
        {"SAMPLE TIMECODE\r\nEVENT x\r\n5 6\r\n", 1, 0},
        {"SAMPLE TIMECODE\r\nstation y\r\nCOMMENT 1\t0\thi\r\n", 0, 1},
        {"SAMPLE TIMECODE\r\nBOGUS 1\r\n5 6\r\n", 0, 0},
        {"SAMPLE TIMECODE\r\n5 6\r\n\r\n7 8\r\n", 1, 0},  // an empty line ends it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ParsedAnnotations parsed = ParseAnnotationLines(c.text, AnnotationForm::TagBlock);
        EXPECT_EQ(parsed.segments.size(), c.segments);
        EXPECT_EQ(parsed.comments.size(), c.comments);
    }
    const std::string tooLong = "5 6\r\n" + std::string(300, '1') + "\r\n7 8\r\n";
    EXPECT_EQ(ParseAnnotationLines(tooLong, AnnotationForm::TagBlock).segments.size(), 1u);
}

TEST(AnnotationText, CommentTextLosesLeadingBlanksAndJournalHasNoSignature) {
    const ParsedAnnotations comment =
        ParseAnnotationLines("COMMENT 5\t9\t   spaced\r\n", AnnotationForm::TagBlock);
    ASSERT_EQ(comment.comments.size(), 1u);
    EXPECT_EQ(comment.comments[0].text, "spaced");
    const ParsedAnnotations journal = ParseAnnotationLines(
        "SIGNATURE 0102\r\n1\t2\r\n", AnnotationForm::Journal);
    EXPECT_FALSE(journal.hasSignature);
    EXPECT_TRUE(journal.segments.empty()) << "SIGNATURE stops a journal";
}

}  // namespace
