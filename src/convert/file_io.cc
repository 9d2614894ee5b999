#include "convert/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

InputFile::~InputFile() {
  if (fd_ >= 0)
    ::close(fd_);
  delete[] buffer_;
}

bool InputFile::Open(const char *path) {
  fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  struct stat status;
  if (::fstat(fd_, &status) != 0) {
    error_ = errno;
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    error_ = EISDIR;
    return false;
  }
  buffer_ = new unsigned char[kBufferSize];
  return true;
}

bool InputFile::Fill() {
  if (fd_ < 0 || error_ != 0)
    return false;
  for (;;) {
    ssize_t got = ::read(fd_, buffer_, kBufferSize);
    if (got > 0) {
      bytesRead_ += got;
      next_ = 0;
      end_ = static_cast<std::size_t>(got);
      return true;
    }
    if (got == 0)
      return false;
    if (errno != EINTR) {
      error_ = errno;
      return false;
    }
  }
}

std::size_t InputFile::Lookahead(std::size_t count) {
  if (end_ - next_ >= count || fd_ < 0)
    return std::min(end_ - next_, count);
  std::memmove(buffer_, buffer_ + next_, end_ - next_);
  end_ -= next_;
  next_ = 0;
  while (end_ < count && error_ == 0) {
    ssize_t got = ::read(fd_, buffer_ + end_, kBufferSize - end_);
    if (got > 0) {
      bytesRead_ += got;
      end_ += static_cast<std::size_t>(got);
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      error_ = errno;
    }
  }
  return std::min(end_, count);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0)
    ::close(fd_);
  delete[] buffer_;
}

bool OutputFile::Create(const char *path) {
  fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  buffer_ = new unsigned char[kBufferSize];
  return true;
}

void OutputFile::WriteAll(const unsigned char *bytes, std::size_t count) {
  while (count > 0 && error_ == 0) {
    ssize_t put = ::write(fd_, bytes, count);
    if (put > 0) {
      bytesWritten_ += put;
      bytes += put;
      count -= static_cast<std::size_t>(put);
    } else if (put < 0 && errno != EINTR) {
      error_ = errno;
    } else if (put == 0) {
      error_ = EIO;
    }
  }
}

void OutputFile::WriteSlow(const unsigned char *bytes, std::size_t count) {
  Flush();
  if (count >= kBufferSize) {
    WriteAll(bytes, count);
    return;
  }
  std::memcpy(buffer_, bytes, count);
  used_ = count;
}

bool OutputFile::Flush() {
  if (fd_ < 0)
    return false;
  WriteAll(buffer_, used_);
  used_ = 0;
  return error_ == 0;
}

bool OutputFile::Close() {
  if (fd_ < 0)
    return error_ == 0;
  Flush();
  if (::close(fd_) != 0 && error_ == 0)
    error_ = errno;
  fd_ = -1;
  return error_ == 0;
}
