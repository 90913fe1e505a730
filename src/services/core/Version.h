#pragma once

#include <string>

namespace kivcore::config {

// The library's version: "2.0.0.Gadfly".
const std::string& GetVersionString();

}  // namespace kivcore::config
