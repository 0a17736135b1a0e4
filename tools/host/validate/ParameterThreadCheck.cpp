#include "tools/host/validate/ParameterThreadCheck.h"

#include "host_kit/HostController.h"
#include "tools/host/validate/ParameterReadings.h"
#include "tools/host/validate/TextSpans.h"
#include "tools/host/validate/SavedChunks.h"
#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

namespace ombrelhost
{

namespace
{

constexpr int32_t kThreadBlock = 128;
// A reading this far from the value written, with another text, differs.
constexpr double kReadingTolerance = 1.0e-3;
// How often the effect's side changes every value at once.
constexpr auto kRestoreInterval = std::chrono::milliseconds(20);

} // namespace

void CheckParameterThreads(GroupContext& context, ValidationInstance& instance, const std::vector<std::string>& ids)
{
    const std::string check = "parameters from three threads";
    const std::string layout = std::string(ChannelLayoutName(instance.Layout())) + " layout";
    testhost::DataModelInstance& dataModel = instance.DataModel();
    std::mt19937_64& random = context.Random();
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    // The state the effect's side goes back to: every parameter at another value.
    context.Step("saving a state for the effect's own changes");
    Chunks before;
    std::string error;
    SaveChunks(dataModel, before, error);
    for (const std::string& id : ids)
        ModuleSession::WriteParameter(dataModel, id, unit(random));
    instance.Run(kThreadBlock, kThreadBlock * 4, Silence());
    Chunks other;
    SaveChunks(dataModel, other, error);

    context.Step("host writes from a second thread while the audio thread processes and the effect automates");
    const auto duration = std::chrono::milliseconds(200 * context.Strictness());
    std::atomic<bool> stop{false};
    std::atomic<int64_t> nonFinite{0};
    std::atomic<int64_t> blocks{0};
    std::atomic<int64_t> writes{0};
    std::thread audio(
        [&]
        {
            // [audio thread] The host's render thread: the packets posted so far, then the block.
            const SignalSource noise = Noise(23);
            BlockFigures figures;
            for (int64_t block = 0; !stop.load(); ++block)
            {
                instance.Context().DeliverPackets(*dataModel.Controller());
                instance.RunPrepared(kThreadBlock, noise, block * kThreadBlock, figures);
                blocks.store(block + 1);
            }
            nonFinite.store(figures.nonFinite);
        });
    std::thread writer(
        [&, seed = random()]
        {
            // [host thread] The host's second thread: automation playback and the user's moves.
            std::mt19937_64 writerRandom(seed);
            std::uniform_real_distribution<double> writerUnit(0.0, 1.0);
            std::uniform_int_distribution<size_t> anyId(0, ids.size() - 1);
            for (int64_t write = 0; !stop.load(); ++write)
            {
                const std::string& id = ids[anyId(writerRandom)];
                dataModel->UpdateParameterNormalizedValue(id.c_str(), writerUnit(writerRandom),
                                                          AAX_eUpdateSource_Unspecified);
                if (write % 8 == 0)
                    ParameterText(dataModel, id);
                writes.store(write + 1);
                std::this_thread::yield();
            }
        });
    // [host thread] The effect's own changes, the host accepting what the module reports, and
    // the packets for the blocks to come.
    int restores = 0;
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end)
    {
        for (const testhost::SavedChunk& chunk : (restores % 2 == 0 ? other : before))
            dataModel.SetChunk(chunk);
        ++restores;
        dataModel.DeliverAutomation(AAX_eUpdateSource_Unspecified);
        dataModel->GenerateCoefficients();
        std::this_thread::sleep_for(kRestoreInterval);
    }
    stop.store(true);
    audio.join();
    writer.join();

    context.Step("reading back values written after the threads");
    instance.Run(kThreadBlock, kThreadBlock * 4, Silence());
    size_t differing = 0;
    std::string firstDifference;
    for (const std::string& id : ids)
    {
        const double value = TextSpans(dataModel, id).UserValue(random);
        ModuleSession::WriteParameter(dataModel, id, value);
        instance.Run(kThreadBlock, kThreadBlock, Silence());
        const double reading = ParameterValue(dataModel, id);
        const std::string text = ParameterText(dataModel, id);
        const std::string wanted = TextOfValue(dataModel, id, value);
        if (std::fabs(reading - value) > kReadingTolerance && text != wanted && differing++ == 0)
            firstDifference = ParameterLabel(dataModel, id) + " written " + ValueAndText(value, wanted) +
                              ", read " + ValueAndText(reading, text) + ", " + layout;
    }
    const std::string figures = std::to_string(writes.load()) + " writes, " + std::to_string(blocks.load()) +
                                " blocks and " + std::to_string(restores) + " of the effect's own changes in " +
                                FormatFigure("%.1f s", std::chrono::duration<double>(duration).count());
    if (nonFinite.load() > 0)
        context.Fail(check, std::to_string(nonFinite.load()) + " output samples are not finite, " + layout, figures);
    else if (differing > 0)
        context.Fail(check, std::to_string(differing) + " values do not read back once the threads are done, first " +
                                firstDifference,
                     figures);
    else
        context.Pass(check, figures);
}

} // namespace ombrelhost
