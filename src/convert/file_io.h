// Buffered binary file access for the conversion run: large reads and
// writes instead of one system call per character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class InputFile {
public:
  InputFile() = default;
  InputFile(const InputFile &) = delete;
  InputFile &operator=(const InputFile &) = delete;
  ~InputFile();

  // Opens path for reading; a directory is refused with EISDIR. On failure
  // returns false and leaves the reason in errorNumber().
  bool Open(const char *path);
  int descriptor() const { return fd_; }
  int errorNumber() const { return error_; }
  // Bytes read from the file so far.
  std::int64_t bytesRead() const { return bytesRead_; }

  // True when no byte is left (or reading failed; see errorNumber()).
  bool AtEnd() { return next_ == end_ && !Fill(); }
  // The next byte; only after AtEnd() returned false.
  unsigned char Next() { return buffer_[next_++]; }

  // The bytes read ahead and not yet taken, for loops that take many at a
  // time: [Cursor(), Limit()), then Skip(count) for those taken.
  const unsigned char *Cursor() const { return buffer_ + next_; }
  const unsigned char *Limit() const { return buffer_ + end_; }
  void Skip(std::size_t count) { next_ += count; }

  // Makes up to count bytes available at Cursor() (fewer only at the end of
  // the input); returns how many are.
  std::size_t Lookahead(std::size_t count);

private:
  bool Fill();

  static constexpr std::size_t kBufferSize = 1 << 18;
  int fd_ = -1;
  int error_ = 0;
  std::int64_t bytesRead_ = 0;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  unsigned char *buffer_ = nullptr;
};

class OutputFile {
public:
  OutputFile() = default;
  OutputFile(const OutputFile &) = delete;
  OutputFile &operator=(const OutputFile &) = delete;
  ~OutputFile();

  // Creates path, or truncates it. On failure returns false and leaves the
  // reason in errorNumber().
  bool Create(const char *path);
  int errorNumber() const { return error_; }
  bool Failed() const { return error_ != 0; }
  // Bytes that reached the file so far.
  std::int64_t bytesWritten() const { return bytesWritten_; }

  void Write(const unsigned char *bytes, std::size_t count) {
    // Most characters are 1 or 2 bytes: copy those without a loop.
    if (count <= 2 && used_ + 2 <= kBufferSize) {
      buffer_[used_] = bytes[0];
      buffer_[used_ + 1] = count == 2 ? bytes[1] : 0;
      used_ += count;
      return;
    }
    if (count <= kBufferSize - used_) {
      std::memcpy(buffer_ + used_, bytes, count);
      used_ += count;
      return;
    }
    WriteSlow(bytes, count);
  }
  // Free room in the buffer, for loops that write many characters at a
  // time: write into [Space(), SpaceEnd()), then Commit(count).
  unsigned char *Space() { return buffer_ + used_; }
  unsigned char *SpaceEnd() { return buffer_ + kBufferSize; }
  void Commit(std::size_t count) { used_ += count; }

  // Writes out what is buffered; false when any write so far failed.
  bool Flush();
  // Flushes and closes; false when any write or the close failed.
  bool Close();

private:
  void WriteSlow(const unsigned char *bytes, std::size_t count);
  void WriteAll(const unsigned char *bytes, std::size_t count);

  static constexpr std::size_t kBufferSize = 1 << 18;
  int fd_ = -1;
  int error_ = 0;
  std::int64_t bytesWritten_ = 0;
  std::size_t used_ = 0;
  unsigned char *buffer_ = nullptr;
};
