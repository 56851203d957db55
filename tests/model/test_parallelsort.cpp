// ParallelSort::sort against std::sort, on ranges split and sorted on two
// threads, with few distinct values and with many.
#include "model/parallelsort.h"

#include <gtest/gtest.h>

#include <random>

TEST(ParallelSort, SortsAsStdSortWhateverTheSplit)
{
    std::mt19937 random(7);
    // (items, distinct values): a sample's median may be the largest value,
    // or every item alike, leaving one side empty.
    for (const auto &[count, distinct] : {std::pair{0, 1},
                                          {1, 1},
                                          {2, 2},
                                          {300, 1},
                                          {300, 2},
                                          {5000, 3},
                                          {5000, 5000},
                                          {70000, 1000000}}) {
        std::uniform_int_distribution<int> value(0, distinct - 1);
        std::vector<std::pair<int, int>> items;
        for (int i = 0; i < count; ++i)
            items.emplace_back(value(random), i);
        std::vector<std::pair<int, int>> expected = items;
        std::sort(expected.begin(), expected.end());
        for (const std::ptrdiff_t parallelFrom : {std::ptrdiff_t(0), std::ptrdiff_t(32768)}) {
            std::vector<std::pair<int, int>> sorted = items;
            // By value alone: the index tells apart what the sort leaves in no set order.
            ParallelSort::sort(
                sorted.begin(), sorted.end(),
                [](const auto &a, const auto &b) { return a.first < b.first; }, parallelFrom);
            for (size_t i = 1; i < sorted.size(); ++i)
                ASSERT_LE(sorted[i - 1].first, sorted[i].first) << count << " " << distinct;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(sorted, expected) << count << " " << distinct;
        }
    }
}
