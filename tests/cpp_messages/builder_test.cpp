// The builders as C++ clients use them: build<T>() names every field of T in order, one step
// each, and the last step yields the message.

#include <gtest/gtest.h>

#include <type_traits>

#include "catalogue/cpp_headers.hpp"
#include "corvanthelis_every_kind/msg/empty.hpp"

namespace {

using corvanthelis_interfaces::msg::Trash;
using corvanthelis_interfaces::msg::Trashes;

geometry_msgs::msg::Pose pose(double x, double w) {
  geometry_msgs::msg::Pose pose;
  pose.position.set__x(x).set__y(-x).set__z(2 * x);
  pose.orientation.set__z(0.5).set__w(w);
  return pose;
}

Trash trash(uint8_t type) {
  Trash trash;
  trash.set__type(type).set__location(2).set__mainaxis_type(1);
  trash.set__grab_pose(pose(0.4, 0.25)).set__obb_pose(pose(0.1, 0.5));
  trash.obb_size.set__x(0.07).set__y(0.06).set__z(0.25);
  return trash;
}

TEST(Builder, NamesEveryFieldInOrderAndYieldsTheMessage) {
  const Trash expected = trash(3);
  const Trash built = corvanthelis_interfaces::build<Trash>()
                          .type(3)
                          .location(2)
                          .mainaxis_type(1)
                          .grab_pose(pose(0.4, 0.25))
                          .obb_pose(pose(0.1, 0.5))
                          .obb_size(expected.obb_size);
  EXPECT_EQ(built, expected);
}

TEST(Builder, AStepKeptAsideCanBeTakenAgain) {
  std_msgs::msg::Header header;
  header.stamp.sec = 1700000000;
  header.frame_id = "camera";
  const auto with_header = corvanthelis_interfaces::build<Trashes>().header(header);
  const Trashes one = with_header.trashes({trash(1)});
  const Trashes two = with_header.trashes({trash(1), trash(2)});
  EXPECT_EQ(one.header, header);
  EXPECT_EQ(two.header, header);
  EXPECT_EQ(one.trashes, std::vector<Trash>{trash(1)});
  EXPECT_EQ(two.trashes, (std::vector<Trash>{trash(1), trash(2)}));
}

TEST(Builder, AStructureWithoutFieldsIsBuiltWhole) {
  using corvanthelis_every_kind::msg::Empty;
  static_assert(std::is_same_v<decltype(corvanthelis_every_kind::build<Empty>()), Empty>);
  EXPECT_EQ(corvanthelis_every_kind::build<Empty>(), Empty());
}

}  // namespace
