#include <limits>

#include "definition_tree.hpp"

namespace idlc::test {
namespace {

using ScalarValue = decltype(Scalar::value);

std::vector<std::string> names_of(const std::vector<Field>& fields) {
  std::vector<std::string> names;
  for (const Field& field : fields) names.push_back(field.name);
  return names;
}

std::vector<std::string> names_of(const std::vector<const Structure*>& structures) {
  std::vector<std::string> names;
  for (const Structure* structure : structures) names.push_back(structure->name);
  return names;
}

using Resolver = DefinitionTree;

TEST_F(Resolver, ReadsEveryPrimitiveInOrder) {
  const std::vector<std::pair<std::string, Primitive>> rows = {
      {"bool", Primitive::Bool},       {"byte", Primitive::Byte},
      {"char", Primitive::Char},       {"float32", Primitive::Float32},
      {"float64", Primitive::Float64}, {"int8", Primitive::Int8},
      {"uint8", Primitive::Uint8},     {"int16", Primitive::Int16},
      {"uint16", Primitive::Uint16},   {"int32", Primitive::Int32},
      {"uint32", Primitive::Uint32},   {"int64", Primitive::Int64},
      {"uint64", Primitive::Uint64}};
  std::string text;
  for (const auto& [type, primitive] : rows) text += type + " f_" + type + "\n";
  load({{"msg/All.msg", text}});

  const Structure& all = structure("All");
  ASSERT_EQ(all.fields.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].first);
    const Field& field = all.fields[i];
    EXPECT_EQ(field.name, "f_" + rows[i].first);
    EXPECT_EQ(field.type.kind(), FieldKind::Primitive);
    EXPECT_EQ(field.type.primitive, rows[i].second);
    EXPECT_EQ(field.where.line, static_cast<int>(i) + 1);
  }
}

TEST_F(Resolver, GivesEachFieldShapeItsKind) {
  struct Row {
    std::string type;
    FieldKind kind;
    Container container;
    std::size_t size;
    std::size_t string_bound;
  };
  const std::vector<Row> rows = {
      {"string", FieldKind::String, Container::Single, 0, 0},
      {"string<=8", FieldKind::String, Container::Single, 0, 8},
      {"string[]", FieldKind::StringSequence, Container::UnboundedSequence, 0, 0},
      {"string<=3[2]", FieldKind::StringArray, Container::FixedArray, 2, 3},
      {"string[<=4]", FieldKind::StringSequence, Container::BoundedSequence, 4, 0},
      {"int32[]", FieldKind::PrimitiveSequence, Container::UnboundedSequence, 0, 0},
      {"int32[4]", FieldKind::PrimitiveArray, Container::FixedArray, 4, 0},
      {"int32[<=5]", FieldKind::PrimitiveSequence, Container::BoundedSequence, 5, 0},
      {"Inner", FieldKind::Nested, Container::Single, 0, 0},
      {"Inner[3]", FieldKind::NestedArray, Container::FixedArray, 3, 0},
      {"Inner[]", FieldKind::NestedSequence, Container::UnboundedSequence, 0, 0},
      {"pkg/Inner[<=2]", FieldKind::NestedSequence, Container::BoundedSequence, 2, 0},
  };
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i)
    text += rows[i].type + " f" + std::to_string(i) + "\n";
  load({{"msg/Outer.msg", text}, {"msg/Inner.msg", "int8 x\n"}});

  const Structure& outer = structure("Outer");
  ASSERT_EQ(outer.fields.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].type);
    const Type& type = outer.fields[i].type;
    EXPECT_EQ(type.kind(), rows[i].kind);
    EXPECT_EQ(type.container, rows[i].container);
    EXPECT_EQ(type.size, rows[i].size);
    EXPECT_EQ(type.string_bound, rows[i].string_bound);
    EXPECT_EQ(type.nested, type.element == ElementKind::Nested ? &structure("Inner") : nullptr);
  }
}

TEST_F(Resolver, ReadsConstantsApartFromFields) {
  load({{"msg/Limits.msg",
         "int32 LOW=-5\n"
         "float64 RATIO = 0.25\n"
         "string GREETING=\"hi # there\"  # a comment\n"
         "uint64 TOP=18446744073709551615\n"
         "int64 BOTTOM=-9223372036854775808\n"}});
  const Structure& limits = structure("Limits");
  ASSERT_EQ(limits.constants.size(), 5u);
  const std::vector<std::pair<std::string, ScalarValue>> expected = {
      {"LOW", std::int64_t{-5}},
      {"RATIO", 0.25},
      {"GREETING", std::string("hi # there")},
      {"TOP", std::numeric_limits<std::uint64_t>::max()},
      {"BOTTOM", std::numeric_limits<std::int64_t>::min()}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(limits.constants[i].name, expected[i].first);
    EXPECT_EQ(limits.constants[i].value.value, expected[i].second) << expected[i].first;
  }
  EXPECT_TRUE(limits.constants[2].is_string);
  EXPECT_EQ(limits.constants[1].primitive, Primitive::Float64);
  // Constants alone leave the structure without members.
  EXPECT_TRUE(limits.has_placeholder);
}

TEST_F(Resolver, ReadsDefaultValues) {
  const std::vector<std::pair<std::string, std::vector<ScalarValue>>> rows = {
      {"uint8 a 7", {std::uint64_t{7}}},
      {"int16 b -3", {std::int64_t{-3}}},
      {"uint32 c -0", {std::uint64_t{0}}},
      {"int32 d 010", {std::int64_t{10}}},
      {"float32 e 1.5", {1.5}},
      {"float64 f -inf", {-std::numeric_limits<double>::infinity()}},
      {"bool g true", {true}},
      {"bool h False", {false}},
      {"string i \"a # not a comment\"  # but this is", {std::string("a # not a comment")}},
      {"string j 'say \"hi\"'", {std::string("say \"hi\"")}},
      {"string k \"tab\\tend\"", {std::string("tab\tend")}},
      {"int32[3] l [1, -2, 3]", {std::int64_t{1}, std::int64_t{-2}, std::int64_t{3}}},
      {"string[] m ['x,y', \"z\"]", {std::string("x,y"), std::string("z")}},
      {"float64[<=2] n [0.5]", {0.5}},
      {"uint8[] o []", {}},
  };
  std::string text;
  for (const auto& row : rows) text += row.first + "\n";
  text += "int32 p  # a comment only\n";
  load({{"msg/Defaults.msg", text}});

  const Structure& defaults = structure("Defaults");
  ASSERT_EQ(defaults.fields.size(), rows.size() + 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].first);
    const auto& value = defaults.fields[i].default_value;
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->is_array, defaults.fields[i].type.container != Container::Single);
    std::vector<ScalarValue> items;
    for (const Scalar& item : value->items) items.push_back(item.value);
    EXPECT_EQ(items, rows[i].second);
  }
  EXPECT_FALSE(defaults.fields.back().default_value.has_value());
}

TEST_F(Resolver, SplitsAServiceIntoRequestAndResponse) {
  const Package& package =
      load({{"srv/MoveToGrab.srv", "int32 mode\n---\nstring errmsg\nbool ok\n"}});
  ASSERT_EQ(package.interfaces.size(), 1u);
  const Interface& service = *package.interfaces[0];
  EXPECT_EQ(service.kind, InterfaceKind::Service);
  EXPECT_EQ(names_of(service.structures),
            (std::vector<std::string>{"MoveToGrab_Request", "MoveToGrab_Response"}));
  EXPECT_EQ(names_of(service.structures[1]->fields), (std::vector<std::string>{"errmsg", "ok"}));
  EXPECT_EQ(service.structures[1]->where.line, 2);
  for (const Structure* side : service.structures) {
    EXPECT_EQ(side->owner, &service);
    EXPECT_EQ(side->kind, InterfaceKind::Service);
  }
  ASSERT_EQ(service.services.size(), 1u);
  EXPECT_EQ(service.services[0].name, "MoveToGrab");
  EXPECT_EQ(service.services[0].request, service.structures[0]);
  EXPECT_EQ(service.services[0].response, service.structures[1]);
}

TEST_F(Resolver, BuildsTheActionProtocolAroundGoalResultAndFeedback) {
  action_dependencies();
  const Package& package =
      load({{"action/ArmTask.action", "int32 mode\n---\nbool done\n---\nfloat32 progress\n"}});
  const Interface& action = *package.interfaces.at(0);
  EXPECT_EQ(names_of(action.structures),
            (std::vector<std::string>{"ArmTask_Goal", "ArmTask_Result", "ArmTask_Feedback",
                                      "ArmTask_SendGoal_Request", "ArmTask_SendGoal_Response",
                                      "ArmTask_GetResult_Request", "ArmTask_GetResult_Response",
                                      "ArmTask_FeedbackMessage"}));
  const Structure* uuid = &structure("UUID", "unique_identifier_msgs");
  const Structure* time = &structure("Time", "builtin_interfaces");
  // Each member's name and the structure it nests; null for the two primitives checked below.
  const std::vector<std::pair<std::string, std::vector<std::pair<std::string, const Structure*>>>>
      wrappers = {
          {"ArmTask_SendGoal_Request", {{"goal_id", uuid}, {"goal", &structure("ArmTask_Goal")}}},
          {"ArmTask_SendGoal_Response", {{"accepted", nullptr}, {"stamp", time}}},
          {"ArmTask_GetResult_Request", {{"goal_id", uuid}}},
          {"ArmTask_GetResult_Response",
           {{"status", nullptr}, {"result", &structure("ArmTask_Result")}}},
          {"ArmTask_FeedbackMessage",
           {{"goal_id", uuid}, {"feedback", &structure("ArmTask_Feedback")}}}};
  for (const auto& [name, members] : wrappers) {
    SCOPED_TRACE(name);
    const Structure& wrapper = structure(name);
    ASSERT_EQ(wrapper.fields.size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      EXPECT_EQ(wrapper.fields[i].name, members[i].first);
      EXPECT_EQ(wrapper.fields[i].type.nested, members[i].second);
      EXPECT_EQ(wrapper.fields[i].type.container, Container::Single);
    }
  }
  EXPECT_EQ(structure("ArmTask_SendGoal_Response").fields[0].type.kind(), FieldKind::Primitive);
  EXPECT_EQ(structure("ArmTask_SendGoal_Response").fields[0].type.primitive, Primitive::Bool);
  EXPECT_EQ(structure("ArmTask_GetResult_Response").fields[0].type.primitive, Primitive::Int8);
  ASSERT_EQ(action.services.size(), 2u);
  EXPECT_EQ(action.services[0].name, "ArmTask_SendGoal");
  EXPECT_EQ(action.services[0].request, &structure("ArmTask_SendGoal_Request"));
  EXPECT_EQ(action.services[1].response, &structure("ArmTask_GetResult_Response"));
  EXPECT_EQ(direct_dependencies(package),
            (std::vector<std::string>{"unique_identifier_msgs", "builtin_interfaces"}));
  EXPECT_EQ(structure("UUID", "unique_identifier_msgs").fields[0].type.kind(),
            FieldKind::PrimitiveArray);
}

TEST_F(Resolver, GivesEmptySectionsThePlaceholderMember) {
  action_dependencies();
  load({{"srv/Ping.srv", "# nothing asked\n---\nbool ok\n"},
        {"action/Wait.action", "---\n---\n"},
        {"msg/Empty.msg", ""}});
  for (const char* name : {"Ping_Request", "Wait_Goal", "Wait_Result", "Wait_Feedback", "Empty"}) {
    SCOPED_TRACE(name);
    const Structure& empty = structure(name);
    ASSERT_EQ(empty.fields.size(), 1u);
    EXPECT_TRUE(empty.has_placeholder);
    EXPECT_EQ(empty.fields[0].name, "structure_needs_at_least_one_member");
    EXPECT_EQ(empty.fields[0].type.kind(), FieldKind::Primitive);
    EXPECT_EQ(empty.fields[0].type.primitive, Primitive::Uint8);
  }
  EXPECT_FALSE(structure("Ping_Response").has_placeholder);
  EXPECT_FALSE(structure("Wait_SendGoal_Request").has_placeholder);
}

TEST_F(Resolver, FindsNestedTypesInThisAndOtherPackages) {
  // A bare name inside another package's file means that package's type, not ours.
  dependency("geo", "msg/Pose.msg", "Point position\n");
  dependency("geo", "msg/Point.msg", "float64 x\n");
  load({{"msg/Grab.msg", "geo/Pose target\nPoint local\ngeo/Point[] path\n"},
        {"msg/Point.msg", "int8 id\n"}});
  const Structure& grab = structure("Grab");
  EXPECT_EQ(grab.fields[0].type.nested, &structure("Pose", "geo"));
  EXPECT_EQ(grab.fields[1].type.nested, &structure("Point"));
  EXPECT_EQ(grab.fields[2].type.nested, &structure("Point", "geo"));
  EXPECT_EQ(structure("Pose", "geo").fields[0].type.nested, &structure("Point", "geo"));
  // Each type is loaded once however often it is named.
  EXPECT_EQ(model_.find_package("geo")->interfaces.size(), 2u);
  EXPECT_EQ(model_.interfaces.size(), 4u);
}

TEST_F(Resolver, KeepsInterfacesInTheOrderGiven) {
  // Zeta names Alpha before Alpha's own turn; the order must still follow the file list.
  const Package& package = load({{"srv/Zeta.srv", "Alpha a\n---\n"},
                                 {"msg/Mid.msg", "Alpha a\n"},
                                 {"msg/Alpha.msg", "int8 x\n"}});
  std::vector<std::string> names;
  for (const Interface* interface : package.interfaces) names.push_back(interface->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "Mid", "Alpha"}));
  EXPECT_EQ(names_of(structures_of(package)),
            (std::vector<std::string>{"Zeta_Request", "Zeta_Response", "Mid", "Alpha"}));
  EXPECT_EQ(services_of(package).size(), 1u);
}

}  // namespace
}  // namespace idlc::test
