#pragma once
// Plays a fuzzing sequence's operations on a module, one at a time, as a host would perform them,
// and checks what each left behind: the output of every block finite, and a state restored as it
// was saved saving again as itself. A crash or a hang is not seen here: the sequence runs in a
// child process, and its parent sees those.

#include "tools/host/session/EditorWindow.h"
#include "tools/host/session/ModuleSession.h"
#include "tools/host/validate/FuzzOperation.h"
#include "tools/host/validate/ValidationInstance.h"

#include <memory>
#include <string>
#include <vector>

namespace ombrelhost
{

class FuzzPlayer
{
public:
    explicit FuzzPlayer(std::string module);
    // Tears down whatever is still open, as a host closing in the middle of its work does.
    ~FuzzPlayer();

    // [host thread] The operation as it will run now, with the parameter, layout, state or chunk
    // its picks come to: the line a finding's report lists.
    std::string Describe(const FuzzOperation& operation) const;
    // [host thread] Runs it; empty when all is well, else what was found.
    std::string Run(const FuzzOperation& operation);

private:
    using Chunks = std::vector<testhost::SavedChunk>;

    struct Parameter
    {
        std::string id;
        bool published = false;
    };
    Parameter ParameterOf(const FuzzOperation& operation) const;
    std::string ParameterText(const FuzzOperation& operation) const;
    std::string ProcessText(const FuzzOperation& operation) const;
    std::string RestoreText(const FuzzOperation& operation) const;

    std::string LoadModule();
    std::string Create(ChannelLayout layout, double rate);
    void WriteParameter(const FuzzOperation& operation);
    void ReadParameter(const FuzzOperation& operation);
    void TouchParameter(const FuzzOperation& operation);
    void MoveParameter(const FuzzOperation& operation);
    static Chunks Save(ValidationInstance& instance, const std::vector<AAX_CTypeID>& ids);
    std::string Restore(const FuzzOperation& operation);
    std::string Process(const FuzzOperation& operation);
    std::string ChangeRate(double rate);
    void OpenEditor();
    void IdleEditor(int ticks);
    void CloseEditor();
    void ReleaseInstance();
    void UnloadModule();

    // A few blocks of silence, as a host keeps running between a restore and the next save.
    static std::string Settle(ValidationInstance& instance);
    std::string RunBlock(int32_t length, const SignalSource& source, const std::string& where);

    std::string mModule;
    std::unique_ptr<ModuleSession> mSession;
    std::unique_ptr<ValidationInstance> mInstance;
    testhost::GuiInstance* mGui = nullptr; // owned by the session
    std::unique_ptr<EditorWindow> mWindow;
    size_t mFollowedResizes = 0;
    std::vector<Chunks> mSaves; // kept by the host across instances, rates and reloads
    int64_t mSamplePosition = 0;
};

} // namespace ombrelhost
