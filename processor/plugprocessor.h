// The audio processor component of zy Phaser (work in progress).
#pragma once

#include "processor/plugparams.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

namespace Steinberg {
namespace Vst {

class PlugProcessor : public AudioEffect
{
public:
	PlugProcessor ();

	static FUnknown* createInstance (void*)
	{
		return static_cast<IAudioProcessor*> (new PlugProcessor ());
	}

	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;

	PlugParams params;
};

} // namespace Vst
} // namespace Steinberg
