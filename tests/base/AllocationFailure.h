#pragma once

#include <cstddef>

// While an object lives, operator new refuses (throws std::bad_alloc) every
// request of at least minimumSize bytes made on the thread that created it,
// and counts the refusals. Linking AllocationFailure.cpp replaces the
// program's operator new; where a library allocates through its own
// operator new (a shared C++ runtime on Windows), nothing is refused, which
// a test sees as no refusals.
class AllocationFailure
{
public:
    explicit AllocationFailure(std::size_t minimumSize);
    ~AllocationFailure();

    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    int Refusals() const;
};
