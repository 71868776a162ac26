// winsim's global memory against the platform's rules (each seen under Wine): fixed
// and moveable blocks, lock counts, freeing, and the controls that fail an allocation
// and count what was not freed.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

namespace {

class WinsimMemoryTest : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }
};

TEST_F(WinsimMemoryTest, AFixedBlockIsItsOwnAddress)
{
    HGLOBAL block = GlobalAlloc(GPTR, 64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalLock(block), block);
    const BYTE *bytes = static_cast<const BYTE *>(block);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[63], 0);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_TRUE(GlobalUnlock(block)) << "a fixed block is never locked";
    EXPECT_EQ(GlobalFree(block), nullptr);

    HGLOBAL raw = GlobalAlloc(GMEM_FIXED, 4);
    EXPECT_NE(static_cast<const BYTE *>(raw)[0], 0) << "no GMEM_ZEROINIT, no zeros";
    GlobalFree(raw);
    HGLOBAL none = GlobalAlloc(GMEM_FIXED, 0);
    EXPECT_NE(none, nullptr) << "0 bytes still give a block";
    GlobalFree(none);
}

TEST_F(WinsimMemoryTest, AMoveableBlockCountsItsLocks)
{
    HGLOBAL block = GlobalAlloc(GHND, 16);
    ASSERT_NE(block, nullptr);
    BYTE *first = static_cast<BYTE *>(GlobalLock(block));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(static_cast<void *>(first), block) << "the handle is not the address";
    EXPECT_EQ(first[15], 0);
    EXPECT_EQ(GlobalLock(block), first);

    SetLastError(99);
    EXPECT_TRUE(GlobalUnlock(block)) << "one lock left";
    EXPECT_FALSE(GlobalUnlock(block)) << "the last lock went";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

    GlobalLock(block);
    EXPECT_EQ(GlobalFree(block), nullptr) << "a locked block is freed too";
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    GlobalFree(empty);
}

TEST_F(WinsimMemoryTest, FreeingReturnsNullOrTheHandleItDidNotKnow)
{
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalFree(block), nullptr);
    SetLastError(0);
    EXPECT_EQ(GlobalFree(block), block) << "freed twice";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(WinsimMemoryTest, ControlsFailTheNextAllocationAndCountBlocksInUse)
{
    HGLOBAL kept = GlobalAlloc(GMEM_FIXED, 8);
    HGLOBAL freed = GlobalAlloc(GHND, 8);
    GlobalFree(freed);
    EXPECT_EQ(winsim::GlobalBlocksInUse(), 1u);

    winsim::FailNextGlobalAlloc();
    SetLastError(0);
    EXPECT_EQ(GlobalAlloc(GPTR, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    HGLOBAL next = GlobalAlloc(GPTR, 8);
    EXPECT_NE(next, nullptr) << "only the next one fails";
    EXPECT_EQ(winsim::GlobalBlocksInUse(), 2u);
    GlobalFree(kept);
    GlobalFree(next);
    EXPECT_EQ(winsim::GlobalBlocksInUse(), 0u);
}

}  // namespace
