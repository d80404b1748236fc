// The page the editor holds right after start, written out, checked line by line
// against a reading of the page file's layout made independently of the writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page.h"
#include "page_file.h"

namespace {

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(bytes.substr(start, at - start));
    EXPECT_EQ(start, bytes.size()) << "the last line must end with CR LF";
    return lines;
}

const char* const kFirstSuffixes[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
const char* const kSecondSuffixes[] = {"01", "02", "03", "04", "05", "06", "07", "08", "09", "00"};

// expected[line - 1] for lines first..first+9.
void Fill(std::vector<std::string>& expected, int first, const std::vector<std::string>& ten) {
    for (int i = 0; i < 10; ++i) expected[first - 1 + i] = ten[i];
}
std::vector<std::string> Same(const std::string& value) {
    return std::vector<std::string>(10, value);
}
std::vector<std::string> Names(const std::string& prefix, const char* const* suffixes) {
    std::vector<std::string> out;
    for (int i = 0; i < 10; ++i) out.push_back(prefix + suffixes[i]);
    return out;
}
std::vector<std::string> Numbers(std::initializer_list<int> values) {
    std::vector<std::string> out;
    for (int v : values) out.push_back(std::to_string(v));
    return out;
}

TEST(DefaultPage, MatchesTheStartUpPageLineByLine) {
    std::vector<std::string> expected(343, "<unset>");
    // Captions.
    Fill(expected, 1, Names("Button", kFirstSuffixes));
    Fill(expected, 11, Names("Label", kFirstSuffixes));
    Fill(expected, 204, Names("Button", kSecondSuffixes));
    Fill(expected, 254, Names("Label", kSecondSuffixes));
    // Default left edges.
    Fill(expected, 21, Numbers({320, 320, 320, 320, 320, 392, 392, 464, 464, 536}));
    Fill(expected, 31, Numbers({392, 392, 392, 392, 392, 392, 432, 432, 432, 432}));
    Fill(expected, 81, Numbers({480, 480, 480, 480, 480, 512, 512, 512, 512, 512}));
    Fill(expected, 184, Numbers({128, 128, 192, 192, 192, 192, 256, 256, 256, 256}));
    Fill(expected, 234, Numbers({98, 98, 98, 98, 98, 146, 146, 146, 146, 146}));
    Fill(expected, 294, Numbers({8, 8, 8, 8, 8, 40, 40, 40, 40, 40}));
    // Every top is the hidden position.
    for (int first : {41, 51, 91, 174, 224, 284}) Fill(expected, first, Same("-200"));
    // Every action is NONE();.
    for (int first : {61, 71, 101, 194, 244, 304}) Fill(expected, first, Same("NONE();"));
    // Empty picture-file slots.
    Fill(expected, 111,
         Names("Label",
               std::vector<const char*>{"10", "11", "12", "13", "14", "15", "16", "17", "18", "19"}
                   .data()));
    Fill(expected, 314,
         Names("Label",
               std::vector<const char*>{"20", "21", "22", "23", "24", "25", "26", "27", "28", "29"}
                   .data()));
    // Page size, button sizes, colours, font sizes.
    expected[120] = "329";
    expected[121] = "241";
    for (int first : {123, 324}) Fill(expected, first, Same("65"));
    for (int first : {133, 334}) Fill(expected, first, Same("41"));
    for (int first : {143, 274}) Fill(expected, first, Same("-2147483633"));
    expected[152] = "-2147483633";
    for (int first : {154, 164, 214, 264}) Fill(expected, first, Same("10"));

    quom::Page page;
    page.Reset();
    std::vector<std::string> lines = SplitCrLf(quom::FormatPageFile(page));
    ASSERT_EQ(lines.size(), 343u);
    for (int i = 0; i < 343; ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

}  // namespace
