#ifndef CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_H_
#define CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_H_

#include <stdbool.h>

#include "corvanthelis_interfaces/srv/detect_trash.h"

#ifdef __cplusplus
extern "C" {
#endif

// Fills an initialised response the way a perception node would after seeing a bottle and a
// can on the table. Returns false when memory runs out.
bool fill_detect_trash_sample(corvanthelis_interfaces__srv__DetectTrash_Response * response);

#ifdef __cplusplus
}
#endif

#endif  // CORVANTHELIS_EXAMPLES__DETECT_TRASH_SAMPLE_H_
