#pragma once
// A counted handle to one object on the heap, shared by copies. The count is changed with atomic
// operations, so holders on different threads may copy and drop it; the object itself is not
// guarded.
#include <atomic>
#include <cstdint>
#include <new>
#include <utility>

namespace Orvane {

template <class T>
class CSafeContainer {
public:
    // Takes ownership of object (may be null). Throws std::bad_alloc, after deleting object, when the
    // counter cannot be allocated.
    explicit CSafeContainer(T* object = nullptr) : object_(object), count_(nullptr)
    {
        try {
            count_ = new std::atomic<std::int32_t>(1);
        } catch (...) {
            delete object;
            throw;
        }
    }
    CSafeContainer(const CSafeContainer& other) noexcept : object_(other.object_), count_(other.count_)
    {
        count_->fetch_add(1, std::memory_order_relaxed);
    }
    CSafeContainer& operator=(const CSafeContainer& other) noexcept
    {
        CSafeContainer copy(other);
        std::swap(object_, copy.object_);
        std::swap(count_, copy.count_);
        return *this;
    }
    virtual ~CSafeContainer()
    {
        if (count_->fetch_sub(1, std::memory_order_acq_rel) == 1) {
            delete object_;
            delete count_;
        }
    }

    T* Get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    // Number of holders, for tests and diagnostics.
    std::int32_t UseCount() const noexcept { return count_->load(std::memory_order_acquire); }

private:
    T* object_;
    std::atomic<std::int32_t>* count_;
};

}
