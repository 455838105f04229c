#pragma once
// The example profiles of the menu "Profils": each sets the four marker values at once and names
// itself in the window's caption.

#include "MarkerInputs.h"

#include <functional>
#include <span>
#include <string_view>

struct PresetProfile {
    std::string_view menuEntry; // the menu entry's component name
    std::string_view handler;   // the window's handler for it
    std::string_view caption;   // the menu entry's text and the window caption it sets
    long double N;
    long double A;
    long double H;
    long double E;
    // The menu command run after the values are set (by its menu entry's name), or empty.
    std::string_view followUp;
};

// The profiles in menu order.
std::span<const PresetProfile> ExampleProfiles();
// The profile of a menu entry or a caption; nullptr when there is none.
const PresetProfile* FindProfileByMenuEntry(std::string_view menuEntry);
const PresetProfile* FindProfileByCaption(std::string_view caption);

// Runs the menu command named by a profile's follow-up; supplied by the window.
using TMenuCommand = std::function<void(std::string_view menuEntry)>;

// The caption without its accelerator marks: every "&" removed.
std::string WithoutAccelerators(std::string_view caption);

// Choosing a profile's menu entry: the window caption becomes the entry's caption as it reads
// now, without "&"; the four values are assigned in window order, each handled completely
// before the next; then the follow-up command, if any, runs.
void ChooseProfile(TMarkerInputs& inputs, const PresetProfile& profile, std::string_view entryCaption,
                   const TMenuCommand& runMenuCommand);
