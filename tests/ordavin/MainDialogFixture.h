// A fixture for tests of the main dialog: the program's registry keys are
// reset before and after each case, and the dialog runs modelessly on the
// test thread.
#pragma once

#include "../../ordavin/app/OrdavinApp.h"
#include "../../ordavin/res/resource.h"
#include "../../ordavin/ui/OrdavinDlg.h"
#include "../support/Gui.h"
#include "../support/Registry.h"
#include "../support/TestEnv.h"

#include <gtest/gtest.h>

#include <memory>

// The profile root below HKEY_CURRENT_USER.
#define PROFILE_ROOT "Software\\Quendramark\\Texorra 3.0 - Professional"

class ProgramRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reg::ResetProgramKeys();
        theApp.SetRegistryKey("Quendramark");
    }
    void TearDown() override { reg::ResetProgramKeys(); }
};

class MainDialogTest : public ProgramRegistryTest
{
protected:
    void TearDown() override
    {
        CloseDialog();
        ProgramRegistryTest::TearDown();
    }

    // Creates the dialog (its initialisation runs at once) as the
    // application's main window.
    void OpenDialog()
    {
        dlg = std::make_unique<COrdavinDlg>();
        theApp.m_pMainWnd = dlg.get();
        ASSERT_TRUE(dlg->Create());
        hDlg = dlg->m_hWnd;
        gui::Pump(50);
    }

    void CloseDialog()
    {
        dlg.reset();
        theApp.m_pMainWnd = nullptr;
        hDlg = nullptr;
        gui::Pump(20);
    }

    std::unique_ptr<COrdavinDlg> dlg;
    HWND hDlg = nullptr;
};
