#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

// The launcher's own parameters 1..N, in order. A parameter may be empty and has no
// length bound; asking for one outside 1..N gives the empty text.
class ParamList {
 public:
  ParamList() = default;
  explicit ParamList(std::vector<std::string> params) : params_(std::move(params)) {}

  std::int32_t Count() const { return static_cast<std::int32_t>(params_.size()); }

  std::string_view Param(std::int64_t i) const {
    if (i < 1 || i > Count()) return {};
    return params_[static_cast<std::size_t>(i - 1)];
  }

 private:
  std::vector<std::string> params_;
};

}  // namespace launcher
