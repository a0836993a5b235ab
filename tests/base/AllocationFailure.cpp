#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

thread_local std::size_t t_minimumRefused = 0; // 0: refuse nothing
thread_local int t_refusals = 0;

} // namespace

AllocationFailure::AllocationFailure(std::size_t minimumSize)
{
    t_minimumRefused = minimumSize;
    t_refusals = 0;
}

AllocationFailure::~AllocationFailure()
{
    t_minimumRefused = 0;
}

int AllocationFailure::Refusals() const
{
    return t_refusals;
}

void* operator new(std::size_t size)
{
    if (t_minimumRefused != 0 && size >= t_minimumRefused) {
        ++t_refusals;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
