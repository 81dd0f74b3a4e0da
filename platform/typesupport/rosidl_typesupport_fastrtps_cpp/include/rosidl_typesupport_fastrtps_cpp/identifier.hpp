#ifndef ROSIDL_TYPESUPPORT_FASTRTPS_CPP__IDENTIFIER_HPP_
#define ROSIDL_TYPESUPPORT_FASTRTPS_CPP__IDENTIFIER_HPP_

namespace rosidl_typesupport_fastrtps_cpp {

__attribute__((visibility("default"))) extern const char * typesupport_identifier;

}  // namespace rosidl_typesupport_fastrtps_cpp

#endif  // ROSIDL_TYPESUPPORT_FASTRTPS_CPP__IDENTIFIER_HPP_
