// The module's own translation unit until the adapter's sources arrive: the effect bridge is linked
// in whole from its static libraries.
#include "effect_bridge/QuennetAudioProcessor.h"
