#pragma once
// One move-only owner for every kind of handle the program holds. A traits type names the
// handle type, its "no handle" value and how to release it.

#include <utility>

template <typename Traits> class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle handle) noexcept : handle(handle) {}
    Unique(Unique&& other) noexcept : handle(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Handle get() const noexcept { return handle; }
    explicit operator bool() const noexcept { return handle != Traits::invalid(); }

    Handle release() noexcept { return std::exchange(handle, Traits::invalid()); }

    void reset(Handle replacement = Traits::invalid()) noexcept {
        Handle old = std::exchange(handle, replacement);
        if (old != Traits::invalid()) {
            Traits::close(old);
        }
    }

    // For out-parameters: releases what is held and hands out the slot to fill.
    Handle* put() noexcept {
        reset();
        return &handle;
    }

private:
    Handle handle = Traits::invalid();
};
