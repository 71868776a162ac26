// The fixture of the installer's host tests: a fresh simulated platform with drive C:
// on a scratch folder, the installer's string table loaded as the program's module,
// and an empty installation configuration.
#pragma once

#include "setup.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <string>

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        winsim::MapScratchDrive('C');
        programInstance = winsim::LoadModule(SETUP_RES_PATH);
        ASSERT_NE(programInstance, nullptr) << "cannot read " << SETUP_RES_PATH;
        config = InstallConfig{};
        CopyWindowsDir("C:\\WINDOWS");
        serialMouse = 1;
    }

    void TearDown() override { FreeFileTable(); }

    static void CopyWindowsDir(const char *path)
    {
        std::snprintf(config.windowsDir, sizeof config.windowsDir, "%s", path);
    }

    // Writes C:\DISK\SETUP.INF (CR LF line ends) and makes C:\DISK\SETUP.EXE the program.
    static void WriteScript(const std::string &lines)
    {
        std::string bytes;
        for (char c : lines) {
            if (c == '\n')
                bytes += '\r';
            bytes += c;
        }
        winsim::PutFile("C:\\DISK\\SETUP.INF", bytes);
        winsim::SetModuleFileName(nullptr, "C:\\DISK\\SETUP.EXE");
    }
};
