#pragma once

#include <cstddef>

/**
    Counts heap allocations made on the calling thread while a scope is alive. The test
    binary replaces the global operator new to do the counting.
*/
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter() noexcept;
    ~ScopedAllocationCounter();

    std::size_t getCount() const noexcept;

private:
    std::size_t countAtStart;
    bool wasCounting;
};
