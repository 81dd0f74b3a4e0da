#include "targets.hpp"

#include "c_cpp_agreement.hpp"
#include "c_decoders.hpp"
#include "cpp_decoders.hpp"
#include "every_kind_agreement.hpp"

namespace fuzz {

const std::map<std::string, Check>& targets() {
  static const std::map<std::string, Check> all = {
      {"c_decoders", &check_c_decoders},
      {"cpp_decoders", &check_cpp_decoders},
      {"c_cpp_agreement", &check_c_cpp_agreement},
      {"every_kind_agreement", &check_every_kind_agreement},
  };
  return all;
}

}  // namespace fuzz
