#include "input/byte_source.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace velmark {
namespace {

std::string everything(ByteSource& source) {
    std::string text;
    for (int c = source.Get(); c != ByteSource::kEnd; c = source.Get()) {
        text += static_cast<char>(c);
    }
    return text;
}

struct EncodingCase {
    const char* name;
    std::string bytes;
    InputEncoding encoding;
    bool utf8;
    std::string text;  // what the readers see, code page 1250
};

class LogEncoding : public ::testing::TestWithParam<EncodingCase> {};

// A string source and a file source decide alike.
TEST_P(LogEncoding, IsDecidedAndTheByteOrderMarkDropped) {
    const EncodingCase& c = GetParam();
    ByteSource fromString = ByteSource::FromString(c.bytes, "log", c.encoding);
    EXPECT_EQ(fromString.IsUtf8(), c.utf8);
    EXPECT_EQ(everything(fromString), c.text);

    testing::TempDir dir;
    ByteSource fromFile = ByteSource::OpenLog(dir.write("log.adi", c.bytes), c.encoding);
    EXPECT_EQ(fromFile.IsUtf8(), c.utf8);
    EXPECT_EQ(everything(fromFile), c.text);
    fromFile.Rewind();
    EXPECT_EQ(everything(fromFile), c.text) << "again from the start";
}

INSTANTIATE_TEST_SUITE_P(
    Logs, LogEncoding,
    ::testing::Values(
        EncodingCase{"AutoAsciiIsCp1250", "<CALL:5>Q1AAA", InputEncoding::Auto, false,
                     "<CALL:5>Q1AAA"},
        EncodingCase{"AutoUtf8Letters", "<NAME:5>J\xC3\xB6rg", InputEncoding::Auto, true,
                     "<NAME:5>J\xF6rg"},
        EncodingCase{"AutoBomAscii", "\xEF\xBB\xBF<CALL:1>Q", InputEncoding::Auto, true,
                     "<CALL:1>Q"},
        EncodingCase{"AutoCp1250Polish",
                     "\xA3\xF3"
                     "d\x9F",
                     InputEncoding::Auto, false,
                     "\xA3\xF3"
                     "d\x9F"},
        EncodingCase{"AutoLatin1", "J\xF6rg", InputEncoding::Auto, false, "J\xF6rg"},
        // One byte that cannot be UTF-8, even at the very end, makes the whole log CP1250.
        EncodingCase{"AutoLateFault", "J\xC3\xB6rg " + std::string(70000, 'x') + "\xB3",
                     InputEncoding::Auto, false, "J\xC3\xB6rg " + std::string(70000, 'x') + "\xB3"},
        EncodingCase{"ForcedCp1250KeepsUtf8Bytes", "\xEF\xBB\xBFJ\xC3\xB6rg", InputEncoding::Cp1250,
                     false, "J\xC3\xB6rg"},
        EncodingCase{"ForcedUtf8ReplacesWhatIsNoUtf8", "J\xF6rg", InputEncoding::Utf8, true,
                     "J?rg"},
        // A character cut between two chunks of the file.
        EncodingCase{"Utf8AcrossChunks",
                     std::string(65535, 'x') + "\xC5\x81"
                                               "x",
                     InputEncoding::Auto, true, std::string(65535, 'x') + "\xA3x"},
        EncodingCase{"Empty", "", InputEncoding::Auto, false, ""},
        EncodingCase{"OnlyABom", "\xEF\xBB\xBF", InputEncoding::Auto, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ByteSource, Utf8WidthsAndReplacementsFollowTheText) {
    ByteSource source = ByteSource::FromString("a\xC5\x81\r\n\xE2\x82\xAC\xF0\x9F\x98\x80", "log",
                                               InputEncoding::Utf8);
    std::vector<int> widths;
    while (source.Get() != ByteSource::kEnd) {
        widths.push_back(source.LastWidth());
    }
    EXPECT_EQ(widths, (std::vector<int>{1, 2, 1, 1, 3, 4}));
    EXPECT_EQ(source.Replaced().Count, 1);
    EXPECT_EQ(source.Replaced().FirstLine, 2);
    EXPECT_EQ(source.LineNumber(), 2);
}

TEST(ByteSource, OwnFilesAreUtf8OnlyWithAByteOrderMark) {
    testing::TempDir dir;
    ByteSource marked = ByteSource::OpenFile(dir.write("a.txt", "\xEF\xBB\xBFQSO_WORD \xC5\x81"));
    EXPECT_EQ(everything(marked), "QSO_WORD \xA3");
    ByteSource plain = ByteSource::OpenFile(dir.write("b.txt", "QSO_WORD \xC5\x81"));
    EXPECT_EQ(everything(plain), "QSO_WORD \xC5\x81");
}

}  // namespace
}  // namespace velmark
