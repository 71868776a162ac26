// winsim's LoadStringA and wsprintfA against the platform's rules (each seen under
// Wine): string table blocks, cutting and conversion; wsprintfA's fields, its quirks
// and its 1024-character limit.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class WinsimStringsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        module = winsim::LoadModule(WINSIM_TEST_RES_PATH);
        ASSERT_NE(module, nullptr);
    }

    HINSTANCE module = nullptr;
};

TEST_F(WinsimStringsTest, LoadStringFindsEachStringInItsBlock)
{
    struct Case {
        UINT id;
        const char *text;
    } cases[] = {
        {1, "Hello"},
        {17, "Block two"},               // the second block of 16
        {100, "caf\xe9 \x80 ?"},         // code page 1252; a character it lacks is "?"
        {2, ""},                         // an empty string
        {3, ""},                         // a gap in a block
        {5000, ""},                      // a block that is not there
    };
    for (const Case &c : cases) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(LoadStringA(module, c.id, buffer, sizeof buffer), static_cast<int>(std::strlen(c.text))) << c.id;
        EXPECT_STREQ(buffer, c.text) << c.id;
    }
}

TEST_F(WinsimStringsTest, LoadStringCutsToSizeMinusOne)
{
    struct Case {
        int size;
        int result;
        const char *text;
    } cases[] = {{6, 5, "Hello"}, {5, 4, "Hell"}, {2, 1, "H"}, {1, 0, ""}, {0, -1, "untouched"}};
    for (const Case &c : cases) {
        char buffer[16] = "untouched";
        EXPECT_EQ(LoadStringA(module, 1, buffer, c.size), c.result) << c.size;
        EXPECT_STREQ(buffer, c.text) << c.size;
    }
}

// Formats with wsprintfA and checks the text and the count together.
#define EXPECT_WSPRINTF(expected, ...)                                          \
    do {                                                                        \
        char out_[1100];                                                        \
        const int count_ = wsprintfA(out_, __VA_ARGS__);                        \
        EXPECT_EQ(std::string(out_, count_ > 0 ? count_ : 0), expected) << #__VA_ARGS__; \
        EXPECT_EQ(count_, static_cast<int>(std::string(expected).size())) << #__VA_ARGS__; \
    } while (0)

TEST_F(WinsimStringsTest, WsprintfFieldsAsThePlatformFormatsThem)
{
    EXPECT_WSPRINTF("Mouse\\0007", "Mouse\\%04d", 7);
    EXPECT_WSPRINTF("-5|3000000000|ff|FF|str|c|-7|%", "%d|%u|%x|%X|%s|%c|%ld|%%", -5, 3000000000u, 255, 255, "str",
                    'c', -7);
    EXPECT_WSPRINTF("-07|  -42|-42  |-0000001|00003", "%.3d|%5d|%-5d|%08d|%05.1d", -7, -42, -42, -1, 3);
    EXPECT_WSPRINTF("  00a|001  |3    ", "%5.3x|%-5.3d|%-05d", 10, 1, 3);
    EXPECT_WSPRINTF("    0xa|0x000a|0xa    |0x0|0XAB", "%#5x|%#.4x|%-#05x|%#x|%#X", 10, 10, 10, 0, 171);
    EXPECT_WSPRINTF("   ab|ab   |   ab|  x|abc", "%5s|%-5s|%05s|%3.1s|%.0s", "ab", "ab", "ab", "xyz", "abc");
    EXPECT_WSPRINTF("(null)|(nu|    q", "%5s|%.3s|%05c", static_cast<const char *>(nullptr),
                    static_cast<const char *>(nullptr), 'q');
    EXPECT_WSPRINTF("ffffffff|70000|-2147483648|A", "%lx|%hd|%i|%c", -1, 70000, -2147483647 - 1, 0x141);
    EXPECT_WSPRINTF("21474836484", "%I64d", 21474836484ll);
}

TEST_F(WinsimStringsTest, WsprintfWritesWhatItDoesNotKnowAsText)
{
    EXPECT_WSPRINTF("+d|5", "%+d|%d", 5);  // "+" is no flag: no argument taken
    EXPECT_WSPRINTF("f|z|*d|ld|-5d|", "%.2f|%z|%*d|%lld|%0-5d|");
    EXPECT_WSPRINTF("abc", "abc%");
    EXPECT_WSPRINTF(std::string("a\0b", 3), "a%cb", 0);
}

TEST_F(WinsimStringsTest, WsprintfStopsAt1023Characters)
{
    const std::string a1022(1022, 'a'), a1023(1023, 'a'), a1020(1020, 'a');
    char out[1100];
    struct Case {
        const char *format;
        const char *argument;
        int count;
        std::string text;
    } cases[] = {
        {"%s", a1022.c_str(), 1022, a1022},
        {"%s", a1023.c_str(), 1024, a1023},  // reaching the limit reports 1024
        {"%s!", a1023.c_str(), 1024, a1023},
        {"%s%5d", a1020.c_str(), 1024, a1020 + "  1"},   // the width is cut to what is left
        {"%s%05d", a1020.c_str(), 1024, a1020 + "001"},
        {"%s%-5d", a1020.c_str(), 1024, a1020 + "1  "},
    };
    for (const Case &c : cases) {
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(wsprintfA(out, c.format, c.argument, 1), c.count) << c.format;
        EXPECT_EQ(std::string(out), c.text) << c.format;
    }
}

}  // namespace
