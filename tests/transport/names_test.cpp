// The DDS names of topics, services, actions and types, as Humble nodes on Fast DDS use them.

#include "transport/names.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

namespace names = transport::names;

TEST(Names, TopicsServicesAndActions) {
  const struct {
    std::string computed;
    std::string expected;
  } cases[] = {
      {names::topic("/trashes"), "rt/trashes"},
      {names::topic("trashes"), "rt/trashes"},
      {names::topic("/arm/detected_wastes"), "rt/arm/detected_wastes"},
      {names::request_topic("/detect_trash"), "rq/detect_trashRequest"},
      {names::reply_topic("/detect_trash"), "rr/detect_trashReply"},
      {names::request_topic(names::action_part("/arm_task", "send_goal")),
       "rq/arm_task/_action/send_goalRequest"},
      {names::reply_topic(names::action_part("arm_task", "get_result")),
       "rr/arm_task/_action/get_resultReply"},
      {names::topic(names::action_part("/arm_task", "feedback")), "rt/arm_task/_action/feedback"},
      {names::topic(names::action_part("/arm_task", "status")), "rt/arm_task/_action/status"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.computed, c.expected);
}

TEST(Names, Types) {
  EXPECT_EQ(names::dds_type("corvanthelis_interfaces::msg", "Trashes"),
            "corvanthelis_interfaces::msg::dds_::Trashes_");
  EXPECT_EQ(names::dds_type("corvanthelis_interfaces__srv", "DetectTrash_Request"),
            "corvanthelis_interfaces::srv::dds_::DetectTrash_Request_");
  EXPECT_EQ(names::dds_type("corvanthelis_interfaces::action", "ArmTask_FeedbackMessage"),
            "corvanthelis_interfaces::action::dds_::ArmTask_FeedbackMessage_");
}

TEST(Names, RefusesNamesNoNodeCouldUse) {
  for (const char* bad :
       {"", "/", "//trashes", "trashes/", "/a//b", "tra shes", "trash-es", "trash.es"}) {
    EXPECT_THROW(names::topic(bad), std::invalid_argument) << "'" << bad << "'";
  }
}

}  // namespace
