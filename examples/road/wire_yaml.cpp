#include "wire_yaml.hpp"

#include <sstream>
#include <stdexcept>
#include <vector>

#include "fastcdr/Cdr.h"
#include "fastcdr/FastBuffer.h"
#include "printer.hpp"
#include "transport/type_support.hpp"
#include "type_support.hpp"

namespace road {

std::string wire_yaml(const rosidl_message_type_support_t* dispatch_record, const void* message) {
  const auto& cpp = *transport::resolve_callbacks(dispatch_record).callbacks;
  std::vector<char> bytes(cpp.get_serialized_size(message));
  eprosima::fastcdr::FastBuffer out_buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr out(out_buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
                             eprosima::fastcdr::Cdr::DDS_CDR);
  cpp.cdr_serialize(message, out);

  // "corvanthelis_interfaces::msg" and "Trashes" name "corvanthelis_interfaces/msg/Trashes".
  std::string type_name = std::string(cpp.message_namespace_) + "/" + cpp.message_name_;
  type_name.replace(type_name.find("::"), 2, "/");
  const rosidl_message_type_support_t* dispatch = inspect::dispatch_record(type_name);
  const auto& members = inspect::introspection(*dispatch);
  const auto& c = inspect::serialization(*dispatch);
  void* structure = inspect::new_message(members);
  eprosima::fastcdr::FastBuffer in_buffer(bytes.data(), out.getSerializedDataLength());
  eprosima::fastcdr::Cdr in(in_buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
                            eprosima::fastcdr::Cdr::DDS_CDR);
  const bool read = c.cdr_deserialize(in, structure);
  std::ostringstream text;
  if (read) inspect::print_value(text, members, structure);
  inspect::delete_message(members, structure);
  if (!read)
    throw std::runtime_error("the C support cannot read what the C++ support wrote for " +
                             type_name);
  return text.str();
}

}  // namespace road
