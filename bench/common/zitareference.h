// The reference load for the convolution engine, run the way a user of zita-convolver would
// run it at its best: vector mode, one 2-in/2-out Convproc per stereo stage with the responses
// in->out 0->0 and 1->1, 2048 taps in 64-sample partitions, 64-frame blocks, five stages in
// series (the pedal's ten convolutions with its peak stage on).
#pragma once

#include <sched.h>
#include <zita-convolver.h>

#include <memory>
#include <vector>

#include "randomsignal.h"

class CZitaReference
{
public:
    static const int kTaps = 2048;
    static const int kBlock = 64;

    // nStages stereo stages; uOptions as for Convproc::set_options.
    explicit CZitaReference(int nStages,
                            unsigned uOptions = Convproc::OPT_VECTOR_MODE
                                                | Convproc::OPT_FFTW_MEASURE)
    {
        for (int s = 0; s < nStages; ++s)
        {
            std::unique_ptr<Convproc> p(new Convproc());
            p->set_options(uOptions);
            if (p->configure(2, 2, kTaps, kBlock, kBlock, kBlock, 0.5f) != 0)
                return;
            for (int ch = 0; ch < 2; ++ch)
            {
                std::vector<float> h(kTaps);
                const std::vector<double> hd = randomSignal(kTaps, 100 + 2 * s + ch);
                // A decaying response keeps the series of stages bounded.
                for (int i = 0; i < kTaps; ++i)
                    h[i] = static_cast<float>(0.05 * hd[i] * (1.0 - i / double(kTaps)));
                if (p->impdata_create(ch, ch, 1, h.data(), 0, kTaps) != 0)
                    return;
            }
            if (p->start_process(0, SCHED_OTHER) != 0)
                return;
            m_stages.push_back(std::move(p));
        }
        m_bReady = true;
    }

    ~CZitaReference()
    {
        for (auto& p : m_stages)
        {
            p->stop_process();
            p->cleanup();
        }
    }

    bool ready() const { return m_bReady; }

    // One block of kBlock frames through every stage in turn; pLeft and pRight are read and
    // overwritten with the result.
    void process(float* pLeft, float* pRight)
    {
        float* apIo[2] = {pLeft, pRight};
        for (auto& p : m_stages)
        {
            for (int ch = 0; ch < 2; ++ch)
            {
                float* pIn = p->inpdata(ch);
                for (int i = 0; i < kBlock; ++i)
                    pIn[i] = apIo[ch][i];
            }
            p->process(false);
            for (int ch = 0; ch < 2; ++ch)
            {
                const float* pOut = p->outdata(ch);
                for (int i = 0; i < kBlock; ++i)
                    apIo[ch][i] = pOut[i];
            }
        }
    }

private:
    std::vector<std::unique_ptr<Convproc>> m_stages;
    bool m_bReady = false;
};
