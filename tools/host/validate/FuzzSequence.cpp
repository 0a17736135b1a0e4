#include "tools/host/validate/FuzzSequence.h"

#include "tools/host/validate/ValidationInstance.h"

#include <limits>
#include <random>

namespace ombrelhost
{

namespace
{

constexpr int kShortestSequence = 4;
constexpr int kLongestSequence = 60;
constexpr int kMostBlocks = 12;
constexpr int kMostTicks = 10;

// Draws from the engine's raw output only: the standard fixes mt19937_64's numbers but not its
// distributions', and a seed must mean the same sequence on every platform.
class SequenceRandom
{
public:
    explicit SequenceRandom(std::uint64_t seed) : mEngine(seed) {}
    std::uint64_t Next() { return mEngine(); }
    std::uint32_t Pick() { return static_cast<std::uint32_t>(mEngine() >> 32); }
    // 0 .. count - 1
    int Below(int count) { return static_cast<int>(mEngine() % static_cast<std::uint64_t>(count)); }
    // [0, 1)
    double Unit() { return static_cast<double>(mEngine() >> 11) * 0x1.0p-53; }
    bool Chance(double probability) { return Unit() < probability; }

private:
    std::mt19937_64 mEngine;
};

// The splitmix64 finaliser: neighbouring inputs give unrelated outputs.
std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9e3779b97f4a7c15ull;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ull;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

// What the sequence has open after the operations so far.
struct Model
{
    bool loaded = false;
    bool instance = false;
    bool editor = false;
    int saves = 0;
};

FuzzValueKind DrawValueKind(SequenceRandom& random)
{
    const double draw = random.Unit();
    if (draw < 0.6)
        return FuzzValueKind::InRange;
    if (draw < 0.7)
        return FuzzValueKind::Edge;
    if (draw < 0.85)
        return FuzzValueKind::OutOfRange;
    if (draw < 0.9)
        return FuzzValueKind::NaN;
    return draw < 0.95 ? FuzzValueKind::PlusInfinity : FuzzValueKind::MinusInfinity;
}

// A value of the kind: within 0..1 for InRange, a step of up to a whole range for a relative move.
double DrawValue(SequenceRandom& random, FuzzValueKind kind, bool relative)
{
    switch (kind)
    {
    case FuzzValueKind::InRange:
        return relative ? 2.0 * random.Unit() - 1.0 : random.Unit();
    case FuzzValueKind::Edge:
        return relative ? (random.Chance(0.5) ? -1.0 : 1.0) : (random.Chance(0.5) ? 0.0 : 1.0);
    case FuzzValueKind::OutOfRange:
    {
        const double sizes[] = {1.0e-3, 0.5, 10.0, 1.0e30};
        const double size = sizes[random.Below(4)] * (0.5 + random.Unit());
        return random.Chance(0.5) ? -(relative ? 1.0 + size : size) : 1.0 + size;
    }
    case FuzzValueKind::NaN:
        return std::numeric_limits<double>::quiet_NaN();
    case FuzzValueKind::PlusInfinity:
        return std::numeric_limits<double>::infinity();
    case FuzzValueKind::MinusInfinity:
        return -std::numeric_limits<double>::infinity();
    }
    return 0.0;
}

void DrawParameter(SequenceRandom& random, FuzzOperation& operation)
{
    operation.pick = random.Pick();
    if (random.Chance(0.08))
        operation.unknownId = random.Below(static_cast<int>(UnknownParameterIds().size()));
}

int32_t DrawBlockLength(SequenceRandom& random)
{
    const double draw = random.Unit();
    if (draw < 0.03)
        return 0;
    if (draw < 0.1)
        return 1;
    if (draw < 0.2)
        return ValidationInstance::kMaximumBlock;
    if (draw < 0.4)
        return 32 << random.Below(5); // 32 .. 512
    return 1 + random.Below(ValidationInstance::kMaximumBlock);
}

void DrawProcess(SequenceRandom& random, FuzzOperation& operation)
{
    const int blocks = 1 + random.Below(kMostBlocks);
    for (int i = 0; i < blocks; ++i)
        operation.blockLengths.push_back(DrawBlockLength(random));
    if (random.Chance(0.4))
    {
        operation.bypassOnAt = random.Below(blocks);
        if (random.Chance(0.7))
            operation.bypassOffAt = operation.bypassOnAt + random.Below(blocks - operation.bypassOnAt + 1);
    }
    else if (random.Chance(0.2))
        operation.bypassOffAt = random.Below(blocks);
    operation.playing = random.Chance(0.5);
    operation.looping = random.Chance(0.2);
    const double tempos[] = {120.0, 60.0, 174.5, 300.0, 20.0};
    operation.tempo = tempos[random.Below(5)];
    operation.position = random.Chance(0.5) ? 0 : static_cast<int64_t>(random.Next() % 100000000);
    operation.signal = static_cast<FuzzSignal>(random.Below(6));
    operation.detail = random.Next();
}

FuzzOperation DrawWithInstance(SequenceRandom& random, Model& model)
{
    FuzzOperation operation;
    const double draw = random.Unit() * 100.0;
    // Cumulative weights: processing and parameter writes most, teardowns least.
    if (draw < 20.0)
    {
        operation.kind = FuzzOperationKind::WriteParameter;
        DrawParameter(random, operation);
        operation.hostWrite = random.Chance(0.7);
        operation.valueKind = DrawValueKind(random);
        operation.value = DrawValue(random, operation.valueKind, false);
    }
    else if (draw < 27.0)
    {
        operation.kind = FuzzOperationKind::ReadParameter;
        DrawParameter(random, operation);
        operation.secondPick = random.Pick();
        operation.valueKind = DrawValueKind(random);
        operation.value = DrawValue(random, operation.valueKind, false);
    }
    else if (draw < 31.0)
    {
        operation.kind = FuzzOperationKind::TouchParameter;
        DrawParameter(random, operation);
        operation.secondPick = random.Pick();
    }
    else if (draw < 36.0)
    {
        operation.kind = FuzzOperationKind::MoveParameter;
        DrawParameter(random, operation);
        operation.hostWrite = random.Chance(0.7);
        operation.valueKind = DrawValueKind(random);
        operation.value = DrawValue(random, operation.valueKind, true);
    }
    else if (draw < 44.0 || (draw < 54.0 && model.saves == 0))
    {
        operation.kind = FuzzOperationKind::Save;
        ++model.saves;
    }
    else if (draw < 54.0)
    {
        operation.kind = FuzzOperationKind::Restore;
        operation.pick = random.Pick();
        operation.secondPick = random.Pick();
        operation.damage = random.Chance(0.5) ? FuzzDamage::None : static_cast<FuzzDamage>(1 + random.Below(5));
        operation.value = random.Unit();
        operation.detail = random.Next();
    }
    else if (draw < 80.0)
    {
        operation.kind = FuzzOperationKind::Process;
        DrawProcess(random, operation);
    }
    else if (draw < 84.0)
    {
        operation.kind = FuzzOperationKind::ChangeRate;
        operation.value = FuzzRates()[static_cast<size_t>(random.Below(static_cast<int>(FuzzRates().size())))];
    }
    else if (draw < 94.0)
    {
        if (!model.editor)
            operation.kind = FuzzOperationKind::OpenEditor;
        else if (draw < 90.0)
        {
            operation.kind = FuzzOperationKind::IdleEditor;
            operation.ticks = 1 + random.Below(kMostTicks);
        }
        else
            operation.kind = FuzzOperationKind::CloseEditor;
        model.editor = operation.kind != FuzzOperationKind::CloseEditor;
    }
    else if (draw < 98.0)
    {
        operation.kind = FuzzOperationKind::ReleaseInstance;
        model.instance = false;
        model.editor = false;
    }
    else
    {
        operation.kind = FuzzOperationKind::UnloadModule;
        // The host keeps its saved states: they can be restored once the module is back.
        model = Model{false, false, false, model.saves};
    }
    return operation;
}

FuzzOperation DrawCreate(SequenceRandom& random)
{
    FuzzOperation operation;
    operation.kind = FuzzOperationKind::Create;
    operation.pick = random.Pick();
    // Mostly the usual rate, so that the rest of the sequence meets the common case.
    operation.value = random.Chance(0.6)
                          ? 48000.0
                          : FuzzRates()[static_cast<size_t>(random.Below(static_cast<int>(FuzzRates().size())))];
    return operation;
}

} // namespace

std::uint64_t FuzzSequenceSeed(std::uint64_t runSeed, std::uint64_t index)
{
    return Mix(Mix(runSeed) + index);
}

const std::vector<double>& FuzzRates()
{
    static const std::vector<double> rates = {22050.0, 44100.0, 44100.0 * 1.001, 48000.0, 88200.0,
                                              96000.0, 176400.0, 192000.0, 384000.0};
    return rates;
}

std::vector<FuzzOperation> MakeFuzzSequence(std::uint64_t sequenceSeed)
{
    SequenceRandom random(sequenceSeed);
    const int length = kShortestSequence + random.Below(kLongestSequence - kShortestSequence + 1);
    std::vector<FuzzOperation> sequence;
    Model model;
    while (static_cast<int>(sequence.size()) < length)
    {
        if (!model.loaded)
        {
            sequence.push_back(FuzzOperation{});
            model.loaded = true;
        }
        else if (!model.instance)
        {
            sequence.push_back(DrawCreate(random));
            model.instance = true;
        }
        else
            sequence.push_back(DrawWithInstance(random, model));
    }
    return sequence;
}

} // namespace ombrelhost
