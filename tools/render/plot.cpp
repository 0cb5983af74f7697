#include "plot.h"

#include "fftlevels.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvessa {
namespace render {

namespace {

constexpr int kSpectrumSize = 4096;  // FFT frame of the spectra, samples
constexpr double kDbTop = 0.0;       // spectrum panel range, dB
constexpr double kDbBottom = -120.0;

struct CRgb
{
	double r, g, b;
};
constexpr CRgb kBackground {0.10, 0.10, 0.12};
constexpr CRgb kPanel {0.15, 0.15, 0.18};
constexpr CRgb kGrid {0.28, 0.28, 0.32};
constexpr CRgb kText {0.88, 0.88, 0.90};
constexpr CRgb kInputColour {0.55, 0.70, 0.95};
constexpr CRgb kOutputColour {0.98, 0.60, 0.25};

void setColour (cairo_t* cr, CRgb c, double a = 1.0)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, a);
}

void text (cairo_t* cr, double x, double y, const std::string& s, double size, CRgb c = kText)
{
	cairo_select_font_face (cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, size);
	setColour (cr, c);
	cairo_move_to (cr, x, y);
	cairo_show_text (cr, s.c_str ());
}

void panel (cairo_t* cr, double x, double y, double w, double h)
{
	setColour (cr, kPanel);
	cairo_rectangle (cr, x, y, w, h);
	cairo_fill (cr);
}

/** Min/max of the samples under each pixel column; nTotal sets the time scale so that
    signals of different lengths share one axis. */
void waveform (cairo_t* cr, double x, double y, double w, double h, const std::vector<float>& s,
               std::size_t nTotal, CRgb c)
{
	setColour (cr, kGrid);
	cairo_set_line_width (cr, 1.0);
	cairo_move_to (cr, x, y + h / 2);
	cairo_line_to (cr, x + w, y + h / 2);
	cairo_stroke (cr);
	if (s.empty () || nTotal == 0)
		return;
	setColour (cr, c);
	const int nColumns = std::max (1, static_cast<int> (w));
	for (int col = 0; col < nColumns; ++col)
	{
		const std::size_t a = nTotal * std::size_t (col) / std::size_t (nColumns);
		std::size_t b = nTotal * std::size_t (col + 1) / std::size_t (nColumns);
		if (a >= s.size ())
			break;
		b = std::min (std::max (b, a + 1), s.size ());
		float lo = s[a], hi = s[a];
		for (std::size_t i = a; i < b; ++i)
		{
			lo = std::min (lo, s[i]);
			hi = std::max (hi, s[i]);
		}
		const double y0 = y + h / 2 - std::clamp (double (hi), -1.0, 1.0) * h / 2;
		const double y1 = y + h / 2 - std::clamp (double (lo), -1.0, 1.0) * h / 2;
		cairo_rectangle (cr, x + col, y0, 1.0, std::max (1.0, y1 - y0));
	}
	cairo_fill (cr);
}

double freqToX (double f, double x, double w, double fMax)
{
	const double lo = std::log10 (20.0), hi = std::log10 (fMax);
	return x + (std::log10 (std::max (f, 20.0)) - lo) / (hi - lo) * w;
}

double dbToY (double db, double y, double h)
{
	return y + (kDbTop - std::clamp (db, kDbBottom, kDbTop)) / (kDbTop - kDbBottom) * h;
}

void spectrumGrid (cairo_t* cr, double x, double y, double w, double h, int nRate, bool bLabels)
{
	const double fMax = nRate / 2.0;
	setColour (cr, kGrid);
	cairo_set_line_width (cr, 1.0);
	for (double f : {100.0, 1000.0, 10000.0})
		if (f < fMax)
		{
			const double fx = freqToX (f, x, w, fMax);
			cairo_move_to (cr, fx, y);
			cairo_line_to (cr, fx, y + h);
		}
	for (double db = kDbTop - 20.0; db > kDbBottom; db -= 20.0)
	{
		cairo_move_to (cr, x, dbToY (db, y, h));
		cairo_line_to (cr, x + w, dbToY (db, y, h));
	}
	cairo_stroke (cr);
	if (!bLabels)
		return;
	for (double f : {100.0, 1000.0, 10000.0})
		if (f < fMax)
			text (cr, freqToX (f, x, w, fMax) + 3, y + h - 4, f < 1000 ? "100 Hz" : f < 10000 ? "1 kHz" : "10 kHz", 11);
	for (double db = kDbTop - 20.0; db > kDbBottom; db -= 20.0)
	{
		char buf[16];
		std::snprintf (buf, sizeof buf, "%.0f dB", db);
		text (cr, x + 3, dbToY (db, y, h) - 2, buf, 11);
	}
}

void spectrumCurve (cairo_t* cr, double x, double y, double w, double h, const std::vector<double>& db,
                    int nRate, CRgb c)
{
	const double fMax = nRate / 2.0;
	const std::size_t nBins = db.size ();
	const double dBinHz = fMax / double (nBins - 1);
	const double lo = std::log10 (20.0), hi = std::log10 (fMax);
	const int nColumns = static_cast<int> (w);
	setColour (cr, c);
	cairo_set_line_width (cr, 1.3);
	for (int col = 0; col < nColumns; ++col)
	{
		// The loudest bin under the column; where bins are wider than a column (low
		// frequencies), the level interpolated at the column's centre.
		const double f0 = std::pow (10.0, lo + col / w * (hi - lo));
		const double f1 = std::pow (10.0, lo + (col + 1) / w * (hi - lo));
		const std::size_t k0 = static_cast<std::size_t> (std::ceil (f0 / dBinHz));
		const std::size_t k1 = std::min (nBins - 1, static_cast<std::size_t> (std::floor (f1 / dBinHz)));
		double level = -1e9;
		if (k0 <= k1)
			for (std::size_t k = k0; k <= k1; ++k)
				level = std::max (level, db[k]);
		else
		{
			const double pos = std::sqrt (f0 * f1) / dBinHz;
			const std::size_t k = std::min (nBins - 2, static_cast<std::size_t> (pos));
			const double t = pos - double (k);
			level = db[k] * (1.0 - t) + db[k + 1] * t;
		}
		const double px = x + col + 0.5, py = dbToY (level, y, h);
		if (col == 0)
			cairo_move_to (cr, px, py);
		else
			cairo_line_to (cr, px, py);
	}
	cairo_stroke (cr);
}

bool save (cairo_surface_t* surface, const std::string& szPath, std::string& szError)
{
	const std::string szTemp = szPath + ".part";
	const cairo_status_t st = cairo_surface_write_to_png (surface, szTemp.c_str ());
	if (st != CAIRO_STATUS_SUCCESS)
	{
		::unlink (szTemp.c_str ());
		szError = "cannot write picture '" + szPath + "': " + cairo_status_to_string (st);
		return false;
	}
	if (::rename (szTemp.c_str (), szPath.c_str ()) != 0)
	{
		::unlink (szTemp.c_str ());
		szError = "cannot write picture '" + szPath + "'";
		return false;
	}
	return true;
}

std::string secondsText (double s)
{
	char buf[32];
	std::snprintf (buf, sizeof buf, "%.1f s", s);
	return buf;
}

} // namespace

bool writeRenderPlot (const std::string& szPath, const std::string& szTitle,
                      const std::vector<float>& input, const std::vector<float>& output,
                      int nSampleRate, std::string& szError)
{
	const int W = 1400, H = 900;
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_RGB24, W, H);
	cairo_t* cr = cairo_create (surface);
	setColour (cr, kBackground);
	cairo_paint (cr);
	text (cr, 20, 32, szTitle, 20);

	const std::size_t nTotal = std::max (input.size (), output.size ());
	const double L = 20, R = W - 20, PW = R - L;
	const double y1 = 60, h1 = 200, y2 = 300, h2 = 200, y3 = 540, h3 = H - 560.0;
	panel (cr, L, y1, PW, h1);
	waveform (cr, L, y1, PW, h1, input, nTotal, kInputColour);
	text (cr, L + 6, y1 + 18, "Input", 14, kInputColour);
	text (cr, R - 60, y1 + h1 + 16, secondsText (double (nTotal) / nSampleRate), 12);
	panel (cr, L, y2, PW, h2);
	waveform (cr, L, y2, PW, h2, output, nTotal, kOutputColour);
	text (cr, L + 6, y2 + 18, "Output", 14, kOutputColour);

	panel (cr, L, y3, PW, h3);
	spectrumGrid (cr, L, y3, PW, h3, nSampleRate, true);
	spectrumCurve (cr, L, y3, PW, h3, averageSpectrumDb (input, kSpectrumSize), nSampleRate, kInputColour);
	spectrumCurve (cr, L, y3, PW, h3, averageSpectrumDb (output, kSpectrumSize), nSampleRate, kOutputColour);
	text (cr, R - 230, y3 + 20, "Spectrum: input", 14, kInputColour);
	text (cr, R - 95, y3 + 20, "output", 14, kOutputColour);

	cairo_destroy (cr);
	const bool bOk = save (surface, szPath, szError);
	cairo_surface_destroy (surface);
	return bOk;
}

bool writeOverviewPlot (const std::string& szPath, const std::string& szTitle,
                        const std::vector<float>& input,
                        const std::vector<std::pair<std::string, std::vector<float>>>& outputs,
                        int nSampleRate, std::string& szError)
{
	const int nCols = 4;
	const int nRows = std::max<int> (1, (static_cast<int> (outputs.size ()) + nCols - 1) / nCols);
	const double tileW = 390, tileH = 250, gap = 12, top = 200, left = 16;
	const int W = static_cast<int> (left * 2 + nCols * tileW + (nCols - 1) * gap);
	const int H = static_cast<int> (top + nRows * (tileH + gap) + 10);
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_RGB24, W, H);
	cairo_t* cr = cairo_create (surface);
	setColour (cr, kBackground);
	cairo_paint (cr);
	text (cr, left, 30, szTitle, 20);

	std::size_t nTotal = input.size ();
	for (const auto& o : outputs)
		nTotal = std::max (nTotal, o.second.size ());
	panel (cr, left, 48, W - 2 * left, 130);
	waveform (cr, left, 48, W - 2 * left, 130, input, nTotal, kInputColour);
	text (cr, left + 6, 66, "Input phrase", 14, kInputColour);

	const std::vector<double> inSpectrum = averageSpectrumDb (input, kSpectrumSize);
	for (std::size_t i = 0; i < outputs.size (); ++i)
	{
		const double x = left + double (i % nCols) * (tileW + gap);
		const double y = top + double (i / nCols) * (tileH + gap);
		panel (cr, x, y, tileW, tileH);
		text (cr, x + 6, y + 17, outputs[i].first, 14);
		const double wy = y + 24, wh = 90;
		waveform (cr, x, wy, tileW, wh, outputs[i].second, nTotal, kOutputColour);
		const double sy = wy + wh + 6, sh = tileH - (sy - y) - 4;
		spectrumGrid (cr, x, sy, tileW, sh, nSampleRate, false);
		spectrumCurve (cr, x, sy, tileW, sh, inSpectrum, nSampleRate, kInputColour);
		spectrumCurve (cr, x, sy, tileW, sh, averageSpectrumDb (outputs[i].second, kSpectrumSize), nSampleRate,
		               kOutputColour);
	}

	cairo_destroy (cr);
	const bool bOk = save (surface, szPath, szError);
	cairo_surface_destroy (surface);
	return bOk;
}

void releaseDrawingCaches ()
{
	cairo_debug_reset_static_data ();
	FcFini ();
}

} // namespace render
} // namespace korvessa
