// Web addresses of the maker and the product, and how launches are written.
#pragma once

#include <string>

// The maker's site. A placeholder under the reserved ".invalid" domain until
// the maker's real address is known.
constexpr char kMakerSite[] = "http://www.quillmoor.invalid";
constexpr char kProductPage[] = "http://www.quillmoor.invalid/larkspur";

// address with "http://" in front when it names no scheme of its own
// ("https://...", "mailto:..." and "file:..." are left alone), cut to 259
// characters.
std::string WithWebScheme(const std::string& address);
// The update page: site + "/update.py?product=" + product + "&version=" +
// version (left off when empty).
std::string UpdatePageAddress(const std::string& site, const std::string& product, const std::string& version);
// A command line that starts program with arguments: the program's path in
// quotes, so a folder with blanks in its name cannot split it.
std::string QuotedCommandLine(const std::string& program, const std::string& arguments = std::string());
