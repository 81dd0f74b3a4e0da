#pragma once

namespace transport::detail {

// From the first call on, the middleware's errors, and those of its warnings that mean lost
// messages, go to the transport's log instead of the middleware's own console output.
void watch_middleware_log();

}  // namespace transport::detail
