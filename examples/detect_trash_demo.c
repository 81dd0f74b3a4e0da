// A client's view of the package: build a detection response the way a perception node would,
// hand a deep copy to someone else, and check that both say the same.

#include <stdio.h>
#include <stdlib.h>

#include "corvanthelis_interfaces/srv/detect_trash.h"
#include "detect_trash_sample.h"

static void describe_trash(const corvanthelis_interfaces__msg__Trash * trash, size_t index)
{
  printf(
    "  trash %zu: type %u at location %u, grab at (%.2f, %.2f, %.2f), box %.2f x %.2f x %.2f\n",
    index, (unsigned)trash->type, (unsigned)trash->location, trash->grab_pose.position.x,
    trash->grab_pose.position.y, trash->grab_pose.position.z, trash->obb_size.x,
    trash->obb_size.y, trash->obb_size.z);
}

int main(void)
{
  corvanthelis_interfaces__srv__DetectTrash_Response * response =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  corvanthelis_interfaces__srv__DetectTrash_Response * copy =
    corvanthelis_interfaces__srv__DetectTrash_Response__create();
  if (!response || !copy) {
    fprintf(stderr, "out of memory\n");
    return EXIT_FAILURE;
  }

  if (!fill_detect_trash_sample(response)) {
    fprintf(stderr, "out of memory\n");
    return EXIT_FAILURE;
  }

  if (!corvanthelis_interfaces__srv__DetectTrash_Response__copy(response, copy)) {
    fprintf(stderr, "copy failed\n");
    return EXIT_FAILURE;
  }
  const bool equal = corvanthelis_interfaces__srv__DetectTrash_Response__are_equal(response, copy);

  printf("DetectTrash response: status %d, %zu trashes, errmsg \"%s\"\n", (int)copy->status,
    copy->trashes_detected.size, copy->errmsg.data);
  for (size_t i = 0; i < copy->trashes_detected.size; ++i) {
    describe_trash(&copy->trashes_detected.data[i], i);
  }
  printf("deep copy equals the original: %s\n", equal ? "yes" : "no");

  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(copy);
  corvanthelis_interfaces__srv__DetectTrash_Response__destroy(response);
  return equal ? EXIT_SUCCESS : EXIT_FAILURE;
}
