// A growable array that keeps its first elements inside itself: the per-record buffers of the
// activity scan cost no allocation for the records that are common.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

namespace logscan {

template <typename T, std::size_t InlineCount>
class InlineBuffer {
    static_assert(std::is_trivial_v<T>, "elements are copied as bytes and left uninitialised");

public:
    InlineBuffer() = default;
    InlineBuffer(const InlineBuffer& other) { Append(other.data(), other.size()); }
    InlineBuffer& operator=(const InlineBuffer& other) {
        if (this != &other) {
            size_ = 0;
            Append(other.data(), other.size());
        }
        return *this;
    }

    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    void Reserve(std::size_t capacity) {
        if (capacity > capacity_) Grow(capacity);
    }
    void Append(const T* items, std::size_t count) {
        if (count > capacity_ - size_) Grow(std::max(2 * capacity_, size_ + count));
        if (count != 0) std::memcpy(data_ + size_, items, count * sizeof(T));
        size_ += count;
    }
    void PushBack(const T& item) { Append(&item, 1); }

private:
    void Grow(std::size_t capacity) {
        std::unique_ptr<T[]> bigger(new T[capacity]);
        if (size_ != 0) std::memcpy(bigger.get(), data_, size_ * sizeof(T));
        heap_ = std::move(bigger);
        data_ = heap_.get();
        capacity_ = capacity;
    }

    T inline_[InlineCount];
    std::unique_ptr<T[]> heap_;
    T* data_ = inline_;
    std::size_t size_ = 0;
    std::size_t capacity_ = InlineCount;
};

}  // namespace logscan
