#include "ExampleProfiles.h"

#include <algorithm>

namespace {

// 0.14 for "SLO" lies between two positions of the uE3 slider: the slider coupling decides
// whether it stays 0.14 or becomes 0.1.
const PresetProfile kProfiles[] = {
    {"Spina1", "Spina1Click", "DFTN, Rein, Paroi Abdo", 700, 2.5L, 1.0L, 1.0L, ""},
    {"T21", "T21Click", "T21", 100, 0.5L, 2.0L, 1.0L, ""},
    {"RCIUT18T131", "RCIUT18T131Click", "RCIU, T18,T13", 700, 1.0L, 0.2L, 1.0L, ""},
    {"HTARCIU1", "HTARCIU1Click", "HTA, TRIPLOIDIE", 700, 1.0L, 2.5L, 1.0L, ""},
    {"MFIURCIUMAPTRIPLOIDIEGG1", "MFIURCIUMAPTRIPLOIDIEGG1Click", "MFIU, RCIU, MAP, TRIPLOIDIE, GG",
     700, 2.5L, 2.0L, 1.0L, ""},
    {"MFIU1", "MFIU1Click", "MFIU", 700, 2.5L, 0.5L, 1.0L, ""},
    {"RCIUT18T13TRIPLOIDIE1", "RCIUT18T13TRIPLOIDIE1Click", "RCIU,T18,T13, TRIPLOIDIE",
     700, 0.5L, 0.5L, 1.0L, ""},
    {"SLO1", "SLO1Click", "SLO", 700, 1.0L, 1.0L, 0.14L, "mnu_SLO"},
};

} // namespace

std::span<const PresetProfile> ExampleProfiles()
{
    return kProfiles;
}

const PresetProfile* FindProfileByMenuEntry(std::string_view menuEntry)
{
    for (const PresetProfile& p : kProfiles)
        if (p.menuEntry == menuEntry)
            return &p;
    return nullptr;
}

const PresetProfile* FindProfileByCaption(std::string_view caption)
{
    for (const PresetProfile& p : kProfiles)
        if (p.caption == caption)
            return &p;
    return nullptr;
}

std::string WithoutAccelerators(std::string_view caption)
{
    std::string text(caption);
    std::erase(text, '&');
    return text;
}

void ChooseProfile(TMarkerInputs& inputs, const PresetProfile& profile, std::string_view entryCaption,
                   const TMenuCommand& runMenuCommand)
{
    inputs.SetWindowCaption(WithoutAccelerators(entryCaption));
    inputs.SetValue(MarkerKind::triplo, profile.N);
    inputs.SetValue(MarkerKind::afp, profile.A);
    inputs.SetValue(MarkerKind::hcg, profile.H);
    inputs.SetValue(MarkerKind::e3, profile.E);
    if (!profile.followUp.empty() && runMenuCommand)
        runMenuCommand(profile.followUp);
}
