// What the host last saw of each parameter: the refresh reports only values that differ from it,
// and a count of host writes tells a refresh that the host wrote after it read.

#include "effect_bridge/HostValueRecord.h"

#include <gtest/gtest.h>

#include <cmath>

#include <limits>

TEST(HostValueRecord, AValueDiffersUntilTheHostHasSeenItBitForBit)
{
    HostValueRecord record;
    record.allocate(2);
    EXPECT_TRUE(record.differs(0, 0.0f)) << "nothing seen yet";
    record.noteReported(0, 0.5f);
    EXPECT_FALSE(record.differs(0, 0.5f));
    EXPECT_TRUE(record.differs(0, 0.25f));
    // NaN held by the effect is reported once, not at every refresh; -0 is another value than 0.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    record.noteReported(1, nan);
    EXPECT_FALSE(record.differs(1, nan));
    record.noteReported(1, 0.0f);
    EXPECT_TRUE(record.differs(1, -0.0f));
}

TEST(HostValueRecord, HostWritesAreCountedAndSeen)
{
    HostValueRecord record;
    record.allocate(1);
    EXPECT_EQ(0u, record.hostWrites(0));
    record.noteHostWrite(0, 0.7f);
    record.noteHostWrite(0, 0.7f);
    EXPECT_EQ(2u, record.hostWrites(0));
    EXPECT_FALSE(record.differs(0, 0.7f));
    record.noteReported(0, 0.1f);
    EXPECT_EQ(2u, record.hostWrites(0)) << "reports are not host writes";
}

TEST(HostValueRecord, IndicesOutOfRangeAreIgnored)
{
    HostValueRecord record;
    record.allocate(1);
    for (int32_t index : {-1, 1, 1 << 30})
    {
        record.noteReported(index, 0.5f);
        record.noteHostWrite(index, 0.5f);
        EXPECT_FALSE(record.differs(index, 0.5f)) << index;
        record.noteSentToHost(index, 0.5f);
        EXPECT_FALSE(record.takeAnswer(index, 0.5f)) << index;
        EXPECT_EQ(0u, record.hostWrites(index)) << index;
    }
    HostValueRecord empty;
    empty.allocate(0);
    EXPECT_FALSE(empty.differs(0, 0.5f));
}

TEST(HostValueRecord, EachAnswerDueIsTakenOnceAndOnlyTheLastSixteenAreKept)
{
    HostValueRecord record;
    record.allocate(2);
    EXPECT_FALSE(record.takeAnswer(0, 0.0f)) << "nothing sent yet, not even 0";
    record.noteSentToHost(0, 0.25f);
    record.noteSentToHost(0, 0.25f);
    record.noteHostWrite(0, 0.5f);
    EXPECT_FALSE(record.takeAnswer(0, 0.5f)) << "a host write is no report";
    EXPECT_FALSE(record.takeAnswer(1, 0.25f)) << "per parameter";
    EXPECT_FALSE(record.takeAnswer(0, std::nextafter(0.25f, 1.0f))) << "bit for bit";
    EXPECT_TRUE(record.takeAnswer(0, 0.25f));
    EXPECT_TRUE(record.takeAnswer(0, 0.25f)) << "sent twice, answered twice";
    EXPECT_FALSE(record.takeAnswer(0, 0.25f));
    // Seventeen values sent: the first is forgotten (its answer may never come).
    for (int i = 0; i <= 16; ++i)
        record.noteSentToHost(0, static_cast<float>(i) / 100.0f);
    EXPECT_FALSE(record.takeAnswer(0, 0.0f));
    EXPECT_TRUE(record.takeAnswer(0, 0.01f));
    EXPECT_TRUE(record.takeAnswer(0, 0.16f));
}
