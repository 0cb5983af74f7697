#include "utf16.h"

namespace Steinberg {
namespace Utf16 {

namespace {

constexpr uint32 kReplacement = 0xFFFD;

/** Decodes one character at s, advancing it; null or end gives 0. */
uint32 nextFromUtf8 (const unsigned char*& s)
{
	const uint32 lead = *s;
	if (lead == 0)
		return 0;
	++s;
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
		if ((*s & 0xC0) != 0x80)
			return kReplacement; // the unexpected byte starts the next character
		cp = (cp << 6) | (*s & 0x3F);
		++s;
	}
	if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
		return kReplacement;
	return cp;
}

/** Decodes one character at s, advancing it; end gives 0. */
uint32 nextFromUtf16 (const char16*& s)
{
	const uint32 first = static_cast<uint16> (*s);
	if (first == 0)
		return 0;
	++s;
	if (first >= 0xD800 && first <= 0xDBFF)
	{
		const uint32 second = static_cast<uint16> (*s);
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

} // namespace

void fromUtf8 (const char8* src, char16* dst, int32 dstCount)
{
	if (!dst || dstCount <= 0)
		return;
	int32 n = 0;
	if (src)
	{
		auto* s = reinterpret_cast<const unsigned char*> (src);
		while (uint32 cp = nextFromUtf8 (s))
		{
			const int32 units = cp >= 0x10000 ? 2 : 1;
			if (n + units > dstCount - 1)
				break;
			if (units == 2)
			{
				cp -= 0x10000;
				dst[n++] = static_cast<char16> (0xD800 + (cp >> 10));
				dst[n++] = static_cast<char16> (0xDC00 + (cp & 0x3FF));
			}
			else
				dst[n++] = static_cast<char16> (cp);
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
		while (uint32 cp = nextFromUtf16 (s))
		{
			unsigned char bytes[4];
			int32 count = 0;
			if (cp < 0x80)
				bytes[count++] = static_cast<unsigned char> (cp);
			else if (cp < 0x800)
			{
				bytes[count++] = static_cast<unsigned char> (0xC0 | (cp >> 6));
				bytes[count++] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
			}
			else if (cp < 0x10000)
			{
				bytes[count++] = static_cast<unsigned char> (0xE0 | (cp >> 12));
				bytes[count++] = static_cast<unsigned char> (0x80 | ((cp >> 6) & 0x3F));
				bytes[count++] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
			}
			else
			{
				bytes[count++] = static_cast<unsigned char> (0xF0 | (cp >> 18));
				bytes[count++] = static_cast<unsigned char> (0x80 | ((cp >> 12) & 0x3F));
				bytes[count++] = static_cast<unsigned char> (0x80 | ((cp >> 6) & 0x3F));
				bytes[count++] = static_cast<unsigned char> (0x80 | (cp & 0x3F));
			}
			if (n + count > dstBytes - 1)
				break;
			for (int32 i = 0; i < count; ++i)
				dst[n++] = static_cast<char8> (bytes[i]);
		}
	}
	dst[n] = 0;
}

} // namespace Utf16
} // namespace Steinberg
