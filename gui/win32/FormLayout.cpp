// The form's child windows and their places.
#include "gui/win32/FormLayout.h"

#include "gui/win32/GuiResources.h"

namespace kv::gui::win32 {

namespace {

using C = Control;

// Frames come before what they hold, so that their boxes are drawn first.
const ChildLayout kChildren[] = {
    {IDC_Label4, std::nullopt, Kind::Label, L"Select Device:", {12, 15, 104, 31}, std::nullopt, true},
    {IDC_Combo3, C::Combo3, Kind::Combo, L"Select Camera Model", {108, 11, 388, 211}, std::nullopt, true},
    {IDC_frmLEDControl, C::frmLEDControl, Kind::Frame, L"LED Control", {12, 42, 388, 220}, std::nullopt, false},
    {IDC_optLEDoff, C::optLEDoff, Kind::Option, L"LED Off", {24, 62, 104, 80}, C::frmLEDControl, true},
    {IDC_optLED2, C::optLED2, Kind::Option, L"LED2", {112, 62, 180, 80}, C::frmLEDControl, false},
    {IDC_optLED1, C::optLED1, Kind::Option, L"LED1", {188, 62, 256, 80}, C::frmLEDControl, false},
    {IDC_optFLC, C::optFLC, Kind::Option, L"FLC", {264, 62, 332, 80}, C::frmLEDControl, false},
    {IDC_frmFLCSwitch, C::frmFLCSwitch, Kind::Frame, L"FLC Switch", {24, 86, 376, 138}, C::frmLEDControl, false},
    {IDC_cmdFLC1, C::cmdFLC1, Kind::PictureButton, nullptr, {36, 104, 63, 131}, C::frmFLCSwitch, true},
    {IDC_cmdFLC2, C::cmdFLC2, Kind::PictureButton, nullptr, {70, 104, 97, 131}, C::frmFLCSwitch, false},
    {IDC_cmdFLC3, C::cmdFLC3, Kind::PictureButton, nullptr, {104, 104, 131, 131}, C::frmFLCSwitch, false},
    {IDC_cmdFLC4, C::cmdFLC4, Kind::PictureButton, nullptr, {138, 104, 165, 131}, C::frmFLCSwitch, false},
    {IDC_frmAxiBrightness,
     C::frmAxiBrightness,
     Kind::Frame,
     L"AXI Brightness Level(0-6)",
     {204, 142, 376, 212},
     C::frmLEDControl,
     false},
    {IDC_HScroll5, C::HScroll5, Kind::Slider, nullptr, {212, 164, 368, 198}, C::frmAxiBrightness, true},
    {IDC_frmFLCBrightness,
     C::frmFLCBrightness,
     Kind::Frame,
     L"FLC Brightness Level(0-6)",
     {24, 142, 196, 212},
     C::frmLEDControl,
     false},
    {IDC_HScroll4, C::HScroll4, Kind::Slider, nullptr, {32, 164, 188, 198}, C::frmFLCBrightness, true},
    {IDC_frmAE, C::frmAE, Kind::Frame, L"Auto Exposure", {12, 228, 388, 314}, std::nullopt, false},
    {IDC_OptAEOn, C::OptAEOn, Kind::Option, L"On", {24, 248, 84, 266}, C::frmAE, true},
    {IDC_OptAEOff, C::OptAEOff, Kind::Option, L"Off", {96, 248, 156, 266}, C::frmAE, false},
    {IDC_Label11, std::nullopt, Kind::Label, L"Exposure Value", {24, 280, 124, 296}, C::frmAE, true},
    {IDC_HScroll3, C::HScroll3, Kind::Slider, nullptr, {128, 272, 380, 306}, C::frmAE, true},
};

}  // namespace

std::span<const ChildLayout> FormChildren() { return kChildren; }

const ChildLayout* FindChild(Control control) {
    for (const ChildLayout& child : kChildren) {
        if (child.control == control) return &child;
    }
    return nullptr;
}

SliderRange SliderOf(Control slider) {
    if (slider == Control::HScroll3) return {16, 220, 5, 10, 81};
    return {0, 6, 1, 2, 6};
}

}  // namespace kv::gui::win32
