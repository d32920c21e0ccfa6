#include "export/gzipStream.h"

namespace {

constexpr size_t bufferSize = 1 << 16;
// 15 bits of window plus 16: zlib writes a gzip header and trailer instead of its own.
constexpr int gzipWindowBits = 15 + 16;

} // namespace

gzipStreamBuf::gzipStreamBuf(std::ostream& target)
    : target_(target), input_(bufferSize), output_(bufferSize) {
    open_ = deflateInit2(&zip_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzipWindowBits, 8,
                         Z_DEFAULT_STRATEGY) == Z_OK;
    failed_ = !open_;
    setp(input_.data(), input_.data() + input_.size());
}

gzipStreamBuf::~gzipStreamBuf() {
    if (open_)
        deflateEnd(&zip_);
}

bool gzipStreamBuf::deflatePending(int flush) {
    if (failed_)
        return false;
    zip_.next_in = reinterpret_cast<Bytef*>(pbase());
    zip_.avail_in = static_cast<uInt>(pptr() - pbase());
    int result;
    do {
        zip_.next_out = reinterpret_cast<Bytef*>(output_.data());
        zip_.avail_out = static_cast<uInt>(output_.size());
        result = deflate(&zip_, flush);
        if (result == Z_STREAM_ERROR) {
            failed_ = true;
            return false;
        }
        const std::streamsize produced =
            static_cast<std::streamsize>(output_.size() - zip_.avail_out);
        if (produced > 0 && !target_.write(output_.data(), produced)) {
            failed_ = true;
            return false;
        }
    } while (zip_.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    setp(input_.data(), input_.data() + input_.size());
    return true;
}

gzipStreamBuf::int_type gzipStreamBuf::overflow(int_type c) {
    if (!deflatePending(Z_NO_FLUSH))
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int gzipStreamBuf::sync() {
    // A full flush would cost compression; sync only checks that nothing has failed so far.
    return failed_ ? -1 : 0;
}

bool gzipStreamBuf::finish() {
    if (!open_)
        return false;
    const bool done = deflatePending(Z_FINISH);
    deflateEnd(&zip_);
    open_ = false;
    failed_ = true; // nothing may follow the trailer
    setp(nullptr, nullptr);
    return done && target_.flush().good();
}
