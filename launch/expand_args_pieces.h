#pragma once

#include <cstddef>
#include <string>

#include "launch/param_list.h"

namespace launcher {

// The argument template after its six steps (without the prefix), cut to `max_length`
// characters, found without building any intermediate text: time and memory grow linearly
// with the size of parameters 1..6, whatever they hold.
std::string ExpandTemplateInPieces(const ParamList& params, std::size_t max_length);

}  // namespace launcher
