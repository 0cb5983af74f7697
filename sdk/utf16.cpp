#include "utf16.h"

namespace Steinberg {
namespace Utf16 {

namespace {

constexpr uint32 kReplacement = 0xFFFD;

/** Decodes one character at s (before end), advancing it; a zero byte or the end gives 0. */
uint32 nextFromUtf8 (const unsigned char*& s, const unsigned char* end)
{
	if (s == end || *s == 0)
		return 0;
	const uint32 lead = *s++;
	if (lead < 0x80)
		return lead;

	int32 extra = 0;
	uint32 cp = 0;
	uint32 minimum = 0;
	if ((lead & 0xE0) == 0xC0)
	{
		extra = 1;
		cp = lead & 0x1F;
		minimum = 0x80;
	}
	else if ((lead & 0xF0) == 0xE0)
	{
		extra = 2;
		cp = lead & 0x0F;
		minimum = 0x800;
	}
	else if ((lead & 0xF8) == 0xF0)
	{
		extra = 3;
		cp = lead & 0x07;
		minimum = 0x10000;
	}
	else
		return kReplacement;

	for (int32 i = 0; i < extra; ++i)
	{
		if (s == end || (*s & 0xC0) != 0x80)
			return kReplacement; // the unexpected byte starts the next character
		cp = (cp << 6) | (*s & 0x3F);
		++s;
	}
	if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
		return kReplacement;
	return cp;
}

/** Decodes one character at s (before end), advancing it; a zero unit or the end gives 0. */
uint32 nextFromUtf16 (const char16*& s, const char16* end)
{
	if (s == end || *s == 0)
		return 0;
	const uint32 first = static_cast<uint16> (*s++);
	if (first >= 0xD800 && first <= 0xDBFF)
	{
		const uint32 second = s != end ? static_cast<uint16> (*s) : 0;
		if (second >= 0xDC00 && second <= 0xDFFF)
		{
			++s;
			return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
		}
		return kReplacement;
	}
	if (first >= 0xDC00 && first <= 0xDFFF)
		return kReplacement;
	return first;
}

/** The UTF-16 units of cp; answers their count (1 or 2). */
int32 encodeUtf16 (uint32 cp, char16 units[2])
{
	if (cp < 0x10000)
	{
		units[0] = static_cast<char16> (cp);
		return 1;
	}
	cp -= 0x10000;
	units[0] = static_cast<char16> (0xD800 + (cp >> 10));
	units[1] = static_cast<char16> (0xDC00 + (cp & 0x3FF));
	return 2;
}

/** The UTF-8 bytes of cp; answers their count (1 to 4). */
int32 encodeUtf8 (uint32 cp, unsigned char bytes[4])
{
	if (cp < 0x80)
	{
		bytes[0] = static_cast<unsigned char> (cp);
		return 1;
	}
	if (cp < 0x800)
	{
		bytes[0] = static_cast<unsigned char> (0xC0 | (cp >> 6));
		bytes[1] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
		return 2;
	}
	if (cp < 0x10000)
	{
		bytes[0] = static_cast<unsigned char> (0xE0 | (cp >> 12));
		bytes[1] = static_cast<unsigned char> (0x80 | ((cp >> 6) & 0x3F));
		bytes[2] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
		return 3;
	}
	bytes[0] = static_cast<unsigned char> (0xF0 | (cp >> 18));
	bytes[1] = static_cast<unsigned char> (0x80 | ((cp >> 12) & 0x3F));
	bytes[2] = static_cast<unsigned char> (0x80 | ((cp >> 6) & 0x3F));
	bytes[3] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
	return 4;
}

} // namespace

void fromUtf8 (const char8* src, char16* dst, int32 dstCount)
{
	if (!dst || dstCount <= 0)
		return;
	int32 n = 0;
	if (src)
	{
		auto* s = reinterpret_cast<const unsigned char*> (src);
		while (uint32 cp = nextFromUtf8 (s, nullptr))
		{
			char16 units[2];
			const int32 count = encodeUtf16 (cp, units);
			if (n + count > dstCount - 1)
				break;
			for (int32 i = 0; i < count; ++i)
				dst[n++] = units[i];
		}
	}
	dst[n] = 0;
}

void toUtf8 (const char16* src, char8* dst, int32 dstBytes)
{
	if (!dst || dstBytes <= 0)
		return;
	int32 n = 0;
	if (src)
	{
		const char16* s = src;
		while (uint32 cp = nextFromUtf16 (s, nullptr))
		{
			unsigned char bytes[4];
			const int32 count = encodeUtf8 (cp, bytes);
			if (n + count > dstBytes - 1)
				break;
			for (int32 i = 0; i < count; ++i)
				dst[n++] = static_cast<char8> (bytes[i]);
		}
	}
	dst[n] = 0;
}

std::string toUtf8String (const char16* src, size_t srcCount)
{
	std::string out;
	if (!src)
		return out;
	const char16* s = src;
	while (uint32 cp = nextFromUtf16 (s, src + srcCount))
	{
		unsigned char bytes[4];
		out.append (reinterpret_cast<const char*> (bytes), static_cast<size_t> (encodeUtf8 (cp, bytes)));
	}
	return out;
}

std::u16string fromUtf8String (const std::string& src)
{
	std::u16string out;
	auto* s = reinterpret_cast<const unsigned char*> (src.data ());
	const auto* end = s + src.size ();
	while (uint32 cp = nextFromUtf8 (s, end))
	{
		char16 units[2];
		const int32 count = encodeUtf16 (cp, units);
		for (int32 i = 0; i < count; ++i)
			out += static_cast<char16_t> (units[i]);
	}
	return out;
}

} // namespace Utf16
} // namespace Steinberg
