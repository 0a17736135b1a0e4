#pragma once
// Property ids of a component's property map (AddProperty). Hosts read the properties by these
// numbers, so they never change.

#include "aax_library/AAX_Types.h"

enum : AAX_EProperty
{
    AAX_eProperty_ManufacturerID = 11,
    AAX_eProperty_ProductID = 12,
    AAX_eProperty_PlugInID_Native = 13,
    AAX_eProperty_PlugInID_AudioSuite = 14,
    AAX_eProperty_InputStemFormat = 51,
    AAX_eProperty_OutputStemFormat = 52,
    AAX_eProperty_CanBypass = 60,
    AAX_eProperty_Constraint_MultiMonoSupport = 304,
};
