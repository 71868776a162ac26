// Global memory: GlobalAlloc, GlobalLock, GlobalUnlock, GlobalFree, and the test
// controls that fail an allocation and count the blocks not freed.
//
// The rules follow what the platform does (checked under Wine):
// - A fixed block's handle is its address; GlobalLock gives it back and GlobalUnlock
//   returns TRUE.
// - A moveable block (GMEM_MOVEABLE, GHND) has a handle that is not an address;
//   GlobalLock counts locks, GlobalUnlock returns TRUE while locks remain and FALSE
//   when the last one goes (or, with ERROR_NOT_LOCKED, when there was none). A
//   moveable block of 0 bytes locks to null.
// - GlobalFree returns null on success (a locked block is freed too) and for null;
//   for a handle it did not hand out it returns that handle (ERROR_INVALID_HANDLE).
// - A failed allocation returns null with ERROR_NOT_ENOUGH_MEMORY.
// Without GMEM_ZEROINIT a block is filled with 0xA5, so that code counting on zeros
// shows itself.
#include "world.h"

#include <cstring>

namespace winsim {
namespace {

constexpr SIZE_T LARGEST_BLOCK = SIZE_T{1} << 30;

GlobalBlock *FindBlock(HGLOBAL memory)
{
    auto found = TheWorld().globalBlocks.find(Arg(memory));
    return found == TheWorld().globalBlocks.end() ? nullptr : &found->second;
}

}  // namespace

void FailNextGlobalAlloc()
{
    TheWorld().failNextGlobalAlloc = true;
}

std::size_t GlobalBlocksInUse()
{
    return TheWorld().globalBlocks.size();
}

}  // namespace winsim

using namespace winsim;

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes)
{
    Log("GlobalAlloc", {flags, bytes});
    World &world = TheWorld();
    if (world.failNextGlobalAlloc || bytes > LARGEST_BLOCK) {
        world.failNextGlobalAlloc = false;
        SetError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    GlobalBlock block{std::make_unique<BYTE[]>(bytes ? bytes : 1), bytes, (flags & GMEM_MOVEABLE) != 0, 0};
    std::memset(block.bytes.get(), (flags & GMEM_ZEROINIT) ? 0 : 0xA5, bytes ? bytes : 1);
    std::uintptr_t handle = Arg(block.bytes.get());
    if (block.moveable)
        handle = GLOBAL_HANDLE_BASE + 8 * world.moveableHandlesMade++;
    world.globalBlocks.emplace(handle, std::move(block));
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID GlobalLock(HGLOBAL memory)
{
    Log("GlobalLock", {Arg(memory)});
    GlobalBlock *block = FindBlock(memory);
    if (!block) {
        SetError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!block->moveable)
        return block->bytes.get();
    ++block->locks;
    return block->size ? block->bytes.get() : nullptr;
}

BOOL GlobalUnlock(HGLOBAL memory)
{
    Log("GlobalUnlock", {Arg(memory)});
    GlobalBlock *block = FindBlock(memory);
    if (!block) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!block->moveable)
        return TRUE;
    if (block->locks == 0) {
        SetError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->locks > 0)
        return TRUE;
    SetError(NO_ERROR);
    return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory)
{
    Log("GlobalFree", {Arg(memory)});
    if (!memory)
        return nullptr;
    if (TheWorld().globalBlocks.erase(Arg(memory)) == 0) {
        SetError(ERROR_INVALID_HANDLE);
        return memory;
    }
    return nullptr;
}
