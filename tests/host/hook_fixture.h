// The fixture of the hook library's host tests: a fresh simulated platform, the
// shared section back at its image values, and the library attached to a module that
// carries its compiled resources.
#pragma once

#include "kxhook.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

class HookTest : public ::testing::Test {
protected:
    void SetUp() override;

    HINSTANCE module = nullptr;
};

// The shared section as the image initialises it.
const SharedHookState &InitialSharedState();

// The calls to the functions with a visible effect (posts, sends, keystrokes, program
// starts), in order, as {api, args}; queries are left out.
struct Effect {
    std::string api;
    std::vector<std::uintptr_t> args;
    std::string text;
    bool operator==(const Effect &) const = default;
};
std::vector<Effect> Effects();
std::ostream &operator<<(std::ostream &out, const Effect &effect);

std::uintptr_t H(const void *handle);
