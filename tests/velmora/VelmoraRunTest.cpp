// Whole runs of the application object: the silent check, the dialog, and
// what each way of leaving it starts.
#include "VelmoraFixture.h"

#include "../support/Gui.h"

using namespace velmora_test;

namespace {
const char kMarker[] = "\\50COMUPD.RUN";   // written by the stand-in package beside itself

class VelmoraRun : public VelmoraTest
{
protected:
    void TearDown() override
    {
        ::SetEnvironmentVariableA("ZORVALIA_UPDATER_LINGER_MS", nullptr);
        VelmoraTest::TearDown();
    }

    // Puts a copy of the stand-in package into the scratch folder.
    void ProvidePackage(const ScratchCurrentDir& dir)
    {
        std::string from = HostPath(UPDATER_EXE_PATH);
        ASSERT_TRUE(::CopyFileA(from.c_str(), (dir.path + "\\50COMUPD.EXE").c_str(), FALSE))
            << from << " error " << ::GetLastError();
    }
};
}  // namespace

TEST_F(VelmoraRun, SilentCheckEndsWithoutAnyWindowFrom580On)
{
    for (const char* dll : {"cc_v580", "cc_v581", "cc_v600"}) {
        SCOPED_TRACE(dll);
        RunResult r = RunVelmora("S", StandIn(dll), Answer::Cancel);
        EXPECT_FALSE(r.shown);
        EXPECT_FALSE(r.returned);
    }
}

TEST_F(VelmoraRun, DialogAppearsUnlessTheSilentCheckFindsACurrentLibrary)
{
    struct Case { const char* cmdLine; const char* dll; };
    const Case cases[] = {{"S", "cc_v472"}, {"S", "cc_absent"}, {"s", "cc_v581"}, {"X", "cc_v600"},
                          {" S", "cc_v581"}, {"", "cc_v581"}, {nullptr, "cc_v580"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("command line \"") + (c.cmdLine ? c.cmdLine : "(none)") + "\", " + c.dll);
        RunResult r = RunVelmora(c.cmdLine, StandIn(c.dll), Answer::Cancel);
        EXPECT_TRUE(r.shown);
        EXPECT_FALSE(r.timedOut);
        EXPECT_FALSE(r.returned);
    }
    // The silent check with an old library shows the very same dialog.
    EXPECT_EQ("MELDUNG: Ein Update ist dringend erforderlich, damit Texorra 3.0 auf Ihrem System laufen kann!",
              RunVelmora("S", StandIn("cc_v472"), Answer::Cancel).verdict);
}

TEST_F(VelmoraRun, CancelAndTheCloseBoxStartNothing)
{
    ScratchCurrentDir dir;
    ProvidePackage(dir);
    for (Answer answer : {Answer::Cancel, Answer::CloseBox}) {
        RunResult r = RunVelmora("", StandIn("cc_v472"), answer);
        EXPECT_TRUE(r.shown);
        EXPECT_FALSE(r.timedOut);
    }
    EXPECT_FALSE(WaitForFile(dir.path + kMarker, 1500));
}

TEST_F(VelmoraRun, UpdateStartsThePackageInTheCurrentDirectoryAndDoesNotWait)
{
    ScratchCurrentDir dir;
    ProvidePackage(dir);
    // The package stays for six seconds; the program must be gone long before.
    ::SetEnvironmentVariableA("ZORVALIA_UPDATER_LINGER_MS", "6000");
    RunResult r = RunVelmora("", StandIn("cc_v472"), Answer::Update);
    EXPECT_TRUE(r.shown);
    EXPECT_FALSE(r.timedOut);
    EXPECT_FALSE(r.returned);
    EXPECT_LT(r.elapsedMs, 4000u);
    EXPECT_TRUE(WaitForFile(dir.path + kMarker, 10000)) << "the package was not started from " << dir.path;
}

TEST_F(VelmoraRun, MissingPackageIsNotReported)
{
    ScratchCurrentDir dir;
    gui::MessageBoxRecorder boxes;
    RunResult r = RunVelmora("", StandIn("cc_v472"), Answer::Update);
    gui::Pump(300);
    EXPECT_TRUE(r.shown);
    EXPECT_FALSE(r.timedOut);
    EXPECT_FALSE(r.returned);
    EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
}
