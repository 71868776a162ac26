// The fixture of the wizard's host tests: the installer's resources as the program's
// module, a 1024 x 768 screen, the wizard state as the driver starts it, and a user
// who acts on whichever page is showing when the page's message loop runs dry.
#pragma once

#include "setup_fixture.h"
#include "wizard.h"

#include "res/resource_ids.h"

#include <functional>
#include <string>

class WizardTest : public SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        UseScreen(1024, 768);
        std::snprintf(config.productName, sizeof config.productName, "Velmo");
        std::snprintf(config.setupCaption, sizeof config.setupCaption, "Velmo Setup Program");
        config.minimumSpaceKB = 1024;
        pageResult = PAGE_CANCEL;
        restartNow = 1;
        backEnabled = 1;
        serialMouse = 1;
        dissolvePending = 1;
        backgroundWindow = nullptr;
    }

    void TearDown() override
    {
        winsim::SetIdleResponder({});
        SetupTest::TearDown();
    }

    static void UseScreen(int width, int height)
    {
        winsim::SetScreenSize(width, height);
        screenWidth = width;
        screenHeight = height;
    }

    // The user: called with the page showing (found by its window class) each time
    // its loop has nothing to do; the step counts the calls for that page.
    void ActOnPage(const char *pageClass, std::function<void(HWND page, int step)> act)
    {
        std::string name = pageClass;
        auto steps = std::make_shared<int>(0);
        winsim::SetIdleResponder([name, act, steps] {
            HWND page = FindWindowA(name.c_str(), nullptr);
            if (page)
                act(page, (*steps)++);
        });
    }

    // Messages shown, as "caption|text|style".
    static std::vector<std::string> Boxes()
    {
        std::vector<std::string> shown;
        for (const winsim::MessageBoxRequest &box : winsim::MessageBoxesShown())
            shown.push_back(box.caption + "|" + box.text + "|" + std::to_string(box.style));
        return shown;
    }

    static std::string Box(UINT textId, UINT style)
    {
        return std::string("Velmo Setup Program|") + LoadText(textId) + "|" + std::to_string(style);
    }
};
