#pragma once
// A saver window as "/s" opens it, with the outside world replaced.

#include "saver/frmMoondialMain.h"
#include "startup/modMain.h"
#include "support/StandIns.h"

#include <memory>

class SaverFixture : public testing_support::OutsideWorldTest {
protected:
    void SetUp() override {
        OutsideWorldTest::SetUp();
        modMain::LipsHourHandColor = 8;
        modMain::LipsMinuteHandColor = 7;
        modMain::LipsSecondHandColor = 12;
    }

    // A saver window of the type, shown as Main shows it.
    std::unique_ptr<frmMoondialMain> Shown(int type) {
        modMain::ScreenSaverType = type;
        auto form = std::make_unique<frmMoondialMain>();
        Ends([&] { form->Show(); }); // a load that ends the process counts in ends
        return form;
    }
};
