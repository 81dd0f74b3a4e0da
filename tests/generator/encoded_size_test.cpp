// The least encoded size bounds how many elements a reader believes a packet holds: too high
// and valid packets are refused, too low (or zero) and a short packet can claim any count.

#include "definition_tree.hpp"
#include "model/encoded_size.hpp"

namespace idlc::test {
namespace {

class EncodedSize : public DefinitionTree {
 protected:
  // A package with a nested type of its own (Pair) and one of another package (geo/Pose).
  void SetUp() override {
    dependency("geo", "msg/Point.msg", "float64 x\nfloat64 y\nfloat64 z\n");
    dependency("geo", "msg/Quaternion.msg", "float64 x 0\nfloat64 y 0\nfloat64 z 0\nfloat64 w 1\n");
    dependency("geo", "msg/Pose.msg", "geo/Point position\ngeo/Quaternion orientation\n");
  }
};

TEST_F(EncodedSize, OfEachFieldShapeAndOfOneOfItsElements) {
  struct Row {
    std::string type;
    std::size_t field;
    std::size_t element;
  };
  const std::vector<Row> rows = {
      {"bool", 1, 1},           {"byte", 1, 1},           {"char", 1, 1},
      {"int8", 1, 1},           {"uint8", 1, 1},          {"int16", 2, 2},
      {"uint16", 2, 2},         {"int32", 4, 4},          {"uint32", 4, 4},
      {"float32", 4, 4},        {"int64", 8, 8},          {"uint64", 8, 8},
      {"float64", 8, 8},
      // an empty string may arrive as its length prefix alone
      {"string", 4, 4},         {"string<=8", 4, 4},
      {"uint8[16]", 16, 1},     {"float64[3]", 24, 8},    {"string[3]", 12, 4},
      {"int32[]", 4, 4},        {"float64[<=5]", 4, 8},   {"bool[]", 4, 1},
      {"string[]", 4, 4},       {"string<=3[<=2]", 4, 4},
      {"geo/Point", 24, 24},    {"geo/Pose", 56, 56},     {"Pair", 9, 9},
      {"geo/Point[2]", 48, 24}, {"Pair[3]", 27, 9},
      {"geo/Pose[]", 4, 56},    {"Pair[<=4]", 4, 9},      {"Empty[]", 4, 1},
  };
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) text += rows[i].type + " f" + std::to_string(i) + "\n";
  load({{"msg/Pair.msg", "int8 a\nfloat64 b\n"}, {"msg/Empty.msg", ""}, {"msg/All.msg", text}});

  const Structure& all = structure("All");
  ASSERT_EQ(all.fields.size(), rows.size());
  std::size_t sum = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].type);
    EXPECT_EQ(minimum_encoded_size(all.fields[i].type), rows[i].field);
    EXPECT_EQ(minimum_element_encoded_size(all.fields[i].type), rows[i].element);
    sum += rows[i].field;
  }
  EXPECT_EQ(minimum_encoded_size(all), sum);
}

TEST_F(EncodedSize, OfStructuresSumsTheirFieldsWithoutPadding) {
  load({{"msg/Pick.msg", "uint8 kind\nuint8 location\nuint8 axis\ngeo/Pose grab\ngeo/Pose box\n"
                         "geo/Point extent\n"},
        {"msg/Report.msg", "int32 status\nPick[] picks\nstring errmsg\n"},
        {"srv/Ping.srv", "---\nbool ok\n"}});
  // padding before the first float64 would add 5: a lower bound leaves it out
  EXPECT_EQ(minimum_encoded_size(structure("Pick")), 3u + 56u + 56u + 24u);
  EXPECT_EQ(minimum_encoded_size(structure("Report")), 4u + 4u + 4u);
  // an empty request still carries its placeholder octet
  EXPECT_EQ(minimum_encoded_size(structure("Ping_Request")), 1u);
  EXPECT_EQ(minimum_encoded_size(structure("Ping_Response")), 1u);
}

}  // namespace
}  // namespace idlc::test
