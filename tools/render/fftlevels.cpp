#include "fftlevels.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvessa {
namespace render {

void fft (std::vector<std::complex<double>>& a)
{
	const std::size_t n = a.size ();
	for (std::size_t i = 1, j = 0; i < n; ++i)
	{
		std::size_t bit = n >> 1;
		for (; j & bit; bit >>= 1)
			j ^= bit;
		j ^= bit;
		if (i < j)
			std::swap (a[i], a[j]);
	}
	for (std::size_t len = 2; len <= n; len <<= 1)
	{
		const double ang = -2.0 * M_PI / double (len);
		for (std::size_t i = 0; i < n; i += len)
			for (std::size_t k = 0; k < len / 2; ++k)
			{
				// Twiddles computed directly keep the error from accumulating along a block.
				const std::complex<double> w = std::polar (1.0, ang * double (k));
				const std::complex<double> u = a[i + k];
				const std::complex<double> v = a[i + k + len / 2] * w;
				a[i + k] = u + v;
				a[i + k + len / 2] = u - v;
			}
	}
}

std::vector<double> averageSpectrumDb (const std::vector<float>& samples, int nSize)
{
	const std::size_t n = static_cast<std::size_t> (nSize);
	std::vector<double> window (n);
	double dWindowSum = 0;
	for (std::size_t i = 0; i < n; ++i)
	{
		window[i] = 0.5 - 0.5 * std::cos (2.0 * M_PI * double (i) / double (n));
		dWindowSum += window[i];
	}
	std::vector<double> power (n / 2 + 1, 0.0);
	std::vector<std::complex<double>> frame (n);
	std::size_t nFrames = 0;
	const std::size_t nHop = n / 2;
	for (std::size_t start = 0; nFrames == 0 || start + n <= samples.size (); start += nHop)
	{
		for (std::size_t i = 0; i < n; ++i)
			frame[i] = start + i < samples.size () ? samples[start + i] * window[i] : 0.0;
		fft (frame);
		for (std::size_t k = 0; k <= n / 2; ++k)
			power[k] += std::norm (frame[k]);
		++nFrames;
	}
	// A full-scale sine at a bin centre has magnitude windowSum/2.
	const double dRef = (dWindowSum / 2.0) * (dWindowSum / 2.0);
	std::vector<double> db (n / 2 + 1);
	for (std::size_t k = 0; k <= n / 2; ++k)
		db[k] = std::max (-160.0, 10.0 * std::log10 (power[k] / double (nFrames) / dRef + 1e-300));
	return db;
}

} // namespace render
} // namespace korvessa
