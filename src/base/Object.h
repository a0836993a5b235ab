#pragma once

namespace KO {

// Root of every concrete class of the base library.
class Object
{
public:
    Object() = default;
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;
    virtual ~Object() = default;
};

} // namespace KO
