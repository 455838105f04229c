#pragma once
// The interpretation of a triple-test profile: a fixed, ordered rule table over N, A, H and E.

#include "ProfileTypes.h"

#include <optional>
#include <span>
#include <string_view>

// The rule thresholds. The alert thresholds of the input panels are separate constants
// (MarkerInputs.h): they happen to share some values but not their meaning.
inline constexpr long double kRuleRiskDenominator = 250; // rule 1: N below it
inline constexpr long double kRuleVeryLowMoM = 0.2L;     // rules 10 and 11
inline constexpr long double kRuleLowMoM = 0.5L;
inline constexpr long double kRuleHighMoM = 2.0L;
inline constexpr long double kRuleVeryHighMoM = 2.5L;

// The texts a rule writes into one category.
struct RuleOutput {
    enum class Mode {
        Replace, // the category's finding and action become these texts
        Append,  // these texts are appended to the category's finding and action
    };
    Mode mode = Mode::Replace;
    std::string_view finding;
    std::string_view action;
};

struct ProfileRule {
    int number;            // 1 to 11, the order in which the rules are applied
    std::string_view name; // labels the rule; never shown
    bool (*condition)(const ProfileInputs&);
    // One entry per FindingCategory; an empty entry leaves that category as it was.
    std::array<std::optional<RuleOutput>, kCategoryCount> outputs;
};

// The rules in the order they are applied; a later match overwrites what an earlier one wrote.
std::span<const ProfileRule> ProfileRuleTable();

// What the result panels show before any rule applies: "..." as the false-positive finding.
ProfileFindings BlankFindings();

// Interprets a profile. No side effects, no state kept between runs.
ProfileFindings AnalyserProfil(const ProfileInputs& inputs);
