#pragma once
// What the module's entry points need from the plug-in built on this library.

#include "aax_library/AAX_ICollection.h"
#include "aax_library/AAX_Types.h"

// [host thread] The plug-in's description callback, which the plug-in defines: fills the host's
// collection; 0, or AAX_ERROR_NULL_OBJECT when it offers no effect descriptor. Called by the
// registration entry point.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection);
