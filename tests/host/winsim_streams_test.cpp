// winsim's C runtime streams against the platform C runtime's rules (each seen under
// Wine's msvcrt): text-mode translation, Ctrl-Z, fgets splitting, open modes and
// failures, a full disk, rename and remove.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

namespace crt = winsim::crt;
using Lines = std::vector<std::string>;

class WinsimStreamsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        winsim::MapScratchDrive('C');
    }

    // Every test closes what it opens; the control that counts open streams says so.
    void TearDown() override { EXPECT_EQ(winsim::OpenStreams(), 0u); }

    // Every piece fgets returns, reading with buffers of `size`, until it returns null.
    static std::vector<std::string> Pieces(const char *path, const char *mode, int size)
    {
        std::vector<std::string> pieces;
        crt::FILE *in = crt::fopen(path, mode);
        if (!in)
            return {"(no stream)"};
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        while (crt::fgets(buffer.data(), size, in))
            pieces.push_back(buffer.data());
        EXPECT_EQ(crt::ferror(in), 0);
        EXPECT_EQ(crt::fclose(in), 0);
        return pieces;
    }

    static std::string Written(const char *mode, const char *text)
    {
        crt::FILE *out = crt::fopen("C:\\OUT.TXT", mode);
        EXPECT_NE(out, nullptr) << mode;
        if (!out)
            return "";
        EXPECT_GE(crt::fputs(text, out), 0);
        EXPECT_EQ(crt::fclose(out), 0);
        return winsim::FileBytes("C:\\OUT.TXT").value_or("(no file)");
    }
};

TEST_F(WinsimStreamsTest, TextReadingTurnsOnlyCrLfIntoNewline)
{
    winsim::PutFile("C:\\T.TXT", "a\r\nb\rc\nd\r\r\ne\r");
    EXPECT_EQ(Pieces("C:\\T.TXT", "r", 256), (Lines{"a\n", "b\rc\n", "d\r\n", "e\r"}))
        << "a lone CR and a lone LF stay as they are";
    EXPECT_EQ(Pieces("C:\\T.TXT", "rt", 256), (Lines{"a\n", "b\rc\n", "d\r\n", "e\r"}));
    EXPECT_EQ(Pieces("C:\\T.TXT", "rb", 256), (Lines{"a\r\n", "b\rc\n", "d\r\r\n", "e\r"}));
}

TEST_F(WinsimStreamsTest, CtrlZEndsTextReading)
{
    struct Case {
        const char *bytes;
        Lines text;
    } cases[] = {
        {"abc\x1a" "def\r\n", {"abc"}},
        {"ab\r\n\x1ag\r\nh\r\n", {"ab\n"}},
        {"\x1a" "abc", {}},
        {"abc\r\x1a" "def", {"abc\r"}},
    };
    for (const Case &c : cases) {
        winsim::PutFile("C:\\Z.TXT", c.bytes);
        EXPECT_EQ(Pieces("C:\\Z.TXT", "r", 256), c.text) << c.bytes;
    }
    winsim::PutFile("C:\\Z.TXT", "abc\x1a" "def");
    EXPECT_EQ(Pieces("C:\\Z.TXT", "rb", 256), (Lines{"abc\x1a" "def"})) << "binary mode reads past it";
}

TEST_F(WinsimStreamsTest, FgetsSplitsLinesLongerThanSizeMinusOne)
{
    winsim::PutFile("C:\\L.TXT", "abcdefgh\r\nij\r\n");
    struct Case {
        int size;
        Lines pieces;
    } cases[] = {
        {4, {"abc", "def", "gh\n", "ij\n"}},
        {9, {"abcdefgh", "\n", "ij\n"}},  // CR LF counts as one character
        {10, {"abcdefgh\n", "ij\n"}},
        {2, {"a", "b", "c", "d", "e", "f", "g", "h", "\n", "i", "j", "\n"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Pieces("C:\\L.TXT", "r", c.size), c.pieces) << c.size;

    crt::FILE *in = crt::fopen("C:\\L.TXT", "r");
    char buffer[8] = "keep";
    EXPECT_EQ(crt::fgets(buffer, 1, in), nullptr) << "size 1 reads nothing and returns null";
    EXPECT_EQ(crt::fgets(buffer, 0, in), nullptr);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(crt::fgets(buffer, 8, in), buffer);
    EXPECT_STREQ(buffer, "abcdefg");
    crt::fclose(in);
}

TEST_F(WinsimStreamsTest, TextWritingTurnsNewlineIntoCrLf)
{
    EXPECT_EQ(Written("w", "a\nb\r\nc\x1a" "d\n"), "a\r\nb\r\r\nc\x1a" "d\r\n");
    EXPECT_EQ(Written("wt", "x\n"), "x\r\n");
    EXPECT_EQ(Written("wb", "a\nb"), "a\nb");
    EXPECT_EQ(Written("a", "more\n"), "a\nbmore\r\n");
    EXPECT_EQ(Written("r+", "X"), "X\nbmore\r\n") << "update mode writes from the start";
    EXPECT_EQ(Written("w+", ""), "");
}

TEST_F(WinsimStreamsTest, LettersAfterTheFirstOtherThanPlusTAndBAreIgnored)
{
    winsim::PutFile("C:\\IN.TXT", "in\r\n");
    EXPECT_EQ(Pieces("C:\\IN.TXT", "rw", 16), (Lines{"in\n"}));
    crt::FILE *in = crt::fopen("C:\\IN.TXT", "rw");
    EXPECT_EQ(crt::fputs("x", in), EOF) << "rw is r: no writing";
    EXPECT_NE(crt::ferror(in), 0);
    crt::fclose(in);
    crt::FILE *out = crt::fopen("C:\\IN.TXT", "a");
    char buffer[8];
    EXPECT_EQ(crt::fgets(buffer, sizeof buffer, out), nullptr) << "a is for writing only";
    EXPECT_EQ(crt::ferror(out), 0);
    crt::fclose(out);
    EXPECT_EQ(winsim::FileBytes("C:\\IN.TXT"), "in\r\n");
}

TEST_F(WinsimStreamsTest, OpeningFailsForMissingReadOnlyAndFolderNames)
{
    winsim::PutFile("C:\\LOCKED.TXT", "x\r\n");
    winsim::SetReadOnly("C:\\LOCKED.TXT", true);
    CreateDirectoryA("C:\\DIR", nullptr);
    struct Case {
        const char *path;
        const char *mode;
    } cases[] = {
        {"C:\\NONE.TXT", "r"}, {"C:\\NONE.TXT", "r+"}, {"C:\\NODIR\\X.TXT", "w"}, {"C:\\LOCKED.TXT", "w"},
        {"C:\\LOCKED.TXT", "a"}, {"C:\\LOCKED.TXT", "r+"}, {"C:\\DIR", "r"}, {"C:\\LOCKED.TXT", "x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(crt::fopen(c.path, c.mode), nullptr) << c.path << " " << c.mode;
    EXPECT_EQ(Pieces("c:\\locked.txt", "r", 16), (Lines{"x\n"})) << "a read-only file can be read";
    EXPECT_EQ(winsim::FileBytes("C:\\LOCKED.TXT"), "x\r\n");
}

TEST_F(WinsimStreamsTest, FullDiskShowsInFcloseForABufferedWrite)
{
    winsim::FailWritesAfter("C:\\OUT.TXT", 5);
    crt::FILE *out = crt::fopen("C:\\OUT.TXT", "w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(crt::fputs("abc\ndef\n", out), 0) << "still in the buffer";
    EXPECT_EQ(crt::ferror(out), 0);
    EXPECT_EQ(crt::fclose(out), EOF);
    EXPECT_EQ(winsim::FileBytes("C:\\OUT.TXT"), "abc\r\n") << "what fitted was written";
}

TEST_F(WinsimStreamsTest, FullDiskShowsInFputsOnceTheBufferFills)
{
    winsim::FailWritesAfter("c:\\out.txt", 100);
    crt::FILE *out = crt::fopen("C:\\OUT.TXT", "wb");
    ASSERT_NE(out, nullptr);
    const std::string line(1000, 'x');
    int result = 0;
    for (int i = 0; i < 5 && result != EOF; ++i)
        result = crt::fputs(line.c_str(), out);
    EXPECT_EQ(result, EOF);
    EXPECT_NE(crt::ferror(out), 0);
    crt::fclose(out);
    EXPECT_EQ(winsim::FileBytes("C:\\OUT.TXT")->size(), 100u);
}

TEST_F(WinsimStreamsTest, RenameNeverReplacesAndRemoveSparesReadOnlyFiles)
{
    winsim::PutFile("C:\\OLD.TXT", "old");
    winsim::PutFile("C:\\NEW.TXT", "new");
    EXPECT_NE(crt::rename("C:\\NEW.TXT", "C:\\old.txt"), 0);
    EXPECT_EQ(winsim::FileBytes("C:\\OLD.TXT"), "old");
    EXPECT_EQ(winsim::FileBytes("C:\\NEW.TXT"), "new");
    EXPECT_NE(crt::rename("C:\\NONE.TXT", "C:\\X.TXT"), 0);

    EXPECT_EQ(crt::remove("C:\\OLD.TXT"), 0);
    EXPECT_EQ(crt::rename("C:\\NEW.TXT", "C:\\OLD.TXT"), 0);
    EXPECT_EQ(winsim::FileBytes("C:\\OLD.TXT"), "new");
    EXPECT_FALSE(winsim::FileExists("C:\\NEW.TXT"));

    winsim::SetReadOnly("C:\\OLD.TXT", true);
    EXPECT_NE(crt::remove("C:\\OLD.TXT"), 0);
    EXPECT_TRUE(winsim::FileExists("C:\\OLD.TXT"));
    EXPECT_NE(crt::remove("C:\\NONE.TXT"), 0);
    CreateDirectoryA("C:\\DIR", nullptr);
    EXPECT_NE(crt::remove("C:\\DIR"), 0);
}

}  // namespace
