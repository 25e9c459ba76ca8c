// Reading and writing CSV: every row comes back as it was, with its line.
#include "cli_test_support.h"
#include "csv_stream.h"

#include <gtest/gtest.h>

#include <vector>

namespace curp::cli::test {
namespace {

struct CopyRow {
    const char* name;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    std::string_view input;
    // cppcheck-suppress unusedStructMember ; read through GetParam()
    std::string_view output; // the file written back; ignored when status is 2
    Status status = kAllRows;
};

void PrintTo(const CopyRow& row, std::ostream* os)
{
    *os << row.name;
}

class CopyRows : public ::testing::TestWithParam<CopyRow>
{};

TEST_P(CopyRows, WritesBackWhatItRead)
{
    const CsvResult result = RunOn(CopyCsv, GetParam().input);
    EXPECT_EQ(result.status, GetParam().status);
    if (GetParam().status == kAllRows) {
        EXPECT_EQ(result.out, GetParam().output);
    }
}

// clang-format off
const CopyRow kCopyRows[] = {
    {"PlainLf",                     "a,b\n1,2\n",                      "a,b\n1,2\n"},
    {"CrLfKept",                    "a,b\r\n1,2\r\n",                  "a,b\r\n1,2\r\n"},
    {"FirstLineSetsTheLineEnd",     "a,b\r\n1,2\n3,4\r\n",             "a,b\r\n1,2\r\n3,4\r\n"},
    {"CrOnlyLinesWrittenWithLf",    "a\rb\r",                          "a\nb\n"},
    {"LastLineGetsItsEnd",          "a,b\n1,2",                        "a,b\n1,2\n"},
    {"QuotesOnlyWhereNeeded",       "\"a\",\"b c\"\n",                 "a,b c\n"},
    {"DoubledQuotesAtTheEdges",     "\"\"\"a\"\"\",\"\"\"\"\n",         "\"\"\"a\"\"\",\"\"\"\"\n"},
    {"EmbeddedCommaQuoteAndLines",  "\"x,y\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\nlf\"\n",
                                    "\"x,y\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\nlf\"\n"},
    {"ByteOrderMarkKept",           "\xEF\xBB\xBF" "a,b\n",            "\xEF\xBB\xBF" "a,b\n"},
    {"EmptyFieldsKept",             "a,,c,\n,\n",                      "a,,c,\n,\n"},
    {"BlankLinesKept",              "a\n\nb\n\n",                      "a\n\nb\n\n"},
    {"LoneEmptyFieldStaysARow",     "\"\"\n",                          "\"\"\n"},
    {"SpacesAndTabsKept",           " a , b\t\n",                      " a , b\t\n"},
    {"BytesThatAreNotUtf8Kept",     "\xFF,\xC3\n",                     "\xFF,\xC3\n"},
    {"EmptyFile",                   "",                                ""},
    {"QuoteInsideUnquotedField",    "a\"b,c\n",                        "", kUsageError},
    {"TextAfterClosingQuote",       "\"a\"b,c\n",                      "", kUsageError},
    {"QuoteNeverClosed",            "a,\"b\nc,d\n",                    "", kUsageError},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Csv, CopyRows, ::testing::ValuesIn(kCopyRows), RowName{});

// A file comes in pieces of any size: one byte at a time reads the same.
TEST_P(CopyRows, ReadsTheSameOneByteAtATime)
{
    MemoryOut out;
    CsvCopy copy(out.file());
    CsvReader reader(copy);
    for (const char c : GetParam().input) {
        reader.Feed({&c, 1});
    }
    EXPECT_EQ(reader.Finish().message.empty(), GetParam().status == kAllRows);
    copy.Flush();
    if (GetParam().status == kAllRows) {
        EXPECT_EQ(out.Text(), GetParam().output);
    }
}

// Collects the line each row starts on.
class Lines : public CsvSink
{
public:
    void Begin(bool /*byteOrderMark*/, bool /*crlf*/) override {}
    bool Row(const CsvRow& row) override
    {
        lines.push_back(row.line);
        return true;
    }
    std::vector<std::size_t> lines;
};

TEST(CsvLines, EachRowKnowsTheLineItStartsOn)
{
    struct {
        const char* name;
        std::string_view input;
        std::vector<std::size_t> lines;
    } const rows[] = {
        {"lf", "a\nb\n", {1, 2}},
        {"crlf", "a\r\nb\r\n", {1, 2}},
        {"cr", "a\rb", {1, 2}},
        {"blank line", "a\n\nb\n", {1, 2, 3}},
        {"line break in a field", "\"x\ny\",1\nb\n", {1, 3}},
        {"crlf in a field", "\"x\r\ny\",1\r\nb\r\n", {1, 3}},
        {"two line breaks in a field", "h\n\"x\n\ny\"\nb", {1, 2, 5}},
    };
    for (const auto& row : rows) {
        std::string bytes(row.input);
        std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
        Lines lines;
        EXPECT_TRUE(ReadCsv(in, lines).message.empty()) << row.name;
        std::fclose(in);
        EXPECT_EQ(lines.lines, row.lines) << row.name;
    }
}

TEST(CsvLines, ErrorsNameTheLineOfTheirRow)
{
    const CsvResult stray = RunOn(CopyCsv, "a\n\"b\nc\"\nd\"e\n");
    EXPECT_EQ(stray.status, kUsageError);
    const CsvResult calcula =
        RunOn(CalculaCsv, "paterno,materno,nombre,nacimiento,sexo,entidad\n\"b\nc\"\nd\"e\n");
    EXPECT_NE(calcula.err.find("f.csv:4: comillas mal puestas"), std::string::npos) << calcula.err;
}

TEST(CsvLines, AnUnclosedQuoteDoesNotTakeTheWholeFile)
{
    // Without the limit the rest of the file would become one field, held in memory.
    std::string input = "a\n\"";
    input.append(kMaxRowBytes + 1000, 'x');
    const CsvResult result = RunOn(CopyCsv, input);
    EXPECT_EQ(result.status, kUsageError);
    EXPECT_LT(result.out.size(), 10U);
}

} // namespace
} // namespace curp::cli::test
