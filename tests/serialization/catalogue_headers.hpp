#pragma once

// Every C structure and C serialization header the tests reach, in one place.

#include "catalogue/c_headers.hpp"
#include "catalogue/fastrtps_c_headers.hpp"
#include "rosidl_typesupport_fastrtps_c/identifier.h"
