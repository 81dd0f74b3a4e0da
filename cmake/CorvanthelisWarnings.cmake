# Warnings stop the project's own trees (the scripts turn CORVANTHELIS_WARNINGS_AS_ERRORS on),
# not someone else's compiler: a workspace on the robot builds with a GCC and a middleware we
# never built with. CORVANTHELIS_WERROR is what a target with warning flags of its own adds.

include_guard(GLOBAL)

option(CORVANTHELIS_WARNINGS_AS_ERRORS "Treat warnings as errors (the project's own trees)" OFF)
set(CORVANTHELIS_WERROR "")
if(CORVANTHELIS_WARNINGS_AS_ERRORS)
  set(CORVANTHELIS_WERROR -Werror)
endif()
