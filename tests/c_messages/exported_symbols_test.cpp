// The library's dynamic symbol table is its whole interface: twelve functions per structure
// and nothing else.

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "support/exported_symbols.hpp"

namespace {

// The 44 structures in package order, as kind__Name after the package prefix.
const char kStructures[] = R"(
srv__MoveToGrab_Request srv__MoveToGrab_Response msg__DetectedWastes msg__GrabTrashCloud
msg__Trash msg__Trashes msg__TrashInfo msg__TrashInfos srv__GrabSortedTrash_Request
srv__GrabSortedTrash_Response srv__SamProcess_Request srv__SamProcess_Response
srv__TrashCloud_Request srv__TrashCloud_Response srv__ArmRelease_Request
srv__ArmRelease_Response srv__ArmGrab_Request srv__ArmGrab_Response srv__ArmMoveJoints_Request
srv__ArmMoveJoints_Response srv__DetectTrash_Request srv__DetectTrash_Response
srv__ElevatorButtonPose_Request srv__ElevatorButtonPose_Response srv__ArmPushButton_Request
srv__ArmPushButton_Response srv__GraspState_Request srv__GraspState_Response
action__ArmTask_Goal action__ArmTask_Result action__ArmTask_Feedback
action__ArmTask_SendGoal_Request action__ArmTask_SendGoal_Response
action__ArmTask_GetResult_Request action__ArmTask_GetResult_Response
action__ArmTask_FeedbackMessage action__ArmTaskDecision_Goal action__ArmTaskDecision_Result
action__ArmTaskDecision_Feedback action__ArmTaskDecision_SendGoal_Request
action__ArmTaskDecision_SendGoal_Response action__ArmTaskDecision_GetResult_Request
action__ArmTaskDecision_GetResult_Response action__ArmTaskDecision_FeedbackMessage)";

const char kSuffixes[] = R"(
__init __fini __create __destroy __are_equal __copy
__Sequence__init __Sequence__fini __Sequence__create __Sequence__destroy
__Sequence__are_equal __Sequence__copy)";

TEST(ExportedSymbols, ExactlyTheTwelveFunctionsOfEachStructure) {
  std::set<std::string> expected;
  std::istringstream structures(kStructures);
  for (std::string structure; structures >> structure;) {
    std::istringstream suffixes(kSuffixes);
    for (std::string suffix; suffixes >> suffix;) {
      expected.insert("corvanthelis_interfaces__" + structure + suffix);
    }
  }
  ASSERT_EQ(expected.size(), 528u);

  const std::set<std::string> actual = exported_symbols::of(C_MESSAGES_LIBRARY);
  for (const auto& name : expected) EXPECT_EQ(actual.count(name), 1u) << "missing: " << name;
  for (const auto& name : actual) EXPECT_EQ(expected.count(name), 1u) << "unexpected: " << name;
}

}  // namespace
