#pragma once
// One host operation of a fuzzing sequence, as planned from the sequence's seed alone. Whatever
// depends on the module (which parameter, layout, saved state or chunk) is a pick taken modulo
// what exists when the operation runs, so that a sequence is made without opening the module and
// the same seed always means the same operations.

#include <cstdint>
#include <vector>

namespace ombrelhost
{

enum class FuzzOperationKind
{
    LoadModule,      // load, start and register the module
    Create,          // a new instance (layout pick, rate), which publishes its parameters
    WriteParameter,  // a host write (or the plug-in side's own set) of a value, maybe outside 0..1
    ReadParameter,   // value, texts, steps, names and identifiers read back
    TouchParameter,  // touch, release or a touch update
    MoveParameter,   // a relative move
    Save,            // every chunk saved
    Restore,         // a saved chunk restored, as it was or damaged
    Process,         // blocks of random lengths with bypass spans and a transport state
    ChangeRate,      // the instance saved, replaced by one at another rate, and restored
    OpenEditor,      // the editor in a window, when a display exists
    IdleEditor,      // timer ticks and window events
    CloseEditor,     // the view detached, the editor object given back
    ReleaseInstance, // the instance given back with whatever is open on it
    UnloadModule,    // the module shut down and unloaded with whatever is alive
};

// How a written value or relative move is chosen.
enum class FuzzValueKind
{
    InRange,
    Edge,       // exactly 0 or 1
    OutOfRange, // below 0 or above 1, up to huge
    NaN,
    PlusInfinity,
    MinusInfinity,
};

// How a restored chunk is damaged.
enum class FuzzDamage
{
    None, // restored as saved: it must then save again as itself
    Truncated,
    FlippedBytes,
    Empty,
    RandomBytes,
    Extended,
};

enum class FuzzSignal
{
    Silence,
    Noise,
    Impulse,
    FullScaleSine,
    DirectCurrent,
    Denormal,
};

struct FuzzOperation
{
    FuzzOperationKind kind = FuzzOperationKind::LoadModule;
    // Parameter, layout or saved state: modulo the count there is when the operation runs.
    uint32_t pick = 0;
    // The chunk of a restore (modulo the chunk count plus one, the last meaning every chunk), or
    // the variant of a read or touch.
    uint32_t secondPick = 0;
    // -1 for a published parameter, else the index of a made-up identifier.
    int unknownId = -1;
    // Writes go through the host's automation path, or else through the plug-in side's own set.
    bool hostWrite = true;
    FuzzValueKind valueKind = FuzzValueKind::InRange;
    // The written value, the relative delta, the new rate or a truncation's kept fraction.
    double value = 0.0;
    FuzzDamage damage = FuzzDamage::None;
    // Seeds the bytes a damage writes, and the noise of a block run.
    uint64_t detail = 0;
    // Process: the block lengths (0 included), the blocks from which the bypass is switched on and
    // off (-1: not switched), the transport and the input.
    std::vector<int32_t> blockLengths;
    int bypassOnAt = -1;
    int bypassOffAt = -1;
    bool playing = false;
    bool looping = false;
    double tempo = 120.0;
    int64_t position = 0;
    FuzzSignal signal = FuzzSignal::Silence;
    // Editor idling: timer ticks.
    int ticks = 0;
};

// The made-up parameter identifiers writes and reads may use; none is ever published.
const std::vector<const char*>& UnknownParameterIds();

const char* FuzzValueKindName(FuzzValueKind kind);
const char* FuzzDamageName(FuzzDamage damage);
const char* FuzzSignalName(FuzzSignal signal);

} // namespace ombrelhost
