#include "export/textBuffer.h"

#include <algorithm>

void textBuffer::grow(size_t count) {
    const size_t wanted = std::max({size_ + count, 2 * capacity_, size_t(4096)});
    std::unique_ptr<char[]> larger(new char[wanted]);
    if (size_ > 0)
        std::memcpy(larger.get(), data_.get(), size_);
    data_ = std::move(larger);
    capacity_ = wanted;
}
