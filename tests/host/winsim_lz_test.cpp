// winsim's LZ expansion (LZOpenFileA, LZCopy, LZClose) against files the real mscompress
// writes at test time and against hand-made compressed data whose expansion was checked
// under Wine's lz32 and with msexpand: round trips, plain files, damaged files, the
// compressed-name fallback, open failures, a full disk, handles and the call log.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr char TARGET[] = "C:\\OUT\\FILE.DAT";

// A compressed file as the format lays it out: the header (with this stored length and
// algorithm byte) followed by the LZSS data given.
std::string Compressed(std::uint32_t length, const std::string &data, char algorithm = 'A')
{
    std::string file = "SZDD\x88\xF0\x27\x33";
    file += algorithm;
    file += '\0';
    for (int i = 0; i < 4; ++i)
        file += static_cast<char>(length >> (8 * i) & 0xFF);
    return file + data;
}

// Hand-made data, each expanded alike by Wine's lz32 and msexpand.
// Two literals, then a reference to where the first was written (4096 - 16) for 10
// bytes: it overlaps the bytes it puts out.
const std::string OVERLAP_DATA("\x03" "ab" "\xF0\xF7", 5);
const std::string OVERLAP_TEXT = "abababababab";
// Sixteen literals fill the ring up to its end; a reference from 4094 for 4 bytes then
// reads across the end of the ring and the bytes it has just written at its start.
const std::string WRAP_DATA("\xFF" "ABCDEFGH" "\xFF" "IJKLMNOP" "\x00" "\xFE\xF1", 21);
const std::string WRAP_TEXT = "ABCDEFGHIJKLMNOPOPOP";

bool HaveTool(const char *tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

bool HaveCompressor()
{
    static const bool have = HaveTool("mscompress") && HaveTool("msexpand");
    return have;
}

#define SKIP_WITHOUT_COMPRESSOR()                                                            \
    if (!HaveCompressor())                                                                   \
    GTEST_SKIP() << "mscompress and msexpand are missing (Debian package mscompress; "       \
                    "scripts/lib/packages.sh installs it)"

std::string Quoted(const std::string &hostPath)
{
    return "'" + hostPath + "'";
}

// What msexpand makes of a file on a mapped drive.
std::string MsExpand(const std::string &windowsPath)
{
    std::FILE *pipe = popen(("msexpand < " + Quoted(winsim::HostPath(windowsPath.c_str()))).c_str(), "r");
    if (!pipe)
        return "(msexpand did not run)";
    std::string bytes;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        bytes.append(buffer, got);
    pclose(pipe);
    return bytes;
}

// Bytes that compress in every way at once: runs of noise (literals), words and phrases
// repeated near and far (short and long references), long runs of one byte, and every
// byte value.
std::string MixedBytes(std::size_t size)
{
    std::mt19937 generator(20240611);
    const std::vector<std::string> words = {"wheel ", "scroll ", "button ", "pointer ",
                                            "\r\n",   "zoom ",   std::string("\x80\xFF\x00", 3)};
    std::string bytes;
    while (bytes.size() < size) {
        switch (generator() % 5) {
        case 0:
            for (unsigned n = generator() % 300; n > 0; --n)
                bytes += static_cast<char>(generator() & 0xFF);
            break;
        case 1:
            for (unsigned n = generator() % 40; n > 0; --n)
                bytes += words[generator() % words.size()];
            break;
        case 2:
            if (bytes.size() > 100) {
                const std::size_t back = 1 + generator() % std::min<std::size_t>(bytes.size() - 1, 8000);
                bytes += bytes.substr(bytes.size() - back, 1 + generator() % 200);
            }
            break;
        case 3:
            bytes.append(generator() % 100, static_cast<char>(generator() & 0xFF));
            break;
        default:
            for (int c = 0; c < 256; ++c)
                bytes += static_cast<char>(c);
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string RepetitiveBytes(std::size_t size)
{
    std::string bytes;
    for (std::size_t block = 0; bytes.size() < size; ++block)
        bytes += block % 3 ? std::string(5000, static_cast<char>(block)) : std::string(3000, ' ') + "ab";
    bytes.resize(size);
    return bytes;
}

class WinsimLzTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        winsim::MapScratchDrive('C');
        CreateDirectoryA("C:\\IN", nullptr);
        CreateDirectoryA("C:\\OUT", nullptr);
    }

    // Every test closes what it opens.
    void TearDown() override { EXPECT_EQ(winsim::OpenLzFiles(), 0u); }

    struct Copy {
        LONG result;
        std::string bytes;  // the target's bytes afterwards
    };

    // The installer's way: open the source to read, create the target, copy, close both.
    static Copy ExpandFile(const std::string &source, const char *target = TARGET)
    {
        OFSTRUCT open = {};
        const INT in = LZOpenFileA(const_cast<LPSTR>(source.c_str()), &open, OF_READ);
        const INT out = LZOpenFileA(const_cast<LPSTR>(target), &open, OF_CREATE);
        EXPECT_NE(in, -1) << source;
        EXPECT_NE(out, -1) << target;
        const LONG result = LZCopy(in, out);
        LZClose(in);
        LZClose(out);
        return {result, winsim::FileBytes(target).value_or("(no target)")};
    }

    // Puts a file at C:\IN\<name> and compresses it with mscompress: C:\IN\<name>_.
    static std::string CompressWithTool(const std::string &name, const std::string &bytes)
    {
        const std::string plain = "C:\\IN\\" + name;
        winsim::PutFile(plain.c_str(), bytes);
        std::remove(winsim::HostPath((plain + "_").c_str()).c_str());  // mscompress keeps what is there
        const std::string command = "mscompress " + Quoted(winsim::HostPath(plain.c_str())) + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return plain + "_";
    }
};

TEST_F(WinsimLzTest, ExpandsWhatTheCompressorWritesToTheOriginalBytes)
{
    SKIP_WITHOUT_COMPRESSOR();
    struct Case {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"SIXTEEN.TXT", "0123456789abcdef"},
        {"TEXT.TXT", [] {
             std::string text;
             for (int i = 0; i < 200; ++i)
                 text += "The wheel scrolls line " + std::to_string(i % 7) + " of the window.\r\n";
             return text;
         }()},
        {"MIXED.BIN", MixedBytes(300 * 1024)},
        {"REPEAT.BIN", RepetitiveBytes(300 * 1024)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = CompressWithTool(c.name, c.bytes);
        ASSERT_EQ(winsim::FileBytes(source.c_str()).value_or("").substr(0, 4), "SZDD");
        const auto started = std::chrono::steady_clock::now();
        const Copy copy = ExpandFile(source);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(copy.result, static_cast<LONG>(c.bytes.size()));
        EXPECT_TRUE(copy.bytes == c.bytes) << "the expanded bytes differ from the original";
        EXPECT_TRUE(copy.bytes == MsExpand(source)) << "the expanded bytes differ from msexpand's";
        if (c.bytes.size() >= 100 * 1024)
            std::printf("[   time   ] %s: %zu bytes from %zu compressed in %.1f ms\n", c.name, c.bytes.size(),
                        winsim::FileBytes(source.c_str())->size(), took.count());
    }
}

// Hand-made data: the short cases mscompress gets wrong (below), and the ring's corners.
TEST_F(WinsimLzTest, ExpandsHandMadeData)
{
    struct Case {
        const char *what;
        std::string file;
        std::string text;
    } cases[] = {
        {"empty", Compressed(0, ""), ""},
        {"one byte", Compressed(1, "\x01X"), "X"},
        {"a byte above 0x7F", Compressed(2, "\x03\xFF\x80"), "\xFF\x80"},
        {"the ring starts blank", Compressed(3, std::string("\x00\x00\x00", 3)), "   "},
        {"an overlapping reference", Compressed(12, OVERLAP_DATA), OVERLAP_TEXT},
        {"a reference across the ring's end", Compressed(20, WRAP_DATA), WRAP_TEXT},
        {"the longest reference", Compressed(19, "\x01Z\xF0\xFF"), std::string(19, 'Z')},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        winsim::PutFile("C:\\IN\\HAND.DA_", c.file);
        const Copy copy = ExpandFile("C:\\IN\\HAND.DA_");
        EXPECT_EQ(copy.result, static_cast<LONG>(c.text.size()));
        EXPECT_EQ(copy.bytes, c.text);
        if (HaveCompressor()) {
            EXPECT_EQ(MsExpand("C:\\IN\\HAND.DA_"), c.text);
        }
    }
}

// mscompress writes wrong data for files below 16 bytes (an empty file comes out as one
// 0x00 byte, "X" as 0x00, 15 bytes lose their first). What it writes still expands as
// msexpand (and the platform) expand it: the stored length is not what ends the data.
TEST_F(WinsimLzTest, ExpandsTheCompressorsShortFilesAsMsexpandDoes)
{
    SKIP_WITHOUT_COMPRESSOR();
    for (std::size_t size : {0u, 1u, 15u}) {
        SCOPED_TRACE(size);
        const std::string source = CompressWithTool("SHORT.BIN", std::string(size, 'q'));
        const Copy copy = ExpandFile(source);
        EXPECT_EQ(copy.bytes, MsExpand(source));
        EXPECT_EQ(copy.result, static_cast<LONG>(copy.bytes.size()));
    }
}

TEST_F(WinsimLzTest, CopiesAnythingElseUnchanged)
{
    const std::string header = Compressed(20, "");
    std::string badFirst = Compressed(20, WRAP_DATA), badLast = badFirst;
    badFirst[0] = 'X';
    badLast[7] = 0x34;
    struct Case {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"an empty file", ""},
        {"text", "[Setup]\r\nTitle=Wheel\r\n"},
        {"4 bytes of a header", header.substr(0, 4)},
        {"8 bytes of a header", header.substr(0, 8)},
        {"13 bytes of a header", header.substr(0, 13)},
        {"the magic's first byte changed", badFirst},
        {"the magic's last byte changed", badLast},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        winsim::PutFile("C:\\IN\\PLAIN.DA_", c.bytes);
        const Copy copy = ExpandFile("C:\\IN\\PLAIN.DA_");
        EXPECT_EQ(copy.result, static_cast<LONG>(c.bytes.size()));
        EXPECT_EQ(copy.bytes, c.bytes);
    }
}

TEST_F(WinsimLzTest, StoredLengthDoesNotEndTheData)
{
    for (std::uint32_t length : {0u, 1u, 11u, 13u, 4096u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(length);
        winsim::PutFile("C:\\IN\\LIES.DA_", Compressed(length, OVERLAP_DATA));
        const Copy copy = ExpandFile("C:\\IN\\LIES.DA_");
        EXPECT_EQ(copy.result, 12);
        EXPECT_EQ(copy.bytes, OVERLAP_TEXT);
    }
}

// A file cut short gives what its complete items give; half a reference is dropped, and
// LZCopy reports the bytes written, not an error (as the platform does).
TEST_F(WinsimLzTest, FileCutShortGivesItsCompleteItems)
{
    const std::string whole = Compressed(20, WRAP_DATA);
    // Items: flag at 14, A-H at 15-22, flag at 23, I-P at 24-31, flag at 32, reference at 33-34.
    for (std::size_t cut = 14; cut <= whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::size_t literals = 0;
        if (cut > 15)
            literals = std::min<std::size_t>(cut - 15, 8);
        if (cut > 24)
            literals = 8 + std::min<std::size_t>(cut - 24, 8);
        const std::string text = cut == whole.size() ? WRAP_TEXT : WRAP_TEXT.substr(0, literals);
        winsim::PutFile("C:\\IN\\CUT.DA_", whole.substr(0, cut));
        const Copy copy = ExpandFile("C:\\IN\\CUT.DA_");
        EXPECT_EQ(copy.result, static_cast<LONG>(text.size()));
        EXPECT_EQ(copy.bytes, text);
    }
}

// Every cut of a real compressed file, inside items of every kind: the expansion is
// always a beginning of the original, and never shrinks as the cut moves on.
TEST_F(WinsimLzTest, EveryCutOfACompressedFileStopsCleanly)
{
    SKIP_WITHOUT_COMPRESSOR();
    const std::string original = MixedBytes(3000);
    const std::string whole = winsim::FileBytes(CompressWithTool("CUT.BIN", original).c_str()).value_or("");
    ASSERT_GT(whole.size(), 14u);
    std::size_t before = 0;
    for (std::size_t cut = 14; cut < whole.size(); ++cut) {
        winsim::PutFile("C:\\IN\\CUT.DA_", whole.substr(0, cut));
        const Copy copy = ExpandFile("C:\\IN\\CUT.DA_");
        ASSERT_EQ(copy.result, static_cast<LONG>(copy.bytes.size())) << cut;
        ASSERT_EQ(copy.bytes, original.substr(0, copy.bytes.size())) << cut;
        ASSERT_GE(copy.bytes.size(), before) << cut;
        before = copy.bytes.size();
    }
    EXPECT_GT(before, original.size() - 20);
}

// The header with an algorithm other than 'A': the platform opens the file, but LZCopy
// writes nothing and returns 0.
TEST_F(WinsimLzTest, UnknownAlgorithmCopiesNothing)
{
    winsim::PutFile("C:\\IN\\ALGO.DA_", Compressed(12, OVERLAP_DATA, 'B'));
    const Copy copy = ExpandFile("C:\\IN\\ALGO.DA_");
    EXPECT_EQ(copy.result, 0);
    EXPECT_EQ(copy.bytes, "");
}

TEST_F(WinsimLzTest, OpeningFillsTheStructureWithThePathOpened)
{
    winsim::PutFile("C:\\IN\\Data.Txt", "x");
    winsim::SetCurrentDirectoryForTest("C:\\IN");
    OFSTRUCT open;
    std::memset(&open, 0xCC, sizeof open);
    const INT handle = LZOpenFileA(const_cast<LPSTR>("data.txt"), &open, OF_READ);
    EXPECT_NE(handle, -1);
    EXPECT_EQ(open.cBytes, sizeof(OFSTRUCT));
    EXPECT_EQ(open.nErrCode, 0);
    EXPECT_STREQ(open.szPathName, "C:\\IN\\data.txt");
    EXPECT_EQ(open.fFixedDisk, 0xCC) << "left alone, as the platform does";
    LZClose(handle);
}

TEST_F(WinsimLzTest, CreatingEmptiesAnExistingTarget)
{
    winsim::PutFile(TARGET, "old contents, longer than the new ones");
    OFSTRUCT open = {};
    LZClose(LZOpenFileA(const_cast<LPSTR>(TARGET), &open, OF_CREATE));
    EXPECT_EQ(winsim::FileBytes(TARGET), "");

    winsim::PutFile(TARGET, "old contents, longer than the new ones");
    winsim::PutFile("C:\\IN\\NEW.DA_", Compressed(12, OVERLAP_DATA));
    EXPECT_EQ(ExpandFile("C:\\IN\\NEW.DA_").bytes, OVERLAP_TEXT);

    // OF_WRITE opens the file as it is: the copy writes over its start.
    winsim::PutFile(TARGET, "old contents, longer than the new ones");
    const INT in = LZOpenFileA(const_cast<LPSTR>("C:\\IN\\NEW.DA_"), &open, OF_READ);
    const INT out = LZOpenFileA(const_cast<LPSTR>(TARGET), &open, OF_WRITE);
    EXPECT_EQ(LZCopy(in, out), 12);
    LZClose(in);
    LZClose(out);
    EXPECT_EQ(winsim::FileBytes(TARGET), OVERLAP_TEXT + ", longer than the new ones");
}

// When a name cannot be opened the platform tries its compressed name: the last
// character turned into "_" (an extension of 3 or more characters after the first dot),
// "_" appended (a shorter one), "._" appended (none).
TEST_F(WinsimLzTest, CompressedNameIsTriedWhenANameCannotBeOpened)
{
    struct Case {
        const char *asked;
        const char *tried;
    } cases[] = {
        {"C:\\IN\\A.TXT", "C:\\IN\\A.TX_"},           {"C:\\IN\\B.TX", "C:\\IN\\B.TX_"},
        {"C:\\IN\\C.T", "C:\\IN\\C.T_"},              {"C:\\IN\\D", "C:\\IN\\D._"},
        {"C:\\IN\\E.TEXT", "C:\\IN\\E.TEX_"},         {"C:\\IN\\F.LONG.NAME", "C:\\IN\\F.LONG.NAM_"},
        {"C:\\IN\\G.D.X", "C:\\IN\\G.D._"},           {"C:\\IN\\DIR.X\\H", "C:\\IN\\DIR.X\\H._"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.asked);
        winsim::PutFile(c.tried, Compressed(12, OVERLAP_DATA));
        OFSTRUCT open = {};
        const INT handle = LZOpenFileA(const_cast<LPSTR>(c.asked), &open, OF_READ);
        EXPECT_NE(handle, -1);
        EXPECT_STREQ(open.szPathName, c.tried);
        LZClose(handle);
    }
    EXPECT_EQ(ExpandFile("C:\\IN\\A.TXT").bytes, OVERLAP_TEXT) << "the compressed name is expanded";

    // A read-only target: its compressed name is created in its place.
    winsim::PutFile("C:\\OUT\\LOCKED.DLL", "kept");
    winsim::SetReadOnly("C:\\OUT\\LOCKED.DLL", true);
    OFSTRUCT open = {};
    const INT out = LZOpenFileA(const_cast<LPSTR>("C:\\OUT\\LOCKED.DLL"), &open, OF_CREATE);
    EXPECT_NE(out, -1);
    EXPECT_STREQ(open.szPathName, "C:\\OUT\\LOCKED.DL_");
    EXPECT_EQ(winsim::FileBytes("C:\\OUT\\LOCKED.DL_"), "");
    EXPECT_EQ(winsim::FileBytes("C:\\OUT\\LOCKED.DLL"), "kept");
    LZClose(out);
}

TEST_F(WinsimLzTest, OpenFailureGivesMinusOneAndTheError)
{
    winsim::PutFile("C:\\OUT\\LOCKED.DLL", "kept");
    winsim::PutFile("C:\\OUT\\LOCKED.DL_", "kept too");
    winsim::SetReadOnly("C:\\OUT\\LOCKED.DLL", true);
    winsim::SetReadOnly("C:\\OUT\\LOCKED.DL_", true);
    struct Case {
        const char *path;
        WORD mode;
        WORD error;
    } cases[] = {
        {"C:\\IN\\MISSING.TXT", OF_READ, ERROR_FILE_NOT_FOUND},
        {"C:\\NOFOLDER\\A.TXT", OF_READ, ERROR_FILE_NOT_FOUND},
        {"C:\\IN", OF_READ, ERROR_FILE_NOT_FOUND},
        {"Q:\\A.TXT", OF_READ, ERROR_FILE_NOT_FOUND},
        {"C:\\NOFOLDER\\A.TXT", OF_CREATE, ERROR_PATH_NOT_FOUND},
        {"Q:\\A.TXT", OF_CREATE, ERROR_FILE_NOT_FOUND},
        {"C:\\OUT\\LOCKED.DLL", OF_CREATE, ERROR_ACCESS_DENIED},
        {"C:\\OUT\\MISSING.TXT", OF_WRITE, ERROR_FILE_NOT_FOUND},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.path) + " mode " + std::to_string(c.mode));
        OFSTRUCT open;
        std::memset(&open, 0xCC, sizeof open);
        EXPECT_EQ(LZOpenFileA(const_cast<LPSTR>(c.path), &open, c.mode), -1);
        EXPECT_EQ(open.nErrCode, c.error);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(open.cBytes, 0xCC) << "only nErrCode is set";
    }
    EXPECT_FALSE(winsim::DirectoryExists("C:\\NOFOLDER"));
    EXPECT_EQ(winsim::FileBytes("C:\\OUT\\LOCKED.DLL"), "kept");
    EXPECT_EQ(winsim::FileBytes("C:\\OUT\\LOCKED.DL_"), "kept too");
}

TEST_F(WinsimLzTest, FullDiskGivesWriteErrorAfterWritingWhatFits)
{
    const std::string plain = MixedBytes(5000);
    winsim::PutFile("C:\\IN\\PLAIN.BIN", plain);
    winsim::PutFile("C:\\IN\\WRAP.DA_", Compressed(20, WRAP_DATA));
    struct Case {
        const char *source;
        std::string expanded;
        std::size_t room;
    } cases[] = {
        {"C:\\IN\\PLAIN.BIN", plain, 1000},
        {"C:\\IN\\WRAP.DA_", WRAP_TEXT, 18},
        {"C:\\IN\\WRAP.DA_", WRAP_TEXT, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.source) + " room " + std::to_string(c.room));
        winsim::FailWritesAfter(TARGET, c.room);
        const Copy copy = ExpandFile(c.source);
        EXPECT_EQ(copy.result, LZERROR_WRITE);
        EXPECT_TRUE(copy.bytes == c.expanded.substr(0, c.room));
    }
}

TEST_F(WinsimLzTest, HandlesAreDistinctAndStaleOnesDoNoHarm)
{
    winsim::PutFile("C:\\IN\\A.DA_", Compressed(12, OVERLAP_DATA));
    winsim::PutFile("C:\\IN\\B.TXT", "plain");
    OFSTRUCT open = {};
    const INT a = LZOpenFileA(const_cast<LPSTR>("C:\\IN\\A.DA_"), &open, OF_READ);
    const INT b = LZOpenFileA(const_cast<LPSTR>("C:\\IN\\B.TXT"), &open, OF_READ);
    const INT out = LZOpenFileA(const_cast<LPSTR>(TARGET), &open, OF_CREATE);
    LZClose(a);
    const INT again = LZOpenFileA(const_cast<LPSTR>("C:\\IN\\A.DA_"), &open, OF_READ);
    const std::vector<INT> handles = {a, b, out, again};
    for (std::size_t i = 0; i < handles.size(); ++i) {
        EXPECT_GE(handles[i], 0);
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(handles[i], handles[j]) << "handles " << i << " and " << j;
    }

    LZClose(a);
    LZClose(-1);
    LZClose(12345);
    EXPECT_EQ(winsim::OpenLzFiles(), 3u) << "closing what is not open changes nothing";

    EXPECT_EQ(LZCopy(-1, out), 0) << "a failed open's -1 copies nothing";
    EXPECT_EQ(LZCopy(a, out), LZERROR_READ) << "a closed handle";
    EXPECT_EQ(LZCopy(again, -1), LZERROR_WRITE);
    EXPECT_EQ(LZCopy(again, b), LZERROR_WRITE) << "a target opened to read";
    EXPECT_EQ(winsim::FileBytes(TARGET), "");

    EXPECT_EQ(LZCopy(b, out), 5);
    EXPECT_EQ(LZCopy(again, out), 12);
    EXPECT_EQ(LZCopy(again, out), 0) << "a source is read once";
    EXPECT_EQ(winsim::FileBytes(TARGET), "plain" + OVERLAP_TEXT);
    for (INT handle : {b, out, again})
        LZClose(handle);
}

TEST_F(WinsimLzTest, EveryCallIsLogged)
{
    winsim::PutFile("C:\\IN\\A.DA_", Compressed(12, OVERLAP_DATA));
    winsim::ClearCalls();
    OFSTRUCT open = {};
    const INT in = LZOpenFileA(const_cast<LPSTR>("C:\\IN\\A.DA_"), &open, OF_READ);
    const INT out = LZOpenFileA(const_cast<LPSTR>(TARGET), &open, OF_CREATE);
    LZCopy(in, out);
    LZClose(in);
    LZClose(out);
    const auto arg = [](INT handle) { return static_cast<std::uintptr_t>(handle); };
    const std::vector<winsim::Call> expected = {
        {"LZOpenFileA", {OF_READ}, "C:\\IN\\A.DA_"},
        {"LZOpenFileA", {OF_CREATE}, TARGET},
        {"LZCopy", {arg(in), arg(out)}, ""},
        {"LZClose", {arg(in)}, ""},
        {"LZClose", {arg(out)}, ""},
    };
    ASSERT_EQ(winsim::Calls().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(winsim::Calls()[i].api, expected[i].api);
        EXPECT_EQ(winsim::Calls()[i].args, expected[i].args);
        EXPECT_EQ(winsim::Calls()[i].text, expected[i].text);
    }
}

}  // namespace
