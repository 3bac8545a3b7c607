#pragma once
// An iterator over 8-bit text that looks at a stop flag on every step, so that a search the
// expression engine would pursue for minutes can be ended from another thread: the step then
// throws SearchStopped, which unwinds out of the engine like any of its own errors.
#include <atomic>
#include <cstddef>
#include <iterator>
#include <string>

namespace Orvane { namespace Quillprobe {

struct SearchStopped {};

class CheckedIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CheckedIterator() = default;
    CheckedIterator(const char* at, const std::atomic<bool>* stop) : at_(at), stop_(stop) {}

    reference operator*() const { Check(); return *at_; }
    pointer operator->() const { Check(); return at_; }
    reference operator[](difference_type n) const { Check(); return at_[n]; }

    CheckedIterator& operator++() { Check(); ++at_; return *this; }
    CheckedIterator operator++(int) { CheckedIterator before = *this; ++*this; return before; }
    CheckedIterator& operator--() { Check(); --at_; return *this; }
    CheckedIterator operator--(int) { CheckedIterator before = *this; --*this; return before; }
    CheckedIterator& operator+=(difference_type n) { Check(); at_ += n; return *this; }
    CheckedIterator& operator-=(difference_type n) { Check(); at_ -= n; return *this; }
    friend CheckedIterator operator+(CheckedIterator i, difference_type n) { return i += n; }
    friend CheckedIterator operator+(difference_type n, CheckedIterator i) { return i += n; }
    friend CheckedIterator operator-(CheckedIterator i, difference_type n) { return i -= n; }
    friend difference_type operator-(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ - b.at_; }

    friend bool operator==(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ == b.at_; }
    friend bool operator!=(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ != b.at_; }
    friend bool operator<(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ < b.at_; }
    friend bool operator>(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ > b.at_; }
    friend bool operator<=(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ <= b.at_; }
    friend bool operator>=(const CheckedIterator& a, const CheckedIterator& b) { return a.at_ >= b.at_; }

private:
    void Check() const
    {
        if (stop_ && stop_->load(std::memory_order_relaxed))
            throw SearchStopped();
    }

    const char* at_ = nullptr;
    const std::atomic<bool>* stop_ = nullptr;
};

// The whole text as a range of checked iterators.
inline CheckedIterator CheckedBegin(const std::string& text, const std::atomic<bool>* stop)
{
    return CheckedIterator(text.data(), stop);
}
inline CheckedIterator CheckedEnd(const std::string& text, const std::atomic<bool>* stop)
{
    return CheckedIterator(text.data() + text.size(), stop);
}

}}
