#include "localstate/PlainFileName.h"

#include <gtest/gtest.h>

TEST (PlainFileName, NamesThatCouldLeaveTheirFolderOrThatWindowsRefusesAreMadePlain)
{
    const struct { const char* name; const char* plain; } cases[] = {
        { "My Synth",              "My Synth" },
        { "Sølvkant 2.0 (beta)",   "Sølvkant 2.0 (beta)" },
        { "..hidden",              "..hidden" },
        { "../up",                 ".._up" },
        { "..\\up",                ".._up" },
        { "C:",                    "C_" },
        { "/abs/path",             "_abs_path" },
        { "a<b>c\"d|e?f*g",        "a_b_c_d_e_f_g" },
        { "tab\there",             "tab_here" },
        { "",                      "_" },
        { ".",                     "_" },
        { "..",                    "_" },
    };

    for (const auto& c : cases)
    {
        const auto plain = plainFileNameFrom (juce::String::fromUTF8 (c.name));
        EXPECT_EQ (plain, juce::String::fromUTF8 (c.plain)) << c.name;
        EXPECT_TRUE (isPlainFileName (plain)) << c.name;
    }
}
