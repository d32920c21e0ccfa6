#pragma once
// A file's bytes mapped read-only into memory, for reading files far larger than the memory a
// reader should hold (quillo join reads whole export parts this way).

#include <cstddef>
#include <string>

class mappedFile {
  public:
    mappedFile() = default;
    ~mappedFile();
    mappedFile(const mappedFile&) = delete;
    mappedFile& operator=(const mappedFile&) = delete;
    mappedFile(mappedFile&& other) noexcept;

    // Maps the file; false, with *why the system's reason, when it cannot be opened or mapped
    // (a folder, a missing file, no permission).
    bool open(const std::string& path, std::string* why);

    const char* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    const char* data_ = nullptr;
    size_t size_ = 0;
    bool mapped_ = false;
};
