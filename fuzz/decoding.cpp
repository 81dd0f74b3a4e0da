#include "decoding.hpp"

#include <fastcdr/exceptions/Exception.h>

#include <stdexcept>

namespace fuzz {
namespace {

template <class Stream>
bool read_from(Stream& stream, const Side& side, void* msg) {
  try {
    return side.callbacks->cdr_deserialize(stream.cdr, msg);
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return false;
  } catch (const std::length_error&) {
    // a C++ bounded sequence refuses a count above its bound
    return false;
  }
}

}  // namespace

Side Side::of(const ser::TypeRow& row) {
  return {row.callbacks(), row.size, row.create, row.destroy, row.equal};
}

Side Side::of(const ser::CppRow& row) {
  return {row.callbacks(), row.size, row.create, row.destroy, row.equal};
}

Side Side::of(const ser::every_kind::Side& side) {
  return {side.callbacks(), side.size, side.create, side.destroy, side.equal};
}

bool read(const Side& side, const std::vector<std::uint8_t>& bytes, bool owned_buffer, void* msg) {
  if (owned_buffer) {
    ser::OwnedStream stream(bytes);
    return read_from(stream, side, msg);
  }
  ser::Stream stream(bytes);
  return read_from(stream, side, msg);
}

std::string write(const Side& side, const void* msg, std::vector<std::uint8_t>& bytes,
                  std::size_t slack) {
  const std::size_t size = side.size(msg, 0);
  ser::Stream stream(size);
  try {
    if (!side.callbacks->cdr_serialize(msg, stream.cdr)) return "a structure just read cannot be written";
  } catch (const eprosima::fastcdr::exception::Exception&) {
    return "writing needs more bytes than the size function gives";
  }
  bytes = stream.written();
  if (size - bytes.size() > slack) return "writing takes fewer bytes than the size function gives";
  return {};
}

std::string check_written_reads_back(const Side& side, const void* first,
                                     std::vector<std::uint8_t>& canonical) {
  if (std::string fault = write(side, first, canonical); !fault.empty()) return fault;
  Message second(side);
  if (!read(side, canonical, false, second.get())) return "its own writing is refused";
  if (side.equal(first, second.get())) return {};
  if (side.equal(first, first)) return "what is read back differs";
  std::vector<std::uint8_t> again;
  if (std::string fault = write(side, second.get(), again); !fault.empty()) return fault;
  if (again != canonical) return "writing what was read back gives other bytes";
  return {};
}

}  // namespace fuzz
