// corvanthelis_inspect: shows a type's layout, converts between values and CDR bytes and
// echoes a topic, knowing no type: everything comes from the package's dispatch libraries and
// the supports they lead to (show takes the C++ table through the C++ dispatch).
//
//   corvanthelis_inspect show <pkg>/<kind>/<Type>
//   corvanthelis_inspect decode <pkg>/<kind>/<Type> <hex|->
//   corvanthelis_inspect encode <pkg>/<kind>/<Type> <value|->
//   corvanthelis_inspect echo <topic> <pkg>/<kind>/<Type> [--count N] [--timeout SECONDS]
//                             [--domain ID] [--partition NAME]
//   corvanthelis_inspect pub <topic> <pkg>/<kind>/<Type> <value|-> [--wait SECONDS]
//                            [--domain ID] [--partition NAME]
//
// show prints the layout of the C structure, then that of the C++ class when the package has
// its C++ introspection library.
//
// decode takes the bytes as hex digits (whitespace ignored), from the argument or, for '-',
// from standard input; they start with the 4-byte encapsulation header. encode is its reverse:
// it takes a value as JSON or YAML flow style ({trashes: [{type: 2}]}; members left out keep
// their initial values) and prints the bytes, little endian, header first, as decode reads them.
//
// echo prints each sample of a topic as YAML followed by "---"; pub sends one sample, given
// as encode takes it, once a subscriber is there. Both stay on this host; their domain
// defaults to ROS_DOMAIN_ID, else 0.

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <iostream>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "fastcdr/Cdr.h"
#include "fastcdr/FastBuffer.h"
#include "fastcdr/exceptions/Exception.h"
#include "filler.hpp"
#include "layout.hpp"
#include "printer.hpp"
#include "topic.hpp"
#include "type_support.hpp"
#include "value_text.hpp"

namespace {

using inspect::Failure;
using Members = rosidl_typesupport_introspection_c__MessageMembers;

constexpr const char* kUsage =
    "usage: corvanthelis_inspect show <pkg>/<kind>/<Type>\n"
    "       corvanthelis_inspect decode <pkg>/<kind>/<Type> <hex|->\n"
    "       corvanthelis_inspect encode <pkg>/<kind>/<Type> <value|->\n"
    "       corvanthelis_inspect echo <topic> <pkg>/<kind>/<Type> [--count N] [--timeout SECONDS]\n"
    "                                 [--domain ID] [--partition NAME]\n"
    "       corvanthelis_inspect pub <topic> <pkg>/<kind>/<Type> <value|-> [--wait SECONDS]\n"
    "                                [--domain ID] [--partition NAME]\n";

struct Usage : std::runtime_error {
  Usage() : std::runtime_error("usage") {}
};

unsigned long whole_number(const std::string& text, unsigned long limit) {
  size_t used = 0;
  unsigned long value = 0;
  try {
    value = std::stoul(text, &used);
  } catch (const std::exception&) {
    throw Usage();
  }
  if (used != text.size() || text[0] == '-' || value > limit) throw Usage();
  return value;
}

// <topic> <type>, then `positional` more arguments, then flags. Only echo counts and times
// out; only pub waits.
inspect::TopicOptions topic_options(const std::vector<std::string>& args, size_t positional) {
  const bool echo = args.at(0) == "echo";
  inspect::TopicOptions options;
  options.topic = args.at(1);
  options.type_name = args.at(2);
  const char* domain = std::getenv("ROS_DOMAIN_ID");
  if (domain != nullptr && *domain != '\0') {
    options.domain = static_cast<uint32_t>(whole_number(domain, 232));
  }
  for (size_t i = 3 + positional; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) throw Usage();
    const std::string& flag = args[i];
    const std::string& value = args[i + 1];
    if (echo && flag == "--count") {
      options.count = whole_number(value, 1ul << 31);
    } else if (echo && flag == "--timeout") {
      options.timeout = static_cast<double>(whole_number(value, 1ul << 31));
    } else if (!echo && flag == "--wait") {
      options.wait = static_cast<double>(whole_number(value, 1ul << 20));
    } else if (flag == "--domain") {
      options.domain = static_cast<uint32_t>(whole_number(value, 232));
    } else if (flag == "--partition") {
      options.partition = value;
    } else {
      throw Usage();
    }
  }
  return options;
}

int digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<char> parse_hex(const std::string& text) {
  std::vector<char> bytes;
  int high = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    const int value = digit(c);
    if (value < 0) throw Failure("bad hex: '" + std::string(1, c) + "' at offset " + std::to_string(i));
    if (high < 0) {
      high = value;
    } else {
      bytes.push_back(static_cast<char>(high << 4 | value));
      high = -1;
    }
  }
  if (high >= 0) throw Failure("bad hex: odd number of digits");
  return bytes;
}

// A structure made and released through the type's own table, as a generic reader must.
class Message {
 public:
  explicit Message(const Members& members)
      : members_(members), memory_(inspect::new_message(members)) {}
  ~Message() { inspect::delete_message(members_, memory_); }
  Message(const Message&) = delete;
  Message& operator=(const Message&) = delete;
  void* get() const { return memory_; }

 private:
  const Members& members_;
  void* memory_;
};

std::string argument_or_stdin(const std::string& input) {
  return input == "-" ? std::string(std::istreambuf_iterator<char>(std::cin), {}) : input;
}

void decode(const std::string& type_name, const std::string& input) {
  std::vector<char> bytes = parse_hex(argument_or_stdin(input));
  if (bytes.size() < 4) throw Failure("truncated input: no encapsulation header");

  const rosidl_message_type_support_t* dispatch = inspect::dispatch_record(type_name);
  const Members& members = inspect::introspection(*dispatch);
  const message_type_support_callbacks_t& callbacks = inspect::serialization(*dispatch);

  Message message(members);
  eprosima::fastcdr::FastBuffer buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr cdr(buffer, eprosima::fastcdr::Cdr::DEFAULT_ENDIAN,
                             eprosima::fastcdr::Cdr::DDS_CDR);
  try {
    cdr.read_encapsulation();
    if (!callbacks.cdr_deserialize(cdr, message.get())) {
      throw Failure("the bytes are not a valid " + type_name);
    }
  } catch (const eprosima::fastcdr::exception::Exception& error) {
    throw Failure("the bytes are not a valid " + type_name + ": " + error.what());
  }
  inspect::print_value(std::cout, members, message.get());
}

void encode(const std::string& type_name, const std::string& input) {
  const inspect::Value value = inspect::parse_value_text(argument_or_stdin(input));
  const rosidl_message_type_support_t* dispatch = inspect::dispatch_record(type_name);
  const Members& members = inspect::introspection(*dispatch);
  const message_type_support_callbacks_t& callbacks = inspect::serialization(*dispatch);

  Message message(members);
  inspect::fill_message(members, message.get(), value);
  // The size counts from the alignment origin, which the encapsulation header moves past itself.
  std::vector<char> bytes(4 + callbacks.get_serialized_size(message.get()));
  eprosima::fastcdr::FastBuffer buffer(bytes.data(), bytes.size());
  eprosima::fastcdr::Cdr cdr(buffer, eprosima::fastcdr::Cdr::LITTLE_ENDIANNESS, eprosima::fastcdr::Cdr::DDS_CDR);
  try {
    cdr.serialize_encapsulation();
    if (!callbacks.cdr_serialize(message.get(), cdr)) throw Failure("the value cannot be written as " + type_name);
  } catch (const eprosima::fastcdr::exception::Exception& error) {
    throw Failure("the value cannot be written as " + type_name + ": " + error.what());
  }
  static const char digits[] = "0123456789abcdef";
  for (size_t i = 0; i < cdr.getSerializedDataLength(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    std::cout << digits[byte >> 4] << digits[byte & 0xf];
  }
  std::cout << "\n";
}

void show(const std::string& type_name) {
  const rosidl_message_type_support_t* dispatch = inspect::dispatch_record(type_name);
  inspect::print_layout(std::cout, type_name, inspect::introspection(*dispatch));
  if (const auto* cpp = inspect::cpp_introspection(type_name)) {
    inspect::print_layout(std::cout, std::string(cpp->message_namespace_) + "::" + cpp->message_name_, *cpp);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "show") {
      show(args[1]);
    } else if (args.size() == 3 && args[0] == "decode") {
      decode(args[1], args[2]);
    } else if (args.size() == 3 && args[0] == "encode") {
      encode(args[1], args[2]);
    } else if (args.size() >= 3 && args[0] == "echo") {
      const int status = inspect::echo(topic_options(args, 0));
      std::cout.flush();
      return status;
    } else if (args.size() >= 4 && args[0] == "pub") {
      inspect::pub(topic_options(args, 1), inspect::parse_value_text(argument_or_stdin(args[3])));
    } else {
      throw Usage();
    }
  } catch (const Usage&) {
    std::cerr << kUsage;
    return 2;
  } catch (const Failure& failure) {
    std::cerr << "corvanthelis_inspect: " << failure.what() << "\n";
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "corvanthelis_inspect: out of memory\n";
    return 1;
  }
  std::cout.flush();
  return std::cout ? 0 : 1;
}
