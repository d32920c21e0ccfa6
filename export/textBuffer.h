#pragma once
// Text built by appending, in one block that keeps its storage when cleared: a buffer reused
// from feather to feather stops allocating once it has held the largest. Numbers are appended
// by exportText.h.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

class textBuffer {
  public:
    textBuffer() = default;
    textBuffer(textBuffer&&) = default;
    textBuffer& operator=(textBuffer&&) = default;

    const char* data() const { return data_.get(); }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Keeps the storage.
    void clear() { size_ = 0; }
    std::string str() const { return std::string(data(), size_); }

    void append(char c) {
        if (size_ == capacity_)
            grow(1);
        data_[size_++] = c;
    }
    void append(const char* text, size_t count) {
        std::memcpy(tail(count), text, count);
        size_ += count;
    }
    void append(const char* text) { append(text, std::strlen(text)); }
    void append(const std::string& text) { append(text.data(), text.size()); }

    // Room for `count` more characters: write them at the returned place, then commit(end).
    char* tail(size_t count) {
        if (capacity_ - size_ < count)
            grow(count);
        return data_.get() + size_;
    }
    void commit(char* end) { size_ = static_cast<size_t>(end - data_.get()); }

  private:
    // Doubles the storage (at least `count` more); throws std::bad_alloc when it cannot.
    void grow(size_t count);

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
