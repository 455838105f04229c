#pragma once
// The types shared by the marker inputs, the interpretation rules and the example profiles.
// Standard library only: this part of the program runs and is tested without a window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The four inputs, in window order from the top.
enum class MarkerKind {
    triplo, // N, the triple test's risk denominator (a risk of 1/N is entered as N)
    afp,    // A, alpha-fetoprotein, MoM
    hcg,    // H, beta-hCG, MoM
    e3,     // E, unconjugated estriol, MoM
};

inline constexpr std::size_t kMarkerCount = 4;
inline constexpr std::array<MarkerKind, kMarkerCount> kAllMarkers = {
    MarkerKind::triplo, MarkerKind::afp, MarkerKind::hcg, MarkerKind::e3};

constexpr std::size_t Index(MarkerKind kind)
{
    return static_cast<std::size_t>(kind);
}

// The four current values, each the number its numeric edit's text reads as (an empty text
// holds 0). They are extended precision, as the edits hold them: a value read from the text
// "0,2" is the long double nearest to 0.2, and the thresholds are written the same way, so
// that a value typed as a threshold compares equal to it.
struct ProfileInputs {
    long double N = 0;
    long double A = 0;
    long double H = 0;
    long double E = 0;

    long double& operator[](MarkerKind kind)
    {
        switch (kind) {
        case MarkerKind::afp: return A;
        case MarkerKind::hcg: return H;
        case MarkerKind::e3: return E;
        case MarkerKind::triplo: break;
        }
        return N;
    }
    long double operator[](MarkerKind kind) const { return const_cast<ProfileInputs&>(*this)[kind]; }

    friend bool operator==(const ProfileInputs&, const ProfileInputs&) = default;
};

// An input panel's caption state.
enum class MarkerAlert { Normal, High, Low, VeryLow };

// The four result panels, in window order from the top.
enum class FindingCategory { fauxpo, chromo, malfo, patho };

inline constexpr std::size_t kCategoryCount = 4;
inline constexpr std::array<FindingCategory, kCategoryCount> kAllCategories = {
    FindingCategory::fauxpo, FindingCategory::chromo, FindingCategory::malfo, FindingCategory::patho};

constexpr std::size_t Index(FindingCategory category)
{
    return static_cast<std::size_t>(category);
}

// What one result panel shows. Texts are UTF-8.
struct CategoryFinding {
    std::string finding; // empty when there is none
    std::string action;  // the recommended action; may be empty
    bool alert = false;  // exactly when finding is not empty: the panel's LED blinks

    friend bool operator==(const CategoryFinding&, const CategoryFinding&) = default;
};

// The result of one interpretation, one entry per FindingCategory.
struct ProfileFindings {
    std::array<CategoryFinding, kCategoryCount> categories;

    CategoryFinding& operator[](FindingCategory category) { return categories[Index(category)]; }
    const CategoryFinding& operator[](FindingCategory category) const { return categories[Index(category)]; }

    friend bool operator==(const ProfileFindings&, const ProfileFindings&) = default;
};

// Colours as the toolkit stores them: 0x00BBGGRR, or a system colour 0xFF0000nn.
using TColorValue = std::uint32_t;
