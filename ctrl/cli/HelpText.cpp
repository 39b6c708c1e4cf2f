// The 46 lines of the help text, exactly as users and scripts know them.
#include "ctrl/cli/HelpText.h"

#include <string>

namespace kv::ctrl {

const std::array<std::string_view, kHelpLineCount> kHelpLines = {
    "Korvex DOS control version 1.14.0.0",
    "",
    "Use the command string below for controlling the Korvex. Without the [Camera Index] the command applies to all "
    "cameras.",
    "",
    "KV_DS_Ctrl.exe [Camera Control] [Camera Index]",
    "",
    "[Camera Control]",
    "LED on\t\t\t:Turn on the first set of LED",
    "LED on 1\t\t:Turn on the first set of LED (default)",
    "LED on 2\t\t:Turn on the second set of LED if available",
    "LED off\t\t\t:Turn the LED Off",
    "AE on\t\t\t:Turn On Auto Exposure",
    "AE off\t\t\t:Turn Off Auto Exposure",
    "EV 16-220\t\t:Set Exposure Value from 16 to 220",
    "AntiFlicker On 50 \t:Set AntiFlicker to 50Hz",
    "AntiFlicker On 60\t:Set AntiFlicker to 60Hz",
    "AntiFlicker Off 60\t:Set AntiFlicker Off",
    "FLCSwitch 0000~1111\t:Set FLC LED Status",
    "FLCLevel 1~6\t\t:Set FLC LED Brightness",
    "INIT \t\t\t:Set Initialization",
    "",
    "[Camera Index]",
    "-CAM0 :All Cameras (default)",
    "-CAM1 :Camera 1             -CAM2 :Camera 2",
    "-CAM3 :Camera 3             -CAM4 :Camera 4",
    "-CAM5 :Camera 5             -CAM6 :Camera 6",
    "-CAM7 :Camera 7             -CAM8 :Camera 8",
    "",
    "Examples:",
    "  KV_DS_Ctrl.exe LED on\t\t\t;Turn on all camera's LED",
    "  KV_DS_Ctrl.exe LED on 1 -CAM0\t\t;Turn on all camera's LED 1",
    "  KV_DS_Ctrl.exe LED on 2 -CAM0\t\t;Turn on all camera's LED 2",
    "  KV_DS_Ctrl.exe LED off -CAM0\t\t;Turn off all camera's LED",
    "  KV_DS_Ctrl.exe LED on 1 -CAM1\t\t;Turn on camera-1 LED 1",
    "  KV_DS_Ctrl.exe LED on 2 -CAM1\t\t;Turn on camera-1 LED 2",
    "  KV_DS_Ctrl.exe LED off -CAM1\t\t;Turn off camera-1 LED",
    "  KV_DS_Ctrl.exe AE off -CAM0\t\t;Turn off all camera's auto exposure",
    "  KV_DS_Ctrl.exe AE on -CAM0\t\t;Turn on all camera's auto exposure",
    "  KV_DS_Ctrl.exe EV 16 -CAM0\t\t;Set all camera's exposure value to 16",
    "  KV_DS_Ctrl.exe EV 100 -CAM0\t\t;Set all camera's exposure value to 100",
    "  KV_DS_Ctrl.exe EV 200 -CAM0\t\t;Set all camera's exposure value to 200",
    "  KV_DS_Ctrl.exe AntiFlicker On 50\t;Set AntiFlicker to 50Hz",
    "  KV_DS_Ctrl.exe AntiFlicker On 60\t;Set AntiFlicker to 60Hz",
    "  KV_DS_Ctrl.exe AntiFlicker Off\t;Set AntiFlicker Off",
    "  KV_DS_Ctrl.exe FLCSwitch 1010\t\t;Set FLC LED Status to 1010",
    "  KV_DS_Ctrl.exe FLCLevel 3\t\t;Set FLC Brightness to level 3",
};

void PrintHelp(platform::Console& console) {
    for (const std::string_view line : kHelpLines) console.WriteLine(std::string(line));
}

}  // namespace kv::ctrl
