#include "export/descriptorStream.h"

#include <unistd.h>

#include <cerrno>

namespace {

constexpr size_t bufferSize = 1 << 16;

} // namespace

descriptorStreamBuf::descriptorStreamBuf(int fd) : fd_(fd), buffer_(bufferSize) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool descriptorStreamBuf::writeAll(const char* next, const char* end) {
    while (error_ == 0 && next < end) {
        const ssize_t written = ::write(fd_, next, static_cast<size_t>(end - next));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error_ = written < 0 ? errno : EIO;
        else
            next += written;
    }
    return error_ == 0;
}

bool descriptorStreamBuf::drain() {
    const bool written = writeAll(pbase(), pptr());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

std::streamsize descriptorStreamBuf::xsputn(const char* text, std::streamsize count) {
    // Blocks as large as the buffer go straight to the descriptor, not copied through it.
    if (count < static_cast<std::streamsize>(buffer_.size()))
        return std::streambuf::xsputn(text, count);
    if (!drain() || !writeAll(text, text + count))
        return 0;
    return count;
}

descriptorStreamBuf::int_type descriptorStreamBuf::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int descriptorStreamBuf::sync() {
    return drain() ? 0 : -1;
}
