// A C++ client of the installed package, which includes its umbrella headers alone. The
// examples' DetectTrash response is written as CDR twice, from the C structure through the C
// serialization support and from the C++ class through the C++ one, each reached through the
// type's dispatch record of its language, as the middleware reaches it; a peer cannot tell the
// writers apart, so the bytes must agree. The C++ member table must describe the class as the
// C table describes the structure.

#include <cstdio>
#include <cstring>
#include <vector>

#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "detect_trash_sample.h"
#include "detect_trash_sample.hpp"
#include "fastcdr/Cdr.h"
#include "fastcdr/FastBuffer.h"
#include "rosidl_typesupport_fastrtps_c/identifier.h"
#include "rosidl_typesupport_fastrtps_cpp/identifier.hpp"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"
#include "rosidl_typesupport_introspection_c/identifier.h"
#include "rosidl_typesupport_introspection_c/message_introspection.h"
#include "rosidl_typesupport_introspection_cpp/identifier.hpp"
#include "rosidl_typesupport_introspection_cpp/message_introspection.hpp"

namespace {

using corvanthelis_interfaces::srv::DetectTrash_Response;

const message_type_support_callbacks_t * callbacks_of(const rosidl_message_type_support_t * handle)
{
  return static_cast<const message_type_support_callbacks_t *>(handle->data);
}

eprosima::fastcdr::Cdr cdr_over(eprosima::fastcdr::FastBuffer & buffer)
{
  return eprosima::fastcdr::Cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
    eprosima::fastcdr::Cdr::DDS_CDR);
}

// The message's CDR bytes as the middleware writes them: sized by the support, then written.
std::vector<char> serialize(const message_type_support_callbacks_t * callbacks, const void * message)
{
  std::vector<char> bytes(callbacks->get_serialized_size(message));
  eprosima::fastcdr::FastBuffer buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr cdr = cdr_over(buffer);
  if (!callbacks->cdr_serialize(message, cdr)) {
    return {};
  }
  bytes.resize(cdr.getSerializedDataLength());
  return bytes;
}

// Both tables list the same members, in the same order, with the same type codes.
bool tables_agree(const rosidl_typesupport_introspection_c__MessageMembers & c,
  const rosidl_typesupport_introspection_cpp::MessageMembers & cpp)
{
  bool agree = c.member_count_ == cpp.member_count_;
  for (uint32_t i = 0; agree && i < c.member_count_; ++i) {
    const auto & c_member = c.members_[i];
    const auto & cpp_member = cpp.members_[i];
    std::printf("  %-18s type %2u%s\n", cpp_member.name_, static_cast<unsigned>(cpp_member.type_id_),
      cpp_member.is_array_ ? ", sequence" : "");
    agree = std::strcmp(c_member.name_, cpp_member.name_) == 0 &&
            c_member.type_id_ == cpp_member.type_id_ && c_member.is_array_ == cpp_member.is_array_;
  }
  return agree;
}

}  // namespace

int main()
{
  const DetectTrash_Response cpp_response = detect_trash_sample();
  corvanthelis_interfaces__srv__DetectTrash_Response * c_response =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  if (!c_response || !fill_detect_trash_sample(c_response)) {
    std::fprintf(stderr, "out of memory\n");
    return 1;
  }

  const rosidl_message_type_support_t * dispatch =
    ROSIDL_GET_MSG_TYPE_SUPPORT(corvanthelis_interfaces, srv, DetectTrash_Response);
  const rosidl_message_type_support_t * c_serialization =
    get_message_typesupport_handle(dispatch, rosidl_typesupport_fastrtps_c__identifier);
  const rosidl_message_type_support_t * c_introspection =
    get_message_typesupport_handle(dispatch, rosidl_typesupport_introspection_c__identifier);
  if (!c_serialization || !c_introspection) {
    std::fprintf(stderr, "the dispatch record found no C provider\n");
    return 1;
  }
  const std::vector<char> from_c = serialize(callbacks_of(c_serialization), c_response);
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(c_response);

  const rosidl_message_type_support_t * cpp_dispatch =
    rosidl_typesupport_cpp::get_message_type_support_handle<DetectTrash_Response>();
  const rosidl_message_type_support_t * cpp_fast_cdr =
    get_message_typesupport_handle(cpp_dispatch, rosidl_typesupport_fastrtps_cpp::typesupport_identifier);
  const rosidl_message_type_support_t * cpp_introspection =
    get_message_typesupport_handle(cpp_dispatch, rosidl_typesupport_introspection_cpp::typesupport_identifier);
  if (!cpp_fast_cdr || !cpp_introspection) {
    std::fprintf(stderr, "the C++ dispatch record found no C++ provider\n");
    return 1;
  }
  const auto * cpp_serialization = callbacks_of(cpp_fast_cdr);
  const std::vector<char> from_cpp = serialize(cpp_serialization, &cpp_response);
  const bool same_bytes = !from_c.empty() && from_c == from_cpp;
  std::printf("CDR: %zu bytes from C, %zu from C++: %s\n", from_c.size(), from_cpp.size(),
    same_bytes ? "identical" : "DIFFERENT");

  DetectTrash_Response read;
  eprosima::fastcdr::FastBuffer received(const_cast<char *>(from_c.data()), from_c.size());
  eprosima::fastcdr::Cdr reader = cdr_over(received);
  const bool read_back = cpp_serialization->cdr_deserialize(reader, &read) && read == cpp_response;
  std::printf("C++ reads the C bytes as %s\n", read_back ? "the same response" : "SOMETHING ELSE");

  const auto * cpp_members =
    static_cast<const rosidl_typesupport_introspection_cpp::MessageMembers *>(cpp_introspection->data);
  std::printf("%s::%s, %zu bytes as a C++ object:\n", cpp_members->message_namespace_,
    cpp_members->message_name_, cpp_members->size_of_);
  const bool same_tables = cpp_members->size_of_ == sizeof(DetectTrash_Response) &&
    tables_agree(*static_cast<const rosidl_typesupport_introspection_c__MessageMembers *>(c_introspection->data),
      *cpp_members);
  std::printf("C and C++ tables: %s\n", same_tables ? "agree" : "DISAGREE");
  return same_bytes && read_back && same_tables ? 0 : 1;
}
