#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "injector/protection.h"
#include "platform/address.h"

// Objects that remember the bytes of a host site and put them back.

namespace injector {

class scoped_base {
public:
    virtual ~scoped_base() = default;
    virtual void restore() = 0;
};

template <std::size_t bufsize>
class scoped_basic : public scoped_base {
public:
    scoped_basic() = default;
    ~scoped_basic() override { scoped_basic::restore(); }
    // Two copies would put the same bytes back twice.
    scoped_basic(const scoped_basic&) = delete;
    scoped_basic& operator=(const scoped_basic&) = delete;

    void restore() override
    {
        if (!saved)
            return;
        copy(pointerTo(addr), buf);
        saved = false;
    }

    // Keeps length bytes at address, after putting back what an earlier save kept. With
    // protect set the copy happens under a protection scope; if that cannot be opened,
    // nothing is kept.
    virtual void save(uint32_t address, std::size_t length, bool protect)
    {
        if (length > bufsize) {
            std::fprintf(stderr, "injector: assertion failed: size <= bufsize\n");
            std::abort();
        }
        restore();
        addr = address;
        size = static_cast<uint32_t>(length);
        vp = protect;
        saved = copy(buf, pointerTo(addr));
    }

    bool is_saved() const { return saved; }

protected:
    uint8_t buf[bufsize] = {};
    uint32_t addr = 0;
    uint32_t size = 0;
    bool saved = false;
    bool vp = false;

private:

    bool copy(void* to, const void* from) const
    {
        if (!vp || size == 0) {
            std::memcpy(to, from, size);
            return true;
        }
        ProtectionScope scope(addr, size);
        if (scope.changed)
            std::memcpy(to, from, size);
        return scope.changed;
    }
};

// The saved bytes of one call site that the plug-in intercepts.
class scoped_call : public scoped_basic<5> {};

} // namespace injector
