// What the middleware does with the sample response: find the fast-CDR support through the
// type's handle, size a buffer with it, and write the response as CDR.

#include <cstdio>
#include <vector>

#include "corvanthelis_interfaces/srv/detail/detect_trash__rosidl_typesupport_fastrtps_c.h"
#include "detect_trash_sample.h"
#include "fastcdr/Cdr.h"
#include "fastcdr/FastBuffer.h"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"

int main()
{
  corvanthelis_interfaces__srv__DetectTrash_Response * response =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  if (!response || !fill_detect_trash_sample(response)) {
    std::fprintf(stderr, "out of memory\n");
    return 1;
  }
  const auto * callbacks = static_cast<const message_type_support_callbacks_t *>(
    rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__srv__DetectTrash_Response()
    ->data);

  std::vector<char> bytes(callbacks->get_serialized_size(response));
  eprosima::fastcdr::FastBuffer buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS,
    eprosima::fastcdr::Cdr::DDS_CDR);
  const bool written = callbacks->cdr_serialize(response, cdr);
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(response);
  if (!written) {
    return 1;
  }

  std::printf("CDR of the response (%zu bytes, little endian):\n", cdr.getSerializedDataLength());
  for (size_t i = 0; i < cdr.getSerializedDataLength(); ++i) {
    std::printf("%02x%s", static_cast<unsigned char>(bytes[i]), (i + 1) % 16 == 0 ? "\n" : " ");
  }
  std::printf("\n");
  return 0;
}
