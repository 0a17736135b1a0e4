#pragma once
// A control as the host sees it: identifier, names, value and default in real and normalized
// form, steps, text conversion and automation. The operation order is the library's contract with
// code that holds parameters through this interface; never reorder.

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>

class AAX_IAutomationDelegate;
class AAX_ITaperDelegateBase;
class AAX_IDisplayDelegateBase;

class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    // [host thread] for everything below unless noted; the host serialises calls on one parameter.
    virtual AAX_CParamID Identifier() const = 0;                             // 1
    virtual void SetName(const AAX_CString& name) = 0;                       // 2
    virtual const AAX_CString& Name() const = 0;                             // 3
    virtual void AddShortenedName(const AAX_CString& name) = 0;              // 4
    virtual const AAX_CString& ShortenedName(int32_t maxNumChars) const = 0; // 5
    virtual void ClearShortenedNames() = 0;                                  // 6
    virtual bool Automatable() const = 0;                                    // 7
    // delegate is borrowed; null detaches.
    virtual void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0; // 8
    // [any thread] while an automation delegate is attached, when these only post requests to it:
    // the plug-in reports its own changes from the thread they happen on. [host thread] before.
    virtual void Touch() = 0;                                    // 9
    virtual void Release() = 0;                                  // 10
    virtual void SetNormalizedValue(double normalizedValue) = 0; // 11
    // [host thread] for everything below unless noted.
    virtual double GetNormalizedValue() const = 0;                                        // 12
    virtual void SetNormalizedDefaultValue(double normalizedDefault) = 0;                 // 13
    virtual double GetNormalizedDefaultValue() const = 0;                                 // 14
    virtual void SetToDefaultValue() = 0;                                                 // 15
    virtual void SetNumberOfSteps(uint32_t numSteps) = 0;                                 // 16
    virtual uint32_t GetNumberOfSteps() const = 0;                                        // 17
    virtual uint32_t GetStepValue() const = 0;                                            // 18
    virtual void SetStepValue(uint32_t step) = 0;                                         // 19
    virtual bool GetValueString(int32_t maxNumChars, AAX_CString* valueString) const = 0; // 20
    virtual bool GetValueString(AAX_CString* valueString) const = 0;                      // 21
    virtual bool GetNormalizedValueFromString(const AAX_CString& valueString,
                                              double* normalizedValue) const = 0; // 22
    virtual bool GetStringFromNormalizedValue(double normalizedValue, int32_t maxNumChars,
                                              AAX_CString* valueString) const = 0; // 23
    virtual bool GetStringFromNormalizedValue(double normalizedValue,
                                              AAX_CString* valueString) const = 0; // 24
    virtual bool SetValueFromString(const AAX_CString& valueString) = 0;           // 25
    // Typed access: each accepts only the parameter's own value type and answers false otherwise,
    // leaving the output untouched.
    virtual bool GetValueAsBool(bool* value) const = 0;                     // 26
    virtual bool GetValueAsInt32(int32_t* value) const = 0;                 // 27
    virtual bool GetValueAsFloat(float* value) const = 0;                   // 28
    virtual bool GetValueAsDouble(double* value) const = 0;                 // 29
    virtual bool GetValueAsString(AAX_IString* value) const = 0;            // 30
    virtual bool SetValueWithBool(bool value) = 0;                          // 31
    virtual bool SetValueWithInt32(int32_t value) = 0;                      // 32
    virtual bool SetValueWithFloat(float value) = 0;                        // 33
    virtual bool SetValueWithDouble(double value) = 0;                      // 34
    virtual bool SetValueWithString(const AAX_IString& value) = 0;          // 35
    virtual void SetType(AAX_EParameterType type) = 0;                      // 36
    virtual AAX_EParameterType GetType() const = 0;                         // 37
    virtual void SetOrientation(AAX_EParameterOrientation orientation) = 0; // 38
    virtual AAX_EParameterOrientation GetOrientation() const = 0;           // 39
    // The parameter keeps a clone; a taper or display delegate of another value type is ignored.
    virtual void SetTaperDelegate(const AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) = 0; // 40
    virtual void SetDisplayDelegate(const AAX_IDisplayDelegateBase& displayDelegate) = 0;               // 41
    // The host's way of setting the value.
    virtual void UpdateNormalizedValue(double normalizedValue) = 0; // 42
};
