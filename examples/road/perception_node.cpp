// The demo's C++ "perception" node: serves DetectTrash, then publishes what it sees as Trashes
// and DetectedWastes, and carries out an ArmTask goal through the action's services and
// feedback topic. Ends by itself: 0 once the arm has everything, 1 when something is late.
//
//   perception_node <domain> <partition> <transcript folder>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "corvanthelis_interfaces/action/arm_task.hpp"
#include "corvanthelis_interfaces/msg/detected_wastes.hpp"
#include "corvanthelis_interfaces/msg/trashes.hpp"
#include "corvanthelis_interfaces/srv/detect_trash.hpp"
#include "transcript.hpp"
#include "transport/cpp.hpp"
#include "transport/names.hpp"
#include "wire_yaml.hpp"

namespace {

using namespace std::chrono_literals;
using corvanthelis_interfaces::action::ArmTask;
using corvanthelis_interfaces::msg::DetectedWastes;
using corvanthelis_interfaces::msg::Trash;
using corvanthelis_interfaces::msg::Trashes;
using corvanthelis_interfaces::srv::DetectTrash;
using SendGoal = ArmTask::SendGoalService;
using GetResult = ArmTask::GetResultService;

constexpr auto kPatience = 20s;
constexpr int kFrames = 2;
constexpr int kStages = 4;

void say(const std::string& line) {
  std::printf("[perception] %s\n", line.c_str());
  std::fflush(stdout);
}

// What the camera "sees": a few pieces of trash, different in every frame.
std::vector<Trash> scene(int frame) {
  std::vector<Trash> trashes(static_cast<size_t>(2 + frame));
  for (size_t i = 0; i < trashes.size(); ++i) {
    Trash& trash = trashes[i];
    trash.type = static_cast<uint8_t>(1 + i % 3);
    trash.location = static_cast<uint8_t>(frame);
    trash.mainaxis_type = static_cast<uint8_t>(i % 2);
    trash.grab_pose.position.x = 0.4 + 0.05 * static_cast<double>(i);
    trash.grab_pose.position.y = -0.1 * static_cast<double>(frame);
    trash.grab_pose.position.z = 0.02;
    trash.obb_pose = trash.grab_pose;
    trash.obb_pose.orientation.z = 0.7071067811865476;
    trash.obb_pose.orientation.w = 0.7071067811865476;
    trash.obb_size.x = 0.12;
    trash.obb_size.y = 0.06;
    trash.obb_size.z = 0.03 + 0.01 * static_cast<double>(i);
  }
  return trashes;
}

std_msgs::msg::Header header(int frame) {
  std_msgs::msg::Header header;
  header.stamp.sec = 1700000000 + frame;
  header.stamp.nanosec = 250000000u * static_cast<uint32_t>(frame);
  header.frame_id = "camera_color_optical_frame";
  return header;
}

DetectedWastes wastes(int frame) {
  DetectedWastes message;
  message.header = header(frame);
  for (const Trash& trash : scene(frame)) {
    message.ids.push_back(static_cast<int32_t>(message.ids.size()) + 10 * frame);
    message.class_names.push_back(trash.type);
    message.goal_poses.push_back(trash.grab_pose);
    message.detected_dis.push_back(0.5 + 0.125 * static_cast<double>(message.ids.size()));
  }
  return message;
}

// The goal the arm sent, carried out by the main thread; GetResult answers when it is done.
struct Goal {
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<SendGoal::Request> accepted;
  std::optional<GetResult::Response> result;
  std::vector<transport::RequestId> waiting;  // GetResult requests that came early
  int replied = 0;
};

bool wait_until(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

int run(transport::Node& node, road::Transcript& transcript) {
  transport::cpp::Publisher<Trashes> trashes(node, "/trashes");
  transport::cpp::Publisher<DetectedWastes> detected(node, "/detected_wastes");
  transport::cpp::Publisher<ArmTask::FeedbackMessage> feedback(
      node, transport::names::action_part("/arm_task", "feedback"));

  std::atomic<bool> asked{false};
  transport::cpp::ServiceServer<DetectTrash> detect(
      node, "/detect_trash", [&](const DetectTrash::Request& request) {
        transcript.received("detect_trash_request", road::wire_yaml(request));
        DetectTrash::Response response;
        response.status = 0;
        response.trashes_detected = scene(0);
        response.errmsg = "camera " + std::to_string(request.cam_choice) + ": " +
                          std::to_string(response.trashes_detected.size()) + " pieces";
        transcript.sent("detect_trash_reply", road::wire_yaml(response));
        say("DetectTrash(cmd " + std::to_string(request.cmd) + ") -> " + response.errmsg);
        asked = true;
        return response;
      });

  Goal goal;
  transport::cpp::ServiceServer<SendGoal> send_goal(
      node, transport::names::action_part("/arm_task", "send_goal"),
      [&](const SendGoal::Request& request) {
        transcript.received("send_goal_request", road::wire_yaml(request));
        SendGoal::Response response;
        response.accepted = true;
        response.stamp.sec = 1700000100;
        transcript.sent("send_goal_reply", road::wire_yaml(response));
        say("ArmTask goal cmd " + std::to_string(request.goal.cmd) + " accepted");
        std::lock_guard<std::mutex> lock(goal.mutex);
        goal.accepted = request;
        goal.changed.notify_all();
        return response;
      });
  // Under goal.mutex, once the result is there.
  const auto answer = [&](transport::ServiceServer& server, const transport::RequestId& id) {
    server.send_reply(id, &*goal.result);
    transcript.sent("get_result_reply", road::wire_yaml(*goal.result));
    ++goal.replied;
  };
  transport::cpp::ServiceServer<GetResult> get_result(
      node, transport::names::action_part("/arm_task", "get_result"),
      [&](std::unique_ptr<GetResult::Request> request, const transport::RequestId& id,
          transport::ServiceServer& server) {
        transcript.received("get_result_request", road::wire_yaml(*request));
        std::lock_guard<std::mutex> lock(goal.mutex);
        if (goal.result) {
          answer(server, id);
        } else {
          goal.waiting.push_back(id);
        }
      });

  if (!trashes.raw().wait_for_subscribers(1, kPatience) ||
      !detected.raw().wait_for_subscribers(1, kPatience) ||
      !feedback.raw().wait_for_subscribers(1, kPatience)) {
    say("the arm did not subscribe in time");
    return 1;
  }
  if (!wait_until([&] { return asked.load(); })) {
    say("the arm did not ask for a detection in time");
    return 1;
  }
  for (int frame = 0; frame < kFrames; ++frame) {
    Trashes seen;
    seen.header = header(frame);
    seen.trashes = scene(frame);
    trashes.publish(seen);
    transcript.sent("trashes", road::wire_yaml(seen));
    const DetectedWastes message = wastes(frame);
    detected.publish(message);
    transcript.sent("detected_wastes", road::wire_yaml(message));
    say("published frame " + std::to_string(frame) + ": " + std::to_string(seen.trashes.size()) +
        " pieces");
  }

  std::unique_lock<std::mutex> lock(goal.mutex);
  if (!goal.changed.wait_for(lock, kPatience, [&] { return goal.accepted.has_value(); })) {
    say("no goal came in time");
    return 1;
  }
  const SendGoal::Request accepted = *goal.accepted;
  lock.unlock();
  for (int stage = 1; stage <= kStages; ++stage) {
    std::this_thread::sleep_for(50ms);  // moving the arm
    ArmTask::FeedbackMessage message;
    message.goal_id = accepted.goal_id;
    message.feedback.run_stage = stage;
    feedback.publish(message);
    transcript.sent("feedback", road::wire_yaml(message));
    say("feedback: stage " + std::to_string(stage));
  }
  GetResult::Response result;
  result.status = 4;  // action_msgs/GoalStatus STATUS_SUCCEEDED
  result.result.status = accepted.goal.cmd;
  result.result.errmsg = "sorted";
  result.result.trash_blacklist = {scene(1).back()};
  lock.lock();
  goal.result = result;
  for (const transport::RequestId& id : goal.waiting) answer(get_result.raw(), id);
  lock.unlock();
  say("goal done");

  if (!wait_until([&] {
        std::lock_guard<std::mutex> guard(goal.mutex);
        return goal.replied > 0;
      })) {
    say("nobody asked for the result");
    return 1;
  }
  const bool delivered = trashes.raw().wait_for_acknowledgments(kPatience) &&
                         detected.raw().wait_for_acknowledgments(kPatience) &&
                         feedback.raw().wait_for_acknowledgments(kPatience) &&
                         get_result.raw().wait_for_acknowledgments(kPatience);
  say(delivered ? "the arm has everything" : "the arm did not acknowledge everything in time");
  return delivered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: perception_node <domain> <partition> <transcript folder>\n", stderr);
    return 2;
  }
  road::Transcript transcript(argv[3], "perception");
  transport::Node node("perception", {static_cast<uint32_t>(std::stoul(argv[1])), argv[2]});
  return run(node, transcript);
}
