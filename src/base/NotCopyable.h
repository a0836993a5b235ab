#pragma once

namespace KO {

// Base for classes whose objects own something that must not be duplicated.
class NotCopyable
{
public:
    NotCopyable(const NotCopyable&) = delete;
    NotCopyable& operator=(const NotCopyable&) = delete;

protected:
    NotCopyable() = default;
    ~NotCopyable() = default;
};

} // namespace KO
