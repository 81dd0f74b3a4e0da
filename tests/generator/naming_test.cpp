#include "naming.hpp"

#include "definition_tree.hpp"

namespace idlc::test {
namespace {

TEST(Stem, SplitsCamelCaseAtWordsAcronymsAndDigits) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"Trash", "trash"},
      {"MoveToGrab", "move_to_grab"},
      {"UUID", "uuid"},
      {"PointCloud2", "point_cloud2"},
      {"Float64MultiArray", "float64_multi_array"},
      {"GoalStatusArray", "goal_status_array"},
      {"ArmTaskDecision", "arm_task_decision"},
      {"HTTPServer", "http_server"},
      {"SendGoal", "send_goal"},
      {"FeedbackMessage", "feedback_message"},
  };
  for (const auto& [camel, expected] : rows) EXPECT_EQ(naming::stem(camel), expected) << camel;
}

// The names of the package this project delivers, on a small stand-in of its definitions.
class Naming : public DefinitionTree {
 protected:
  void SetUp() override {
    action_dependencies();
    PackageSources sources{"corvanthelis_interfaces", {}, search_path_};
    for (const auto& [relative, text] : std::vector<std::pair<std::string, std::string>>{
             {"msg/Trash.msg", "uint8 PLASTIC=1\nint32 id\n"},
             {"srv/MoveToGrab.srv", "Trash target\n---\nbool ok\n"},
             {"action/ArmTask.action", "---\n---\n"},
             {"action/ArmTaskDecision.action", "---\n---\n"}}) {
      sources.files.push_back(write("corvanthelis_interfaces", relative, text));
    }
    load_package(model_, sources);
  }
  const Structure& of(const std::string& name) {
    return structure(name, "corvanthelis_interfaces");
  }
  const Interface& interface(const std::string& name) { return *of(name).owner; }
};

TEST_F(Naming, CNamesAndPaths) {
  const Structure& trash = of("Trash");
  const Interface& move = interface("MoveToGrab_Request");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {naming::c_type(trash), "corvanthelis_interfaces__msg__Trash"},
      {naming::c_type(of("MoveToGrab_Request")),
       "corvanthelis_interfaces__srv__MoveToGrab_Request"},
      {naming::c_type(of("ArmTask_SendGoal_Request")),
       "corvanthelis_interfaces__action__ArmTask_SendGoal_Request"},
      {naming::c_sequence_type(trash), "corvanthelis_interfaces__msg__Trash__Sequence"},
      {naming::c_function(trash, "init"), "corvanthelis_interfaces__msg__Trash__init"},
      {naming::c_sequence_function(trash, "fini"),
       "corvanthelis_interfaces__msg__Trash__Sequence__fini"},
      {naming::c_constant(trash, trash.constants[0]),
       "corvanthelis_interfaces__msg__Trash__PLASTIC"},
      {naming::c_primitive_sequence_type(Primitive::Bool), "rosidl_runtime_c__boolean__Sequence"},
      {naming::c_primitive_sequence_type(Primitive::Byte), "rosidl_runtime_c__octet__Sequence"},
      {naming::c_primitive_sequence_function(Primitive::Int32, "init"),
       "rosidl_runtime_c__int32__Sequence__init"},
      {naming::c_string_function("assign"), "rosidl_runtime_c__String__assign"},
      {naming::c_string_sequence_function("fini"), "rosidl_runtime_c__String__Sequence__fini"},
      {naming::c_struct_header(move), "corvanthelis_interfaces/srv/detail/move_to_grab__struct.h"},
      {naming::c_umbrella_header(interface("ArmTaskDecision_Goal")),
       "corvanthelis_interfaces/action/arm_task_decision.h"},
      {naming::c_functions_source(move),
       "rosidl_generator_c/corvanthelis_interfaces/srv/detail/move_to_grab__functions.c"},
      {naming::library_target("corvanthelis_interfaces", naming::Deliverable::GeneratorC),
       "corvanthelis_interfaces__rosidl_generator_c"},
      {naming::cpp_qualified(of("ArmTask_Goal")), "corvanthelis_interfaces::action::ArmTask_Goal"},
      {naming::cpp_class_template(trash), "Trash_"},
      {naming::py_module(move), "corvanthelis_interfaces.srv._move_to_grab"},
  };
  for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

// Each deliverable by its one name, and what the build and the generated code call its parts.
TEST(Deliverables, NamesAndArtefacts) {
  struct Row {
    const char* name;
    const char* target;      // "" when it builds no library
    const char* visibility;  // "" when it exports nothing of its own
    const char* macro;
  };
  const std::vector<Row> rows = {
      {"rosidl_generator_c", "pkg__rosidl_generator_c",
       "pkg/msg/rosidl_generator_c__visibility_control.h", "ROSIDL_GENERATOR_C_PUBLIC_pkg"},
      {"typesupport_dispatch", "pkg__rosidl_typesupport_c",
       "pkg/msg/rosidl_typesupport_c__visibility_control.h", "ROSIDL_TYPESUPPORT_C_PUBLIC_pkg"},
      {"introspection_c", "pkg__rosidl_typesupport_introspection_c",
       "pkg/msg/rosidl_typesupport_introspection_c__visibility_control.h",
       "ROSIDL_TYPESUPPORT_INTROSPECTION_C_PUBLIC_pkg"},
      {"serialization_c", "pkg__rosidl_typesupport_fastrtps_c",
       "pkg/msg/rosidl_typesupport_fastrtps_c__visibility_control.h",
       "ROSIDL_TYPESUPPORT_FASTRTPS_C_PUBLIC_pkg"},
      {"cpp_messages", "pkg__rosidl_generator_cpp",
       "pkg/msg/rosidl_generator_cpp__visibility_control.h", "ROSIDL_GENERATOR_CPP_PUBLIC_pkg"},
      {"introspection_cpp", "pkg__rosidl_typesupport_introspection_cpp",
       "pkg/msg/rosidl_typesupport_introspection_cpp__visibility_control.h",
       "ROSIDL_TYPESUPPORT_INTROSPECTION_CPP_PUBLIC_pkg"},
      {"serialization_cpp", "pkg__rosidl_typesupport_fastrtps_cpp",
       "pkg/msg/rosidl_typesupport_fastrtps_cpp__visibility_control.h",
       "ROSIDL_TYPESUPPORT_FASTRTPS_CPP_PUBLIC_pkg"},
      {"typesupport_dispatch_cpp", "pkg__rosidl_typesupport_cpp", "", ""},
      {"python", "", "", ""},
      {"rosidl_generator_py", "pkg__rosidl_generator_py",
       "pkg/msg/rosidl_generator_py__visibility_control.h", "ROSIDL_GENERATOR_PY_PUBLIC_pkg"},
      {"python_modules", "", "", ""},
  };
  ASSERT_EQ(naming::deliverables().size(), rows.size());
  for (const Row& row : rows) {
    const naming::DeliverableInfo* info = naming::find_deliverable(row.name);
    ASSERT_NE(info, nullptr) << row.name;
    EXPECT_EQ(naming::root(info->id), row.name);
    if (*row.target == 0) {
      EXPECT_THROW(naming::library_target("pkg", info->id), std::logic_error) << row.name;
    } else {
      EXPECT_EQ(naming::library_target("pkg", info->id), row.target);
    }
    if (*row.visibility != 0) {
      EXPECT_EQ(naming::visibility_header("pkg", info->id), row.visibility);
      EXPECT_EQ(naming::visibility_macro("pkg", info->id), row.macro);
    }
  }
  EXPECT_EQ(naming::find_deliverable("fastrtps_c"), nullptr);
  EXPECT_EQ(naming::py_extension_modules("pkg"),
            (std::vector<std::string>{"pkg_s__rosidl_typesupport_c",
                                      "pkg_s__rosidl_typesupport_introspection_c"}));
  EXPECT_EQ(naming::runtime_header(naming::RuntimeHeader::CWire),
            "corvanthelis_idlc_runtime/fastcdr_c_wire.hpp");
  EXPECT_EQ(naming::runtime_namespace(naming::RuntimeHeader::Yaml), "corvanthelis_idlc_runtime::yaml");
}

TEST_F(Naming, TypeSupportHandleSymbols) {
  using naming::Deliverable;
  const Interface& move = interface("MoveToGrab_Request");
  const Interface& task = interface("ArmTask_Goal");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {naming::message_handle(Deliverable::SerializationC, of("Trash")),
       "rosidl_typesupport_fastrtps_c__get_message_type_support_handle__corvanthelis_interfaces__"
       "msg__Trash"},
      {naming::message_handle(Deliverable::IntrospectionC, of("MoveToGrab_Response")),
       "rosidl_typesupport_introspection_c__get_message_type_support_handle__"
       "corvanthelis_interfaces__srv__MoveToGrab_Response"},
      {naming::service_handle(Deliverable::TypesupportDispatch, move, move.services[0]),
       "rosidl_typesupport_c__get_service_type_support_handle__corvanthelis_interfaces__srv__"
       "MoveToGrab"},
      {naming::service_handle(Deliverable::SerializationC, task, task.services[1]),
       "rosidl_typesupport_fastrtps_c__get_service_type_support_handle__"
       "corvanthelis_interfaces__action__ArmTask_GetResult"},
      {naming::action_handle(Deliverable::TypesupportDispatch, task),
       "rosidl_typesupport_c__get_action_type_support_handle__corvanthelis_interfaces__action__"
       "ArmTask"},
      {naming::action_handle(Deliverable::TypesupportDispatchCpp, task),
       "rosidl_typesupport_cpp__get_action_type_support_handle__corvanthelis_interfaces__action__"
       "ArmTask"},
      {naming::dispatch_message_record(Deliverable::TypesupportDispatchCpp, of("Trash")),
       "corvanthelis_interfaces__msg__Trash__rosidl_typesupport_cpp__message_type_support"},
      {naming::dispatch_map_part(Deliverable::TypesupportDispatch, "pkg__srv__X", "map"),
       "pkg__srv__X__rosidl_typesupport_c__map"},
      {naming::dispatch_message_lookup(Deliverable::TypesupportDispatch),
       "rosidl_typesupport_c__get_message_typesupport_handle_function"},
      {naming::dispatch_service_lookup(Deliverable::TypesupportDispatchCpp),
       "::rosidl_typesupport_cpp::get_service_typesupport_handle_function"},
      {naming::action_cancel_service_handle(Deliverable::TypesupportDispatchCpp),
       "rosidl_typesupport_cpp__get_service_type_support_handle__action_msgs__srv__CancelGoal"},
  };
  for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

TEST_F(Naming, PythonInfixes) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"Trash", "msg__trash"},
      {"MoveToGrab_Request", "srv__move_to_grab__request"},
      {"ArmTask_Goal", "action__arm_task__goal"},
      {"ArmTask_SendGoal_Request", "action__arm_task__send_goal__request"},
      {"ArmTask_GetResult_Response", "action__arm_task__get_result__response"},
      {"ArmTaskDecision_FeedbackMessage", "action__arm_task_decision__feedback_message"},
  };
  for (const auto& [name, expected] : rows) EXPECT_EQ(naming::py_infix(of(name)), expected) << name;
}

TEST_F(Naming, CppAndPythonDeliverables) {
  using naming::Deliverable;
  const Interface& move = interface("MoveToGrab_Request");
  const Interface& task = interface("ArmTask_Goal");
  const Structure& trash = of("Trash");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {naming::cpp_struct_header(move), "corvanthelis_interfaces/srv/detail/move_to_grab__struct.hpp"},
      {naming::cpp_umbrella_header(task), "corvanthelis_interfaces/action/arm_task.hpp"},
      {naming::cpp_service_key(task, task.services[0]),
       "corvanthelis_interfaces::action::ArmTask_SendGoal"},
      {naming::cpp_support_namespace(Deliverable::SerializationCpp, trash),
       "corvanthelis_interfaces::msg::typesupport_fastrtps_cpp"},
      {naming::cpp_support_namespace(Deliverable::IntrospectionCpp, of("ArmTask_Goal")),
       "corvanthelis_interfaces::action::rosidl_typesupport_introspection_cpp"},
      {naming::cpp_traits_header(move), "corvanthelis_interfaces/srv/detail/move_to_grab__traits.hpp"},
      {naming::cpp_qualified_template(of("ArmTask_Goal")), "corvanthelis_interfaces::action::ArmTask_Goal_"},
      {naming::cpp_action_key(task), "corvanthelis_interfaces::action::ArmTask"},
      {naming::cpp_member_type(trash.fields[0]), "_id_type"},
      {naming::cpp_setter(trash.fields[0]), "set__id"},
      {naming::ros_type_name(of("MoveToGrab_Response")), "corvanthelis_interfaces/srv/MoveToGrab_Response"},
      {naming::ros_service_name(task, task.services[0]), "corvanthelis_interfaces/action/ArmTask_SendGoal"},
      {naming::ros_action_name(task), "corvanthelis_interfaces/action/ArmTask"},
      {naming::cpp_message_handle(Deliverable::IntrospectionCpp, trash),
       "::rosidl_typesupport_introspection_cpp::get_message_type_support_handle<"
       "corvanthelis_interfaces::msg::Trash>"},
      {naming::cpp_service_handle_specialization(task, task.services[1]),
       "get_service_type_support_handle<corvanthelis_interfaces::action::ArmTask_GetResult>"},
      {naming::message_handle(Deliverable::IntrospectionCpp, trash),
       "rosidl_typesupport_introspection_cpp__get_message_type_support_handle__corvanthelis_interfaces__msg__Trash"},
      {naming::introspection_cpp_source(task),
       "introspection_cpp/corvanthelis_interfaces/action/detail/arm_task__type_support.cpp"},
      {naming::introspection_cpp_init_function(of("ArmTask_Goal")), "ArmTask_Goal_init_function"},
      {naming::introspection_cpp_accessor(trash, trash.fields[0], naming::Accessor::GetConst),
       "get_const_function__Trash__id"},
      {naming::serialization_cpp_header(move),
       "corvanthelis_interfaces/srv/detail/move_to_grab__rosidl_typesupport_fastrtps_cpp.hpp"},
      {naming::serialization_cpp_source(task),
       "serialization_cpp/corvanthelis_interfaces/action/detail/arm_task__type_support.cpp"},
      {naming::cpp_cdr_function_qualified(naming::CppCdrFunction::MaxSize, of("ArmTask_Goal")),
       "corvanthelis_interfaces::action::typesupport_fastrtps_cpp::max_serialized_size_ArmTask_Goal"},
      {naming::cpp_cdr_function(naming::CppCdrFunction::Deserialize, trash), "cdr_deserialize"},
      {naming::identifier_variable(Deliverable::SerializationCpp),
       "rosidl_typesupport_fastrtps_cpp::typesupport_identifier"},
      {naming::cpp_action_handle(Deliverable::TypesupportDispatchCpp, task),
       "::rosidl_typesupport_cpp::get_action_type_support_handle<corvanthelis_interfaces::action::ArmTask>"},
      {naming::cpp_action_part(task, naming::CppActionPart::CancelGoalService),
       "corvanthelis_interfaces::action::ArmTask::Impl::CancelGoalService"},
      {naming::cpp_action_cancel_service().qualified, "action_msgs::srv::CancelGoal"},
      {naming::cpp_action_status_message().struct_header,
       "action_msgs/msg/detail/goal_status_array__struct.hpp"},
      {naming::cpp_action_cancel_service().type_support_header,
       "action_msgs/srv/detail/cancel_goal__type_support.hpp"},
      {naming::cpp_type_support_header(move), "corvanthelis_interfaces/srv/detail/move_to_grab__type_support.hpp"},
      {naming::dispatch_cpp_source(task),
       "typesupport_dispatch_cpp/corvanthelis_interfaces/action/arm_task__type_support.cpp"},
      {naming::cpp_builder_header(move), "corvanthelis_interfaces/srv/detail/move_to_grab__builder.hpp"},
      {naming::cpp_builder_namespace(of("ArmTask_Goal")), "corvanthelis_interfaces::action::builder"},
      {naming::cpp_builder_step(trash, trash.fields[0]), "Init_Trash_id"},
      {naming::identifier_variable(Deliverable::TypesupportDispatchCpp),
       "rosidl_typesupport_cpp::typesupport_identifier"},
      {naming::py_class_path(of("ArmTaskDecision_SendGoal_Request")),
       "corvanthelis_interfaces.action._arm_task_decision.ArmTaskDecision_SendGoal_Request"},
      {naming::py_convert_from(of("MoveToGrab_Request")),
       "corvanthelis_interfaces__srv__move_to_grab__request__convert_from_py"},
      {naming::py_convert_to(trash), "corvanthelis_interfaces__msg__trash__convert_to_py"},
      {naming::py_service_infix(move, move.services[0]), "srv__move_to_grab"},
      {naming::py_service_infix(task, task.services[0]), "action__arm_task__send_goal"},
      {naming::py_service_infix(task, task.services[1]), "action__arm_task__get_result"},
      {naming::py_interface_infix(task), "action__arm_task"},
      {naming::py_conversion_source(task), "rosidl_generator_py/corvanthelis_interfaces/action/_arm_task_s.c"},
      {naming::py_extension_modules("corvanthelis_interfaces").at(1),
       "corvanthelis_interfaces_s__rosidl_typesupport_introspection_c"},
  };
  for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

TEST_F(Naming, PythonConversionAndExtensionModules) {
  const Interface& move = interface("MoveToGrab_Request");
  const Interface& task = interface("ArmTask_Goal");
  const Structure& trash = of("Trash");
  Type int32s;
  int32s.primitive = Primitive::Int32;
  int32s.container = Container::UnboundedSequence;
  Type float64s = int32s;
  float64s.primitive = Primitive::Float64;
  Type trashes;
  trashes.element = ElementKind::Nested;
  trashes.nested = &trash;
  trashes.container = Container::UnboundedSequence;
  const std::vector<std::pair<std::string, std::string>> rows = {
      {naming::py_conversion_header(move), "corvanthelis_interfaces/srv/_move_to_grab_s.h"},
      {naming::py_sequence_label(int32s), "int32__Sequence"},
      {naming::py_sequence_label(float64s), "double__Sequence"},
      {naming::py_sequence_label(trashes), "corvanthelis_interfaces__msg__Trash__Sequence"},
      {naming::py_module_definition_name("corvanthelis_interfaces"),
       "_corvanthelis_interfaces_support"},
      {naming::py_module_documentation("corvanthelis_interfaces"), "_corvanthelis_interfaces_doc"},
      {naming::py_message_capsule(naming::PyEntryPoint::CreateRosMessage, of("ArmTask_SendGoal_Request")),
       "create_ros_message_msg__action__arm_task__send_goal__request"},
      {naming::py_message_capsule(naming::PyEntryPoint::TypeSupport, trash), "type_support_msg__msg__trash"},
      {naming::py_service_capsule(move, move.services[0]), "type_support_srv__srv__move_to_grab"},
      {naming::py_service_capsule(task, task.services[1]),
       "type_support_srv__action__arm_task__get_result"},
      {naming::py_action_capsule(task), "type_support_action__action__arm_task"},
      {naming::py_register_message(of("MoveToGrab_Request")),
       "_register_msg_type__srv__move_to_grab__request"},
      {naming::py_register_service(task, task.services[0]),
       "_register_srv_type__action__arm_task__send_goal"},
      {naming::py_register_action(interface("ArmTaskDecision_Goal")),
       "_register_action_type__action__arm_task_decision"},
  };
  for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

TEST_F(Naming, PythonClassFiles) {
  const Interface& move = interface("MoveToGrab_Request");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {naming::py_module_file(interface("ArmTaskDecision_Goal")),
       "python/corvanthelis_interfaces/action/_arm_task_decision.py"},
      {naming::py_module_file(move), "python/corvanthelis_interfaces/srv/_move_to_grab.py"},
      {naming::py_kind_init("corvanthelis_interfaces", InterfaceKind::Message),
       "python/corvanthelis_interfaces/msg/__init__.py"},
      {naming::py_package_init("corvanthelis_interfaces"),
       "python/corvanthelis_interfaces/__init__.py"},
      {naming::py_runtime_module(), "corvanthelis_idlc_runtime"},
      {naming::py_entry_point_attribute(naming::PyEntryPoint::ConvertFromPy), "_CONVERT_FROM_PY"},
      {naming::py_metaclass("ArmTask_Goal"), "Metaclass_ArmTask_Goal"},
      {naming::py_slot(of("Trash").fields[0]), "_id"},
      {naming::py_import_alias(of("Trash")), "corvanthelis_interfaces_msg_Trash"},
      {naming::py_action_cancel_service().module, "action_msgs.srv._cancel_goal"},
      {naming::py_action_cancel_service().alias, "action_msgs_srv_CancelGoal"},
      {naming::py_action_status_message().module, "action_msgs.msg._goal_status_array"},
      {naming::py_action_status_message().name, "GoalStatusArray"},
  };
  for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

TEST(PythonFieldType, NamesElementAndContainer) {
  Structure pose;
  pose.package = "geometry_msgs";
  pose.name = "Pose";
  const auto type = [](ElementKind element, Primitive primitive, Container container,
                       std::size_t size) {
    Type result;
    result.element = element;
    result.primitive = primitive;
    result.container = container;
    result.size = size;
    return result;
  };
  const auto primitive = [&](Primitive kind, Container container, std::size_t size = 0) {
    return type(ElementKind::Primitive, kind, container, size);
  };
  Type names = type(ElementKind::String, Primitive::Uint8, Container::BoundedSequence, 3);
  names.string_bound = 10;
  Type poses = type(ElementKind::Nested, Primitive::Uint8, Container::UnboundedSequence, 0);
  poses.nested = &pose;
  const std::vector<std::pair<Type, std::string>> rows = {
      {primitive(Primitive::Int32, Container::UnboundedSequence), "sequence<int32>"},
      {primitive(Primitive::Uint8, Container::FixedArray, 16), "uint8[16]"},
      {primitive(Primitive::Bool, Container::Single), "boolean"},
      {primitive(Primitive::Byte, Container::BoundedSequence, 5), "sequence<octet, 5>"},
      {primitive(Primitive::Float64, Container::FixedArray, 2), "double[2]"},
      {type(ElementKind::String, Primitive::Uint8, Container::Single, 0), "string"},
      {names, "sequence<string<=10, 3>"},
      {poses, "sequence<geometry_msgs/Pose>"},
  };
  for (const auto& [field_type, expected] : rows) {
    EXPECT_EQ(naming::py_field_type(field_type), expected);
  }
}

}  // namespace
}  // namespace idlc::test
