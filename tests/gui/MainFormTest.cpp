// Form1: start-up, camera choice, the list refresh and every action's
// command lines and wait rule.
#include <gtest/gtest.h>

#include <utility>

#include "tests/gui/GuiFakes.h"

namespace kv::test {
namespace {

using gui::Control;
using gui::LedMode;
using Lines = std::vector<std::string>;

TEST(FormStartUpTest, FillsTheListAndShowsEverySegmentOn) {
    FormRig rig({"0870", "0990"});
    rig.form.Load();
    EXPECT_EQ(rig.view.rows, (Lines{"Camera 0870", "Camera 0990"}));
    EXPECT_TRUE(rig.view.enabled[Control::Timer1]);
    EXPECT_TRUE(rig.cameras.first);
    EXPECT_EQ(rig.form.CurrentPattern(), 15);
    EXPECT_EQ(rig.view.pictures, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST(FormStartUpTest, WithoutCamerasOnlyTheTimerStarts) {
    FormRig rig;
    rig.form.Load();
    EXPECT_TRUE(rig.view.rows.empty());
    EXPECT_TRUE(rig.view.enabled[Control::Timer1]);
    EXPECT_EQ(rig.form.CurrentPattern(), 0);
    EXPECT_FALSE(rig.cameras.first);
}

TEST(FormRefreshTest, RebuildsTheListOnlyWhenTheCountChangesAndAsksFlcCamerasForTheirAxiLed) {
    FormRig rig({"0870", "09b0", "0990"});
    rig.form.Load();
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.rows.size(), 3u);
    EXPECT_EQ(rig.view.listText, "Select Camera Model");
    EXPECT_EQ(rig.cameras.axiQueries, (std::vector<int>{1, 2}));
    EXPECT_EQ(rig.form.Settings(1).axiCaps, gui::kAxiLedPresent);
    EXPECT_EQ(rig.form.Settings(2).axiCaps, gui::kNoAxiLed);
    EXPECT_FALSE(rig.view.enabled[Control::frmAxiBrightness]) << "the last FLC camera has no AXI LED";

    rig.Choose(1);
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.chosen, 1) << "same count: the list stays";
    rig.cameras.deviceStrings.pop_back();
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.rows.size(), 2u);
    EXPECT_EQ(rig.view.chosen, -1);
    EXPECT_TRUE(rig.view.enabled[Control::frmAxiBrightness]);
}

TEST(FormRefreshTest, NeitherATickNorACameraSetChangeRebuildsTheListUnderARefresh) {
    FormRig rig({"0990", "0991", "0870"});
    rig.form.Load();
    rig.view.onMessages = [&] { rig.form.OnTimer(); };
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.rows, (Lines{"Camera 0990", "Camera 0991", "Camera 0870"}));

    // A camera arrives while the refresh asks the first FLC camera.
    rig.cameras.deviceStrings.pop_back();
    rig.view.onMessages = [&] {
        if (rig.cameras.deviceStrings.size() != 2) return;
        rig.cameras.deviceStrings.push_back(Camera("0610"));
        rig.form.OnCameraSetChanged();
    };
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.rows, (Lines{"Camera 0990", "Camera 0991", "Camera 0610"}));
}

TEST(FormRefreshTest, OffersNineCamerasAtMost) {
    FormRig rig({"0870", "0870", "0870", "0870", "0870", "0870", "0870", "0870", "0870", "0990"});
    rig.form.Load();
    EXPECT_EQ(rig.view.rows.size(), 9u);
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.rows.size(), 9u);
    EXPECT_EQ(rig.view.rows.back(), "Camera 0870");
    EXPECT_TRUE(rig.cameras.axiQueries.empty()) << "the tenth camera is not examined";
    rig.view.listText.clear();
    rig.cameras.deviceStrings.push_back(Camera("0610"));
    rig.form.OnTimer();
    EXPECT_EQ(rig.view.listText, "") << "still nine rows: no rebuild";
    rig.form.OnCameraSetChanged();
    EXPECT_EQ(rig.view.rows.size(), 9u);
}

TEST(FormRefreshTest, ACameraSetChangeRebuildsTheListAndDropsTheCurrentCamera) {
    FormRig rig({"0870"});
    rig.form.Load();
    rig.Choose(0);
    rig.cameras.deviceStrings.push_back(Camera("0990"));
    rig.form.OnCameraSetChanged();
    EXPECT_EQ(rig.view.rows.size(), 2u);
    EXPECT_EQ(rig.view.listText, "Select Camera Model");
    EXPECT_EQ(rig.cameras.current, -1);
}

TEST(FormChoiceTest, APlainModelGetsItsControlsAndNoCommand) {
    FormRig rig({"0870"});
    rig.form.Load();
    rig.view.checked[Control::optLED1] = true;
    rig.Choose(0);
    EXPECT_TRUE(rig.view.enabled[Control::frmLEDControl]);
    EXPECT_TRUE(rig.view.enabled[Control::frmAE]);
    EXPECT_FALSE(rig.view.enabled[Control::optFLC]);
    EXPECT_FALSE(rig.view.enabled[Control::frmFLCSwitch]);
    EXPECT_TRUE(rig.view.enabled[Control::OptAEOff]);
    EXPECT_FALSE(rig.view.IsChecked(Control::optLED1));
    EXPECT_EQ(rig.cameras.current, 0);
    EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST(FormChoiceTest, ADualSwitchModelLeavesTheSecondSwitchOff) {
    FormRig rig({"0990"});
    rig.form.Load();
    rig.Choose(0);
    EXPECT_TRUE(rig.cameras.first);
    EXPECT_FALSE(rig.cameras.second);
    EXPECT_TRUE(rig.view.enabled[Control::optFLC]);
}

TEST(FormChoiceTest, ReChoosingACameraRestoresItsSettingsAndResendsItsLedChoice) {
    FormRig rig({"0870", "0610"});
    rig.form.Load();
    rig.Choose(0);
    rig.view.checked[Control::optLED1] = true;
    rig.form.OnOptionClicked(Control::optLED1);
    rig.view.sliders[Control::HScroll5] = 2;
    rig.form.OnSliderChanged(Control::HScroll5);
    rig.Choose(1);
    rig.TakeCommands();

    rig.Choose(0);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"LED on 1 -CAM1"}));
    EXPECT_TRUE(rig.view.IsChecked(Control::optLED1));
    EXPECT_EQ(rig.view.sliders[Control::HScroll5], 2);
    EXPECT_EQ(rig.form.Settings(0).ledMode, LedMode::Led1);
}

TEST(FormLedTest, PlainModelsSwitchTheirLedSetsWithoutWaiting) {
    FormRig rig({"0870", "0610"});
    rig.form.Load();
    rig.Choose(1);
    rig.form.OnOptionClicked(Control::optLED2);
    rig.form.OnOptionClicked(Control::optLEDoff);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"LED on 2 -CAM2", "LED off -CAM2"}));
    EXPECT_TRUE(rig.TakeWaitedCommands().empty());
    EXPECT_EQ(rig.ports.clock.sleeps, (std::vector<unsigned>{50, 30, 30}));
    EXPECT_EQ(rig.form.Settings(1).ledMode, LedMode::Off);
}

TEST(FormLedTest, FlcModelsSwitchEverySegmentOnAtLevelSixAndTheAxiModelOnceMore) {
    FormRig rig({"0990", "0978"});
    rig.form.Load();
    rig.Choose(0);
    rig.form.OnOptionClicked(Control::optLED1);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1111 -CAM1", "FLCLevel 6 -CAM1"}));
    rig.Choose(1);
    rig.TakeCommands();
    rig.form.OnOptionClicked(Control::optLED2);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1111 -CAM2", "FLCLevel 6 -CAM2", "FLCLevel 6 -CAM2"}));
}

TEST(FormLedTest, WithoutRowsSaysNoneAndWithoutAChoiceTakesTheFirstCamera) {
    FormRig empty;
    empty.form.Load();
    empty.form.OnOptionClicked(Control::optLED1);
    empty.form.OnOptionClicked(Control::optFLC);
    EXPECT_EQ(empty.view.messages, (Lines{"none", "none"}));
    EXPECT_TRUE(empty.TakeCommands().empty());

    FormRig rig({"0870", "0610"});
    rig.form.Load();
    rig.view.checked[Control::optLED1] = true;
    rig.form.OnOptionClicked(Control::optLED1);
    EXPECT_EQ(rig.view.chosen, 0);
    EXPECT_TRUE(rig.view.IsChecked(Control::optLED1));
    EXPECT_EQ(rig.TakeCommands(), (Lines{"LED on 1 -CAM1"}));
}

TEST(FormFlcTest, SegmentButtonsToggleThePattern) {
    FormRig rig({"0990"});
    rig.form.Load();
    rig.Choose(0);
    rig.form.OnFlcButton(1);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1101 -CAM1"}));
    EXPECT_FALSE(rig.view.pictures[1]);
    for (int button : {0, 2, 3}) rig.form.OnFlcButton(button);
    EXPECT_EQ(rig.TakeCommands().back(), "FLCSwitch 0000 -CAM1");
    EXPECT_EQ(rig.form.Settings(0).flcPattern, 0);
    EXPECT_TRUE(rig.TakeWaitedCommands().empty());
}

TEST(FormFlcTest, ASegmentSwitchedOnAtLevelZeroRaisesTheLevelToOne) {
    FormRig rig({"0990"});
    rig.form.Load();
    rig.Choose(0);
    rig.view.sliders[Control::HScroll4] = 0;
    rig.form.OnSliderChanged(Control::HScroll4);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 0000 -CAM1"}));
    rig.form.OnFlcButton(0);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1110 -CAM1", "FLCSwitch 1110 -CAM1", "FLCLevel 1 -CAM1"}));
    EXPECT_EQ(rig.view.sliders[Control::HScroll4], 1);
    EXPECT_EQ(rig.form.Settings(0).flcLevel, 1);
}

TEST(FormFlcTest, AxiLevelsZeroToSixBecomeSevenToThirteen) {
    FormRig rig({"09b0"});
    rig.form.Load();
    rig.Choose(0);
    for (int level : {0, 6}) {
        rig.view.sliders[Control::HScroll5] = level;
        rig.form.OnSliderChanged(Control::HScroll5);
    }
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCLevel 7 -CAM1", "FLCLevel 13 -CAM1"}));
}

TEST(FormFlcTest, BrightnessSlidersDoNothingWhileACameraChoiceIsApplied) {
    FormRig rig({"0990", "09b0"});
    rig.form.Load();
    rig.Choose(0);
    rig.view.sliders[Control::HScroll4] = 3;
    rig.form.OnSliderChanged(Control::HScroll4);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1111 -CAM1", "FLCLevel 3 -CAM1"}));
    rig.Choose(1);
    EXPECT_EQ(rig.view.sliders[Control::HScroll4], 6) << "the second camera's level is back";
    EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST(FormFlcTest, TheFlcOptionSendsTheAxiLevelThePatternAndTheLevel) {
    FormRig rig({"09b0", "0990"});
    rig.form.Load();
    rig.form.OnTimer();  // learns which cameras have an AXI LED
    rig.Choose(0);
    rig.form.OnOptionClicked(Control::optFLC);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCLevel 13 -CAM1", "FLCSwitch 1111 -CAM1", "FLCLevel 6 -CAM1"}));
    EXPECT_TRUE(rig.view.enabled[Control::frmFLCSwitch]);
    EXPECT_TRUE(rig.view.enabled[Control::frmAxiBrightness]);
    EXPECT_EQ(rig.form.Settings(0).ledMode, LedMode::Flc);

    rig.Choose(1);
    rig.form.OnFlcButton(0);
    rig.view.sliders[Control::HScroll4] = 0;
    rig.form.OnSliderChanged(Control::HScroll4);
    rig.TakeCommands();
    rig.form.OnOptionClicked(Control::optFLC);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCSwitch 1110 -CAM2", "FLCSwitch 0000 -CAM2", "FLCLevel 0 -CAM2"}));
    EXPECT_FALSE(rig.view.enabled[Control::frmAxiBrightness]);
}

TEST(FormFlcTest, TheSpecialAxiModelAlsoGetsLevelsSixAndThirteen) {
    FormRig rig({"0978"});
    rig.form.Load();
    rig.form.OnTimer();
    rig.Choose(0);
    rig.form.OnOptionClicked(Control::optFLC);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCLevel 13 -CAM1", "FLCSwitch 1111 -CAM1", "FLCLevel 6 -CAM1",
                                         "FLCLevel 6 -CAM1", "FLCLevel 13 -CAM1"}));
}

TEST(FormExposureTest, ChangesWithinASecondStartNothingUntilTheSliderRests) {
    FormRig rig({"0870"});
    rig.form.Load();
    rig.form.OnTimer();  // the first refresh rebuilds the list
    rig.Choose(0);
    rig.form.OnOptionClicked(Control::OptAEOn);
    rig.view.checked[Control::OptAEOn] = true;
    rig.TakeCommands();

    for (int value : {100, 110}) {
        rig.ports.clock.ticks += 500;
        rig.view.sliders[Control::HScroll3] = value;
        rig.form.OnSliderChanged(Control::HScroll3);
    }
    EXPECT_TRUE(rig.TakeCommands().empty());
    rig.ports.clock.ticks += 500;
    rig.form.OnTimer();
    EXPECT_TRUE(rig.TakeCommands().empty()) << "half a second of quiet is not enough";
    rig.ports.clock.ticks += 600;
    rig.form.OnTimer();
    EXPECT_EQ(rig.TakeWaitedCommands(), (Lines{"EV 110 -CAM1"}));

    rig.ports.clock.ticks += 1500;
    rig.view.sliders[Control::HScroll3] = 120;
    rig.form.OnSliderChanged(Control::HScroll3);
    EXPECT_EQ(rig.TakeWaitedCommands(), (Lines{"EV 120 -CAM1"}));
    EXPECT_TRUE(rig.view.enabled[Control::HScroll3]);
    EXPECT_EQ(rig.form.Settings(0).evValue, 120);
    rig.form.OnTimer();
    EXPECT_TRUE(rig.TakeCommands().empty());
}

TEST(FormExposureTest, AutoExposureOnWaitsForBothCommands) {
    FormRig rig({"0870", "0820"});
    rig.form.Load();
    rig.Choose(0);
    rig.view.checked[Control::OptAEOn] = true;
    rig.form.OnOptionClicked(Control::OptAEOn);
    EXPECT_EQ(rig.TakeWaitedCommands(), (Lines{"ae on -CAM1", "EV 81 -CAM1"}));
    EXPECT_TRUE(rig.view.enabled[Control::HScroll3]);

    rig.view.checked[Control::OptAEOff] = true;
    rig.form.OnOptionClicked(Control::OptAEOff);
    EXPECT_EQ(rig.TakeWaitedCommands(), (Lines{"ae off -CAM1"}));
    EXPECT_FALSE(rig.view.enabled[Control::HScroll3]);

    rig.Choose(1);
    rig.view.checked[Control::OptAEOn] = true;
    rig.form.OnOptionClicked(Control::OptAEOn);
    EXPECT_FALSE(rig.view.IsChecked(Control::OptAEOn)) << "a no-AE model does not keep the option";
    EXPECT_FALSE(rig.view.enabled[Control::HScroll3]);
    EXPECT_EQ(rig.TakeWaitedCommands(), (Lines{"ae on -CAM2", "EV 81 -CAM2"}));
}

TEST(FormNoCameraChosenTest, ActionsThatNeedACameraStartNothing) {
    FormRig rig({"0990"});
    rig.form.Load();
    rig.Choose(0);
    rig.form.OnTimer();  // a new count: the list is rebuilt and nothing is chosen
    rig.TakeCommands();
    rig.form.OnFlcButton(0);
    rig.view.sliders[Control::HScroll4] = 2;
    rig.form.OnSliderChanged(Control::HScroll4);
    rig.view.checked[Control::OptAEOn] = true;
    rig.form.OnOptionClicked(Control::OptAEOn);
    EXPECT_TRUE(rig.TakeCommands().empty()) << "-CAM0 would reach every camera";
}

TEST(FormActionTest, AnActionKeepsItsCameraWhileTheListIsRebuiltAndAChoiceWaitsForIt) {
    FormRig rig({"0870", "0990", "0978"});
    rig.form.Load();
    rig.form.OnTimer();
    rig.Choose(0);
    rig.form.OnOptionClicked(Control::optLED1);
    rig.Choose(2);
    rig.TakeCommands();
    // During the FLC option's pauses the user clicks "LED Off" and a camera
    // arrives (the tick rebuilds the list and drops the click), then the user
    // chooses the first row again.
    int round = 0;
    bool ticking = false;
    rig.view.onMessages = [&] {
        if (ticking) return;  // the refresh's own rounds
        ++round;
        if (round == 1) {
            rig.form.OnOptionClicked(Control::optLEDoff);
            rig.cameras.deviceStrings.push_back(Camera("0610"));
            ticking = true;
            rig.form.OnTimer();
            ticking = false;
        } else if (round == 3) {
            rig.view.chosen = 0;
            rig.form.OnCameraChosen();
        }
    };
    rig.form.OnOptionClicked(Control::optFLC);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"FLCLevel 13 -CAM3", "FLCSwitch 1111 -CAM3", "FLCLevel 6 -CAM3",
                                         "FLCLevel 6 -CAM3", "FLCLevel 13 -CAM3", "LED on 1 -CAM1"}));
    EXPECT_EQ(rig.form.Settings(2).ledMode, LedMode::Flc);
    EXPECT_EQ(rig.form.Settings(0).ledMode, LedMode::Led1);
    EXPECT_EQ(rig.view.rows.size(), 4u);
}

TEST(FormActionTest, ClicksDuringAWaitRunAfterTheActionInTheirOrder) {
    FormRig rig({"0870", "0990"});
    rig.form.Load();
    rig.Choose(0);
    rig.view.checked[Control::OptAEOn] = true;
    bool clicked = false;
    rig.ports.processes.onLook = [&](const FakeProcesses::Program&) {
        if (std::exchange(clicked, true)) return;
        rig.view.checked[Control::OptAEOff] = true;
        rig.form.OnOptionClicked(Control::OptAEOff);
        rig.view.chosen = 1;
        rig.form.OnCameraChosen();
        rig.form.OnOptionClicked(Control::optLED2);
    };
    rig.form.OnOptionClicked(Control::OptAEOn);
    EXPECT_EQ(rig.TakeCommands(),
              (Lines{"ae on -CAM1", "EV 81 -CAM1", "ae off -CAM1", "FLCSwitch 1111 -CAM2", "FLCLevel 6 -CAM2"}));

    // A click held when the window goes never runs.
    clicked = false;
    rig.ports.processes.onLook = [&](const FakeProcesses::Program&) {
        if (std::exchange(clicked, true)) return;
        rig.form.OnOptionClicked(Control::optLEDoff);
        rig.form.Unload();
    };
    rig.form.OnOptionClicked(Control::OptAEOff);
    rig.form.OnOptionClicked(Control::optLED1);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"ae off -CAM2"}));
}

TEST(PidTextTest, FourCharactersAfterPidAndAMeaninglessTextWithoutIt) {
    EXPECT_EQ(gui::PidTextOf(Camera("09b0")), "09b0");
    const std::string noPid = "\\\\?\\usb#vid_a168&xyz_0990#6&1&0";
    EXPECT_EQ(gui::PidTextOf(noPid), "\\usb");
    EXPECT_FALSE(gui::IsFlcModel(gui::PidTextOf(noPid)));
    EXPECT_FALSE(gui::IsDualSwitchModel(gui::PidTextOf(noPid)));
    EXPECT_TRUE(gui::IsFlcModel("099f"));
    EXPECT_FALSE(gui::IsFlcModel("09a0"));
    EXPECT_TRUE(gui::IsDualSwitchModel("0915"));
    EXPECT_TRUE(gui::IsNoAeModel("0863"));
}

TEST(FormNoPidTest, ACameraWithoutPidIsAPlainModel) {
    FormRig rig;
    rig.cameras.deviceStrings = {"\\\\?\\usb#vid_a168&xyz_0990#6&1&0"};
    rig.form.Load();
    rig.Choose(0);
    EXPECT_FALSE(rig.view.enabled[Control::optFLC]);
    rig.form.OnOptionClicked(Control::optLED1);
    EXPECT_EQ(rig.TakeCommands(), (Lines{"LED on 1 -CAM1"}));
}

}  // namespace
}  // namespace kv::test
