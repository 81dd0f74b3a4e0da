#include "naming/parts.hpp"

#include <cctype>

namespace idlc::naming::parts {

std::string interface_prefix(const std::string& package, InterfaceKind interface_kind) {
  return package + "__" + kind(interface_kind);
}

std::string role_infix(const std::vector<std::string>& words) {
  std::string infix;
  for (const std::string& word : words) infix += "__" + stem(word);
  return infix;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string detail_header(const std::string& package, InterfaceKind interface_kind,
                          const std::string& name, std::string_view suffix) {
  return package + "/" + kind(interface_kind) + "/detail/" + stem(name) + std::string(suffix);
}

std::string detail_header(const Interface& interface, std::string_view suffix) {
  return detail_header(interface.package, interface.kind, interface.name, suffix);
}

std::string umbrella_header(const Interface& interface, std::string_view suffix) {
  return interface.package + "/" + kind(interface.kind) + "/" + stem(interface.name) + std::string(suffix);
}

std::string source_unit(Deliverable deliverable, const Interface& interface,
                        std::string_view prefix, std::string_view suffix) {
  return root(deliverable) + "/" + interface.package + "/" + kind(interface.kind) + "/" +
         std::string(prefix) + stem(interface.name) + std::string(suffix);
}

std::string accessor_function(const Structure& structure, const Field& field, Accessor accessor) {
  std::string operation;
  switch (accessor) {
    case Accessor::Size: operation = "size"; break;
    case Accessor::GetConst: operation = "get_const"; break;
    case Accessor::Get: operation = "get"; break;
    case Accessor::Fetch: operation = "fetch"; break;
    case Accessor::Assign: operation = "assign"; break;
    case Accessor::Resize: operation = "resize"; break;
  }
  return operation + "_function__" + structure.name + "__" + field.name;
}

}  // namespace idlc::naming::parts
