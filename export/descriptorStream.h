#pragma once
// A stream buffer that writes to an open file descriptor, keeping the system's error of the
// first write that failed (errno: ENOSPC on a full disk, EFBIG past a file-size limit), so that
// a failed export can say why. Writes interrupted by a signal are retried.

#include <streambuf>
#include <vector>

class descriptorStreamBuf : public std::streambuf {
  public:
    // The descriptor stays open and owned by the caller.
    explicit descriptorStreamBuf(int fd);
    descriptorStreamBuf(const descriptorStreamBuf&) = delete;
    descriptorStreamBuf& operator=(const descriptorStreamBuf&) = delete;

    // The errno of the first failed write, 0 while none failed. Later writes fail at once.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

  private:
    bool writeAll(const char* next, const char* end);
    bool drain();

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};
