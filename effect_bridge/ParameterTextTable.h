#pragma once
// The effect's display texts of every parameter, probed at each hundredth of the value range: the
// host shows a value as the text the effect itself showed there. The processor fills a row when it
// probes the parameter; the display delegates read the rows (borrowed) as long as the parameters
// live.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class ParameterTextTable
{
public:
    // One entry per hundredth of the value range, at most 16 characters each.
    static constexpr int kSteps = 101;
    static constexpr int kCharacters = 16;

    using Entry = std::array<char, kCharacters + 1>;
    using Row = std::array<Entry, kSteps>;

    // [host thread] numParameters rows of "---"; no rows when memory does not hold them, so that
    // every read answers the empty text.
    void allocate(int32_t numParameters);

    // [host thread] Entry `step` of the parameter's row := the first 16 bytes of text. Out of range:
    // nothing.
    void store(int32_t parameter, int step, const char* text);

    // [any thread] The parameter's row, or null out of range.
    const Row* row(int32_t parameter) const;
    // [any thread] Entry `step` of the parameter's row, or "" out of range.
    const char* entry(int32_t parameter, int step) const;
    // [any thread]
    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }

private:
    std::vector<Row> rows;
};
