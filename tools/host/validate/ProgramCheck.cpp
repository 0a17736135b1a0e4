#include "tools/host/validate/ProgramCheck.h"

#include "aax_library/AAX_Identifiers.h"
#include "effect_bridge/EffectStateBlock.h"
#include "tools/host/validate/SavedChunks.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <algorithm>
#include <cstring>

namespace ombrelhost
{

namespace
{

constexpr int32_t kProgramsAtLowStrictness = 4;
constexpr int32_t kMostPrograms = 128;
constexpr int32_t kProgramBlock = 256;
constexpr int64_t kProgramSamples = 2048;

// The effect's state block, as the chunk that is not the controls chunk: null when none.
const testhost::SavedChunk* StateBlock(const Chunks& chunks)
{
    for (const testhost::SavedChunk& chunk : chunks)
        if (chunk.id != cDefaultChunkID)
            return &chunk;
    return nullptr;
}

struct ParameterForm
{
    int32_t parameters = 0;
    int32_t programs = 0;
    int32_t current = 0;
};

// True for a whole parameter-form block (the only form in which programs reach a host).
bool ReadParameterForm(const std::vector<uint8_t>& data, ParameterForm& form)
{
    using namespace EffectStateBlock;
    if (data.size() < kHeaderSize + kTrailerSize)
        return false;
    const uint8_t* trailer = data.data() + data.size() - kTrailerSize;
    const uint32_t marker = readUint32(trailer);
    if (marker != kParameterFormMarker && marker != kLegacyParameterFormMarker)
        return false;
    form.parameters = readInt32(data.data());
    form.programs = readInt32(data.data() + 4);
    form.current = readInt32(trailer + 4);
    return form.parameters >= 0 && form.programs > 0 && form.programs <= 0x10000 &&
           form.parameters <= 0x10000 && data.size() == parameterFormSize(form.parameters, form.programs);
}

std::string ProgramName(const std::vector<uint8_t>& data, const ParameterForm& form, int32_t program)
{
    using namespace EffectStateBlock;
    const char* name = reinterpret_cast<const char*>(data.data() + kHeaderSize +
                                                     static_cast<size_t>(program) * programRecordSize(form.parameters));
    return std::string(name, strnlen(name, kProgramNameSize));
}

} // namespace

void CheckPrograms(GroupContext& context, ValidationInstance& instance)
{
    const std::string check = "programs";
    const std::string layout = std::string(ChannelLayoutName(instance.Layout())) + " layout";
    testhost::DataModelInstance& dataModel = instance.DataModel();
    context.Step("saving the programs");
    Chunks chunks;
    std::string error;
    const testhost::SavedChunk* block = SaveChunks(dataModel, chunks, error) ? StateBlock(chunks) : nullptr;
    if (block == nullptr)
    {
        context.Skip(check, "the module saves no state block of the effect");
        return;
    }
    ParameterForm form;
    if (!ReadParameterForm(block->data, form))
    {
        context.Skip(check, "the effect saves a chunk of its own: its programs reach a host only inside it");
        return;
    }

    std::vector<int32_t> programs;
    const int32_t all = std::min(form.programs, kMostPrograms);
    if (context.Strictness() >= 5 || all <= kProgramsAtLowStrictness)
        for (int32_t program = 0; program < all; ++program)
            programs.push_back(program);
    else
    {
        programs = {0, form.programs - 1};
        while (static_cast<int32_t>(programs.size()) < kProgramsAtLowStrictness)
            programs.push_back(std::uniform_int_distribution<int32_t>(1, form.programs - 2)(context.Random()));
    }

    size_t failures = 0;
    std::string firstFailure;
    std::string names;
    const SignalSource noise = Noise(17);
    for (const int32_t program : programs)
    {
        const std::string name = ProgramName(block->data, form, program);
        const std::string label = "program " + std::to_string(program) + " \"" + name + "\"";
        context.Step("selecting " + label);
        testhost::SavedChunk selecting = *block;
        EffectStateBlock::writeInt32(selecting.data.data() + selecting.data.size() - 4, program);
        dataModel.SetChunk(selecting);
        const BlockFigures figures = instance.Run(kProgramBlock, kProgramSamples, noise);
        Chunks after;
        const testhost::SavedChunk* saved = SaveChunks(dataModel, after, error) ? StateBlock(after) : nullptr;
        ParameterForm now;
        std::string fault;
        if (saved == nullptr || !ReadParameterForm(saved->data, now))
            fault = "the instance no longer saves its programs after selecting it";
        else if (now.current != program)
            fault = "not selected: the instance saves program " + std::to_string(now.current) + " as its current one";
        else if (figures.nonFinite > 0)
            fault = std::to_string(figures.nonFinite) + " output samples are not finite";
        if (!fault.empty() && failures++ == 0)
            firstFailure = label + ": " + fault + ", " + layout;
        if (names.size() < 80)
            names += (names.empty() ? "\"" : ", \"") + name + "\"";
    }
    dataModel.SetChunk(*block);
    instance.Run(kProgramBlock, kProgramBlock, Silence());

    const std::string figures = std::to_string(programs.size()) + " of " + std::to_string(form.programs) +
                                " programs selected, named and processed: " + names;
    if (failures > 0)
        context.Fail(check, std::to_string(failures) + " failed, first " + firstFailure, figures);
    else
        context.Pass(check, figures);
}

} // namespace ombrelhost
