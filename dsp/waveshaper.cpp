#include "waveshaper.h"

#include <cmath>

namespace
{
// Output for x = -1 + 0.02 j, j = row start + column.
const double kCurve[CWaveShaper::kPointCount] = {
    -0.988553,  -0.988539, -0.988525, -0.988511, -0.988496, -0.988482, -0.988469, -0.988458, -0.988448, -0.98844,   //  0
    -0.988433,  -0.988427, -0.988422, -0.988418, -0.988412, -0.988407, -0.988401, -0.988395, -0.988388, -0.988381,  // 10
    -0.988373,  -0.988363, -0.988348, -0.988325, -0.988281, -0.988201, -0.988046, -0.987751, -0.987132, -0.985981,  // 20
    -0.984216,  -0.981956, -0.979155, -0.976061, -0.973582, -0.969796, -0.965385, -0.960286, -0.954451, -0.947698,  // 30
    -0.939927,  -0.93082,  -0.920142, -0.907237, -0.891459, -0.871045, -0.843515, -0.800322, -0.710256, -0.415878,  // 40
    -0.00364971, 0.410142,  0.707578,  0.801698,  0.845708,  0.874258,  0.895439,  0.912131,  0.925947,  0.937675,  // 50
     0.947896,   0.956924,  0.965031,  0.972368,  0.979084,  0.984182,  0.985441,  0.986076,  0.986432,  0.986642,  // 60
     0.986765,   0.986836,  0.986874,  0.986893,  0.986899,  0.986898,  0.986892,  0.986883,  0.986872,  0.98686,   // 70
     0.986847,   0.986834,  0.98682,   0.986806,  0.986792,  0.986778,  0.986764,  0.98675,   0.986736,  0.986722,  // 80
     0.986707,   0.986693,  0.986679,  0.986665,  0.986651,  0.986637,  0.986622,  0.986608,  0.986594,  0.98658,   // 90
     0.986566,                                                                                                       // 100
};
}

CWaveShaper::CWaveShaper(int)
    : m_nPointCount(kPointCount)
    , m_pCurve(kCurve)
    , m_dOutput(0.0)
{
}

const double* CWaveShaper::curve()
{
    return kCurve;
}

void CWaveShaper::reset()
{
    m_pCurve = kCurve;
    m_dOutput = 0.0;
}

void CWaveShaper::selectCurve(int)
{
    m_pCurve = kCurve;
}

void CWaveShaper::process(double x)
{
    if (!std::isfinite(x))
        x = 0.0;
    const double* c = m_pCurve;
    // The segment index is trunc(x*50 + 50). The range tests come first so that no value
    // outside int's range (huge inputs) is ever converted: t <= -1 truncates below 0 and
    // t >= 100 truncates above 99.
    const double t = x * 50 + 50;
    if (t <= -1.0)
        m_dOutput = (c[1] - c[0]) / 0.02 * (x + 1) + c[0];
    else if (t >= 100.0)
        m_dOutput = (c[100] - c[99]) / 0.02 * (x - 1) + c[100];
    else
    {
        const int j = static_cast<int>(t);
        m_dOutput = (x + 1 - j * 0.02) * ((c[j + 1] - c[j]) * 50) + c[j];
    }
}
