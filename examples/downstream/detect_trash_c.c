// A C client of the installed package, which includes its umbrella header alone. It fills the
// examples' DetectTrash response, copies and compares it with the package's C functions, and
// prints it as a generic client (a logger, a recorder) would:
// from the member tables of the C introspection support, reached through the type's dispatch
// record, which loads the provider library by name when it is first asked for it.

#include <inttypes.h>
#include <stdio.h>
#include <string.h>

#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "detect_trash_sample.h"
#include "rosidl_runtime_c/message_type_support_struct.h"
#include "rosidl_typesupport_fastrtps_c/identifier.h"
#include "rosidl_typesupport_introspection_c/field_types.h"
#include "rosidl_typesupport_introspection_c/identifier.h"
#include "rosidl_typesupport_introspection_c/message_introspection.h"

typedef rosidl_typesupport_introspection_c__MessageMembers MessageMembers;
typedef rosidl_typesupport_introspection_c__MessageMember MessageMember;

static const MessageMembers * members_of(const rosidl_message_type_support_t * introspection)
{
  return (const MessageMembers *)introspection->data;
}

static void print_message(const MessageMembers * members, const void * message, int depth);

static void print_value(const MessageMember * member, const void * value, int depth)
{
  switch (member->type_id_) {
    case rosidl_typesupport_introspection_c__ROS_TYPE_DOUBLE:
      printf("%g\n", *(const double *)value);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_BOOLEAN:
      printf("%s\n", *(const bool *)value ? "true" : "false");
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT8:
      printf("%u\n", (unsigned)*(const uint8_t *)value);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT8:
      printf("%d\n", (int)*(const int8_t *)value);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_UINT32:
      printf("%" PRIu32 "\n", *(const uint32_t *)value);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_INT32:
      printf("%" PRId32 "\n", *(const int32_t *)value);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_STRING:
      printf("\"%s\"\n", ((const rosidl_runtime_c__String *)value)->data);
      break;
    case rosidl_typesupport_introspection_c__ROS_TYPE_MESSAGE:
      printf("\n");
      print_message(members_of(member->members_), value, depth + 1);
      break;
    default:
      printf("(type %u)\n", (unsigned)member->type_id_);
      break;
  }
}

static void print_message(const MessageMembers * members, const void * message, int depth)
{
  for (uint32_t i = 0; i < members->member_count_; ++i) {
    const MessageMember * member = &members->members_[i];
    const char * field = (const char *)message + member->offset_;
    if (!member->is_array_) {
      printf("%*s%s: ", 2 * depth, "", member->name_);
      print_value(member, field, depth);
      continue;
    }
    size_t count = member->size_function(field);
    printf("%*s%s: %zu element%s\n", 2 * depth, "", member->name_, count, count == 1 ? "" : "s");
    for (size_t index = 0; index < count; ++index) {
      printf("%*s- ", 2 * depth + 2, "");
      print_value(member, member->get_const_function(field, index), depth + 1);
    }
  }
}

static const MessageMember * member_named(const MessageMembers * members, const char * name)
{
  for (uint32_t i = 0; i < members->member_count_; ++i) {
    if (strcmp(members->members_[i].name_, name) == 0) {
      return &members->members_[i];
    }
  }
  return NULL;
}

// What a generic client reads through the table must be what the structure holds.
static bool table_agrees(const MessageMembers * members,
  const corvanthelis_interfaces__srv__DetectTrash_Response * response)
{
  const MessageMember * status = member_named(members, "status");
  const MessageMember * trashes = member_named(members, "trashes_detected");
  const MessageMember * errmsg = member_named(members, "errmsg");
  if (!status || !trashes || !errmsg) {
    return false;
  }
  const char * base = (const char *)response;
  const corvanthelis_interfaces__msg__Trash * second = trashes->get_const_function(base + trashes->offset_, 1);
  return members->size_of_ == sizeof *response &&
         *(const int32_t *)(base + status->offset_) == response->status &&
         trashes->size_function(base + trashes->offset_) == response->trashes_detected.size &&
         second == &response->trashes_detected.data[1] &&
         strcmp(((const rosidl_runtime_c__String *)(base + errmsg->offset_))->data, response->errmsg.data) == 0;
}

int main(void)
{
  corvanthelis_interfaces__srv__DetectTrash_Response * response =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  corvanthelis_interfaces__srv__DetectTrash_Response * copy =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  if (!response || !copy || !fill_detect_trash_sample(response)) {
    fprintf(stderr, "out of memory\n");
    return 1;
  }
  bool ok = corvanthelis_interfaces__srv__DetectTrash_Response__copy(response, copy) &&
            corvanthelis_interfaces__srv__DetectTrash_Response__are_equal(response, copy);
  printf("copy: %s\n", ok ? "equal" : "DIFFERENT");

  const rosidl_message_type_support_t * dispatch =
    ROSIDL_GET_MSG_TYPE_SUPPORT(corvanthelis_interfaces, srv, DetectTrash_Response);
  const rosidl_message_type_support_t * introspection =
    get_message_typesupport_handle(dispatch, rosidl_typesupport_introspection_c__identifier);
  const rosidl_message_type_support_t * serialization =
    get_message_typesupport_handle(dispatch, rosidl_typesupport_fastrtps_c__identifier);
  printf("providers: introspection %s, serialization %s\n", introspection ? "loaded" : "MISSING",
    serialization ? "loaded" : "MISSING");
  if (!introspection || !serialization) {
    return 1;
  }

  const MessageMembers * members = members_of(introspection);
  printf("%s::%s through its member table:\n", members->message_namespace_, members->message_name_);
  print_message(members, response, 1);
  const bool agrees = table_agrees(members, response);
  printf("table: %s\n", agrees ? "agrees with the structure" : "DISAGREES with the structure");

  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(copy);
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(response);
  return ok && agrees ? 0 : 1;
}
