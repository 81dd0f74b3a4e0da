#include "definition_tree.hpp"

namespace idlc::test {
namespace {

struct BadInput {
  const char* label;
  const char* file;  // loaded after `before`, and where the error is
  const char* text;
  int line;
  const char* fragment;  // a distinctive part of the message
  std::vector<std::pair<std::string, std::string>> before = {};
};

std::ostream& operator<<(std::ostream& out, const BadInput& input) { return out << input.label; }

// clang-format off
const std::vector<BadInput> kBadInputs = {
  {"UnknownType", "msg/Bad.msg", "int32 a\nNoSuch b\n", 2, "known message type, found 'pkg/NoSuch'"},
  {"UnknownPackage", "msg/Bad.msg", "nopkg/Thing t\n", 1, "package 'nopkg'"},
  {"LowerCaseType", "msg/Bad.msg", "integer a\n", 1, "found 'integer'"},
  {"FieldNamedLikeACKeyword", "msg/Bad.msg", "int32 a\nfloat64 double\n", 2, "keyword of C, C++ or Python, found 'double'"},
  {"FieldNamedLikeACppKeyword", "msg/Bad.msg", "string class\n", 1, "found 'class'"},
  {"FieldNamedLikeAPythonKeyword", "srv/Bad.srv", "---\nbool lambda\n", 2, "found 'lambda'"},
  {"DuplicateField", "msg/Bad.msg", "int32 a\n\nfloat64 a\n", 3, "field name, found a a second"},
  {"DuplicateConstant", "msg/Bad.msg", "int32 A=1\nint32 A=2\n", 2, "constant name, found A a second"},
  {"FieldNamedLikeConstant", "msg/Bad.msg", "int32 A=1\nint8 A 3\n", 2, "'=' and a value for constant A"},
  {"ZeroArraySize", "msg/Bad.msg", "int32[0] a\n", 1, "array size, found '0'"},
  {"WordArraySize", "msg/Bad.msg", "int32[x] a\n", 1, "array size, found 'x'"},
  {"EmptySequenceBound", "msg/Bad.msg", "int32[<=] a\n", 1, "sequence bound, found ''"},
  {"UnclosedArray", "msg/Bad.msg", "int32[3 a\n", 1, "']'"},
  {"ZeroStringBound", "msg/Bad.msg", "string<=0 s\n", 1, "string bound, found '0'"},
  {"WordStringBound", "msg/Bad.msg", "string<=n s\n", 1, "string bound, found 'n'"},
  {"ServiceWithoutSeparator", "srv/Bad.srv", "int32 a\nint32 b\n", 2,
   "expected 1 '---' separator(s) in a request and a response definition, found 0"},
  {"ActionWithOneSeparator", "action/Bad.action", "int8 a\n---\nint8 b\n", 3, "expected 2 '---'"},
  {"ServiceWithTwoSeparators", "srv/Bad.srv", "---\nint8 a\n---\n", 3, "found one more"},
  {"SeparatorInMessage", "msg/Bad.msg", "int8 a\n---\n", 2, "found one more"},
  {"ActionWithoutItsPackages", "action/Bad.action", "---\n---\n", 1, "'unique_identifier_msgs'"},
  {"ConstantWithoutValue", "msg/Bad.msg", "int32 X=\n", 1, "value after '=' of constant X"},
  {"ConstantWithoutEquals", "msg/Bad.msg", "int32 X\n", 1, "'=' and a value for constant X"},
  {"LowerCaseConstant", "msg/Bad.msg", "int32 x=1\n", 1, "upper case, found 'x'"},
  {"ArrayConstant", "msg/Bad.msg", "int32[2] X=1\n", 1, "array type for X"},
  {"ConstantOutOfRange", "msg/Bad.msg", "uint16 X=65536\n", 1, "uint16 from 0 to 65535"},
  {"SelfContaining", "msg/Node.msg", "int8 v\nNode next\n", 2, "cycle through pkg/Node"},
  {"MutualContaining", "msg/B.msg", "int8 pad\nA[] a\n", 2, "cycle through pkg/A",
   {{"msg/A.msg", "B b\n"}}},
  {"DefaultAboveRange", "msg/Bad.msg", "uint8 x 300\n", 1, "uint8 from 0 to 255, found '300'"},
  {"DefaultBelowRange", "msg/Bad.msg", "int8 y -129\n", 1, "int8 from -128 to 127, found '-129'"},
  {"NegativeUnsigned", "msg/Bad.msg", "uint64 y -1\n", 1, "uint64 from 0 to"},
  {"BeyondUint64", "msg/Bad.msg", "uint64 y 18446744073709551616\n", 1, "found '18446744073709551616'"},
  {"BeyondFloat32", "msg/Bad.msg", "float32 f 1e39\n", 1, "range of float32"},
  {"BeyondFloat64", "msg/Bad.msg", "float64 f 1e999\n", 1, "range of float64"},
  {"HexDefault", "msg/Bad.msg", "int32 h 0x10\n", 1, "integer value for int32, found '0x10'"},
  {"BadBoolDefault", "msg/Bad.msg", "bool b yes\n", 1, "true or false, found 'yes'"},
  {"NotANumber", "msg/Bad.msg", "float64 f 1.5m\n", 1, "number for float64"},
  {"TooFewArrayValues", "msg/Bad.msg", "int32[3] v [1, 2]\n", 1, "expected 3 values"},
  {"TooManyBoundedValues", "msg/Bad.msg", "int32[<=1] v [1, 2]\n", 1, "at most 1 values"},
  {"ArrayDefaultUnbracketed", "msg/Bad.msg", "int32[2] v 1, 2\n", 1, "values in brackets"},
  {"StringDefaultTooLong", "msg/Bad.msg", "string<=3 s \"four\"\n", 1, "at most 3 characters"},
  {"DefaultForMessageField", "msg/Bad.msg", "Inner i 0\n", 1, "no default value for a field of message",
   {{"msg/Inner.msg", "int8 x\n"}}},
  {"CapitalisedFieldName", "msg/Bad.msg", "int32 Foo\n", 1, "single underscores, found 'Foo'"},
  {"DoubleUnderscoreFieldName", "msg/Bad.msg", "int32 a__b\n", 1, "single underscores, found 'a__b'"},
  {"TrailingUnderscoreFieldName", "msg/Bad.msg", "int32 x_\n", 1, "single underscores, found 'x_'"},
  {"TypeWithoutName", "msg/Bad.msg", "int32\n", 1, "a type and a name"},
  {"WideString", "msg/Bad.msg", "wstring w\n", 1, "wstring"},
  {"InterfaceNameNotCamelCase", "msg/bad_name.msg", "int8 x\n", 1, "CamelCase"},
  {"SameNameTwice", "srv/Twin.srv", "---\n", 1, "Twin twice", {{"msg/Twin.msg", "int8 x\n"}}},
};
// clang-format on

class Rejects : public DefinitionTree, public ::testing::WithParamInterface<BadInput> {};

TEST_P(Rejects, WithFileLineAndReason) {
  const BadInput& input = GetParam();
  const std::string prefix =
      (root_ / kPackage / input.file).string() + ":" + std::to_string(input.line) + ": ";
  try {
    auto files = input.before;
    files.emplace_back(input.file, input.text);
    load(files);
    FAIL() << "accepted; expected " << prefix << "..." << input.fragment;
  } catch (const CompileError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
    EXPECT_NE(message.find(input.fragment), std::string::npos) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(BadDefinitions, Rejects, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace idlc::test
