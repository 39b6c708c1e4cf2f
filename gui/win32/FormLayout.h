// The form's child windows: what each one is, where it sits (in pixels at
// 96 dots per inch) and which frame holds it.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "gui/core/FormView.h"

namespace kv::gui::win32 {

enum class Kind { Frame, Option, PictureButton, Slider, Combo, Label };

struct ChildLayout {
    int id;
    std::optional<Control> control;  // none for the two labels
    Kind kind;
    const wchar_t* text;
    RECT bounds;                   // left, top, right, bottom at 96 dpi
    std::optional<Control> frame;  // the frame that holds it
    bool startsGroup;              // first of a tab and option group
};

// In creation order (which is also the tab order).
std::span<const ChildLayout> FormChildren();
const ChildLayout* FindChild(Control control);

// The client area at 96 dpi.
inline constexpr SIZE kClientSize{400, 326};

struct SliderRange {
    int minimum, maximum, smallStep, largeStep, initial;
};
SliderRange SliderOf(Control slider);

}  // namespace kv::gui::win32
