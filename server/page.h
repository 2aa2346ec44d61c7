#pragma once
// The web page at "/": one self-contained HTML file compiled into the program.
#include <string_view>

namespace strimlo::server {
extern const std::string_view kPage;
}
