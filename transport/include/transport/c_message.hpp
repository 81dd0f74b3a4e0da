#pragma once

// The ops of a C structure, from its __create and __destroy functions.

#include "transport/type_support.hpp"

namespace transport {

template <typename T, T* (*Create)(), void (*Destroy)(T*)>
MessageOps c_message_ops() {
  return {[] { return static_cast<void*>(Create()); },
          [](void* message) { Destroy(static_cast<T*>(message)); }};
}

}  // namespace transport
