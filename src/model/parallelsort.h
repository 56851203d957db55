// Sorting a large range in two parts on two threads of the work pool.
#pragma once

#include "model/projectfiles.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace ParallelSort {

// Sorts [begin, end) by `less` as std::sort does (items neither less than
// the other end up in no set order). A range of at least `parallelFrom`
// items is split at the median of a sample, the items less than it before
// the rest, and the two sides are sorted on two threads. Splitting needs no
// room, where merging two sorted halves would take half the range's.
template <typename Iterator, typename Less>
void sort(Iterator begin, Iterator end, Less less, std::ptrdiff_t parallelFrom = 32768)
{
    const std::ptrdiff_t count = end - begin;
    if (count < parallelFrom || count < 2) {
        std::sort(begin, end, less);
        return;
    }
    using Item = typename std::iterator_traits<Iterator>::value_type;
    constexpr std::ptrdiff_t SampleItems = 255;
    std::vector<Item> sample;
    sample.reserve(size_t(SampleItems));
    for (std::ptrdiff_t s = 0; s < SampleItems; ++s)
        sample.push_back(begin[s * (count - 1) / (SampleItems - 1)]);
    const auto median = sample.begin() + SampleItems / 2;
    std::nth_element(sample.begin(), median, sample.end(), less);
    const Item pivot = *median;
    const Iterator middle =
        std::partition(begin, end, [&](const Item &item) { return less(item, pivot); });
    ProjectFiles::runBoth(
        true, [&] { std::sort(begin, middle, less); }, [&] { std::sort(middle, end, less); });
}

} // namespace ParallelSort
