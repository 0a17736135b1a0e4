#pragma once
// What the benchmark programs share: registering a benchmark together with the baseline it is
// compared with, counting the audio samples a benchmark processed, and the program's main routine.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class BenchmarkSuite
{
public:
    // [main thread, before run] Registers body under name; with a baseline name, the summary
    // compares the two. Answers the registration, for further settings.
    template <class Body>
    static benchmark::internal::Benchmark* add(const std::string& name, Body&& body,
                                               const std::string& baseline = {})
    {
        if (!baseline.empty())
            comparisons().emplace_back(name, baseline);
        return benchmark::RegisterBenchmark(name.c_str(), std::forward<Body>(body));
    }

    // [benchmark thread] Reports the samples processed: samplesPerIteration for every iteration the
    // loop ran. A sample is one sample frame of one instance, whatever its channel count.
    static void countSamples(benchmark::State& state, int64_t samplesPerIteration);

    // [main thread] Parses the command line, runs the selected benchmarks and prints the summary.
    // Answers the program's exit status: 1 for an unknown argument, a benchmark that failed, or a
    // selection that ran nothing.
    static int run(int argc, char** argv);

private:
    static std::vector<std::pair<std::string, std::string>>& comparisons();
};
