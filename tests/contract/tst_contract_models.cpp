// The slider and numeric edit models against the same contract as the real widgets.

#include "MarkerModels.h"
#include "SliderEditContract.h"

#include <QtTest>
#include <memory>

namespace {

class TModelFixture : public SliderEditContract::TFixture {
public:
    TSliderView& MakeSlider(int min, int max, int position, std::function<void()> onChange) override
    {
        FSlider = std::make_unique<TSliderModel>(min, max, position);
        FSlider->OnChange = std::move(onChange);
        return *FSlider;
    }
    TNumberEditView& MakeNumberEdit(const NumberText::TFormatSettings& settings,
                                    std::function<void()> onChange) override
    {
        FEdit = std::make_unique<TNumberEditModel>(settings);
        FEdit->OnChange = std::move(onChange);
        return *FEdit;
    }
    void TypeText(std::u16string_view text) override { FEdit->TypeText(text); }

private:
    std::unique_ptr<TSliderModel> FSlider;
    std::unique_ptr<TNumberEditModel> FEdit;
};

} // namespace

class TestContractModels : public QObject
{
    Q_OBJECT
    TModelFixture FFixture;

private slots:
    void contract_data() { SliderEditContract::AddRows(); }
    void contract() { SliderEditContract::Run(FFixture); }
};

QTEST_GUILESS_MAIN(TestContractModels)
#include "tst_contract_models.moc"
