// An output stream over an open file descriptor that keeps the system's
// reason for its first failed write. A buffered file stream loses it: by
// the time the failure shows, other calls have changed errno.
#pragma once

#include <array>
#include <ostream>
#include <streambuf>

namespace kestra {

class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int descriptor);
  ~DescriptorBuffer() override;  // closes the descriptor without syncing
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

  // Writes what is buffered, syncs the file to the disk and closes it.
  // False when any write, the sync or the close failed; Failure() then
  // gives the errno of the first failure.
  bool Close();
  int Failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool WriteBuffered();
  void Fail(int error);

  int descriptor_;
  int failure_ = 0;
  std::array<char, 1 << 16> buffer_;
};

}  // namespace kestra
