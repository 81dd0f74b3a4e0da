// The sample response once more, this time as a C++ node sees it: built as a C++ object,
// printed as YAML, written as CDR through the C++ fast-CDR support, and handed to a C reader,
// which must find the very response the C sample builds.

#include <cstdio>
#include <iostream>
#include <vector>

#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_c.h"
#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_cpp.hpp"
#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "detect_trash_sample.h"
#include "detect_trash_sample.hpp"
#include "fastcdr/Cdr.h"
#include "fastcdr/FastBuffer.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

namespace {

using corvanthelis_interfaces::srv::DetectTrash_Response;

const message_type_support_callbacks_t * callbacks_of(const rosidl_message_type_support_t * handle)
{
  return static_cast<const message_type_support_callbacks_t *>(handle->data);
}

}  // namespace

int main()
{
  const DetectTrash_Response response = detect_trash_sample();
  std::cout << "The response as YAML:\n" << corvanthelis_interfaces::srv::to_yaml(response) << "\n";

  // What a C++ node's middleware does: find the support through the class's handle, size a
  // buffer with it, and write the response.
  const auto * cpp = callbacks_of(
    rosidl_typesupport_fastrtps_cpp::get_message_type_support_handle<DetectTrash_Response>());
  std::vector<char> bytes(cpp->get_serialized_size(&response));
  eprosima::fastcdr::FastBuffer buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr writer(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
    eprosima::fastcdr::Cdr::DDS_CDR);
  cpp->cdr_serialize(&response, writer);
  std::printf("Written by the C++ support: %zu bytes of CDR.\n", writer.getSerializedDataLength());

  // A C node reads those bytes with the C support.
  const auto * c = callbacks_of(
    rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__srv__DetectTrash_Response());
  corvanthelis_interfaces__srv__DetectTrash_Response * read =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  corvanthelis_interfaces__srv__DetectTrash_Response * expected =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  if (!read || !expected || !fill_detect_trash_sample(expected)) {
    std::fprintf(stderr, "out of memory\n");
    return 1;
  }
  eprosima::fastcdr::FastBuffer received(bytes.data(), writer.getSerializedDataLength());
  eprosima::fastcdr::Cdr reader(received, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
    eprosima::fastcdr::Cdr::DDS_CDR);
  const bool same = c->cdr_deserialize(reader, read) &&
    reader.getSerializedDataLength() == writer.getSerializedDataLength() &&
    corvanthelis_interfaces__srv__DetectTrash_Response__are_equal(read, expected);
  std::printf("The C library reads them back as %s: %zu trashes, errmsg \"%s\".\n",
    same ? "the C sample response" : "SOMETHING ELSE", read->trashes_detected.size,
    read->errmsg.data ? read->errmsg.data : "");
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(expected);
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(read);
  return same ? 0 : 1;
}
