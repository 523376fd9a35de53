#pragma once

namespace velmora {

// The common root of objects that can be copied from one another (pictures, container items); a copy
// operation takes any of them and decides by class what it accepts.
class TPersistent {
public:
    virtual ~TPersistent() = default;

protected:
    TPersistent() = default;
    TPersistent(const TPersistent&) = default;
    TPersistent& operator=(const TPersistent&) = default;
};

} // namespace velmora
