#pragma once

// Base of the computation objects: a virtual destructor and a serialisation hook
// that does nothing. Free of Qt so that the computation library can use it.
class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    virtual ~CObject() = default;

    virtual void Serialize() {}
};
