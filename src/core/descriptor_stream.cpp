#include "core/descriptor_stream.h"

#include <unistd.h>

#include <cerrno>

namespace kestra {

DescriptorBuffer::DescriptorBuffer(int descriptor) : descriptor_(descriptor) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorBuffer::~DescriptorBuffer() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void DescriptorBuffer::Fail(int error) {
  if (failure_ == 0) failure_ = error != 0 ? error : EIO;
}

bool DescriptorBuffer::WriteBuffered() {
  const char* next = pbase();
  while (next < pptr() && failure_ == 0) {
    const ssize_t written = ::write(descriptor_, next, static_cast<std::size_t>(pptr() - next));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      Fail(errno);
      break;
    }
    next += written;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return failure_ == 0;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
  if (!WriteBuffered()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int DescriptorBuffer::sync() { return WriteBuffered() ? 0 : -1; }

bool DescriptorBuffer::Close() {
  if (descriptor_ < 0) return failure_ == 0;
  WriteBuffered();
  if (failure_ == 0 && ::fsync(descriptor_) != 0) Fail(errno);
  if (::close(descriptor_) != 0) Fail(errno);
  descriptor_ = -1;
  return failure_ == 0;
}

}  // namespace kestra
