#include "app/WebAddress.h"

#include <cctype>

namespace {

// RFC 3986: a scheme is a letter followed by letters, digits, "+", "-" or
// ".", then ":". A drive letter ("C:") is one letter and no scheme.
bool HasScheme(const std::string& address) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(address[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

}  // namespace

std::string WithWebScheme(const std::string& address) {
    std::string full = HasScheme(address) ? address : "http://" + address;
    if (full.size() > 259) full.resize(259);
    return full;
}

std::string UpdatePageAddress(const std::string& site, const std::string& product, const std::string& version) {
    std::string address = site + "/update.py?product=" + product;
    if (!version.empty()) address += "&version=" + version;
    return address;
}

std::string QuotedCommandLine(const std::string& program, const std::string& arguments) {
    std::string line = "\"" + program + "\"";
    if (!arguments.empty()) line += " " + arguments;
    return line;
}
