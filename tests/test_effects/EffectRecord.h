#pragma once
// The effect record as the project's test effects fill it in their entry: the functions, the
// counts, the flags and the identity; every other field stays zero.

#include "vst2/Vst2Interface.h"

struct EffectRecordFields
{
    AEffectDispatcherProc dispatcher;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    AEffectProcessProc processReplacing;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    int32_t uniqueID;
};

inline void fillEffectRecord(AEffect& record, const EffectRecordFields& fields)
{
    record.magic = kEffectMagic;
    record.dispatcher = fields.dispatcher;
    record.setParameter = fields.setParameter;
    record.getParameter = fields.getParameter;
    record.processReplacing = fields.processReplacing;
    record.numPrograms = fields.numPrograms;
    record.numParams = fields.numParams;
    record.numInputs = fields.numInputs;
    record.numOutputs = fields.numOutputs;
    record.flags = fields.flags;
    record.uniqueID = fields.uniqueID;
    record.version = 1;
}
