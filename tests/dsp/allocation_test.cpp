// The audio path and the designs allocate nothing: the shared counter (a replaced global
// operator new) counts every allocation made while the components run.
#include "drivefilter.h"
#include "feedbackdelay.h"
#include "inputcapfilter.h"
#include "midsfilter.h"
#include "noisegate.h"
#include "volumefilter.h"
#include "waveshaper.h"

#include "allocationcount.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(AllocationTest, ProcessingAndDesignsAllocateNothing)
{
    const int fs = 48000;
    CInputCapFilter incap(fs, 2048, 2048, 64, 0);
    CDriveFilter drive(fs, 2048, 2048, 64, 0);
    CMidsFilter mids(fs, 2048, 2048, 64, 0);
    CVolumeFilter vol(fs, 2048, 2048, 64, 0);
    CWaveShaper shaper(101);
    CNoiseGate gate;
    CFeedbackDelay delay(fs, 128, 0.0, 100.0);

    CAllocationCount count;
    for (CCircuitFilter* f : {static_cast<CCircuitFilter*>(&incap), static_cast<CCircuitFilter*>(&drive),
                              static_cast<CCircuitFilter*>(&mids), static_cast<CCircuitFilter*>(&vol)})
    {
        f->setDecayWindow(0.0, fs);
        f->setGain(1.0);
    }
    incap.calculateIR(0, 1, 1, 3.0, fs);
    drive.calculateIR(4, 0, 0.6, 1.0, fs);
    drive.calculateIR(2, 1, 0.6, 1.0, fs);
    mids.calculateIR(0, 0, 0.3, fs);
    vol.calculateIR(0, 1, 0.4, fs);
    gate.setParameters(350.0, 25.0, fs, -60.0);
    delay.reset(128, 0.0, 100.0);
    shaper.reset();
    double v = 0.0;
    for (int t = 0; t < 3 * 2048; ++t)
    {
        const double x = (t % 100) * 0.01 - 0.5;
        gate.process(x);
        incap.processSample(gate.getOutput());
        shaper.process(incap.getOutput() - 0.1 * drive.getOutput());
        delay.process(shaper.getOutput());
        drive.processSample(shaper.getOutput());
        mids.processSample(delay.getOutput());
        vol.processSample(mids.getOutput());
        v += vol.getOutput();
        if (t % 64 == 0)
            mids.calculateIR(0, 0, (t % 1000) * 0.001, fs);
    }
    EXPECT_EQ(count.count(), 0u);
    EXPECT_TRUE(std::isfinite(v));
}
