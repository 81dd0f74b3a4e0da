#ifndef ROSIDL_TYPESUPPORT_FASTRTPS_C__IDENTIFIER_H_
#define ROSIDL_TYPESUPPORT_FASTRTPS_C__IDENTIFIER_H_

#ifdef __cplusplus
extern "C" {
#endif

// Records of the fast-CDR C type support carry this pointer value as their identifier; lookups
// compare by content, so every record is stamped from this one variable.
__attribute__((visibility("default"))) extern const char * rosidl_typesupport_fastrtps_c__identifier;

#ifdef __cplusplus
}
#endif

#endif  // ROSIDL_TYPESUPPORT_FASTRTPS_C__IDENTIFIER_H_
