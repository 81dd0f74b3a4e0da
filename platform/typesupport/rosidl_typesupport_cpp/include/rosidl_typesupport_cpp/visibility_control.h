#ifndef ROSIDL_TYPESUPPORT_CPP__VISIBILITY_CONTROL_H_
#define ROSIDL_TYPESUPPORT_CPP__VISIBILITY_CONTROL_H_

// Libraries are built with hidden symbols; what this runtime exports is marked with this.
#define ROSIDL_TYPESUPPORT_CPP_PUBLIC __attribute__((visibility("default")))

#endif  // ROSIDL_TYPESUPPORT_CPP__VISIBILITY_CONTROL_H_
