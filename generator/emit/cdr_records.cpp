#include "emit/cdr_records.hpp"

#include "naming.hpp"

namespace idlc::cdr {

void write_message_record(CodeWriter& out, const Structure& structure,
                          const MessageRecord& record) {
  const Bindings names = {
      {"size_at_zero", record.size_at_zero},
      {"max", record.max_size},
      {"size_callback", naming::private_symbol("size_callback", structure)},
      {"max_callback", naming::private_symbol("max_size_callback", structure)},
      {"callbacks", naming::private_symbol("callbacks", structure)},
      {"record", naming::private_symbol("type_support", structure)},
      {"namespace", naming::cpp_namespace(structure)},
      {"name", structure.name},
      {"serialize", record.serialize},
      {"deserialize", record.deserialize},
      {"identifier", record.identifier},
      {"handle", record.handle},
  };
  out.lines(R"(static uint32_t $size_callback$(const void * untyped_ros_message) {
  return static_cast<uint32_t>($size_at_zero$);
}

static size_t $max_callback$(char & bounds_info) {
  bool full_bounded;
  bool is_plain;
  const size_t size = $max$(full_bounded, is_plain, 0);
  bounds_info = is_plain ? ROSIDL_TYPESUPPORT_FASTRTPS_PLAIN_TYPE
    : full_bounded ? ROSIDL_TYPESUPPORT_FASTRTPS_BOUNDED_TYPE
    : ROSIDL_TYPESUPPORT_FASTRTPS_UNBOUNDED_TYPE;
  return size;
}

static message_type_support_callbacks_t $callbacks$ = {
  "$namespace$",
  "$name$",
  &$serialize$,
  &$deserialize$,
  &$size_callback$,
  &$max_callback$,
};

// Initialised when the library is loaded: the identifier is the runtime variable's value.
static rosidl_message_type_support_t $record$ = {
  $identifier$,
  &$callbacks$,
  get_message_typesupport_handle_function,
};

const rosidl_message_type_support_t * $handle$() {
  return &$record$;
}

)",
            names);
}

void write_service_record(CodeWriter& out, const Interface& interface, const Service& service,
                          const ServiceRecord& record) {
  const Bindings names = {
      {"callbacks", naming::private_symbol("service_callbacks", interface, service)},
      {"record", naming::private_symbol("service_type_support", interface, service)},
      {"namespace", naming::cpp_interface_namespace(interface)},
      {"name", service.name},
      {"request", record.request_handle},
      {"response", record.response_handle},
      {"identifier", record.identifier},
      {"handle", record.handle},
  };
  out.lines(R"(static service_type_support_callbacks_t $callbacks$ = {
  "$namespace$",
  "$name$",
  $request$(),
  $response$(),
};

static rosidl_service_type_support_t $record$ = {
  $identifier$,
  &$callbacks$,
  get_service_typesupport_handle_function,
};

const rosidl_service_type_support_t * $handle$() {
  return &$record$;
}

)",
            names);
}

}  // namespace idlc::cdr
