#pragma once
// The rules the marker inputs rely on from a slider and a numeric edit, as one QtTest table that
// any implementation of TSliderView and TNumberEditView can be run through: the test models and
// the real widgets alike, so that the two cannot drift apart.
//
// How to run it against an implementation:
//
//   1. Derive a fixture from SliderEditContract::TFixture that makes the implementation's
//      slider and numeric edit (a fresh pair of widgets for each call is the safest), calls the
//      given callback from each change event, and types a text into the last edit it made.
//   2. In a QtTest class, add a data-driven test function that hands the table over:
//
//        class TestMyWidgets : public QObject
//        {
//            Q_OBJECT
//            MyFixture FFixture;
//        private slots:
//            void contract_data() { SliderEditContract::AddRows(); }
//            void contract() { SliderEditContract::Run(FFixture); }
//        };
//
//   Each row checks one rule; a failing row names the rule and the locale it ran in.
//
//   3. In the test's CMakeLists.txt, put this folder on the include path and link the analysis
//      library: target_include_directories(<test> PRIVATE ${PROJECT_SOURCE_DIR}/tests/contract)
//      after serolis_add_test(<test> SOURCES ... LIBS analysis ...).
//
// Needs the standard library, QtTest and the analysis headers only.

#include "MarkerWidgets.h"
#include "NumberText.h"

#include <QtTest>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace SliderEditContract {

class TFixture {
public:
    virtual ~TFixture() = default;

    // A slider with the range [min, max] standing at position. onChange is called for each of
    // its change events. A slider made earlier by this fixture is no longer used.
    virtual TSliderView& MakeSlider(int min, int max, int position, std::function<void()> onChange) = 0;

    // A numeric edit as the window uses it (two decimals not always shown, no limits, empty text
    // holding 0), reading and writing numbers with these separators. onChange is called for each
    // of its change events. An edit made earlier by this fixture is no longer used.
    virtual TNumberEditView& MakeNumberEdit(const NumberText::TFormatSettings& settings,
                                            std::function<void()> onChange) = 0;

    // The user replaces the whole text of the last edit made with this text, by typing or
    // pasting it. Typing key by key may raise one change event per key.
    virtual void TypeText(std::u16string_view text) = 0;
};

namespace Detail {

struct Case {
    std::string name;
    std::function<void(TFixture&)> run;
};

inline QString Shown(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

inline QByteArray Number(long double v)
{
    return QByteArray::number(static_cast<double>(v), 'g', 19);
}

// Compares two numbers exactly, the way the marker inputs compare a value with a threshold.
#define SEROLIS_CONTRACT_SAME_NUMBER(actual, expected)                                              \
    QVERIFY2((actual) == (expected),                                                                \
             QByteArray("read " + Number(actual) + ", expected " + Number(expected)).constData())

struct Locale {
    const char* name;
    NumberText::TFormatSettings settings;
};

inline std::vector<Locale> Locales()
{
    return {{"fr", NumberText::FrenchFormatSettings()}, {"C", NumberText::CFormatSettings()}};
}

inline std::u16string FrenchGroup()
{
    return u"\u202F";
}

inline void AddSliderCases(std::vector<Case>& cases)
{
    struct Row {
        const char* name;
        int min, max, start, assign, expected, changes;
    };
    const Row rows[] = {
        {"slider: a position inside the range is stored", 0, 35, 10, 12, 12, 1},
        {"slider: above Max is limited to Max", 0, 35, 10, 40, 35, 1},
        {"slider: below Min is limited to Min", 1, 5000, 500, 0, 1, 1},
        {"slider: the largest int is limited to Max", 1, 5000, 500, INT_MAX, 5000, 1},
        {"slider: the smallest int is limited to Min", 0, 35, 10, INT_MIN, 0, 1},
        {"slider: the stored position raises nothing", 0, 35, 10, 10, 10, 0},
        {"slider: limited to the stored position raises nothing", 0, 35, 35, 40, 35, 0},
        {"slider: Min again raises nothing", 1, 5000, 1, -7, 1, 0},
    };
    for (const Row& r : rows) {
        cases.push_back({r.name, [r](TFixture& f) {
                             int changes = 0;
                             int seen = INT_MIN;
                             TSliderView* slider = nullptr;
                             slider = &f.MakeSlider(r.min, r.max, r.start, [&] {
                                 ++changes;
                                 seen = slider->Position();
                             });
                             QCOMPARE(slider->Position(), r.start);
                             slider->SetPosition(r.assign);
                             QCOMPARE(slider->Position(), r.expected);
                             QCOMPARE(changes, r.changes);
                             if (changes > 0)
                                 QCOMPARE(seen, r.expected); // the event sees the stored position
                         }});
    }

    cases.push_back({"slider: assigning from inside its own change event nests", [](TFixture& f) {
                         std::vector<int> seen;
                         TSliderView* slider = nullptr;
                         slider = &f.MakeSlider(0, 35, 10, [&] {
                             seen.push_back(slider->Position());
                             if (seen.size() == 1)
                                 slider->SetPosition(20);
                         });
                         slider->SetPosition(12);
                         QCOMPARE(slider->Position(), 20);
                         QCOMPARE(seen, (std::vector<int>{12, 20}));
                     }});
}

inline void AddEditCases(std::vector<Case>& cases)
{
    for (const Locale& locale : Locales()) {
        const bool fr = std::string(locale.name) == "fr";
        const std::u16string sep = fr ? u"," : u".";
        const std::u16string group = fr ? FrenchGroup() : u",";
        const std::string prefix = std::string(locale.name) + " edit: ";

        cases.push_back({prefix + "starts empty and reads 0", [locale](TFixture& f) {
                             TNumberEditView& edit = f.MakeNumberEdit(locale.settings, [] {});
                             QCOMPARE(Shown(edit.Text()), QString());
                             SEROLIS_CONTRACT_SAME_NUMBER(edit.Value(), 0.0L);
                         }});

        // Assigning a value: the text it shows, the value read back, one change.
        struct Assign {
            std::string name;
            long double value;
            std::u16string text;
            long double reads;
        };
        const Assign assigns[] = {
            {"2.5 shows one decimal", 2.5L, u"2" + sep + u"5", 2.5L},
            {"0.14 shows two decimals", 0.14L, u"0" + sep + u"14", 0.14L},
            {"700 shows no decimals", 700, u"700", 700},
            {"1000 is grouped", 1000, u"1" + group + u"000", 1000},
            {"5000 is grouped", 5000, u"5" + group + u"000", 5000},
            {"1.256 is rounded to two decimals", 1.256L, u"1" + sep + u"26", 1.26L},
            {"1234567.891 groups every three digits", 1234567.891L,
             u"1" + group + u"234" + group + u"567" + sep + u"89", 1234567.89L},
            {"1e40 shows all its digits and reads back", 1e40L,
             u"10" + group + u"000" + group + u"000" + group + u"000" + group + u"000" + group + u"000"
                 + group + u"000" + group + u"000" + group + u"000" + group + u"000" + group + u"000" + group
                 + u"000" + group + u"000" + group + u"000",
             1e40L},
        };
        for (const Assign& a : assigns) {
            cases.push_back({prefix + "assigning " + a.name, [locale, a](TFixture& f) {
                                 int changes = 0;
                                 std::u16string seenText;
                                 long double seenValue = -1;
                                 TNumberEditView* edit = nullptr;
                                 edit = &f.MakeNumberEdit(locale.settings, [&] {
                                     ++changes;
                                     seenText = edit->Text();
                                     seenValue = edit->Value();
                                 });
                                 edit->SetValue(a.value);
                                 QCOMPARE(Shown(edit->Text()), Shown(a.text));
                                 SEROLIS_CONTRACT_SAME_NUMBER(edit->Value(), a.reads);
                                 QCOMPARE(changes, 1);
                                 // The change event already sees the new text and value.
                                 QCOMPARE(Shown(seenText), Shown(a.text));
                                 SEROLIS_CONTRACT_SAME_NUMBER(seenValue, a.reads);
                             }});
        }

        cases.push_back({prefix + "a huge value reads back as assigned", [locale](TFixture& f) {
                             TNumberEditView& edit = f.MakeNumberEdit(locale.settings, [] {});
                             edit.SetValue(1E999L);
                             SEROLIS_CONTRACT_SAME_NUMBER(edit.Value(), 1E999L);
                         }});

        // A second assignment after a first: the changes it raises and what it leaves.
        struct Again {
            std::string name;
            long double first, second;
            std::u16string text;
            int changes;
        };
        const Again agains[] = {
            {"the shown value again raises nothing", 2.5L, 2.5L, u"2" + sep + u"5", 0},
            {"2.50 after 2.5 raises nothing", 2.5L, 2.50L, u"2" + sep + u"5", 0},
            {"a value shown with the same text raises nothing", 1.25L, 1.254L, u"1" + sep + u"25", 0},
            {"0 empties the text", 2.5L, 0, u"", 1},
            {"another value raises one change", 0.14L, 0.1L, u"0" + sep + u"1", 1},
        };
        for (const Again& a : agains) {
            cases.push_back({prefix + a.name, [locale, a](TFixture& f) {
                                 int changes = 0;
                                 TNumberEditView& edit = f.MakeNumberEdit(locale.settings, [&] { ++changes; });
                                 edit.SetValue(a.first);
                                 changes = 0;
                                 edit.SetValue(a.second);
                                 QCOMPARE(Shown(edit.Text()), Shown(a.text));
                                 QCOMPARE(changes, a.changes);
                             }});
        }
        cases.push_back({prefix + "0 on an empty edit raises nothing", [locale](TFixture& f) {
                             int changes = 0;
                             TNumberEditView& edit = f.MakeNumberEdit(locale.settings, [&] { ++changes; });
                             edit.SetValue(0);
                             QCOMPARE(Shown(edit.Text()), QString());
                             QCOMPARE(changes, 0);
                         }});

        // Typed texts: the value they read as, and at least one change.
        struct Typed {
            std::string name;
            std::u16string before; // shown before typing, assigned as a value
            long double beforeValue;
            std::u16string typed;
            long double reads;
        };
        const Typed typeds[] = {
            {"the locale's decimal separator", u"", 0, u"1" + sep + u"25", 1.25L},
            {"a grouped number", u"", 0, u"12" + group + u"345", 12345},
            {"emptying the text reads 0", u"2" + sep + u"5", 2.5L, u"", 0},
            {"a lone minus reads 0", u"", 0, u"-", 0},
            {"the digit 0", u"1", 1, u"0", 0},
        };
        for (const Typed& t : typeds) {
            cases.push_back({prefix + "typing " + t.name, [locale, t](TFixture& f) {
                                 int changes = 0;
                                 TNumberEditView& edit = f.MakeNumberEdit(locale.settings, [&] { ++changes; });
                                 if (t.beforeValue != 0)
                                     edit.SetValue(t.beforeValue);
                                 QCOMPARE(Shown(edit.Text()), Shown(t.before));
                                 changes = 0;
                                 f.TypeText(t.typed);
                                 QCOMPARE(Shown(edit.Text()), Shown(t.typed));
                                 SEROLIS_CONTRACT_SAME_NUMBER(edit.Value(), t.reads);
                                 QVERIFY(changes >= 1);
                             }});
        }

        cases.push_back({prefix + "assigning from inside its own change event nests", [locale, sep, group](TFixture& f) {
                             std::vector<std::u16string> seen;
                             TNumberEditView* edit = nullptr;
                             edit = &f.MakeNumberEdit(locale.settings, [&] {
                                 seen.push_back(edit->Text());
                                 if (seen.size() == 1)
                                     edit->SetValue(1000);
                             });
                             edit->SetValue(2.5L);
                             QCOMPARE(Shown(edit->Text()), Shown(u"1" + group + u"000"));
                             QCOMPARE(seen.size(), std::size_t(2));
                             QCOMPARE(Shown(seen[0]), Shown(u"2" + sep + u"5"));
                             QCOMPARE(Shown(seen[1]), Shown(u"1" + group + u"000"));
                         }});
    }

    cases.push_back({"fr edit: a point typed reads as the decimal separator", [](TFixture& f) {
                         TNumberEditView& edit = f.MakeNumberEdit(NumberText::FrenchFormatSettings(), [] {});
                         f.TypeText(u"1.25");
                         SEROLIS_CONTRACT_SAME_NUMBER(edit.Value(), 1.25L);
                     }});
    cases.push_back({"C edit: a comma typed is a digit group", [](TFixture& f) {
                         TNumberEditView& edit = f.MakeNumberEdit(NumberText::CFormatSettings(), [] {});
                         f.TypeText(u"1,25");
                         SEROLIS_CONTRACT_SAME_NUMBER(edit.Value(), 125.0L);
                     }});
}

inline const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = [] {
        std::vector<Case> all;
        AddSliderCases(all);
        AddEditCases(all);
        return all;
    }();
    return cases;
}

} // namespace Detail

// Declares the table: one row per rule.
inline void AddRows()
{
    QTest::addColumn<int>("rule");
    const auto& cases = Detail::Cases();
    for (std::size_t i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name.c_str()) << static_cast<int>(i);
}

// Checks the rule of the current row against the fixture's widgets.
inline void Run(TFixture& fixture)
{
    QFETCH(int, rule);
    Detail::Cases().at(static_cast<std::size_t>(rule)).run(fixture);
}

} // namespace SliderEditContract
