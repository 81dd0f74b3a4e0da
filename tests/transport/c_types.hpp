#pragma once

// The C type support of the types the transport tests send, reached through the package's
// dispatch records as a middleware layer reaches them.

#include <random>

#include "corvanthelis_interfaces/msg/trash.h"
#include "corvanthelis_interfaces/msg/trashes.h"
#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "transport/type_support.hpp"

namespace transport_test {

transport::MessageSupport trashes_c();
transport::ServiceSupport detect_trash_c();

// Random contents everywhere, sequences and strings of random length; no NaN, so that
// equality means what it says.
void fill_random(corvanthelis_interfaces__msg__Trashes& message, std::mt19937_64& random);

// What the test servers answer, so that a client can check the answer it got.
void answer_detect_trash(const corvanthelis_interfaces__srv__DetectTrash_Request& request,
                         corvanthelis_interfaces__srv__DetectTrash_Response& response);

// The same as a new response, for a server's handler.
transport::MessagePtr answer_detect_trash(const transport::MessagePtr& request);

}  // namespace transport_test
