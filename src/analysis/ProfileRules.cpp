#include "ProfileRules.h"

namespace {

using Mode = RuleOutput::Mode;

constexpr RuleOutput Set(std::string_view finding, std::string_view action)
{
    return {Mode::Replace, finding, action};
}
constexpr RuleOutput Cleared = {Mode::Replace, "", ""};

// Each condition reads only the values it names; comparisons are on the values exactly.
bool LowDenominator(const ProfileInputs& p) { return p.N < kRuleRiskDenominator; }
bool AfpVeryHigh(const ProfileInputs& p) { return p.A >= kRuleVeryHighMoM; }
bool AfpLow(const ProfileInputs& p) { return p.A <= kRuleLowMoM; }
bool AfpInRange(const ProfileInputs& p) { return p.A >= kRuleLowMoM && p.A <= kRuleVeryHighMoM; }
bool HcgMid(const ProfileInputs& p) { return p.H <= kRuleHighMoM && p.H >= kRuleLowMoM; }

const ProfileRule kRules[] = {
    {1, "Triplo Test dans la zone à risque élevé de Trisomie 21",
     LowDenominator,
     {Set("Erreur de calcul", "Vérifiez l'âge gestationnel+++"),
      RuleOutput{Mode::Append, " Trisomie 21", " Caryotype"},
      std::nullopt,
      std::nullopt}},
    {2, "PROFIL: Elevation isolée AFP > 2,5 MoM",
     [](const ProfileInputs& p) { return AfpVeryHigh(p) && HcgMid(p); },
     {Set("Métrorragies", ""),
      Cleared,
      Set("Spina, Anencéphalie, Laparoschosis, Omphalocèle", "Contrôle écho, Crâne, Rachis, Ombilic, Reins"),
      Cleared}},
    {3, "Emballement global AFP + HCG",
     [](const ProfileInputs& p) { return AfpVeryHigh(p) && p.H >= kRuleHighMoM; },
     {Set("Gémellaire", "Echographie"),
      Set("Triploidie, T13", "Caryotype"),
      Cleared,
      Set("MFIU, RCIU, MPA, Oligoamnios", "Echographie")}},
    {4, "",
     [](const ProfileInputs& p) { return AfpVeryHigh(p) && p.H >= kRuleVeryHighMoM; },
     {Set("Gémellaire, Erreur de terme", "Dynamique des MS sur second prélèvement"),
      Set("Triploidie, T16 Mosaique", "Caryotype"),
      Cleared,
      Cleared}},
    {5, "",
     [](const ProfileInputs& p) { return AfpVeryHigh(p) && p.H <= kRuleLowMoM; },
     {Cleared,
      Cleared,
      Cleared,
      Set("Mort Foetale in Utéro (MFIU)", "Echographie")}},
    {6, "Profil T21 = AFP bas + HCG haut",
     [](const ProfileInputs& p) { return AfpLow(p) && p.H >= kRuleHighMoM; },
     {Cleared,
      Set("T21", "Caryotype"),
      Cleared,
      Cleared}},
    {7, "Effondrement isolé AFP",
     [](const ProfileInputs& p) { return AfpLow(p) && HcgMid(p); },
     {Set("Déficit congénital en AFP", "Pas de conséquence foetale"),
      Set("T21", "Caryotype"),
      Set("Syndrôme de Williams", "Echo Cardio"),
      Cleared}},
    {8, "Effondrement global",
     [](const ProfileInputs& p) { return AfpLow(p) && p.H <= kRuleLowMoM; },
     {Cleared,
      Set("*T18* T13, Triploidie", "Caryotype"),
      Cleared,
      Set("RCIU", "Echographie, Biométrie, Doppler")}},
    {9, "Elévation isolée HCG",
     [](const ProfileInputs& p) { return AfpInRange(p) && p.H >= kRuleVeryHighMoM; },
     {Set("Jumeaux, Ins.Rénale Mater.", "Echographie, Biologie"),
      Set("Triploidie, Turner (45 X0), Placenta (T16)", "Caryotype"),
      Set("Môle", "Echographie"),
      Set("HTA,HELLP,LUPUS", "Echographie, Biométrie, Dopplers Art.U, Biologie")}},
    {10, "Effondremnt isolé HCG",
     [](const ProfileInputs& p) { return AfpInRange(p) && p.H <= kRuleVeryLowMoM; },
     {Cleared,
      Set("T18,T13,Triploidie", "Caryotype"),
      Cleared,
      Set("RCIU", "Echographie, Biométrie, Dopplers")}},
    {11, "Effondrement isolé Estriol",
     [](const ProfileInputs& p) { return p.E <= kRuleVeryLowMoM && AfpInRange(p); },
     {Cleared,
      Set("Ichtyose X", ""),
      Set("Syndrome de Smith-Lemli-Opitz (SLO)", "Echographie"),
      Cleared}},
};

} // namespace

std::span<const ProfileRule> ProfileRuleTable()
{
    return kRules;
}

ProfileFindings BlankFindings()
{
    ProfileFindings blank;
    blank[FindingCategory::fauxpo].finding = "...";
    return blank;
}

ProfileFindings AnalyserProfil(const ProfileInputs& inputs)
{
    ProfileFindings result = BlankFindings();
    for (const ProfileRule& rule : kRules) {
        if (!rule.condition(inputs))
            continue;
        for (FindingCategory category : kAllCategories) {
            const auto& output = rule.outputs[Index(category)];
            if (!output)
                continue;
            CategoryFinding& target = result[category];
            if (output->mode == Mode::Append) {
                target.finding += output->finding;
                target.action += output->action;
            } else {
                target.finding = output->finding;
                target.action = output->action;
            }
        }
    }
    for (CategoryFinding& category : result.categories)
        category.alert = !category.finding.empty();
    return result;
}
