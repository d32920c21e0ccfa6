#pragma once
// A stream buffer that gzip-compresses (RFC 1952, through zlib) everything written to it into
// another stream. Nothing reaches the target before the buffer fills or finish() is called; a
// file is only a valid gzip file after finish().

#include <zlib.h>

#include <ostream>
#include <streambuf>
#include <vector>

class gzipStreamBuf : public std::streambuf {
  public:
    explicit gzipStreamBuf(std::ostream& target);
    ~gzipStreamBuf() override;
    gzipStreamBuf(const gzipStreamBuf&) = delete;
    gzipStreamBuf& operator=(const gzipStreamBuf&) = delete;

    // Compresses what is pending and writes the gzip trailer. False when zlib or the target
    // failed at any point; later writes fail.
    bool finish();

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    bool deflatePending(int flush);

    std::ostream& target_;
    z_stream zip_{};
    bool open_ = false;
    bool failed_ = false;
    std::vector<char> input_;
    std::vector<char> output_;
};
