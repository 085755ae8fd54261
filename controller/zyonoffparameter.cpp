#include "controller/zyonoffparameter.h"

#include "pluginterfaces/vst/ivstunits.h"

namespace Steinberg {
namespace Vst {

namespace {

bool isBlank (TChar c)
{
	return c == ' ' || c == '\t';
}

// Whether the units from begin to end spell word (lower-case ASCII) in any
// letter case; compared unit by unit, so no text is converted.
bool spells (const TChar* begin, const TChar* end, const char* word)
{
	for (; begin != end; ++begin, ++word)
	{
		if (!*word)
			return false;
		TChar c = *begin;
		if (c >= 'A' && c <= 'Z')
			c = static_cast<TChar> (c - 'A' + 'a');
		if (c != static_cast<TChar> (*word))
			return false;
	}
	return !*word;
}

} // namespace

ZYOnOffParameter::ZYOnOffParameter (const TChar* title, ParamID tag, int32 flags)
: Parameter (title, tag, nullptr, 0., 1, flags, kRootUnitId, nullptr)
{
}

bool ZYOnOffParameter::fromString (const TChar* string, ParamValue& valueNormalized) const
{
	const TChar* begin = string;
	while (isBlank (*begin))
		++begin;
	const TChar* end = begin;
	while (*end)
		++end;
	while (end != begin && isBlank (end[-1]))
		--end;
	if (spells (begin, end, "on"))
	{
		valueNormalized = 1.;
		return true;
	}
	if (spells (begin, end, "off"))
	{
		valueNormalized = 0.;
		return true;
	}
	return Parameter::fromString (string, valueNormalized);
}

} // namespace Vst
} // namespace Steinberg
