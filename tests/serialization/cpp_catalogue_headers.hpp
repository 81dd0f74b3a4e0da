#pragma once

// Every C++ class, C++ serialization header and introspection header the C++ tests reach.

#include "catalogue/cpp_headers.hpp"
#include "catalogue/fastrtps_cpp_headers.hpp"
#include "catalogue/introspection_c_headers.hpp"
#include "catalogue/introspection_cpp_headers.hpp"
#include "rosidl_typesupport_fastrtps_cpp/identifier.hpp"
#include "rosidl_typesupport_fastrtps_cpp/message_type_support.h"
#include "rosidl_typesupport_fastrtps_cpp/service_type_support.h"
