// The real TTrackBar and TCalcEdit, through their adapters, against the same contract as the
// models the marker inputs are tested with.

#include "../EntryTestHelpers.h"
#include "NumEdits.h"
#include "SliderEditContract.h"
#include "TrackBar.h"
#include "WidgetAdapters.h"

#include <QtTest>
#include <memory>

namespace {

class TWidgetFixture : public SliderEditContract::TFixture {
public:
    TSliderView& MakeSlider(int min, int max, int position, std::function<void()> onChange) override
    {
        FSliderView.reset();
        FSlider = std::make_unique<TTrackBar>();
        FSlider->SetMin(min);
        FSlider->SetMax(max);
        FSlider->SetPosition(position);
        FSlider->OnChange = [onChange = std::move(onChange)](TObject*) { onChange(); };
        FSliderView = std::make_unique<TTrackBarView>(*FSlider);
        return *FSliderView;
    }
    TNumberEditView& MakeNumberEdit(const NumberText::TFormatSettings& settings,
                                    std::function<void()> onChange) override
    {
        Locale::SetFormatSettings(settings);
        FEditView.reset();
        FEdit = std::make_unique<TCalcEdit>();
        FEdit->OnChange = [onChange = std::move(onChange)](TObject*) { onChange(); };
        FEditView = std::make_unique<TNumEditView>(*FEdit);
        return *FEditView;
    }
    // Typing over the whole text replaces it; Backspace on it empties it.
    void TypeText(std::u16string_view text) override
    {
        FEdit->selectAll();
        if (text.empty())
            EntryTest::Type(FEdit.get(), QStringLiteral("\b"));
        else
            EntryTest::Type(FEdit.get(), QString::fromStdU16String(std::u16string(text)));
    }

private:
    std::unique_ptr<TTrackBar> FSlider;
    std::unique_ptr<TTrackBarView> FSliderView;
    std::unique_ptr<TCalcEdit> FEdit;
    std::unique_ptr<TNumEditView> FEditView;
};

} // namespace

class TestEntryContract : public QObject
{
    Q_OBJECT
    TWidgetFixture FFixture;

private slots:
    void contract_data() { SliderEditContract::AddRows(); }
    void contract() { SliderEditContract::Run(FFixture); }
};

QTEST_MAIN(TestEntryContract)
#include "tst_entry_contract.moc"
