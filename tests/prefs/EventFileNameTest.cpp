#include "schedule/EventFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(EventFileNameTest, NamesCannotCarryCodesFoldersOrDevices) {
    const struct {
        std::string name, expected;
    } cases[] = {
        {"news", "news"},
        {"Morning show 7.30", "Morning show 7.30"},
        {"", ""},
        {"%Y%m%d", "_Y_m_d"},
        {"talk %s %n", "talk _s _n"},
        {"..\\..\\Windows\\x", ".._.._Windows_x"},
        {"/etc/passwd", "_etc_passwd"},
        {"C:x", "C_x"},
        {"file:stream", "file_stream"},
        {"a*b?c\"d<e>f|g", "a_b_c_d_e_f_g"},
        {std::string("tab\there\nnew", 12), "tab_here_new"},
        {"CON", "CON_"},
        {"nul.txt", "nul_.txt"},
        {"Com1", "Com1_"},
        {"lpt9 .x", "lpt9_ .x"},
        {"COM0", "COM0"},
        {"CONSOLE", "CONSOLE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, EventNameAsFileName(c.name));
    }
}

}  // namespace
