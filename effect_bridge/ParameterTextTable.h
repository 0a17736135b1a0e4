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

    // A parameter whose row shows from two up to this many texts is stepped (a switch or a choice):
    // a value the host sees is one of its texts, and moving within a text changes nothing it shows.
    static constexpr int32_t kMaxSteppedTexts = 32;

    using Entry = std::array<char, kCharacters + 1>;
    using Row = std::array<Entry, kSteps>;

    // [host thread] numParameters rows of "---"; no rows when memory does not hold them, so that
    // every read answers the empty text.
    void allocate(int32_t numParameters);

    // [host thread] Entry `step` of the parameter's row := the first 16 bytes of text. Out of range:
    // nothing.
    void store(int32_t parameter, int step, const char* text);

    // [host thread] How many texts the parameter's row shows along its value range, each change
    // counted (a switch shows 2). Out of range: nothing.
    void setTextCount(int32_t parameter, int32_t count);
    // [any thread] Whether the parameter's row, once probed, shows a stepped parameter (see
    // kMaxSteppedTexts); false before its probe and out of range.
    bool isStepped(int32_t parameter) const;

    // [any thread] The entry a value shows: value x 100 truncated toward zero, -1 outside the row
    // (NaN included).
    static int entryOf(float value);
    // [any thread] The text the parameter shows at value: "" outside the row or out of range.
    const char* textAt(int32_t parameter, float value) const { return entry(parameter, entryOf(value)); }

    // [any thread] The parameter's row, or null out of range.
    const Row* row(int32_t parameter) const;
    // [any thread] Entry `step` of the parameter's row, or "" out of range.
    const char* entry(int32_t parameter, int step) const;
    // [any thread]
    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }

private:
    std::vector<Row> rows;
    // Per row, its text count; 0 until probed.
    std::vector<int32_t> textCounts;
};
