#pragma once
// The enumerators the module and its hosts exchange as plain numbers: in descriptions, parameter
// queries, view containers and trace messages. Hosts compare these numbers, so they never change.

#include "aax_library/AAX_Types.h"

#include <cstdint>

// Procedure kinds registered with an effect descriptor's AddProcPtr.
enum : AAX_CProcPtrID
{
    kAAX_ProcPtrID_Create_EffectParameters = 0,
    kAAX_ProcPtrID_Create_EffectGUI = 1,
};

// Plug-in categories (AddCategory).
enum : uint32_t
{
    AAX_ePlugInCategory_Delay = 16,
};

// Context-field kinds of a component description.
enum : AAX_EDataInPortType
{
    AAX_eDataInPortType_Buffered = 1,
};
enum : AAX_EMIDINodeType
{
    AAX_eMIDINodeType_LocalInput = 0,
};
enum : AAX_EPrivateDataOptions
{
    AAX_ePrivateDataOptions_DefaultOptions = 0,
};

// Control types of AAX_EParameterType.
enum : AAX_EParameterType
{
    AAX_eParameterType_Discrete = 0,
    AAX_eParameterType_Continuous = 1,
};
// The one orientation this library uses; others are stored and returned only.
enum : AAX_EParameterOrientation
{
    AAX_eParameterOrientation_Default = 0,
};

// Where a parameter update comes from. Hosts and this library pass only the unspecified source.
enum : AAX_EUpdateSource
{
    AAX_eUpdateSource_Unspecified = 0,
};

// View-container types. On POSIX type 3 carries an X11 window id in the pointer-sized value.
enum : AAX_EViewContainer_Type
{
    AAX_eViewContainer_Type_NULL = 0,
    AAX_eViewContainer_Type_NSView = 1,
    AAX_eViewContainer_Type_UIView = 2,
    AAX_eViewContainer_Type_HWND = 3,
};

// Frame rates, as the transport's time-code query reports them.
enum : AAX_EFrameRate
{
    AAX_eFrameRate_Undeclared = 0,
    AAX_eFrameRate_24Frame = 1,
    AAX_eFrameRate_25Frame = 2,
    AAX_eFrameRate_2997NonDrop = 3,
    AAX_eFrameRate_2997DropFrame = 4,
    AAX_eFrameRate_30NonDrop = 5,
    AAX_eFrameRate_30DropFrame = 6,
    AAX_eFrameRate_23976 = 7,
};

// Trace priorities understood by the host.
enum : int32_t
{
    AAX_eTracePriorityHost_None = 0,
    AAX_eTracePriorityHost_Critical = 0x10000000,
    AAX_eTracePriorityHost_High = 0x08000000,
    AAX_eTracePriorityHost_Normal = 0x04000000,
    AAX_eTracePriorityHost_Low = 0x02000000,
    AAX_eTracePriorityHost_Lowest = 0x01000000,
};
