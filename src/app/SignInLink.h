#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The e-mail address and one-time code that a browser sign-in hands back
    through a "vamrhelper://email=<address>&code=<code>" link. */
struct SignInLink
{
    juce::String email;
    juce::String code;
};

/** Splits an already unescaped link. Anything that does not start with
    "vamrhelper://email=" (case-sensitive) gives nothing. The address ends at
    the first "&"; the code is whatever follows the first "&code=", and is
    empty when there is none. */
std::optional<SignInLink> parseSignInLink (const juce::String& decoded);

/** The whole path from a raw command line: percent escapes and "+" are
    removed first, then the link is split. */
std::optional<SignInLink> parseSignInCommandLine (const juce::String& commandLine);
