#include "c_decoders.hpp"

#include <fastcdr/exceptions/Exception.h>

#include <vector>

#include "fuzz_types.hpp"

namespace fuzz {
namespace {

// A structure of one row's type for the length of a check.
class Message {
 public:
  explicit Message(const ser::TypeRow& row) : row_(row), msg_(row.create()) {}
  ~Message() { row_.destroy(msg_); }
  Message(const Message&) = delete;
  Message& operator=(const Message&) = delete;
  void* get() const { return msg_; }

 private:
  const ser::TypeRow& row_;
  void* msg_;
};

template <class Stream>
bool read_from(Stream& stream, const ser::TypeRow& row, void* msg) {
  try {
    return row.callbacks()->cdr_deserialize(stream.cdr, msg);
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return false;
  }
}

bool read(const ser::TypeRow& row, const std::vector<uint8_t>& bytes, bool owned, void* msg) {
  if (owned) {
    ser::OwnedStream stream(bytes);
    return read_from(stream, row, msg);
  }
  ser::Stream stream(bytes);
  return read_from(stream, row, msg);
}

// Writes into a buffer of exactly the computed size, which cannot grow: a size that falls
// short shows as an exception. The size may exceed the bytes written by the alignment before
// an empty float64 sequence, which the size rules count and Fast-CDR skips (4 bytes: no type
// has two such sequences), and by nothing else.
std::string write(const ser::TypeRow& row, const void* msg, std::vector<uint8_t>& bytes) {
  const size_t size = row.size(msg, 0);
  ser::Stream stream(size);
  try {
    if (!row.callbacks()->cdr_serialize(msg, stream.cdr)) return "a structure just read cannot be written";
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return "writing needs more bytes than the size function gives";
  }
  bytes = stream.written();
  if (size - bytes.size() > 4) return "writing takes fewer bytes than the size function gives";
  return {};
}

}  // namespace

std::string check_c_decoders(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const Choice choice = choose(data[0]);
  const ser::TypeRow& row = *choice.row;
  const std::string where = " (" + row.full_name() + ")";
  Message first(row);
  if (!read(row, std::vector<uint8_t>(data + 1, data + size), choice.owned_buffer, first.get())) {
    return {};
  }
  std::vector<uint8_t> canonical;
  if (std::string fault = write(row, first.get(), canonical); !fault.empty()) return fault + where;
  Message second(row);
  if (!read(row, canonical, false, second.get())) return "its own writing is refused" + where;
  if (row.equal(first.get(), second.get())) return {};
  // A structure unequal to itself holds a NaN, which no comparison can match; its writing
  // must still come back byte for byte.
  if (row.equal(first.get(), first.get())) return "what is read back differs" + where;
  std::vector<uint8_t> again;
  if (std::string fault = write(row, second.get(), again); !fault.empty()) return fault + where;
  if (again != canonical) return "writing what was read back gives other bytes" + where;
  return {};
}

}  // namespace fuzz
