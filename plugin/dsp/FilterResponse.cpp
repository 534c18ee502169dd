#include "FilterResponse.h"

double FilterResponse::getMagnitude (double frequency) const noexcept
{
    auto magnitude = sections[0].getMagnitude (frequency, sampleRate);

    if (numSections > 1)
        magnitude *= sections[1].getMagnitude (frequency, sampleRate);

    return magnitude;
}

PublishedFilterResponse::PublishedFilterResponse() noexcept
{
    publish (FilterResponse {});
}

void PublishedFilterResponse::publish (const FilterResponse& response) noexcept
{
    const auto start = sequence.load (std::memory_order_relaxed);
    sequence.store (start + 1, std::memory_order_relaxed);
    std::atomic_thread_fence (std::memory_order_release);

    std::size_t i = 0;

    for (const auto& s : response.sections)
        for (auto v : { s.b0, s.b1, s.b2, s.a1, s.a2 })
            values[i++].store (v, std::memory_order_relaxed);

    values[i++].store ((double) response.numSections, std::memory_order_relaxed);
    values[i].store (response.sampleRate, std::memory_order_relaxed);

    sequence.store (start + 2, std::memory_order_release);
}

FilterResponse PublishedFilterResponse::read() const noexcept
{
    FilterResponse result;

    for (;;)
    {
        const auto before = sequence.load (std::memory_order_acquire);

        if ((before & 1u) == 0)
        {
            std::size_t i = 0;

            for (auto& s : result.sections)
                for (auto* v : { &s.b0, &s.b1, &s.b2, &s.a1, &s.a2 })
                    *v = values[i++].load (std::memory_order_relaxed);

            result.numSections = (int) values[i++].load (std::memory_order_relaxed);
            result.sampleRate = values[i].load (std::memory_order_relaxed);

            std::atomic_thread_fence (std::memory_order_acquire);

            if (sequence.load (std::memory_order_relaxed) == before)
                return result;
        }
    }
}
