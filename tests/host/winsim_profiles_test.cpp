// winsim's profile functions against the platform's rules (each seen under Wine):
// matching, trimming, quotes, defaults, cutting, integers, lists, where a bare file
// name lives, and how a write rewrites the file.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr const char *INI = "C:\\TEST.INI";

constexpr const char *SAMPLE = "; leading comment\r\n"
                               "[Sec]\r\n"
                               "  Key1  =  value one  \r\n"
                               "quoted=\"in quotes\"\r\n"
                               "squoted='single'\r\n"
                               "halfq=\"open\r\n"
                               "innerq=a \"b\" c\r\n"
                               ";commented=yes\r\n"
                               "empty=\r\n"
                               "noequals\r\n"
                               "dup=first\r\n"
                               "dup=second\r\n"
                               "eq=a=b\r\n"
                               "semi=val ; trailing\r\n"
                               "tab=\tx\t\r\n"
                               "\r\n"
                               "[ Spaced Section ]\r\n"
                               "k=v\r\n"
                               "[sec]\r\n"
                               "second=in a later section of the same name\r\n"
                               "[Other]junk\r\n"
                               "ok=1\n"  // a lone LF ends a line too
                               "[Broken\r\n"
                               "bk=bv\r\n";

class WinsimProfilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        winsim::MapScratchDrive('C');
    }

    static std::string Get(const char *section, const char *key, const char *fallback, DWORD size = 64,
                           DWORD *copied = nullptr)
    {
        char buffer[80];
        std::memset(buffer, '#', sizeof buffer);
        const DWORD result = GetPrivateProfileStringA(section, key, fallback, buffer, size, INI);
        if (copied)
            *copied = result;
        EXPECT_EQ(std::strlen(buffer), result) << "the return value is the length copied";
        return buffer;
    }

    // A list result (names each terminated) as "a|b|" up to `count` characters.
    static std::string List(const char *section, DWORD size, DWORD *count)
    {
        char buffer[80];
        std::memset(buffer, '#', sizeof buffer);
        *count = GetPrivateProfileStringA(section, nullptr, "dflt", buffer, size, INI);
        std::string list(buffer, std::min<std::size_t>(size, sizeof buffer));
        for (char &c : list)
            if (c == '\0')
                c = '|';
        return list;
    }
};

TEST_F(WinsimProfilesTest, ReadingMatchesTrimsAndUnquotes)
{
    winsim::PutFile(INI, SAMPLE);
    struct Case {
        const char *section;
        const char *key;
        const char *fallback;
        const char *expected;
    } cases[] = {
        {"sec", "key1", "d", "value one"},           // case-insensitive, blanks trimmed
        {" SEC ", " KEY1 ", "d", "value one"},       // the names asked are trimmed too
        {"Sec", "quoted", "d", "in quotes"},         // double quotes go
        {"Sec", "squoted", "d", "single"},           // single quotes too
        {"Sec", "halfq", "d", "\"open"},             // an unmatched quote stays
        {"Sec", "innerq", "d", "a \"b\" c"},         // inner quotes stay
        {"Sec", "empty", "d", ""},                   // "key=" is "", not the default
        {"Sec", "noequals", "d", "d"},               // a line without "=" is no value
        {"Sec", "commented", "d", "d"},              // ";commented" is not "commented"
        {"Sec", ";commented", "d", "yes"},           // ... it is a key of that name
        {"Sec", "dup", "d", "first"},                // the first of two keys counts
        {"Sec", "eq", "d", "a=b"},                   // split at the first "="
        {"Sec", "semi", "d", "val ; trailing"},      // no comments after a value
        {"Sec", "tab", "d", "x"},                    // tabs are blanks
        {"spaced section", "k", "d", "v"},           // section names are trimmed
        {"Sec", "second", "d", "d"},                 // a later section of the same name is never seen
        {"Other", "bk", "d", "bv"},                       // "[Broken" is no section header...
        {"Broken", "bk", "d", "d"},
        {"Other", "ok", "d", "1"},                   // text after "]" is ignored
        {"Sec", "missing", "  de fault  ", "  de fault"},  // the default loses trailing blanks only
        {"Sec", "missing", "\"quoted\"", "quoted"},  // ... and its quotes
        {"Sec", "missing", nullptr, ""},             // a null default is ""
        {"Nosection", "k", "d", "d"},
        {"Sec", "", "d", "d"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Get(c.section, c.key, c.fallback), c.expected) << "[" << c.section << "] " << c.key;
}

TEST_F(WinsimProfilesTest, ResultsAreCutToSizeMinusOne)
{
    winsim::PutFile(INI, SAMPLE);
    struct Case {
        const char *key;
        DWORD size;
        const char *expected;
    } cases[] = {
        {"key1", 4, "val"}, {"key1", 1, ""}, {"quoted", 4, "in "}, {"missing", 4, "dfl"}, {"missing", 1, ""},
    };
    for (const Case &c : cases) {
        DWORD copied = 99;
        EXPECT_EQ(Get("Sec", c.key, "dflt", c.size, &copied), c.expected) << c.key << " " << c.size;
        EXPECT_EQ(copied, std::strlen(c.expected));
    }
    char buffer[4] = "abc";
    EXPECT_EQ(GetPrivateProfileStringA("Sec", "key1", "d", buffer, 0, INI), 0u);
    EXPECT_STREQ(buffer, "abc") << "size 0 touches nothing";
}

TEST_F(WinsimProfilesTest, AMissingFileGivesTheDefaults)
{
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("a", "b", "dflt", buffer, sizeof buffer, "C:\\NONE.INI"), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(GetPrivateProfileIntA("a", "b", 7, "C:\\NONE.INI"), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("a", "b", -1, "Q:\\NONE.INI"), static_cast<UINT>(-1));
}

TEST_F(WinsimProfilesTest, IntegersAreTheLeadingNumber)
{
    winsim::PutFile(INI, "[I]\r\nneg=-5\r\nplus=+7\r\nnum=12abc\r\nalpha=abc\r\nhex=0x10\r\noct=010\r\n"
                         "bin=0b101\r\nocto=0o17\r\nneghex=-0x10\r\nspaced=- 5\r\nwrap=4294967297\r\n"
                         "empty=\r\nblank=   \r\nquoted=\"42\"\r\nbare\r\n");
    struct Case {
        const char *key;
        int expected;
    } cases[] = {
        {"neg", -5},    {"plus", 7},     {"num", 12},     {"alpha", 0}, {"hex", 16},   {"oct", 10},
        {"bin", 5},     {"octo", 15},    {"neghex", -16}, {"spaced", 0}, {"wrap", 1},  {"quoted", 42},
        {"empty", 99},  {"blank", 99},   {"bare", 99},    {"missing", 99},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetPrivateProfileIntA("i", c.key, 99, INI), static_cast<UINT>(c.expected)) << c.key;
}

TEST_F(WinsimProfilesTest, ListsOfKeysAndSectionsAreCutToSizeMinusTwo)
{
    winsim::PutFile(INI, "[S1]\r\nalpha=1\r\n;c=2\r\nnoeq\r\n Beta = 2\r\n[S2]\r\n[s1]\r\ngamma=3\r\n");
    struct Case {
        const char *section;
        DWORD size;
        const char *list;
        DWORD count;
    } cases[] = {
        {"s1", 13, "alpha|Beta||#", 11},     // names with a value, no ";" names, first section only
        {"s1", 12, "alpha|Beta|#", 10},      // one terminator short: cut to size - 2
        {"s1", 11, "alpha|Bet|#", 9},
        {"s1", 3, "a|#", 1},
        {"s1", 2, "d|", 1},                  // nothing left: the default instead
        {"S2", 8, "dflt|###", 4},            // an empty section gives the default
        {"None", 8, "dflt|###", 4},
        {nullptr, 11, "S1|S2|s1||#", 9},     // section names, duplicates too
        {nullptr, 8, "S1|S2||#", 6},
        {nullptr, 2, "|#", 0},
    };
    for (const Case &c : cases) {
        DWORD count = 99;
        EXPECT_EQ(List(c.section, c.size, &count), c.list) << (c.section ? c.section : "(null)") << " " << c.size;
        EXPECT_EQ(count, c.count) << (c.section ? c.section : "(null)") << " " << c.size;
    }
}

TEST_F(WinsimProfilesTest, ABareFileNameMeansTheWindowsDirectory)
{
    winsim::SetWindowsDirectory("C:\\WIN");
    ASSERT_TRUE(CreateDirectoryA("C:\\WIN", nullptr));
    ASSERT_TRUE(CreateDirectoryA("C:\\WORK", nullptr));
    ASSERT_TRUE(CreateDirectoryA("C:\\WORK\\SUB", nullptr));
    winsim::SetCurrentDirectoryForTest("C:\\WORK");
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "bare", "BARE.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "dot", ".\\DOT.INI"));
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "sub", "SUB\\SUB.INI"));
    EXPECT_TRUE(winsim::FileExists("C:\\WIN\\BARE.INI"));
    EXPECT_TRUE(winsim::FileExists("C:\\WORK\\DOT.INI"));
    EXPECT_TRUE(winsim::FileExists("C:\\WORK\\SUB\\SUB.INI"));
    char buffer[8];
    GetPrivateProfileStringA("S", "k", "", buffer, sizeof buffer, "bare.ini");
    EXPECT_STREQ(buffer, "bare");
}

TEST_F(WinsimProfilesTest, WritingRewritesTheFileKeepingEveryLineButBlankOnes)
{
    winsim::PutFile(INI, "; comment first\r\n\r\n[One]\r\n  Key = old value  \r\n; comment in one\r\nother=x\r\n"
                         "\r\n\r\n[Two]\r\nk2=v2\r\nnoeq\r\n[Three]\r\nk3=v3");
    EXPECT_TRUE(WritePrivateProfileStringA("one", "KEY", "  new value  ", INI));
    EXPECT_EQ(winsim::FileBytes(INI), "; comment first\r\n[One]\r\nKey=new value\r\n; comment in one\r\nother=x\r\n"
                                      "[Two]\r\nk2=v2\r\nnoeq\r\n[Three]\r\nk3=v3\r\n");

    EXPECT_TRUE(WritePrivateProfileStringA("One", "added", "y", INI));    // after the section's last line
    EXPECT_TRUE(WritePrivateProfileStringA("Two", nullptr, nullptr, INI));  // the whole section goes
    EXPECT_TRUE(WritePrivateProfileStringA("One", "other", nullptr, INI));  // the key goes
    EXPECT_TRUE(WritePrivateProfileStringA("Three", "q", "\"quoted\"", INI));  // quotes are written
    EXPECT_TRUE(WritePrivateProfileStringA("Three", "e", "", INI));
    EXPECT_TRUE(WritePrivateProfileStringA(" Four ", " key ", "v", INI));   // new names lose leading blanks only
    EXPECT_EQ(winsim::FileBytes(INI), "; comment first\r\n[One]\r\nKey=new value\r\n; comment in one\r\nadded=y\r\n"
                                      "[Three]\r\nk3=v3\r\nq=\"quoted\"\r\ne=\r\n[Four ]\r\nkey =v\r\n");
    EXPECT_TRUE(WritePrivateProfileStringA("four", "key", "w", INI));  // ... until the next write rereads them
    EXPECT_EQ(winsim::FileBytes(INI), "; comment first\r\n[One]\r\nKey=new value\r\n; comment in one\r\nadded=y\r\n"
                                      "[Three]\r\nk3=v3\r\nq=\"quoted\"\r\ne=\r\n[Four]\r\nkey=w\r\n");
}

TEST_F(WinsimProfilesTest, WritingCreatesTheFileButDeletingFromNothingCreatesNothing)
{
    EXPECT_TRUE(WritePrivateProfileStringA("Nope", "k", nullptr, INI));
    EXPECT_TRUE(WritePrivateProfileStringA("Nope", nullptr, nullptr, INI));
    EXPECT_FALSE(winsim::FileExists(INI));

    EXPECT_TRUE(WritePrivateProfileStringA("New", "a", "1", INI));
    EXPECT_TRUE(WritePrivateProfileStringA("New", "b", "2", INI));
    EXPECT_TRUE(WritePrivateProfileStringA("Second", "c", "3", INI));
    EXPECT_EQ(winsim::FileBytes(INI), "[New]\r\na=1\r\nb=2\r\n[Second]\r\nc=3\r\n");
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", INI));
}

TEST_F(WinsimProfilesTest, WritingFailsOnReadOnlyFilesMissingFoldersAndAFullDisk)
{
    const std::string original = "[a]\r\nb=c\r\n";
    winsim::PutFile("C:\\LOCKED.INI", original);
    winsim::SetReadOnly("C:\\LOCKED.INI", true);
    winsim::PutFile("C:\\FULL.INI", original);
    winsim::FailWritesAfter("C:\\FULL.INI", 8);
    struct Case {
        const char *file;
        const char *value;
        DWORD error;
    } cases[] = {
        {"C:\\LOCKED.INI", "d", ERROR_ACCESS_DENIED},
        {"C:\\LOCKED.INI", "c", ERROR_ACCESS_DENIED},  // even when nothing would change
        {"C:\\NODIR\\X.INI", "d", ERROR_PATH_NOT_FOUND},
        {"C:\\FULL.INI", "longer value", ERROR_DISK_FULL},
    };
    for (const Case &c : cases) {
        SetLastError(0);
        EXPECT_FALSE(WritePrivateProfileStringA("a", "b", c.value, c.file)) << c.file;
        EXPECT_EQ(GetLastError(), c.error) << c.file;
    }
    EXPECT_EQ(winsim::FileBytes("C:\\LOCKED.INI"), original);
    EXPECT_EQ(winsim::FileBytes("C:\\FULL.INI"), "[a]\r\nb=l") << "what fitted was written";
}

}  // namespace
