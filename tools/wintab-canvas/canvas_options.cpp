#include "canvas_options.h"

#include <cstdlib>

namespace canvas {
namespace {

bool ParseNumber(const std::string& text, int low, int high, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

bool ParseSize(const std::string& text, CanvasOptions& options) {
    const size_t x = text.find('x');
    return x != std::string::npos && ParseNumber(text.substr(0, x), 16, 8192, options.width) &&
           ParseNumber(text.substr(x + 1), 16, 8192, options.height);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, CanvasOptions& options, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (i + 1 >= arguments.size()) {
            error = "missing value or unknown option: " + option;
            return false;
        }
        const std::string& value = arguments[++i];
        bool good = true;
        if (option == "--save")
            options.savePath = value;
        else if (option == "--size")
            good = ParseSize(value, options);
        else if (option == "--close-after")
            good = ParseNumber(value, 1, 86400000, options.closeAfterMs);
        else if (option == "--max-width")
            good = ParseNumber(value, 1, 100, options.maxWidth);
        else
            good = false;
        if (!good || value.empty()) {
            error = "bad option: " + option + " " + value;
            return false;
        }
    }
    return true;
}

int LineWidth(unsigned pressure, int maxWidth) {
    if (pressure > 1023) pressure = 1023;
    return 1 + static_cast<int>(pressure * static_cast<unsigned>(maxWidth - 1) / 1023);
}

}  // namespace canvas
